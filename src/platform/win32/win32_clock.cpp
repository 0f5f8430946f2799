#include "platform/win32/win32_clock.h"

#include <chrono>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

uint64_t Win32Clock::GetTickCount64() { return ::GetTickCount64(); }

LocalTime Win32Clock::GetLocalTime() {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    LocalTime lt;
    lt.year = st.wYear;
    lt.month = st.wMonth;
    lt.dayOfWeek = st.wDayOfWeek;
    lt.day = st.wDay;
    lt.hour = st.wHour;
    lt.minute = st.wMinute;
    lt.second = st.wSecond;
    lt.milliseconds = st.wMilliseconds;
    return lt;
}

bool Win32Clock::WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                           uint32_t timeoutMs) {
    if (timeoutMs == kInfinite) {
        changed_.wait(lock, ready);
        return true;
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

}  // namespace platform::win32
