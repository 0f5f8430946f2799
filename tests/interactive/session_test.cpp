// The interactive simulator without its terminal: the start a person
// expects, a call rung from the command line, answered with the hook key and
// ended, with the pane following; and :save writing a script that replays
// the session to the same transcript.

#include "main/interactive/controller.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "main/interactive/session.h"
#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"
#include "support/joined_lines.h"
#include "support/temp_folder.h"


namespace {

using interactive::Controller;
using interactive::Session;
using interactive::TerminalKey;
using Named = TerminalKey::Named;

class InteractiveSessionTest : public ::testing::Test {
protected:
    void StartAsAPersonExpects(const interactive::StartOptions& options = {}) {
        for (const std::string& line : interactive::StartScript(options)) {
            std::string error;
            ASSERT_TRUE(session_.Run(line, error)) << line << ": " << error;
        }
    }
    void Type(const std::string& text) {
        for (const char c : text) controller_.OnKey(TerminalKey::Char(static_cast<unsigned char>(c)));
    }
    void Command(const std::string& text) {
        Type(":" + text);
        controller_.OnKey(TerminalKey::Key(Named::Enter));
    }
    // Time passes as it would in front of the terminal.
    std::string PaneAfter(uint64_t ms) {
        session_.Elapse(ms);
        controller_.CatchUp();
        return JoinedLines(controller_.Pane(80, 24));
    }

    sim::SimWorld world_{sim::SimWorld::Options{}};
    Session session_{world_};
    Controller controller_{world_, session_};
};

TEST_F(InteractiveSessionTest, StartsWithTheHandsetReadyAndSkypeAttached) {
    StartAsAPersonExpects();
    const std::string pane = PaneAfter(100);
    for (const char* shown : {"MODE_MAIN", " plugged", " started", " attached", " echo123", " Calls ", " none"}) {
        EXPECT_NE(pane.find(shown), std::string::npos) << shown << "\n" << pane;
    }
    EXPECT_NE(pane.find("\xE2\xA3"), std::string::npos) << "the idle screen has lit pixels\n" << pane;
}

TEST_F(InteractiveSessionTest, HandsetWithoutDisplayIsSaidSo) {
    interactive::StartOptions options;
    options.noDisplay = true;
    StartAsAPersonExpects(options);
    EXPECT_NE(PaneAfter(100).find("This handset has no display."), std::string::npos);
}

TEST_F(InteractiveSessionTest, CallRungFromTheCommandLineIsAnsweredAndEndedWithTheHookKeys) {
    StartAsAPersonExpects();
    PaneAfter(11000);  // the key light of the start has gone out
    ASSERT_FALSE(controller_.View().LightOn());

    Command("skype call-in 7 alice Alice Liddell");
    std::string pane = PaneAfter(1000);
    EXPECT_TRUE(controller_.View().Ringing());
    EXPECT_TRUE(controller_.View().LightOn());
    EXPECT_NE(pane.find("MODE_RINGING"), std::string::npos) << pane;
    EXPECT_NE(pane.find(" 7 RINGING"), std::string::npos) << pane;

    controller_.OnKey(TerminalKey::Key(Named::Enter));  // hook up
    pane = PaneAfter(1000);
    EXPECT_FALSE(controller_.View().Ringing());
    EXPECT_EQ(controller_.View().Status(), "TALK");
    EXPECT_NE(pane.find("MODE_TALKING"), std::string::npos) << pane;
    EXPECT_NE(pane.find(" 7 INPROGRESS"), std::string::npos) << pane;

    controller_.OnKey(TerminalKey::Key(Named::End));  // hook down
    pane = PaneAfter(3000);
    EXPECT_EQ(controller_.View().Status(), "IDLE");
    EXPECT_NE(pane.find("MODE_MAIN"), std::string::npos) << pane;
    EXPECT_NE(pane.find(" none"), std::string::npos) << pane;
    EXPECT_NE(JoinedLines(world_.Log().Channel("skype-cmd")).find("SET CALL 7 STATUS FINISHED"), std::string::npos);
}

TEST_F(InteractiveSessionTest, PageKeysScrollTheTranscriptAndHoldItThereAsLinesCome) {
    StartAsAPersonExpects();
    PaneAfter(0);
    controller_.OnKey(TerminalKey::Key(Named::PageUp));
    const std::string scrolled = PaneAfter(0);
    EXPECT_NE(scrolled.find("10 lines back"), std::string::npos) << scrolled;
    Command("skype notify USER alice ONLINESTATUS AWAY");  // new lines come meanwhile
    std::string pane = PaneAfter(100);
    EXPECT_NE(pane.find("lines back"), std::string::npos) << pane;
    const size_t row = scrolled.find("\n", scrolled.find("lines back"));
    EXPECT_NE(pane.find(scrolled.substr(row, 200)), std::string::npos) << "the same lines stay in view\n" << pane;
    // Ten lines a key: two keys bring the newest lines back.
    controller_.OnKey(TerminalKey::Key(Named::PageDown));
    controller_.OnKey(TerminalKey::Key(Named::PageDown));
    pane = PaneAfter(0);
    EXPECT_EQ(pane.find(" back (PgDn)"), std::string::npos) << pane;
}

TEST_F(InteractiveSessionTest, BadCommandIsReportedAndNotKept) {
    StartAsAPersonExpects();
    const std::string before = session_.Script();
    Command("skype ring 7");
    EXPECT_NE(PaneAfter(0).find("unknown skype command 'ring'"), std::string::npos);
    EXPECT_EQ(session_.Script(), before);
}

TEST_F(InteractiveSessionTest, SavedSessionReplaysToTheSameTranscript) {
    StartAsAPersonExpects();
    PaneAfter(1234);
    Command("skype call-in 7 alice Alice Liddell");
    PaneAfter(2100);
    controller_.OnKey(TerminalKey::Char('u'));
    PaneAfter(1500);
    controller_.OnKey(TerminalKey::Char('l'));
    controller_.OnKey(TerminalKey::Char('5'));
    PaneAfter(777);
    controller_.OnKey(TerminalKey::Key(Named::End));
    PaneAfter(2000);
    Command("wait 10000");
    PaneAfter(35);

    testing_support::TempFolder folder;
    const std::string path = (folder.Path() / "session.txt").string();
    Command("save " + path);
    EXPECT_NE(PaneAfter(0).find("session saved to"), std::string::npos);
    ASSERT_EQ(session_.Finish(), 0);
    const std::vector<std::string> interactiveRun = world_.Log().Lines();

    sim::SimWorld replay{sim::SimWorld::Options{}};
    std::ostringstream errors;
    sim::ScriptRunner runner(replay, errors);
    ASSERT_EQ(runner.Run(sim::ParseScript(folder.Read("session.txt"))), 0) << errors.str();
    EXPECT_EQ(replay.Log().Lines(), interactiveRun) << folder.Read("session.txt");
}

TEST(InteractiveStartTest, SettingsFileBecomesSettingLines) {
    const std::string ini =
        "[SETTING]\nVAL_ENABLE_LCM=0\n; a comment\nVAL_LANGUAGE = 3 \nVAL_RINGTONE=\n[KEY]\nVAL_KEYSCAN_1=10\n";
    EXPECT_EQ(interactive::SettingLinesOf(ini),
              (std::vector<std::string>{"setting VAL_ENABLE_LCM 0", "setting VAL_LANGUAGE 3",
                                        "setting VAL_KEYSCAN_1 10"}));
    interactive::StartOptions options;
    options.noDisplay = true;
    options.settings = {"setting VAL_LANGUAGE 3"};
    const auto start = interactive::StartScript(options);
    ASSERT_GE(start.size(), 3u);
    EXPECT_EQ(start[0], "setting VAL_ENABLE_LCM 0");
    EXPECT_EQ(start[1], "setting VAL_LANGUAGE 3");
}

}  // namespace
