#include "main/sim/sound_commands.h"

#include "main/sim/script.h"
#include "platform/mixer.h"
#include "platform/text_codec.h"

namespace sim {

namespace {

using platform::sim::SimSoundCard;

bool Devices(SimWorld& world, const std::vector<std::string>& w, std::string& error) {
    if (world.Running()) {
        error = "sound devices are set before start";
        return false;
    }
    std::vector<SimSoundCard> cards;
    for (size_t i = 2; i < w.size(); ++i) cards.push_back(SimSoundCard::Standard(platform::Utf8ToWide(w[i])));
    world.Sound().SetCards(std::move(cards));
    return true;
}

// Every volume control of the card gets these channels, range and steps
// (one value for all channels when "uniform").
bool Control(SimWorld& world, const std::vector<std::string>& w, std::string& error) {
    long long channels = 0, maximum = 0, steps = 0;
    const bool uniform = w.size() == 7 && w[6] == "uniform";
    if ((w.size() != 6 && !uniform) || !ParseNumber(w[3], channels) || channels < 1 || channels > 8 ||
        !ParseNumber(w[4], maximum) || maximum < 0 || maximum > 0xFFFFFFFFLL || !ParseNumber(w[5], steps) ||
        steps < 0) {
        error = "usage: sound control <device> <channels> <maximum> <steps> [uniform]";
        return false;
    }
    if (world.Running()) {
        error = "sound controls are set before start";
        return false;
    }
    auto cards = world.Sound().Cards();
    bool found = false;
    for (SimSoundCard& card : cards) {
        if (card.name != platform::Utf8ToWide(w[2])) continue;
        card = SimSoundCard::Standard(card.name, static_cast<uint32_t>(channels), maximum,
                                      static_cast<uint32_t>(steps), uniform);
        found = true;
    }
    if (!found) error = "no sound device '" + w[2] + "'";
    world.Sound().SetCards(std::move(cards));
    return found;
}

// The user in the volume panel: "mute" switches, "volume" sets every channel.
bool UserChange(SimWorld& world, const std::vector<std::string>& w, std::string& error) {
    const bool mute = w[1] == "mute";
    long long raw = 0;
    const bool out = w.size() == 5 && w[3] == "out";
    const bool valid = w.size() == 5 && (out || w[3] == "in") &&
                       (mute ? (w[4] == "on" || w[4] == "off") : (ParseNumber(w[4], raw) && raw >= 0));
    if (!valid) {
        error = mute ? "usage: sound mute <device> out|in on|off" : "usage: sound volume <device> out|in <value>";
        return false;
    }
    const uint32_t destination = out ? platform::kMixerDstSpeakers : platform::kMixerDstWaveIn;
    const uint32_t source = mute || out ? 0 : platform::kMixerSrcMicrophone;
    const uint32_t type = mute ? platform::kMixerControlMute : platform::kMixerControlVolume;
    const uint32_t value = mute ? (w[4] == "on" ? 1u : 0u) : static_cast<uint32_t>(raw);
    auto& sound = world.Sound();
    const std::wstring card = platform::Utf8ToWide(w[2]);
    world.Deliver([&sound, card, destination, source, type, value] {
        sound.UserSetControl(card, destination, source, type, {value});
    });
    return true;
}

}  // namespace

bool SoundCommand(SimWorld& world, const std::vector<std::string>& w, std::string& error) {
    const std::string what = w.size() >= 2 ? w[1] : "";
    if (what == "devices") return Devices(world, w, error);
    if (what == "control") return Control(world, w, error);
    if (what == "mute" || what == "volume") return UserChange(world, w, error);
    if (what == "version") {
        long long major = 0;
        if (w.size() != 3 || !ParseNumber(w[2], major) || (major != 5 && major != 6)) {
            error = "usage: sound version 5|6";
            return false;
        }
        world.System().SetVistaOrLater(major == 6);
        return true;
    }
    error = "usage: sound devices|control|version|mute|volume ...";
    return false;
}

}  // namespace sim
