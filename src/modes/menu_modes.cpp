// The settings and history menus that the idle screen's soft keys open:
// a short list whose left soft key opens the selected entry.

#include <string>
#include <utility>
#include <vector>

#include "common/key_ids.h"
#include "modes/list_modes.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/log.h"

namespace modes {

namespace {

// Menu rows are named by their index.
void FillMenu(DrawRowFunc drawer, const std::vector<unsigned>& texts) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (size_t i = 0; i < texts.size(); ++i) rows.emplace_back(ScreenText(texts[i]), std::to_string(i));
    RebuildScreenList(drawer, rows);
}

// The keys both menus share; `targets` are the modes of the rows in order.
void MenuProc(unsigned key, const std::vector<int>& targets) {
    if (OpenNumberDialWith(key) || MoveListSelection(key)) return;
    switch (key) {
        case common::KEY_LEFT_FUNC: {
            const int row = SelectedListRow();
            if (row >= 0 && static_cast<size_t>(row) < targets.size()) {
                SwitchMode(static_cast<unsigned>(targets[static_cast<size_t>(row)]));
            }
            break;
        }
        case common::KEY_HOOKDOWN:
        case common::KEY_RIGHT_FUNC:
            SwitchMode(MODE_MAIN);
            break;
        default:
            break;
    }
}

}  // namespace

void Mode_SettingMenu_Init() {
    FillMenu(nullptr, {IDS_SCREEN_VOLUME_SETTING, IDS_SCREEN_CONFERENCE, IDS_SCREEN_BALANCE});
}

void Mode_HistoryMenu_Init() {
    FillMenu(DrawHistoryMenuRow,
             {IDS_SCREEN_INCOMING_CALL, IDS_SCREEN_OUTGOING_CALL, IDS_SCREEN_MISSED_CALL, IDS_SCREEN_VOICEMAIL});
}

void Mode_SettingMenu_Proc(unsigned key) {
    platform::LogW(L"Mode_SettingMenu_Proc entering");
    MenuProc(key, {MODE_VOLUME_SETTING, MODE_CONFERENCE, MODE_BALANCE});
}

void Mode_HistoryMenu_Proc(unsigned key) {
    platform::LogW(L"Mode_HistoryMenu_Proc entering");
    MenuProc(key, {MODE_HISTORY_INCOMING, MODE_HISTORY_OUTGOING, MODE_HISTORY_MISSEDCALL, MODE_HISTORY_VMAIL});
}

// "OK" is the same in every language: it is no screen text.
void Mode_Menu_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    g_ScreenList.Draw();
    d.DrawTextRow(0, 3, "OK", kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
}

}  // namespace modes
