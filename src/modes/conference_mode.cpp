// The conference screen: every contact, each chosen or not with the left
// soft key, and the hook calls the chosen ones together. The candidates are
// a copy of the contact list taken at entry, so the rows stay put while
// Skype's reports reorder the list; the choices end with the mode.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/conference_command.h"
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

constexpr int kConferenceIconX = 56;
constexpr int kConferenceIconY = 48;

// Guarded by the display lock, as the screen list is.
std::vector<skype::CContact> g_confCandidates;
std::vector<int32_t> g_confSelected;

int CandidateIndex(const std::string& handle) {
    const auto it = std::find_if(g_confCandidates.begin(), g_confCandidates.end(),
                                 [&handle](const skype::CContact& c) { return c.m_strHandle == handle; });
    return it == g_confCandidates.end() ? -1 : static_cast<int>(it - g_confCandidates.begin());
}

// Called by the row drawer, under the display lock.
bool IsChosen(const std::string& handle) {
    const int index = CandidateIndex(handle);
    return index >= 0 && g_confSelected[static_cast<size_t>(index)] == 1;
}

void FlipSelectedRow() {
    {
        platform::Guard guard(g_ModeState.m_DisplayLock);
        if (g_ScreenList.GetCount() == 0) return;
        const int index = CandidateIndex(g_ScreenList.GetId(g_ScreenList.m_nSel));
        if (index < 0) return;
        int32_t& flag = g_confSelected[static_cast<size_t>(index)];
        flag = flag ? 0 : 1;
    }
    RefreshModeDisplay();
}

std::vector<std::string> ChosenHandles() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    std::vector<std::string> handles;
    for (size_t i = 0; i < g_confCandidates.size(); ++i) {
        if (g_confSelected[i] == 1) handles.push_back(g_confCandidates[i].m_strHandle);
    }
    return handles;
}

void CallChosen() {
    const std::string command = ConferenceCommand(ChosenHandles());
    if (!command.empty()) skype::SendMessageToSkype(command);
}

}  // namespace

std::string ConferenceCommand(const std::vector<std::string>& handles) {
    if (handles.empty()) return std::string();
    std::string command = "CALL ";
    for (size_t i = 0; i < handles.size(); ++i) command += (i > 0 ? ", " : "") + handles[i];
    return command;
}

void Mode_Conference_Init() {
    std::vector<skype::CContact> candidates = skype::g_SkypeMonitor.m_Contacts.Snapshot();
    std::vector<std::pair<std::string, std::string>> rows;
    rows.reserve(candidates.size());
    for (const skype::CContact& c : candidates) rows.emplace_back(c.m_strName, c.m_strHandle);
    platform::Guard guard(g_ModeState.m_DisplayLock);
    RebuildScreenList(DrawConferenceRow, rows);
    g_confCandidates = std::move(candidates);
    g_confSelected.assign(g_confCandidates.size(), 0);
    SetConferenceChoice(IsChosen);
}

void Mode_Conference_Exit() {
    platform::Guard guard(g_ModeState.m_DisplayLock);
    g_confSelected.clear();
    g_confCandidates.clear();
}

void Mode_Conference_Proc(unsigned key) {
    platform::LogW(L"Mode_Conference_Proc entering");
    if (OpenNumberDialWith(key) || MoveListSelection(key)) return;
    switch (key) {
        case common::KEY_HOOKUP: CallChosen(); break;
        case common::KEY_HOOKDOWN: SwitchMode(MODE_MAIN); break;
        case common::KEY_LEFT_FUNC: FlipSelectedRow(); break;
        case common::KEY_RIGHT_FUNC: SwitchMode(MODE_SETTING_MENU); break;
        default: break;
    }
}

void Mode_Conference_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    // An empty list has no position for a scroll bar to show.
    if (g_ScreenList.GetCount() > 0) g_ScreenList.Draw();
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_SELECT), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
    if (common::g_Settings.VAL_ENABLE_LCM == 1) d.DrawIcon(kConferenceIconX, kConferenceIconY, kIconConference);
}

}  // namespace modes
