// The display handset's own screens through the whole program: keys in,
// Skype commands, window messages and screen lines out, with the simulated
// Skype answering as the real client does.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "common/settings.h"
#include "modes/mode_machine.h"
#include "modes/screen_list.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/desktop.h"
#include "skype/skype_monitor.h"
#include "support/program_fixture.h"

namespace {

using Texts = std::vector<std::string>;
using modes::g_ModeState;
using modes::g_ScreenList;
using modes::g_VirtualDisplay;

class DisplayModesTest : public testing_support::ProgramTest {
protected:
    // A display handset beside an attached Skype of the version, idle.
    void Begin(const std::string& version = "5.5.0.124") {
        world::SkypePeer::Profile profile;
        profile.version = version;
        World().Skype().SetProfile(profile);
        World().Skype().Start();
        StartWithStartedHandset();
        World().Advance(1000);
        ASSERT_EQ(Mode(), modes::MODE_MAIN);
    }
    void Keys(std::initializer_list<const char*> names) {
        for (const char* name : names) PressKey(name);
    }
    // A key whose handler waits for the key tone (500 ms) and more.
    void SlowKey(const char* name) {
        PressKey(name);
        World().Advance(1000);
    }
    static int Mode() { return g_ModeState.m_CurrMode; }
    size_t CommandCount() { return Channel("skype-cmd").size(); }
    // The commands sent since `from`, without the keep-alive.
    Texts CommandsSince(size_t from) {
        Texts sent = Since("skype-cmd", from);
        sent.erase(std::remove(sent.begin(), sent.end(), "PING"), sent.end());
        return sent;
    }
    static Texts ListIds() {
        Texts ids;
        for (int i = 0; i < g_ScreenList.GetCount(); ++i) ids.push_back(g_ScreenList.GetId(i));
        return ids;
    }
    void History(const std::string& id, const std::string& type, const std::string& status,
                 const std::string& handle, int64_t timestamp, int duration = 0) {
        World().Skype().AddHistory({id, type, status, handle, timestamp, duration});
        World().Advance(100);
    }
    void Contacts(std::initializer_list<const char*> handles) {
        for (const char* handle : handles) World().Skype().SetContact(handle, "ONLINE", handle);
        World().Advance(100);
    }
    // The rows of the handset screen lines sent since `from`.
    std::set<int> RowsSentSince(size_t from) {
        std::set<int> rows;
        for (const std::string& line : Since("handset-screen", from)) rows.insert(std::stoi(line));
        return rows;
    }
    // Lit pixels of a text row in the image.
    static int LitIn(int row) {
        const modes::ScreenImage image = g_VirtualDisplay.Image();
        int lit = 0;
        for (int y = 16 * row; y < 16 * row + 16; ++y) {
            for (bool pixel : image[static_cast<size_t>(y)]) lit += pixel ? 1 : 0;
        }
        return lit;
    }
};

// Texts drawn with the renderer's primitives where a screen says they go,
// compared with what the mode drew.
struct Placed {
    int x;
    int row;
    std::string text;
    int alignment;
};
::testing::AssertionResult ScreenShows(const std::vector<Placed>& texts) {
    const modes::ScreenImage drawn = g_VirtualDisplay.Image();
    g_VirtualDisplay.ClearScreen();
    for (const Placed& t : texts) g_VirtualDisplay.DrawTextRow(t.x, t.row, t.text, t.alignment);
    const modes::ScreenImage expected = g_VirtualDisplay.Image();
    for (int y = 0; y < modes::kScreenHeight; ++y) {
        if (drawn[static_cast<size_t>(y)] != expected[static_cast<size_t>(y)]) {
            return ::testing::AssertionFailure() << "pixel row " << y << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(DisplayModesTest, HistoryListIsNewestFirstAndTheDetailReturnsToTheSameEntryAtTheTop) {
    Begin();
    History("11", "INCOMING_P2P", "FINISHED", "alice", 1000, 61);
    History("12", "INCOMING_P2P", "FINISHED", "bob", 3000);
    History("13", "INCOMING_PSTN", "FINISHED", "carol", 2000, 3725);
    History("14", "INCOMING_P2P", "FINISHED", "dave", 4000);
    History("19", "OUTGOING_P2P", "FINISHED", "oscar", 5000);
    Keys({"KEY_RIGHT_FUNC", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_INCOMING);
    EXPECT_EQ(ListIds(), (Texts{"14", "12", "13", "11"}));
    Keys({"KEY_DOWN", "KEY_DOWN"});
    // A record that comes in while the list is shown waits for its next entry.
    History("15", "INCOMING_P2P", "FINISHED", "erin", 5000);
    EXPECT_EQ(ListIds(), (Texts{"14", "12", "13", "11"}));
    const size_t before = CommandCount();
    PressKey("KEY_LEFT_FUNC");
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_DETAIL);
    EXPECT_EQ(CommandsSince(before), (Texts{"GET CALL 13 TIMESTAMP", "GET CALL 13 PARTNER_HANDLE",
                                            "GET CALL 13 CONF_ID", "GET CALL 13 DURATION"}));
    EXPECT_TRUE(Logged("Mode_HistoryDetail_Display entering"));
    const size_t linesBefore = Channel("handset-screen").size();
    PressKey("KEY_RIGHT_FUNC");
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_INCOMING);
    const Texts lines = Since("handset-screen", linesBefore);
    EXPECT_EQ(lines.size(), RowsSentSince(linesBefore).size()) << "no row shows another entry first";
    EXPECT_EQ(ListIds(), (Texts{"15", "14", "12", "13", "11"}));
    EXPECT_EQ(g_ScreenList.GetId(g_ScreenList.m_nSel), "13");
    EXPECT_EQ(g_ScreenList.m_nTop, g_ScreenList.m_nSel) << "the entry is at the top of the screen";
    const size_t beforeCall = CommandCount();
    SlowKey("KEY_HOOKUP");
    EXPECT_EQ(CommandsSince(beforeCall).front(), "CALL carol");
}

TEST_F(DisplayModesTest, HistoryDetailShowsDateTimeNameAndDuration) {
    Begin();
    const int64_t at = world::SkypePeer::Now() - 3600;  // 08:00 on the virtual day
    History("13", "INCOMING_PSTN", "FINISHED", "carol", at, 3725);
    Keys({"KEY_RIGHT_FUNC", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_DETAIL);
    World().Settle();
    const modes::ScreenImage drawn = g_VirtualDisplay.Image();
    // Rows 0 ... 2 as the detail lays them out; row 3 holds the labels and
    // the list's icon, compared on their own.
    g_VirtualDisplay.ClearScreen();
    g_VirtualDisplay.DrawTextRow(0, 0, "2026/12/10", modes::kAlignLeft);
    g_VirtualDisplay.DrawTextRow(0, 0, "08:00", modes::kAlignRight);
    g_VirtualDisplay.DrawTextRow(0, 1, "carol", modes::kAlignLeft);
    g_VirtualDisplay.DrawTextRow(0, 2, "01:02:05", modes::kAlignCentre);
    const modes::ScreenImage expected = g_VirtualDisplay.Image();
    for (int y = 0; y < 48; ++y) EXPECT_EQ(drawn[y], expected[y]) << "pixel row " << y;
}

TEST_F(DisplayModesTest, ARecordSkypeDropsShowsNothingAndIsNotCalled) {
    Begin();
    History("13", "INCOMING_P2P", "FINISHED", "carol", 2000, 20);
    Keys({"KEY_RIGHT_FUNC", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_DETAIL);
    EXPECT_GT(LitIn(1), 0);
    World().Settle();
    skype::g_SkypeMonitor.m_CallList.DeleteCallObject("13");
    World().Advance(1000);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(LitIn(row), 0) << "row " << row;
    EXPECT_GT(LitIn(3), 0) << "the soft keys still say what they do";
    const size_t before = CommandCount();
    SlowKey("KEY_HOOKUP");
    SlowKey("KEY_LEFT_FUNC");
    EXPECT_TRUE(CommandsSince(before).empty());
    PressKey("KEY_RIGHT_FUNC");
    EXPECT_EQ(Mode(), modes::MODE_HISTORY_INCOMING);
    EXPECT_EQ(g_ScreenList.GetCount(), 0);
}

TEST_F(DisplayModesTest, EmptyHistoryListsCallNoOneAndOpenNoDetail) {
    Begin();
    const struct {
        const char* downs;
        int mode;
    } lists[] = {{"", modes::MODE_HISTORY_INCOMING},
                 {"D", modes::MODE_HISTORY_OUTGOING},
                 {"DD", modes::MODE_HISTORY_MISSEDCALL},
                 {"DDD", modes::MODE_HISTORY_VMAIL}};
    for (const auto& list : lists) {
        PressKey("KEY_RIGHT_FUNC");
        for (const char* d = list.downs; *d; ++d) PressKey("KEY_DOWN");
        PressKey("KEY_LEFT_FUNC");
        ASSERT_EQ(Mode(), list.mode);
        const size_t before = CommandCount();
        SlowKey("KEY_HOOKUP");
        PressKey("KEY_LEFT_FUNC");
        EXPECT_EQ(Mode(), list.mode) << "no detail without an entry";
        EXPECT_TRUE(CommandsSince(before).empty()) << list.mode;
        EXPECT_GT(LitIn(1), 0) << "\"<Empty>\"";
        PressKey("KEY_HOOKDOWN");
        ASSERT_EQ(Mode(), modes::MODE_MAIN);
    }
}

TEST_F(DisplayModesTest, MissedCallsAndVoicemailsHaveTheirOwnLists) {
    Begin();
    History("31", "INCOMING_P2P", "MISSED", "mallory", 100);
    History("32", "INCOMING_P2P", "FINISHED", "alice", 200);
    World().Skype().AddVoicemail("41", "victor");
    World().Advance(100);
    Keys({"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_MISSEDCALL);
    EXPECT_EQ(ListIds(), Texts{"31"});
    Keys({"KEY_RIGHT_FUNC", "KEY_UP", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_VMAIL) << "up from the first row wraps to the fourth";
    EXPECT_EQ(ListIds(), Texts{"41"});
}

TEST_F(DisplayModesTest, AVoicemailPlaysStopsAndEndsByItself) {
    Begin();
    World().Skype().AddVoicemail("41", "victor", 30);
    World().Advance(100);
    Keys({"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_VMAIL);
    size_t before = CommandCount();
    PressKey("KEY_LEFT_FUNC");
    ASSERT_EQ(Mode(), modes::MODE_HISTORY_DETAIL);
    EXPECT_EQ(CommandsSince(before), (Texts{"GET VOICEMAIL 41 TIMESTAMP", "GET VOICEMAIL 41 PARTNER_HANDLE",
                                            "GET VOICEMAIL 41 CONF_ID", "GET VOICEMAIL 41 DURATION"}));
    before = CommandCount();
    PressKey("KEY_LEFT_FUNC");
    EXPECT_EQ(CommandsSince(before), Texts{"OPEN VOICEMAIL 41"});
    ASSERT_EQ(Mode(), modes::MODE_VOICEMAIL_PLAY);
    EXPECT_EQ(g_ModeState.m_bVoicemailPlaying, 1);
    before = CommandCount();
    Keys({"KEY_HOOKDOWN", "KEY_RIGHT_FUNC", "KEY_5"});
    EXPECT_EQ(Mode(), modes::MODE_VOICEMAIL_PLAY) << "neither the hook nor back nor a digit leaves while it plays";
    EXPECT_TRUE(CommandsSince(before).empty());
    PressKey("KEY_LEFT_FUNC");
    EXPECT_EQ(CommandsSince(before), Texts{"ALTER VOICEMAIL 41 STOPPLAYBACK "});
    EXPECT_EQ(g_ModeState.m_bVoicemailPlaying, 0);
    PressKey("KEY_LEFT_FUNC");
    EXPECT_EQ(CommandsSince(before).back(), "OPEN VOICEMAIL 41");
    EXPECT_EQ(g_ModeState.m_bVoicemailPlaying, 1);
    World().Advance(30000);
    EXPECT_EQ(g_ModeState.m_bVoicemailPlaying, 0) << "Skype reports PLAYED at its end";
    PressKey("KEY_RIGHT_FUNC");
    EXPECT_EQ(Mode(), modes::MODE_HISTORY_DETAIL);
    PressKey("KEY_RIGHT_FUNC");
    EXPECT_EQ(Mode(), modes::MODE_HISTORY_VMAIL);
}

TEST_F(DisplayModesTest, VoicemailPlayerIgnoresKeysWhenTheRowNamesNoVoicemail) {
    Begin();
    World().Skype().AddVoicemail("41", "victor", 30);
    World().Advance(100);
    Keys({"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_VOICEMAIL_PLAY);
    World().Settle();
    skype::g_SkypeMonitor.m_CallList.DeleteCallObject("41");
    const size_t before = CommandCount();
    PressKey("KEY_LEFT_FUNC");
    EXPECT_TRUE(CommandsSince(before).empty());
}

TEST_F(DisplayModesTest, TheContactScreenFollowsSkypesFocusAndCallsIt) {
    Begin();
    Contacts({"carol", "alice", "bob"});
    PressKey("KEY_DOWN");
    ASSERT_EQ(Mode(), modes::MODE_CONTACT_LIST);
    // Skype's own list is in name order; its focus went to the first.
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "alice");
    PressKey("KEY_DOWN");
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "bob");
    const Texts buttons = Channel("skype-cmd");
    EXPECT_EQ(std::count(buttons.begin(), buttons.end(), "BTN_PRESSED DOWN"), 2);
    EXPECT_EQ(std::count(buttons.begin(), buttons.end(), "BTN_RELEASED DOWN"), 2);
    Keys({"KEY_DOWN", "KEY_DOWN"});
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "carol") << "Skype's focus stops at the last";
    PressKey("KEY_UP");
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "bob");
    const size_t before = CommandCount();
    SlowKey("KEY_HOOKUP");
    EXPECT_EQ(CommandsSince(before).front(), "CALL bob");
}

// Skype's focus and the handset's contact screen walk one order: reachable
// contacts, SkypeOut numbers, offline contacts, each by name.
TEST_F(DisplayModesTest, SkypesFocusWalksTheOrderOfTheProgramsContactList) {
    Begin();
    World().Skype().SetContact("zed", "ONLINE", "zed");
    World().Skype().SetContact("amy", "OFFLINE", "Amy");
    World().Skype().SetContact("+4812", "SKYPEOUT", "+4812");
    World().Skype().SetContact("cal", "AWAY", "Cal");
    World().Skype().SetContact("bea", "DND", "bea");
    World().Advance(200);
    Texts programOrder;
    for (const skype::CContact& c : skype::g_SkypeMonitor.m_Contacts.Snapshot()) programOrder.push_back(c.m_strHandle);
    ASSERT_EQ(programOrder, (Texts{"bea", "cal", "zed", "+4812", "amy"}));
    Texts focusOrder;
    for (int i = 0; i < 6; ++i) {
        PressKey("KEY_DOWN");
        focusOrder.push_back(skype::g_SkypeMonitor.FocusedContact());
    }
    EXPECT_EQ(focusOrder, (Texts{"bea", "cal", "zed", "+4812", "amy", "amy"}));
}

TEST_F(DisplayModesTest, TheContactDetailShowsTheFocusedContact) {
    Begin();
    World().Skype().SetContact("alice", "ONLINE", "Alice Liddell");
    World().Advance(100);
    Keys({"KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_CONTACT_DETAIL);
    World().Settle();
    const modes::ScreenImage drawn = g_VirtualDisplay.Image();
    g_VirtualDisplay.ClearScreen();
    g_VirtualDisplay.DrawTextRow(0, 1, "alice", modes::kAlignLeft);
    g_VirtualDisplay.DrawTextRow(0, 2, "Alice Liddell", modes::kAlignLeft);
    const modes::ScreenImage expected = g_VirtualDisplay.Image();
    for (int y = 16; y < 48; ++y) EXPECT_EQ(drawn[y], expected[y]) << "pixel row " << y;
    const size_t before = CommandCount();
    SlowKey("KEY_LEFT_FUNC");
    EXPECT_EQ(CommandsSince(before).front(), "CALL alice");
}

TEST_F(DisplayModesTest, AConferenceOfTheFirstAndThirdContact) {
    Begin();
    Contacts({"alice", "bob", "carol"});
    Keys({"KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_CONFERENCE);
    size_t before = CommandCount();
    PressKey("KEY_HOOKUP");
    EXPECT_TRUE(CommandsSince(before).empty()) << "no one chosen, no call";
    Keys({"KEY_LEFT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    before = CommandCount();
    PressKey("KEY_HOOKUP");
    World().Advance(500);
    const Texts sent = CommandsSince(before);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "CALL alice, carol");
    EXPECT_EQ(Mode(), modes::MODE_RINGING) << "Skype places the conference's calls";
    const auto calls = skype::g_SkypeMonitor.m_CurrCallList.Snapshot();
    ASSERT_EQ(calls.size(), 2u);
    for (const skype::CCallObject& call : calls) {
        EXPECT_STREQ(call.m_szConfId, "101") << "one conference, named by its first call";
        EXPECT_LE(std::llabs(call.m_nTimestamp - world::SkypePeer::Now()), 5) << "stamped with the virtual local time";
    }
    EXPECT_STREQ(calls[0].m_szPartnerHandle, "alice");
    EXPECT_STREQ(calls[1].m_szPartnerHandle, "carol");
}

TEST_F(DisplayModesTest, AnEmptyConferenceListTakesNoChoice) {
    Begin();
    Keys({"KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_CONFERENCE);
    const size_t before = CommandCount();
    Keys({"KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC", "KEY_HOOKUP"});
    EXPECT_TRUE(CommandsSince(before).empty());
    EXPECT_EQ(Mode(), modes::MODE_CONFERENCE);
}

TEST_F(DisplayModesTest, VolumeStepsTwoOfSixteenAndBalanceShowsItsCurrency) {
    Begin();
    Keys({"KEY_LEFT_FUNC", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_VOLUME_SETTING);
    const int start = common::g_Settings.VAL_AUDIO_OUT_VOLUME;
    const int step = ((start + 1) * 16) / 31;
    PressKey("KEY_UP");
    const int up = (std::min(step + 2, 16) * 31 + 8) / 16;
    EXPECT_EQ(common::g_Settings.VAL_AUDIO_OUT_VOLUME, up);
    EXPECT_EQ(Channel("fader").back(), "out " + std::to_string(up) + " 4");
    Keys({"KEY_RIGHT_FUNC", "KEY_DOWN", "KEY_DOWN", "KEY_LEFT_FUNC"});
    ASSERT_EQ(Mode(), modes::MODE_BALANCE);
    World().Skype().SetBalance("1234", "PLN");
    World().Advance(1000);
    EXPECT_TRUE(ScreenShows({{0, 1, modes::ScreenText(modes::IDS_SCREEN_CURRENCY), modes::kAlignLeft},
                             {65, 1, "PLN", modes::kAlignLeft},
                             {0, 2, modes::ScreenText(modes::IDS_SCREEN_BALANCE2), modes::kAlignLeft},
                             {65, 2, "12.34", modes::kAlignLeft},
                             {0, 3, modes::ScreenText(modes::IDS_SCREEN_BACK), modes::kAlignRight}}));
}

TEST_F(DisplayModesTest, TheUnconnectedScreenNamesWhatIsMissing) {
    Handset().Plug(World().Bus());
    World().Start();
    World().Advance(1000);
    ASSERT_EQ(Mode(), modes::MODE_UNCONNECTED);
    EXPECT_TRUE(ScreenShows({{0, 1, "DEVICE", modes::kAlignCentre}, {0, 2, "UNCONNECTED!", modes::kAlignCentre}}));
    Handset().Press(240);
    World().Advance(1000);
    ASSERT_EQ(Mode(), modes::MODE_UNCONNECTED);
    EXPECT_TRUE(ScreenShows({{0, 1, "Skype", modes::kAlignCentre}, {0, 2, "UNCONNECTED!", modes::kAlignCentre}}));
}

TEST_F(DisplayModesTest, ScreenLinesFollowEveryChangeAndAnUnchangedRedrawSendsNothing) {
    Begin();
    size_t from = Channel("handset-screen").size();
    World().Advance(5000);  // the clock's minute does not turn
    EXPECT_TRUE(RowsSentSince(from).empty());
    PressKey("KEY_LEFT_FUNC");
    ASSERT_EQ(Mode(), modes::MODE_SETTING_MENU);
    EXPECT_EQ(RowsSentSince(from), (std::set<int>{0, 1, 2, 3}));
    from = Channel("handset-screen").size();
    World().Advance(3000);
    EXPECT_TRUE(RowsSentSince(from).empty());
    PressKey("KEY_DOWN");
    EXPECT_EQ(RowsSentSince(from), (std::set<int>{0, 1})) << "the selection and the thumb moved; labels stayed";
    EXPECT_TRUE(g_VirtualDisplay.Mirror() == g_VirtualDisplay.Image());
    from = Channel("handset-screen").size();
    PressKey("KEY_RIGHT_FUNC");
    ASSERT_EQ(Mode(), modes::MODE_MAIN);
    EXPECT_FALSE(RowsSentSince(from).empty());
    EXPECT_TRUE(g_VirtualDisplay.Mirror() == g_VirtualDisplay.Image());
}

// What went out before the handset reported its start reached a handset that
// was not listening: the start report sends every lit row again, even the
// ones that have not changed since.
TEST_F(DisplayModesTest, TheStartReportSendsTheWholeScreen) {
    Handset().Plug(World().Bus());
    World().Start();
    World().Advance(1000);
    ASSERT_EQ(Mode(), modes::MODE_UNCONNECTED);
    EXPECT_EQ(RowsSentSince(0), (std::set<int>{1, 2})) << "\"DEVICE\", \"UNCONNECTED!\"";
    const size_t from = Channel("handset-screen").size();
    Handset().Press(240);
    World().Advance(500);
    EXPECT_EQ(RowsSentSince(from), (std::set<int>{1, 2})) << "\"Skype\" and the unchanged \"UNCONNECTED!\"";
}

// Dialling waits 300 ms, 500 ms for the key tone and 1000 ms for Skype's
// answer, besides the window operations' own pauses; keys pressed meanwhile
// wait their turn.
TEST_F(DisplayModesTest, DialHoldsTheKeyThreadAndKeysPressedMeanwhileWaitInOrder) {
    Begin();
    Keys({"KEY_1", "KEY_2"});
    ASSERT_EQ(Mode(), modes::MODE_NUM_DIAL);
    const size_t before = CommandCount();
    PressKey("KEY_HOOKUP");
    Keys({"KEY_3", "KEY_4"});
    World().Advance(3000);
    const Texts sent = CommandsSince(before);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "BTN_PRESSED NO"), 1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "OPEN DIALPAD"), 0) << "two characters: the contacts panel";
    const Texts keys = Timed("key");
    auto timeOf = [&keys](const std::string& key) {
        for (const std::string& line : keys) {
            if (line.substr(line.find(' ') + 1) == "key " + key) return std::stoll(line);
        }
        return -1LL;
    };
    const long long hookup = timeOf("10"), three = timeOf("3"), four = timeOf("4");
    ASSERT_GE(hookup, 0);
    EXPECT_GE(three - hookup, 1800) << "the dial's pauses add up before the next key";
    EXPECT_GT(four, three);
    EXPECT_EQ(Mode(), modes::MODE_RINGING) << "the dialled number is called";
}

TEST_F(DisplayModesTest, EighteenDigitsOpenTheDialPadAndAreTypedIntoIt) {
    Begin();
    const std::string number = "004812345678901234";
    for (char c : number) PressKey(std::string("KEY_") + c);
    ASSERT_EQ(Mode(), modes::MODE_NUM_DIAL);
    EXPECT_GT(LitIn(2), 0) << "the last four digits on the second line";
    const size_t before = CommandCount();
    PressKey("KEY_HOOKUP");
    World().Advance(3000);
    const Texts sent = CommandsSince(before);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0], "OPEN DIALPAD");
    EXPECT_EQ(sent[1], "BTN_PRESSED NO");
    EXPECT_EQ(sent[2], "BTN_RELEASED NO");
    EXPECT_TRUE(World().Skype().DialPadNumber().empty()) << "Enter dialled what was typed";
    const auto call = skype::g_SkypeMonitor.m_CurrCallList.GetLastCall();
    ASSERT_TRUE(call);
    EXPECT_EQ(std::string(call->m_szPartnerHandle), number);
}

TEST_F(DisplayModesTest, ClearRemovesTheLastCharacterOrLeavesWithTheLastOne) {
    Begin();
    Keys({"KEY_1", "KEY_2", "KEY_3", "KEY_CLEAR"});
    EXPECT_EQ(Mode(), modes::MODE_NUM_DIAL);
    Keys({"KEY_CLEAR"});
    EXPECT_EQ(Mode(), modes::MODE_NUM_DIAL);
    Keys({"KEY_CLEAR"});
    EXPECT_EQ(Mode(), modes::MODE_MAIN);
}

TEST_F(DisplayModesTest, ADialSkypeRefusesShowsTheFailedScreenAndBackClosesTheDialog) {
    Begin();
    World().Skype().SetDialFails(true);
    Keys({"KEY_5", "KEY_5", "KEY_5", "KEY_1", "KEY_2", "KEY_HOOKUP"});
    World().Advance(3000);
    ASSERT_EQ(Mode(), modes::MODE_SYS_CONFIRM);
    EXPECT_TRUE(Logged("Find TskConfirmForm.UnicodeClass 1"));
    EXPECT_TRUE(ScreenShows({{0, 1, modes::ScreenText(modes::IDS_SCREEN_DIAL_FAILED), modes::kAlignCentre},
                             {0, 3, modes::ScreenText(modes::IDS_SCREEN_BACK), modes::kAlignRight}}));
    PressKey("KEY_RIGHT_FUNC");
    EXPECT_TRUE(Logged("Find TskConfirmForm.UnicodeClass 4"));
    EXPECT_EQ(Channel("post").back(), "TskConfirmForm.UnicodeClass WM_KEYDOWN 1b 0");
    EXPECT_EQ(Mode(), modes::MODE_MAIN);
    const std::wstring dialog = L"TskConfirmForm.UnicodeClass";
    EXPECT_FALSE(World().Desktop().FindWindow(&dialog, nullptr)) << "Escape closed it";
}

// Skype's reports keep arriving on the receive thread while the screens
// draw on the timer and the keys move through them.
TEST_F(DisplayModesTest, NotificationsArriveWhileTheScreensDrawAndTakeKeys) {
    Begin();
    Contacts({"alice", "bob", "carol"});
    History("11", "INCOMING_P2P", "FINISHED", "alice", 1000);
    const char* const walk[] = {"KEY_RIGHT_FUNC", "KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC",
                                "KEY_RIGHT_FUNC", "KEY_HOOKDOWN",  "KEY_DOWN", "KEY_DOWN",
                                "KEY_HOOKDOWN",   "KEY_LEFT_FUNC", "KEY_DOWN", "KEY_LEFT_FUNC",
                                "KEY_LEFT_FUNC",  "KEY_DOWN",      "KEY_HOOKDOWN"};
    int n = 0;
    for (const char* key : walk) {
        const std::string id = std::to_string(100 + n++);
        World().Skype().Notify("USER u" + id + " ONLINESTATUS ONLINE");
        World().Skype().Notify("USER u" + id + " DISPLAYNAME User " + id);
        World().Skype().Notify("CALL " + id + " TYPE INCOMING_P2P");
        World().Skype().Notify("CALL " + id + " PARTNER_DISPNAME Caller " + id);
        World().Skype().Notify("VOICEMAIL 9" + id + " TYPE INCOMING");
        World().Skype().Notify("CONTACTS FOCUSED u" + id);
        Handset().Press(static_cast<uint8_t>(sim::DefaultCodeForKey(key)));
        World().Advance(50);
        Handset().Release();
        World().Advance(1000);
    }
    EXPECT_TRUE(g_VirtualDisplay.Mirror() == g_VirtualDisplay.Image()) << "the handset shows what was drawn last";
}

}  // namespace
