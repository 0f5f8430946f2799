#include "handset/handset_device.h"

#include <algorithm>
#include <cstring>

#include "platform/log.h"

namespace handset {

using platform::HidCaps;
using platform::HidHandle;
using platform::kInvalidHidHandle;
using platform::LogA;
using platform::LogW;

CHandsetDevice g_ReadDevice;
CHandsetDevice g_WriteDevice;
std::atomic<int> g_bDeviceStarted{0};

CHandsetDevice::CHandsetDevice() { LogW(L"Set m_WriteHandle to INVALID_HANDLE_VALUE 001"); }

CHandsetDevice::~CHandsetDevice() { Disconnect(*this); }

HidCaps CHandsetDevice::InputCaps() const {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    return m_InputCaps;
}

HidCaps CHandsetDevice::OutputCaps() const {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    return m_OutputCaps;
}

std::wstring CHandsetDevice::DevicePath() const {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    return m_DevicePath;
}

void CHandsetDevice::SetInputCaps(const HidCaps& caps) {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    m_InputCaps = caps;
}

void CHandsetDevice::SetOutputCaps(const HidCaps& caps) {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    m_OutputCaps = caps;
}

void CHandsetDevice::SetDevicePath(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    m_DevicePath = path.substr(0, kDevicePathChars - 1);
}

void CHandsetDevice::ForgetSentCommands() {
    for (auto& c : m_LastContrast) c = 0;
    m_LastLight = 0;
}

void CHandsetDevice::Reset() {
    auto& host = platform::CurrentHidHost();
    for (auto* handle : {&m_DeviceHandle, &m_ReadHandle, &m_WriteHandle}) {
        HidHandle h = handle->exchange(kInvalidHidHandle);
        if (h.IsValid()) host.Close(h);
    }
    ForgetSentCommands();
    std::memset(m_ucB, 0, sizeof(m_ucB));
    m_bReadDone = 0;
    std::lock_guard<std::mutex> lock(m_CapsMutex);
    m_InputCaps = HidCaps{};
    m_OutputCaps = HidCaps{};
    m_DevicePath.clear();
}

void ResetHandsetDevices() {
    g_ReadDevice.Reset();
    g_WriteDevice.Reset();
}

int USBConnectToIthDevice(CHandsetDevice& device, size_t index) {
    auto& host = platform::CurrentHidHost();
    std::wstring path;
    switch (host.InterfacePath(index, path)) {
        case platform::HidPathResult::NoMore:
            LogW(L"USBConnectToIthDevice fail 1");
            return kConnectNoMore;
        case platform::HidPathResult::Failed:
            LogW(L"USBConnectToIthDevice fail 2");
            return kConnectNoDetail;
        case platform::HidPathResult::Ok:
            break;
    }
    LogW(L"-----------USBConnectToIthDevice: CreateFile: %ls------------", path.c_str());
    device.SetDevicePath(path);
    uint32_t error = 0;
    HidHandle h = host.Open(device.DevicePath(), platform::HidAccess::Query, error);
    device.m_DeviceHandle = h;
    if (!h.IsValid()) LogA("Device List=>CreateFile open error!");
    return kConnectOk;
}

namespace {

// What distinguishes the two searches.
struct SearchTarget {
    bool readSide;
    uint16_t usage;
};

void CloseQueryHandle(CHandsetDevice& device) {
    HidHandle h = device.m_DeviceHandle.exchange(kInvalidHidHandle);
    if (h.IsValid()) platform::CurrentHidHost().Close(h);
}

// Tests the interface just opened for querying against the matching rule.
bool Matches(CHandsetDevice& device, const SearchTarget& target, HidCaps& caps) {
    auto& host = platform::CurrentHidHost();
    const HidHandle h = device.m_DeviceHandle;
    platform::HidAttributes attributes;
    if (!host.GetAttributes(h, attributes)) return false;
    if (attributes.vendorId != kHandsetVendorId || attributes.productId != kHandsetProductId) return false;
    switch (host.GetCaps(h, caps)) {
        case platform::HidCapsResult::NoPreparsedData:
            if (target.readSide) platform::LogConsole("XXX  Could not get HID preparsed data.\n\n");
            return false;
        case platform::HidCapsResult::CapsFailed:
            return false;
        case platform::HidCapsResult::Ok:
            break;
    }
    return caps.usagePage == kHandsetUsagePage && caps.usage == target.usage;
}

void OpenReadHandle(CHandsetDevice& device, const HidCaps& caps) {
    device.SetInputCaps(caps);
    LogW(L"-----------ReadDeviceFirst: CreateFile(m_ReadHandle): %ls------------", device.DevicePath().c_str());
    uint32_t error = 0;
    HidHandle h = platform::CurrentHidHost().Open(device.DevicePath(), platform::HidAccess::ReadWrite, error);
    device.m_ReadHandle = h;
    if (!h.IsValid()) {
        LogA("Found HID Device and Interface you specified=>ReadDevice OpenFile Failed!\n");
        return;
    }
    LogA("Create Read Device\xA8\xEC" "success\n");
    if (caps.inputReportByteLength > kReportBufferSize) {
        LogW(L"ReadDeviceFirst: input report length %u exceeds %u bytes, reads are cut to %u",
             static_cast<unsigned>(caps.inputReportByteLength), static_cast<unsigned>(kReportBufferSize),
             static_cast<unsigned>(kReportBufferSize));
    }
}

void OpenWriteHandle(CHandsetDevice& device, const HidCaps& caps);

bool SearchAndOpen(CHandsetDevice& device, const SearchTarget& target) {
    for (size_t i = 0;; ++i) {
        CloseQueryHandle(device);
        if (USBConnectToIthDevice(device, i) == kConnectNoMore) return false;
        if (!device.m_DeviceHandle.load().IsValid()) continue;
        HidCaps caps;
        if (!Matches(device, target, caps)) continue;
        CloseQueryHandle(device);
        if (target.readSide) {
            OpenReadHandle(device, caps);
        } else {
            OpenWriteHandle(device, caps);
        }
        return true;
    }
}

}  // namespace

// Shortest command report the firmware can take: report id and 32 bytes.
constexpr size_t kMinOutputReportLength = 33;

namespace {
void OpenWriteHandle(CHandsetDevice& device, const HidCaps& caps) {
    device.SetOutputCaps(caps);
    // A new connection starts without repeat suppression: the handset that
    // comes back knows nothing of what the previous one was sent.
    device.ForgetSentCommands();
    LogW(L"-----------WriteDeviceFirst: CreateFile(m_WriteHandle): %ls------------", device.DevicePath().c_str());
    uint32_t error = 0;
    HidHandle h = platform::CurrentHidHost().Open(device.DevicePath(), platform::HidAccess::ReadWrite, error);
    device.m_WriteHandle = h;
    if (!h.IsValid()) {
        LogW(L"Set m_WriteHandle to INVALID_HANDLE_VALUE 003");
        LogA("Found HID Device and Interface you specified=> WriteDevice OpenFile Failed!");
        return;
    }
    LogA("create Write Device success\xA8\xEC\n");
    if (caps.outputReportByteLength < kMinOutputReportLength) {
        LogW(L"WriteDeviceFirst: output report length %u is shorter than %u, commands will not be sent",
             static_cast<unsigned>(caps.outputReportByteLength), static_cast<unsigned>(kMinOutputReportLength));
    }
}
}  // namespace

bool ReadDeviceFirst() { return SearchAndOpen(g_ReadDevice, SearchTarget{true, kKeyInterfaceUsage}); }

bool WriteDeviceFirst() { return SearchAndOpen(g_WriteDevice, SearchTarget{false, kCommandInterfaceUsage}); }

void NewReadDevice(CHandsetDevice& device) {
    device.m_bReadDone = 0;
    const HidHandle h = device.m_ReadHandle;
    if (!h.IsValid()) {
        LogW(L"Read USB failed: m_ReadHandle is not valid");
        return;
    }
    platform::Guard guard(device.m_Lock);
    std::memset(device.m_ucB, 0, sizeof(device.m_ucB));
    LogW(L"--- NewReadDevice: Read USB start...");
    const size_t length = std::min<size_t>(device.InputCaps().inputReportByteLength, kReportBufferSize);
    size_t bytesRead = 0;
    uint32_t error = 0;
    const bool ok = platform::CurrentHidHost().Read(h, device.m_ucB, length, bytesRead, error);
    LogW(L"--- NewReadDevice: Read USB end...");
    if (!ok) {
        LogW(L"Read USB failed, error=%ld", static_cast<long>(error));
        std::memset(device.m_ucB, 0, sizeof(device.m_ucB));
    } else if (bytesRead < 2) {
        // Without its code byte a report could pass for a key release.
        LogW(L"NewReadDevice: input report of %u bytes is too short, ignored", static_cast<unsigned>(bytesRead));
        std::memset(device.m_ucB, 0, sizeof(device.m_ucB));
    }
    device.m_bReadDone = 1;
}

void Disconnect(CHandsetDevice& device) {
    auto& host = platform::CurrentHidHost();
    struct Step {
        std::atomic<HidHandle>* handle;
        const wchar_t* before;
        const wchar_t* after;
    };
    const Step steps[] = {{&device.m_DeviceHandle, L"Disconnect 001", L"Disconnect 002"},
                          {&device.m_ReadHandle, L"Disconnect 003", L"Disconnect 004"},
                          {&device.m_WriteHandle, L"Disconnect 005", L"Disconnect 006"}};
    for (const Step& step : steps) {
        const HidHandle h = step.handle->load();
        if (!h.IsValid()) continue;
        LogW(step.before);
        host.Close(h);
        LogW(step.after);
        step.handle->store(kInvalidHidHandle);
        if (step.handle == &device.m_WriteHandle) LogW(L"Set m_WriteHandle to INVALID_HANDLE_VALUE 002");
    }
}

}  // namespace handset
