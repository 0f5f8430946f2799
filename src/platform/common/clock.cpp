#include <atomic>

#include "platform/clock.h"
#include "platform/system_clock.h"

namespace platform {

namespace {
std::atomic<Clock*> g_installed{nullptr};

Clock& SystemClockInstance() {
    // Never destroyed: static objects may still take locks at process end.
    static SystemClock* clock = new SystemClock;
    return *clock;
}
}  // namespace

Clock& CurrentClock() {
    Clock* c = g_installed.load(std::memory_order_acquire);
    return c ? *c : SystemClockInstance();
}

void InstallClock(Clock* clock) { g_installed.store(clock, std::memory_order_release); }

LocalTime LocalTimeFromTm(const std::tm& tm, int milliseconds) {
    LocalTime lt;
    lt.year = tm.tm_year + 1900;
    lt.month = tm.tm_mon + 1;
    lt.dayOfWeek = tm.tm_wday;
    lt.day = tm.tm_mday;
    lt.hour = tm.tm_hour;
    lt.minute = tm.tm_min;
    lt.second = tm.tm_sec;
    lt.milliseconds = milliseconds;
    return lt;
}

void Clock::Sleep(uint32_t ms) {
    std::unique_lock<std::mutex> lock(StateMutex());
    WaitUntil(lock, [] { return false; }, ms);
}

}  // namespace platform
