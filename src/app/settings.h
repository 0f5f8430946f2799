#pragma once
// The settings file "Corvane.ini" beside the executable and the record that
// every subsystem reads. Integers are single atomic values: several threads
// read them while the user-interface thread writes.

#include <atomic>
#include <mutex>
#include <string>

namespace app {

constexpr size_t kRingtoneChars = 260;  // terminator included
constexpr int kKeyMapSize = 25;          // VAL_KEYSCAN_1 ... VAL_KEYSCAN_25
constexpr int kContrastLevelCount = 3;

struct CAppSettings {
    CAppSettings();
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    std::wstring m_strAppFolder;  // the executable's folder, not stored

    // Section "SETTING".
    std::atomic<int> VAL_AUTORUN_API{1};
    std::atomic<int> VAL_ENABLE_KEYTONE{1};
    std::atomic<int> VAL_ENABLE_LCM{1};
    std::atomic<int> VAL_AUDIO_OUT_VOLUME{25};
    std::atomic<int> VAL_AUDIO_IN_VOLUME{25};
    std::atomic<int> VAL_AUDIO_OUT_MUTE{0};
    std::atomic<int> VAL_AUDIO_IN_MUTE{0};
    std::atomic<int> VAL_LCM_CONTRAST{1};
    std::wstring VAL_RINGTONE;  // up to 259 characters
    std::atomic<int> VAL_RINGTONE_VOLUME{31};
    std::atomic<int> VAL_LANGUAGE{0};

    // Section "LCM": VAL_CONTRAST[level][0..2] holds VAL_CONTRAST_<level>A,
    // ..._<level>B and ..._<level>C. Read only.
    std::atomic<int> VAL_CONTRAST[kContrastLevelCount][3];

    // Section "KEY": VAL_KEYSCAN[n - 1] holds VAL_KEYSCAN_n, the key id of
    // hardware code n. Read only.
    std::atomic<int> VAL_KEYSCAN[kKeyMapSize];
};

// The default key id of each hardware code 1 ... 25.
extern const int kDefaultKeyMap[kKeyMapSize];
extern const int kDefaultContrast[kContrastLevelCount][3];

void ResetSettings(CAppSettings& settings);
void LoadSettings(CAppSettings& settings);
void SaveSettings(CAppSettings& settings);

// The executable's folder with its trailing separator; empty on failure.
std::wstring GetAppFolder();

// The accessor for single keys of an .ini file.
class CIniFile {
public:
    void SetPath(const std::wstring& path);
    std::wstring Path() const;
    // Reads into a 255-character buffer; false (and empty) when nothing was read.
    bool ReadString(const std::wstring& section, const std::wstring& key, std::wstring& text);
    // Writes "%ld" — always into the settings file held by g_SettingsIni.
    void WriteInt(const std::wstring& section, const std::wstring& key, long value);
    int LastResult() const { return m_nLastResult; }

private:
    mutable std::mutex m_Mutex;
    std::wstring m_strPath;
    std::atomic<int> m_nLastResult{0};
};

extern CAppSettings g_Settings;
extern CIniFile g_SettingsIni;

// Both process-wide objects back to their constructed state (for tests).
void ResetSettingsStore();

}  // namespace app
