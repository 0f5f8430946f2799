// Language files: which file, what a missing text gives, the version format,
// and the shipped files themselves.

#include "settings_ui/language_files.h"

#include <gtest/gtest.h>

#include <optional>

#include <fstream>
#include <set>
#include <sstream>

#include "common/settings.h"
#include "platform/app_folder.h"
#include "platform/profile.h"
#include "support/executable_at.h"
#include "support/temp_folder.h"

namespace {

using namespace settings_ui;

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        exe_.emplace(folder_.File("Corvane.exe"));
        std::filesystem::create_directory(folder_.Path() / "Language");
        folder_.Write("Language/Eng.ini", "[Language]\nMenu_Exit=Exit\nEmpty=\n");
        folder_.Write("Language/Pol.ini", "[language]\nmenu_exit=\"Zako\xC5\x84" "cz\"\n");
    }
    void TearDown() override {
        common::ResetSettingsStore();
        exe_.reset();
    }
    testing_support::TempFolder folder_;
    std::optional<testing_support::ExecutableAt> exe_;
};

TEST_F(LanguageFilesTest, LanguageSettingChoosesTheFileAndUnknownValuesMeanEnglish) {
    struct Case {
        int language;
        const wchar_t* file;
    };
    const Case cases[] = {{0, L"Eng.ini"}, {1, L"Chs.ini"}, {2, L"Cht.ini"}, {3, L"Pol.ini"},
                          {4, L"Ita.ini"}, {7, L"Eng.ini"}, {-1, L"Eng.ini"}};
    for (const Case& c : cases) {
        common::g_Settings.VAL_LANGUAGE = c.language;
        EXPECT_EQ(GetLanguageFilePath(), folder_.File("Language/") + c.file) << c.language;
    }
}

TEST_F(LanguageFilesTest, MissingFileKeyOrTextGivesEmptyWithoutFallback) {
    common::g_Settings.VAL_LANGUAGE = 3;
    EXPECT_EQ(GetLanguageText(L"Menu_Exit"), L"Zako\u0144cz");
    EXPECT_EQ(GetLanguageText(L"Menu_About"), L"") << "no fallback to English";
    common::g_Settings.VAL_LANGUAGE = 0;
    EXPECT_EQ(GetLanguageText(L"Empty"), L"");
    common::g_Settings.VAL_LANGUAGE = 1;  // no Chs.ini here
    EXPECT_EQ(GetLanguageText(L"Menu_Exit"), L"");
    EXPECT_EQ(GetPopupMessage(), L"");
}

TEST(FormatVersionInfo, OnlyOneStringDirectiveIsFilledIn) {
    struct Case {
        const wchar_t* format;
        const wchar_t* shown;
    };
    const Case cases[] = {{L"Version %s", L"Version 1.2"},   {L"%s", L"1.2"},
                          {L"No directive", L"No directive"}, {L"%s and %s", L"%s and %s"},
                          {L"%d%%", L"%d%%"},                 {L"%n%s", L"%n%s"},
                          {L"trailing %", L"trailing %"}};
    for (const Case& c : cases) EXPECT_EQ(FormatVersionInfo(c.format, L"1.2"), c.shown) << c.format;
}

// The shipped language files carry every key the program reads, in every language.
TEST(ShippedLanguageFiles, EveryLanguageHasEveryKey) {
    const std::string dir = std::string(CORVANE_SOURCE_DIR) + "/resources/Language/";
    std::set<std::string> english;
    for (const char* name : {"Eng.ini", "Chs.ini", "Cht.ini", "Pol.ini", "Ita.ini"}) {
        std::ifstream in(dir + name);
        ASSERT_TRUE(in) << name;
        std::set<std::string> keys;
        for (std::string line; std::getline(in, line);) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos) keys.insert(line.substr(0, eq));
        }
        if (english.empty()) english = keys;
        EXPECT_EQ(keys, english) << name;
        std::wstring version;
        platform::GetPrivateProfileString(L"Language", L"Version_Info", L"", version, 255,
                                          platform::Utf8ToWide(dir + name));
        EXPECT_EQ(FormatVersionInfo(version, L"1.2").find(L"%"), std::wstring::npos) << name;
    }
    for (const char* key : {"Menu_Language", "Menu_Exit", "Tray_Tip_Info_1", "Tray_Tip_Info_2", "Tray_Tip_Info_3",
                            "Popup_Message_1", "Dlg_Caption", "Button_Apply", "Screen_Display_PlayEnd",
                            "RingTone_Play_Failed"}) {
        EXPECT_EQ(english.count(key), 1u) << key;
    }
    EXPECT_EQ(english.size(), 65u);
}

}  // namespace
