// The faders and mute switches on a simulated mixer: the raw values each
// kind of SetFaderValue writes, the balance between two channels, the read
// back to the 0 ... 31 scale, and the traces of controls that are missing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/mixer_fader.h"
#include "audio/mixer_names.h"
#include "audio/mixer_setup.h"
#include "common/settings.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sim/sim_sound_system.h"
#include "platform/sim/sim_system.h"

namespace {

using platform::sim::SimSoundCard;

constexpr uint32_t kSpeakers = platform::kMixerDstSpeakers;
constexpr uint32_t kVolume = platform::kMixerControlVolume;

class MixerFaderTest : public ::testing::Test {
protected:
    void SetUp() override { system_.SetVistaOrLater(false); }
    void TearDown() override { audio::ReleaseMixers(); }

    // A handset card whose speakers' volume has these channels, range and
    // steps, and starts at `initial` on every channel.
    void UseCard(uint32_t channels, int64_t maximum, uint32_t steps, std::vector<uint32_t> initial = {},
                 bool uniform = false) {
        SimSoundCard card = SimSoundCard::Standard(L"USB PHONE", channels, maximum, steps, uniform);
        if (!initial.empty()) card.destinations[0].line.controls[0].values = initial;
        sound_.SetCards({card});
    }
    bool InitOut() { return fader_.Init(platform::WindowHandle{}, kSpeakers, audio::kNoSourceLine, L"USB PHONE"); }
    std::vector<uint32_t> Speakers() { return sound_.ControlValues(L"USB PHONE", kSpeakers, 0, kVolume); }

    platform::sim::SimSoundSystem sound_;
    platform::sim::SimSystem system_;
    platform::ScopedBackends backends_{{.system = &system_, .mixer = &sound_, .waveDevices = &sound_,
                                        .endpointVolume = &sound_}};
    platform::LogCapture log_;
    audio::CMixerFader fader_{"test"};
};

struct WriteCase {
    const char* what;
    uint32_t channels;
    std::vector<uint32_t> initial;  // the control's values when Init reads them
    int value;
    int type;
    std::vector<uint32_t> written;
    int32_t pos;  // m_nPos after the write
};

TEST_F(MixerFaderTest, EachKindOfWriteGivesItsRawValues) {
    const uint32_t step = 65535 / 32;  // 2047
    const WriteCase cases[] = {
        {"absolute 31 reaches the top", 1, {0}, 31, audio::kFaderAbsolute, {65535}, 32},
        {"31 in whole steps", 1, {0}, 31, audio::kFaderAbsoluteSteps, {32 * step}, 32},
        {"absolute 25", 1, {0}, 25, audio::kFaderAbsolute, {25 * 65535 / 31}, 25 * 65535 / 31 / 2047},
        {"up from 20 is capped at the steps", 1, {20 * step}, 0, audio::kFaderStepUp, {32 * step}, 32},
        {"down from 20 goes to 0", 1, {20 * step}, 0, audio::kFaderStepDown, {0}, 0},
        {"down from 30 leaves 5 steps", 1, {30 * step}, 0, audio::kFaderStepDown, {5 * step}, 5},
        {"balance 0.5 keeps left at half", 2, {30000, 60000}, 31, audio::kFaderAbsolute, {32767, 65535}, 32},
        {"balance to the left keeps right", 2, {60000, 30000}, 31, audio::kFaderAbsolute, {65535, 32767}, 32},
        {"silent channels stay equal", 2, {0, 0}, 20, audio::kFaderAbsolute, {42280, 42280}, 20},
        {"an unknown type writes 0", 2, {1000, 1000}, 20, 3, {0, 0}, 0},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        UseCard(c.channels, 65535, 32, c.initial);
        ASSERT_TRUE(InitOut());
        EXPECT_EQ(fader_.m_nStepSize, step);
        fader_.SetFaderValue(c.value, c.type);
        EXPECT_EQ(Speakers(), c.written);
        EXPECT_EQ(fader_.m_nPos, c.pos);
        audio::ReleaseMixers();
        fader_.Forget();
    }
}

TEST_F(MixerFaderTest, UniformControlIsWrittenAsOneValueWithoutBalance) {
    UseCard(2, 65535, 32, {30000}, true);
    ASSERT_TRUE(InitOut());
    EXPECT_EQ(fader_.m_Details.channels, 1u);
    EXPECT_EQ(fader_.m_fBalance, 0.0f);
    EXPECT_EQ(fader_.m_nPos, 30000 / 2047);
    fader_.SetFaderValue(31, audio::kFaderAbsolute);
    EXPECT_EQ(Speakers(), std::vector<uint32_t>{65535});
}

TEST_F(MixerFaderTest, OutVolumeReadsBackOnTheThirtyOneScale) {
    struct Case {
        int set;
        int type;
        int read;
    } const cases[] = {{25, audio::kFaderAbsolute, 25}, {0, audio::kFaderAbsolute, 0}, {31, audio::kFaderAbsolute, 31},
                       {24, audio::kFaderAbsolute, 24}, {1, audio::kFaderAbsolute, 1},  {31, audio::kFaderAbsoluteSteps, 31}};
    UseCard(1, 65535, 32);
    common::g_Settings.VAL_AUDIO_OUT_VOLUME = 10;
    audio::InitializeMixers(L"USB PHONE", platform::WindowHandle{});
    for (const Case& c : cases) {
        audio::g_OutFader.SetFaderValue(c.set, c.type);
        EXPECT_EQ(audio::GetOutVolume(), c.read) << c.set << " type " << c.type;
    }
}

TEST_F(MixerFaderTest, ControlWithoutStepsIsNotUsedAndSaysSo) {
    UseCard(1, 65535, 0, {1234});
    EXPECT_FALSE(InitOut());
    EXPECT_TRUE(log_.ContainsFragment("the volume control has 0 steps"));
    fader_.SetFaderValue(31, audio::kFaderAbsolute);
    EXPECT_TRUE(log_.Contains("SetFaderValue Step 1"));
    EXPECT_EQ(Speakers(), std::vector<uint32_t>{1234});
}

TEST_F(MixerFaderTest, MissingLinesAndDevicesAreTracedByName) {
    SimSoundCard noSpeakers = SimSoundCard::Standard(L"USB PHONE");
    noSpeakers.destinations.erase(noSpeakers.destinations.begin());
    sound_.SetCards({noSpeakers});
    EXPECT_FALSE(InitOut());
    EXPECT_TRUE(log_.Contains("Warning: the destination line \nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS\nwas not found."));
    EXPECT_FALSE(fader_.Init(platform::WindowHandle{}, platform::kMixerDstWaveIn, 0x1008, L"USB PHONE"));
    EXPECT_TRUE(log_.Contains("Warning: the source line \nMIXERLINE_COMPONENTTYPE_SRC_WAVEOUT\n not found.\n\n"
                              "(Associated to Destination line \nRecording Control)"));
    EXPECT_FALSE(fader_.Init(platform::WindowHandle{}, kSpeakers, audio::kNoSourceLine, L""));
    EXPECT_TRUE(log_.Contains("Could not open mixer device"));
    EXPECT_EQ(sound_.OpenMixerCount(), 0u) << "every failure closes the mixer";
}

TEST_F(MixerFaderTest, SetUpAppliesVolumesAndOnlyMuteOneMutes) {
    struct Case {
        int outMute;
        int inMute;
        uint32_t speakers;
        uint32_t waveIn;
    } const cases[] = {{1, 0, 1, 0}, {2, 1, 0, 1}, {0, 0, 0, 0}};
    UseCard(2, 65535, 32);
    for (const Case& c : cases) {
        common::g_Settings.VAL_AUDIO_OUT_MUTE = c.outMute;
        common::g_Settings.VAL_AUDIO_IN_MUTE = c.inMute;
        common::g_Settings.VAL_AUDIO_OUT_VOLUME = 31;
        common::g_Settings.VAL_AUDIO_IN_VOLUME = 0;
        audio::InitializeMixers(L"usb phone", platform::WindowHandle{});  // the name matches without case
        EXPECT_EQ(sound_.ControlValues(L"USB PHONE", kSpeakers, 0, platform::kMixerControlMute),
                  std::vector<uint32_t>{c.speakers});
        EXPECT_EQ(sound_.ControlValues(L"USB PHONE", platform::kMixerDstWaveIn, 0, platform::kMixerControlMute),
                  std::vector<uint32_t>{c.waveIn});
        EXPECT_EQ(Speakers(), (std::vector<uint32_t>{65535, 65535}));
        // No volume on the wave-in destination: the microphone's is used.
        EXPECT_EQ(sound_.ControlValues(L"USB PHONE", platform::kMixerDstWaveIn, platform::kMixerSrcMicrophone, kVolume),
                  (std::vector<uint32_t>{0, 0}));
        EXPECT_EQ(audio::GetMuteValue(audio::g_OutMute), static_cast<int>(c.speakers));
    }
    common::ResetSettingsStore();
}

TEST(MixerNamesTest, TypesAreNamedAsTheInterfaceNamesThem) {
    struct Case {
        uint32_t type;
        const char* control;
        const char* line;
    } const cases[] = {
        {0x50030001, "MIXERCONTROL_CONTROLTYPE_VOLUME", "---- UNKNOWN LINE TYPE ----"},
        {0x20010002, "MIXERCONTROL_CONTROLTYPE_MUTE", "---- UNKNOWN LINE TYPE ----"},
        {0x61030000, "MIXERCONTROL_CONTROLTYPE_MILLITIME", "---- UNKNOWN LINE TYPE ----"},
        {0x20012277, "---- UNKNOWN CONTROL TYPE ----", "---- UNKNOWN LINE TYPE ----"},  // bass boost
        {0, "MIXERCONTROL_CONTROLTYPE_CUSTOM", "MIXERLINE_COMPONENTTYPE_DST_UNDEFINED"},
        {4, "---- UNKNOWN CONTROL TYPE ----", "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS"},
        {8, "---- UNKNOWN CONTROL TYPE ----", "MIXERLINE_COMPONENTTYPE_DST_VOICEIN"},
        {9, "---- UNKNOWN CONTROL TYPE ----", "---- UNKNOWN LINE TYPE ----"},
        {0x1003, "---- UNKNOWN CONTROL TYPE ----", "MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE"},
        {0x100A, "---- UNKNOWN CONTROL TYPE ----", "MIXERLINE_COMPONENTTYPE_SRC_ANALOG"},
        {0x100B, "---- UNKNOWN CONTROL TYPE ----", "No source line"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(audio::ControlTypeName(c.type), c.control) << std::hex << c.type;
        EXPECT_STREQ(audio::LineTypeName(c.type), c.line) << std::hex << c.type;
    }
}

}  // namespace
