// The Windows desktop against the system's window manager: windows found by
// class, title and parent, visibility, rectangles, messages between threads,
// WM_COPYDATA and WM_DEVICECHANGE records, timers and the loop's end.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "desktop_loop.h"
#include "platform/device_change.h"
#include "platform/log.h"
#include "platform/win32/testing/device_records.h"
#include "platform/win32/win32_desktop.h"

namespace {

using namespace platform;
using win32_test::RunLoopWithLimit;

LRESULT Ignore(WindowHandle, uint32_t, WPARAM, LPARAM) { return 0; }

class Win32DesktopTest : public ::testing::Test {
protected:
    WindowHandle Top(const std::wstring& className, const std::wstring& title = L"") {
        WindowHandle w = desktop.CreateWindow(className, title, Ignore);
        made.push_back(w);
        return w;
    }
    void TearDown() override {
        for (WindowHandle w : made) desktop.DestroyWindow(w);
    }
    win32::Win32Desktop desktop;
    std::vector<WindowHandle> made;
};

TEST_F(Win32DesktopTest, FindsTopLevelWindowsByClassAndTitleAndChildrenOnlyThroughTheirParent) {
    const WindowHandle main = Top(L"Corvane.Test.Main", L"Test main");
    const WindowHandle child = desktop.CreateChildWindow(main, L"Corvane.Test.Child", L"", Ignore);
    const WindowHandle grandchild = desktop.CreateChildWindow(child, L"Corvane.Test.Grandchild", L"", Ignore);
    ASSERT_TRUE(main && child && grandchild);

    const std::wstring mainClass = L"Corvane.Test.Main", mainTitle = L"Test main", childClass = L"Corvane.Test.Child";
    EXPECT_EQ(desktop.FindWindow(&mainClass, nullptr), main);
    EXPECT_EQ(desktop.FindWindow(nullptr, &mainTitle), main);
    EXPECT_EQ(desktop.FindWindow(&mainClass, &mainTitle), main);
    EXPECT_FALSE(desktop.FindWindow(&childClass, nullptr)) << "a child is no top-level window";
    EXPECT_EQ(desktop.FindChildWindow(main, childClass), child);
    EXPECT_FALSE(desktop.FindChildWindow(main, L"Corvane.Test.Grandchild")) << "only direct children";
    EXPECT_EQ(desktop.FindChildWindow(child, L"Corvane.Test.Grandchild"), grandchild);

    EXPECT_EQ(desktop.GetParent(grandchild), child);
    EXPECT_EQ(desktop.GetParent(child), main);
    EXPECT_FALSE(desktop.GetParent(main));
    EXPECT_EQ(desktop.GetClassName(grandchild), L"Corvane.Test.Grandchild");

    EXPECT_TRUE(desktop.SetWindowText(main, L"Renamed"));
    const std::wstring renamed = L"Renamed";
    EXPECT_EQ(desktop.FindWindow(nullptr, &renamed), main);
    EXPECT_FALSE(desktop.FindWindow(nullptr, &mainTitle));

    EXPECT_TRUE(desktop.DestroyWindow(main));
    EXPECT_FALSE(desktop.IsWindow(main));
    EXPECT_FALSE(desktop.IsWindow(grandchild)) << "children go with their parent";
    EXPECT_FALSE(desktop.DestroyWindow(main));
}

TEST_F(Win32DesktopTest, AWindowIsVisibleOnlyWhenItAndEveryParentAreShown) {
    const WindowHandle main = Top(L"Corvane.Test.Shown");
    const WindowHandle child = desktop.CreateChildWindow(main, L"Corvane.Test.ShownChild", L"", Ignore);
    struct Case {
        bool mainShown, childShown, childVisible;
    };
    for (const Case& c : {Case{false, false, false}, Case{false, true, false}, Case{true, false, false},
                          Case{true, true, true}}) {
        desktop.ShowWindow(main, c.mainShown);
        desktop.ShowWindow(child, c.childShown);
        EXPECT_EQ(desktop.IsWindowVisible(main), c.mainShown);
        EXPECT_EQ(desktop.IsWindowVisible(child), c.childVisible) << c.mainShown << c.childShown;
    }
    EXPECT_TRUE(desktop.ShowWindow(child, false)) << "ShowWindow tells whether it was shown";
    EXPECT_FALSE(desktop.ShowWindow(child, false));
}

TEST_F(Win32DesktopTest, RectanglesAreInScreenCoordinatesForChildrenToo) {
    const WindowHandle main = Top(L"Corvane.Test.Rect");
    const WindowHandle child = desktop.CreateChildWindow(main, L"Corvane.Test.RectChild", L"", Ignore);
    ASSERT_TRUE(desktop.SetWindowRect(main, WindowRect{100, 50, 500, 450}));
    ASSERT_TRUE(desktop.SetWindowRect(child, WindowRect{150, 70, 351, 130}));
    WindowRect rect;
    ASSERT_TRUE(desktop.GetWindowRect(child, rect));
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 351);
    EXPECT_EQ(rect.bottom, 130);
}

TEST_F(Win32DesktopTest, SentMessagesRunOnTheOwnersThreadAndReturnItsAnswer) {
    std::atomic<uint32_t> ownerThread{0}, handledOn{0};
    WindowHandle window;
    std::thread owner([&] {
        window = desktop.CreateWindow(L"Corvane.Test.Owner", L"", [&](WindowHandle w, uint32_t m, WPARAM wp, LPARAM) -> LRESULT {
            if (m != WM_USER + 7) return 0;
            handledOn = static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
            if (wp == 99) {
                desktop.DestroyWindow(w);
                desktop.PostQuitMessage(0);
            }
            return static_cast<LRESULT>(wp * 2);
        });
        ownerThread = static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
        RunLoopWithLimit(desktop);
    });
    while (ownerThread == 0) std::this_thread::yield();
    EXPECT_EQ(desktop.SendMessage(window, WM_USER + 7, 21, 0), 42);
    EXPECT_EQ(handledOn.load(), ownerThread.load());
    EXPECT_EQ(desktop.SendMessage(window, WM_USER + 7, 99, 0), 198);
    owner.join();
    EXPECT_FALSE(desktop.IsWindow(window));
    EXPECT_EQ(desktop.SendMessage(window, WM_USER + 7, 1, 0), 0) << "a window that is gone answers 0";
}

TEST_F(Win32DesktopTest, AnotherThreadMayDestroyAWindowAndSetItsTimers) {
    std::atomic<int> ticks{0};
    WindowHandle window;
    std::atomic<bool> ready{false};
    std::thread owner([&] {
        window = desktop.CreateWindow(L"Corvane.Test.Remote", L"", [&](WindowHandle, uint32_t m, WPARAM wp, LPARAM) -> LRESULT {
            if (m == WM_TIMER && wp == 5 && ++ticks == 3) desktop.PostQuitMessage(0);
            if (m == WM_DESTROY) desktop.PostQuitMessage(0);
            return 0;
        });
        ready = true;
        EXPECT_TRUE(RunLoopWithLimit(desktop)) << "the timer set from another thread never fired";
        // The destroy request may already have been answered by the loop
        // above, before its quit; only this thread can answer it, so the
        // window's presence here is settled.
        if (desktop.IsWindow(window)) {
            EXPECT_TRUE(RunLoopWithLimit(desktop)) << "the destroy request never came";
        }
    });
    while (!ready) std::this_thread::yield();
    EXPECT_TRUE(desktop.SetTimer(window, 5, 10));
    while (ticks < 3) std::this_thread::yield();
    EXPECT_TRUE(desktop.KillTimer(window, 5));
    EXPECT_TRUE(desktop.DestroyWindow(window));
    EXPECT_FALSE(desktop.IsWindow(window));
    owner.join();
}

TEST_F(Win32DesktopTest, WindowTimersTickUntilKilledAndThreadTimersCallTheirProc) {
    int windowTicks = 0, threadTicks = 0, ticksAtKill = -1;
    uintptr_t threadTimerSeen = 0;
    WindowHandle window = desktop.CreateWindow(L"Corvane.Test.Timer", L"", [&](WindowHandle w, uint32_t m, WPARAM wp, LPARAM) -> LRESULT {
        if (m != WM_TIMER || wp != 17) return 0;
        if (++windowTicks == 3) {
            desktop.KillTimer(w, 17);
            ticksAtKill = windowTicks;
        }
        return 0;
    });
    made.push_back(window);
    ASSERT_TRUE(desktop.SetTimer(window, 17, 10));
    uintptr_t threadTimer = 0;
    threadTimer = desktop.SetThreadTimer(30, [&](uintptr_t id) {
        threadTimerSeen = id;
        // Three thread ticks of 30 ms leave the killed 10 ms timer time to
        // show itself again if the kill had not held.
        if (++threadTicks == 3) desktop.PostQuitMessage(0);
    });
    ASSERT_NE(threadTimer, 0u);
    ASSERT_TRUE(RunLoopWithLimit(desktop));
    EXPECT_EQ(threadTimerSeen, threadTimer);
    EXPECT_EQ(ticksAtKill, 3);
    EXPECT_EQ(windowTicks, 3) << "WM_TIMER after KillTimer";
    EXPECT_TRUE(desktop.KillThreadTimer(threadTimer));
    EXPECT_FALSE(desktop.KillThreadTimer(threadTimer));
    EXPECT_FALSE(desktop.KillTimer(window, 17)) << "already killed";
}

TEST_F(Win32DesktopTest, TheLoopEndsWithTheQuitCode) {
    desktop.SetThreadTimer(1, [&](uintptr_t id) {
        desktop.KillThreadTimer(id);
        desktop.PostQuitMessage(37);
    });
    EXPECT_EQ(desktop.RunMessageLoop(), 37);
}

TEST_F(Win32DesktopTest, CopyDataReachesTheHandlerAsThePortsRecord) {
    std::string received;
    uintptr_t tag = 0;
    const WindowHandle window = desktop.CreateWindow(L"Corvane.Test.Copy", L"", [&](WindowHandle, uint32_t m, WPARAM, LPARAM l) -> LRESULT {
        if (m != WM_COPYDATA) return 0;
        const auto* record = reinterpret_cast<const CopyDataStruct*>(l);
        received.assign(static_cast<const char*>(record->lpData), record->cbData);
        tag = record->dwData;
        return 1;
    });
    made.push_back(window);
    const std::string text = "GET SKYPEVERSION";
    CopyDataStruct record{7, static_cast<uint32_t>(text.size() + 1), text.c_str()};
    EXPECT_EQ(desktop.SendMessage(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 1);
    EXPECT_EQ(received, std::string(text.c_str(), text.size() + 1));
    EXPECT_EQ(tag, 7u);
}

TEST_F(Win32DesktopTest, AWindowThatGoesAwayDuringCopyDataAnswersZeroWithALogLine) {
    LogCapture log;
    const WindowHandle window = desktop.CreateWindow(L"Corvane.Test.Vanish", L"", [&](WindowHandle w, uint32_t m, WPARAM, LPARAM) -> LRESULT {
        if (m == WM_COPYDATA) desktop.DestroyWindow(w);
        return 0;
    });
    const std::string text = "PING";
    CopyDataStruct record{0, 5, text.c_str()};
    EXPECT_EQ(desktop.SendMessage(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 0);
    EXPECT_FALSE(desktop.IsWindow(window));
    EXPECT_TRUE(log.ContainsFragment("went away during WM_COPYDATA"));
    EXPECT_EQ(desktop.SendMessage(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 0);
}

TEST_F(Win32DesktopTest, DeviceChangeRecordsReachTheHandlerInThePortsForm) {
    struct Seen {
        bool record = false;
        uint32_t type = 0;
        std::wstring name;
    } seen;
    const WindowHandle window = desktop.CreateWindow(L"Corvane.Test.Devices", L"", [&](WindowHandle, uint32_t m, WPARAM, LPARAM l) -> LRESULT {
        if (m != WM_DEVICECHANGE) return 0;
        const auto* record = reinterpret_cast<const DevBroadcastDeviceInterface*>(l);
        seen = Seen{record != nullptr, record ? record->dbcc_devicetype : 0, record ? record->dbcc_name : L""};
        return 1;
    });
    made.push_back(window);
    const std::wstring path = L"\\\\?\\HID#VID_04D9&PID_2832&MI_01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    struct Case {
        const char* what;
        size_t declaredChars;
        std::wstring expected;
    };
    for (const Case& c : {Case{"whole path with terminator", path.size() + 1, path},
                          Case{"declared size ends at the path's end", path.size(), path},
                          Case{"declared size cuts the path", 12, path.substr(0, 12)},
                          Case{"no room for any character", 0, L""}}) {
        seen = Seen{};
        EXPECT_EQ(win32::testing::SendInterfaceChange(window, DBT_DEVICEARRIVAL, path, c.declaredChars), 1) << c.what;
        EXPECT_TRUE(seen.record) << c.what;
        EXPECT_EQ(seen.type, DBT_DEVTYP_DEVICEINTERFACE) << c.what;
        EXPECT_EQ(seen.name, c.expected) << c.what;
    }
    seen = Seen{};
    win32::testing::SendVolumeChange(window, DBT_DEVICEREMOVECOMPLETE);
    EXPECT_TRUE(seen.record);
    EXPECT_NE(seen.type, DBT_DEVTYP_DEVICEINTERFACE);
    EXPECT_TRUE(seen.name.empty());
    seen = Seen{};
    seen.record = true;
    win32::testing::SendBareDeviceChange(window, 7);
    EXPECT_FALSE(seen.record) << "no record, no pointer";
}

TEST_F(Win32DesktopTest, RegisteredMessagesAreStableAndInTheirRange) {
    const uint32_t attach = desktop.RegisterWindowMessage(L"SkypeControlAPIAttach");
    EXPECT_GE(attach, 0xC000u);
    EXPECT_LE(attach, 0xFFFFu);
    EXPECT_EQ(desktop.RegisterWindowMessage(L"SkypeControlAPIAttach"), attach);
    EXPECT_NE(desktop.RegisterWindowMessage(L"SkypeControlAPIDiscover"), attach);
}

}  // namespace
