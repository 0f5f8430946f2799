// Feeds arbitrary bytes to the wave file reader as a file's content, then
// plays what it read through the streaming player on a device that keeps
// the written chunks until the target completes them one at a time.
//
// Checked: the reader keeps no more than the file holds; the player hands
// the device exactly the frames read, in order, in chunks of at most 4096
// bytes, with never more than three at the device.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "audio/wave.h"
#include "audio/wave_out.h"
#include "platform/backends.h"

namespace {

// One wave-out device; completions come only when Complete is called.
class HeldDevice final : public platform::WaveDevices {
public:
    uint32_t OutGetNumDevs() override { return 1; }
    uint32_t OutGetDevCaps(uint32_t id, std::wstring& name) override {
        name = L"USB PHONE";
        return id == 0 ? platform::kMmNoError : platform::kMmBadDeviceId;
    }
    uint32_t OutOpen(platform::WaveOutHandle& handle, uint32_t, const platform::PcmFormat&,
                     platform::WaveOutCallback callback, uintptr_t) override {
        handle = platform::WaveOutHandle{1};
        callback_ = callback;
        return platform::kMmNoError;
    }
    uint32_t OutPrepareHeader(platform::WaveOutHandle, platform::WaveHeader& h) override {
        h.flags = h.flags | platform::kWaveHeaderPrepared;
        return platform::kMmNoError;
    }
    uint32_t OutUnprepareHeader(platform::WaveOutHandle, platform::WaveHeader& h) override {
        h.flags = h.flags & ~platform::kWaveHeaderPrepared;
        return platform::kMmNoError;
    }
    uint32_t OutWrite(platform::WaveOutHandle, platform::WaveHeader& h) override {
        if (h.bufferLength > audio::CWaveOut::kChunkBytes || queue_.size() >= 3) std::abort();
        played_.append(reinterpret_cast<const char*>(h.data), h.bufferLength);
        h.flags = h.flags | platform::kWaveHeaderInQueue;
        queue_.push_back(&h);
        return platform::kMmNoError;
    }
    uint32_t OutReset(platform::WaveOutHandle handle) override {
        while (!queue_.empty()) Complete(handle);
        return platform::kMmNoError;
    }
    uint32_t OutClose(platform::WaveOutHandle) override { return platform::kMmNoError; }
    uint32_t InGetNumDevs() override { return 0; }
    uint32_t InGetDevCaps(uint32_t, std::wstring&) override { return platform::kMmBadDeviceId; }

    bool Complete(platform::WaveOutHandle handle) {
        if (queue_.empty()) return false;
        platform::WaveHeader* h = queue_.front();
        queue_.pop_front();
        h->flags = (h->flags & ~platform::kWaveHeaderInQueue) | platform::kWaveHeaderDone;
        callback_(handle, platform::kWaveOutDone, 0, h, 0);
        return true;
    }
    std::string played_;

private:
    std::deque<platform::WaveHeader*> queue_;
    platform::WaveOutCallback callback_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    audio::CWave wave;
    if (wave.Parse(data, size, L"input") != audio::WaveLoadResult::Ok) return 0;
    if (wave.DataBytes() > size || wave.m_Format.blockAlign == 0) std::abort();
    HeldDevice device;
    platform::ScopedBackends backends({.waveDevices = &device});
    {
        audio::CWaveOut player;
        player.m_Wave = wave;
        player.m_Device.m_strName = L"USB PHONE";
        player.Open();
        player.Play();
        while (device.Complete(platform::WaveOutHandle{1})) {
        }
        if (player.IsPlaying()) std::abort();
    }
    const uint8_t* samples = wave.m_Buffer.Samples();
    if (device.played_.size() != wave.DataBytes() ||
        (wave.DataBytes() > 0 && std::memcmp(device.played_.data(), samples, wave.DataBytes()) != 0)) {
        std::abort();
    }
    return 0;
}
