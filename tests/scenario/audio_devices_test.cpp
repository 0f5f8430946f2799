// The handset's sound devices as the running program drives them: found at
// start-up, set to the stored volumes and mutes, moved by calls and volume
// keys on either platform version, and playing the key tones.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/sim/sim_sound_system.h"
#include "support/program_fixture.h"

namespace {

using platform::sim::SimSoundCard;

constexpr uint32_t kSpeakers = platform::kMixerDstSpeakers;
constexpr uint32_t kWaveIn = platform::kMixerDstWaveIn;
constexpr uint32_t kVolume = platform::kMixerControlVolume;
constexpr uint32_t kMute = platform::kMixerControlMute;

uint32_t Raw(int value) { return static_cast<uint32_t>(value * 65535 / 31); }

class AudioDevicesTest : public testing_support::ProgramTest {
protected:
    auto& Sound() { return World().Sound(); }
    std::vector<uint32_t> Values(const wchar_t* card, uint32_t destination, uint32_t source, uint32_t control) {
        World().Settle();
        return Sound().ControlValues(card, destination, source, control);
    }
    float Level() {
        World().Settle();
        return Sound().EndpointLevel(L"USB PHONE", platform::kEndpointRender);
    }
    void Notify(const std::string& text) {
        World().Skype().Notify(text);
        World().Advance(50);
    }
    std::vector<std::string> WaveOut() { return Channel("wave-out"); }
};

TEST_F(AudioDevicesTest, StartUpFindsTheHandsetsCardAndAppliesTheStoredSettings) {
    World().System().SetVistaOrLater(false);
    World().WriteSetting("VAL_AUDIO_OUT_VOLUME", "20");
    World().WriteSetting("VAL_AUDIO_IN_VOLUME", "10");
    World().WriteSetting("VAL_AUDIO_OUT_MUTE", "1");
    World().WriteSetting("VAL_AUDIO_IN_MUTE", "2");
    StartWithStartedHandset();
    EXPECT_TRUE(Logged("InDevice=USB PHONE, OutDevice=USB PHONE"));
    EXPECT_EQ(Values(L"USB PHONE", kSpeakers, 0, kVolume), (std::vector<uint32_t>{Raw(20), Raw(20)}));
    EXPECT_EQ(Values(L"USB PHONE", kWaveIn, platform::kMixerSrcMicrophone, kVolume),
              (std::vector<uint32_t>{Raw(10), Raw(10)}));
    EXPECT_EQ(Values(L"USB PHONE", kSpeakers, 0, kMute), std::vector<uint32_t>{1});
    EXPECT_EQ(Values(L"USB PHONE", kWaveIn, 0, kMute), std::vector<uint32_t>{0}) << "only 1 mutes";
    EXPECT_EQ(Values(L"Onboard Audio", kSpeakers, 0, kVolume), (std::vector<uint32_t>{0, 0})) << "left alone";
}

TEST_F(AudioDevicesTest, CallRingsAtTheRingVolumeAndIsAnsweredAndEndedAtTheSavedOne) {
    struct Case {
        bool vista;
        uint32_t ringing, answered, ended;  // speakers' raw value (mixer) or level × 65535 (endpoint)
    } const cases[] = {
        {false, 65535, 25 * 32 * 2047 / 31, Raw(25)},
        {true, 65535, Raw(25), Raw(25)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vista ? "endpoint" : "mixer");
        TearDown();
        SetUp();
        World().System().SetVistaOrLater(c.vista);
        World().Skype().Start();
        StartWithStartedHandset();
        auto speakers = [&] {
            return c.vista ? static_cast<uint32_t>(Level() * 65535.0f)
                           : Values(L"USB PHONE", kSpeakers, 0, kVolume).front();
        };
        Notify("CALL 7 STATUS RINGING");
        EXPECT_EQ(speakers(), c.ringing);
        Notify("CALL 7 STATUS INPROGRESS");
        EXPECT_NEAR(speakers(), c.answered, 1u);
        Notify("CALL 7 STATUS FINISHED");
        EXPECT_NEAR(speakers(), c.ended, 1u);
    }
}

TEST_F(AudioDevicesTest, VolumeKeysStepTheHandsetOnBothPlatformVersions) {
    World().System().SetVistaOrLater(false);
    StartWithStartedHandset();
    PressKey("KEY_VOL_DOWN");  // from 25 (position 25) down 25 steps: 0
    EXPECT_EQ(Values(L"USB PHONE", kSpeakers, 0, kVolume), (std::vector<uint32_t>{0, 0}));
    PressKey("KEY_VOL_UP");
    EXPECT_EQ(Values(L"USB PHONE", kSpeakers, 0, kVolume), (std::vector<uint32_t>{25 * 2047, 25 * 2047}));

    TearDown();
    SetUp();
    StartWithStartedHandset();  // Vista and later
    const float start = Level();
    PressKey("KEY_VOL_DOWN");
    EXPECT_FLOAT_EQ(Level(), start - 0.125f);
    PressKey("KEY_VOL_UP");
    PressKey("KEY_VOL_UP");
    EXPECT_FLOAT_EQ(Level(), std::min(1.0f, start + 0.125f));
}

TEST_F(AudioDevicesTest, KeyTonesPlayOnTheHandsetWithoutHoldingUpTheKey) {
    StartWithStartedHandset();
    PressKey("KEY_5");
    World().Advance(200);
    const auto timed = Timed("wave-out");
    ASSERT_GE(timed.size(), 3u);
    const auto key = Timed("key");
    ASSERT_EQ(key.size(), 1u);
    const std::string keyTime = key[0].substr(0, key[0].find(' '));
    EXPECT_EQ(timed[0], keyTime + " wave-out \"USB PHONE\" open 8000 Hz 16 bit 1 ch");
    EXPECT_NE(std::find(timed.begin(), timed.end(), keyTime + " wave-out \"USB PHONE\" queue 2400"), timed.end());
    // The key reaches its mode at once; the tone ends 150 ms later.
    const std::string done = std::to_string(std::stoul(keyTime) + 150) + " wave-out \"USB PHONE\" done 2400";
    EXPECT_NE(std::find(timed.begin(), timed.end(), done), timed.end());
}

TEST_F(AudioDevicesTest, SecondKeyCutsTheToneStillSounding) {
    StartWithStartedHandset();
    Handset().Press(8);  // KEY_5
    World().Advance(30);
    Handset().Release();
    World().Advance(30);
    Handset().Press(9);  // KEY_6
    World().Advance(30);
    Handset().Release();
    World().Advance(300);
    const auto events = WaveOut();
    const std::vector<std::string> cut = {"\"USB PHONE\" reset 1", "\"USB PHONE\" close",
                                          "\"USB PHONE\" open 8000 Hz 16 bit 1 ch"};
    EXPECT_NE(std::search(events.begin(), events.end(), cut.begin(), cut.end()), events.end());
    EXPECT_EQ(std::count(events.begin(), events.end(), "\"USB PHONE\" done 2400"), 1) << "only the second ends";
}

TEST_F(AudioDevicesTest, HandsetWithoutSoundDevicePlaysNothing) {
    Sound().SetCards({SimSoundCard::Standard(L"Onboard Audio")});
    StartWithStartedHandset();
    PressKey("KEY_5");
    EXPECT_TRUE(WaveOut().empty());
    EXPECT_TRUE(Logged("RT_PlayWave: no sound device of the handset; nothing is played"));
    EXPECT_TRUE(Logged("Could not open mixer device"));
}

}  // namespace
