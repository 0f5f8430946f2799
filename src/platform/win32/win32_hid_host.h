#pragma once
// The HID host port on the system's device-setup and HID layers. Handles
// are opened for overlapped I/O whatever the access asked for, so that
// closing a handle can cancel a read blocked on it; reads and writes still
// wait for their completion as synchronous calls do.

#include <map>
#include <memory>
#include <mutex>

#include "platform/hid_host.h"

namespace platform::win32 {

class Win32HidHost final : public HidHost {
public:
    Win32HidHost();
    ~Win32HidHost() override;

    HidPathResult InterfacePath(size_t index, std::wstring& path) override;
    HidHandle Open(const std::wstring& path, HidAccess access, uint32_t& error) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    HidCapsResult GetCaps(HidHandle handle, HidCaps& caps) override;
    bool Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t& error) override;
    bool Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) override;
    void Close(HidHandle handle) override;
    bool RegisterDeviceNotification(WindowHandle window) override;

private:
    struct Device;
    std::shared_ptr<Device> Find(HidHandle handle);
    // One overlapped transfer on the device, waited for to its end.
    bool Transfer(Device& device, bool reading, void* buffer, size_t length, size_t& done, uint32_t& error);

    std::mutex mutex_;
    std::map<int32_t, std::shared_ptr<Device>> devices_;
    int32_t next_ = 1;
};

}  // namespace platform::win32
