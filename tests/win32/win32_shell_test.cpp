// The Windows shell against the system: the notification-area icon added,
// changed and removed. Wine's null graphics driver has no notification area,
// so the icon calls are tried twice: against nothing (they fail, with a log
// line) and against a notification-area window of the test's own, which the
// system's icon call hands its record to as WM_COPYDATA.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/system_tray.h"
#include "desktop_loop.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"

namespace {

using namespace platform;

const std::wstring kTrayClass = L"Shell_TrayWnd";

// True when the record holds `tip` as UTF-16 followed by its terminator.
bool HoldsTip(const std::vector<uint8_t>& record, const std::wstring& tip) {
    std::vector<uint8_t> pattern;
    for (wchar_t c : tip + L'\0') {
        pattern.push_back(static_cast<uint8_t>(c & 0xFF));
        pattern.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    return std::search(record.begin(), record.end(), pattern.begin(), pattern.end()) != record.end();
}

class Win32ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = desktop.CreateWindow(L"Corvane.Test.TrayOwner", L"", [](WindowHandle, uint32_t, WPARAM, LPARAM) -> LRESULT { return 0; });
        data.window = owner;
        data.id = 130;
        data.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.callbackMessage = WM_APP + 10;
        data.icon = IconRef{IconRef::Kind::Standard, IDI_ASTERISK};
        data.tip = L"USB Phone";
    }
    void TearDown() override {
        if (area) desktop.DestroyWindow(area);
        desktop.DestroyWindow(owner);
    }
    // A notification area of our own that answers every icon call with `answer`.
    void OpenArea(LRESULT answer) {
        area = desktop.CreateWindow(kTrayClass, L"", [this, answer](WindowHandle, uint32_t m, WPARAM, LPARAM l) -> LRESULT {
            if (m != WM_COPYDATA) return 0;
            const auto* record = reinterpret_cast<const CopyDataStruct*>(l);
            const auto* bytes = static_cast<const uint8_t*>(record->lpData);
            records.emplace_back(bytes, bytes + record->cbData);
            return answer;
        });
        ASSERT_TRUE(area);
    }

    win32::Win32Desktop desktop;
    win32::Win32Shell shell;
    WindowHandle owner, area;
    NotifyIconData data;
    std::vector<std::vector<uint8_t>> records;
};

TEST_F(Win32ShellTest, TheShellIsNewEnoughForATrayIcon) { EXPECT_GE(shell.MajorVersion(), 4u); }

TEST_F(Win32ShellTest, WithoutANotificationAreaEveryIconCallFailsWithALogLine) {
    if (desktop.FindWindow(&kTrayClass, nullptr)) GTEST_SKIP() << "this system has a notification area";
    LogCapture log;
    for (NotifyIconMessage m : {NotifyIconMessage::Add, NotifyIconMessage::Modify, NotifyIconMessage::Delete}) {
        EXPECT_FALSE(shell.NotifyIcon(m, data));
    }
    EXPECT_EQ(log.Texts().size(), 3u);
    EXPECT_TRUE(log.ContainsFragment("Shell_NotifyIcon"));
}

TEST_F(Win32ShellTest, TheIconIsAddedChangedAndRemovedThroughTheNotificationArea) {
    if (desktop.FindWindow(&kTrayClass, nullptr)) GTEST_SKIP() << "this system has a notification area of its own";
    OpenArea(1);
    EXPECT_TRUE(shell.NotifyIcon(NotifyIconMessage::Add, data));
    data.flags = NIF_TIP;
    data.tip = L"USB Phone: connected to Skype";
    EXPECT_TRUE(shell.NotifyIcon(NotifyIconMessage::Modify, data));
    data.flags = NIF_ICON;
    data.icon = IconRef{IconRef::Kind::Standard, IDI_HAND};
    EXPECT_TRUE(shell.NotifyIcon(NotifyIconMessage::Modify, data));
    data.flags = 0;
    EXPECT_TRUE(shell.NotifyIcon(NotifyIconMessage::Delete, data));
    ASSERT_EQ(records.size(), 4u) << "one record per icon call";
    EXPECT_TRUE(HoldsTip(records[0], L"USB Phone"));
    EXPECT_TRUE(HoldsTip(records[1], L"USB Phone: connected to Skype"));
}

TEST_F(Win32ShellTest, ALongTipIsCutToTheFieldAndARefusedCallIsReported) {
    if (desktop.FindWindow(&kTrayClass, nullptr)) GTEST_SKIP() << "this system has a notification area of its own";
    OpenArea(0);
    std::wstring tip;
    for (int n = 0; tip.size() < 200; ++n) tip += static_cast<wchar_t>(L'a' + n % 26);
    data.tip = tip;
    LogCapture log;
    EXPECT_FALSE(shell.NotifyIcon(NotifyIconMessage::Add, data)) << "the area refused it";
    EXPECT_TRUE(log.ContainsFragment("Shell_NotifyIcon"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(HoldsTip(records[0], tip.substr(0, kTrayTipChars - 1)));
    EXPECT_FALSE(HoldsTip(records[0], tip.substr(0, kTrayTipChars)));
}

TEST_F(Win32ShellTest, ARestartedShellsBroadcastBringsTheProgramsIconBack) {
    if (desktop.FindWindow(&kTrayClass, nullptr)) GTEST_SKIP() << "this system has a notification area of its own";
    ScopedBackends backends(Backends{.desktop = &desktop, .shell = &shell});
    OpenArea(1);
    {
        app::CSystemTray tray;
        ASSERT_EQ(tray.Create(owner, 128), 1);
        ASSERT_EQ(records.size(), 1u);
        desktop.BroadcastMessage(desktop.RegisterWindowMessage(L"TaskbarCreated"), 0, 0);
        ASSERT_EQ(records.size(), 2u) << "the icon is added again";
        EXPECT_TRUE(HoldsTip(records[1], L"USB Phone"));
    }
    EXPECT_EQ(records.size(), 3u) << "and removed when the tray object goes";
}

TEST_F(Win32ShellTest, TheTrayMenuIsTrackedUntilItIsCancelledAndThenChoosesNothing) {
    constexpr uint32_t kCancelMode = 0x001F;  // WM_CANCELMODE: the system ends menu tracking on it
    std::vector<WPARAM> commands;
    const WindowHandle menuOwner = desktop.CreateWindow(L"Corvane.Test.MenuOwner", L"", [&](WindowHandle, uint32_t m, WPARAM w, LPARAM) -> LRESULT {
        if (m == WM_COMMAND) commands.push_back(w);
        return 0;
    });
    MenuItem languages{0, L"Language", false, false, {{32786, L"English", false, true, {}}, {32788, L"Polski", false, false, {}}}};
    const std::vector<MenuItem> menu = {languages, MenuItem{0, L"", true, false, {}}, MenuItem{32775, L"Exit", false, false, {}}};
    int cancels = 0;
    // The menu's own loop runs the thread's timers.
    const uintptr_t cancel = desktop.SetThreadTimer(100, [&](uintptr_t) {
        ++cancels;
        desktop.SendMessage(menuOwner, kCancelMode, 0, 0);
    });
    shell.TrackPopupMenu(menu, menuOwner);
    desktop.KillThreadTimer(cancel);
    EXPECT_GE(cancels, 1) << "the menu returned before it was cancelled";
    // A chosen command would be posted to the owner; run what is queued.
    desktop.PostMessage(menuOwner, WM_USER, 0, 0);
    desktop.SetThreadTimer(50, [&](uintptr_t id) {
        desktop.KillThreadTimer(id);
        desktop.PostQuitMessage(0);
    });
    ASSERT_TRUE(win32_test::RunLoopWithLimit(desktop));
    EXPECT_TRUE(commands.empty());
    desktop.DestroyWindow(menuOwner);
}

}  // namespace
