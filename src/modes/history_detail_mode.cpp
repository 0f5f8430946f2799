// The detail of one history entry: when, who, how long; it calls back, or
// plays a voicemail. The record is looked up by id at every draw and key,
// so what Skype reports meanwhile shows, and a record Skype has dropped
// shows nothing.

#include <optional>
#include <string>

#include "common/key_ids.h"
#include "common/settings.h"
#include "modes/history_lists.h"
#include "modes/list_modes.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

constexpr int kDetailIconX = 56;
constexpr int kDetailIconY = 48;

std::optional<skype::CCallObject> ShownRecord() {
    const std::string id = SelectedListId();
    if (id.empty()) return std::nullopt;
    return skype::g_SkypeMonitor.m_CallList.FindCall(id);
}

bool ShowsVoicemail() { return g_ModeState.m_bDetailIsVoicemail == 1; }

void SendQueries(const std::string& callId) {
    const std::string kind = ShowsVoicemail() ? "GET VOICEMAIL " : "GET CALL ";
    for (const char* property : {" TIMESTAMP", " PARTNER_HANDLE", " CONF_ID", " DURATION"}) {
        skype::SendMessageToSkype(kind + callId + property);
    }
}

void DrawRecord(const skype::CCallObject& r) {
    CVirtualDisplay& d = g_VirtualDisplay;
    const platform::LocalTime t = platform::CurrentClock().LocalTimeOf(r.m_nTimestamp);
    d.DrawTextRow(0, 0, skype::DateTextOf(t), kAlignLeft);
    d.DrawTextRow(0, 0, skype::TimeTextOf(t), kAlignRight);
    d.DrawTextRow(0, 1, r.m_szPartnerName, kAlignLeft);
    d.DrawTextRow(0, 2, DurationText(r.m_nDuration), kAlignCentre);
}

}  // namespace

void Mode_HistoryDetail_Init() {
    const auto record = ShownRecord();
    g_VirtualDisplay.ClearScreen();
    if (record) SendQueries(record->m_szCallId);
}

void Mode_HistoryDetail_Proc(unsigned key) {
    platform::LogW(L"Mode_HistoryDetail_Proc entering");
    if (OpenNumberDialWith(key)) return;
    const std::string id = SelectedListId();
    switch (key) {
        case common::KEY_HOOKDOWN:
            g_ModeState.m_bDetailIsVoicemail = 0;
            SwitchMode(MODE_MAIN);
            break;
        case common::KEY_LEFT_FUNC:
            if (ShowsVoicemail()) {
                if (ShownRecord()) skype::SendMessageToSkype("OPEN VOICEMAIL " + id);
            } else {
                CallBackRecord(id);
            }
            break;
        case common::KEY_HOOKUP: CallBackRecord(id); break;
        case common::KEY_RIGHT_FUNC:
            if (ShowsVoicemail()) {
                SwitchMode(MODE_HISTORY_VMAIL);
            } else {
                // The list it came from, on the same entry.
                ReopenHistoryListAt(g_ModeState.m_PrevMode, id);
            }
            break;
        default: break;
    }
}

void Mode_HistoryDetail_Display() {
    platform::LogW(L"Mode_HistoryDetail_Display entering");
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    if (const auto record = ShownRecord()) DrawRecord(*record);
    d.DrawTextRow(0, 3, ScreenText(ShowsVoicemail() ? IDS_SCREEN_PLAY : IDS_SCREEN_CALL), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
    const int icon = HistoryIconOfMode(g_ModeState.m_PrevMode);
    if (icon >= 0 && common::g_Settings.VAL_ENABLE_LCM == 1) d.DrawIcon(kDetailIconX, kDetailIconY, icon);
}

}  // namespace modes
