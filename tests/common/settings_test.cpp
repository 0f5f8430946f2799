#include "common/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/app_folder.h"
#include "platform/log.h"
#include "support/temp_folder.h"
#include "support/executable_at.h"

namespace {

using common::CAppSettings;

// One integer field of the record with the section and key that hold it.
struct IntField {
    std::wstring section;
    std::wstring key;
    std::atomic<int>* field;
};

// Every integer field in file order, named here independently of the store.
std::vector<IntField> IntFields(CAppSettings& s) {
    std::vector<IntField> fields = {
        {L"SETTING", L"VAL_AUTORUN_API", &s.VAL_AUTORUN_API},
        {L"SETTING", L"VAL_ENABLE_KEYTONE", &s.VAL_ENABLE_KEYTONE},
        {L"SETTING", L"VAL_ENABLE_LCM", &s.VAL_ENABLE_LCM},
        {L"SETTING", L"VAL_AUDIO_OUT_VOLUME", &s.VAL_AUDIO_OUT_VOLUME},
        {L"SETTING", L"VAL_AUDIO_IN_VOLUME", &s.VAL_AUDIO_IN_VOLUME},
        {L"SETTING", L"VAL_AUDIO_OUT_MUTE", &s.VAL_AUDIO_OUT_MUTE},
        {L"SETTING", L"VAL_AUDIO_IN_MUTE", &s.VAL_AUDIO_IN_MUTE},
        {L"SETTING", L"VAL_LCM_CONTRAST", &s.VAL_LCM_CONTRAST},
        {L"SETTING", L"VAL_RINGTONE_VOLUME", &s.VAL_RINGTONE_VOLUME},
        {L"SETTING", L"VAL_LANGUAGE", &s.VAL_LANGUAGE},
    };
    const wchar_t* contrastKeys[3][3] = {{L"VAL_CONTRAST_0A", L"VAL_CONTRAST_0B", L"VAL_CONTRAST_0C"},
                                         {L"VAL_CONTRAST_1A", L"VAL_CONTRAST_1B", L"VAL_CONTRAST_1C"},
                                         {L"VAL_CONTRAST_2A", L"VAL_CONTRAST_2B", L"VAL_CONTRAST_2C"}};
    for (int level = 0; level < 3; ++level) {
        for (int value = 0; value < 3; ++value) {
            fields.push_back({L"LCM", contrastKeys[level][value], &s.VAL_CONTRAST[level][value]});
        }
    }
    for (int code = 1; code <= 25; ++code) {
        fields.push_back({L"KEY", L"VAL_KEYSCAN_" + std::to_wstring(code), &s.VAL_KEYSCAN[code - 1]});
    }
    return fields;
}

// The defaults, in the order of IntFields.
std::vector<int> ExpectedDefaults() {
    return {
        1,   1,  1,  25,  25, 0,  0,  1,  31, 0,                                               // SETTING
        162, 35, 34, 162, 35, 37, 162, 35, 40,                                                 // LCM
        10,  1,  4,  7,   22, 17, 2,  5,  8,  0,  18, 3, 6, 9, 23, 11, 12, 14, 15, 19, 13, 24, 16, 21, 20,  // KEY
    };
}

std::vector<int> IntValues(CAppSettings& s) {
    std::vector<int> values;
    for (const IntField& f : IntFields(s)) values.push_back(f.field->load());
    return values;
}

void Scramble(CAppSettings& s) {
    for (const IntField& f : IntFields(s)) f.field->store(-999);
    s.VAL_RINGTONE = L"old.wav";
    s.m_strAppFolder = L"/nowhere/";
}

const char kDefaultSettingSection[] =
    "[SETTING]\n"
    "VAL_AUTORUN_API=1\n"
    "VAL_ENABLE_KEYTONE=1\n"
    "VAL_ENABLE_LCM=1\n"
    "VAL_AUDIO_OUT_VOLUME=25\n"
    "VAL_AUDIO_IN_VOLUME=25\n"
    "VAL_AUDIO_OUT_MUTE=0\n"
    "VAL_AUDIO_IN_MUTE=0\n"
    "VAL_LCM_CONTRAST=1\n"
    "VAL_RINGTONE=\n"
    "VAL_RINGTONE_VOLUME=31\n"
    "VAL_LANGUAGE=0\n";

// The program placed in a folder of its own, with the process-wide store
// reset around each test.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        common::ResetSettingsStore();
        exe_.emplace(folder_.File("Corvane.exe"));
    }
    void TearDown() override {
        exe_.reset();
        common::ResetSettingsStore();
    }

    std::wstring Folder() const { return platform::Utf8ToWide(folder_.Path().string()) + L"/"; }
    std::wstring IniPath() const { return folder_.File("Corvane.ini"); }
    void WriteIni(const std::string& bytes) const { folder_.Write("Corvane.ini", bytes); }
    std::string IniBytes() const { return folder_.Read("Corvane.ini"); }
    bool IniExists() const { return std::filesystem::exists(folder_.Path() / "Corvane.ini"); }

    testing_support::TempFolder folder_;
    std::optional<testing_support::ExecutableAt> exe_;
    CAppSettings settings_;
};

// ---------------------------------------------------------------- the record

TEST_F(SettingsTest, ConstructedRecordHoldsTheDefaults) {
    EXPECT_EQ(IntValues(settings_), ExpectedDefaults());
    EXPECT_EQ(settings_.VAL_RINGTONE, L"");
    EXPECT_EQ(settings_.m_strAppFolder, L"");
}

TEST_F(SettingsTest, ResetSettingsRestoresTheConstructedState) {
    Scramble(settings_);
    common::ResetSettings(settings_);
    EXPECT_EQ(IntValues(settings_), ExpectedDefaults());
    EXPECT_EQ(settings_.VAL_RINGTONE, L"");
    EXPECT_EQ(settings_.m_strAppFolder, L"");
}

// ---------------------------------------------------------------- loading

TEST_F(SettingsTest, MissingFileLoadsExactlyTheDefaultsSilently) {
    Scramble(settings_);
    platform::LogCapture log;
    common::LoadSettings(settings_);
    EXPECT_EQ(IntValues(settings_), ExpectedDefaults());
    EXPECT_EQ(settings_.VAL_RINGTONE, L"");
    EXPECT_EQ(settings_.m_strAppFolder, Folder());
    EXPECT_TRUE(log.Texts().empty());
    EXPECT_FALSE(IniExists());
}

TEST_F(SettingsTest, LoadsEveryKeyIntoItsOwnField) {
    std::vector<IntField> fields = IntFields(settings_);
    std::string file;
    std::vector<int> expected;
    for (size_t i = 0; i < fields.size(); ++i) {
        // A header before each run of keys of one section.
        if (i == 0 || fields[i].section != fields[i - 1].section) {
            file += "[" + platform::WideToUtf8(fields[i].section) + "]\n";
        }
        // The display setting takes only 0 or 1; 1 is distinct from the rest.
        const bool display = fields[i].key == std::wstring(L"VAL_ENABLE_LCM");
        expected.push_back(display ? 1 : 1000 + static_cast<int>(i));
        file += platform::WideToUtf8(fields[i].key) + "=" + std::to_string(expected.back()) + "\n";
    }
    file.insert(file.find("[LCM]"), "VAL_RINGTONE=\"my ring.wav\"\n");
    WriteIni(file);

    common::LoadSettings(settings_);

    EXPECT_EQ(IntValues(settings_), expected);
    EXPECT_EQ(settings_.VAL_RINGTONE, L"my ring.wav");
}

TEST_F(SettingsTest, KeySectionRemapsAHardwareCode) {
    WriteIni("[KEY]\nVAL_KEYSCAN_2=5\n");
    common::LoadSettings(settings_);
    std::vector<int> expected = ExpectedDefaults();
    expected[10 + 9 + 1] = 5;  // after SETTING and LCM: code 2
    EXPECT_EQ(IntValues(settings_), expected);
    EXPECT_EQ(settings_.VAL_KEYSCAN[1].load(), 5);
}

TEST_F(SettingsTest, NamesMatchWithoutRegardToCase) {
    WriteIni("[setting]\nval_language=4\n[Lcm]\nVal_Contrast_2c=99\n");
    common::LoadSettings(settings_);
    EXPECT_EQ(settings_.VAL_LANGUAGE.load(), 4);
    EXPECT_EQ(settings_.VAL_CONTRAST[2][2].load(), 99);
}

TEST_F(SettingsTest, GarbageValuesLoadAsTheIntegerRuleMakesThem) {
    struct Garbage {
        const char* text;
        int value;
    };
    const Garbage cases[] = {{"12abc", 12},        {"abc", 0},       {"", 0},           {"-5", -5},
                             {"+3x", 3},           {"\"4\"", 4},     {"0x10", 0},       {"- 5", 0},
                             {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}};
    for (const Garbage& c : cases) {
        SCOPED_TRACE(c.text);
        WriteIni(std::string("[SETTING]\nVAL_LCM_CONTRAST=") + c.text + "\n[KEY]\nVAL_KEYSCAN_25=" + c.text + "\n");
        platform::LogCapture log;
        common::LoadSettings(settings_);
        EXPECT_EQ(settings_.VAL_LCM_CONTRAST.load(), c.value);
        EXPECT_EQ(settings_.VAL_KEYSCAN[24].load(), c.value);
        EXPECT_TRUE(log.Texts().empty());
    }
}

TEST_F(SettingsTest, DisplaySettingOtherThanZeroOrOneMeansNoDisplay) {
    struct Case {
        const char* text;
        int value;
        bool logged;
    };
    const Case cases[] = {{"0", 0, false}, {"1", 1, false}, {"2", 0, true}, {"-1", 0, true}, {"255", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteIni(std::string("[SETTING]\nVAL_ENABLE_LCM=") + c.text + "\n");
        platform::LogCapture log;
        common::LoadSettings(settings_);
        EXPECT_EQ(settings_.VAL_ENABLE_LCM.load(), c.value);
        EXPECT_EQ(log.ContainsFragment("VAL_ENABLE_LCM=" + std::string(c.text) + " is neither 0 nor 1"), c.logged);
    }
}

TEST_F(SettingsTest, RingtoneIsCutTo259Characters) {
    WriteIni("[SETTING]\nVAL_RINGTONE=" + std::string(300, 'r') + "\n");
    common::LoadSettings(settings_);
    EXPECT_EQ(settings_.VAL_RINGTONE, std::wstring(259, L'r'));

    settings_.VAL_RINGTONE = std::wstring(300, L's');
    common::SaveSettings(settings_);
    EXPECT_NE(IniBytes().find("VAL_RINGTONE=" + std::string(259, 's') + "\n"), std::string::npos);
}

TEST_F(SettingsTest, LoadTakesTheFolderFromALongerPathThanGetAppFolder) {
    // Fits the loader's 2048 characters but not GetAppFolder's 260.
    const std::wstring folder = Folder() + std::wstring(600, L'd') + L"/";
    exe_->Set(folder + L"Corvane.exe");
    common::LoadSettings(settings_);
    EXPECT_EQ(settings_.m_strAppFolder, folder);
    EXPECT_EQ(common::GetAppFolder(), L"");
    EXPECT_EQ(IntValues(settings_), ExpectedDefaults());
}

TEST_F(SettingsTest, UnknownFolderGivesDefaultsAndWritesNothing) {
    const bool strayBefore = std::filesystem::exists("Corvane.ini");
    exe_->Set(L"Corvane.exe");
    Scramble(settings_);
    platform::LogCapture log;
    common::LoadSettings(settings_);
    EXPECT_EQ(IntValues(settings_), ExpectedDefaults());
    EXPECT_EQ(settings_.m_strAppFolder, L"");
    common::SaveSettings(settings_);
    EXPECT_EQ(log.Texts().size(), 2u);  // one line for the load, one for the save
    EXPECT_EQ(std::filesystem::exists("Corvane.ini"), strayBefore);
}

// ---------------------------------------------------------------- saving

TEST_F(SettingsTest, FirstSaveCreatesTheFileWithSectionSettingOnly) {
    common::LoadSettings(settings_);
    common::SaveSettings(settings_);
    EXPECT_EQ(IniBytes(), kDefaultSettingSection);
}

TEST_F(SettingsTest, SaveLeavesLcmAndKeyEntriesUntouched) {
    WriteIni(
        "[LCM]\n"
        "VAL_CONTRAST_0A = 7 ; factory\n"
        "[SETTING]\n"
        "VAL_AUDIO_OUT_VOLUME=3\n"
        "Language_0=English\n"
        "[KEY]\n"
        "VAL_KEYSCAN_1=3\n");
    common::LoadSettings(settings_);
    EXPECT_EQ(settings_.VAL_CONTRAST[0][0].load(), 7);
    settings_.VAL_AUDIO_OUT_VOLUME = 9;
    settings_.VAL_CONTRAST[0][0] = 55;
    settings_.VAL_KEYSCAN[0] = 8;

    common::SaveSettings(settings_);

    EXPECT_EQ(IniBytes(),
              "[LCM]\n"
              "VAL_CONTRAST_0A = 7 ; factory\n"
              "[SETTING]\n"
              "VAL_AUDIO_OUT_VOLUME=9\n"
              "Language_0=English\n"
              "VAL_AUTORUN_API=1\n"
              "VAL_ENABLE_KEYTONE=1\n"
              "VAL_ENABLE_LCM=1\n"
              "VAL_AUDIO_IN_VOLUME=25\n"
              "VAL_AUDIO_OUT_MUTE=0\n"
              "VAL_AUDIO_IN_MUTE=0\n"
              "VAL_LCM_CONTRAST=1\n"
              "VAL_RINGTONE=\n"
              "VAL_RINGTONE_VOLUME=31\n"
              "VAL_LANGUAGE=0\n"
              "[KEY]\n"
              "VAL_KEYSCAN_1=3\n");
}

TEST_F(SettingsTest, SavedUserSettingsLoadBack) {
    common::LoadSettings(settings_);
    std::vector<IntField> fields = IntFields(settings_);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].section == L"SETTING") fields[i].field->store(-40 + static_cast<int>(i));
    }
    settings_.VAL_ENABLE_LCM = 0;  // takes only 0 or 1; -40 ... would load back as 0 anyway
    settings_.VAL_RINGTONE = L"Zo\u00EB \u65E5.wav";
    const std::vector<int> saved = IntValues(settings_);

    common::SaveSettings(settings_);
    common::ResetSettings(settings_);
    common::LoadSettings(settings_);

    std::vector<int> expected = ExpectedDefaults();  // LCM and KEY were never written
    std::copy(saved.begin(), saved.begin() + 10, expected.begin());
    EXPECT_EQ(IntValues(settings_), expected);
    EXPECT_EQ(settings_.VAL_RINGTONE, L"Zo\u00EB \u65E5.wav");
}

TEST_F(SettingsTest, SaveFailureIsLoggedNotReported) {
    exe_->Set(Folder() + L"missing/Corvane.exe");
    platform::LogCapture log;
    common::SaveSettings(settings_);
    EXPECT_EQ(log.Texts().size(), 11u);  // one line per key the profile layer could not write
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "missing"));
}

// ---------------------------------------------------------------- GetAppFolder

TEST_F(SettingsTest, GetAppFolderCutsAfterTheLastSeparator) {
    struct FolderCase {
        std::wstring exe;
        std::wstring folder;
    };
    const std::wstring longFolder = L"/" + std::wstring(250, L'x') + L"/";
    const FolderCase cases[] = {
        {L"/opt/corvane/Corvane.exe", L"/opt/corvane/"},
        {L"C:\\Program Files\\Corvane\\Corvane.exe", L"C:\\Program Files\\Corvane\\"},
        {L"C:\\a/b\\c.exe", L"C:\\a/b\\"},
        {L"/x\\y/z.exe", L"/x\\y/"},
        {L"/Corvane.exe", L"/"},
        {L"/opt/", L"/opt/"},
        {L"Corvane.exe", L""},
        {L"", L""},
        {longFolder + std::wstring(259 - longFolder.size(), L'e'), longFolder},  // 259 characters: fits
        {longFolder + std::wstring(260 - longFolder.size(), L'e'), L""},         // 260: does not
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.exe));
        exe_->Set(c.exe);
        EXPECT_EQ(common::GetAppFolder(), c.folder);
    }
}

TEST_F(SettingsTest, GetAppFolderOfTheRealExecutable) {
    exe_.reset();  // the real executable's path
    const std::filesystem::path real = std::filesystem::read_symlink("/proc/self/exe");
    const std::wstring expected = real.string().size() < 260
                                      ? platform::Utf8ToWide(real.parent_path().string()) + L"/"
                                      : std::wstring();
    EXPECT_EQ(common::GetAppFolder(), expected);
}

// ---------------------------------------------------------------- CIniFile

class IniFileTest : public SettingsTest {};

TEST_F(IniFileTest, WriteIntGoesToTheSettingsFileWhicheverObjectIsUsed) {
    common::g_SettingsIni.SetPath(IniPath());
    folder_.Write("English.ini", "[Language]\nTitle=Corvane\n");
    common::CIniFile language;
    language.SetPath(folder_.File("English.ini"));

    language.WriteInt(L"SETTING", L"VAL_LANGUAGE", 3);

    EXPECT_EQ(IniBytes(), "[SETTING]\nVAL_LANGUAGE=3\n");
    EXPECT_EQ(folder_.Read("English.ini"), "[Language]\nTitle=Corvane\n");
    EXPECT_EQ(language.Path(), folder_.File("English.ini"));
    EXPECT_EQ(language.LastResult(), 1);
    EXPECT_EQ(common::g_SettingsIni.LastResult(), 0);
}

TEST_F(IniFileTest, WriteIntFormatsTheWholeLong) {
    struct LongCase {
        long value;
        const char* text;
    };
    const LongCase cases[] = {
        {0, "0"}, {-1, "-1"}, {LONG_MAX, "9223372036854775807"}, {LONG_MIN, "-9223372036854775808"}};
    common::g_SettingsIni.SetPath(IniPath());
    for (const LongCase& c : cases) {
        SCOPED_TRACE(c.text);
        common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", c.value);
        EXPECT_EQ(IniBytes(), std::string("[SETTING]\nVAL_LANGUAGE=") + c.text + "\n");
    }
}

TEST_F(IniFileTest, FailedWriteIntStoresZero) {
    const std::wstring paths[] = {folder_.File("missing/Corvane.ini"), L""};
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(platform::WideToUtf8(path));
        common::g_SettingsIni.SetPath(IniPath());
        common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", 1);
        ASSERT_EQ(common::g_SettingsIni.LastResult(), 1);
        common::g_SettingsIni.SetPath(path);
        platform::LogCapture log;
        common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", 2);
        EXPECT_EQ(common::g_SettingsIni.LastResult(), 0);
        EXPECT_EQ(log.Texts().size(), 1u);
    }
}

TEST_F(IniFileTest, ReadStringGivesTheTextOrNothing) {
    struct ReadCase {
        const wchar_t* key;
        bool found;
        std::wstring text;
    };
    const ReadCase cases[] = {
        {L"Language_0", true, L"English"},
        {L"LANGUAGE_1", true, L"Polski"},
        {L"Language_2", false, L""},  // present but empty
        {L"Language_3", true, std::wstring(254, L'n')},
        {L"Language_9", false, L""},
    };
    WriteIni("[SETTING]\nLanguage_0=English\nlanguage_1 = \"Polski\"\nLanguage_2=\nLanguage_3=" +
             std::string(300, 'n') + "\n");
    common::CIniFile ini;
    ini.SetPath(IniPath());
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.key));
        std::wstring text = L"stale";
        EXPECT_EQ(ini.ReadString(L"SETTING", c.key, text), c.found);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(ini.LastResult(), static_cast<int>(c.text.size()));
    }
    ini.SetPath(folder_.File("absent.ini"));
    std::wstring text = L"stale";
    EXPECT_FALSE(ini.ReadString(L"SETTING", L"Language_0", text));
    EXPECT_EQ(text, L"");
}

TEST_F(IniFileTest, ResetSettingsStoreClearsBothObjects) {
    common::g_SettingsIni.SetPath(IniPath());
    common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", 2);
    ASSERT_EQ(common::g_SettingsIni.LastResult(), 1);
    Scramble(common::g_Settings);

    common::ResetSettingsStore();

    EXPECT_EQ(common::g_SettingsIni.Path(), L"");
    EXPECT_EQ(common::g_SettingsIni.LastResult(), 0);
    EXPECT_EQ(IntValues(common::g_Settings), ExpectedDefaults());
    EXPECT_EQ(common::g_Settings.VAL_RINGTONE, L"");
    EXPECT_EQ(common::g_Settings.m_strAppFolder, L"");
}

}  // namespace
