#pragma once
// An interactive run of the simulated world: script lines from the keyboard
// and the command line, run as a script runs them, with virtual time
// following real time in between. The session is kept as a script (the
// lines and, between them, the time that passed) that replays it.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"

namespace interactive {

// How the interactive simulator starts.
struct StartOptions {
    bool noDisplay = false;
    // `setting` lines from a settings file (see SettingLinesOf).
    std::vector<std::string> settings;
};

// The script that brings the world to where a person expects to find the
// phone: settings written, a handset plugged in and started, Skype running
// and attached, a few contacts, the main mode on the screen.
std::vector<std::string> StartScript(const StartOptions& options);

// "setting KEY value" for every key of an INI-style settings file's text.
std::vector<std::string> SettingLinesOf(const std::string& iniText);

class Session {
public:
    explicit Session(sim::SimWorld& world) : world_(world), runner_(world, errors_) {}

    // Runs one line of the script language as a script would; false, with
    // the reason in `error`, for a bad line (which is not kept).
    bool Run(const std::string& text, std::string& error);
    // Real time passed: virtual time follows by as much.
    void Elapse(uint64_t ms);
    // The session so far as a script.
    std::string Script() const;
    // Lets the actions under way end and stops the program.
    int Finish() { return runner_.Finish(); }
    bool Stuck() const { return runner_.Stuck(); }

private:
    void FlushWait();

    sim::SimWorld& world_;
    std::ostringstream errors_;
    sim::ScriptRunner runner_;
    std::vector<std::string> kept_;
    uint64_t pendingWaitMs_ = 0;
    int lineNumber_ = 0;
};

// The answer to a command typed after ':'.
struct CommandOutcome {
    std::string message;  // shown on the bottom line
    bool quit = false;
    bool showHelp = false;
};

// :help, :save FILE, :quit, or any line of the script language.
CommandOutcome RunCommandLine(Session& session, const std::string& text);

// The commands :help lists, one a line.
std::vector<std::string> CommandHelp();

}  // namespace interactive
