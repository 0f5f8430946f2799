// The main mode's two key maps: without a display the keys drive Skype's dial
// pad and windows; with one they open the handset's own screens. Run against
// the simulated client's windows, whose messages the transcript records.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "common/settings.h"
#include "modes/mode_machine.h"
#include "skype/skype_monitor.h"
#include "support/program_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class MainModeTest : public testing_support::ProgramTest {
protected:
    // Starts Skype of the version and the program with the display setting,
    // and waits until the attach and its queries are over.
    void Begin(const std::string& version, int displaySetting) {
        world::SkypePeer::Profile profile;
        profile.version = version;
        World().Skype().SetProfile(profile);
        World().Skype().Start();
        World().WriteSetting("VAL_ENABLE_LCM", std::to_string(displaySetting));
        World().WriteSetting("VAL_ENABLE_KEYTONE", "0");
        StartWithStartedHandset();
        World().Advance(1000);
        ASSERT_EQ(Channel("mode").back(), "0 MODE_MAIN");
        Mark();
    }
    // A key and the time its handler takes (the dial pad alone waits 500 ms).
    void Key(const std::string& name, uint64_t holdMs = 100) {
        PressKey(name, holdMs);
        World().Advance(1000);
    }
    // Remembers where the channels stand; After() gives what came since.
    void Mark() {
        marks_ = {Channel("skype-cmd").size(), Channel("post").size(), Channel("focus").size(),
                  Channel("keybd").size(), Channel("handset-cmd").size()};
    }
    Texts SkypeAfter() {
        Texts out;
        for (const std::string& c : Since("skype-cmd", marks_[0])) {
            if (c != "PING" && c.rfind("GET ", 0) != 0) out.push_back(c);
        }
        return out;
    }
    Texts PostsAfter() { return Since("post", marks_[1]); }
    Texts FocusAfter() { return Since("focus", marks_[2]); }
    Texts KeybdAfter() { return Since("keybd", marks_[3]); }
    Texts HandsetAfter() { return Since("handset-cmd", marks_[4]); }
    void SetMainWindow(world::SkypeClientWindows::MainWindow state) {
        World().Skype().SetMainWindow(state);
        World().Settle();
    }

    std::vector<size_t> marks_;
};

const char kDialPadClick[] = "TDialerControl WM_LBUTTONDOWN 1 150064";
const char kDialPadUnclick[] = "TDialerControl WM_LBUTTONUP 0 150064";
const Texts kOpenDialPad = {"OPEN DIALPAD", "BTN_PRESSED NO", "BTN_RELEASED NO"};

TEST_F(MainModeTest, DigitsAndHookUpDialFromTheDialPadOnANewClient) {
    Begin("5.5.0.124", 0);
    Key("KEY_5");
    Key("KEY_1");
    EXPECT_EQ(World().Skype().DialPadNumber(), "51");
    Key("KEY_HOOKUP");
    EXPECT_EQ(SkypeAfter(), (Texts{"OPEN DIALPAD", "BTN_PRESSED NO", "BTN_RELEASED NO", "SET WINDOWSTATE NORMAL"}))
        << "the digits are typed, not sent; then the ringing call brings Skype forward";
    EXPECT_EQ(PostsAfter(), (Texts{kDialPadClick, kDialPadUnclick,  // the first digit clicks into the dial pad
                                   "TskRichEdit_ WM_KEYDOWN 35 0", "TskRichEdit_ WM_KEYUP 35 c0000000",
                                   "TskRichEdit_ WM_KEYDOWN 31 0", "TskRichEdit_ WM_KEYUP 31 c0000000",
                                   kDialPadClick, kDialPadUnclick,  // dialling clicks again, then Enter
                                   "TskRichEdit_ WM_KEYDOWN d 0", "TskRichEdit_ WM_KEYUP d c0000000"}));
    EXPECT_EQ(FocusAfter(), (Texts{"TskRichEdit_", "TskRichEdit_", "TskRichEdit_"}));
    EXPECT_EQ(modes::g_ModeState.m_nDialCount, 0);
    // The client dialled what was typed: the call rings out.
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
    const auto call = skype::g_SkypeMonitor.m_CurrCallList.GetLastCall();
    ASSERT_TRUE(call.has_value());
    EXPECT_STREQ(call->m_szCallId, "101");
}

TEST_F(MainModeTest, DigitsAndHookUpOnA53ClientPressItsButtonsThenEnter) {
    Begin("5.3.0.120", 0);
    Key("KEY_5");
    Key("KEY_1");
    Key("KEY_HOOKUP");
    Texts expected = kOpenDialPad;
    for (const char* b : {"BTN_PRESSED 5", "BTN_RELEASED 5", "BTN_PRESSED 1", "BTN_RELEASED 1",
                          "SET WINDOWSTATE NORMAL"}) {  // the last from the ringing call
        expected.push_back(b);
    }
    EXPECT_EQ(SkypeAfter(), expected);
    EXPECT_EQ(PostsAfter(), (Texts{"TskRichEdit_ WM_KEYDOWN d 0", "TskRichEdit_ WM_KEYUP d c0000000"}))
        << "no click on clients before 5.5";
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
}

TEST_F(MainModeTest, Skype3UsesItsButtonsAndNoDialPad) {
    Begin("3.8.0.188", 0);
    Key("KEY_HOTKEY_1");
    Key("KEY_MUTE");
    EXPECT_EQ(SkypeAfter(), (Texts{"SET WINDOWSTATE NORMAL", "BTN_PRESSED SKYPE", "BTN_RELEASED SKYPE",
                                   "SET WINDOWSTATE NORMAL"}));
    SetMainWindow(world::SkypeClientWindows::MainWindow::Hidden);
    Mark();
    Key("KEY_MUTE");
    EXPECT_EQ(SkypeAfter(), Texts{"Open Contacts"}) << "old clients show their contacts on command";
    SetMainWindow(world::SkypeClientWindows::MainWindow::Visible);
    Mark();
    Key("KEY_5");
    Key("KEY_HOOKUP");
    const Texts sent = SkypeAfter();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(Texts(sent.begin(), sent.begin() + 4), (Texts{"FOCUS", "BTN_PRESSED 5", "BTN_RELEASED 5", "BTN_PRESSED YES"}))
        << "no dial pad; the call button dials what the buttons typed";
    EXPECT_NE(std::find(sent.begin(), sent.end(), "BTN_RELEASED YES"), sent.end());
    EXPECT_TRUE(PostsAfter().empty());
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
}

struct TypedKey {
    const char* key;
    unsigned holdMs;
    Texts posts;
};

std::ostream& operator<<(std::ostream& out, const TypedKey& k) { return out << k.key << " held " << k.holdMs; }

class TypedCharacterTest : public MainModeTest, public ::testing::WithParamInterface<TypedKey> {};

TEST_P(TypedCharacterTest, TypesItsCharacterIntoTheNumberField) {
    Begin("6.1.0.129", 0);
    Key(GetParam().key, GetParam().holdMs);
    Texts posts = PostsAfter();
    ASSERT_GE(posts.size(), 2u);
    EXPECT_EQ(Texts(posts.begin() + 2, posts.end()), GetParam().posts) << "after the click into the dial pad";
}

INSTANTIATE_TEST_SUITE_P(
    Characters, TypedCharacterTest,
    ::testing::Values(TypedKey{"KEY_STAR", 100, {"TskRichEdit_ WM_KEYDOWN 6a 0", "TskRichEdit_ WM_KEYUP 6a c0000000"}},
                      TypedKey{"KEY_SHARP", 100, {"TskRichEdit_ WM_CHAR 23 c0000001"}},
                      TypedKey{"KEY_0", 1400, {"TskRichEdit_ WM_CHAR 2b c0000001"}},  // long press: '+'
                      TypedKey{"KEY_0", 100, {"TskRichEdit_ WM_KEYDOWN 30 0", "TskRichEdit_ WM_KEYUP 30 c0000000"}}));

TEST_F(MainModeTest, HookUpCallsTheFocusedContactOrPressesTheCallButton) {
    Begin("5.5.0.124", 0);
    Key("KEY_HOOKUP");
    EXPECT_EQ(SkypeAfter(), (Texts{"BTN_PRESSED YES", "BTN_RELEASED YES"}));
    World().Skype().Focus("alice");
    World().Advance(100);
    Mark();
    Handset().Press(static_cast<uint8_t>(sim::DefaultCodeForKey("KEY_HOOKUP")));
    World().Advance(100);
    Handset().Release();
    World().Advance(150);
    EXPECT_TRUE(SkypeAfter().empty()) << "the call goes out 200 ms after the key";
    World().Advance(100);
    EXPECT_EQ(SkypeAfter().front(), "CALL alice");
    World().Advance(500);
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
}

TEST_F(MainModeTest, EveryKeyFirstSetsTheHandsetIdle) {
    Begin("5.5.0.124", 0);
    for (const char* key : {"KEY_LEFT_FUNC", "KEY_HOTKEY_3", "KEY_VOL_UP"}) {
        Mark();
        Key(key);
        Texts cmds = HandsetAfter();
        // The key's own light comes from the read thread, before the mode.
        cmds.erase(std::remove(cmds.begin(), cmds.end(), "CMD_LIGHT_ON 0 0 0"), cmds.end());
        ASSERT_FALSE(cmds.empty()) << key;
        EXPECT_EQ(cmds.front(), "CMD_STATUS_IDLE 0 0 0") << key;
        EXPECT_TRUE(SkypeAfter().empty()) << key << " has no action";
    }
}

TEST_F(MainModeTest, HotKey1TogglesSkypesSidePanels) {
    Begin("5.5.0.124", 0);
    Key("KEY_HOTKEY_1");
    Key("KEY_HOTKEY_1");
    EXPECT_EQ(SkypeAfter(), (Texts{"SET WINDOWSTATE NORMAL", "SET WINDOWSTATE NORMAL"}));
    EXPECT_EQ(PostsAfter(), (Texts{"TConversationsControl WM_SYSKEYDOWN 32 20000000",
                                   "TConversationsControl WM_SYSKEYUP 32 e0000000",
                                   "TConversationsControl WM_SYSKEYDOWN 31 20000000",
                                   "TConversationsControl WM_SYSKEYUP 31 e0000000"}));
    EXPECT_EQ(modes::g_ModeState.m_nPanelToggle, 0);
}

TEST_F(MainModeTest, AHiddenMainWindowOnlyBringsUpTheContacts) {
    Begin("5.5.0.124", 0);
    SetMainWindow(world::SkypeClientWindows::MainWindow::Hidden);
    const Texts showContacts = {"TConversationsControl WM_SYSKEYDOWN 31 20000000",
                                "TConversationsControl WM_SYSKEYUP 31 e0000000"};
    for (const char* key : {"KEY_HOTKEY_1", "KEY_HOOKUP", "KEY_HOOKDOWN", "KEY_UP", "KEY_MUTE"}) {
        SetMainWindow(world::SkypeClientWindows::MainWindow::Hidden);
        modes::g_ModeState.m_nPanelToggle = 1;
        Mark();
        Key(key);
        EXPECT_EQ(SkypeAfter(), Texts{"SET WINDOWSTATE NORMAL"}) << key;
        EXPECT_EQ(PostsAfter(), showContacts) << key;
        EXPECT_EQ(modes::g_ModeState.m_nPanelToggle, 0) << key;
    }
}

TEST_F(MainModeTest, WithoutSkypesMainWindowOnlyDialKeysAct) {
    Begin("5.5.0.124", 0);
    SetMainWindow(world::SkypeClientWindows::MainWindow::None);
    for (const char* key : {"KEY_HOOKUP", "KEY_HOOKDOWN", "KEY_UP", "KEY_MUTE", "KEY_HOTKEY_1"}) Key(key);
    EXPECT_TRUE(SkypeAfter().empty());
    Key("KEY_7");
    EXPECT_EQ(SkypeAfter(), kOpenDialPad) << "the dial pad is asked for; its windows are gone";
    EXPECT_TRUE(PostsAfter().empty());
    EXPECT_EQ(modes::g_ModeState.m_nDialCount, 1);
}

TEST_F(MainModeTest, HookDownTidiesCallWindowsAwayForTwoSeconds) {
    Begin("5.5.0.124", 0);
    World().Skype().OpenWindow(L"TConversationForm.UnicodeClass");
    World().Skype().OpenWindow(L"TskCallQualityForm");
    World().Settle();
    Mark();
    Key("KEY_HOOKDOWN");
    Key("KEY_HOTKEY_3");  // waits behind the tidying
    World().Advance(3000);
    EXPECT_EQ(SkypeAfter(), (Texts{"OPEN DIALPAD", "BTN_PRESSED NO", "BTN_RELEASED NO", "MINIMIZE"}));
    EXPECT_EQ(PostsAfter(), (Texts{"TConversationForm.UnicodeClass WM_CLOSE 0 0", "TskCallQualityForm WM_CLOSE 0 0"}))
        << "no dial pad click when hanging up; each window closed once it is gone";
    const auto keys = Timed("key");
    ASSERT_EQ(keys.size(), 2u);
    const auto at = [](const std::string& line) { return std::stoull(line.substr(0, line.find(' '))); };
    EXPECT_GE(at(keys[1]) - at(keys[0]), 500u + 2000u) << "dial pad pauses, then 100 rounds of 20 ms";
}

TEST_F(MainModeTest, ClearFocusesSkypeAndPressesBackspace) {
    Begin("5.5.0.124", 0);
    Key("KEY_4");
    Key("KEY_2");
    Mark();
    Key("KEY_CLEAR");
    EXPECT_EQ(SkypeAfter(), Texts{"FOCUS"});
    EXPECT_EQ(KeybdAfter(), (Texts{"8 8 0", "8 8 2"}));
    EXPECT_EQ(World().Skype().DialPadNumber(), "4") << "the dial pad has the keyboard";
}

TEST_F(MainModeTest, ScrollKeysCloseATypedNumberAndScrollSkype) {
    Begin("5.5.0.124", 0);
    Key("KEY_9");
    Mark();
    Key("KEY_DOWN");
    EXPECT_EQ(SkypeAfter(), (Texts{"OPEN DIALPAD", "BTN_PRESSED NO", "BTN_RELEASED NO", "SET WINDOWSTATE NORMAL",
                                   "BTN_PRESSED DOWN", "BTN_RELEASED DOWN"}));
    EXPECT_EQ(modes::g_ModeState.m_nDialCount, 0);
    EXPECT_EQ(World().Skype().DialPadNumber(), "") << "the number was thrown away";
}

struct DisplayKey {
    const char* key;
    Texts skype;
    const char* mode;
};

std::ostream& operator<<(std::ostream& out, const DisplayKey& k) { return out << k.key; }

class DisplayKeyMapTest : public MainModeTest, public ::testing::WithParamInterface<DisplayKey> {};

TEST_P(DisplayKeyMapTest, OpensScreensOrDrivesSkype) {
    Begin("5.5.0.124", 1);
    Key(GetParam().key);
    World().Advance(3000);
    EXPECT_EQ(SkypeAfter(), GetParam().skype);
    EXPECT_EQ(Channel("mode").back(), GetParam().mode);
    for (const std::string& cmd : HandsetAfter()) {
        EXPECT_EQ(cmd.rfind("CMD_STATUS_IDLE", 0), std::string::npos) << "this key map sends no handset command";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DisplayKeyMapTest,
    ::testing::Values(DisplayKey{"KEY_5", {}, "4 MODE_NUM_DIAL"}, DisplayKey{"KEY_SHARP", {}, "4 MODE_NUM_DIAL"},
                      DisplayKey{"KEY_HOOKUP", {"SET WINDOWSTATE NORMAL"}, "0 MODE_MAIN"},
                      DisplayKey{"KEY_HOOKDOWN", {"MINIMIZE"}, "0 MODE_MAIN"},
                      DisplayKey{"KEY_LEFT_FUNC", {}, "5 MODE_SETTING_MENU"},
                      DisplayKey{"KEY_RIGHT_FUNC", {}, "6 MODE_HISTORY_MENU"},
                      DisplayKey{"KEY_UP", {}, "0 MODE_MAIN"},  // no contacts: nothing
                      DisplayKey{"KEY_STAR", {"SET WINDOWSTATE NORMAL"}, "0 MODE_MAIN"},
                      DisplayKey{"KEY_HOTKEY_2", {}, "0 MODE_MAIN"}));

TEST_F(MainModeTest, WithDisplayUpOpensTheContactListWhenThereAreContacts) {
    Begin("5.5.0.124", 1);
    World().Skype().SetContact("bob", "ONLINE", "Bob");
    World().Advance(100);
    ASSERT_EQ(skype::g_SkypeMonitor.m_Contacts.Count(), 1u);
    Key("KEY_UP");
    EXPECT_EQ(Channel("mode").back(), "1 MODE_CONTACT_LIST");
    EXPECT_EQ(Channel("key").back(), "17") << "the key is handed on to the list";
}

TEST_F(MainModeTest, WithDisplayClearPressesBackspaceWithoutFocus) {
    Begin("5.5.0.124", 1);
    Key("KEY_CLEAR");
    EXPECT_EQ(SkypeAfter(), Texts{"SET WINDOWSTATE NORMAL"});
    EXPECT_EQ(KeybdAfter(), (Texts{"8 8 0", "8 8 2"}));
}

TEST_F(MainModeTest, RefreshSendsTheContrastOncePerChange) {
    Begin("5.5.0.124", 1);
    const auto contrasts = [&] {
        int n = 0;
        for (const std::string& c : HandsetAfter()) n += c.rfind("CMD_CONTRAST", 0) == 0 ? 1 : 0;
        return n;
    };
    World().Advance(3000);
    EXPECT_EQ(contrasts(), 0) << "unchanged since the start report";
    common::g_Settings.VAL_LCM_CONTRAST = 2;
    World().Advance(3000);
    EXPECT_EQ(contrasts(), 1);
    const auto& triple = common::g_Settings.VAL_CONTRAST[2];
    Texts sent = HandsetAfter();
    const std::string expected = "CMD_CONTRAST " + std::to_string(triple[0] & 0xFF) + " " +
                                 std::to_string(triple[1] & 0xFF) + " " + std::to_string(triple[2] & 0xFF);
    EXPECT_NE(std::find(sent.begin(), sent.end(), expected), sent.end());
}

}  // namespace
