// The voicemail player, entered when Skype reports a voicemail playing: it
// stops and replays the voicemail chosen in the voicemail list and sets the
// volume while it plays. Slot 19, a "play ended" screen, is never entered.

#include <string>

#include "common/key_ids.h"
#include "modes/list_modes.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

bool Playing() { return g_ModeState.m_bVoicemailPlaying == 1; }

// The voicemail chosen in the list; empty when the selected row no longer
// names a voicemail Skype knows.
std::string ChosenVoicemail() {
    std::string id = SelectedListId();
    if (id.empty()) return id;
    const auto record = skype::g_SkypeMonitor.m_CallList.FindCall(id);
    return record && record->m_nType == skype::E_TYPE_INCOMING ? id : std::string();
}

void StopOrReplay() {
    const std::string id = ChosenVoicemail();
    if (id.empty()) return;
    if (Playing()) {
        skype::SendMessageToSkype("ALTER VOICEMAIL " + id + " STOPPLAYBACK ");
    } else {
        skype::SendMessageToSkype("OPEN VOICEMAIL " + id);
    }
}

void ChangeVolumeWhilePlaying(int delta) {
    if (!Playing()) return;
    StepOutVolume(delta);
    RefreshModeDisplay();
}

}  // namespace

void Mode_VoiceMailPlay_Proc(unsigned key) {
    switch (key) {
        case common::KEY_LEFT_FUNC: StopOrReplay(); break;
        case common::KEY_RIGHT_FUNC:
            if (!Playing()) SwitchMode(MODE_HISTORY_DETAIL);
            break;
        case common::KEY_UP:
        case common::KEY_VOL_UP: ChangeVolumeWhilePlaying(+2); break;
        case common::KEY_DOWN:
        case common::KEY_VOL_DOWN: ChangeVolumeWhilePlaying(-2); break;
        default: break;
    }
}

void Mode_VoiceMailPlay_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    if (Playing()) {
        d.DrawTextRow(0, 1, ScreenText(IDS_SCREEN_PLAYING), kAlignCentre);
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_STOP), kAlignLeft);
    } else {
        d.DrawTextRow(0, 1, ScreenText(IDS_SCREEN_PLAY_END), kAlignCentre);
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_PLAY), kAlignLeft);
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_BACK), kAlignRight);
    }
}

void Mode_VoiceMailPlayEnd_Proc(unsigned key) {
    platform::LogW(L"Mode_VoiceMailPlayEnd_Proc entering");
    if (OpenNumberDialWith(key)) return;
    if (key == common::KEY_HOOKDOWN) SwitchMode(MODE_MAIN);
    if (key == common::KEY_RIGHT_FUNC) SwitchMode(MODE_SETTING_MENU);
}

void Mode_VoiceMailPlayEnd_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawTextRow(0, 1, ScreenText(IDS_SCREEN_STOP), kAlignLeft);
    d.DrawTextRow(0, 1, "PLAYING.....", kAlignCentre);
}

}  // namespace modes
