// The mixers of the simulated sound cards.

#include <cstdio>

#include "platform/desktop.h"
#include "platform/sim/sim_sound_system.h"
#include "platform/text_codec.h"
#include "platform/window_messages.h"

namespace platform::sim {

std::string QuotedName(const std::wstring& name);

namespace {

// Line ids: the destination index in the upper byte, the source index + 1
// in the lower one (0: the destination itself). Control ids: the line id
// and the control's index on the line.
uint32_t LineId(uint32_t destination, uint32_t sourcePlusOne) { return destination << 8 | sourcePlusOne; }
uint32_t ControlId(uint32_t lineId, uint32_t index) { return lineId << 4 | index; }

void Describe(const SimMixerLine& line, uint32_t destination, uint32_t sourcePlusOne, size_t connections,
              MixerLine& out) {
    out.destination = destination;
    out.source = sourcePlusOne == 0 ? 0 : sourcePlusOne - 1;
    out.lineId = LineId(destination, sourcePlusOne);
    out.componentType = line.componentType;
    out.channels = line.channels;
    out.connections = static_cast<uint32_t>(connections);
    out.controls = static_cast<uint32_t>(line.controls.size());
    out.name = line.name;
}

size_t ValueCount(const SimMixerControl& control, uint32_t lineChannels) {
    const size_t channels = (control.flags & kMixerControlFlagUniform) ? 1 : lineChannels;
    const size_t items = (control.flags & kMixerControlFlagMultiple) ? control.multipleItems : 1;
    return channels * items;
}

std::string ControlName(uint32_t type) {
    if (type == kMixerControlVolume) return "volume";
    if (type == kMixerControlMute) return "mute";
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", type);
    return hex;
}

}  // namespace

struct SimSoundSystem::ControlRef {
    SimMixerLine* line = nullptr;
    SimMixerControl* control = nullptr;
    size_t card = 0;
    size_t count = 0;  // values the control holds
    size_t given = 0;  // values the details carry
};

uint32_t SimSoundSystem::GetNumDevs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<uint32_t>(cards_.size());
}

uint32_t SimSoundSystem::Open(MixerHandle& handle, uint32_t id, MixerOpenBy by, WindowHandle callback) {
    std::lock_guard<std::mutex> lock(mutex_);
    handle = kInvalidMixerHandle;
    size_t card = id;
    if (by != MixerOpenBy::MixerId) {
        const std::vector<size_t> of = CardsWith(by == MixerOpenBy::WaveOutId);
        if (id >= of.size()) return kMmBadDeviceId;
        card = of[id];
    }
    if (card >= cards_.size()) return kMmBadDeviceId;
    handle = MixerHandle{nextHandle_++};
    mixers_[handle.value] = OpenMixer{card, callback};
    return kMmNoError;
}

uint32_t SimSoundSystem::Close(MixerHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return mixers_.erase(handle.value) ? kMmNoError : kMmInvalidHandle;
}

uint32_t SimSoundSystem::GetDevCaps(MixerHandle handle, MixerCaps& caps) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = mixers_.find(handle.value);
    if (it == mixers_.end()) return kMmInvalidHandle;
    const SimSoundCard& card = cards_[it->second.card];
    caps.productName = card.name.substr(0, 31);
    caps.destinations = static_cast<uint32_t>(card.destinations.size());
    return kMmNoError;
}

uint32_t SimSoundSystem::GetDestinationLine(MixerHandle handle, uint32_t destination, MixerLine& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = mixers_.find(handle.value);
    if (it == mixers_.end()) return kMmInvalidHandle;
    const SimSoundCard& card = cards_[it->second.card];
    if (destination >= card.destinations.size()) return kMixerInvalidLine;
    const SimMixerDestination& d = card.destinations[destination];
    Describe(d.line, destination, 0, d.sources.size(), line);
    return kMmNoError;
}

uint32_t SimSoundSystem::GetSourceLine(MixerHandle handle, uint32_t destination, uint32_t source, MixerLine& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = mixers_.find(handle.value);
    if (it == mixers_.end()) return kMmInvalidHandle;
    const SimSoundCard& card = cards_[it->second.card];
    if (destination >= card.destinations.size()) return kMixerInvalidLine;
    const SimMixerDestination& d = card.destinations[destination];
    if (source >= d.sources.size()) return kMixerInvalidLine;
    Describe(d.sources[source], destination, source + 1, 0, line);
    return kMmNoError;
}

SimMixerLine* SimSoundSystem::LineOf(size_t card, uint32_t lineId) {
    const uint32_t destination = lineId >> 8;
    const uint32_t sourcePlusOne = lineId & 0xFF;
    if (card >= cards_.size() || destination >= cards_[card].destinations.size()) return nullptr;
    SimMixerDestination& d = cards_[card].destinations[destination];
    if (sourcePlusOne == 0) return &d.line;
    return sourcePlusOne <= d.sources.size() ? &d.sources[sourcePlusOne - 1] : nullptr;
}

uint32_t SimSoundSystem::GetLineControlByType(MixerHandle handle, uint32_t lineId, uint32_t controlType,
                                              MixerControl& control) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = mixers_.find(handle.value);
    if (it == mixers_.end()) return kMmInvalidHandle;
    SimMixerLine* line = LineOf(it->second.card, lineId);
    if (!line) return kMixerInvalidLine;
    for (uint32_t i = 0; i < line->controls.size(); ++i) {
        const SimMixerControl& c = line->controls[i];
        if (c.type != controlType) continue;
        control = MixerControl{ControlId(lineId, i), c.type, c.flags, c.multipleItems, c.minimum, c.maximum, c.steps};
        return kMmNoError;
    }
    return kMixerInvalidControl;
}

bool SimSoundSystem::FindControl(const OpenMixer& mixer, uint32_t controlId, ControlRef& ref) {
    SimMixerLine* line = LineOf(mixer.card, controlId >> 4);
    const uint32_t index = controlId & 0xF;
    if (!line || index >= line->controls.size()) return false;
    ref.line = line;
    ref.control = &line->controls[index];
    return true;
}

// The control the details name on an open mixer, how many values it holds
// and how many the details carry.
uint32_t SimSoundSystem::Locate(MixerHandle handle, const MixerControlDetails& details, ControlRef& ref) {
    auto it = mixers_.find(handle.value);
    if (it == mixers_.end()) return kMmInvalidHandle;
    if (!FindControl(it->second, details.controlId, ref)) return kMixerInvalidControl;
    ref.card = it->second.card;
    ref.count = ValueCount(*ref.control, ref.line->channels);
    ref.given = details.channels * (details.multipleItems ? details.multipleItems : 1u);
    return !details.values || ref.given == 0 || ref.count == 0 ? kMmInvalidParam : kMmNoError;
}

uint32_t SimSoundSystem::GetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    std::lock_guard<std::mutex> lock(mutex_);
    ControlRef ref;
    if (const uint32_t result = Locate(handle, details, ref); result != kMmNoError) return result;
    // One channel asked of a control with more gives the first channel's values.
    for (size_t i = 0; i < ref.given; ++i) details.values[i] = ref.control->values[i % ref.count];
    return kMmNoError;
}

uint32_t SimSoundSystem::SetControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    std::vector<std::pair<WindowHandle, MixerHandle>> windows;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ControlRef ref;
        if (const uint32_t result = Locate(handle, details, ref); result != kMmNoError) return result;
        const int64_t range = ref.control->maximum - ref.control->minimum;
        std::string text = QuotedName(cards_[ref.card].name) + " " + ComponentName(ref.line->componentType) + " " +
                           ControlName(ref.control->type);
        for (size_t i = 0; i < ref.count; ++i) {
            // A value beyond the control's range is held at its end, as devices do.
            const uint32_t v = details.values[i % ref.given];
            ref.control->values[i] = static_cast<int64_t>(v) > range ? static_cast<uint32_t>(range) : v;
            text += " " + std::to_string(ref.control->values[i]);
        }
        Emit("mixer", text);
        windows = NotifiedWindows(ref.card);
    }
    PostChange(windows, details.controlId);
    return kMmNoError;
}

std::vector<std::pair<WindowHandle, MixerHandle>> SimSoundSystem::NotifiedWindows(size_t card) {
    std::vector<std::pair<WindowHandle, MixerHandle>> out;
    for (const auto& [handle, mixer] : mixers_) {
        if (mixer.card == card && mixer.callback) out.emplace_back(mixer.callback, MixerHandle{handle});
    }
    return out;
}

void SimSoundSystem::PostChange(const std::vector<std::pair<WindowHandle, MixerHandle>>& windows,
                                uint32_t controlId) {
    for (const auto& [window, handle] : windows) {
        CurrentDesktop().PostMessage(window, MM_MIXM_CONTROL_CHANGE, static_cast<WPARAM>(handle.value),
                                     static_cast<LPARAM>(controlId));
    }
}

bool SimSoundSystem::UserSetControl(const std::wstring& cardName, uint32_t destination, uint32_t source,
                                    uint32_t controlType, const std::vector<uint32_t>& values) {
    std::vector<std::pair<WindowHandle, MixerHandle>> windows;
    uint32_t controlId = 0;
    bool found = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t c = 0; c < cards_.size() && !found; ++c) {
            if (cards_[c].name != cardName) continue;
            for (uint32_t d = 0; d < cards_[c].destinations.size(); ++d) {
                SimMixerDestination& dest = cards_[c].destinations[d];
                if (dest.line.componentType != destination) continue;
                uint32_t sourcePlusOne = 0;
                for (uint32_t s = 0; source != 0 && s < dest.sources.size(); ++s) {
                    if (dest.sources[s].componentType == source) sourcePlusOne = s + 1;
                }
                if (source != 0 && sourcePlusOne == 0) return false;
                SimMixerLine& line = sourcePlusOne ? dest.sources[sourcePlusOne - 1] : dest.line;
                for (uint32_t i = 0; i < line.controls.size(); ++i) {
                    if (line.controls[i].type != controlType) continue;
                    for (size_t v = 0; v < line.controls[i].values.size() && !values.empty(); ++v) {
                        line.controls[i].values[v] = values[v < values.size() ? v : values.size() - 1];
                    }
                    controlId = ControlId(LineId(d, sourcePlusOne), i);
                    found = true;
                    windows = NotifiedWindows(c);
                    break;
                }
                break;
            }
        }
    }
    if (!found) return false;
    PostChange(windows, controlId);
    return true;
}

std::vector<uint32_t> SimSoundSystem::ControlValues(const std::wstring& cardName, uint32_t destination,
                                                    uint32_t source, uint32_t controlType) {
    std::lock_guard<std::mutex> lock(mutex_);
    SimSoundCard* card = CardNamed(cardName);
    if (!card) return {};
    for (SimMixerDestination& dest : card->destinations) {
        if (dest.line.componentType != destination) continue;
        SimMixerLine* line = source == 0 ? &dest.line : nullptr;
        for (SimMixerLine& s : dest.sources) {
            if (source != 0 && s.componentType == source) line = &s;
        }
        if (!line) return {};
        for (const SimMixerControl& c : line->controls) {
            if (c.type == controlType) return c.values;
        }
    }
    return {};
}

}  // namespace platform::sim
