// The two call modes: ringing (incoming or being placed) and talking. Their
// keys send Skype commands and wait for Skype's answer; their enter and leave
// operations and the ringing display send handset commands.

#include <string>

#include "common/key_ids.h"
#include "common/settings.h"
#include "handset/handset_commands.h"
#include "modes/list_modes.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

using skype::CCallObject;
using skype::SendMessageToSkype;

skype::CCurrCallList& CurrentCalls() { return skype::g_SkypeMonitor.m_CurrCallList; }

// The id of the current call (the last record), empty without one.
std::string CurrentCallId() {
    const auto call = CurrentCalls().GetLastCall();
    return call ? call->m_szCallId : std::string();
}

void SendCallStatus(const std::string& id, const char* status) {
    SendMessageToSkype("SET CALL " + id + " STATUS " + status);
}

// Answers the current call and refuses every other call that still rings.
void Answer(const std::string& id) {
    SendCallStatus(id, "INPROGRESS");
    for (const CCallObject& c : CurrentCalls().Snapshot()) {
        const std::string status = c.m_szStatus;
        if (status != "INPROGRESS" && status != "ONHOLD" && id != c.m_szCallId) SendCallStatus(c.m_szCallId, "FINISHED");
    }
}

void HotKey1WhileRinging(const std::string& id) {
    const auto call = CurrentCalls().GetLastCall();
    if (!call) return;  // the mode is normally left before the list empties
    if (CurrentCalls().Count() > 1) {
        WaitKeyTone();
        SendCallStatus(id, "FINISHED");
    } else if (skype::IsIncomingCall(call->m_nType)) {
        SendCallStatus(id, "FINISHED");
    }
}

void HotKey2WhileRinging(const std::string& id) {
    const auto call = CurrentCalls().GetLastCall();
    if (!call) return;
    if (call->m_bRouted == 1) {
        WaitKeyTone();
        SendCallStatus(id, "FINISHED");
    } else {
        SendCallStatus(id, "INPROGRESS");
    }
}

// Rotates to the next call and resumes it (with its conference), or holds
// and resumes a single call.
void SwitchOrHold() {
    CurrentCalls().RotateCalls();
    const auto call = CurrentCalls().GetLastCall();
    if (!call) return;
    if (call->m_szConfId[0] != '0') {
        skype::CCurrCallList conference;
        CurrentCalls().CollectConference(call->m_szConfId, conference);
        for (const CCallObject& c : conference.Snapshot()) SendCallStatus(c.m_szCallId, "INPROGRESS");
        return;
    }
    if (CurrentCalls().Count() == 1) {
        const std::string status = call->m_szStatus;
        if (status == "INPROGRESS") SendCallStatus(call->m_szCallId, "ONHOLD");
        if (status == "ONHOLD") SendCallStatus(call->m_szCallId, "INPROGRESS");
        return;
    }
    SendCallStatus(call->m_szCallId, "INPROGRESS");
}

void HangUp(const std::string& id) {
    WaitKeyTone();
    if (id.empty()) {
        SwitchMode(MODE_MAIN);
        return;
    }
    handset::NewWriteCmd(handset::CMD_STATUS_IDLE);
    SendCallStatus(id, "FINISHED");
}

void EndAndResume(const std::string& id) {
    std::string finish = "SET CALL " + id + " STATUS FINISHED";
    if (finish.size() > 99) finish.resize(99);
    WaitKeyTone();
    if (CurrentCalls().Count() == 1) handset::NewWriteCmd(handset::CMD_STATUS_IDLE);
    CurrentCalls().RotateCalls();
    const std::string next = CurrentCallId();
    if (!next.empty()) SendCallStatus(next, "INPROGRESS");
    SendMessageToSkype(finish);
}

void ToggleMute() { SendMessageToSkype(skype::g_SkypeMonitor.m_bMute ? "SET MUTE OFF" : "SET MUTE ON"); }

// The talking mode also keeps the new volume as the one to restore after
// the call.
void ChangeVolume(int delta) {
    skype::g_SkypeMonitor.m_nSavedVolume = StepOutVolume(delta);
    RefreshModeDisplay();
}

void SendDtmf(const std::string& id, unsigned key) {
    if (key <= common::KEY_9) SendMessageToSkype("SET CALL " + id + " DTMF " + std::to_string(key));
    if (key == common::KEY_STAR) SendMessageToSkype("SET CALL " + id + " DTMF *");
    if (key == common::KEY_SHARP) SendMessageToSkype("SET CALL " + id + " DTMF #");
    // A long press of 0 is no DTMF key: it sends nothing.
}

}  // namespace

void Mode_Ringing_Init() {
    // A call interrupts a voicemail being played: the one selected in the
    // voicemail list.
    if (g_ModeState.m_bVoicemailPlaying == 1) {
        SendMessageToSkype("ALTER VOICEMAIL " + SelectedListId() + " STOPPLAYBACK ");
    }
    handset::NewWriteCmd(handset::CMD_STATUS_ALERT);
}

void Mode_Ringing_Proc(unsigned key) {
    platform::LogW(L"Mode_Ringing_Proc entering");
    const std::string id = CurrentCallId();
    switch (key) {
        case common::KEY_HOOKUP:
        case common::KEY_LEFT_FUNC:
            Answer(id);
            break;
        case common::KEY_HOOKDOWN:
        case common::KEY_RIGHT_FUNC:
            WaitKeyTone();
            SendCallStatus(id, "FINISHED");
            break;
        case common::KEY_HOTKEY_1:
            HotKey1WhileRinging(id);
            break;
        case common::KEY_HOTKEY_2:
            HotKey2WhileRinging(id);
            break;
        case common::KEY_HOTKEY_1_LONG:
            SendMessageToSkype("MINIMIZE");
            break;
        default:
            break;
    }
}

void Mode_Ringing_Exit() {
    handset::NewWriteCmd(handset::CMD_STATUS_IDLE);
    handset::NewWriteCmd(handset::CMD_RING_STOP);
}

void Mode_Talking_Init() { handset::NewWriteCmd(handset::CMD_STATUS_TALK); }

void Mode_Talking_Proc(unsigned key) {
    platform::LogW(L"Mode_Talking_Proc entering");
    const std::string id = CurrentCallId();
    switch (key) {
        case common::KEY_HOOKUP:
            platform::LogW(L"KEY_HOOKUP");
            SwitchOrHold();
            break;
        case common::KEY_HOTKEY_1:
            platform::LogW(L"KEY_HOTKEY_1");
            SwitchOrHold();
            break;
        case common::KEY_HOOKDOWN:
        case common::KEY_RIGHT_FUNC:
            HangUp(id);
            break;
        case common::KEY_HOTKEY_2:
            EndAndResume(id);
            break;
        case common::KEY_MUTE:
            ToggleMute();
            break;
        case common::KEY_LEFT_FUNC:
            if (common::g_Settings.VAL_ENABLE_LCM == 1) ToggleMute();
            break;
        case common::KEY_UP:
            ChangeVolume(+2);
            break;
        case common::KEY_DOWN:
            ChangeVolume(-2);
            break;
        default:
            SendDtmf(id, key);
            break;
    }
}

void Mode_Talking_Exit() { handset::NewWriteCmd(handset::CMD_STATUS_IDLE); }

}  // namespace modes
