// The number dial: the handset collects a number on its own screen, then
// types it into Skype's dial pad and dials. When Skype answers with its
// confirmation dialog (the call cannot be made), the failed-dial screen
// closes the dialog on the way back to the idle screen.

#include <string>
#include <utility>

#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/dial_number_text.h"
#include "modes/icon_strip.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/skype_windows.h"
#include "modes/virtual_display.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

using skype::SendMessageToSkype;

const std::wstring kConfirmDialogClass = L"TskConfirmForm.UnicodeClass";
constexpr uint32_t kClickPauseMs = 300;
constexpr uint32_t kDialAnswerPauseMs = 1000;

// Written by the key-event thread, read by whichever thread redraws: both
// under the display lock.
std::string g_DialBuffer;

std::string DialBuffer() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    return g_DialBuffer;
}

void AppendAndShow(char c) {
    {
        platform::Guard guard(g_ModeState.m_DisplayLock);
        g_DialBuffer += c;
    }
    RefreshModeDisplay();
}

// The key's character, or 0 for a key that types none.
char DialCharacter(unsigned key) {
    if (key <= common::KEY_9) return static_cast<char>('0' + key);
    if (key == common::KEY_STAR) return '*';
    if (key == common::KEY_SHARP) return '#';
    if (key == common::KEY_0_LONG) return '+';
    return 0;
}

void RemoveLastCharacter() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    if (!g_DialBuffer.empty()) g_DialBuffer.pop_back();
}

void PressButton(const std::string& button) {
    SendMessageToSkype("BTN_PRESSED " + button);
    SendMessageToSkype("BTN_RELEASED " + button);
}

void TypeNumber(const std::string& number) {
    for (char c : number) {
        if (IsSkype55OrLater()) {
            TypeIntoDialer(c);
        } else {
            PressButton(std::string(1, c));
        }
    }
}

void Dial() {
    const std::string number = DialBuffer();
    if (number.size() > 2) {
        SendMessageToSkype("OPEN DIALPAD");
    } else {
        ShowSkypeContacts();
        g_ModeState.m_nPanelToggle = 0;
    }
    PressButton("NO");
    if (IsSkype55OrLater()) {
        platform::Sleep(kClickPauseMs);
        ClickDialerEdit();
    }
    TypeNumber(number);
    WaitKeyTone();
    if (IsSkype3()) {
        PressButton("YES");
    } else {
        DialFromDialer();
    }
    platform::Sleep(kDialAnswerPauseMs);
    if (platform::CurrentDesktop().FindWindow(&kConfirmDialogClass, nullptr)) {
        platform::LogW(L"Find TskConfirmForm.UnicodeClass 1");
        SwitchMode(MODE_SYS_CONFIRM);
    }
}

}  // namespace

std::pair<std::string, std::string> SplitDialNumber(const std::string& number) {
    if (number.size() <= kDialLineChars) return {number, std::string()};
    return {number.substr(0, kDialLineChars), number.substr(kDialLineChars)};
}

void Mode_NumDial_Init() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    g_DialBuffer.clear();
}

void Mode_NumDial_Proc(unsigned key) {
    platform::LogW(L"Mode_NumDial_Proc entering");
    if (const char c = DialCharacter(key)) {
        AppendAndShow(c);
        return;
    }
    switch (key) {
        case common::KEY_HOOKUP:
        case common::KEY_LEFT_FUNC: Dial(); break;
        case common::KEY_RIGHT_FUNC:
        case common::KEY_CLEAR:
            if (DialBuffer().size() >= 2) {
                RemoveLastCharacter();
                RefreshModeDisplay();
            } else {
                SwitchMode(MODE_MAIN);
            }
            break;
        case common::KEY_HOOKDOWN: SwitchMode(MODE_MAIN); break;
        default: break;
    }
}

void Mode_NumDial_Display() {
    if (common::g_Settings.VAL_ENABLE_LCM != 1) return;
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
    const auto [first, rest] = SplitDialNumber(g_DialBuffer);
    d.DrawTextRow(0, 1, first, kAlignLeft);
    if (!rest.empty()) d.DrawTextRow(0, 2, rest, kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_CALL), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_DELETE), kAlignRight);
}

void Mode_SysConfirm_Proc(unsigned key) {
    platform::LogW(L"Mode_SysConfirm_Proc entering");
    if (key != common::KEY_HOOKDOWN && key != common::KEY_RIGHT_FUNC) return;
    auto& desktop = platform::CurrentDesktop();
    if (const platform::WindowHandle dialog = desktop.FindWindow(&kConfirmDialogClass, nullptr)) {
        platform::LogW(L"Find TskConfirmForm.UnicodeClass 4");
        desktop.SendMessage(dialog, platform::WM_KEYDOWN, platform::VK_ESCAPE, 0);
    }
    SwitchMode(MODE_MAIN);
}

void Mode_SysConfirm_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawTextRow(0, 1, ScreenText(IDS_SCREEN_DIAL_FAILED), kAlignCentre);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
}

}  // namespace modes
