// The contact screens follow the contact focused in Skype's own list: the
// handset's up and down keys press Skype's buttons, Skype moves its focus
// and reports it, and the screen draws whatever was reported last.

#include <algorithm>
#include <string>
#include <vector>

#include "common/key_ids.h"
#include "modes/contact_window.h"
#include "modes/icon_strip.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_list.h"
#include "modes/screen_texts.h"
#include "modes/skype_windows.h"
#include "modes/virtual_display.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

using skype::CContact;
using skype::SendMessageToSkype;

// By online status index (UNKNOWN, OFFLINE, ONLINE, AWAY, NA, DND,
// SKYPEOUT, SKYPEME).
constexpr int kStatusIcons[] = {kIconContactUnknown,      kIconContactOffline,  kIconContactOnline,
                                kIconContactAway,         kIconContactNotAvailable, kIconContactDoNotDisturb,
                                kIconContactSkypeOut,     kIconContactSkypeMe};

int StatusIcon(int status) {
    const int count = static_cast<int>(std::size(kStatusIcons));
    return status >= 0 && status < count ? kStatusIcons[status] : -1;
}

void CallFocusedContact() { SendMessageToSkype("CALL " + skype::g_SkypeMonitor.FocusedContact()); }

// Skype moves its focus; the screen follows when Skype reports it.
void PressSkypeButton(const std::string& button) {
    ShowSkypeContacts();
    SendMessageToSkype("BTN_PRESSED " + button);
    SendMessageToSkype("BTN_RELEASED " + button);
    g_ModeState.m_nPanelToggle = 0;
}

// Up and down in both contact screens; false for other keys.
bool MoveSkypeFocus(unsigned key) {
    if (key == common::KEY_UP) {
        PressSkypeButton("UP");
    } else if (key == common::KEY_DOWN) {
        PressSkypeButton("DOWN");
    } else {
        return false;
    }
    return true;
}

void DrawContactRow(int screenRow, const CContact& contact, bool focused) {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.UseListColours(focused);
    d.FillBackground(0, kTextRowHeight * screenRow, kScreenWidth, kListBandHeight);
    const int icon = StatusIcon(contact.m_nStatus);
    if (icon >= 0) d.DrawRowIcon(screenRow, icon, 0, kListBandHeight);
    if (focused) {
        d.DrawScrollText(screenRow, contact.m_strName, kAlignLeft);
    } else {
        d.DrawTextRow(16, screenRow, contact.m_strName, kAlignLeft);
    }
}

void DrawContactWindow(const std::vector<CContact>& contacts, int focused) {
    CVirtualDisplay& d = g_VirtualDisplay;
    const int count = static_cast<int>(contacts.size());
    const ContactWindow window = ContactWindowAround(count, focused);
    int screenRow = 0;
    for (int index = window.first; index <= window.last; ++index, ++screenRow) {
        DrawContactRow(screenRow, contacts[static_cast<size_t>(index)], index == focused);
    }
    d.UseNormalColours();
    for (; screenRow < CScreenList::kVisibleRows; ++screenRow) {
        d.FillBackground(0, kTextRowHeight * screenRow, kScreenWidth, kTextRowHeight);
    }
    d.DrawScrollBar(count - 1, focused);
}

void DrawCallBackLabels(unsigned left) {
    g_VirtualDisplay.DrawTextRow(0, 3, ScreenText(left), kAlignLeft);
    g_VirtualDisplay.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
}

}  // namespace

ContactWindow ContactWindowAround(int count, int focused) {
    ContactWindow w{focused - 1, focused + 1};
    if (focused == 0) w = {0, 2};
    if (focused == count - 1) w = {focused - 2, focused};
    w.first = std::max(w.first, 0);
    w.last = std::min(w.last, count - 1);
    return w;
}

void Mode_ContactList_Init() {
    skype::CSkypeMonitor& link = skype::g_SkypeMonitor;
    if (!link.FocusedContact().empty()) return;
    if (const auto first = link.m_Contacts.At(0)) link.SetFocusedContact(first->m_strHandle);
}

void Mode_ContactList_Proc(unsigned key) {
    platform::LogW(L"Mode_ContactList_Proc entering");
    if (OpenNumberDialWith(key) || MoveSkypeFocus(key)) return;
    switch (key) {
        case common::KEY_HOOKUP:
        case common::KEY_HOTKEY_2:
            WaitKeyTone();
            platform::Sleep(200);
            CallFocusedContact();
            break;
        case common::KEY_HOOKDOWN:
        case common::KEY_RIGHT_FUNC: SwitchMode(MODE_MAIN); break;
        case common::KEY_LEFT_FUNC: SwitchMode(MODE_CONTACT_DETAIL); break;
        case common::KEY_STAR: SendMessageToSkype("SET WINDOWSTATE NORMAL"); break;
        default: break;
    }
}

void Mode_ContactList_Display() {
    g_VirtualDisplay.ClearScreen();
    const std::vector<CContact> contacts = skype::g_SkypeMonitor.m_Contacts.Snapshot();
    const std::string focused = skype::g_SkypeMonitor.FocusedContact();
    const auto it = std::find_if(contacts.begin(), contacts.end(),
                                 [&focused](const CContact& c) { return c.m_strHandle == focused; });
    if (it == contacts.end()) return;
    DrawContactWindow(contacts, static_cast<int>(it - contacts.begin()));
    DrawCallBackLabels(IDS_SCREEN_DETAIL);
}

void Mode_ContactDetail_Init() { g_VirtualDisplay.ClearScreen(); }

void Mode_ContactDetail_Proc(unsigned key) {
    platform::LogW(L"Mode_ContactDetail_Proc entering");
    if (OpenNumberDialWith(key) || MoveSkypeFocus(key)) return;
    switch (key) {
        case common::KEY_HOOKUP:
        case common::KEY_LEFT_FUNC:
            WaitKeyTone();
            CallFocusedContact();
            break;
        case common::KEY_HOOKDOWN: SwitchMode(MODE_MAIN); break;
        case common::KEY_RIGHT_FUNC: SwitchMode(MODE_CONTACT_LIST); break;
        default: break;
    }
}

void Mode_ContactDetail_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
    if (const auto contact = skype::g_SkypeMonitor.m_Contacts.FindContact(skype::g_SkypeMonitor.FocusedContact())) {
        d.DrawTextRow(0, 1, contact->m_strHandle, kAlignLeft);
        d.DrawTextRow(0, 2, contact->m_strName, kAlignLeft);
    }
    DrawCallBackLabels(IDS_SCREEN_CALL);
}

}  // namespace modes
