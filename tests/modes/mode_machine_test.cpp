// The mode machine: switching, dispatch, the digit rule and the one-second
// timer's light logic.

#include "modes/mode_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends.h"
#include "app/corvane_app.h"
#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/mode_timer.h"
#include "platform/log.h"
#include "support/program_fixture.h"

namespace {

using namespace modes;

// Records what the machine reports.
class Recorder : public ModeObserver {
public:
    void OnModeChanged(int mode) override { events.push_back("mode " + std::to_string(mode)); }
    void OnKeyDispatched(unsigned key) override { events.push_back("key " + std::to_string(key)); }
    std::vector<std::string> events;
};

class ModeMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::ResetProcessState();
        SetModeObserver(&recorder_);
    }
    void TearDown() override {
        SetModeObserver(nullptr);
        app::ResetProcessState();
    }
    Recorder recorder_;
    platform::LogCapture log_;
};

TEST_F(ModeMachineTest, FirstSwitchLeavesPreviousModeUnset) {
    EXPECT_EQ(SwitchMode(MODE_UNCONNECTED), kNoMode);
    EXPECT_EQ(g_ModeState.m_CurrMode, MODE_UNCONNECTED);
    EXPECT_EQ(g_ModeState.m_PrevMode, kNoMode);
    EXPECT_TRUE(log_.Contains("SwitchMode:16"));
}

TEST_F(ModeMachineTest, SwitchRemembersTheModeItLeft) {
    SwitchMode(MODE_UNCONNECTED);
    EXPECT_EQ(SwitchMode(MODE_MAIN), MODE_UNCONNECTED);
    EXPECT_EQ(SwitchMode(MODE_SETTING_MENU), MODE_MAIN);
    EXPECT_EQ(g_ModeState.m_PrevMode, MODE_MAIN);
    EXPECT_EQ(recorder_.events, (std::vector<std::string>{"mode 16", "mode 0", "mode 5"}));
}

TEST_F(ModeMachineTest, SwitchToCurrentModeChangesNothingButStillLogs) {
    SwitchMode(MODE_UNCONNECTED);
    SwitchMode(MODE_MAIN);
    log_.Clear();
    EXPECT_EQ(SwitchMode(MODE_MAIN), MODE_MAIN);
    EXPECT_EQ(g_ModeState.m_PrevMode, MODE_UNCONNECTED);
    EXPECT_EQ(recorder_.events.size(), 2u);
    EXPECT_TRUE(log_.Contains("SwitchMode:0"));
}

TEST_F(ModeMachineTest, DialCountResetOnMainOnlyWithoutDisplay) {
    struct Case {
        int lcm;
        int expected;
    };
    for (const Case c : {Case{0, 0}, Case{1, 3}}) {
        common::g_Settings.VAL_ENABLE_LCM = c.lcm;
        SwitchMode(MODE_MAIN);
        g_ModeState.m_nDialCount = 3;
        SwitchMode(MODE_MAIN);  // already current: the count is still reset without display
        EXPECT_EQ(g_ModeState.m_nDialCount, c.expected) << "VAL_ENABLE_LCM=" << c.lcm;
    }
}

TEST_F(ModeMachineTest, ModeOutsideTableIsRefused) {
    SwitchMode(MODE_MAIN);
    EXPECT_EQ(SwitchMode(21), MODE_MAIN);
    EXPECT_EQ(SwitchMode(0xFFFFFFFFu), MODE_MAIN);
    EXPECT_EQ(g_ModeState.m_CurrMode, MODE_MAIN);
}

TEST_F(ModeMachineTest, KeysBeforeFirstSwitchAreDropped) {
    DispatchModeKey(common::KEY_1);
    RefreshModeDisplay();
    EXPECT_TRUE(recorder_.events.empty());
    SwitchMode(MODE_MAIN);
    DispatchModeKey(common::KEY_1);
    EXPECT_EQ(recorder_.events.back(), "key 1");
}

TEST_F(ModeMachineTest, DialKeysOpenNumberDialWithTheKey) {
    struct Case {
        unsigned key;
        bool opens;
    };
    const Case cases[] = {{common::KEY_0, true},  {common::KEY_9, true},      {common::KEY_SHARP, true},
                          {common::KEY_0_LONG, true}, {common::KEY_STAR, false}, {common::KEY_UP, false},
                          {common::KEY_HOTKEY_1_LONG, false}};
    for (const Case& c : cases) {
        SwitchMode(MODE_SETTING_MENU);
        recorder_.events.clear();
        EXPECT_EQ(OpenNumberDialWith(c.key), c.opens) << c.key;
        if (c.opens) {
            EXPECT_EQ(recorder_.events, (std::vector<std::string>{"mode 4", "key " + std::to_string(c.key)}));
        } else {
            EXPECT_TRUE(recorder_.events.empty()) << c.key;
        }
    }
}

TEST_F(ModeMachineTest, WaitKeyToneWaitsHalfASecondOnlyWithKeyTones) {
    platform::sim::VirtualClock clock;
    platform::ScopedBackends backends({.clock = &clock});
    for (int tones : {1, 0}) {
        common::g_Settings.VAL_ENABLE_KEYTONE = tones;
        uint64_t waited = 0;
        platform::Thread t;
        t.Start("key", [&] {
            const uint64_t start = clock.GetTickCount64();
            WaitKeyTone();
            waited = clock.GetTickCount64() - start;
        });
        clock.Advance(1000);
        t.Join();
        EXPECT_EQ(waited, tones ? 500u : 0u);
    }
    EXPECT_EQ(log_.Count("Start delay 500ms for key tone playing..."), 1);
}

// The light logic of the one-second timer, tick by tick, with a handset
// whose commands are recorded.
class ModeTimerLightTest : public testing_support::ProgramTest {
protected:
    // Light commands sent during `ticks` timer ticks.
    std::vector<std::string> LightsOver(int ticks) {
        const size_t before = Channel("handset-cmd").size();
        World().Advance(1000 * static_cast<uint64_t>(ticks));
        auto all = Channel("handset-cmd");
        return std::vector<std::string>(all.begin() + static_cast<long>(before), all.end());
    }
};

TEST_F(ModeTimerLightTest, RingingBlinksEverySecond) {
    StartWithStartedHandset();
    World().Advance(11000);
    SwitchModeNow(MODE_RINGING);
    // The first tick may repeat the light's state and be dropped; after it,
    // every tick changes it.
    const auto lights = LightsOver(5);
    ASSERT_GE(lights.size(), 4u);
    for (size_t i = 1; i < lights.size(); ++i) EXPECT_NE(lights[i], lights[i - 1]) << i;
}

TEST_F(ModeTimerLightTest, LightStaysOnThroughCallAndTenTicksAfter) {
    StartWithStartedHandset();
    World().Advance(11000);
    ASSERT_EQ(Channel("handset-cmd").back(), "CMD_LIGHT_OFF 0 0 0");
    SwitchModeNow(MODE_TALKING);
    EXPECT_EQ(LightsOver(3), std::vector<std::string>{"CMD_LIGHT_ON 0 0 0"});
    SwitchModeNow(MODE_MAIN);
    EXPECT_TRUE(LightsOver(10).empty());
    EXPECT_EQ(LightsOver(1), std::vector<std::string>{"CMD_LIGHT_OFF 0 0 0"});
}

TEST_F(ModeTimerLightTest, KeysInCallModesDoNotTouchTheLight) {
    StartWithStartedHandset();
    World().Advance(11000);
    SwitchModeNow(MODE_TALKING);
    World().Advance(1000);
    PressAndRelease(2);
    EXPECT_EQ(modes::g_ModeState.m_bKeyLit, 0);
    EXPECT_EQ(CountOf("handset-cmd", "CMD_LIGHT_ON 0 0 0"), 2);  // the start report's, and the call's
}

}  // namespace
