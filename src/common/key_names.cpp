#include <cstdio>

#include "common/key_ids.h"
#include "platform/log.h"

namespace common {

namespace {
struct KeyText {
    uint32_t key;
    const char* name;
    const wchar_t* logText;
};

// Log texts are the documented ones, blanks included.
constexpr KeyText kKeyTexts[] = {
    {KEY_HOOKUP, "KEY_HOOKUP", L"HOOK UP pressed\n"},
    {KEY_HOOKDOWN, "KEY_HOOKDOWN", L"HOOK DOWN pressed\n"},
    {KEY_LEFT_FUNC, "KEY_LEFT_FUNC", L"Left Function pressed\n"},
    {KEY_RIGHT_FUNC, "KEY_RIGHT_FUNC", L"Right Function pressed\n"},
    {KEY_HOTKEY_1, "KEY_HOTKEY_1", L"HOT KEY 1 pressed\n"},
    {KEY_HOTKEY_2, "KEY_HOTKEY_2", L"HOT KEY 2 pressed\n"},
    {KEY_HOTKEY_3, "KEY_HOTKEY_3", L"HOT KEY 3 pressed\n"},
    {KEY_UP, "KEY_UP", L"KEY UP pressed\n"},
    {KEY_DOWN, "KEY_DOWN", L"KEY DOWN pressed\n"},
    {KEY_VOL_UP, "KEY_VOL_UP", L"Volume  Up pressed\n"},
    {KEY_VOL_DOWN, "KEY_VOL_DOWN", L"Volume Down pressed\n"},
    {KEY_MUTE, "KEY_MUTE", L"Mute pressed\n"},
    {KEY_STAR, "KEY_STAR", L"STAR pressed\n"},
    {KEY_SHARP, "KEY_SHARP", L"SHARP pressed\n"},
    {KEY_CLEAR, "KEY_CLEAR", L"Clear pressed\n"},
    {KEY_0_LONG, "KEY_0_LONG", L"0 LONG pressed\n"},
};

const char* const kDigitNames[] = {"KEY_0", "KEY_1", "KEY_2", "KEY_3", "KEY_4",
                                   "KEY_5", "KEY_6", "KEY_7", "KEY_8", "KEY_9"};
}  // namespace

void PrintKeyName(uint32_t key) {
    if (key <= KEY_9) {
        platform::LogW(L"%d pressed\n", static_cast<int>(key));
        return;
    }
    for (const KeyText& t : kKeyTexts) {
        if (t.key == key) {
            platform::LogW(L"%ls", t.logText);
            return;
        }
    }
}

const char* KeyName(uint32_t key, char (&fallback)[16]) {
    if (key <= KEY_9) return kDigitNames[key];
    for (const KeyText& t : kKeyTexts) {
        if (t.key == key) return t.name;
    }
    std::snprintf(fallback, sizeof(fallback), "%u", static_cast<unsigned>(key));
    return fallback;
}

}  // namespace common
