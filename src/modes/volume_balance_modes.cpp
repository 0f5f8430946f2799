// The volume and balance screens of the settings menu, and the screen shown
// while the handset or Skype is not connected.

#include <cctype>
#include <charconv>
#include <string>

#include "common/key_ids.h"
#include "common/settings.h"
#include "handset/handset_device.h"
#include "modes/balance_text.h"
#include "modes/icon_strip.h"
#include "modes/list_modes.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

constexpr int kBalanceValueX = 65;

// The keys the two settings screens share: digits dial, the hook goes back
// to the idle screen, the right soft key to the settings menu. False for
// other keys.
bool SettingsScreenKey(unsigned key) {
    if (OpenNumberDialWith(key)) return true;
    if (key == common::KEY_HOOKDOWN) {
        SwitchMode(MODE_MAIN);
    } else if (key == common::KEY_RIGHT_FUNC) {
        SwitchMode(MODE_SETTING_MENU);
    } else {
        return false;
    }
    return true;
}

void DrawClockHeader() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
}

}  // namespace

std::string BalanceText(const std::string& reported) {
    const char* first = reported.c_str();
    const char* last = first + reported.size();
    while (first < last && std::isspace(static_cast<unsigned char>(*first))) ++first;
    if (first < last && *first == '+') ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc()) value = 0;
    char text[400];
    const auto end = std::to_chars(text, text + sizeof(text), value / 100, std::chars_format::fixed, 2);
    return std::string(text, end.ec == std::errc() ? end.ptr : text);
}

void Mode_VolumeSetting_Proc(unsigned key) {
    platform::LogW(L"Mode_VolumeSetting_Proc entering");
    if (SettingsScreenKey(key)) return;
    if (key == common::KEY_UP || key == common::KEY_VOL_UP) {
        StepOutVolume(+2);
        RefreshModeDisplay();
    } else if (key == common::KEY_DOWN || key == common::KEY_VOL_DOWN) {
        StepOutVolume(-2);
        RefreshModeDisplay();
    }
}

void Mode_VolumeSetting_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    DrawClockHeader();
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
    if (common::g_Settings.VAL_ENABLE_LCM == 1) d.DrawVolumeBars(OutVolumeStep());
}

void Mode_Balance_Proc(unsigned key) {
    platform::LogW(L"Mode_Balance_Proc entering");
    SettingsScreenKey(key);
}

void Mode_Balance_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    const skype::CSkypeMonitor& link = skype::g_SkypeMonitor;
    d.ClearScreen();
    d.DrawTextRow(0, 1, ScreenText(IDS_SCREEN_CURRENCY), kAlignLeft);
    d.DrawTextRow(kBalanceValueX, 1, link.PstnCurrency(), kAlignLeft);
    d.DrawTextRow(0, 2, ScreenText(IDS_SCREEN_BALANCE2), kAlignLeft);
    d.DrawTextRow(kBalanceValueX, 2, BalanceText(link.PstnBalance()), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
}

// Once the handset has reported its start, what is missing is Skype.
void Mode_Unconnected_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawTextRow(0, 1, handset::g_bDeviceStarted == 1 ? "Skype" : "DEVICE", kAlignCentre);
    d.DrawTextRow(0, 2, "UNCONNECTED!", kAlignCentre);
}

}  // namespace modes
