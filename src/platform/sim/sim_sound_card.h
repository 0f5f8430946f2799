#pragma once
// One sound card of the simulated world: its mixer lines and controls, its
// wave-out and wave-in devices and its two endpoints, all under one name.

#include <cstdint>
#include <string>
#include <vector>

namespace platform::sim {

struct SimMixerControl {
    uint32_t type = 0;
    uint32_t flags = 0;  // uniform (1), multiple (2)
    uint32_t multipleItems = 0;
    int64_t minimum = 0;
    int64_t maximum = 65535;
    uint32_t steps = 32;
    std::vector<uint32_t> values;  // channel after channel (1 channel when uniform)
};

struct SimMixerLine {
    uint32_t componentType = 0;
    std::wstring name;
    uint32_t channels = 2;
    std::vector<SimMixerControl> controls;
};

struct SimMixerDestination {
    SimMixerLine line;
    std::vector<SimMixerLine> sources;
};

struct SimSoundCard {
    std::wstring name;  // the mixer's and the wave devices' product name
    bool waveOut = true;
    bool waveIn = true;
    std::vector<SimMixerDestination> destinations;
    std::wstring interfaceName;  // the endpoints' device-interface name
    float renderLevel = 1.0f;
    float captureLevel = 1.0f;

    // Speakers with a volume and a mute; a wave-in destination with a mute
    // and no volume of its own, and a microphone source with the recording
    // volume. Every volume has the given channels, range and steps, and is
    // uniform (one value for all channels) when asked.
    static SimSoundCard Standard(const std::wstring& name, uint32_t channels = 2, int64_t maximum = 65535,
                                 uint32_t steps = 32, bool uniform = false);
};

// A short name of a line's component type for the transcript ("speakers",
// "wave-in", "microphone", else the number in hex).
std::string ComponentName(uint32_t componentType);

}  // namespace platform::sim
