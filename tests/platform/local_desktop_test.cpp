#include "platform/portable/local_desktop.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/backends.h"
#include "platform/sim/virtual_clock.h"
#include "platform/sync.h"

namespace {

using platform::LocalDesktop;
using platform::WindowHandle;

// A user-interface thread with one window, run against virtual time.
class LocalDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        backends_.emplace(platform::Backends{.clock = &clock_});
        ui_.Start("ui", [this] {
            window_ = desktop_.CreateWindow(L"Test.Class", L"TEST", [this](WindowHandle, uint32_t msg,
                                                                          platform::WPARAM w, platform::LPARAM l) {
                return OnMessage(msg, w, l);
            });
            exitCode_ = desktop_.RunMessageLoop();
        });
        clock_.Settle();
    }
    void TearDown() override {
        desktop_.PostMessage(window_, platform::WM_CLOSE, 0, 0);
        ui_.Join();
        backends_.reset();
    }

    platform::LRESULT OnMessage(uint32_t msg, platform::WPARAM w, platform::LPARAM l) {
        const uint64_t at = clock_.GetTickCount64() - start_;
        if (msg == platform::WM_CLOSE) {
            desktop_.PostQuitMessage(7);
            return 0;
        }
        if (msg == platform::WM_TIMER) {
            events_.push_back("timer" + std::to_string(w) + "@" + std::to_string(at));
            if (w == 2) desktop_.KillTimer(window_, 2);
            return 0;
        }
        events_.push_back("msg" + std::to_string(msg) + "@" + std::to_string(at));
        return static_cast<platform::LRESULT>(w) + l;
    }

    platform::sim::VirtualClock clock_;
    uint64_t start_ = clock_.GetTickCount64();
    LocalDesktop desktop_;
    std::optional<platform::ScopedBackends> backends_;
    platform::Thread ui_;
    WindowHandle window_;
    int exitCode_ = -1;
    std::vector<std::string> events_;  // written on the ui thread, read when settled
};

TEST_F(LocalDesktopTest, WindowTimersFireEveryPeriodAndStopWhenKilled) {
    desktop_.SetTimer(window_, 1, 1000);
    desktop_.SetTimer(window_, 2, 1300);
    clock_.Advance(3000);
    EXPECT_EQ(events_, (std::vector<std::string>{"timer1@1000", "timer2@1300", "timer1@2000", "timer1@3000"}));
}

TEST_F(LocalDesktopTest, SettingATimerAgainRestartsIt) {
    desktop_.SetTimer(window_, 1, 1300);
    clock_.Advance(1000);
    desktop_.SetTimer(window_, 1, 1300);
    clock_.Advance(1299);
    EXPECT_TRUE(events_.empty());
    clock_.Advance(1);
    EXPECT_EQ(events_, std::vector<std::string>{"timer1@2300"});
}

TEST_F(LocalDesktopTest, PostedAndSentMessagesReachTheOwningThread) {
    desktop_.PostMessage(window_, platform::WM_USER + 1, 0, 0);
    clock_.Settle();
    EXPECT_EQ(desktop_.SendMessage(window_, platform::WM_USER + 2, 40, 2), 42);
    clock_.Settle();
    EXPECT_EQ(events_, (std::vector<std::string>{"msg1025@0", "msg1026@0"}));
}

TEST_F(LocalDesktopTest, FindWindowByTitleAndClass) {
    const std::wstring title = L"TEST", cls = L"Test.Class", other = L"OTHER";
    EXPECT_EQ(desktop_.FindWindow(nullptr, &title), window_);
    EXPECT_EQ(desktop_.FindWindow(&cls, nullptr), window_);
    EXPECT_FALSE(desktop_.FindWindow(nullptr, &other));
}

TEST_F(LocalDesktopTest, SyntheticKeysGoToTheFocusedWindow) {
    desktop_.KeybdEvent(platform::VK_BACK, 8, 0);  // no focus: nobody gets it
    EXPECT_FALSE(desktop_.SetFocus(window_));
    desktop_.KeybdEvent(platform::VK_BACK, 8, 0);
    desktop_.KeybdEvent(platform::VK_BACK, 8, platform::KEYEVENTF_KEYUP);
    clock_.Settle();
    EXPECT_EQ(events_, (std::vector<std::string>{"msg256@0", "msg257@0"}));
    EXPECT_EQ(desktop_.GetFocus(), window_);
}

TEST_F(LocalDesktopTest, ChildrenAreFoundUnderTheirParentAndVisibleOnlyWithIt) {
    const WindowHandle parent = desktop_.CreateWindow(L"Parent", L"", nullptr);
    const WindowHandle child = desktop_.CreateChildWindow(parent, L"Kid", L"", nullptr);
    const std::wstring kid = L"Kid";
    EXPECT_EQ(desktop_.FindChildWindow(parent, L"Kid"), child);
    EXPECT_FALSE(desktop_.FindChildWindow(window_, L"Kid"));
    EXPECT_FALSE(desktop_.FindWindow(&kid, nullptr)) << "a child is no top-level window";
    EXPECT_FALSE(desktop_.IsWindowVisible(child)) << "created hidden";
    desktop_.ShowWindow(child, true);
    EXPECT_FALSE(desktop_.IsWindowVisible(child)) << "its parent is hidden";
    desktop_.ShowWindow(parent, true);
    EXPECT_TRUE(desktop_.IsWindowVisible(child));
    desktop_.DestroyWindow(parent);
    EXPECT_FALSE(desktop_.IsWindowVisible(child)) << "an orphan is not shown";
}

TEST_F(LocalDesktopTest, ASendToAWindowThatGoesAwayReturnsInsteadOfWaiting) {
    // The window's thread waits for something else and runs no loop, so
    // nobody would ever answer.
    WindowHandle orphan;
    platform::Event release;
    platform::Thread maker;
    maker.Start("maker", [&] {
        orphan = desktop_.CreateWindow(L"Orphan", L"", nullptr);
        release.Wait(platform::kInfinite);
    });
    clock_.Settle();
    platform::LRESULT result = -1;
    platform::Thread sender;
    sender.Start("sender", [&] { result = desktop_.SendMessage(orphan, platform::WM_USER, 1, 2); });
    clock_.Settle();
    EXPECT_FALSE(sender.Finished());
    desktop_.DestroyWindow(orphan);
    clock_.Settle();
    sender.Join();
    EXPECT_EQ(result, 0);
    release.Set();
    maker.Join();
}

TEST_F(LocalDesktopTest, ThreadTimerRunsOnTheLoopThatSetIt) {
    // A second loop thread owns the thread timer; the first one never sees it.
    std::vector<uint64_t> ticks;
    platform::Thread helper;
    helper.Start("timer-loop", [&] {
        desktop_.CreateWindow(L"Helper", L"", [&](WindowHandle self, uint32_t m, platform::WPARAM,
                                                  platform::LPARAM) -> platform::LRESULT {
            if (m == platform::WM_CLOSE) {
                desktop_.DestroyWindow(self);
                desktop_.PostQuitMessage(0);
            }
            return 0;
        });
        desktop_.SetThreadTimer(1000, [&](uintptr_t) { ticks.push_back(clock_.GetTickCount64() - start_); });
        desktop_.RunMessageLoop();
    });
    clock_.Advance(2500);
    const std::wstring cls = L"Helper";
    desktop_.PostMessage(desktop_.FindWindow(&cls, nullptr), platform::WM_CLOSE, 0, 0);
    helper.Join();
    EXPECT_EQ(ticks, (std::vector<uint64_t>{1000, 2000}));
    EXPECT_TRUE(events_.empty());
}

}  // namespace
