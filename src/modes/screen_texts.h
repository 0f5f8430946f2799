#pragma once
// The labels of the handset's screens: string-table ids whose texts are keys
// of the language file, so each screen shows the chosen language.

#include <cstddef>
#include <cstdint>
#include <string>

namespace modes {

enum ScreenTextId : unsigned {
    IDS_SCREEN_SETTING = 103,
    IDS_SCREEN_HISTORY = 104,
    IDS_SCREEN_BACK = 105,
    IDS_SCREEN_DETAIL = 106,
    IDS_SCREEN_CALL = 107,
    IDS_SCREEN_HANGUP = 108,
    IDS_SCREEN_ACCEPT = 109,
    IDS_SCREEN_REFUSE = 110,
    IDS_SCREEN_MUTE = 111,
    IDS_SCREEN_DELETE = 112,
    IDS_SCREEN_SELECT = 113,
    IDS_SCREEN_DIAL_FAILED = 114,
    IDS_SCREEN_VOLUME_SETTING = 115,
    IDS_SCREEN_CONFERENCE = 116,
    IDS_SCREEN_BALANCE = 117,
    IDS_SCREEN_INCOMING_CALL = 118,
    IDS_SCREEN_OUTGOING_CALL = 119,
    IDS_SCREEN_MISSED_CALL = 120,
    IDS_SCREEN_CURRENCY = 121,
    IDS_SCREEN_BALANCE2 = 122,
    IDS_SCREEN_VOICEMAIL = 123,
    IDS_SCREEN_PLAY = 124,
    IDS_SCREEN_STOP = 125,
    IDS_SCREEN_PLAYING = 126,
    IDS_SCREEN_PLAY_END = 127,
};

// The string-table text of an id (the language key), empty for an id
// without one.
std::wstring ScreenTextKey(unsigned id);

// Writes the language text of the id's key into `buffer` as UTF-8 with its
// terminating zero, cut at a character boundary to fit `size` bytes, and
// returns the length of the key. An id without an entry leaves the buffer
// as it is and returns 0.
int GetScreenText(char* buffer, unsigned id, size_t size);

// GetScreenText into a buffer of `size` bytes (1000 unless a screen keeps
// its labels shorter).
std::string ScreenText(unsigned id, size_t size = 1000);

// A call's length as the screens show it, "%02d:%02d:%02d" (hours, minutes,
// seconds); a negative length shows as 00:00:00.
std::string DurationText(int32_t seconds);

// The longest prefix of a UTF-8 text that has at most `maxBytes` bytes and
// does not split a character.
std::string CutUtf8(const std::string& text, size_t maxBytes);

}  // namespace modes
