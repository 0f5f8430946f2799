// Start-up details and the ways the program ends.

#include <algorithm>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/corvane_dlg.h"
#include "common/settings.h"
#include "audio/mixer_fader.h"
#include "platform/mixer.h"
#include "platform/registry.h"
#include "support/program_fixture.h"
#include "support/temp_folder.h"

namespace {

class LifecycleTest : public testing_support::ProgramTest {};

TEST_F(LifecycleTest, QuitMessageSavesSettingsAndEndsWithExitCodeZero) {
    World().Skype().Start();
    StartWithStartedHandset();
    common::g_Settings.VAL_AUDIO_OUT_MUTE = 1;  // as the mixer-change handler would copy it
    World().SendQuitMessage();
    World().Settle();
    EXPECT_TRUE(Logged("Received quit message"));
    EXPECT_EQ(Channel("exit"), std::vector<std::string>{"0"});
    World().Stop();
    std::ifstream in(World().ProgramFolder() / "Corvane.ini");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("VAL_AUDIO_OUT_MUTE=1"), std::string::npos);
    EXPECT_NE(text.str().find("[SETTING]"), std::string::npos);
}

TEST_F(LifecycleTest, SecondStartEndsAtOnceAndChangesNothing) {
    World().Skype().Start();
    StartWithStartedHandset();
    const auto before = Lines();
    World().StartSecondInstance();
    World().Settle();
    EXPECT_EQ(Lines(), before);
    PressAndRelease(2);
    ASSERT_FALSE(Channel("key").empty()) << "the first instance still takes keys";
    EXPECT_EQ(Channel("key").front(), "1");
}

TEST_F(LifecycleTest, StartupTellsSkypeNotToTimeOutWhenItsKeyExists) {
    World().Start();
    const auto value = World().Registry().GetValue(L"Software\\Skype\\Phone\\UI", L"APITimeoutDisabled");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(std::get<uint32_t>(*value), 1u);
}

TEST_F(LifecycleTest, MissingSkypeKeyIsLeftAlone) {
    World().Registry().DeleteKey(L"Software\\Skype\\Phone\\UI");
    World().Start();
    EXPECT_FALSE(World().Registry().OpenKey(L"Software\\Skype\\Phone\\UI"));
}

TEST_F(LifecycleTest, StartupStepsRunInOrder) {
    World().Skype().Start();
    Handset().Plug(World().Bus());
    World().Start();
    std::vector<std::string> order;
    for (const auto& line : Channel("log")) {
        for (const char* step : {"MODE_UNCONNECTED 000", "InitializeMixers: USB PHONE",
                                 "InDevice=USB PHONE, OutDevice=USB PHONE",
                                 "UpdateTrayIcon", "SKYPECONTROLAPI_ATTACH_SUCCESS.................."}) {
            if (line == step) order.push_back(step);
        }
    }
    // The handset's sound card is found by its name, after the built-in one.
    // The discover broadcast waits for every top-level window, Skype's own
    // among them, and answers the attach message meanwhile; so Skype's status
    // may arrive before or after the initialisation's connection update, but
    // both come after the handset and audio steps.
    const std::vector<std::string> first = {"MODE_UNCONNECTED 000", "InitializeMixers: USB PHONE",
                                 "InDevice=USB PHONE, OutDevice=USB PHONE"};
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 3), first);
    EXPECT_GE(std::count(order.begin(), order.end(), "UpdateTrayIcon"), 1);
    EXPECT_EQ(std::count(order.begin(), order.end(), "SKYPECONTROLAPI_ATTACH_SUCCESS.................."), 1);
    EXPECT_EQ(Channel("handset-cmd").front(), "CMD_INIT 0 0 0");
}

}  // namespace

namespace {

class MainWindowMessageTest : public testing_support::ProgramTest {
protected:
    // The user switches a mute in the platform's volume panel.
    void UserMute(uint32_t destination, bool on) {
        World().Sound().UserSetControl(L"USB PHONE", destination, 0, platform::kMixerControlMute, {on ? 1u : 0u});
        World().Settle();
    }
};

TEST_F(MainWindowMessageTest, MuteSwitchesAreCopiedOnlyOnceTheHandsetHasStarted) {
    Handset().Plug(World().Bus());
    World().Start();
    UserMute(platform::kMixerDstSpeakers, true);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_MUTE, 0) << "not started: the settings stay";
    Handset().Press(240);
    World().Advance(100);
    UserMute(platform::kMixerDstSpeakers, true);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_MUTE, 1);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_IN_MUTE, 0);
    UserMute(platform::kMixerDstWaveIn, true);
    UserMute(platform::kMixerDstSpeakers, false);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_MUTE, 0);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_IN_MUTE, 1);
}

TEST_F(MainWindowMessageTest, SettingsPagesOpenFromTheMenuAndDoubleClick) {
    StartWithStartedHandset();
    World().Shell().DoubleClick();
    World().Shell().RightClick(32785);
    World().Advance(100);
    EXPECT_TRUE(Logged("OpenSettingSheet: page 0"));
    EXPECT_TRUE(Logged("OpenSettingSheet: page 3"));
}

}  // namespace
