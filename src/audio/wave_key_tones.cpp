#include "audio/wave_key_tones.h"

#include "platform/log.h"

namespace audio {

const CWave* WaveKeyTones::Wave(const std::wstring& path) {
    auto it = waves_.find(path);
    if (it != waves_.end()) return &it->second;
    CWave wave;
    if (wave.Load(path) != WaveLoadResult::Ok) return nullptr;
    return &(waves_[path] = std::move(wave));
}

void WaveKeyTones::InitNewWave(const std::wstring&, const std::wstring& path, platform::WindowHandle) {
    std::lock_guard<std::mutex> lock(mutex_);
    waves_.erase(path);  // read anew
    if (!Wave(path)) platform::LogW(L"RT_InitNewWave: %ls is not registered", path.c_str());
}

void WaveKeyTones::PlayWave(const std::wstring& device, const std::wstring& path, platform::WindowHandle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (device.empty()) {
        // The handset's own device was not found; the key tone would
        // otherwise sound on the computer's default device.
        platform::LogW(L"RT_PlayWave: no sound device of the handset; nothing is played");
        return;
    }
    const CWave* wave = Wave(path);
    if (!wave) {
        platform::LogW(L"RT_PlayWave: %ls cannot be played", path.c_str());
        return;
    }
    std::unique_ptr<CWaveOut>& player = players_[device];
    if (!player) player = std::make_unique<CWaveOut>();
    player->Stop();
    player->m_Wave = *wave;
    player->m_Device.m_strName = device;
    if (player->Open()) player->Play();
}

void WaveKeyTones::StopPlayWave(const std::wstring& device) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = players_.find(device);
    if (it != players_.end()) it->second->Stop();
}

void WaveKeyTones::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    players_.clear();  // each player stops and closes its device
    waves_.clear();
}

}  // namespace audio
