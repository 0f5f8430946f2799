#pragma once
// The clock of the fuzz targets. They run the program on one thread, so a
// timed wait that is not satisfied at once can only end by its timeout: its
// time passes at once and the wait returns. A wait without a time limit that
// is not satisfied at once would never end, and neither may a program thread
// start: both stop the run with a message, as libFuzzer reports a crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>

#include "platform/clock.h"

namespace fuzzing {

class FuzzClock final : public platform::Clock {
public:
    static constexpr uint64_t kStartTick = 3600000;

    // Back to the first tick, so each input sees the same times.
    void Restart() { ticks_ = kStartTick; }

    uint64_t GetTickCount64() override { return ticks_; }
    // A fixed day, moving with the ticks, so that screens come out the same
    // for the same input.
    platform::LocalTime GetLocalTime() override {
        const uint64_t seconds = (ticks_ - kStartTick) / 1000;
        platform::LocalTime t;
        t.year = 2026;
        t.month = 3;
        t.dayOfWeek = 4;
        t.day = 12;
        t.hour = 9 + static_cast<int>(seconds / 3600 % 12);
        t.minute = static_cast<int>(seconds / 60 % 60);
        t.second = static_cast<int>(seconds % 60);
        return t;
    }
    std::mutex& StateMutex() override { return mutex_; }
    bool WaitUntil(std::unique_lock<std::mutex>&, const std::function<bool()>& ready, uint32_t timeoutMs) override {
        if (ready()) return true;
        if (timeoutMs == platform::kInfinite) Fail("a wait without a time limit that nothing can end");
        ticks_ += timeoutMs;
        return ready();
    }
    void Notify() override {}
    platform::ThreadSlot* RegisterThread(const char* name) override {
        std::fprintf(stderr, "fuzz clock: thread \"%s\" started\n", name);
        Fail("the program started a thread; the targets run on one thread");
        return nullptr;
    }
    void BeginThread(platform::ThreadSlot*) override {}
    void EndThread(platform::ThreadSlot*) override {}

private:
    [[noreturn]] static void Fail(const char* what) {
        std::fprintf(stderr, "fuzz clock: %s\n", what);
        std::abort();
    }

    std::mutex mutex_;
    uint64_t ticks_ = kStartTick;
};

}  // namespace fuzzing
