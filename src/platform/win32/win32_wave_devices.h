#pragma once
// The wave devices on Windows: the system's wave-out calls, with each open
// device's completions handed on by a thread of ours. The system calls its
// completion routine on a thread of its own where wave calls must not be
// made, while the port lets the program's routine write the next buffer
// from inside the call.

#include <map>
#include <memory>
#include <mutex>

#include "platform/wave_devices.h"

namespace platform::win32 {

class Win32WaveDevices final : public WaveDevices {
public:
    struct OpenDevice;

    ~Win32WaveDevices() override;
    uint32_t OutGetNumDevs() override;
    uint32_t OutGetDevCaps(uint32_t id, std::wstring& productName) override;
    uint32_t OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format, WaveOutCallback callback,
                     uintptr_t instance) override;
    uint32_t OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutWrite(WaveOutHandle handle, WaveHeader& header) override;
    uint32_t OutReset(WaveOutHandle handle) override;
    uint32_t OutClose(WaveOutHandle handle) override;
    uint32_t InGetNumDevs() override;
    uint32_t InGetDevCaps(uint32_t id, std::wstring& productName) override;

private:
    std::shared_ptr<OpenDevice> DeviceOf(WaveOutHandle handle);

    std::mutex mutex_;
    std::map<int32_t, std::shared_ptr<OpenDevice>> devices_;
    int32_t nextHandle_ = 1;
};

}  // namespace platform::win32
