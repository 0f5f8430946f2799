// The Skype link against the simulated Skype peer: attaching, the queries
// that follow, losing Skype and finding it again, and bad deliveries.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"
#include "support/program_fixture.h"

namespace {

using Answer = world::SkypePeer::AttachAnswer;

class SkypeLinkTest : public testing_support::ProgramTest {
protected:
    void StartAll(Answer answer = Answer::Success) {
        World().Skype().SetAttachAnswer(answer);
        World().Skype().Start();
        StartWithStartedHandset();
    }
    // Sends a WM_COPYDATA record to the link's window as `sender`.
    platform::LRESULT SendCopyData(platform::WindowHandle sender, const void* data, uint32_t size) {
        platform::CopyDataStruct record;
        record.cbData = size;
        record.lpData = data;
        const auto r = World().Desktop().SendMessage(skype::g_SkypeMonitor.m_hWnd, platform::WM_COPYDATA,
                                                     sender.value, reinterpret_cast<platform::LPARAM>(&record));
        World().Advance(100);
        return r;
    }
};

TEST_F(SkypeLinkTest, AttachSendsFourQueriesAndFullNameEntersMain) {
    StartAll();
    const auto cmds = Channel("skype-cmd");
    ASSERT_GE(cmds.size(), 10u);
    // Skype's audio set-up comes first, then the four queries.
    EXPECT_EQ(std::vector<std::string>(cmds.begin(), cmds.begin() + 8),
              (std::vector<std::string>{"SET AUDIO_IN USB PHONE", "SET AUDIO_OUT USB PHONE", "SET RINGER USB PHONE",
                                        "SET RINGTONE 1 $PROGRAM/RingTone/", "GET UI_LANGUAGE",
                                        "GET PROFILE PSTN_BALANCE", "GET CURRENTUSERHANDLE", "GET SKYPEVERSION"}));
    EXPECT_NE(std::find(cmds.begin(), cmds.end(), "GET USER echo123 FULLNAME"), cmds.end());
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    EXPECT_TRUE(Logged("SKYPECONTROLAPI_ATTACH_SUCCESS.................."));
    EXPECT_EQ(skype::g_SkypeMonitor.UserName(), "Echo");
    EXPECT_EQ(skype::g_SkypeMonitor.PstnCurrency(), "EUR");
    long version[4];
    skype::SkypeVersionNumbers(version);
    EXPECT_EQ(version[0], 5);
    EXPECT_EQ(version[1], 5);
}

TEST_F(SkypeLinkTest, PendingAuthorizationThenSuccessAttaches) {
    StartAll(Answer::PendingThenSuccess);
    EXPECT_TRUE(Logged("SKYPECONTROLAPI_ATTACH_PENDING_AUTHORIZATION.................."));
    EXPECT_TRUE(skype::g_SkypeMonitor.IsAttached());
}

TEST_F(SkypeLinkTest, RepeatedRefusalIsLoggedEachTimeAndFlaggedOnce) {
    StartAll(Answer::Refused);
    World().Skype().AnnounceApi();  // a second refusal in the same run
    World().Advance(100);
    EXPECT_FALSE(skype::g_SkypeMonitor.IsAttached());
    EXPECT_EQ(CountOf("log", "SKYPECONTROLAPI_ATTACH_REFUSED.................."), 2);
    EXPECT_EQ(skype::g_bAttachRefusedShown, 1);
    EXPECT_EQ(Channel("mode").back(), "16 MODE_UNCONNECTED");
}

TEST_F(SkypeLinkTest, SkypeQuitIsNoticedWithinThreeSecondsAndAnnounceReattaches) {
    StartAll();
    World().Skype().Quit();
    const size_t modesBefore = Channel("mode").size();
    World().Advance(3000);
    ASSERT_EQ(Channel("mode").size(), modesBefore + 1);
    EXPECT_EQ(Channel("mode").back(), "16 MODE_UNCONNECTED");
    EXPECT_FALSE(skype::g_SkypeMonitor.IsAttached());
    EXPECT_EQ(skype::g_SkypeMonitor.UserHandle(), "echo123") << "the user's handle stays until overwritten";
    World().Skype().Start();
    World().Advance(100);
    EXPECT_TRUE(skype::g_SkypeMonitor.IsAttached());
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
}

TEST_F(SkypeLinkTest, SecondSuccessWhileAttachedSendsNoQueries) {
    StartAll();
    const size_t before = Channel("skype-cmd").size();
    World().Desktop().SendMessage(skype::g_SkypeMonitor.m_hWnd, skype::g_SkypeMonitor.m_uAttachMsg,
                                  skype::g_SkypeMonitor.m_hSkypeWnd, 0);
    World().Advance(100);
    EXPECT_EQ(Channel("skype-cmd").size(), before);
}

TEST_F(SkypeLinkTest, SendingRulesForEmptyAndKeepAliveTexts) {
    World().Start();
    platform::LogCapture log;
    EXPECT_EQ(skype::SendMessageToSkype(""), 0) << "not attached";
    EXPECT_EQ(skype::SendMessageToSkype("#111 PING"), 0);
    EXPECT_TRUE(log.Contains("SendMessageToSkype:  #111 PING\n"));
    EXPECT_EQ(skype::SendMessageToSkype("PING"), 0);
    EXPECT_FALSE(log.ContainsFragment("SendMessageToSkype:  PING"));
}

TEST_F(SkypeLinkTest, NotificationsOnlyFromSkypesWindowReachTheParser) {
    StartAll();
    const std::string text = "CONTACTS FOCUSED alice";
    const std::wstring title = L"VARNO-CORVANE";
    EXPECT_EQ(SendCopyData(World().Desktop().FindWindow(nullptr, &title), text.c_str(),
                           static_cast<uint32_t>(text.size() + 1)),
              1);
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "");
    World().Skype().Notify(text);
    World().Advance(100);
    EXPECT_EQ(skype::g_SkypeMonitor.FocusedContact(), "alice");
}

TEST_F(SkypeLinkTest, UnterminatedAndHugeNotificationsAreCutSafely) {
    StartAll();
    const platform::WindowHandle skypeWindow{skype::g_SkypeMonitor.m_hSkypeWnd};
    const char unterminated[] = {'M', 'U', 'T', 'E', ' ', 'O', 'N'};  // no zero
    EXPECT_EQ(SendCopyData(skypeWindow, unterminated, sizeof(unterminated)), 1);
    EXPECT_TRUE(Logged("Skype notification of 7 bytes without a terminating zero"));
    EXPECT_EQ(skype::g_SkypeMonitor.m_bMute, 1);
    std::string huge = "USER echo123 FULLNAME " + std::string(1 << 20, 'x');
    World().Skype().Notify(huge);
    World().Advance(100);
    EXPECT_EQ(skype::g_SkypeMonitor.UserName().size(), static_cast<size_t>(1 << 20));
    World().Skype().Notify("");
    World().Skype().Notify("SKYPEVERSION " + std::string(200, '9'));
    World().Advance(100);
    EXPECT_EQ(skype::SkypeVersionText().size(), skype::kSkypeVersionBytes - 1);
}

}  // namespace

namespace {

class SkypeQuitTest : public testing_support::ProgramTest {};

TEST_F(SkypeQuitTest, SkypeQuittingWhileABatchIsUnderwayIsNoticedWithoutHarm) {
    World().Skype().Start();
    StartWithStartedHandset();
    World().Skype().Notify("USERS alice bob");  // starts a batch with "#111 PING"
    World().Skype().Quit();
    World().Advance(3000);
    EXPECT_TRUE(Logged("SendMessageToSkype:  #111 PING"));
    EXPECT_FALSE(skype::g_SkypeMonitor.IsAttached());
    EXPECT_EQ(Channel("mode").back(), "16 MODE_UNCONNECTED");
}

}  // namespace
