#pragma once
// Clock port: tick counts, local time, sleeping and every other wait of the
// program. All blocking goes through here so that the simulated world can tell
// when each program thread is idle and advance virtual time deterministically.

#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>

namespace platform {

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

struct LocalTime {
    int year = 2000;
    int month = 1;      // 1 ... 12
    int dayOfWeek = 0;  // 0 = Sunday
    int day = 1;        // 1 ... 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

// The calendar fields of a broken-down time with the given milliseconds.
LocalTime LocalTimeFromTm(const std::tm& tm, int milliseconds);

// Calendar arithmetic without a time zone: the seconds since 1970-01-01
// 00:00 of a calendar time, and back.
int64_t CalendarSeconds(const LocalTime& time);
LocalTime CalendarTimeOf(int64_t seconds);

// Registration record of a program thread (opaque to callers).
struct ThreadSlot;

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since the machine started; the 32-bit form wraps like the
    // platform's tick count.
    virtual uint64_t GetTickCount64() = 0;
    uint32_t GetTickCount() { return static_cast<uint32_t>(GetTickCount64()); }
    virtual LocalTime GetLocalTime() = 0;
    // The local time of a moment given in seconds since 1970 (Skype's
    // timestamps). Without a time zone of its own a clock takes the moment's
    // calendar as it is.
    virtual LocalTime LocalTimeOf(int64_t secondsSince1970) { return CalendarTimeOf(secondsSince1970); }

    // Blocks the calling thread for ms milliseconds.
    void Sleep(uint32_t ms);

    // The mutex that guards the state of every waitable object (locks, events,
    // queues, message queues, virtual devices).
    virtual std::mutex& StateMutex() = 0;

    // With `lock` held on StateMutex(): blocks until ready() is true or
    // timeoutMs milliseconds have passed (kInfinite: no limit). Returns ready().
    // ready() is evaluated with the mutex held.
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                           uint32_t timeoutMs) = 0;

    // With StateMutex() held: waitable state has changed; waiters re-test.
    virtual void Notify() = 0;

    // Thread lifecycle, called by platform::Thread. Register runs on the
    // creating thread before the new thread exists; Begin and End run on the
    // new thread around its body.
    virtual ThreadSlot* RegisterThread(const char* name) = 0;
    virtual void BeginThread(ThreadSlot* slot) = 0;
    virtual void EndThread(ThreadSlot* slot) = 0;
};

// The process-wide clock (platform/backends.h installs it).
Clock& CurrentClock();

// Shorthands for the current clock.
inline uint32_t GetTickCount() { return CurrentClock().GetTickCount(); }
inline void Sleep(uint32_t ms) { CurrentClock().Sleep(ms); }

}  // namespace platform
