#pragma once
// The handset's two HID interfaces: discovery by vendor, product, usage page
// and usage, the handles, and the one-report-at-a-time read.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/hid_host.h"
#include "platform/sync.h"

namespace handset {

constexpr uint16_t kHandsetVendorId = 0x04D9;
constexpr uint16_t kHandsetProductId = 0x2832;
constexpr uint16_t kHandsetUsagePage = 0xFF00;
constexpr uint16_t kKeyInterfaceUsage = 0xA5;      // input reports: keys
constexpr uint16_t kCommandInterfaceUsage = 0x01;  // output reports: commands and screen

constexpr size_t kReportBufferSize = 256;  // m_ucB
constexpr size_t kDevicePathChars = 260;   // m_DevicePath, terminator included

// USBConnectToIthDevice results.
constexpr int kConnectOk = 0;
constexpr int kConnectNoMore = 1;
constexpr int kConnectNoDetail = 2;

class CHandsetDevice {
public:
    CHandsetDevice();
    ~CHandsetDevice();
    CHandsetDevice(const CHandsetDevice&) = delete;
    CHandsetDevice& operator=(const CHandsetDevice&) = delete;

    // Handles are read by one thread while another reopens them, so each is
    // a single atomic value.
    std::atomic<platform::HidHandle> m_DeviceHandle{platform::kInvalidHidHandle};
    std::atomic<platform::HidHandle> m_ReadHandle{platform::kInvalidHidHandle};
    std::atomic<platform::HidHandle> m_WriteHandle{platform::kInvalidHidHandle};

    // In g_ReadDevice: held for one read. In g_WriteDevice: the handset lock,
    // taken after the mode machine's transition and display locks and before
    // the main window's key lock, never the other way round: a mode switch
    // writes to the handset, and the read thread queues keys while it holds
    // this lock, so no holder of it may switch modes or redraw.
    platform::CriticalSection m_Lock;

    // Repeat suppression of the command interface.
    std::atomic<uint8_t> m_LastContrast[3] = {0, 0, 0};
    std::atomic<uint8_t> m_LastLight{0};
    // Forgets what the handset was sent, so that the next contrast and light
    // commands go out whatever they are: for a new connection, and for a
    // handset that has just started and knows nothing of earlier commands.
    void ForgetSentCommands();

    uint8_t m_ucB[kReportBufferSize] = {};  // the last input report read
    std::atomic<uint8_t> m_bReadDone{0};

    // Capabilities and path of the interface last matched; copied out under
    // a short lock because the user-interface thread rewrites them on arrival
    // while the read and write paths use them.
    platform::HidCaps InputCaps() const;
    platform::HidCaps OutputCaps() const;
    std::wstring DevicePath() const;
    void SetInputCaps(const platform::HidCaps& caps);
    void SetOutputCaps(const platform::HidCaps& caps);
    void SetDevicePath(const std::wstring& path);

    // Back to the constructed state without logging (for tests).
    void Reset();

private:
    mutable std::mutex m_CapsMutex;
    platform::HidCaps m_InputCaps;
    platform::HidCaps m_OutputCaps;
    std::wstring m_DevicePath;
};

extern CHandsetDevice g_ReadDevice;   // key interface
extern CHandsetDevice g_WriteDevice;  // command interface
// 1 once the handset has reported its start, 0 again when it is removed;
// the key pipeline sets it, the unconnected screen tells by it which side
// is missing.
extern std::atomic<int> g_bDeviceStarted;

int USBConnectToIthDevice(CHandsetDevice& device, size_t index);
bool ReadDeviceFirst();
bool WriteDeviceFirst();
void NewReadDevice(CHandsetDevice& device);
void Disconnect(CHandsetDevice& device);

// Both objects back to their constructed state (for tests).
void ResetHandsetDevices();

}  // namespace handset
