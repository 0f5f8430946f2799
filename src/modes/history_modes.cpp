// The four history lists (received, dialled, missed, voicemails): a
// snapshot of Skype's call history taken at entry, newest first. Rows hold
// call ids, not records, so a record Skype drops meanwhile is looked up
// again and found missing rather than read after it is gone.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/history_lists.h"
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

using skype::CCallList;
using skype::CCallObject;

struct HistoryList {
    int mode;
    const wchar_t* initLog;  // none for the voicemails
    const wchar_t* procLog;
    DrawRowFunc drawer;
    int icon;
    std::vector<CCallObject> (CCallList::*select)() const;
};

const HistoryList kReceived{MODE_HISTORY_INCOMING, L"***Mode_HistoryIncoming_Init***",
                            L"Mode_HistoryIncoming_Proc entering", DrawReceivedCallRow, kIconIncomingCall,
                            &CCallList::GetIncomingCallList};
const HistoryList kDialled{MODE_HISTORY_OUTGOING, L"***Mode_HistoryOutgoing_Init***",
                           L"Mode_HistoryOutgoing_Proc entering", DrawDialledCallRow, kIconOutgoingCall,
                           &CCallList::GetOutgoingCallList};
const HistoryList kMissed{MODE_HISTORY_MISSEDCALL, L"***Mode_HistoryMissedcall_Init***",
                          L"Mode_HistoryMissedcall_Proc entering", DrawMissedCallRow, kIconMissedCall,
                          &CCallList::GetMissedCallList};
const HistoryList kVoicemails{MODE_HISTORY_VMAIL, nullptr, L"Mode_HistoryVMail_Proc entering", DrawVoicemailRow,
                              kIconVoicemail, &CCallList::GetVoiceMailList};

// The entry a list reopens on, set only for the switch back from a detail
// (under the transition lock, as every enter operation runs).
std::string g_ReopenAtId;

constexpr int kListIconX = 56;
constexpr int kListIconY = 48;

void InitHistoryList(const HistoryList& list) {
    if (list.initLog) platform::LogW(list.initLog);
    std::vector<CCallObject> records = (skype::g_SkypeMonitor.m_CallList.*list.select)();
    SortNewestFirst(records);
    std::vector<std::pair<std::string, std::string>> rows;
    rows.reserve(records.size());
    for (const CCallObject& r : records) rows.emplace_back(r.m_szPartnerName, r.m_szCallId);
    platform::Guard guard(g_ModeState.m_DisplayLock);
    RebuildScreenList(list.drawer, rows);
    if (!g_ReopenAtId.empty()) g_ScreenList.SelectById(g_ReopenAtId);
}

void OpenDetail(bool voicemail) {
    if (ListRowCount() == 0) return;
    if (voicemail) g_ModeState.m_bDetailIsVoicemail = 1;
    SwitchMode(MODE_HISTORY_DETAIL);
}

void HistoryListProc(const HistoryList& list, unsigned key) {
    platform::LogW(list.procLog);
    const bool voicemails = list.mode == MODE_HISTORY_VMAIL;
    if (voicemails) g_ModeState.m_bDetailIsVoicemail = 0;
    if (OpenNumberDialWith(key) || MoveListSelection(key)) return;
    switch (key) {
        case common::KEY_HOOKUP:
            // A voicemail is not called back from its list.
            if (!voicemails) CallBackRecord(SelectedListId());
            break;
        case common::KEY_HOOKDOWN: SwitchMode(MODE_MAIN); break;
        case common::KEY_LEFT_FUNC: OpenDetail(voicemails); break;
        case common::KEY_RIGHT_FUNC: SwitchMode(MODE_HISTORY_MENU); break;
        default: break;
    }
}

void DisplayHistoryList(const HistoryList& list) {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    if (g_ScreenList.GetCount() > 0) {
        g_ScreenList.Draw();
    } else {
        d.DrawTextRow(0, 1, "<Empty>", kAlignCentre);
    }
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_DETAIL), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
    if (common::g_Settings.VAL_ENABLE_LCM == 1) d.DrawIcon(kListIconX, kListIconY, list.icon);
}

}  // namespace

void SortNewestFirst(std::vector<CCallObject>& records) {
    std::sort(records.begin(), records.end(),
              [](const CCallObject& a, const CCallObject& b) { return a.m_nTimestamp > b.m_nTimestamp; });
}

int HistoryIconOfMode(int mode) {
    for (const HistoryList* list : {&kReceived, &kDialled, &kMissed, &kVoicemails}) {
        if (list->mode == mode) return list->icon;
    }
    return -1;
}

void CallBackRecord(const std::string& callId) {
    const auto record = skype::g_SkypeMonitor.m_CallList.FindCall(callId);
    if (callId.empty() || !record) return;
    WaitKeyTone();
    skype::SendMessageToSkype(std::string("CALL ") + record->m_szPartnerHandle);
}

void ReopenHistoryListAt(int mode, const std::string& callId) {
    platform::Guard transition(g_ModeState.m_TransitionLock);
    g_ReopenAtId = callId;
    SwitchMode(static_cast<unsigned>(mode));
    g_ReopenAtId.clear();
}

void Mode_HistoryIncoming_Init() { InitHistoryList(kReceived); }
void Mode_HistoryOutgoing_Init() { InitHistoryList(kDialled); }
void Mode_HistoryMissedcall_Init() { InitHistoryList(kMissed); }
void Mode_HistoryVMail_Init() { InitHistoryList(kVoicemails); }

void Mode_HistoryIncoming_Proc(unsigned key) { HistoryListProc(kReceived, key); }
void Mode_HistoryOutgoing_Proc(unsigned key) { HistoryListProc(kDialled, key); }
void Mode_HistoryMissedcall_Proc(unsigned key) { HistoryListProc(kMissed, key); }
void Mode_HistoryVMail_Proc(unsigned key) { HistoryListProc(kVoicemails, key); }

void Mode_HistoryIncoming_Display() { DisplayHistoryList(kReceived); }
void Mode_HistoryOutgoing_Display() { DisplayHistoryList(kDialled); }
void Mode_HistoryMissedcall_Display() { DisplayHistoryList(kMissed); }
void Mode_HistoryVMail_Display() { DisplayHistoryList(kVoicemails); }

}  // namespace modes
