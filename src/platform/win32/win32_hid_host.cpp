// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/win32_hid_host.h"

#include <vector>

#include "platform/log.h"
#include "platform/win32/win32_device_change.h"
#include "platform/win32/window_handles.h"

namespace platform::win32 {

// An open device. The system's handle is closed when the last user lets go
// of it, so a read that a close cancels still finishes on a valid handle.
struct Win32HidHost::Device {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::mutex mutex;     // orders starting a transfer against closing
    bool closed = false;  // with mutex held
    ~Device() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

namespace {

// The list of present HID interfaces, freed on every way out.
class InterfaceList {
public:
    InterfaceList() {
        HidD_GetHidGuid(&guid_);
        set_ = SetupDiGetClassDevsW(&guid_, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    }
    ~InterfaceList() {
        if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    }
    InterfaceList(const InterfaceList&) = delete;
    InterfaceList& operator=(const InterfaceList&) = delete;

    HidPathResult Path(size_t index, std::wstring& path) {
        if (set_ == INVALID_HANDLE_VALUE) return HidPathResult::NoMore;
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof(data);
        if (index > 0xFFFFFFFFu || !SetupDiEnumDeviceInterfaces(set_, nullptr, &guid_, static_cast<DWORD>(index), &data)) {
            return HidPathResult::NoMore;
        }
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set_, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return HidPathResult::Failed;
        // DWORD-aligned storage for the variable-length record.
        std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set_, &data, detail, size, nullptr, nullptr)) return HidPathResult::Failed;
        const size_t room = (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
        path.assign(detail->DevicePath, wcsnlen(detail->DevicePath, room));
        return HidPathResult::Ok;
    }

private:
    GUID guid_{};
    HDEVINFO set_ = INVALID_HANDLE_VALUE;
};

// An event for one transfer, closed on every way out.
class TransferEvent {
public:
    TransferEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~TransferEvent() {
        if (event_) CloseHandle(event_);
    }
    TransferEvent(const TransferEvent&) = delete;
    TransferEvent& operator=(const TransferEvent&) = delete;
    HANDLE get() const { return event_; }

private:
    HANDLE event_;
};

}  // namespace

Win32HidHost::Win32HidHost() = default;
Win32HidHost::~Win32HidHost() = default;

HidPathResult Win32HidHost::InterfacePath(size_t index, std::wstring& path) {
    InterfaceList list;
    return list.Path(index, path);
}

HidHandle Win32HidHost::Open(const std::wstring& path, HidAccess access, uint32_t& error) {
    const DWORD rights = access == HidAccess::ReadWrite ? (GENERIC_READ | GENERIC_WRITE) : 0;
    HANDLE file = CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return kInvalidHidHandle;
    }
    auto device = std::make_shared<Device>();
    device->file = file;
    std::lock_guard<std::mutex> lock(mutex_);
    if (next_ < 0) next_ = 1;  // numbers are reused only after two billion opens
    const HidHandle handle{next_++};
    devices_[handle.value] = std::move(device);
    error = 0;
    return handle;
}

std::shared_ptr<Win32HidHost::Device> Win32HidHost::Find(HidHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = devices_.find(handle.value);
    return it == devices_.end() ? nullptr : it->second;
}

bool Win32HidHost::GetAttributes(HidHandle handle, HidAttributes& attributes) {
    auto device = Find(handle);
    if (!device) return false;
    HIDD_ATTRIBUTES system{};
    system.Size = sizeof(system);
    if (!HidD_GetAttributes(device->file, &system)) return false;
    attributes = HidAttributes{system.VendorID, system.ProductID, system.VersionNumber};
    return true;
}

HidCapsResult Win32HidHost::GetCaps(HidHandle handle, HidCaps& caps) {
    auto device = Find(handle);
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!device || !HidD_GetPreparsedData(device->file, &preparsed)) return HidCapsResult::NoPreparsedData;
    HIDP_CAPS system{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &system);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS) return HidCapsResult::CapsFailed;
    caps = HidCaps{system.Usage, system.UsagePage, system.InputReportByteLength, system.OutputReportByteLength,
                   system.FeatureReportByteLength};
    return HidCapsResult::Ok;
}

bool Win32HidHost::Transfer(Device& device, bool reading, void* buffer, size_t length, size_t& done,
                            uint32_t& error) {
    done = 0;
    TransferEvent event;
    OVERLAPPED overlapped{};  // offset 0: every report is read from the start
    overlapped.hEvent = event.get();
    const DWORD bytes = static_cast<DWORD>(length > 0xFFFFFFFFu ? 0xFFFFFFFFu : length);
    {
        std::lock_guard<std::mutex> lock(device.mutex);
        if (device.closed) {
            error = kErrorInvalidHandle;
            return false;
        }
        const BOOL started = reading ? ReadFile(device.file, buffer, bytes, nullptr, &overlapped)
                                     : WriteFile(device.file, buffer, bytes, nullptr, &overlapped);
        if (!started && GetLastError() != ERROR_IO_PENDING) {
            error = GetLastError();
            return false;
        }
    }
    DWORD transferred = 0;
    if (!GetOverlappedResult(device.file, &overlapped, &transferred, TRUE)) {
        error = GetLastError();
        return false;
    }
    done = transferred;
    error = 0;
    return true;
}

bool Win32HidHost::Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t& error) {
    bytesRead = 0;
    auto device = Find(handle);
    if (!device) {
        error = kErrorInvalidHandle;
        return false;
    }
    return Transfer(*device, true, buffer, length, bytesRead, error);
}

bool Win32HidHost::Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) {
    auto device = Find(handle);
    if (!device) {
        error = kErrorInvalidHandle;
        return false;
    }
    size_t written = 0;
    return Transfer(*device, false, const_cast<uint8_t*>(buffer), length, written, error);
}

void Win32HidHost::Close(HidHandle handle) {
    std::shared_ptr<Device> device;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = devices_.find(handle.value);
        if (it == devices_.end()) return;
        device = std::move(it->second);
        devices_.erase(it);
    }
    std::lock_guard<std::mutex> lock(device->mutex);
    device->closed = true;
    CancelIoEx(device->file, nullptr);
}

bool Win32HidHost::RegisterDeviceNotification(WindowHandle window) {
    return RegisterHidInterfaceNotification(ToHwnd(window));
}

}  // namespace platform::win32
