#include "common/settings.h"

#include "platform/app_folder.h"
#include "platform/log.h"
#include "platform/profile.h"

namespace common {

CAppSettings g_Settings;
CIniFile g_SettingsIni;

namespace {

constexpr size_t kAppFolderPathChars = 260;
constexpr size_t kSettingsPathChars = 2048;
constexpr size_t kIniReadChars = 255;
constexpr wchar_t kSettingsFileName[] = L"Corvane.ini";
constexpr wchar_t kSectionSetting[] = L"SETTING";
constexpr wchar_t kSectionLcm[] = L"LCM";
constexpr wchar_t kSectionKey[] = L"KEY";

// The user settings of section "SETTING", in file order. The ring tone is
// the one text among them.
struct UserSetting {
    const wchar_t* key;
    std::atomic<int> CAppSettings::*number;  // null for VAL_RINGTONE
};
constexpr UserSetting kUserSettings[] = {
    {L"VAL_AUTORUN_API", &CAppSettings::VAL_AUTORUN_API},
    {L"VAL_ENABLE_KEYTONE", &CAppSettings::VAL_ENABLE_KEYTONE},
    {L"VAL_ENABLE_LCM", &CAppSettings::VAL_ENABLE_LCM},
    {L"VAL_AUDIO_OUT_VOLUME", &CAppSettings::VAL_AUDIO_OUT_VOLUME},
    {L"VAL_AUDIO_IN_VOLUME", &CAppSettings::VAL_AUDIO_IN_VOLUME},
    {L"VAL_AUDIO_OUT_MUTE", &CAppSettings::VAL_AUDIO_OUT_MUTE},
    {L"VAL_AUDIO_IN_MUTE", &CAppSettings::VAL_AUDIO_IN_MUTE},
    {L"VAL_LCM_CONTRAST", &CAppSettings::VAL_LCM_CONTRAST},
    {L"VAL_RINGTONE", nullptr},
    {L"VAL_RINGTONE_VOLUME", &CAppSettings::VAL_RINGTONE_VOLUME},
    {L"VAL_LANGUAGE", &CAppSettings::VAL_LANGUAGE},
};

std::wstring FolderOf(const std::wstring& path) {
    const size_t last = path.find_last_of(L"\\/");
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring ExecutableFolder(size_t bufferChars) {
    std::wstring path;
    return platform::GetExecutablePath(path, bufferChars) ? FolderOf(path) : std::wstring();
}

// Without a folder there is no settings file: a bare file name would be
// looked up in whatever the current directory happens to be.
std::wstring SettingsPath(const std::wstring& folder) {
    return folder.empty() ? std::wstring() : folder + kSettingsFileName;
}

std::wstring ContrastKey(int level, int value) {
    return L"VAL_CONTRAST_" + std::to_wstring(level) + static_cast<wchar_t>(L'A' + value);
}

std::wstring KeyScanKey(int code) { return L"VAL_KEYSCAN_" + std::to_wstring(code); }

void LoadUserSettings(CAppSettings& settings, const CAppSettings& defaults, const std::wstring& path) {
    for (const UserSetting& setting : kUserSettings) {
        if (setting.number == nullptr) {
            platform::GetPrivateProfileString(kSectionSetting, setting.key, L"", settings.VAL_RINGTONE,
                                              kRingtoneChars, path);
        } else {
            settings.*setting.number =
                platform::GetPrivateProfileInt(kSectionSetting, setting.key, (defaults.*setting.number).load(), path);
        }
    }
}

// Only 1 means a handset with a display. Any other value would be taken for
// a display by some checks and for none by others, so it is settled here,
// once, as no display.
void SettleDisplaySetting(CAppSettings& settings) {
    const int value = settings.VAL_ENABLE_LCM;
    if (value == 0 || value == 1) return;
    platform::LogW(L"Settings: VAL_ENABLE_LCM=%d is neither 0 nor 1; taken as 0 (no display)", value);
    settings.VAL_ENABLE_LCM = 0;
}

void LoadContrast(CAppSettings& settings, const CAppSettings& defaults, const std::wstring& path) {
    for (int level = 0; level < kContrastLevelCount; ++level) {
        for (int value = 0; value < kContrastValueCount; ++value) {
            settings.VAL_CONTRAST[level][value] = platform::GetPrivateProfileInt(
                kSectionLcm, ContrastKey(level, value), defaults.VAL_CONTRAST[level][value].load(), path);
        }
    }
}

void LoadKeyMap(CAppSettings& settings, const CAppSettings& defaults, const std::wstring& path) {
    for (int code = 1; code <= kKeyMapSize; ++code) {
        settings.VAL_KEYSCAN[code - 1] =
            platform::GetPrivateProfileInt(kSectionKey, KeyScanKey(code), defaults.VAL_KEYSCAN[code - 1].load(), path);
    }
}

}  // namespace

void ResetSettings(CAppSettings& settings) {
    const CAppSettings defaults;
    settings.m_strAppFolder.clear();
    settings.VAL_RINGTONE.clear();
    for (const UserSetting& setting : kUserSettings) {
        if (setting.number != nullptr) settings.*setting.number = (defaults.*setting.number).load();
    }
    for (int level = 0; level < kContrastLevelCount; ++level) {
        for (int value = 0; value < kContrastValueCount; ++value) {
            settings.VAL_CONTRAST[level][value] = defaults.VAL_CONTRAST[level][value].load();
        }
    }
    for (int i = 0; i < kKeyMapSize; ++i) settings.VAL_KEYSCAN[i] = defaults.VAL_KEYSCAN[i].load();
}

std::wstring GetAppFolder() { return ExecutableFolder(kAppFolderPathChars); }

void LoadSettings(CAppSettings& settings) {
    const CAppSettings defaults;
    settings.m_strAppFolder = ExecutableFolder(kSettingsPathChars);
    const std::wstring path = SettingsPath(settings.m_strAppFolder);
    if (path.empty()) platform::LogW(L"Settings: the executable's folder is unknown; using the defaults");
    LoadUserSettings(settings, defaults, path);
    SettleDisplaySetting(settings);
    LoadContrast(settings, defaults, path);
    LoadKeyMap(settings, defaults, path);
}

void SaveSettings(CAppSettings& settings) {
    const std::wstring path = SettingsPath(ExecutableFolder(kSettingsPathChars));
    if (path.empty()) {
        platform::LogW(L"Settings: the executable's folder is unknown; settings not saved");
        return;
    }
    for (const UserSetting& setting : kUserSettings) {
        const std::wstring value = setting.number != nullptr ? std::to_wstring((settings.*setting.number).load())
                                                             : settings.VAL_RINGTONE.substr(0, kRingtoneChars - 1);
        platform::WritePrivateProfileString(kSectionSetting, setting.key, value, path);
    }
}

void CIniFile::SetPath(const std::wstring& path) { m_strPath = path; }

const std::wstring& CIniFile::Path() const { return m_strPath; }

bool CIniFile::ReadString(const std::wstring& section, const std::wstring& key, std::wstring& text) {
    const size_t read = platform::GetPrivateProfileString(section, key, L"", text, kIniReadChars, m_strPath);
    m_nLastResult = static_cast<int>(read);
    return read > 0;
}

void CIniFile::WriteInt(const std::wstring& section, const std::wstring& key, long value) {
    // Always the settings file, whichever object the call is made on.
    const std::wstring text = std::to_wstring(value);
    m_nLastResult = platform::WritePrivateProfileString(section, key, text, g_SettingsIni.Path()) ? 1 : 0;
}

int CIniFile::LastResult() const { return m_nLastResult; }

void ResetSettingsStore() {
    ResetSettings(g_Settings);
    g_SettingsIni = CIniFile();
}

}  // namespace common
