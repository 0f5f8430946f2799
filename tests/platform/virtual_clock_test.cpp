#include "platform/sim/virtual_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "platform/backends.h"
#include "platform/sync.h"

namespace {

using platform::sim::VirtualClock;

// Installs a fresh virtual clock for one test.
class VirtualClockTest : public ::testing::Test {
protected:
    void SetUp() override { backends_.emplace(platform::Backends{.clock = &clock_}); }
    void TearDown() override { backends_.reset(); }

    // Appends under the clock's own mutex so the log needs no lock of its own.
    void Record(const std::string& what) {
        std::lock_guard<std::mutex> lock(logMutex_);
        log_.push_back(what + "@" + std::to_string(clock_.GetTickCount64() - start_));
    }
    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> lock(logMutex_);
        return log_;
    }

    VirtualClock clock_;
    std::optional<platform::ScopedBackends> backends_;
    uint64_t start_ = clock_.GetTickCount64();
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

TEST_F(VirtualClockTest, TickCountStartsAboveLongPressWindowAndCanBeSet) {
    EXPECT_GT(clock_.GetTickCount64(), 1300u);
    clock_.SetTickCount(500);
    EXPECT_EQ(clock_.GetTickCount(), 500u);
}

TEST_F(VirtualClockTest, SleepingThreadsWakeAtTheirDeadlinesInOrder) {
    std::atomic<bool> stop{false};
    platform::Thread a, b;
    a.Start("a", [&] {
        for (int i = 0; i < 3; ++i) {
            platform::Sleep(300);
            Record("a");
        }
    });
    b.Start("b", [&] {
        for (int i = 0; i < 2; ++i) {
            platform::Sleep(450);
            Record("b");
        }
    });
    clock_.Advance(1000);
    a.Join();
    b.Join();
    // Threads due at the same instant run one after the other in a fixed order.
    EXPECT_EQ(Log(), (std::vector<std::string>{"a@300", "b@450", "a@600", "b@900", "a@900"}));
    EXPECT_EQ(clock_.GetTickCount64() - start_, 1000u);
}

TEST_F(VirtualClockTest, TenSecondsOfWaitsCostNoRealTimeAndRepeatExactly) {
    // The same interleaving of threads woken at the same instant, run after run.
    std::vector<std::string> first;
    for (int run = 0; run < 5; ++run) {
        log_.clear();
        start_ = clock_.GetTickCount64();
        platform::Thread t1, t2, t3;
        t1.Start("t1", [&] { for (int i = 0; i < 100; ++i) { platform::Sleep(100); Record("1"); } });
        t2.Start("t2", [&] { for (int i = 0; i < 50; ++i) { platform::Sleep(200); Record("2"); } });
        t3.Start("t3", [&] { for (int i = 0; i < 20; ++i) { platform::Sleep(500); Record("3"); } });
        clock_.Advance(10000);
        t1.Join();
        t2.Join();
        t3.Join();
        if (run == 0) first = Log();
        ASSERT_EQ(Log(), first) << "run " << run;
    }
    EXPECT_EQ(first.size(), 170u);
}

TEST_F(VirtualClockTest, EventFromOutsideWakesProgramThreadOnSettle) {
    platform::Event event;
    std::atomic<int> woken{0};
    platform::Thread t;
    t.Start("waiter", [&] {
        while (woken < 2) {
            if (event.Wait(platform::kInfinite)) ++woken;
        }
    });
    clock_.Settle();
    EXPECT_EQ(woken, 0);
    event.Set();
    clock_.Settle();
    EXPECT_EQ(woken, 1);
    event.Set();
    t.Join();
    EXPECT_EQ(woken, 2);
}

TEST_F(VirtualClockTest, EventWaitTimesOutInVirtualTime) {
    platform::Event event;
    std::atomic<bool> result{true};
    platform::Thread t;
    t.Start("waiter", [&] {
        result = event.Wait(2000);
        Record("timeout");
    });
    clock_.Advance(1999);
    EXPECT_TRUE(Log().empty());
    clock_.Advance(1);
    t.Join();
    EXPECT_FALSE(result);
    EXPECT_EQ(Log(), std::vector<std::string>{"timeout@2000"});
}

TEST_F(VirtualClockTest, LockHeldAcrossSleepBlocksOtherThreadUntilReleased) {
    platform::CriticalSection lock;
    platform::Thread holder, waiter;
    holder.Start("holder", [&] {
        platform::Guard g(lock);
        Record("holder-in");
        platform::Sleep(25);
        Record("holder-out");
    });
    waiter.Start("waiter", [&] {
        platform::Sleep(10);
        platform::Guard g(lock);
        Record("waiter-in");
    });
    clock_.Advance(100);
    holder.Join();
    waiter.Join();
    EXPECT_EQ(Log(), (std::vector<std::string>{"holder-in@0", "holder-out@25", "waiter-in@25"}));
}

TEST_F(VirtualClockTest, CriticalSectionIsReentrant) {
    platform::CriticalSection lock;
    lock.Enter();
    lock.Enter();
    EXPECT_TRUE(lock.IsHeldByCurrentThread());
    lock.Leave();
    EXPECT_TRUE(lock.IsHeldByCurrentThread());
    lock.Leave();
    EXPECT_FALSE(lock.IsHeldByCurrentThread());
}

TEST_F(VirtualClockTest, IdleThreadsCostNoTurns) {
    platform::Event never;
    platform::Thread t;
    std::atomic<bool> stop{false};
    t.Start("idle", [&] { while (!stop) never.Wait(platform::kInfinite); });
    clock_.Settle();
    const uint64_t before = clock_.TurnCount();
    clock_.Advance(60000);
    EXPECT_EQ(clock_.TurnCount(), before);
    stop = true;
    never.Set();
    t.Join();
}

}  // namespace

namespace {

TEST(VirtualClockLocalTime, MovesWithTheTicksAcrossMidnight) {
    platform::sim::VirtualClock clock;
    platform::LocalTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 31;
    t.hour = 23;
    t.minute = 59;
    t.second = 59;
    t.milliseconds = 500;
    clock.SetLocalTime(t);
    clock.Advance(700);
    const platform::LocalTime now = clock.GetLocalTime();
    EXPECT_EQ(now.year, 2027);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.milliseconds, 200);
    EXPECT_EQ(now.dayOfWeek, 5);  // a Friday
}

}  // namespace
