#include "audio/key_tone_library.h"

#include <atomic>

namespace audio {

namespace {
// Plays nothing: the program runs without sound until a player is installed.
class SilentKeyToneLibrary final : public KeyToneLibrary {
public:
    void InitNewWave(const std::wstring&, const std::wstring&, platform::WindowHandle) override {}
    void PlayWave(const std::wstring&, const std::wstring&, platform::WindowHandle) override {}
    void StopPlayWave(const std::wstring&) override {}
};

std::atomic<KeyToneLibrary*> g_library{nullptr};
}  // namespace

KeyToneLibrary& CurrentKeyToneLibrary() {
    static SilentKeyToneLibrary* silent = new SilentKeyToneLibrary;
    KeyToneLibrary* l = g_library.load();
    if (l) return *l;
    return *silent;
}

void InstallKeyToneLibrary(KeyToneLibrary* library) { g_library.store(library); }

void RT_InitNewWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) {
    CurrentKeyToneLibrary().InitNewWave(device, path, window);
}

void RT_PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle window) {
    CurrentKeyToneLibrary().PlayWave(device, path, window);
}

void RT_StopPlayWave(const std::wstring& device) { CurrentKeyToneLibrary().StopPlayWave(device); }

}  // namespace audio
