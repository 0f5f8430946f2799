#include "modes/mode_timer.h"

#include <atomic>

#include "handset/handset_commands.h"
#include "modes/mode_machine.h"
#include "platform/desktop.h"

namespace modes {

namespace {
constexpr uint32_t kModeTimerPeriodMs = 1000;
// The light stays on this many ticks after a call.
constexpr int kAfterCallTicks = 10;

std::atomic<uintptr_t> g_timerId{0};

void DriveLight() {
    CModeState& s = g_ModeState;
    const int mode = s.m_CurrMode;
    if (mode == MODE_RINGING) {
        s.m_bAfterCall = 0;
        handset::NewWriteCmd(s.m_bBlink ? handset::CMD_LIGHT_ON : handset::CMD_LIGHT_OFF);
    } else if (mode == MODE_TALKING) {
        handset::NewWriteCmd(handset::CMD_LIGHT_ON);
        s.m_bAfterCall = 1;
    } else if (s.m_bKeyLit == 0) {
        if (s.m_bAfterCall == 0) {
            handset::NewWriteCmd(handset::CMD_LIGHT_OFF);
        } else if (++s.m_nAfterCallTicks >= kAfterCallTicks) {
            s.m_nAfterCallTicks = 0;
            s.m_bAfterCall = 0;
        }
    }
}
}  // namespace

void ModeTimerProc() {
    RefreshModeDisplay();
    g_ModeState.m_bBlink = g_ModeState.m_bBlink ? 0 : 1;
    DriveLight();
}

void StartModeTimer() {
    StopModeTimer();
    g_timerId = platform::CurrentDesktop().SetThreadTimer(kModeTimerPeriodMs, [](uintptr_t) { ModeTimerProc(); });
}

void StopModeTimer() {
    const uintptr_t id = g_timerId.exchange(0);
    if (id != 0) platform::CurrentDesktop().KillThreadTimer(id);
}

}  // namespace modes
