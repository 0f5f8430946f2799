#include "platform/sim/virtual_hid_bus.h"

#include <algorithm>
#include <cstring>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/device_change.h"

namespace platform::sim {

struct VirtualHidBus::Interface {
    InterfaceId id = 0;
    HidInterfaceDescription description;
    OutputSink sink;
    std::deque<std::vector<uint8_t>> input;
};

VirtualHidBus::VirtualHidBus() = default;
VirtualHidBus::~VirtualHidBus() = default;

VirtualHidBus::Interface* VirtualHidBus::Attached(InterfaceId id) {
    for (auto& i : interfaces_) {
        if (i->id == id) return i.get();
    }
    return nullptr;
}

VirtualHidBus::Interface* VirtualHidBus::OfHandle(HidHandle handle, Handle** entry) {
    auto it = handles_.find(handle.value);
    if (it == handles_.end()) return nullptr;
    if (entry) *entry = &it->second;
    return Attached(it->second.iface);
}

VirtualHidBus::InterfaceId VirtualHidBus::AttachInterface(const HidInterfaceDescription& description, OutputSink sink) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto i = std::make_shared<Interface>();
    i->id = nextId_++;
    i->description = description;
    i->sink = std::move(sink);
    interfaces_.push_back(i);
    clock.Notify();
    lock.unlock();
    NotifyDeviceChange(DBT_DEVICEARRIVAL, description.path);
    return i->id;
}

void VirtualHidBus::DetachInterface(InterfaceId id) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Interface* gone = Attached(id);
    if (!gone) return;
    const std::wstring path = gone->description.path;
    interfaces_.erase(std::remove_if(interfaces_.begin(), interfaces_.end(), [&](auto& i) { return i->id == id; }),
                      interfaces_.end());
    clock.Notify();
    lock.unlock();
    NotifyDeviceChange(DBT_DEVICEREMOVECOMPLETE, path);
}

bool VirtualHidBus::RegisterDeviceNotification(WindowHandle window) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    notifyWindows_.push_back(window);
    return true;
}

void VirtualHidBus::NotifyDeviceChange(uintptr_t event, const std::wstring& path) {
    std::vector<WindowHandle> windows;
    {
        std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
        windows = notifyWindows_;
    }
    DevBroadcastDeviceInterface record;
    record.dbcc_name = path;
    for (WindowHandle w : windows) {
        CurrentDesktop().SendMessage(w, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&record));
    }
}

bool VirtualHidBus::InjectInput(InterfaceId id, std::vector<uint8_t> report) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Interface* i = Attached(id);
    if (!i) return false;
    i->input.push_back(std::move(report));
    clock.Notify();
    return true;
}

size_t VirtualHidBus::OpenHandleCount() {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    return handles_.size();
}

HidPathResult VirtualHidBus::InterfacePath(size_t index, std::wstring& path) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    if (index >= interfaces_.size()) return HidPathResult::NoMore;
    path = interfaces_[index]->description.path;
    return HidPathResult::Ok;
}

HidHandle VirtualHidBus::Open(const std::wstring& path, HidAccess access, uint32_t& error) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    for (auto& i : interfaces_) {
        if (i->description.path != path) continue;
        if (i->description.openFails) {
            error = kErrorAccessDenied;
            return kInvalidHidHandle;
        }
        const int32_t value = nextHandle_++;
        handles_[value] = Handle{i->id, access};
        return HidHandle{value};
    }
    error = kErrorFileNotFound;
    return kInvalidHidHandle;
}

bool VirtualHidBus::GetAttributes(HidHandle handle, HidAttributes& attributes) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Interface* i = OfHandle(handle, nullptr);
    if (!i) return false;
    attributes = HidAttributes{i->description.vendorId, i->description.productId, i->description.version};
    return true;
}

HidCapsResult VirtualHidBus::GetCaps(HidHandle handle, HidCaps& caps) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Interface* i = OfHandle(handle, nullptr);
    if (!i || i->description.noPreparsedData) return HidCapsResult::NoPreparsedData;
    if (i->description.capsFail) return HidCapsResult::CapsFailed;
    caps = HidCaps{i->description.usage, i->description.usagePage, i->description.inputReportLength, i->description.outputReportLength, 0};
    return HidCapsResult::Ok;
}

bool VirtualHidBus::Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t& error) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    bytesRead = 0;
    Handle* entry = nullptr;
    Interface* i = OfHandle(handle, &entry);
    if (!entry) {
        error = kErrorInvalidHandle;
        return false;
    }
    if (entry->access != HidAccess::ReadWrite) {
        error = kErrorAccessDenied;
        return false;
    }
    // Keep the interface alive by id: it may be detached while we wait.
    const InterfaceId id = entry->iface;
    clock.WaitUntil(
        lock,
        [&] {
            Interface* now = Attached(id);
            return handles_.count(handle.value) == 0 || now == nullptr || !now->input.empty();
        },
        kInfinite);
    if (handles_.count(handle.value) == 0) {
        error = kErrorOperationAborted;
        return false;
    }
    i = Attached(id);
    if (!i) {
        error = kErrorDeviceNotConnected;
        return false;
    }
    std::vector<uint8_t> report = std::move(i->input.front());
    i->input.pop_front();
    bytesRead = std::min(report.size(), length);
    if (bytesRead > 0) std::memcpy(buffer, report.data(), bytesRead);
    return true;
}

bool VirtualHidBus::Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) {
    OutputSink sink;
    {
        std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
        Handle* entry = nullptr;
        Interface* i = OfHandle(handle, &entry);
        if (!entry) {
            error = kErrorInvalidHandle;
            return false;
        }
        if (!i) {
            error = kErrorDeviceNotConnected;
            return false;
        }
        if (entry->access != HidAccess::ReadWrite) {
            error = kErrorAccessDenied;
            return false;
        }
        sink = i->sink;
    }
    // The sink runs without the state mutex: it may log or take other locks.
    if (sink) sink(buffer, length);
    return true;
}

void VirtualHidBus::Close(HidHandle handle) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    handles_.erase(handle.value);
    clock.Notify();
}

}  // namespace platform::sim
