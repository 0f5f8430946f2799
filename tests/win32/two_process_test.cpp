// The Windows desktop between two processes: this test and the Skype
// stand-in exchange registered broadcasts, attach answers and WM_COPYDATA
// texts through the system, and the stand-in's windows are found by class.
//
// Broadcasts reach every top-level window of the Wine session: these tests
// must not run beside another process that answers Skype's messages.

#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "desktop_loop.h"
#include "platform/log.h"
#include "platform/text_codec.h"
#include "platform/win32/testing/child_process.h"
#include "platform/win32/win32_desktop.h"

namespace {

using namespace platform;
using win32_test::RunLoopWithLimit;

constexpr LPARAM kApiAvailable = 0x8001;
constexpr uint32_t kExitLimitMs = 30000;

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        attach_ = desktop.RegisterWindowMessage(L"SkypeControlAPIAttach");
        discover_ = desktop.RegisterWindowMessage(L"SkypeControlAPIDiscover");
        client = desktop.CreateWindow(L"Corvane.Test.SkypeClient", L"",
                                      [this](WindowHandle, uint32_t m, WPARAM w, LPARAM l) { return Handle(m, w, l); });
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::path(::testing::TempDir()) / (std::string("standin-") + info->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { desktop.DestroyWindow(client); }

    // Starts the stand-in on the script; it announces itself to `client`.
    void Start(const std::string& script) {
        std::ofstream(folder_ / "script.txt", std::ios::binary) << script;
        const std::wstring line = L"\"" + win32::testing::OwnFolder() + L"skype-standin.exe\" --script \"" +
                                  (folder_ / "script.txt").wstring() + L"\" --record \"" +
                                  (folder_ / "record.txt").wstring() + L"\" --wait-limit 20000";
        ASSERT_TRUE(standIn_.Start(line)) << "skype-standin.exe beside the test program";
    }

    bool RunUntil(std::function<bool()> condition) {
        if (condition()) return true;
        until_ = std::move(condition);
        // Windows of the other process come and go without a message to us.
        const uintptr_t poll = desktop.SetThreadTimer(20, [this](uintptr_t) {
            if (until_ && until_()) desktop.PostQuitMessage(0);
        });
        const bool ended = RunLoopWithLimit(desktop);
        desktop.KillThreadTimer(poll);
        until_ = nullptr;
        return ended;
    }

    LRESULT Handle(uint32_t message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        if (message == attach_ && attach_ != 0) {
            if (lParam == kApiAvailable) {
                announcedBy = WindowHandle{static_cast<uint32_t>(wParam)};
            } else {
                skype = WindowHandle{static_cast<uint32_t>(wParam)};
                statuses.push_back(lParam);
            }
            result = 1;
        } else if (message == WM_COPYDATA) {
            const auto* record = reinterpret_cast<const CopyDataStruct*>(lParam);
            const char* data = static_cast<const char*>(record->lpData);
            notifications.emplace_back(data, strnlen(data, record->cbData));
            result = 1;
        }
        if (until_ && until_()) desktop.PostQuitMessage(0);
        return result;
    }

    bool Attach() {
        if (!RunUntil([&] { return static_cast<bool>(announcedBy); })) return false;
        desktop.BroadcastMessage(discover_, client.value, 0);
        return RunUntil([&] { return !statuses.empty() && statuses.back() == 0; });
    }

    LRESULT Send(const std::string& text) {
        CopyDataStruct record{0, static_cast<uint32_t>(text.size() + 1), text.c_str()};
        return desktop.SendMessage(skype, WM_COPYDATA, client.value, reinterpret_cast<LPARAM>(&record));
    }

    // The stand-in's exit code once it has ended (99: it did not end in time).
    uint32_t Finish() {
        uint32_t code = 99;
        if (!standIn_.Wait(kExitLimitMs, code)) standIn_.Kill();
        return code;
    }

    std::vector<std::string> Recorded() {
        std::ifstream in(folder_ / "record.txt", std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    win32::Win32Desktop desktop;
    WindowHandle client, announcedBy, skype;
    std::vector<LPARAM> statuses;
    std::vector<std::string> notifications;

private:
    uint32_t attach_ = 0, discover_ = 0;
    std::function<bool()> until_;
    std::filesystem::path folder_;
    win32::testing::ChildProcess standIn_;
};

TEST_F(StandInTest, TheApiAnnouncementAndTheDiscoverAnswerCrossTheProcessBoundary) {
    struct Case {
        const char* attach;
        std::vector<LPARAM> statuses;
    };
    for (const Case& c : {Case{"0", {0}}, Case{"1", {1, 0}}, Case{"2", {2}}, Case{"3", {3}}}) {
        SCOPED_TRACE(c.attach);
        statuses.clear();
        announcedBy = skype = WindowHandle{};
        Start(std::string("attach ") + c.attach + "\nstart\nawait DONE\n");
        ASSERT_TRUE(RunUntil([&] { return static_cast<bool>(announcedBy); })) << "no API announcement";
        desktop.BroadcastMessage(desktop.RegisterWindowMessage(L"SkypeControlAPIDiscover"), client.value, 0);
        ASSERT_TRUE(RunUntil([&] { return statuses.size() >= c.statuses.size(); })) << "no attach answer";
        EXPECT_EQ(statuses, c.statuses);
        EXPECT_EQ(skype, announcedBy) << "the answer comes from the window that announced itself";
        EXPECT_EQ(Send("DONE"), 1);
        EXPECT_EQ(Finish(), 0u);
        EXPECT_EQ(Recorded(), std::vector<std::string>{"DONE"});
    }
}

TEST_F(StandInTest, CommandsAreRecordedAndAnsweredAndScriptedNotificationsArrive) {
    Start("start\nawait PING\nnotify \"CALL 7 STATUS RINGING\"\nawait DONE\n");
    ASSERT_TRUE(Attach());
    for (const char* command : {"GET SKYPEVERSION", "#111 PING", "PING"}) EXPECT_EQ(Send(command), 1) << command;
    ASSERT_TRUE(RunUntil([&] { return notifications.size() >= 4; }));
    // The scripted notification leaves once the awaited command has arrived,
    // so it may overtake that command's own answer; the answers keep their
    // order, and the notification comes after the earlier commands' answers.
    std::vector<std::string> answers = notifications;
    const auto ringing = std::find(answers.begin(), answers.end(), "CALL 7 STATUS RINGING");
    ASSERT_NE(ringing, answers.end());
    EXPECT_GE(ringing - answers.begin(), 2) << "the notification before the earlier answers";
    answers.erase(ringing);
    EXPECT_EQ(answers, (std::vector<std::string>{"SKYPEVERSION 5.5.0.124", "#111 PONG", "PONG"}));
    EXPECT_EQ(Send("DONE"), 1);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"GET SKYPEVERSION", "#111 PING", "PING", "DONE"}));
}

TEST_F(StandInTest, TheClientsWindowsAreFoundByClassInTheOtherProcess) {
    Start("start\nwindow open TfrmCallQuality\nawait DONE\n");
    ASSERT_TRUE(Attach());
    const std::wstring mainClass = L"tSkMainForm", quality = L"TfrmCallQuality";
    const WindowHandle main = desktop.FindWindow(&mainClass, nullptr);
    ASSERT_TRUE(main);
    EXPECT_TRUE(desktop.IsWindowVisible(main));
    WindowHandle w = main;
    for (const wchar_t* name : {L"TCallPhonesForm", L"TCallPhonesCanvas", L"TDialerControl", L"TskRichEdit_"}) {
        w = desktop.FindChildWindow(w, name);
        ASSERT_TRUE(w) << "no child " << WideToUtf8(name);
        EXPECT_EQ(desktop.GetClassName(w), name);
    }
    EXPECT_EQ(desktop.GetParent(w), desktop.FindChildWindow(desktop.FindChildWindow(desktop.FindChildWindow(main, L"TCallPhonesForm"), L"TCallPhonesCanvas"), L"TDialerControl"));
    WindowRect dialer;
    ASSERT_TRUE(desktop.GetWindowRect(desktop.GetParent(w), dialer));
    EXPECT_EQ(dialer.left, 400);
    EXPECT_EQ(dialer.top, 300);
    EXPECT_EQ(dialer.right - dialer.left, 201);
    EXPECT_EQ(dialer.bottom - dialer.top, 60);
    const WindowHandle opened = desktop.FindWindow(&quality, nullptr);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(desktop.PostMessage(opened, WM_CLOSE, 0, 0));
    EXPECT_TRUE(RunUntil([&] { return !desktop.IsWindow(opened); })) << "the window closes on WM_CLOSE";
    EXPECT_TRUE(desktop.IsWindow(main));
    EXPECT_EQ(Send("DONE"), 1);
    EXPECT_EQ(Finish(), 0u);
}

TEST_F(StandInTest, AClientThatHasEndedAnswersZeroWithALogLine) {
    Start("start\nawait QUIT\nquit\n");
    ASSERT_TRUE(Attach());
    EXPECT_EQ(Send("QUIT"), 1);
    EXPECT_EQ(Finish(), 0u);
    LogCapture log;
    EXPECT_EQ(Send("PING"), 0);
    EXPECT_TRUE(log.ContainsFragment("WM_COPYDATA not delivered"));
    EXPECT_FALSE(desktop.IsWindow(skype));
}

}  // namespace
