#include "app/key_pipeline.h"

#include <cwchar>
#include <string>

#include "common/contrast.h"
#include "app/corvane_dlg.h"
#include "common/device_names.h"
#include "common/key_ids.h"
#include "common/settings.h"
#include "app/update_tray_icon.h"
#include "audio/key_tone_library.h"
#include "audio/mixer_fader.h"
#include "handset/handset_commands.h"
#include "handset/handset_device.h"
#include "modes/mode_machine.h"
#include "modes/virtual_display.h"
#include "platform/desktop.h"
#include "platform/log.h"

namespace app {

std::deque<uint32_t> g_KeyQueue;
platform::Event g_KeyQueueSignal;

namespace {
constexpr uint32_t kReadPauseMs = 25;
constexpr uint32_t kPausedPollMs = 10;
constexpr uint32_t kAfterKeyMs = 10;
constexpr size_t kWavePathChars = 260;

bool InCallMode() {
    const int mode = modes::g_ModeState.m_CurrMode;
    return mode == modes::MODE_RINGING || mode == modes::MODE_TALKING;
}

// The key map has entries for codes 1 ... 25 only; codes 26 ... 28 are passed
// on untranslated, as codes above 28 are.
bool IsMappedCode(uint8_t code) { return code >= common::kFirstMappedCode && code <= common::kLastMappedCode; }

void OnRelease(CCorvaneDlg& dlg) {
    platform::CurrentDesktop().KillTimer(dlg.m_hWnd, TIMER_LONG_KEY);
    const uint32_t held = platform::GetTickCount() - dlg.m_dwKeyDownTick;
    if (held < kLongKeyMs) QueueKey(dlg, static_cast<uint32_t>(dlg.m_nLastKey.load()));
}

void OnPress(CCorvaneDlg& dlg, uint8_t code) {
    uint32_t key = code;
    if (IsMappedCode(code)) {
        key = static_cast<uint32_t>(common::g_Settings.VAL_KEYSCAN[code - common::kFirstMappedCode].load());
        dlg.m_nLastKey = static_cast<int>(key);
        dlg.m_dwKeyDownTick = platform::GetTickCount();
        platform::CurrentDesktop().SetTimer(dlg.m_hWnd, TIMER_LONG_KEY, kLongKeyMs);
    }
    if (!InCallMode()) {
        modes::g_ModeState.m_bKeyLit = 1;
        platform::CurrentDesktop().SetTimer(dlg.m_hWnd, TIMER_KEY_LIGHT, kKeyLightMs);
        handset::NewWriteCmd(handset::CMD_LIGHT_ON);
    }
    if (key == common::HANDSET_CODE_DEVICE_START) {
        platform::Guard keyLock(dlg.m_KeyLock);
        platform::CurrentDesktop().KillTimer(dlg.m_hWnd, TIMER_LONG_KEY);
        g_KeyQueue.push_back(common::HANDSET_CODE_DEVICE_START);
        g_KeyQueueSignal.Set();
    }
}
}  // namespace

void QueueKey(CCorvaneDlg& dlg, uint32_t key) {
    platform::Guard keyLock(dlg.m_KeyLock);
    g_KeyQueue.push_back(key);
    g_KeyQueueSignal.Set();
}

void HandleHardwareCode(CCorvaneDlg& dlg, uint8_t code) {
    if (code == common::kCodeRelease) {
        OnRelease(dlg);
    } else {
        OnPress(dlg, code);
    }
}

void ReadAndHandleReport(CCorvaneDlg& dlg) {
    using handset::g_ReadDevice;
    handset::NewReadDevice(g_ReadDevice);
    platform::Guard handsetLock(handset::g_WriteDevice.m_Lock);
    if (g_ReadDevice.m_ucB[0] == common::kKeyReportId && g_ReadDevice.m_bReadDone == 1) {
        const uint8_t code = g_ReadDevice.m_ucB[1];
        platform::LogW(L"Received Hardware Key Code(m_ucB[1]) = %d\n", static_cast<int>(code));
        HandleHardwareCode(dlg, code);
    }
}

int HandsetReadThread(CCorvaneDlg* dlg) {
    using handset::g_WriteDevice;
    while (dlg->m_bStop == 0) {
        if (dlg->m_bReadPaused == 1) {
            platform::Sleep(kPausedPollMs);
            continue;
        }
        {
            platform::Guard handsetLock(g_WriteDevice.m_Lock);
            platform::Sleep(kReadPauseMs);
        }
        ReadAndHandleReport(*dlg);
        platform::Sleep(kReadPauseMs);
    }
    return 1;
}

void OnKeyTimer(CCorvaneDlg& dlg, uintptr_t id) {
    auto& desktop = platform::CurrentDesktop();
    if (id == TIMER_LONG_KEY) {
        platform::LogW(L"LONG KEY PRESSED!\n");
        desktop.KillTimer(dlg.m_hWnd, TIMER_LONG_KEY);
        platform::Guard keyLock(dlg.m_KeyLock);
        g_KeyQueue.push_back(static_cast<uint32_t>(dlg.m_nLastKey.load()) + common::KEY_LONG_OFFSET);
        g_KeyQueueSignal.Set();
    } else if (id == TIMER_KEY_LIGHT) {
        desktop.KillTimer(dlg.m_hWnd, TIMER_KEY_LIGHT);
        if (!InCallMode()) handset::NewWriteCmd(handset::CMD_LIGHT_OFF);
        modes::g_ModeState.m_bKeyLit = 0;
    }
}

namespace {

std::wstring KeyToneFile(uint32_t key) {
    if (key <= common::KEY_9) return std::to_wstring(key) + L".wav";
    if (key == common::KEY_STAR) return L"star.wav";
    if (key == common::KEY_SHARP) return L"sharp.wav";
    return L"0.wav";
}

// The folder followed by the file name, in a buffer of the platform's path
// length; a longer path is cut rather than overrun.
std::wstring KeyTonePath(const std::wstring& file) {
    wchar_t buffer[kWavePathChars];
    std::swprintf(buffer, kWavePathChars, L"%ls%ls", common::GetAppFolder().c_str(), file.c_str());
    buffer[kWavePathChars - 1] = L'\0';
    return buffer;
}

void RegisterKeyTones(CCorvaneDlg& dlg) {
    static const wchar_t* const kFiles[] = {L"0.wav", L"1.wav", L"2.wav", L"3.wav",    L"4.wav",   L"5.wav",
                                            L"6.wav", L"7.wav", L"8.wav", L"9.wav", L"star.wav", L"sharp.wav"};
    const std::wstring device = common::g_OutDeviceName.Get();
    for (const wchar_t* file : kFiles) audio::RT_InitNewWave(device, KeyTonePath(file), dlg.m_hWnd);
}

void StartHandset(CCorvaneDlg& dlg) {
    if (g_bDeviceStarted == 1) return;
    platform::LogA("Device start\n");
    g_bDeviceStarted = 1;
    {
        // Whatever went out before the start report reached a handset that
        // was not listening: its start sequence must not be taken as a repeat.
        platform::Guard handsetLock(handset::g_WriteDevice.m_Lock);
        handset::g_WriteDevice.ForgetSentCommands();
    }
    // Nor has it shown any screen yet. A handset without display keeps its
    // one-time notice as sent.
    if (common::g_Settings.VAL_ENABLE_LCM == 1) modes::g_VirtualDisplay.ForgetSentRows();
    handset::NewWriteCmd(handset::CMD_DEVICE_START, 0x50, 4, 0);
    const common::ContrastTriple contrast = common::SelectedContrastTriple();
    handset::NewWriteCmd(handset::CMD_CONTRAST, contrast.a, contrast.b, contrast.c);
    modes::RefreshModeDisplay();
    UpdateTrayIcon(dlg);
    modes::RefreshModeDisplay();
}

void PlayKeyTone(CCorvaneDlg& dlg, uint32_t key) {
    if (common::g_Settings.VAL_ENABLE_KEYTONE != 1 || modes::g_ModeState.m_CurrMode == modes::MODE_TALKING) return;
    platform::Guard handsetLock(handset::g_WriteDevice.m_Lock);
    const std::wstring device = common::g_OutDeviceName.Get();
    audio::RT_StopPlayWave(device);
    const std::wstring path = KeyTonePath(KeyToneFile(key));
    platform::LogW(L"RT_PlayWave: [%ls] [%ls]", device.c_str(), path.c_str());
    audio::RT_PlayWave(device, path, dlg.m_hWnd);
}

void ApplyVolumeKey(uint32_t key) {
    if (key == common::KEY_VOL_UP) audio::SetFaderValue(audio::g_OutFader, 0, audio::kFaderStepUp);
    if (key == common::KEY_VOL_DOWN) audio::SetFaderValue(audio::g_OutFader, 0, audio::kFaderStepDown);
}

// Takes the oldest key id; false when the queue is empty.
bool TakeKey(CCorvaneDlg& dlg, uint32_t& key) {
    platform::Guard keyLock(dlg.m_KeyLock);
    if (g_KeyQueue.empty()) return false;
    key = g_KeyQueue.front();
    g_KeyQueue.pop_front();
    return true;
}

}  // namespace

int KeyEventThread(CCorvaneDlg* dlg) {
    RegisterKeyTones(*dlg);
    while (dlg->m_bStop == 0) {
        uint32_t key = 0;
        if (!TakeKey(*dlg, key)) {
            // Sleeps until a key is queued instead of polling every 10 ms.
            g_KeyQueueSignal.Wait(platform::kInfinite);
            continue;
        }
        if (key == common::HANDSET_CODE_DEVICE_START) {
            StartHandset(*dlg);
            continue;
        }
        PlayKeyTone(*dlg, key);
        ApplyVolumeKey(key);
        common::PrintKeyName(key);
        if (modes::HasCurrentMode()) modes::DispatchModeKey(key);
        platform::Sleep(kAfterKeyMs);
    }
    return 1;
}

void ResetKeyPipeline() {
    g_KeyQueue.clear();
    g_KeyQueueSignal.Reset();
    g_bDeviceStarted = 0;
}

}  // namespace app
