#pragma once
// Runs the calling thread's message loop for a test until the test's
// condition quits it, or until a generous time limit, which is a failure.

#include <cstdint>

#include "platform/desktop.h"

namespace win32_test {

constexpr uint32_t kLoopLimitMs = 20000;

// True when the loop was quit before the limit.
inline bool RunLoopWithLimit(platform::Desktop& desktop, uint32_t limitMs = kLoopLimitMs) {
    bool timedOut = false;
    const uintptr_t guard = desktop.SetThreadTimer(limitMs, [&](uintptr_t) {
        timedOut = true;
        desktop.PostQuitMessage(-1);
    });
    desktop.RunMessageLoop();
    desktop.KillThreadTimer(guard);
    return !timedOut;
}

}  // namespace win32_test
