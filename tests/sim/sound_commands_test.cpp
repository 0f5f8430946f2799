// The script's sound commands: what each sets in the simulated world, and
// the lines it refuses.

#include "main/sim/sound_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mixer.h"

namespace {

using Words = std::vector<std::string>;

TEST(SoundCommandsTest, BadLinesAreRefusedWithTheirUsage) {
    struct Case {
        Words words;
        const char* error;
    } const cases[] = {
        {{"sound"}, "usage: sound devices|control|version|mute|volume ..."},
        {{"sound", "version", "7"}, "usage: sound version 5|6"},
        {{"sound", "control", "USB PHONE", "0", "65535", "32"}, "usage: sound control <device> <channels> <maximum> <steps> [uniform]"},
        {{"sound", "control", "Nowhere", "2", "65535", "32"}, "no sound device 'Nowhere'"},
        {{"sound", "control", "USB PHONE", "2", "65535", "32", "even"},
         "usage: sound control <device> <channels> <maximum> <steps> [uniform]"},
        {{"sound", "mute", "USB PHONE", "out", "maybe"}, "usage: sound mute <device> out|in on|off"},
        {{"sound", "volume", "USB PHONE", "left", "5"}, "usage: sound volume <device> out|in <value>"},
        {{"sound", "volume", "USB PHONE", "out", "-1"}, "usage: sound volume <device> out|in <value>"},
    };
    for (const Case& c : cases) {
        sim::SimWorld world(sim::SimWorld::Options{});
        std::string error;
        EXPECT_FALSE(sim::SoundCommand(world, c.words, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(SoundCommandsTest, DevicesControlsAndVersionShapeTheWorldBeforeStart) {
    sim::SimWorld world(sim::SimWorld::Options{});
    std::string error;
    ASSERT_TRUE(sim::SoundCommand(world, {"sound", "devices", "USB Headset", "USB PHONE"}, error));
    ASSERT_TRUE(sim::SoundCommand(world, {"sound", "control", "USB PHONE", "1", "255", "16"}, error));
    ASSERT_TRUE(sim::SoundCommand(world, {"sound", "version", "5"}, error));
    const auto cards = world.Sound().Cards();
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].name, L"USB Headset");
    const auto& volume = cards[1].destinations[0].line.controls[0];
    EXPECT_EQ(cards[1].destinations[0].line.channels, 1u);
    EXPECT_EQ(volume.maximum, 255);
    EXPECT_EQ(volume.steps, 16u);
    EXPECT_FALSE(world.System().IsVistaOrLater());
    world.Start();
    EXPECT_FALSE(sim::SoundCommand(world, {"sound", "devices", "Other"}, error));
    EXPECT_EQ(error, "sound devices are set before start");
}

TEST(SoundCommandsTest, TheUsersMuteReachesTheCard) {
    sim::SimWorld world(sim::SimWorld::Options{});
    std::string error;
    ASSERT_TRUE(sim::SoundCommand(world, {"sound", "mute", "USB PHONE", "in", "on"}, error));
    ASSERT_TRUE(sim::SoundCommand(world, {"sound", "volume", "USB PHONE", "in", "1234"}, error));
    std::string problem;
    ASSERT_TRUE(world.FinishDeliveries(problem)) << problem;
    EXPECT_EQ(world.Sound().ControlValues(L"USB PHONE", platform::kMixerDstWaveIn, 0, platform::kMixerControlMute),
              std::vector<uint32_t>{1});
    EXPECT_EQ(world.Sound().ControlValues(L"USB PHONE", platform::kMixerDstWaveIn, platform::kMixerSrcMicrophone,
                                          platform::kMixerControlVolume),
              (std::vector<uint32_t>{1234, 1234}));
}

}  // namespace
