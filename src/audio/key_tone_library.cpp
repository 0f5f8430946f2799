#include "audio/key_tone_library.h"

#include <atomic>

#include "audio/wave_key_tones.h"

namespace audio {

namespace {
std::atomic<KeyToneLibrary*> g_library{nullptr};

WaveKeyTones& OwnLibrary() {
    static WaveKeyTones* own = new WaveKeyTones;  // never destroyed: key threads may outlive statics
    return *own;
}
}  // namespace

KeyToneLibrary& CurrentKeyToneLibrary() {
    KeyToneLibrary* l = g_library.load();
    if (l) return *l;
    return OwnLibrary();
}

void InstallKeyToneLibrary(KeyToneLibrary* library) { g_library.store(library); }

void RT_InitNewWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) {
    CurrentKeyToneLibrary().InitNewWave(device, path, window);
}

void RT_PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) {
    CurrentKeyToneLibrary().PlayWave(device, path, window);
}

void RT_StopPlayWave(const std::wstring& device) { CurrentKeyToneLibrary().StopPlayWave(device); }

void ResetKeyTones() { OwnLibrary().Reset(); }

}  // namespace audio
