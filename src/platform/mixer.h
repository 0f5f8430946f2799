#pragma once
// Mixer port: the handset's volume and mute controls through the platform's
// legacy mixer interface. Each call is one call of that interface, with its
// result code (0: success).
//
// Contract every backend keeps:
// - Device ids run from 0 to GetNumDevs() - 1; a mixer can also be opened by
//   the id of the wave-out or wave-in device it belongs to.
// - A mixer opened with a callback window posts MM_MIXM_CONTROL_CHANGE
//   (wParam: the handle, lParam: the control id) to that window whenever one
//   of the device's control values changes, whoever changed it.
// - Control values are 32-bit, channel after channel; a multiple control has
//   `multipleItems` values per channel.

#include <cstdint>
#include <string>

#include "platform/mm_results.h"
#include "platform/window_handle.h"

namespace platform {

struct MixerHandle {
    int32_t value = -1;
    bool IsValid() const { return value >= 0; }
    friend bool operator==(MixerHandle a, MixerHandle b) { return a.value == b.value; }
};
constexpr MixerHandle kInvalidMixerHandle{};

// Result codes of the mixer interface besides the common ones
// (platform/mm_results.h).
constexpr uint32_t kMixerInvalidLine = 1024;
constexpr uint32_t kMixerInvalidControl = 1025;

// Component types of mixer lines (the interface's documented values).
constexpr uint32_t kMixerDstFirst = 0;
constexpr uint32_t kMixerDstSpeakers = 4;
constexpr uint32_t kMixerDstWaveIn = 7;
constexpr uint32_t kMixerDstLast = 8;
constexpr uint32_t kMixerSrcFirst = 0x1000;
constexpr uint32_t kMixerSrcMicrophone = 0x1003;
constexpr uint32_t kMixerSrcLast = 0x100A;

// Control types and flags.
constexpr uint32_t kMixerControlVolume = 0x50030001;
constexpr uint32_t kMixerControlMute = 0x20010002;
constexpr uint32_t kMixerControlFlagUniform = 1;
constexpr uint32_t kMixerControlFlagMultiple = 2;

// What a mixer is opened by.
enum class MixerOpenBy { MixerId, WaveOutId, WaveInId };

struct MixerCaps {
    std::wstring productName;  // at most 31 characters
    uint32_t destinations = 0;
};

struct MixerLine {
    uint32_t destination = 0;
    uint32_t source = 0;
    uint32_t lineId = 0;
    uint32_t componentType = 0;
    uint32_t channels = 0;
    uint32_t connections = 0;  // source lines of a destination
    uint32_t controls = 0;
    std::wstring name;
};

struct MixerControl {
    uint32_t id = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    uint32_t multipleItems = 0;
    int64_t minimum = 0;
    int64_t maximum = 0;
    uint32_t steps = 0;
};

// The values of one control: `channels` × (multipleItems, or 1) of them.
struct MixerControlDetails {
    uint32_t controlId = 0;
    uint32_t channels = 0;
    uint32_t multipleItems = 0;
    uint32_t* values = nullptr;
};

class Mixer {
public:
    virtual ~Mixer() = default;
    virtual uint32_t GetNumDevs() = 0;
    // An invalid callback window opens the mixer without notifications.
    virtual uint32_t Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) = 0;
    virtual uint32_t Close(MixerHandle handle) = 0;
    virtual uint32_t GetDevCaps(MixerHandle handle, MixerCaps& caps) = 0;
    virtual uint32_t GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) = 0;
    virtual uint32_t GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) = 0;
    // The first control of the type on the line.
    virtual uint32_t GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                          MixerControl& control) = 0;
    virtual uint32_t GetControlDetails(MixerHandle handle, const MixerControlDetails& details) = 0;
    virtual uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& details) = 0;
};

// The process-wide mixer (platform/backends.h installs it).
Mixer& CurrentMixer();

}  // namespace platform
