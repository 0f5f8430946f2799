#pragma once
// Wave device port: the platform's wave-output devices (count, names, and
// streaming PCM buffers to one) and the count of its wave-input devices.
// Each call is one call of the platform's wave interface, with its result
// code (0: success; platform/mm_results.h).
//
// Contract every backend keeps:
// - A written header stays with the device until it has played or the
//   device is reset; then the device sets its done flag, clears its
//   in-queue flag and calls the completion routine with kWaveOutDone on a
//   thread of its own (Reset may call it on the caller's thread for the
//   headers it returns). The routine may prepare, write and unprepare
//   headers from inside the call.
// - Close fails with kWaveStillPlaying while headers are queued.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/mm_results.h"

namespace platform {

struct WaveOutHandle {
    int32_t value = -1;
    bool IsValid() const { return value >= 0; }
    friend bool operator==(WaveOutHandle a, WaveOutHandle b) { return a.value == b.value; }
};
constexpr WaveOutHandle kInvalidWaveOutHandle{};

// The default device.
constexpr uint32_t kWaveMapper = 0xFFFFFFFFu;

constexpr uint32_t kWaveStillPlaying = 33;
constexpr uint32_t kWaveUnprepared = 34;

// Completion messages.
constexpr uint32_t kWaveOutOpen = 0x3BB;
constexpr uint32_t kWaveOutClose = 0x3BC;
constexpr uint32_t kWaveOutDone = 0x3BD;

// Header flags.
constexpr uint32_t kWaveHeaderDone = 0x01;
constexpr uint32_t kWaveHeaderPrepared = 0x02;
constexpr uint32_t kWaveHeaderInQueue = 0x10;

// The fields of a PCM format, in the order of a wave file's "fmt " chunk,
// plus the extra size the platform's open call expects.
struct PcmFormat {
    uint16_t formatTag = 1;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};

// One buffer handed to a device. The flags change on the device's thread
// while the owner reads them, hence atomic.
struct WaveHeader {
    const uint8_t* data = nullptr;
    uint32_t bufferLength = 0;
    uintptr_t user = 0;
    std::atomic<uint32_t> flags{0};
    uintptr_t reserved = 0;  // the backend's own, while prepared
};


using WaveOutCallback = void (*)(WaveOutHandle device, uint32_t message, uintptr_t instance, WaveHeader* header,
                                 uintptr_t param2);

class WaveDevices {
public:
    virtual ~WaveDevices() = default;
    virtual uint32_t OutGetNumDevs() = 0;
    // The product name (at most 31 characters) of wave-out device `id`.
    virtual uint32_t OutGetDevCaps(uint32_t id, std::wstring& productName) = 0;
    virtual uint32_t OutOpen(WaveOutHandle& handle, uint32_t id, const PcmFormat& format, WaveOutCallback callback,
                             uintptr_t instance) = 0;
    virtual uint32_t OutPrepareHeader(WaveOutHandle handle, WaveHeader& header) = 0;
    virtual uint32_t OutUnprepareHeader(WaveOutHandle handle, WaveHeader& header) = 0;
    virtual uint32_t OutWrite(WaveOutHandle handle, WaveHeader& header) = 0;
    virtual uint32_t OutReset(WaveOutHandle handle) = 0;
    virtual uint32_t OutClose(WaveOutHandle handle) = 0;
    virtual uint32_t InGetNumDevs() = 0;
    // The product name (at most 31 characters) of wave-in device `id`.
    virtual uint32_t InGetDevCaps(uint32_t id, std::wstring& productName) = 0;
};

// The process-wide wave devices (platform/backends.h installs them).
WaveDevices& CurrentWaveDevices();

}  // namespace platform
