// The phone modes as the Skype link sees them.

#include "skype/phone_control.h"

#include "modes/mode_machine.h"
#include "modes/skype_windows.h"

namespace skype::phone {

namespace {
int ModeNumber(Mode mode) {
    switch (mode) {
        case Mode::Main: return modes::MODE_MAIN;
        case Mode::ContactList: return modes::MODE_CONTACT_LIST;
        case Mode::Ringing: return modes::MODE_RINGING;
        case Mode::Talking: return modes::MODE_TALKING;
        case Mode::VoicemailPlay: return modes::MODE_VOICEMAIL_PLAY;
    }
    return modes::kNoMode;
}
}  // namespace

void SwitchMode(Mode mode) { modes::SwitchMode(static_cast<unsigned>(ModeNumber(mode))); }

bool InMode(Mode mode) { return modes::g_ModeState.m_CurrMode == ModeNumber(mode); }

bool VoicemailPlaying() { return modes::g_ModeState.m_bVoicemailPlaying == 1; }

void SetVoicemailPlaying(bool playing) { modes::g_ModeState.m_bVoicemailPlaying = playing ? 1 : 0; }

void ShowSkypeContacts() { modes::ShowSkypeContacts(); }

}  // namespace skype::phone
