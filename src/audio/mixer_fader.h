#pragma once
// The handset's mixer controls as the rest of the program sees them. The
// volume scale is 0 ... 31 everywhere.

#include <functional>
#include <string>

namespace audio {

// SetFaderValue types.
constexpr int kFaderStepUp = 0;         // one step up
constexpr int kFaderStepDown = 1;       // one step down
constexpr int kFaderAbsoluteSteps = 2;  // value 0 ... 31 in whole steps
constexpr int kFaderAbsolute = 4;       // value 0 ... 31 over the full range

class CMixerFader {
public:
    explicit CMixerFader(const char* name) : m_strName(name) {}
    const char* Name() const { return m_strName; }

private:
    const char* m_strName;
};

extern CMixerFader g_OutFader;
extern CMixerFader g_InFader;

// A mute switch of the handset's mixer.
class CMixerMute {
public:
    explicit CMixerMute(const char* name) : m_strName(name) {}
    const char* Name() const { return m_strName; }

private:
    const char* m_strName;
};

extern CMixerMute g_OutMute;

// The handset's playback level on the 0 ... 31 scale as the device reports it.
int GetOutVolume();
using VolumeBackend = std::function<int()>;
void InstallOutVolumeBackend(VolumeBackend backend);  // empty: the stored output volume
extern CMixerMute g_InMute;

// 1 when the switch is on, 0 when off, -1 when the mixer is not open.
int GetMuteValue(CMixerMute& mute);
using MuteBackend = std::function<int(CMixerMute& mute)>;
void InstallMuteBackend(MuteBackend backend);  // empty: no mixer is open

// Moves a fader; the mixer backend behind it is installed by the audio layer.
void SetFaderValue(CMixerFader& fader, int value, int type);

using FaderBackend = std::function<void(CMixerFader& fader, int value, int type)>;
void InstallFaderBackend(FaderBackend backend);  // empty: faders do nothing

}  // namespace audio
