#pragma once
// Our key-tone library: the files are read once when registered, and each
// device has one player, so that a new tone on a device cuts the one still
// sounding there. Playing returns as soon as the first chunks are queued.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "audio/key_tone_library.h"
#include "audio/wave_out.h"

namespace audio {

class WaveKeyTones final : public KeyToneLibrary {
public:
    void InitNewWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) override;
    void PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) override;
    void StopPlayWave(const std::wstring& device) override;
    // Stops and closes every player and forgets the files.
    void Reset();

private:
    const CWave* Wave(const std::wstring& path);  // with mutex_ held; nullptr when unreadable

    std::mutex mutex_;
    std::map<std::wstring, CWave> waves_;
    std::map<std::wstring, std::unique_ptr<CWaveOut>> players_;
};

}  // namespace audio
