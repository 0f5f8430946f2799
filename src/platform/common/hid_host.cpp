#include "platform/hid_host.h"

#include <atomic>

namespace platform {

namespace {
// Stands in where no HID backend is available: no interfaces at all.
class EmptyHidHost final : public HidHost {
public:
    HidPathResult InterfacePath(size_t, std::wstring&) override { return HidPathResult::NoMore; }
    HidHandle Open(const std::wstring&, HidAccess, uint32_t& error) override {
        error = kErrorDeviceNotConnected;
        return kInvalidHidHandle;
    }
    bool GetAttributes(HidHandle, HidAttributes&) override { return false; }
    HidCapsResult GetCaps(HidHandle, HidCaps&) override { return HidCapsResult::NoPreparsedData; }
    bool Read(HidHandle, uint8_t*, size_t, size_t& bytesRead, uint32_t& error) override {
        bytesRead = 0;
        error = kErrorInvalidHandle;
        return false;
    }
    bool Write(HidHandle, const uint8_t*, size_t, uint32_t& error) override {
        error = kErrorInvalidHandle;
        return false;
    }
    void Close(HidHandle) override {}
    bool RegisterDeviceNotification(WindowHandle) override { return false; }
};

std::atomic<HidHost*> g_host{nullptr};
}  // namespace

HidHost& CurrentHidHost() {
    // Never destroyed: static objects may still close handles at process end.
    static EmptyHidHost* empty = new EmptyHidHost;
    HidHost* h = g_host.load(std::memory_order_acquire);
    if (h) return *h;
    return *empty;
}

void InstallHidHost(HidHost* host) { g_host.store(host, std::memory_order_release); }

}  // namespace platform
