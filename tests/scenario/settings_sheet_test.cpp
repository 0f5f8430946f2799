// The settings sheet through the whole program: opened from the tray, worked
// by a user on the simulated sheet, and what each page's steps reach (the
// settings file, the handset, the default devices, the Run value, Skype).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "common/settings.h"
#include "platform/registry.h"
#include "settings_ui/page_templates.h"
#include "support/program_fixture.h"

namespace {

constexpr uint32_t kPhoneCommand = 32783;
constexpr uint32_t kRingToneCommand = 32784;
constexpr uint32_t kAdvancedCommand = 32785;
constexpr uint32_t kAboutCommand = 32786;
constexpr uint32_t kPolishCommand = 32788;
constexpr uint32_t kExitCommand = 32775;
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const wchar_t kSoundMapperKey[] = L"Software\\Microsoft\\Multimedia\\Sound Mapper\\";

class SettingsSheetTest : public testing_support::ProgramTest {
protected:
    platform::sim::SimSheetHost& Sheet() { return World().Sheet(); }

    void Tray(uint32_t command) {
        World().Shell().RightClick(command);
        World().Advance(100);
    }
    // A user's action on the sheet, then time for the program to answer.
    void User(const std::function<void(platform::sim::SimSheetHost&)>& action, uint64_t ms = 100) {
        action(Sheet());
        World().Advance(ms);
    }

    std::string SettingsFile() {
        std::ifstream in(World().ProgramFolder() / "Corvane.ini");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool FileHas(const std::string& line) { return SettingsFile().find(line + "\n") != std::string::npos; }

    std::wstring Text(int page, int id) {
        const auto c = Sheet().Control(page, id);
        return c ? c->text : L"<none>";
    }
    bool Visible(int page, int id) {
        const auto c = Sheet().Control(page, id);
        return c && c->visible;
    }
    std::optional<platform::RegistryValue> Registry(const wchar_t* key, const wchar_t* name) {
        return World().Registry().GetValue(key, name);
    }
    void WriteRingTone(const std::string& name, const std::string& bytes) {
        std::ofstream out(World().ProgramFolder() / "RingTone" / name, std::ios::binary);
        out << bytes;
    }
};

TEST_F(SettingsSheetTest, PhoneCommandOpensThePhonePageAndOkAppliesOnlyIt) {
    StartWithStartedHandset();
    const auto savedBefore = SettingsFile();
    Tray(kPhoneCommand);
    ASSERT_TRUE(Sheet().IsOpen());
    EXPECT_EQ(Sheet().ShownPage(), 1);
    EXPECT_EQ(Channel("sheet").front(), "open 1");
    const size_t commands = Channel("handset-cmd").size();
    User([](auto& s) { s.UserSlide(1003, 2); });
    User([](auto& s) { s.UserCheck(1005, false); });
    User([](auto& s) { s.UserPressOk(); });

    EXPECT_FALSE(Sheet().IsOpen());
    EXPECT_EQ(Channel("sheet").back(), "closed ok");
    EXPECT_EQ(Since("handset-cmd", commands), std::vector<std::string>{"CMD_CONTRAST 162 35 40"});
    EXPECT_EQ(common::g_Settings.VAL_LCM_CONTRAST, 2);
    EXPECT_EQ(common::g_Settings.VAL_ENABLE_KEYTONE, 0);
    EXPECT_TRUE(Channel("registry").size() == 1) << "only the start-up's Skype value; no other page applied";
    EXPECT_EQ(SettingsFile(), savedBefore) << "the Phone page does not save";
    World().SendQuitMessage();
    World().Settle();
    EXPECT_TRUE(FileHas("VAL_LCM_CONTRAST=2"));
    EXPECT_TRUE(FileHas("VAL_ENABLE_KEYTONE=0"));
}

TEST_F(SettingsSheetTest, PhonePageOfAHandsetWithoutDisplayShowsOnlyTheKeyToneGroup) {
    World().WriteSetting("VAL_ENABLE_LCM", "0");
    StartWithStartedHandset();
    Tray(kPhoneCommand);
    for (int id : {1033, 1034, 1036, 1003, 1037}) EXPECT_FALSE(Visible(1, id)) << id;
    for (int id : {1035, 1005}) EXPECT_TRUE(Visible(1, id)) << id;
    EXPECT_EQ(Since("sheet", 1), (std::vector<std::string>{"page 1 \"Phone\"", "control 1035 group \"Key tones\" -",
                                               "control 1005 check \"Play a tone for each key\" on"}));
}

TEST_F(SettingsSheetTest, RecordNameThatNoDeviceHasExactlySelectsTheFirstAndOkMakesItDefault) {
    World().Registry().SetValue(kSoundMapperKey, L"Playback", std::wstring(L"USB PHONE"));
    World().Registry().SetValue(kSoundMapperKey, L"Record", std::wstring(L"USB PHON"));
    StartWithStartedHandset();
    World().Shell().DoubleClick();
    World().Advance(100);
    ASSERT_EQ(Sheet().ShownPage(), 0);
    EXPECT_EQ(Sheet().Control(0, 1011)->selection, 0);
    EXPECT_EQ(Sheet().Control(0, 1010)->selection, 1);
    User([](auto& s) { s.UserPressOk(); });
    EXPECT_EQ(Registry(kSoundMapperKey, L"Record"), platform::RegistryValue(std::wstring(L"Onboard Audio")));
    EXPECT_EQ(Registry(kSoundMapperKey, L"Playback"), platform::RegistryValue(std::wstring(L"USB PHONE")));
    EXPECT_TRUE(FileHas("VAL_AUDIO_OUT_VOLUME=25"));
}

TEST_F(SettingsSheetTest, LanguageListEndsAtTheFirstEmptyName) {
    World().WriteSetting("Language_3", "");
    StartWithStartedHandset();
    Tray(kAdvancedCommand);
    const auto list = Sheet().Control(3, 1007);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->items, (std::vector<std::wstring>{L"English", L"\u7b80\u4f53\u4e2d\u6587", L"\u7e41\u9ad4\u4e2d\u6587"}));
}

TEST_F(SettingsSheetTest, ClearingStartUpEnablesApplyWhichDeletesTheRunValueAndSaves) {
    StartWithStartedHandset();
    Tray(kAdvancedCommand);
    EXPECT_FALSE(Sheet().ApplyEnabled());
    User([](auto& s) { s.UserCheck(1043, true); });
    User([](auto& s) { s.UserPressApply(); });
    const std::wstring exe = (World().ProgramFolder() / "Corvane.exe").wstring();
    EXPECT_FALSE(Registry(kRunKey, L"VARNO_CORVANE")) << "Apply stays disabled until something changes";
    User([](auto& s) { s.UserCheck(1043, false); });
    EXPECT_TRUE(Sheet().ApplyEnabled());
    User([](auto& s) { s.UserCheck(1043, true); });
    User([](auto& s) { s.UserPressApply(); });
    EXPECT_EQ(Registry(kRunKey, L"VARNO_CORVANE"), platform::RegistryValue(L"\"" + exe + L"\""))
        << "quoted, so a path with blanks cannot start another program";
    EXPECT_FALSE(Sheet().ApplyEnabled());
    User([](auto& s) { s.UserCheck(1043, false); });
    User([](auto& s) { s.UserPressApply(); });
    EXPECT_TRUE(Sheet().IsOpen());
    EXPECT_FALSE(Registry(kRunKey, L"VARNO_CORVANE"));
    EXPECT_EQ(Channel("registry").back(),
              "delete \"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\\" \"VARNO_CORVANE\"");
    EXPECT_TRUE(FileHas("VAL_AUTORUN_API=0"));
}

TEST_F(SettingsSheetTest, PolishChosenOnTheAdvancedPageShowsAtOnce) {
    StartWithStartedHandset();
    Tray(kAdvancedCommand);
    User([](auto& s) { s.UserChoose(1007, 3); });
    User([](auto& s) { s.UserPressApply(); });
    EXPECT_EQ(common::g_Settings.VAL_LANGUAGE, 3);
    EXPECT_TRUE(FileHas("VAL_LANGUAGE=3"));
    EXPECT_EQ(Sheet().TabText(3), L"Zaawansowane");
    EXPECT_EQ(Text(3, 1041), L"J\u0119zyk");
    EXPECT_EQ(Sheet().SheetButtonText(2), L"Anuluj");
    EXPECT_EQ(Channel("sheet").back(), "control 1043 check \"Uruchamiaj razem z systemem Windows\" on");
    EXPECT_EQ(World().Shell().Tray().tip, L"Telefon USB: brak po\u0142\u0105czenia ze Skype") << "the tip follows";
}

TEST_F(SettingsSheetTest, OkWithNoLanguageChosenStoresMinusOneAndEnglishShows) {
    World().WriteSetting("VAL_LANGUAGE", "9");
    StartWithStartedHandset();
    Tray(kAdvancedCommand);
    EXPECT_EQ(Sheet().Control(3, 1007)->selection, -1);
    User([](auto& s) { s.UserPressOk(); });
    EXPECT_EQ(common::g_Settings.VAL_LANGUAGE, -1);
    EXPECT_TRUE(FileHas("VAL_LANGUAGE=-1"));
    Tray(kAboutCommand);
    EXPECT_EQ(Sheet().TabText(3), L"Advanced");
}

TEST_F(SettingsSheetTest, TrayLanguageRenamesTabsTitleAndButtonsAndTheListOnlyOnceShown) {
    StartWithStartedHandset();
    Tray(kAboutCommand);
    Tray(kPolishCommand);
    EXPECT_EQ(Sheet().TabText(0), L"D\u017awi\u0119k");
    EXPECT_NE(Sheet().Caption(), L"USB Phone Settings");
    EXPECT_EQ(Sheet().SheetButtonText(1), L"OK");
    EXPECT_FALSE(Sheet().Control(3, 1007)) << "the Advanced page was never shown";
    Tray(kAdvancedCommand);
    Tray(32780);  // English
    EXPECT_EQ(Sheet().Control(3, 1007)->selection, 0);
    EXPECT_EQ(Sheet().TabText(0), L"Audio");
}

TEST_F(SettingsSheetTest, FurtherTrayRequestsSwitchTheOpenSheetAndExitCancelsIt) {
    StartWithStartedHandset();
    Tray(kPhoneCommand);
    World().Shell().DoubleClick();
    World().Advance(100);
    EXPECT_EQ(Sheet().ShownPage(), 0);
    EXPECT_EQ(CountOf("sheet", "open 1"), 1);
    EXPECT_EQ(CountOf("sheet", "open 0"), 0) << "one sheet at a time";
    Tray(kExitCommand);
    EXPECT_EQ(Channel("sheet").back(), "closed cancel");
    EXPECT_EQ(Channel("exit"), std::vector<std::string>{"0"});
}

TEST_F(SettingsSheetTest, AboutPageShowsTheVersionInItsFormat) {
    StartWithStartedHandset();
    Tray(kAboutCommand);
    EXPECT_EQ(Text(4, 1045), L"Version 1.2");
    EXPECT_FALSE(Sheet().Control(0, 1023)) << "pages are created when first shown";
    EXPECT_EQ(Sheet().TabText(2), L"Ring Tone") << "all tabs carry their texts from the start";
}

TEST_F(SettingsSheetTest, MissingLanguageKeysGiveEmptyTextsNotTheTemplates) {
    std::ofstream(World().ProgramFolder() / "Language" / "Eng.ini")
        << "[Language]\nButton_OK=OK\nContrast=Contrast\n";
    StartWithStartedHandset();
    Tray(kPhoneCommand);
    EXPECT_EQ(Sheet().SheetButtonText(12321), L"");
    EXPECT_EQ(Sheet().SheetButtonText(1), L"OK");
    EXPECT_EQ(Text(1, 1034), L"Contrast");
    EXPECT_EQ(Text(1, 1005), L"") << "not the template's text";
    EXPECT_EQ(Sheet().Caption(), L"");
}

// ---- the Ring Tone page and its preview ----

class RingTonePageTest : public SettingsSheetTest {
protected:
    void SetUp() override {
        SettingsSheetTest::SetUp();
        World().WriteSetting("VAL_RINGTONE", "Trill.wav");
        World().WriteSetting("VAL_RINGTONE_VOLUME", "20");
    }
    void Open() {
        StartWithStartedHandset();
        Tray(kRingToneCommand);
        const auto list = Sheet().Control(2, 1008);
        ASSERT_TRUE(list && list->selection >= 0);
        ASSERT_EQ(list->items[static_cast<size_t>(list->selection)], L"Trill.wav");
        faders_ = Channel("fader").size();
        waves_ = Channel("wave-out").size();
    }
    std::vector<std::string> Faders() { return Since("fader", faders_); }
    std::vector<std::string> Waves() { return Since("wave-out", waves_); }
    size_t faders_ = 0;
    size_t waves_ = 0;
};

TEST_F(RingTonePageTest, PlayTwiceStartsAtTheSliderAndThenRestoresTheStoredLevel) {
    Open();
    User([](auto& s) { s.UserClick(1009); });
    EXPECT_EQ(Faders(), std::vector<std::string>{"out 20 4"});
    EXPECT_EQ(Waves().front(), "\"USB PHONE\" open 8000 Hz 16 bit 1 ch");
    User([](auto& s) { s.UserClick(1009); });
    EXPECT_EQ(Faders(), (std::vector<std::string>{"out 20 4", "out 20 4", "out 25 4"}));
    EXPECT_EQ(Waves().back(), "\"USB PHONE\" close");
}

TEST_F(RingTonePageTest, SliderThenCancelLeavesThePlaybackLevelAtTheSlider) {
    Open();
    User([](auto& s) { s.UserSlide(1003, 7); });
    User([](auto& s) { s.UserPressCancel(); });
    EXPECT_FALSE(Sheet().IsOpen());
    EXPECT_EQ(Faders(), std::vector<std::string>{"out 7 4"});
    EXPECT_EQ(common::g_Settings.VAL_RINGTONE_VOLUME, 20);
}

TEST_F(RingTonePageTest, AnotherRingToneDuringAPreviewStopsItWithoutRestoringTheLevel) {
    Open();
    User([](auto& s) { s.UserClick(1009); });
    User([](auto& s) { s.UserChoose(1008, 0); });
    EXPECT_EQ(Faders(), std::vector<std::string>{"out 20 4"});
    EXPECT_EQ(Waves().back(), "\"USB PHONE\" close");
    EXPECT_TRUE(Sheet().ApplyEnabled());
}

TEST_F(RingTonePageTest, PlayAfterAPreviewEndedByItselfStartsItAgain) {
    Open();
    User([](auto& s) { s.UserClick(1009); }, 5000);
    const auto before = Waves();
    const auto opened = std::count(before.begin(), before.end(), "\"USB PHONE\" open 8000 Hz 16 bit 1 ch");
    User([](auto& s) { s.UserClick(1009); });
    const auto waves = Waves();
    EXPECT_EQ(std::count(waves.begin(), waves.end(), "\"USB PHONE\" open 8000 Hz 16 bit 1 ch"), opened + 1);
    EXPECT_EQ(Faders(), (std::vector<std::string>{"out 20 4", "out 20 4"})) << "started, not stopped";
}

TEST_F(RingTonePageTest, OkStoresTheChosenToneTellsSkypeAndRestoresTheLevel) {
    World().Skype().Start();
    Open();
    User([](auto& s) { s.UserChoose(1008, 1); });
    User([](auto& s) { s.UserSlide(1003, 9); });
    const size_t commands = Channel("skype-cmd").size();
    User([](auto& s) { s.UserPressOk(); });
    EXPECT_EQ(common::g_Settings.VAL_RINGTONE, L"Classic.wav");
    EXPECT_TRUE(FileHas("VAL_RINGTONE=Classic.wav"));
    EXPECT_TRUE(FileHas("VAL_RINGTONE_VOLUME=9"));
    EXPECT_EQ(Faders(), (std::vector<std::string>{"out 9 4", "out 25 4"}));
    const auto sent = Since("skype-cmd", commands);
    EXPECT_NE(std::find(sent.begin(), sent.end(), "SET RINGTONE 1 $PROGRAM/RingTone/Classic.wav"), sent.end());
}

TEST_F(RingTonePageTest, AFailedPreviewNamesTheFile) {
    WriteRingTone("Broken.wav", "RIFF....WAVEjunk");
    Open();
    User([](auto& s) { s.UserChoose(1008, 0); });
    User([](auto& s) { s.UserClick(1009); });
    ASSERT_EQ(Channel("msgbox").size(), 1u);
    EXPECT_EQ(Channel("msgbox").back(), "\"The ring tone \"Broken.wav\" cannot be played.\"");
}

TEST_F(RingTonePageTest, AnEmptyRingToneFolderKeepsTheStoredToneOnApply) {
    for (const auto& entry : std::filesystem::directory_iterator(World().ProgramFolder() / "RingTone")) {
        std::filesystem::remove(entry.path());
    }
    StartWithStartedHandset();
    Tray(kRingToneCommand);
    EXPECT_TRUE(Sheet().Control(2, 1008)->items.empty());
    User([](auto& s) { s.UserClick(1009); });
    EXPECT_EQ(Channel("fader").back(), "out 20 4") << "the level is set before the file fails";
    User([](auto& s) { s.UserPressOk(); });
    EXPECT_EQ(common::g_Settings.VAL_RINGTONE, L"Trill.wav");
}

// Every shipped language labels every control of every page, its tab, the
// title and the sheet's buttons: the templates' control list against each file.
TEST_F(SettingsSheetTest, EveryLanguageFileGivesEveryControlAText) {
    StartWithStartedHandset();
    Tray(kAboutCommand);
    for (int page = 0; page < settings_ui::kSheetPageCount; ++page) User([page](auto& s) { s.UserSelectTab(page); });
    const uint32_t languages[] = {32780, 32787, 32781, 32788, 32789};
    for (uint32_t command : languages) {
        Tray(command);
        SCOPED_TRACE(common::g_Settings.VAL_LANGUAGE.load());
        EXPECT_NE(Sheet().Caption(), L"");
        for (int button : {1, 2, 12321}) EXPECT_NE(Sheet().SheetButtonText(button), L"") << button;
        const auto& pages = settings_ui::PageTemplates();
        for (size_t page = 0; page < pages.size(); ++page) {
            EXPECT_NE(Sheet().TabText(static_cast<int>(page)), L"") << page;
            for (const auto& control : pages[page].controls) {
                const bool carriesText = control.kind != platform::ControlKind::Slider &&
                                         control.kind != platform::ControlKind::DropList &&
                                         control.kind != platform::ControlKind::Icon;
                if (!carriesText) continue;
                const auto shown = Sheet().Control(static_cast<int>(page), control.id);
                ASSERT_TRUE(shown) << page << " " << control.id;
                EXPECT_NE(shown->text, L"") << page << " " << control.id;
            }
        }
    }
}

}  // namespace
