// The ringing and talking modes: the handset's keys during calls, and the
// handset commands of the typical call.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/settings.h"
#include "modes/mode_machine.h"
#include "modes/screen_list.h"
#include "skype/skype_monitor.h"
#include "support/program_fixture.h"

namespace {

class CallModesTest : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        World().Skype().Start();
        StartWithStartedHandset();
    }
    // Hardware codes of the default key map.
    static constexpr uint8_t kHookUp = 1, kHookDown = 16, kHotKey1 = 18, kHotKey2 = 19, kUp = 6, kDigit5 = 8,
                             kDigit0 = 10;
    std::vector<std::string> SkypeCommandsDuring(const std::function<void()>& action) {
        const size_t before = World().Skype().Commands().size();
        action();
        auto all = World().Skype().Commands();
        std::vector<std::string> out;
        for (size_t i = before; i < all.size(); ++i) {
            if (all[i] != "PING" && all[i].rfind("GET ", 0) != 0) out.push_back(all[i]);
        }
        return out;
    }
};

TEST_F(CallModesTest, TypicalCallFromRingToHangUp) {
    World().Skype().CallIn("7", "alice", "Alice");
    World().Advance(2000);
    EXPECT_GE(CountOf("handset-cmd", "CMD_RING 4 0 0"), 2) << "the ring repeats every second";
    EXPECT_EQ(CountOf("handset-cmd", "CMD_STATUS_ALERT 0 0 0"), 1);
    // The answer, then Skype's confirmation brings its window forward.
    EXPECT_EQ(SkypeCommandsDuring([&] { PressAndRelease(kHookUp); }),
              (std::vector<std::string>{"SET CALL 7 STATUS INPROGRESS", "SET WINDOWSTATE NORMAL"}));
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
    const auto cmds = Channel("handset-cmd");
    const std::vector<std::string> tail(cmds.end() - 3, cmds.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"CMD_STATUS_IDLE 0 0 0", "CMD_RING_STOP 0 0 0", "CMD_STATUS_TALK 0 0 0"}));
    Handset().Press(kHookDown);
    World().Advance(100);
    Handset().Release();
    World().Advance(499);
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING") << "the key tone's 500 ms first";
    World().Advance(100);
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    // The end of the call also brings Skype's contacts forward.
    const auto commands = World().Skype().Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(commands.end() - 2, commands.end()),
              (std::vector<std::string>{"SET CALL 7 STATUS FINISHED", "SET WINDOWSTATE NORMAL"}));
}

TEST_F(CallModesTest, AnsweringTheLaterCallRefusesTheEarlierOne) {
    World().Skype().CallIn("1", "alice", "");
    World().Skype().CallIn("2", "bob", "");
    World().Advance(500);
    const auto sent = SkypeCommandsDuring([&] { PressAndRelease(kHookUp); });
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "SET CALL 2 STATUS INPROGRESS");
    EXPECT_NE(std::find(sent.begin(), sent.end(), "SET CALL 1 STATUS FINISHED"), sent.end());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "SET CALL 2 STATUS FINISHED"), 0);
    EXPECT_FALSE(skype::g_SkypeMonitor.m_CurrCallList.HasCall("1"));
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
}

TEST_F(CallModesTest, RefusingOneOfTwoRingingCallsLeavesTheOtherRinging) {
    World().Skype().CallIn("7", "alice", "");
    World().Skype().CallIn("8", "bob", "");
    World().Advance(500);
    const auto sent = SkypeCommandsDuring([&] {
        PressAndRelease(kHotKey1);
        World().Advance(500);
    });
    EXPECT_NE(std::find(sent.begin(), sent.end(), "SET CALL 8 STATUS FINISHED"), sent.end());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "SET CALL 7 STATUS INPROGRESS"), 0)
        << "the other caller must not be put through unasked";
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
    EXPECT_STREQ(skype::g_SkypeMonitor.m_CurrCallList.FindCall("7")->m_szStatus, "RINGING");
    const int rings = CountOf("handset-cmd", "CMD_RING 4 0 0");
    World().Advance(1000);
    EXPECT_GT(CountOf("handset-cmd", "CMD_RING 4 0 0"), rings) << "the remaining call still rings";
}

TEST_F(CallModesTest, HotKeyHoldsAndResumesASingleCall) {
    World().Skype().CallIn("7", "alice", "");
    World().Advance(500);
    PressAndRelease(kHookUp);
    EXPECT_EQ(SkypeCommandsDuring([&] { PressAndRelease(kHotKey1); }),
              std::vector<std::string>{"SET CALL 7 STATUS ONHOLD"});
    EXPECT_EQ(SkypeCommandsDuring([&] { PressAndRelease(kHotKey1); }),
              (std::vector<std::string>{"SET CALL 7 STATUS INPROGRESS", "SET WINDOWSTATE NORMAL"}));
}

TEST_F(CallModesTest, DigitsSendDtmfButALongZeroSendsNothing) {
    World().Skype().CallIn("7", "alice", "");
    World().Advance(500);
    PressAndRelease(kHookUp);
    EXPECT_EQ(SkypeCommandsDuring([&] { PressAndRelease(kDigit5); }), std::vector<std::string>{"SET CALL 7 DTMF 5"});
    EXPECT_TRUE(SkypeCommandsDuring([&] { PressAndRelease(kDigit0, 1500); }).empty());
}

TEST_F(CallModesTest, VolumeStepsStopAtTheTop) {
    World().Skype().CallIn("7", "alice", "");
    World().Advance(500);
    PressAndRelease(kHookUp);
    common::g_Settings.VAL_AUDIO_OUT_VOLUME = 25;
    PressAndRelease(kUp);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_VOLUME, 29);
    PressAndRelease(kUp);
    PressAndRelease(kUp);
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_VOLUME, 31);
    EXPECT_EQ(skype::g_SkypeMonitor.m_nSavedVolume, 31);
    EXPECT_EQ(Channel("fader").back(), "out 31 4");
}

TEST_F(CallModesTest, OutgoingCallIsCancelledByHotKey2) {
    World().Skype().CallOut("9", "carol");
    World().Advance(500);
    EXPECT_TRUE(SkypeCommandsDuring([&] { PressAndRelease(kHotKey1); }).empty()) << "only call, not incoming";
    EXPECT_EQ(SkypeCommandsDuring([&] { PressAndRelease(kHotKey2); World().Advance(500); }),
              (std::vector<std::string>{"SET CALL 9 STATUS FINISHED", "SET WINDOWSTATE NORMAL"}))
        << "the cancel, then Skype's contacts brought forward when the call ends";
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
}

TEST_F(CallModesTest, RingWithoutDisplayStillRings) {
    common::g_Settings.VAL_ENABLE_LCM = 0;
    World().Skype().CallIn("7", "alice", "");
    World().Advance(3000);
    EXPECT_GE(CountOf("handset-cmd", "CMD_RING 4 0 0"), 3);
}

TEST_F(CallModesTest, ACallStopsTheVoicemailBeingPlayed) {
    // The voicemail screen left its entry selected and playing.
    World().Settle();
    modes::g_ScreenList.Clear();
    modes::g_ScreenList.AddRow("alice", "21");
    modes::g_ScreenList.AddRow("bob", "22");
    modes::g_ScreenList.MoveDown();
    modes::g_ModeState.m_bVoicemailPlaying = 1;
    const auto sent = SkypeCommandsDuring([&] {
        World().Skype().CallIn("7", "carol", "");
        World().Advance(100);
    });
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "ALTER VOICEMAIL 22 STOPPLAYBACK "), 1)
        << "the selected entry, with its trailing blank";
    EXPECT_EQ(CountOf("handset-cmd", "CMD_STATUS_ALERT 0 0 0"), 1);
}

TEST_F(CallModesTest, SimulatedSkypeHoldsTheTalkingCallWhenAnotherIsTakenUp) {
    World().Skype().CallIn("7", "alice", "");
    World().Advance(500);
    PressAndRelease(kHookUp);
    World().Skype().CallIn("8", "bob", "");
    World().Advance(500);
    PressAndRelease(kHookUp);
    World().Advance(500);
    EXPECT_STREQ(skype::g_SkypeMonitor.m_CurrCallList.FindCall("7")->m_szStatus, "ONHOLD");
    EXPECT_STREQ(skype::g_SkypeMonitor.m_CurrCallList.FindCall("8")->m_szStatus, "INPROGRESS");
}

}  // namespace
