#pragma once
// The one-second mode timer: redraws the current mode and drives the
// handset light.

#include <cstdint>

namespace modes {

void ModeTimerProc();

// Starts and stops the timer as a thread timer of the calling thread, which
// must run the user-interface message loop.
void StartModeTimer();
void StopModeTimer();

}  // namespace modes
