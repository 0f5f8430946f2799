#pragma once
// The mode machine: the table of 21 phone modes, the current and previous
// mode, switching, key dispatch, redraw and the flags shared by the modes.

#include <atomic>
#include <cstdint>

#include "modes/mode_ids.h"
#include "platform/sync.h"

namespace modes {

struct ModeOps {
    void (*Init)();
    void (*Proc)(unsigned key);
    void (*Exit)();
    void (*Display)();
};

extern const ModeOps g_ModeTable[kModeCount];

struct CModeState {
    // Written only by a switch, under m_TransitionLock; read by every thread
    // without it.
    std::atomic<int> m_CurrMode{kNoMode};
    std::atomic<int> m_PrevMode{kNoMode};
    // Lock order, outermost first: m_TransitionLock, m_DisplayLock, the
    // handset lock (m_Lock of g_WriteDevice), the main window's m_KeyLock.
    // A thread holding one of them never waits for one before it.
    //
    // Held over a whole switch, from testing the current mode to the redraw,
    // so that each leave and enter operation runs once and never interleaves
    // with those of another thread's switch. Re-entrant, so that an enter or
    // leave operation may itself switch.
    platform::CriticalSection m_TransitionLock;
    // Re-entrant; held while a Display operation runs.
    platform::CriticalSection m_DisplayLock;

    // Flags shared by the modes.
    std::atomic<uint8_t> m_bBlink{0};
    std::atomic<uint8_t> m_bAfterCall{0};
    std::atomic<int> m_nAfterCallTicks{0};
    std::atomic<uint8_t> m_bKeyLit{0};
    std::atomic<int> m_nDialCount{0};
    std::atomic<int> m_nPanelToggle{0};
    std::atomic<uint8_t> m_bDetailIsVoicemail{0};
    std::atomic<uint8_t> m_bVoicemailPlaying{0};
    // Frame 0 ... 2 of the ringing and dialling animations.
    std::atomic<int> m_nRingFrame{0};
};

extern CModeState g_ModeState;

// Observes the machine (the simulator's transcript); calls come on the
// thread that switches or dispatches.
class ModeObserver {
public:
    virtual ~ModeObserver() = default;
    virtual void OnModeChanged(int mode) = 0;
    virtual void OnKeyDispatched(unsigned key) = 0;
};
void SetModeObserver(ModeObserver* observer);

int SwitchMode(unsigned newMode);
void DispatchModeKey(unsigned key);
void RefreshModeDisplay();
void WaitKeyTone();

// Digits open the number dial: for KEY_0 ... KEY_9, KEY_SHARP and KEY_0_LONG
// switches to MODE_NUM_DIAL and hands it the same key. Returns false (and
// does nothing) for any other key.
bool OpenNumberDialWith(unsigned key);

// True when the current mode, taken as unsigned, indexes the table.
bool HasCurrentMode();

// Back to the state before the first switch (for tests).
void ResetModeState();

}  // namespace modes
