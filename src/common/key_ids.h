#pragma once
// Key ids: what travels through the key queue and reaches the phone modes.

#include <cstdint>

namespace common {

constexpr uint32_t KEY_0 = 0;
constexpr uint32_t KEY_1 = 1;
constexpr uint32_t KEY_2 = 2;
constexpr uint32_t KEY_3 = 3;
constexpr uint32_t KEY_4 = 4;
constexpr uint32_t KEY_5 = 5;
constexpr uint32_t KEY_6 = 6;
constexpr uint32_t KEY_7 = 7;
constexpr uint32_t KEY_8 = 8;
constexpr uint32_t KEY_9 = 9;
constexpr uint32_t KEY_HOOKUP = 10;
constexpr uint32_t KEY_HOOKDOWN = 11;
constexpr uint32_t KEY_LEFT_FUNC = 12;
constexpr uint32_t KEY_RIGHT_FUNC = 13;
constexpr uint32_t KEY_HOTKEY_1 = 14;
constexpr uint32_t KEY_HOTKEY_2 = 15;
constexpr uint32_t KEY_HOTKEY_3 = 16;
constexpr uint32_t KEY_UP = 17;
constexpr uint32_t KEY_DOWN = 18;
constexpr uint32_t KEY_VOL_UP = 19;
constexpr uint32_t KEY_VOL_DOWN = 20;
constexpr uint32_t KEY_MUTE = 21;
constexpr uint32_t KEY_STAR = 22;
constexpr uint32_t KEY_SHARP = 23;
constexpr uint32_t KEY_CLEAR = 24;

// A key held for the long-press window reports its id plus this.
constexpr uint32_t KEY_LONG_OFFSET = 100;
constexpr uint32_t KEY_0_LONG = KEY_0 + KEY_LONG_OFFSET;
constexpr uint32_t KEY_HOTKEY_1_LONG = KEY_HOTKEY_1 + KEY_LONG_OFFSET;

// The handset's report that it has started and wants to be initialised.
constexpr uint32_t HANDSET_CODE_DEVICE_START = 240;

// Hardware codes of input reports with id 3.
constexpr uint8_t kKeyReportId = 3;
constexpr uint8_t kCodeRelease = 0;
constexpr int kFirstMappedCode = 1;
constexpr int kLastMappedCode = 25;  // the key map has entries for codes 1 ... 25

// Writes the key's log text to the wide log; ids without a text write nothing.
void PrintKeyName(uint32_t key);

// The key's symbolic name ("KEY_HOOKUP", "KEY_0_LONG", ...) or its number.
const char* KeyName(uint32_t key, char (&fallback)[16]);

}  // namespace common
