#pragma once
// The key input pipeline: handset reports become key ids (read thread), long
// presses end and the key light goes out (user-interface timers), and key
// ids reach the phone modes with their key tones and volume steps (key-event
// thread).

#include <atomic>
#include <cstdint>
#include <deque>

#include "handset/handset_device.h"
#include "platform/sync.h"

namespace app {

class CCorvaneDlg;

constexpr uintptr_t TIMER_LONG_KEY = 1001;
constexpr uintptr_t TIMER_KEY_LIGHT = 1002;
constexpr uint32_t kLongKeyMs = 1300;
constexpr uint32_t kKeyLightMs = 10000;

// Key ids waiting for the key-event thread; guarded by the main window's
// m_KeyLock.
extern std::deque<uint32_t> g_KeyQueue;
// Set when a key id is queued or the threads are asked to stop, so the
// key-event thread sleeps while nothing happens.
extern platform::Event g_KeyQueueSignal;
// 1 once the handset has reported its start, 0 again when it is removed.
using handset::g_bDeviceStarted;

int HandsetReadThread(CCorvaneDlg* dlg);
int KeyEventThread(CCorvaneDlg* dlg);

// The main window's handling of TIMER_LONG_KEY and TIMER_KEY_LIGHT.
void OnKeyTimer(CCorvaneDlg& dlg, uintptr_t id);

// Handles one hardware code of a key report, with the handset lock held.
void HandleHardwareCode(CCorvaneDlg& dlg, uint8_t code);

// The read thread's work between its pauses: reads one input report from the
// key interface (blocking until one arrives or the read fails) and hands a
// key report's code on under the handset lock.
void ReadAndHandleReport(CCorvaneDlg& dlg);

// Appends a key id under m_KeyLock and wakes the key-event thread.
void QueueKey(CCorvaneDlg& dlg, uint32_t key);

// Back to the state at program start (for tests).
void ResetKeyPipeline();

}  // namespace app
