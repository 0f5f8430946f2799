#include "audio/mixer_fader.h"

#include <mutex>

#include "common/settings.h"

namespace audio {

CMixerFader g_OutFader("out");
CMixerFader g_InFader("in");
CMixerMute g_OutMute("out");
CMixerMute g_InMute("in");

namespace {
std::mutex g_backendMutex;
FaderBackend g_backend;
MuteBackend g_muteBackend;
VolumeBackend g_volumeBackend;
}  // namespace

int GetOutVolume() {
    VolumeBackend backend;
    {
        std::lock_guard<std::mutex> lock(g_backendMutex);
        backend = g_volumeBackend;
    }
    // Without a mixer the level is what the settings last asked for.
    return backend ? backend() : common::g_Settings.VAL_AUDIO_OUT_VOLUME.load();
}

void InstallOutVolumeBackend(VolumeBackend backend) {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_volumeBackend = std::move(backend);
}

int GetMuteValue(CMixerMute& mute) {
    MuteBackend backend;
    {
        std::lock_guard<std::mutex> lock(g_backendMutex);
        backend = g_muteBackend;
    }
    return backend ? backend(mute) : -1;
}

void InstallMuteBackend(MuteBackend backend) {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_muteBackend = std::move(backend);
}

void SetFaderValue(CMixerFader& fader, int value, int type) {
    FaderBackend backend;
    {
        std::lock_guard<std::mutex> lock(g_backendMutex);
        backend = g_backend;
    }
    if (backend) backend(fader, value, type);
}

void InstallFaderBackend(FaderBackend backend) {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_backend = std::move(backend);
}

}  // namespace audio
