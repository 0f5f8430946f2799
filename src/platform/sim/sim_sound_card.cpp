#include "platform/sim/sim_sound_card.h"

#include <cstdio>

#include "platform/mixer.h"

namespace platform::sim {

namespace {

SimMixerControl Volume(uint32_t channels, int64_t maximum, uint32_t steps, bool uniform) {
    SimMixerControl c;
    c.type = kMixerControlVolume;
    c.flags = uniform ? kMixerControlFlagUniform : 0;
    c.maximum = maximum;
    c.steps = steps;
    c.values.assign(uniform ? 1 : channels, 0);
    return c;
}

SimMixerControl Mute() {
    SimMixerControl c;
    c.type = kMixerControlMute;
    c.flags = kMixerControlFlagUniform;
    c.maximum = 1;
    c.steps = 1;
    c.values.assign(1, 0);
    return c;
}

}  // namespace

SimSoundCard SimSoundCard::Standard(const std::wstring& name, uint32_t channels, int64_t maximum, uint32_t steps,
                                    bool uniform) {
    SimSoundCard card;
    card.name = name;
    card.interfaceName = name;
    SimMixerDestination speakers{{kMixerDstSpeakers, L"Speakers", channels, {Volume(channels, maximum, steps, uniform), Mute()}},
                                 {}};
    SimMixerDestination waveIn{{kMixerDstWaveIn, L"Recording Control", channels, {Mute()}}, {}};
    waveIn.sources.push_back(
        SimMixerLine{kMixerSrcMicrophone, L"Microphone", channels, {Volume(channels, maximum, steps, uniform)}});
    card.destinations = {speakers, waveIn};
    return card;
}

std::string ComponentName(uint32_t componentType) {
    if (componentType == kMixerDstSpeakers) return "speakers";
    if (componentType == kMixerDstWaveIn) return "wave-in";
    if (componentType == kMixerSrcMicrophone) return "microphone";
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%X", componentType);
    return hex;
}

}  // namespace platform::sim
