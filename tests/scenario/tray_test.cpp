// The tray icon, its menu and the pop-up message, against the simulated shell.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/settings.h"
#include "platform/profile.h"
#include "support/program_fixture.h"

namespace {

using Answer = world::SkypePeer::AttachAnswer;

class TrayTest : public testing_support::ProgramTest {
protected:
    std::string SettingsFile() {
        std::ifstream in(World().ProgramFolder() / "Corvane.ini");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(TrayTest, IconFollowsTheConnectionState) {
    World().Skype().Start();
    Handset().Plug(World().Bus());
    World().Start();
    EXPECT_EQ(Channel("tray").back(), "error \"USB Phone: handset not connected\"");
    Handset().Press(240);
    World().Advance(100);
    EXPECT_EQ(Channel("tray").back(), "application \"USB Phone: connected to Skype\"");
    World().Skype().Quit();
    World().Advance(3000);
    EXPECT_EQ(Channel("tray").back(), "information \"USB Phone: Skype not connected\"");
    Handset().Unplug();
    World().Settle();
    EXPECT_EQ(Channel("tray").back(), "error \"USB Phone: handset not connected\"");
}

TEST_F(TrayTest, ChoosingPolishWritesTheSettingAtOnceAndTheMenuFollows) {
    StartWithStartedHandset();
    World().Shell().RightClick(32788);
    World().Advance(100);
    EXPECT_EQ(common::g_Settings.VAL_LANGUAGE, 3);
    EXPECT_NE(SettingsFile().find("VAL_LANGUAGE=3"), std::string::npos);
    World().Shell().RightClick(0);
    World().Advance(100);
    const auto menu = World().Shell().LastMenu();
    ASSERT_EQ(menu.size(), 9u);
    EXPECT_EQ(menu[0].text, L"J\u0119zyk");
    EXPECT_EQ(menu[8].text, L"Zako\u0144cz");
    ASSERT_EQ(menu[0].items.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(menu[0].items[i].checked, i == 3) << i;
    EXPECT_EQ(menu[0].items[3].text, L"Polski");
    EXPECT_EQ(menu[0].items[3].id, 32788u);
}

TEST_F(TrayTest, MenuExitEndsTheProgram) {
    StartWithStartedHandset();
    World().Shell().RightClick(32775);
    World().Advance(100);
    EXPECT_EQ(Channel("exit"), std::vector<std::string>{"0"});
    EXPECT_FALSE(World().Shell().Tray().shown);
}

TEST_F(TrayTest, LanguageOutsideTheTableShowsEnglishWithoutCheckMark) {
    World().WriteSetting("VAL_LANGUAGE", "7");
    StartWithStartedHandset();
    World().Shell().RightClick(0);
    World().Advance(100);
    const auto menu = World().Shell().LastMenu();
    ASSERT_EQ(menu.size(), 9u);
    EXPECT_EQ(menu[8].text, L"Exit");
    for (const auto& item : menu[0].items) EXPECT_FALSE(item.checked);
}

TEST_F(TrayTest, RefusedAttachShowsOneMessageBoxPerRun) {
    World().Skype().SetAttachAnswer(Answer::Refused);
    World().Skype().Start();
    StartWithStartedHandset();
    World().Skype().AnnounceApi();
    World().Advance(100);
    ASSERT_EQ(Channel("msgbox").size(), 1u);
    EXPECT_NE(Channel("msgbox")[0].find("Skype has refused access"), std::string::npos);
}

TEST_F(TrayTest, IconComesBackAfterTheShellRestarts) {
    StartWithStartedHandset();
    World().Shell().Restart();
    World().Settle();
    EXPECT_TRUE(World().Shell().Tray().shown);
    EXPECT_EQ(Channel("tray").back(), "information \"USB Phone: Skype not connected\"");
}

TEST_F(TrayTest, LongTipIsCutTo127Characters) {
    platform::WritePrivateProfileString(L"Language", L"Tray_Tip_Info_2", std::wstring(300, L't'),
                                        platform::Utf8ToWide((World().ProgramFolder() / "Language" / "Eng.ini").string()));
    World().Start();
    EXPECT_EQ(World().Shell().Tray().tip.size(), 127u);
}

}  // namespace
