// The main mode: the idle handset. Without a display its keys drive Skype's
// dial pad and windows directly; with one they open the handset's own menus
// and lists.

#include <string>

#include "common/contrast.h"
#include "common/key_ids.h"
#include "common/settings.h"
#include "handset/handset_commands.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "modes/icon_strip.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/skype_windows.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/log.h"
#include "skype/call_list.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

using skype::SendMessageToSkype;

// The idle screen's name and soft-key labels keep to 19 bytes of text each,
// one rule for all three.
constexpr size_t kIdleTextBytes = 19;

std::string IdleText(const std::string& text) { return CutUtf8(text, kIdleTextBytes); }

// The Backspace key as Skype's focused window receives it from the keyboard.
void PressBackspace() {
    auto& desktop = platform::CurrentDesktop();
    desktop.KeybdEvent(platform::VK_BACK, platform::VK_BACK, 0);
    platform::Sleep(33);
    desktop.KeybdEvent(platform::VK_BACK, platform::VK_BACK, platform::KEYEVENTF_KEYUP);
}

// The main window when it is shown; a hidden one only brings up the
// contacts, and without one nothing happens.
platform::WindowHandle VisibleMainWindowOrShowContacts() {
    const platform::WindowHandle main = FindSkypeMainWindow();
    if (!main) return main;
    if (!platform::CurrentDesktop().IsWindowVisible(main)) {
        ShowSkypeContacts();
        return platform::WindowHandle{};
    }
    return main;
}

void DialKey(char c, const std::string& button) {
    if (g_ModeState.m_nDialCount == 0) OpenDialPad(true);
    if (IsSkype3()) SendMessageToSkype("FOCUS");
    if (IsSkype55OrLater()) {
        TypeIntoDialer(c);
    } else {
        SendMessageToSkype("BTN_PRESSED " + button);
        SendMessageToSkype("BTN_RELEASED " + button);
    }
    ++g_ModeState.m_nDialCount;
    const platform::WindowHandle main = FindSkypeMainWindow();
    if (main && !platform::CurrentDesktop().IsWindowVisible(main)) ShowSkypeContacts();
}

void PressYes() {
    SendMessageToSkype("BTN_PRESSED YES");
    SendMessageToSkype("BTN_RELEASED YES");
}

// Dials what was typed into the dial pad, or calls the contact focused in
// Skype, or lets Skype's call button decide.
void Call() {
    if (!VisibleMainWindowOrShowContacts()) return;
    WaitKeyTone();
    const std::string focused = skype::g_SkypeMonitor.FocusedContact();
    if (g_ModeState.m_nDialCount > 0) {
        if (!IsSkype3()) {
            DialFromDialer();
            g_ModeState.m_nDialCount = 0;
            return;
        }
        PressYes();
    } else if (IsSkype3() || focused.empty()) {
        PressYes();
    } else {
        platform::Sleep(200);
        SendMessageToSkype("CALL " + focused);
    }
    g_ModeState.m_nDialCount = 0;
}

void HangUpAndTidy() {
    if (!VisibleMainWindowOrShowContacts()) return;
    OpenDialPad(false);
    SendMessageToSkype("MINIMIZE");
    g_ModeState.m_nDialCount = 0;
    CloseSkypeCallWindows();
}

void Scroll(const char* direction) {
    const platform::WindowHandle main = FindSkypeMainWindow();
    if (!main) return;
    if (g_ModeState.m_nDialCount > 0) {
        OpenDialPad(true);
        g_ModeState.m_nDialCount = 0;
    }
    if (!platform::CurrentDesktop().IsWindowVisible(main)) {
        ShowSkypeContacts();
        return;
    }
    SendMessageToSkype("SET WINDOWSTATE NORMAL");
    platform::Sleep(50);
    SendMessageToSkype(std::string("BTN_PRESSED ") + direction);
    SendMessageToSkype(std::string("BTN_RELEASED ") + direction);
}

void MuteKeyWithoutDisplay() {
    if (VisibleMainWindowOrShowContacts()) SendMessageToSkype("SET WINDOWSTATE NORMAL");
}

// The idle screen: status icon, clock, the signed-in user's name, the date,
// and the soft keys' labels.
void DrawIdleScreen() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
    d.DrawTextRow(0, 1, IdleText(skype::g_SkypeMonitor.UserName()), kAlignCentre);
    d.DrawTextRow(0, 2, skype::GetDateText(), kAlignCentre);
    d.DrawTextRow(0, 3, IdleText(ScreenText(IDS_SCREEN_SETTING)), kAlignLeft);
    d.DrawTextRow(0, 3, IdleText(ScreenText(IDS_SCREEN_HISTORY)), kAlignRight);
}

}  // namespace

// The setting is read at every key: a handset without display gets the
// no-display key map.
void Mode_Main_Proc(unsigned key) {
    if (common::g_Settings.VAL_ENABLE_LCM == 0) {
        Mode_Main_NoLCD_Proc(key);
    } else {
        Mode_Main_LCD_Proc(key);
    }
}

void Mode_Main_NoLCD_Proc(unsigned key) {
    platform::LogW(L"Mode_Main_NoLCD_Proc entering");
    handset::NewWriteCmd(handset::CMD_STATUS_IDLE, 0, 0, 0);
    if (key <= common::KEY_9) {
        DialKey(static_cast<char>('0' + key), std::to_string(key));
        return;
    }
    switch (key) {
        case common::KEY_STAR: DialKey('*', "*"); break;
        case common::KEY_SHARP: DialKey('#', "#"); break;
        case common::KEY_0_LONG: DialKey('+', "+"); break;
        case common::KEY_HOOKUP:
        case common::KEY_HOTKEY_2: Call(); break;
        case common::KEY_HOOKDOWN: HangUpAndTidy(); break;
        case common::KEY_HOTKEY_1: ToggleSkypeFocus(); break;
        case common::KEY_UP: Scroll("UP"); break;
        case common::KEY_DOWN: Scroll("DOWN"); break;
        case common::KEY_MUTE: MuteKeyWithoutDisplay(); break;
        case common::KEY_CLEAR:
            SendMessageToSkype("FOCUS");
            platform::Sleep(100);
            PressBackspace();
            break;
        case common::KEY_HOTKEY_1_LONG: SendMessageToSkype("MINIMIZE"); break;
        default: break;
    }
}

void Mode_Main_LCD_Proc(unsigned key) {
    if (OpenNumberDialWith(key)) return;
    switch (key) {
        case common::KEY_HOOKUP: SendMessageToSkype("SET WINDOWSTATE NORMAL"); break;
        case common::KEY_HOOKDOWN:
            SendMessageToSkype("MINIMIZE");
            CloseSkypeCallWindows();
            break;
        case common::KEY_LEFT_FUNC: SwitchMode(MODE_SETTING_MENU); break;
        case common::KEY_RIGHT_FUNC: SwitchMode(MODE_HISTORY_MENU); break;
        case common::KEY_UP:
        case common::KEY_DOWN:
            if (skype::g_SkypeMonitor.m_Contacts.Count() > 0) {
                SwitchMode(MODE_CONTACT_LIST);
                DispatchModeKey(key);
            }
            break;
        case common::KEY_STAR: ToggleSkypeFocus(); break;
        case common::KEY_CLEAR:
            SendMessageToSkype("SET WINDOWSTATE NORMAL");
            PressBackspace();
            break;
        default: break;
    }
}

void Mode_Main_Display() {
    const common::ContrastTriple contrast = common::SelectedContrastTriple();
    handset::NewWriteCmd(handset::CMD_CONTRAST, contrast.a, contrast.b, contrast.c);
    if (common::g_Settings.VAL_ENABLE_LCM == 1) {
        DrawIdleScreen();
    } else {
        g_VirtualDisplay.ShowNoLcdNotice();
    }
}

}  // namespace modes
