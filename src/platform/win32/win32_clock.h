#pragma once
// The real clock on Windows: the system's tick count and local time. Waits
// use one condition variable shared by every waitable object, as the port
// asks (its state mutex is a std::mutex), on the posix-threads runtime.

#include <condition_variable>

#include "platform/clock.h"

namespace platform::win32 {

class Win32Clock final : public Clock {
public:
    uint64_t GetTickCount64() override;
    LocalTime GetLocalTime() override;
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

}  // namespace platform::win32
