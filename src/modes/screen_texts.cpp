#include "modes/screen_texts.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/log.h"
#include "settings_ui/language_files.h"

namespace modes {

namespace {

constexpr unsigned kFirstId = IDS_SCREEN_SETTING;
constexpr const wchar_t* kKeys[] = {
    L"Screen_Display_Setting",    L"Screen_Display_History",      L"Screen_Display_BACK",
    L"Screen_Display_Detail",     L"Screen_Display_Call",         L"Screen_Display_Hangup",
    L"Screen_Display_Accept",     L"Screen_Display_Refuse",       L"Screen_Display_Mute",
    L"Screen_Display_Delete",     L"Screen_Display_Select",       L"Screen_Display_DialFailed",
    L"Screen_Display_VolumeSetting", L"Screen_Display_Conference", L"Screen_Display_Balance",
    L"Screen_Display_IncomingCall", L"Screen_Display_OutgoingCall", L"Screen_Display_MissedCall",
    L"Screen_Display_Currency",   L"Screen_Display_Balance2",     L"Screen_Display_VoiceMail",
    L"Screen_Display_Play",       L"Screen_Display_Stop",         L"Screen_Display_Playing",
    L"Screen_Display_PlayEnd",
};
constexpr unsigned kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::wstring ScreenTextKey(unsigned id) {
    if (id < kFirstId || id >= kFirstId + kKeyCount) return std::wstring();
    return kKeys[id - kFirstId];
}

std::string CutUtf8(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    while (end > 0 && IsContinuationByte(text[end])) --end;
    return text.substr(0, end);
}

int GetScreenText(char* buffer, unsigned id, size_t size) {
    const std::wstring key = ScreenTextKey(id);
    if (key.empty() || buffer == nullptr || size == 0) return 0;
    const std::string text = CutUtf8(platform::WideToUtf8(settings_ui::GetLanguageText(key)), size - 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(key.size());
}

std::string ScreenText(unsigned id, size_t size) {
    std::vector<char> buffer(size + 1, '\0');
    GetScreenText(buffer.data(), id, size);
    return buffer.data();
}

std::string DurationText(int32_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof(text), "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace modes
