#include "modes/mode_machine.h"

#include "modes/screen_list.h"
#include "modes/virtual_display.h"

#include "common/key_ids.h"
#include "common/settings.h"
#include "platform/log.h"

namespace modes {

CModeState g_ModeState;

namespace {
std::atomic<ModeObserver*> g_observer{nullptr};

const char* const kModeNames[kModeCount] = {
    "MODE_MAIN",          "MODE_CONTACT_LIST",       "MODE_RINGING",          "MODE_TALKING",
    "MODE_NUM_DIAL",      "MODE_SETTING_MENU",       "MODE_HISTORY_MENU",     "MODE_HISTORY_INCOMING",
    "MODE_HISTORY_OUTGOING", "MODE_HISTORY_MISSEDCALL", "MODE_HISTORY_VMAIL", "MODE_CONTACT_DETAIL",
    "MODE_HISTORY_DETAIL", "MODE_EMPTY",             "MODE_VOLUME_SETTING",   "MODE_CONFERENCE",
    "MODE_UNCONNECTED",   "MODE_BALANCE",            "MODE_VOICEMAIL_PLAY",   "MODE_VOICEMAIL_PLAY_END",
    "MODE_SYS_CONFIRM",
};

bool InTable(int mode) { return static_cast<unsigned>(mode) < static_cast<unsigned>(kModeCount); }

void NotifyModeChanged(int mode) {
    if (ModeObserver* o = g_observer.load()) o->OnModeChanged(mode);
}
}  // namespace

const char* ModeName(int mode) { return InTable(mode) ? kModeNames[mode] : "MODE_?"; }

void SetModeObserver(ModeObserver* observer) { g_observer.store(observer); }

bool HasCurrentMode() { return InTable(g_ModeState.m_CurrMode); }

int SwitchMode(unsigned newMode) {
    platform::Guard transition(g_ModeState.m_TransitionLock);
    platform::LogW(L"SwitchMode:%d", static_cast<int>(newMode));
    if (newMode == MODE_MAIN && common::g_Settings.VAL_ENABLE_LCM == 0) g_ModeState.m_nDialCount = 0;
    const int current = g_ModeState.m_CurrMode;
    if (static_cast<int>(newMode) == current) return current;
    if (!InTable(static_cast<int>(newMode))) {
        // Every caller passes a table constant; anything else would index
        // past the table, so it is refused.
        platform::LogW(L"SwitchMode: mode %u is not in the mode table", newMode);
        return current;
    }
    if (current == kNoMode) {
        g_ModeState.m_CurrMode = static_cast<int>(newMode);
        g_ModeState.m_PrevMode = kNoMode;
    } else {
        g_ModeState.m_PrevMode = current;
        if (InTable(current)) g_ModeTable[current].Exit();
        g_ModeState.m_CurrMode = static_cast<int>(newMode);
    }
    NotifyModeChanged(static_cast<int>(newMode));
    g_ModeTable[newMode].Init();
    RefreshModeDisplay();
    return g_ModeState.m_PrevMode;
}

void DispatchModeKey(unsigned key) {
    const int mode = g_ModeState.m_CurrMode;
    if (!InTable(mode)) return;
    if (ModeObserver* o = g_observer.load()) o->OnKeyDispatched(key);
    g_ModeTable[mode].Proc(key);
}

void RefreshModeDisplay() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    const int mode = g_ModeState.m_CurrMode;
    if (!InTable(mode)) return;
    g_ModeTable[mode].Display();
    // A display handset is sent its screen at every redraw; the row cache
    // keeps the traffic to the rows that changed.
    if (common::g_Settings.VAL_ENABLE_LCM == 1) {
        for (int row = 0; row < kTextRows; ++row) g_VirtualDisplay.FlushLine(row);
    }
    g_VirtualDisplay.FrameDrawn();
}

void WaitKeyTone() {
    if (common::g_Settings.VAL_ENABLE_KEYTONE != 1) return;
    platform::LogW(L"Start delay 500ms for key tone playing...");
    platform::Sleep(500);
}

bool OpenNumberDialWith(unsigned key) {
    const bool dialKey = key <= common::KEY_9 || key == common::KEY_SHARP || key == common::KEY_0_LONG;
    if (!dialKey) return false;
    SwitchMode(MODE_NUM_DIAL);
    DispatchModeKey(key);
    return true;
}

void ResetModeState() {
    // Never lands inside another thread's switch; released again on return.
    platform::Guard transition(g_ModeState.m_TransitionLock);
    g_ModeState.m_CurrMode = kNoMode;
    g_ModeState.m_PrevMode = kNoMode;
    g_ModeState.m_bBlink = 0;
    g_ModeState.m_bAfterCall = 0;
    g_ModeState.m_nAfterCallTicks = 0;
    g_ModeState.m_bKeyLit = 0;
    g_ModeState.m_nDialCount = 0;
    g_ModeState.m_nPanelToggle = 0;
    g_ModeState.m_bDetailIsVoicemail = 0;
    g_ModeState.m_bVoicemailPlaying = 0;
    g_ModeState.m_nRingFrame = 0;
    g_ScreenList.Clear();
}

}  // namespace modes
