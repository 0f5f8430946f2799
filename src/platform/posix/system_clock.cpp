#include "platform/posix/system_clock.h"

#include <chrono>
#include <ctime>

namespace platform {

namespace {
// A real machine has been up for a while when the program starts; tick
// arithmetic elsewhere relies on the count being well above zero.
constexpr uint64_t kUptimeAtStartMs = 600000;
}  // namespace

SystemClock::SystemClock() = default;

uint64_t SystemClock::GetTickCount64() {
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return kUptimeAtStartMs +
           static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

LocalTime SystemClock::GetLocalTime() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LocalTimeFromTm(tm, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                    now.time_since_epoch())
                                                    .count() %
                                                1000));
}

LocalTime SystemClock::LocalTimeOf(int64_t secondsSince1970) {
    const auto t = static_cast<std::time_t>(secondsSince1970);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LocalTimeFromTm(tm, 0);
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                            uint32_t timeoutMs) {
    if (timeoutMs == kInfinite) {
        changed_.wait(lock, ready);
        return true;
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

}  // namespace platform
