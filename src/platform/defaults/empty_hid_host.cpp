#include "platform/defaults/empty_hid_host.h"

namespace platform {

HidPathResult EmptyHidHost::InterfacePath(size_t, std::wstring&) { return HidPathResult::NoMore; }

HidHandle EmptyHidHost::Open(const std::wstring&, HidAccess, uint32_t& error) {
    error = kErrorDeviceNotConnected;
    return kInvalidHidHandle;
}

bool EmptyHidHost::GetAttributes(HidHandle, HidAttributes&) { return false; }

HidCapsResult EmptyHidHost::GetCaps(HidHandle, HidCaps&) { return HidCapsResult::NoPreparsedData; }

bool EmptyHidHost::Read(HidHandle, uint8_t*, size_t, size_t& bytesRead, uint32_t& error) {
    bytesRead = 0;
    error = kErrorInvalidHandle;
    return false;
}

bool EmptyHidHost::Write(HidHandle, const uint8_t*, size_t, uint32_t& error) {
    error = kErrorInvalidHandle;
    return false;
}

void EmptyHidHost::Close(HidHandle) {}

bool EmptyHidHost::RegisterDeviceNotification(WindowHandle) { return false; }

}  // namespace platform
