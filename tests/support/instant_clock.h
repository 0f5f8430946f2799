#pragma once
// A clock for tests that run real threads side by side (for ThreadSanitizer)
// yet must not sleep for real: a timed wait that is not satisfied at once
// lets its time pass immediately. Untimed waits block as usual.

#include <atomic>
#include <condition_variable>

#include "platform/clock.h"
#include "platform/backends.h"

namespace testsupport {

class InstantClock final : public platform::Clock {
public:
    uint64_t GetTickCount64() override { return ticks_.load(); }
    platform::LocalTime GetLocalTime() override { return platform::DefaultBackends().clock->GetLocalTime(); }
    std::mutex& StateMutex() override { return mutex_; }
    bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                   uint32_t timeoutMs) override {
        if (timeoutMs == platform::kInfinite) {
            changed_.wait(lock, ready);
            return true;
        }
        if (ready()) return true;
        ticks_ += timeoutMs;
        return ready();
    }
    void Notify() override { changed_.notify_all(); }
    platform::ThreadSlot* RegisterThread(const char*) override {
        ++threadsStarted_;
        return nullptr;
    }
    void BeginThread(platform::ThreadSlot*) override {}
    void EndThread(platform::ThreadSlot*) override {}

    // How many program threads have been started while installed.
    int ThreadsStarted() const { return threadsStarted_.load(); }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<uint64_t> ticks_{3600000};
    std::atomic<int> threadsStarted_{0};
};

}  // namespace testsupport
