#pragma once
// The key-tone library: three calls that register, play and stop the short
// wave files of the keys on a named playback device.

#include <string>

#include "platform/desktop.h"

namespace audio {

class KeyToneLibrary {
public:
    virtual ~KeyToneLibrary() = default;
    virtual void InitNewWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) = 0;
    virtual void PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) = 0;
    virtual void StopPlayWave(const std::wstring& device) = 0;
};

// The installed library; our own wave player (audio/wave_key_tones.h) until
// another is installed.
KeyToneLibrary& CurrentKeyToneLibrary();
void InstallKeyToneLibrary(KeyToneLibrary* library);  // nullptr: our own

void RT_InitNewWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window);
void RT_PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window);
void RT_StopPlayWave(const std::wstring& device);

// Stops every key tone and forgets the registered files.
void ResetKeyTones();

}  // namespace audio
