#pragma once
// The handset display's 16 x 16 one-bit icons. Their pictures live in
// resources/icon_strip.txt; the build compiles them in (and also writes the
// same strip as icon_strip.bmp for the Windows resources).

namespace modes {

constexpr int kIconCount = 39;
constexpr int kIconSize = 16;

// Icon indices the screens use; the rest of the strip is unused.
enum IconIndex : int {
    kIconStatus = 0,
    kIconOutgoingCall = 1,
    kIconIncomingCall = 2,
    kIconMissedCall = 3,
    // The contact states, by the status they stand for.
    kIconContactOffline = 4,
    kIconContactUnknown = 5,
    kIconContactOnline = 6,
    kIconMuted = 8,
    kIconDialling1 = 9,
    kIconDialling2 = 10,
    kIconDialling3 = 11,
    kIconRinging1 = 12,
    kIconRinging2 = 13,
    kIconRinging3 = 14,
    kIconVoicemail = 23,
    kIconConferenceRowNotChosen = 28,
    kIconConferenceRowChosen = 29,
    kIconContactNotAvailable = 30,
    kIconContactAway = 31,
    kIconContactDoNotDisturb = 32,
    kIconContactSkypeMe = 33,
    kIconConference = 34,
    kIconContactSkypeOut = 35,
    kIconCallInProgress = 36,
};

// True when pixel (x, y) of icon `index` is lit; false outside the strip
// or the icon.
bool IconPixel(int index, int x, int y);

}  // namespace modes
