#pragma once
// Runs a simulator script against a simulated world.

#include <ostream>
#include <string>
#include <vector>

#include "main/sim/script.h"
#include "main/sim/sim_world.h"

namespace sim {

class ScriptRunner {
public:
    ScriptRunner(SimWorld& world, std::ostream& errors) : world_(world), errors_(errors) {}

    // Runs every line; stops at the first bad line. Returns 0 on success,
    // 2 for a bad script, 3 when the world stops making progress (the
    // program threads' states are reported). The program is stopped at the
    // end. Actions of the outside world run on the world's own thread (see
    // SimWorld::Deliver), so a line never waits for the program.
    int Run(const std::vector<ScriptLine>& lines);
    // One line of a script run in steps (the interactive simulator): runs it
    // and lets the world settle. False for a bad line (reported on the
    // error stream), or when the world can make no progress (Stuck()).
    bool RunLine(const ScriptLine& line);
    // The end of a script run in steps: lets the actions under way end and
    // stops the program. Returns as Run does.
    int Finish();
    bool Stuck() const { return stuck_; }

private:
    bool Execute(const ScriptLine& line);
    bool Setting(const std::vector<std::string>& w);
    bool Wait(const std::vector<std::string>& w);
    bool HandsetCommand(const std::vector<std::string>& w);
    bool HandsetKey(const std::vector<std::string>& w);
    bool SkypeCommand(const std::vector<std::string>& w);
    bool SkypeHistoryCommand(const std::vector<std::string>& w);
    bool SkypeWindowCommand(const std::vector<std::string>& w);
    bool Fail(const std::string& message);
    bool FinishDeliveries();

    SimWorld& world_;
    std::ostream& errors_;
    int lineNumber_ = 0;
    bool stuck_ = false;  // the world can make no progress
};

// The default key map's hardware code for a key name (KEY_HOOKUP, KEY_5, ...);
// 0 when no code gives that key.
int DefaultCodeForKey(const std::string& keyName);

}  // namespace sim
