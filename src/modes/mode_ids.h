#pragma once
// Mode numbers: fixed indexes into the mode table.

namespace modes {

constexpr int MODE_MAIN = 0;
constexpr int MODE_CONTACT_LIST = 1;
constexpr int MODE_RINGING = 2;
constexpr int MODE_TALKING = 3;
constexpr int MODE_NUM_DIAL = 4;
constexpr int MODE_SETTING_MENU = 5;
constexpr int MODE_HISTORY_MENU = 6;
constexpr int MODE_HISTORY_INCOMING = 7;
constexpr int MODE_HISTORY_OUTGOING = 8;
constexpr int MODE_HISTORY_MISSEDCALL = 9;
constexpr int MODE_HISTORY_VMAIL = 10;
constexpr int MODE_CONTACT_DETAIL = 11;
constexpr int MODE_HISTORY_DETAIL = 12;
constexpr int MODE_EMPTY = 13;
constexpr int MODE_VOLUME_SETTING = 14;
constexpr int MODE_CONFERENCE = 15;
constexpr int MODE_UNCONNECTED = 16;
constexpr int MODE_BALANCE = 17;
constexpr int MODE_VOICEMAIL_PLAY = 18;
constexpr int MODE_VOICEMAIL_PLAY_END = 19;
constexpr int MODE_SYS_CONFIRM = 20;

constexpr int kModeCount = 21;
constexpr int kNoMode = -1;

// "MODE_MAIN", ...; "MODE_?" outside the table.
const char* ModeName(int mode);

}  // namespace modes
