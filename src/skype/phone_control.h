#pragma once
// What the Skype link asks of the phone modes and of Skype's own windows.
// The link only declares it; the phone modes, which know the link, define it
// (modes/phone_control.cpp), so the two subsystems do not include each other.

namespace skype::phone {

// The modes the link switches to or asks about.
enum class Mode { Main, ContactList, Ringing, Talking, VoicemailPlay };

void SwitchMode(Mode mode);
bool InMode(Mode mode);

// Whether a voicemail is playing (the flag the phone modes share).
bool VoicemailPlaying();
void SetVoicemailPlaying(bool playing);

// Shows Skype's contact list (its side panel and main window).
void ShowSkypeContacts();

}  // namespace skype::phone
