#pragma once
// A virtual HID bus: the present HID interfaces in enumeration order, their
// handles, queued input reports and a sink for output reports.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid_host.h"

namespace platform::sim {

// Errors the bus reports besides those of the HID host port.
constexpr uint32_t kErrorFileNotFound = 2;  // Open: no interface has that path
constexpr uint32_t kErrorAccessDenied = 5;  // Open refused; Read or Write on a Query handle

struct HidInterfaceDescription {
    std::wstring path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0x0100;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
    // Faults a test can switch on.
    bool openFails = false;
    bool noPreparsedData = false;
    bool capsFail = false;
};

// Receives every output report written to an interface (on the writer's thread).
using OutputSink = std::function<void(const uint8_t* data, size_t length)>;

class VirtualHidBus final : public HidHost {
public:
    using InterfaceId = int;

    VirtualHidBus();
    ~VirtualHidBus() override;

    // Adds an interface at the end of the enumeration order.
    InterfaceId AttachInterface(const HidInterfaceDescription& description, OutputSink sink = nullptr);
    // Removes it: its handles die and a blocked read fails.
    void DetachInterface(InterfaceId id);
    // Queues one input report; false when the interface is not attached.
    bool InjectInput(InterfaceId id, std::vector<uint8_t> report);
    size_t OpenHandleCount();

    HidPathResult InterfacePath(size_t index, std::wstring& path) override;
    HidHandle Open(const std::wstring& path, HidAccess access, uint32_t& error) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    HidCapsResult GetCaps(HidHandle handle, HidCaps& caps) override;
    // A read on a pulled interface fails with kErrorDeviceNotConnected; one
    // whose handle is closed while it waits fails with kErrorOperationAborted;
    // one on a handle already closed fails with kErrorInvalidHandle.
    bool Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t& error) override;
    bool Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) override;
    void Close(HidHandle handle) override;
    bool RegisterDeviceNotification(WindowHandle window) override;

private:
    struct Interface;
    struct Handle {
        InterfaceId iface;
        HidAccess access;
    };

    Interface* Attached(InterfaceId id);                   // with the state mutex held
    // Sends WM_DEVICECHANGE to every registered window (no lock held).
    void NotifyDeviceChange(uintptr_t event, const std::wstring& path);
    Interface* OfHandle(HidHandle handle, Handle** entry);  // with the state mutex held

    std::vector<std::shared_ptr<Interface>> interfaces_;  // attached, in enumeration order
    std::map<int32_t, Handle> handles_;
    std::vector<WindowHandle> notifyWindows_;
    InterfaceId nextId_ = 1;
    int32_t nextHandle_ = 0x100;
};

}  // namespace platform::sim
