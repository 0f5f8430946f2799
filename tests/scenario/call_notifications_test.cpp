// Call notifications from Skype: the call lists, the handset's volume around
// a call, and the mode switches of the typical call.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/settings.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"
#include "support/program_fixture.h"

namespace {

class CallNotificationsTest : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        World().Skype().Start();
        StartWithStartedHandset();
    }
    void Notify(const std::string& text) {
        World().Skype().Notify(text);
        World().Advance(50);
    }
    skype::CSkypeMonitor& Link() { return skype::g_SkypeMonitor; }
};

TEST_F(CallNotificationsTest, TypicalIncomingCallRingsAnswersAndEnds) {
    const size_t cmds = Channel("skype-cmd").size();
    const size_t faders = Channel("fader").size();
    Notify("CALL 7 STATUS RINGING");
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
    EXPECT_EQ(Since("fader", faders), (std::vector<std::string>{"out 25 4", "out 31 4", "out 31 4"}));
    const auto sent = Since("skype-cmd", cmds);
    for (const char* q : {"GET CALL 7 TIMESTAMP", "GET CALL 7 PARTNER_HANDLE", "GET CALL 7 PARTNER_DISPNAME",
                          "GET CALL 7 CONF_ID", "GET CALL 7 TYPE", "GET CALL 7 STATUS", "SET WINDOWSTATE NORMAL"}) {
        EXPECT_NE(std::find(sent.begin(), sent.end(), q), sent.end()) << q;
    }
    ASSERT_TRUE(Link().m_CurrCallList.HasCall("7"));
    Notify("CALL 7 STATUS RINGING");  // again: only the status text
    EXPECT_EQ(Link().m_CurrCallList.Count(), 1u);

    const size_t answered = Channel("fader").size();
    Notify("CALL 7 STATUS INPROGRESS");
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
    EXPECT_EQ(Since("fader", answered), std::vector<std::string>{"out 25 2"});
    EXPECT_STREQ(Link().m_CurrCallList.FindCall("7")->m_szStatus, "INPROGRESS");

    const size_t ended = Channel("fader").size();
    Notify("CALL 7 STATUS FINISHED");
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    EXPECT_EQ(Since("fader", ended), std::vector<std::string>{"out 25 4"});
    EXPECT_FALSE(Link().m_CurrCallList.HasCall("7"));
    EXPECT_FALSE(Link().m_CallList.HasCall("7"));
}

TEST_F(CallNotificationsTest, OutgoingCallRingsWithoutRingVolume) {
    const size_t faders = Channel("fader").size();
    Notify("CALL 8 STATUS ROUTING");
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
    Notify("CALL 8 STATUS RINGING");
    EXPECT_EQ(Since("fader", faders), std::vector<std::string>{"out 25 4"});
    EXPECT_EQ(Link().m_CallList.FindCall("8")->m_bRouted, 1);
}

TEST_F(CallNotificationsTest, EndOfNewerCallResumesTheOlderOne) {
    Notify("CALL 1 STATUS RINGING");
    Notify("CALL 1 STATUS INPROGRESS");
    Notify("CALL 2 STATUS RINGING");
    Notify("CALL 1 STATUS LOCALHOLD");  // Skype holds the first when the second is taken up
    Notify("CALL 2 STATUS INPROGRESS");
    const size_t cmds = Channel("skype-cmd").size();
    Notify("CALL 2 STATUS FINISHED");
    EXPECT_EQ(Since("skype-cmd", cmds),
              (std::vector<std::string>{"SET WINDOWSTATE NORMAL", "SET CALL 1 STATUS INPROGRESS"}))
        << "the contacts shown, then the older call resumed";
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
    EXPECT_TRUE(Link().m_CurrCallList.HasCall("1"));
    EXPECT_TRUE(Link().m_CallList.HasCall("1"));
    EXPECT_FALSE(Link().m_CallList.HasCall("2"));
}

// Only a held call is taken up again when the newer call ends; one that is
// still ringing or being placed would be answered unasked.
TEST_F(CallNotificationsTest, EndOfNewerCallFollowsTheStateOfTheOlderOne) {
    struct Case {
        const char* olderStatus;
        bool resumed;
        const char* mode;
    };
    const Case cases[] = {
        {"RINGING", false, "2 MODE_RINGING"},    {"ROUTING", false, "2 MODE_RINGING"},
        {"EARLYMEDIA", false, "2 MODE_RINGING"}, {"INPROGRESS", false, "3 MODE_TALKING"},
        {"ONHOLD", true, "3 MODE_TALKING"},      {"LOCALHOLD", true, "3 MODE_TALKING"},
    };
    int id = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.olderStatus);
        const std::string older = std::to_string(++id), newer = std::to_string(++id);
        Notify("CALL " + older + " STATUS RINGING");
        Notify("CALL " + older + " STATUS " + c.olderStatus);
        Notify("CALL " + newer + " STATUS RINGING");
        Notify("CALL " + newer + " STATUS INPROGRESS");
        const size_t cmds = Channel("skype-cmd").size();
        Notify("CALL " + newer + " STATUS FINISHED");
        const auto sent = Since("skype-cmd", cmds);
        const std::string resume = "SET CALL " + older + " STATUS INPROGRESS";
        EXPECT_EQ(std::count(sent.begin(), sent.end(), resume), c.resumed ? 1 : 0);
        EXPECT_EQ(Channel("mode").back(), c.mode);
        EXPECT_TRUE(Link().m_CurrCallList.HasCall(older));
        Notify("CALL " + older + " STATUS FINISHED");
        EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    }
}

TEST_F(CallNotificationsTest, BalanceOfExactlyZeroAsksNoCurrency) {
    struct Case {
        const char* balance;
        bool asksCurrency;
    };
    const Case cases[] = {{"0", false}, {"1234", true}, {"00", true}, {"0.5", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.balance);
        const size_t cmds = Channel("skype-cmd").size();
        Notify(std::string("PROFILE PSTN_BALANCE ") + c.balance);
        EXPECT_EQ(Link().PstnBalance(), c.balance);
        const auto sent = Since("skype-cmd", cmds);
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "GET PROFILE PSTN_BALANCE_CURRENCY"), c.asksCurrency ? 1 : 0);
    }
}

// The end of a call that is not current changes nothing of the current ones:
// no mode switch, no call taken up, no volume restored.
TEST_F(CallNotificationsTest, EndOfACallThatIsNotCurrentSwitchesNothing) {
    common::g_Settings.VAL_ENABLE_LCM = 1;
    Notify("CONTACTS FOCUSED alice");  // a mode the end of the last call would leave
    ASSERT_EQ(Channel("mode").back(), "1 MODE_CONTACT_LIST");
    Notify("CALL 99 STATUS FINISHED");
    EXPECT_EQ(Channel("mode").back(), "1 MODE_CONTACT_LIST");

    Notify("CALL 7 STATUS RINGING");
    Notify("CALL 7 STATUS ONHOLD");  // a held call the end of another would resume
    const size_t modes = Channel("mode").size(), faders = Channel("fader").size(), cmds = Channel("skype-cmd").size();
    for (const char* status : {"FINISHED", "REFUSED", "MISSED", "FAILED"}) {
        Notify(std::string("CALL 99 STATUS ") + status);
    }
    EXPECT_EQ(Channel("mode").size(), modes);
    EXPECT_EQ(Channel("fader").size(), faders);
    for (const std::string& sent : Since("skype-cmd", cmds)) EXPECT_EQ(sent.rfind("SET CALL", 0), std::string::npos) << sent;
    EXPECT_TRUE(Link().m_CurrCallList.HasCall("7"));
}

TEST_F(CallNotificationsTest, ConnectionUpdateLeavesACallModeAlone) {
    const std::wstring title = L"VARNO-CORVANE";
    const platform::WindowHandle main = World().Desktop().FindWindow(nullptr, &title);
    for (const char* status : {"RINGING", "INPROGRESS"}) {
        SCOPED_TRACE(status);
        Notify(std::string("CALL 7 STATUS ") + status);
        const std::string mode = Channel("mode").back();
        World().Desktop().SendMessage(main, skype::WM_SKYPE_ATTACH_CHANGED, 0, 0);
        World().Advance(50);
        EXPECT_TRUE(Logged("UpdateTrayIcon"));
        EXPECT_EQ(Channel("mode").back(), mode);
    }
}

TEST_F(CallNotificationsTest, FocusedContactOpensTheListOnlyFromTheMainModeWithADisplay) {
    struct Case {
        const char* callStatus;  // nullptr: no call, the main mode
        int display;
        bool opens;
    };
    const Case cases[] = {{nullptr, 1, true}, {nullptr, 0, false}, {"RINGING", 1, false}, {"INPROGRESS", 1, false}};
    int id = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.callStatus ? c.callStatus : "main") + " display " + std::to_string(c.display));
        common::g_Settings.VAL_ENABLE_LCM = c.display;
        SwitchModeNow(0);
        const std::string call = std::to_string(++id);
        if (c.callStatus) Notify("CALL " + call + " STATUS " + c.callStatus);
        const std::string before = Channel("mode").back();
        Notify("CONTACTS FOCUSED alice");
        EXPECT_EQ(Link().FocusedContact(), "alice");
        EXPECT_EQ(Channel("mode").back(), c.opens ? "1 MODE_CONTACT_LIST" : before);
        if (c.callStatus) Notify("CALL " + call + " STATUS FINISHED");
    }
}

TEST_F(CallNotificationsTest, VersionNumbersThatDoNotParseKeepTheirValues) {
    struct Case {
        const char* text;
        long numbers[4];
    };
    const Case cases[] = {
        {"5.5.0.124", {5, 5, 0, 124}}, {"abc", {5, 5, 0, 124}},  {"6.1", {6, 1, 0, 124}},
        {"7.x.3.3", {7, 1, 0, 124}},   {"8.2.9.77", {8, 2, 9, 77}}, {"-", {8, 2, 9, 77}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Notify(std::string("SKYPEVERSION ") + c.text);
        long numbers[4] = {};
        skype::SkypeVersionNumbers(numbers);
        EXPECT_EQ(std::vector<long>(numbers, numbers + 4), std::vector<long>(c.numbers, c.numbers + 4));
    }
}

TEST_F(CallNotificationsTest, CallsFoundBySearchDoNotSwitchModes) {
    Notify("CALLS 40, 41");
    const size_t modes = Channel("mode").size();
    Notify("CALL 40 STATUS RINGING");
    Notify("CALL 40 STATUS INPROGRESS");
    EXPECT_EQ(Channel("mode").size(), modes);
    EXPECT_TRUE(Link().m_CurrCallList.HasCall("40"));
}

TEST_F(CallNotificationsTest, PropertiesFillBothLists) {
    Notify("CALL 7 STATUS RINGING");
    Notify("CALL 7 PARTNER_DISPNAME Doe, John");
    Notify("CALL 7 PARTNER_HANDLE jdoe");
    Notify("CALL 7 TIMESTAMP 1700000000xyz");
    Notify("CALL 7 TYPE INCOMING_P2P");
    Notify("CALL 7 CONF_ID 0");
    Notify("VOICEMAIL 9 DURATION 12");
    for (const auto& record : {*Link().m_CallList.FindCall("7"), *Link().m_CurrCallList.FindCall("7")}) {
        EXPECT_STREQ(record.m_szPartnerName, "Doe John");
        EXPECT_STREQ(record.m_szPartnerHandle, "jdoe");
        EXPECT_EQ(record.m_nTimestamp, 1700000000);
        EXPECT_EQ(record.m_nType, skype::E_TYPE_INCOMING_P2P);
    }
    EXPECT_EQ(Link().m_CallList.FindCall("9")->m_nDuration, 12);
    EXPECT_FALSE(Link().m_CurrCallList.HasCall("9"));
}

TEST_F(CallNotificationsTest, ShortOrUnknownNotificationsChangeNothing) {
    const auto before = Lines().size();
    const size_t modes = Channel("mode").size();
    for (const char* text : {"CALL", "CALL 7", "CALL 7 STATUS", "MUTE", "USER", "USER bob", "PROFILE PSTN_BALANCE",
                             "CONTACTS FOCUSED", "WHATEVER 1 2 3", "CALL 7 STATUS DANCING"}) {
        Notify(text);
    }
    EXPECT_EQ(Channel("mode").size(), modes);
    EXPECT_EQ(Link().m_CurrCallList.Count(), 0u);
    // Only the unknown status made a record: short CALL notifications made none.
    ASSERT_EQ(Link().m_CallList.Count(), 1u);
    EXPECT_STREQ(Link().m_CallList.FindCall("7")->m_szStatus, "DANCING");
    EXPECT_EQ(Link().FocusedContact(), "");
    EXPECT_GT(Lines().size(), before);
    for (const char* text : {"CALL", "CALL 7", "CALL 7 STATUS", "MUTE", "USER bob", "PROFILE PSTN_BALANCE"}) {
        EXPECT_TRUE(Logged(std::string("Skype notification too short, ignored: ") + text)) << text;
    }
}

TEST_F(CallNotificationsTest, HugeIdsAndGarbageAreCutSafely) {
    const std::string id(1000, '7');
    Notify("CALL " + id + " STATUS RINGING");
    EXPECT_EQ(Channel("mode").back(), "2 MODE_RINGING");
    Notify("CALL " + id + " PARTNER_DISPNAME " + std::string(5000, 'n') + " \xFF\xFE");
    const auto calls = Link().m_CallList.Snapshot();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(std::strlen(calls[0].m_szCallId), 299u);
    EXPECT_EQ(std::strlen(calls[0].m_szPartnerName), 299u);
}

TEST_F(CallNotificationsTest, VoicemailPlayingAndPlayed) {
    Notify("VOICEMAIL 5 STATUS PLAYING");
    EXPECT_EQ(Channel("mode").back(), "18 MODE_VOICEMAIL_PLAY");
    EXPECT_EQ(modes::g_ModeState.m_bVoicemailPlaying, 1);
    Notify("VOICEMAIL 5 STATUS PLAYED");
    EXPECT_EQ(modes::g_ModeState.m_bVoicemailPlaying, 0);
    EXPECT_EQ(Channel("mode").back(), "18 MODE_VOICEMAIL_PLAY");
}

TEST_F(CallNotificationsTest, SkypeGoingAwayEmptiesTheCallLists) {
    Notify("CALL 7 STATUS RINGING");
    World().Skype().Quit();
    World().Advance(3000);
    EXPECT_EQ(Link().m_CallList.Count(), 0u);
    EXPECT_EQ(Link().m_CurrCallList.Count(), 0u);
}

}  // namespace

namespace {

class UserNotificationsTest : public CallNotificationsTest {
protected:
    std::vector<std::string> Names() {
        std::vector<std::string> out;
        for (const auto& c : skype::g_SkypeMonitor.m_Contacts.Snapshot()) out.push_back(c.m_strName);
        return out;
    }
};

TEST_F(UserNotificationsTest, ContactsKeepDisplayOrder) {
    for (const char* text : {"USER carol ONLINESTATUS ONLINE", "USER alice ONLINESTATUS OFFLINE",
                             "USER bob ONLINESTATUS ONLINE", "USER dave ONLINESTATUS SKYPEOUT"}) {
        Notify(text);
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"bob", "carol", "dave", "alice"}));
    Notify("USER bob FULLNAME Robert  de  Vries");
    Notify("USER alice ONLINESTATUS AWAY");
    EXPECT_EQ(Names(), (std::vector<std::string>{"alice", "carol", "Robert de Vries", "dave"}));
    Notify("USER dave BUDDYSTATUS 1");
    EXPECT_EQ(Names(), (std::vector<std::string>{"alice", "carol", "Robert de Vries"}));
}

TEST_F(UserNotificationsTest, MissingNamesAndBuddyRequestsAskSkype) {
    const size_t before = World().Skype().Commands().size();
    Notify("USER erin DISPLAYNAME");
    Notify("USER frank BUDDYSTATUS 2");
    const auto all = World().Skype().Commands();
    const std::vector<std::string> sent(all.begin() + static_cast<long>(before), all.end());
    EXPECT_EQ(sent, (std::vector<std::string>{"GET USER erin FULLNAME", "GET USER frank DISPLAYNAME",
                                              "GET USER frank ONLINESTATUS"}));
    EXPECT_EQ(Names(), std::vector<std::string>{"erin"});
}

TEST_F(UserNotificationsTest, OwnFullNameEntersMainEvenDuringACall) {
    Notify("CALL 3 STATUS RINGING");
    Notify("CALL 3 STATUS INPROGRESS");
    Notify("USER echo123 FULLNAME Echo  Sound");
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    EXPECT_EQ(skype::g_SkypeMonitor.UserName(), "Echo");
    Notify("USER echo123 FULLNAME");
    EXPECT_EQ(skype::g_SkypeMonitor.UserName(), "echo123");
}

}  // namespace

namespace {

class SkypeCallModelTest : public testing_support::ProgramTest {};

TEST_F(SkypeCallModelTest, QueriesAboutACallAreAnsweredFromTheModel) {
    World().Skype().Start();
    StartWithStartedHandset();
    World().Skype().SetContact("alice", "ONLINE", "Alice Liddell");
    World().Skype().CallIn("7", "alice", "Alice, Liddell");
    World().Advance(500);
    const auto call = skype::g_SkypeMonitor.m_CurrCallList.FindCall("7");
    ASSERT_TRUE(call.has_value());
    EXPECT_STREQ(call->m_szPartnerHandle, "alice");
    EXPECT_STREQ(call->m_szPartnerName, "Alice Liddell");
    EXPECT_EQ(call->m_nType, skype::E_TYPE_INCOMING_P2P);
    EXPECT_EQ(skype::g_SkypeMonitor.m_Contacts.FindContact("alice")->m_strName, "Alice Liddell");
    // The handset side answers through Skype: Skype confirms the new status.
    skype::SendMessageToSkype("SET CALL 7 STATUS INPROGRESS");
    World().Advance(100);
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
    const int alerts = CountOf("handset-cmd", "CMD_STATUS_ALERT 0 0 0");
    skype::SendMessageToSkype("SET MUTE ON");
    World().Advance(100);
    EXPECT_EQ(skype::g_SkypeMonitor.m_bMute, 1);
    EXPECT_EQ(CountOf("handset-cmd", "CMD_STATUS_ALERT 0 0 0"), alerts + 1);
    World().Skype().CallIn("8", "bob", "");
    World().Skype().SetConference("7", "55");
    World().Skype().SetConference("8", "55");
    World().Advance(200);
    skype::CCurrCallList conference;
    skype::g_SkypeMonitor.m_CallList.CollectConference("55", conference);
    EXPECT_EQ(conference.Count(), 2u);
    World().Skype().EndCall("8", "MISSED");
    World().Advance(100);  // call 7 is resumed and confirmed by Skype
    EXPECT_EQ(Channel("mode").back(), "3 MODE_TALKING");
    World().Skype().EndCall("7", "REFUSED");
    World().Advance(100);
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
}

}  // namespace
