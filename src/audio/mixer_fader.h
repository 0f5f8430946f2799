#pragma once
// The handset's mixer controls as the rest of the program sees them. The
// volume scale is 0 ... 31 everywhere.

#include <functional>
#include <string>

namespace audio {

// SetFaderValue types.
constexpr int kFaderSet = -1;      // set the value given
constexpr int kFaderStepUp = 0;    // one step up
constexpr int kFaderStepDown = 1;  // one step down

class CMixerFader {
public:
    explicit CMixerFader(const char* name) : m_strName(name) {}
    const char* Name() const { return m_strName; }

private:
    const char* m_strName;
};

extern CMixerFader g_OutFader;
extern CMixerFader g_InFader;

// Moves a fader; the mixer backend behind it is installed by the audio layer.
void SetFaderValue(CMixerFader& fader, int value, int type);

using FaderBackend = std::function<void(CMixerFader& fader, int value, int type)>;
void InstallFaderBackend(FaderBackend backend);  // empty: faders do nothing

}  // namespace audio
