#pragma once
// The settings file "Corvane.ini" beside the executable, the record that
// every subsystem reads, and the small accessor for single .ini keys.

#include <atomic>
#include <cstddef>
#include <string>

namespace common {

constexpr size_t kRingtoneChars = 260;   // the ring tone's buffer, terminator included
constexpr int kContrastLevelCount = 3;   // contrast levels 0, 1 and 2
constexpr int kContrastValueCount = 3;   // values A, B and C of one level
constexpr int kKeyMapSize = 25;          // hardware codes 1 ... 25

// Each field bears the name of its key in the file. Integers are single
// atomic values: several threads read them while the user-interface thread
// writes. Values are not range-checked on load; readers guard their indexing.
struct CAppSettings {
    CAppSettings() = default;
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    std::wstring m_strAppFolder;  // the executable's folder with its separator; not in the file

    // Section "SETTING": the user settings, written back by SaveSettings.
    std::atomic<int> VAL_AUTORUN_API{1};
    std::atomic<int> VAL_ENABLE_KEYTONE{1};
    std::atomic<int> VAL_ENABLE_LCM{1};
    std::atomic<int> VAL_AUDIO_OUT_VOLUME{25};
    std::atomic<int> VAL_AUDIO_IN_VOLUME{25};
    std::atomic<int> VAL_AUDIO_OUT_MUTE{0};
    std::atomic<int> VAL_AUDIO_IN_MUTE{0};
    std::atomic<int> VAL_LCM_CONTRAST{1};
    std::wstring VAL_RINGTONE;  // at most kRingtoneChars - 1 characters
    std::atomic<int> VAL_RINGTONE_VOLUME{31};
    std::atomic<int> VAL_LANGUAGE{0};

    // Section "LCM", read only: VAL_CONTRAST[level][0], [1], [2] hold the keys
    // VAL_CONTRAST_<level>A, VAL_CONTRAST_<level>B, VAL_CONTRAST_<level>C
    // (VAL_CONTRAST_0A ... VAL_CONTRAST_2C).
    std::atomic<int> VAL_CONTRAST[kContrastLevelCount][kContrastValueCount] = {
        {162, 35, 34},
        {162, 35, 37},
        {162, 35, 40},
    };

    // Section "KEY", read only: VAL_KEYSCAN[n - 1] holds the key VAL_KEYSCAN_n,
    // the key id reported for hardware code n.
    std::atomic<int> VAL_KEYSCAN[kKeyMapSize] = {10, 1, 4,  7,  22, 17, 2,  5,  8,  0,  18, 3, 6,
                                                 9,  23, 11, 12, 14, 15, 19, 13, 24, 16, 21, 20};
};

// Back to the constructed state: every default, empty folder and ring tone.
void ResetSettings(CAppSettings& settings);
// Fills every field from the settings file; a missing file or key gives the default.
void LoadSettings(CAppSettings& settings);
// Writes the eleven user settings of section "SETTING" back to the file.
void SaveSettings(CAppSettings& settings);

// The executable's folder up to and including its last separator; empty
// when the path cannot be obtained or has no separator.
std::wstring GetAppFolder();

// The path of one .ini file and the result of its last call.
class CIniFile {
public:
    void SetPath(const std::wstring& path);
    const std::wstring& Path() const;
    // Reads into a 255-character buffer with an empty default; false, with an
    // empty text, when nothing was read.
    bool ReadString(const std::wstring& section, const std::wstring& key, std::wstring& text);
    // Writes the value as "%ld". Always into the file of g_SettingsIni,
    // whichever object it is called on.
    void WriteInt(const std::wstring& section, const std::wstring& key, long value);
    int LastResult() const;

private:
    std::wstring m_strPath;
    int m_nLastResult = 0;
};

extern CAppSettings g_Settings;
extern CIniFile g_SettingsIni;

// Both process-wide objects back to their constructed state.
void ResetSettingsStore();

}  // namespace common
