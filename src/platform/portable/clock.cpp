#include "platform/clock.h"

namespace platform {

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
