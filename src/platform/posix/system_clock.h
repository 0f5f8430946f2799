#pragma once
// The real clock: steady time for tick counts, the system's local time, and
// waits on one condition variable shared by every waitable object.

#include <condition_variable>

#include "platform/clock.h"

namespace platform {

class SystemClock final : public Clock {
public:
    SystemClock();
    uint64_t GetTickCount64() override;
    LocalTime GetLocalTime() override;
    LocalTime LocalTimeOf(int64_t secondsSince1970) override;
    std::mutex& StateMutex() override { return mutex_; }
    bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                   uint32_t timeoutMs) override;
    void Notify() override { changed_.notify_all(); }
    ThreadSlot* RegisterThread(const char*) override { return nullptr; }
    void BeginThread(ThreadSlot*) override {}
    void EndThread(ThreadSlot*) override {}

private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace platform
