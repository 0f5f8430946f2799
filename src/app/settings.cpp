#include "app/settings.h"

#include <cstdio>

#include "platform/app_folder.h"
#include "platform/profile.h"

namespace app {

CAppSettings g_Settings;
CIniFile g_SettingsIni;

const int kDefaultKeyMap[kKeyMapSize] = {10, 1, 4, 7, 22, 17, 2, 5, 8, 0, 18, 3, 6,
                                         9,  23, 11, 12, 14, 15, 19, 13, 24, 16, 21, 20};
const int kDefaultContrast[kContrastLevelCount][3] = {{162, 35, 34}, {162, 35, 37}, {162, 35, 40}};

namespace {
constexpr size_t kAppPathChars = 260;
constexpr size_t kLoadPathChars = 2048;
constexpr size_t kIniReadChars = 255;
const wchar_t kSettingsFile[] = L"Corvane.ini";
const wchar_t kSectionSetting[] = L"SETTING";
const wchar_t kSectionLcm[] = L"LCM";
const wchar_t kSectionKey[] = L"KEY";

// The user settings, in file order, by key.
struct IntSetting {
    const wchar_t* key;
    std::atomic<int> CAppSettings::*field;
    int defaultValue;
};
const IntSetting kBeforeRingtone[] = {
    {L"VAL_AUTORUN_API", &CAppSettings::VAL_AUTORUN_API, 1},
    {L"VAL_ENABLE_KEYTONE", &CAppSettings::VAL_ENABLE_KEYTONE, 1},
    {L"VAL_ENABLE_LCM", &CAppSettings::VAL_ENABLE_LCM, 1},
    {L"VAL_AUDIO_OUT_VOLUME", &CAppSettings::VAL_AUDIO_OUT_VOLUME, 25},
    {L"VAL_AUDIO_IN_VOLUME", &CAppSettings::VAL_AUDIO_IN_VOLUME, 25},
    {L"VAL_AUDIO_OUT_MUTE", &CAppSettings::VAL_AUDIO_OUT_MUTE, 0},
    {L"VAL_AUDIO_IN_MUTE", &CAppSettings::VAL_AUDIO_IN_MUTE, 0},
    {L"VAL_LCM_CONTRAST", &CAppSettings::VAL_LCM_CONTRAST, 1},
};
const IntSetting kAfterRingtone[] = {
    {L"VAL_RINGTONE_VOLUME", &CAppSettings::VAL_RINGTONE_VOLUME, 31},
    {L"VAL_LANGUAGE", &CAppSettings::VAL_LANGUAGE, 0},
};
const wchar_t kRingtoneKey[] = L"VAL_RINGTONE";

std::wstring FolderOf(const std::wstring& path) {
    const size_t last = path.find_last_of(L"\\/");
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring ContrastKey(int level, int part) {
    wchar_t key[32];
    std::swprintf(key, 32, L"VAL_CONTRAST_%d%lc", level, static_cast<wint_t>(L'A' + part));
    return key;
}

std::wstring KeyScanKey(int code) { return L"VAL_KEYSCAN_" + std::to_wstring(code); }

void WriteInt(const std::wstring& key, int value, const std::wstring& path) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    platform::WritePrivateProfileString(kSectionSetting, key, text, path);
}
}  // namespace

CAppSettings::CAppSettings() {
    for (int level = 0; level < kContrastLevelCount; ++level) {
        for (int part = 0; part < 3; ++part) VAL_CONTRAST[level][part] = kDefaultContrast[level][part];
    }
    for (int i = 0; i < kKeyMapSize; ++i) VAL_KEYSCAN[i] = kDefaultKeyMap[i];
}

void ResetSettings(CAppSettings& s) {
    s.m_strAppFolder.clear();
    for (const IntSetting& i : kBeforeRingtone) (s.*i.field) = i.defaultValue;
    for (const IntSetting& i : kAfterRingtone) (s.*i.field) = i.defaultValue;
    s.VAL_RINGTONE.clear();
    for (int level = 0; level < kContrastLevelCount; ++level) {
        for (int part = 0; part < 3; ++part) s.VAL_CONTRAST[level][part] = kDefaultContrast[level][part];
    }
    for (int i = 0; i < kKeyMapSize; ++i) s.VAL_KEYSCAN[i] = kDefaultKeyMap[i];
}

std::wstring GetAppFolder() {
    std::wstring path;
    if (!platform::GetExecutablePath(path, kAppPathChars)) return std::wstring();
    return FolderOf(path);
}

void LoadSettings(CAppSettings& s) {
    std::wstring exe;
    s.m_strAppFolder = platform::GetExecutablePath(exe, kLoadPathChars) ? FolderOf(exe) : std::wstring();
    const std::wstring path = s.m_strAppFolder + kSettingsFile;
    for (const IntSetting& i : kBeforeRingtone) {
        (s.*i.field) = platform::GetPrivateProfileInt(kSectionSetting, i.key, i.defaultValue, path);
    }
    platform::GetPrivateProfileString(kSectionSetting, kRingtoneKey, L"", s.VAL_RINGTONE, kRingtoneChars, path);
    for (const IntSetting& i : kAfterRingtone) {
        (s.*i.field) = platform::GetPrivateProfileInt(kSectionSetting, i.key, i.defaultValue, path);
    }
    for (int level = 0; level < kContrastLevelCount; ++level) {
        for (int part = 0; part < 3; ++part) {
            s.VAL_CONTRAST[level][part] = platform::GetPrivateProfileInt(kSectionLcm, ContrastKey(level, part),
                                                                         kDefaultContrast[level][part], path);
        }
    }
    for (int code = 1; code <= kKeyMapSize; ++code) {
        s.VAL_KEYSCAN[code - 1] =
            platform::GetPrivateProfileInt(kSectionKey, KeyScanKey(code), kDefaultKeyMap[code - 1], path);
    }
}

void SaveSettings(CAppSettings& s) {
    std::wstring exe;
    const std::wstring folder = platform::GetExecutablePath(exe, kLoadPathChars) ? FolderOf(exe) : std::wstring();
    const std::wstring path = folder + kSettingsFile;
    for (const IntSetting& i : kBeforeRingtone) WriteInt(i.key, s.*i.field, path);
    platform::WritePrivateProfileString(kSectionSetting, kRingtoneKey, s.VAL_RINGTONE, path);
    for (const IntSetting& i : kAfterRingtone) WriteInt(i.key, s.*i.field, path);
}

void CIniFile::SetPath(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_strPath = path;
}

std::wstring CIniFile::Path() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_strPath;
}

bool CIniFile::ReadString(const std::wstring& section, const std::wstring& key, std::wstring& text) {
    const size_t n = platform::GetPrivateProfileString(section, key, L"", text, kIniReadChars, Path());
    m_nLastResult = static_cast<int>(n);
    if (n == 0) text.clear();
    return n > 0;
}

void CIniFile::WriteInt(const std::wstring& section, const std::wstring& key, long value) {
    wchar_t text[24];
    std::swprintf(text, 24, L"%ld", value);
    // The write goes to the settings file whatever object it is called on.
    m_nLastResult = platform::WritePrivateProfileString(section, key, text, g_SettingsIni.Path()) ? 1 : 0;
}

void ResetSettingsStore() {
    ResetSettings(g_Settings);
    g_SettingsIni.SetPath(L"");
}

}  // namespace app
