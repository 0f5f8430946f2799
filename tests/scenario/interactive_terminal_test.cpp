// corvane-sim held in a real terminal: tmux runs it in an 80 x 24 pane, keys
// are sent to it and the pane is read back. A call is rung from the command
// line, answered with the hook key and ended; the pane's mode, indicators
// (the light among them), calls and display follow. Each step waits for the text it expects, with a
// generous limit (a sanitizer build is slow); running past it is a failure.
// tmux is part of the build's set-up, so a missing tmux fails the test too.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"
#include "support/temp_folder.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPollEvery = std::chrono::milliseconds(100);

struct Output {
    int status = -1;
    std::string text;
};

Output Shell(const std::string& command) {
    Output out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) out.text.append(buffer, n);
    out.status = pclose(pipe);
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// One tmux server of this test's own (its own socket), ended with the test.
class TmuxPane {
public:
    explicit TmuxPane(const testing_support::TempFolder& folder)
        : tmux_("env -u TMUX tmux -u -f /dev/null -S " + Quoted((folder.Path() / "tmux.socket").string())),
          statusFile_((folder.Path() / "status").string()) {}
    ~TmuxPane() { Shell(tmux_ + " kill-server"); }

    bool Start(const std::string& program) {
        const std::string command = "env LANG=C.UTF-8 " + program + "; echo $? > " + Quoted(statusFile_);
        return Shell(tmux_ + " new-session -d -s sim -x 80 -y 24 " + Quoted(command)).status == 0;
    }
    void Keys(const std::vector<std::string>& keys) {
        std::string command = tmux_ + " send-keys -t sim";
        for (const std::string& key : keys) command += " " + Quoted(key);
        Shell(command);
    }
    void Resize(int width, int height) {
        Shell(tmux_ + " resize-window -t sim -x " + std::to_string(width) + " -y " + std::to_string(height));
    }
    // Typed as text, not as key names.
    void Type(const std::string& text) { Shell(tmux_ + " send-keys -t sim -l " + Quoted(text)); }
    std::string Capture() { return Shell(tmux_ + " capture-pane -p -t sim").text; }

    // Waits until the pane shows every text; the last capture either way.
    bool WaitFor(const std::vector<std::string>& texts, std::string& pane) {
        const auto giveUp = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            pane = Capture();
            bool all = true;
            for (const std::string& text : texts) all = all && pane.find(text) != std::string::npos;
            if (all) return true;
            if (std::chrono::steady_clock::now() > giveUp) return false;
            std::this_thread::sleep_for(kPollEvery);
        }
    }
    // Waits until the program has ended; its exit status, or -1.
    int WaitForExit() {
        const auto giveUp = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < giveUp) {
            std::ifstream in(statusFile_);
            int status = -1;
            if (in >> status) return status;
            std::this_thread::sleep_for(kPollEvery);
        }
        return -1;
    }

private:
    std::string tmux_;
    std::string statusFile_;
};

// The 16 display rows of a captured pane (lines 2 ... 17).
std::string DisplayOf(const std::string& pane) {
    std::istringstream in(pane);
    std::string line, rows;
    for (int i = 0; std::getline(in, line) && i < 17; ++i) {
        if (i >= 1) rows += line.substr(0, line.find("\xE2\x94\x82", 3)) + "\n";
    }
    return rows;
}

TEST(InteractiveTerminalTest, CallRungAnsweredAndEndedShowsLiveInThePane) {
    ASSERT_EQ(Shell("command -v tmux").status, 0) << "tmux is missing (scripts/setup.sh installs it)";
    testing_support::TempFolder folder;
    TmuxPane pane(folder);
    ASSERT_TRUE(pane.Start(CORVANE_SIM)) << "tmux could not start corvane-sim";
    std::string shown;

    ASSERT_TRUE(pane.WaitFor({"MODE_MAIN", " attached", " echo123", " none", "hook up"}, shown)) << shown;
    const std::string idle = DisplayOf(shown);
    // The start's key light goes out after ten seconds of program time,
    // which here follows real time.
    ASSERT_TRUE(pane.WaitFor({"light  off"}, shown)) << shown;

    pane.Type(":skype call-in 7 alice Alice Liddell");
    pane.Keys({"Enter"});
    ASSERT_TRUE(pane.WaitFor({"MODE_RINGING", " 7 RINGING", "ringer ON", "light  ON", "status ALERT"}, shown))
        << shown;
    EXPECT_NE(DisplayOf(shown), idle) << "the display still shows the idle screen\n" << shown;
    const std::string ringing = DisplayOf(shown);

    pane.Keys({"Enter"});  // hook up
    ASSERT_TRUE(pane.WaitFor({"MODE_TALKING", " 7 INPROGRESS", "ringer off", "status TALK"}, shown)) << shown;
    EXPECT_NE(DisplayOf(shown), ringing) << "the display still shows the ringing screen\n" << shown;

    pane.Keys({"End"});  // hook down
    ASSERT_TRUE(pane.WaitFor({"MODE_MAIN", " none", "status IDLE", "skype-cmd"}, shown)) << shown;

    const std::string saved = (folder.Path() / "session.txt").string();
    pane.Type(":save " + saved);
    pane.Keys({"Enter"});
    ASSERT_TRUE(pane.WaitFor({"session saved to"}, shown)) << shown;
    pane.Type(":quit");
    pane.Keys({"Enter"});
    EXPECT_EQ(pane.WaitForExit(), 0);

    // The saved session replays the same story as a script.
    const std::string script = folder.Read("session.txt");
    EXPECT_NE(script.find("skype call-in 7 alice Alice Liddell\n"), std::string::npos) << script;
    EXPECT_NE(script.find("handset key KEY_HOOKUP\n"), std::string::npos) << script;
    sim::SimWorld world{sim::SimWorld::Options{}};
    std::ostringstream errors;
    sim::ScriptRunner runner(world, errors);
    ASSERT_EQ(runner.Run(sim::ParseScript(script)), 0) << errors.str();
    const auto commands = world.Log().Channel("skype-cmd");
    EXPECT_NE(std::find(commands.begin(), commands.end(), "SET CALL 7 STATUS INPROGRESS"), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), "SET CALL 7 STATUS FINISHED"), commands.end());
}

TEST(InteractiveTerminalTest, TooSmallTerminalIsToldSoUntilItGrows) {
    ASSERT_EQ(Shell("command -v tmux").status, 0) << "tmux is missing (scripts/setup.sh installs it)";
    testing_support::TempFolder folder;
    TmuxPane pane(folder);
    ASSERT_TRUE(pane.Start(CORVANE_SIM));
    std::string shown;
    ASSERT_TRUE(pane.WaitFor({"MODE_MAIN"}, shown)) << shown;
    pane.Resize(60, 20);
    ASSERT_TRUE(pane.WaitFor({"too small", "80x24"}, shown)) << shown;
    pane.Resize(80, 24);
    ASSERT_TRUE(pane.WaitFor({"MODE_MAIN", "hook up"}, shown)) << shown;
    pane.Keys({"C-c"});
    EXPECT_EQ(pane.WaitForExit(), 0);
}

}  // namespace
