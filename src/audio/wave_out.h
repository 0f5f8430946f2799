#pragma once
// A player that streams one sound to a wave-out device in chunks of 4096
// bytes through three rotating headers, and the choice of that device.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "audio/wave.h"
#include "platform/wave_devices.h"

namespace audio {

class CWaveDevice {
public:
    // The first wave-out device whose product name equals the name exactly;
    // the default device when the name is empty or no device has it.
    uint32_t GetDevice() const;

    std::wstring m_strName;
};

class CWaveOut {
public:
    static constexpr int kHeaders = 3;
    static constexpr uint32_t kChunkBytes = 4096;

    CWaveOut() = default;
    ~CWaveOut();
    CWaveOut(const CWaveOut&) = delete;
    CWaveOut& operator=(const CWaveOut&) = delete;

    // Opens the device for the sound's format; a device still open from an
    // earlier sound is closed first.
    bool Open();
    // Plays the sound from its start; true when three chunks were queued.
    bool Play();
    void Stop();
    bool IsPlaying() const;

    static void OnWaveDone(platform::WaveOutHandle device, uint32_t message, uintptr_t instance,
                           platform::WaveHeader* header, uintptr_t param2);

    std::atomic<uint32_t> m_dwEnd{0};
    std::atomic<uint32_t> m_dwPos{0};
    uint32_t m_dwChunk = kChunkBytes;
    platform::WaveOutHandle m_hWaveOut;
    std::atomic<uint32_t> m_nResult{0};
    std::atomic<int32_t> m_nCurHdr{kHeaders - 1};
    platform::WaveHeader m_Hdr[kHeaders];
    CWave m_Wave;
    CWaveDevice m_Device;

private:
    bool QueueChunk();
    void Done(platform::WaveHeader& header);

    // Chunks are queued from the caller's thread and the device's.
    std::mutex m_QueueMutex;
};

}  // namespace audio
