#pragma once
// Stands in where no HID backend is available: no interfaces at all, every
// open fails as if the device were not connected.

#include "platform/hid_host.h"

namespace platform {

class EmptyHidHost final : public HidHost {
public:
    HidPathResult InterfacePath(size_t index, std::wstring& path) override;
    HidHandle Open(const std::wstring& path, HidAccess access, uint32_t& error) override;
    bool GetAttributes(HidHandle handle, HidAttributes& attributes) override;
    HidCapsResult GetCaps(HidHandle handle, HidCaps& caps) override;
    bool Read(HidHandle handle, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t& error) override;
    bool Write(HidHandle handle, const uint8_t* buffer, size_t length, uint32_t& error) override;
    void Close(HidHandle handle) override;
    bool RegisterDeviceNotification(WindowHandle window) override;
};

}  // namespace platform
