#include "platform/clock.h"

#include <chrono>

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

int64_t CalendarSeconds(const LocalTime& time) {
    using namespace std::chrono;
    const sys_days day{year{time.year} / time.month / time.day};
    const sys_seconds at = day + hours{time.hour} + minutes{time.minute} + seconds{time.second};
    return at.time_since_epoch().count();
}

LocalTime CalendarTimeOf(int64_t secondsSince1970) {
    using namespace std::chrono;
    const sys_seconds at{seconds{secondsSince1970}};
    const sys_days day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{at - day};
    LocalTime out;
    out.year = static_cast<int>(date.year());
    out.month = static_cast<int>(static_cast<unsigned>(date.month()));
    out.day = static_cast<int>(static_cast<unsigned>(date.day()));
    out.dayOfWeek = static_cast<int>(weekday{day}.c_encoding());
    out.hour = static_cast<int>(time.hours().count());
    out.minute = static_cast<int>(time.minutes().count());
    out.second = static_cast<int>(time.seconds().count());
    return out;
}

void Clock::Sleep(uint32_t ms) {
    std::unique_lock<std::mutex> lock(StateMutex());
    WaitUntil(lock, [] { return false; }, ms);
}

}  // namespace platform
