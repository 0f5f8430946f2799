#pragma once
// The interactive simulator without its terminal: keys in, the pane out.
// Keys press the handset's keys or edit the command line; the transcript's
// new lines feed the view; the world and the program give the rest.

#include <string>
#include <vector>

#include "main/interactive/handset_view.h"
#include "main/interactive/key_table.h"
#include "main/interactive/pane.h"
#include "main/interactive/session.h"

namespace interactive {

class Controller {
public:
    Controller(sim::SimWorld& world, Session& session) : world_(world), session_(session) {}

    // Handles one key; false once the user asked to quit.
    bool OnKey(TerminalKey key);
    // Takes the transcript lines added since the last call.
    void CatchUp();
    std::vector<std::string> Pane(int width, int height);
    const HandsetView& View() const { return view_; }
    // Shows a message on the bottom line (until the next key).
    void Say(const std::string& message) { message_ = message; }

private:
    bool OnCommandKey(TerminalKey key);
    // PgUp and PgDn scroll the transcript; true when the key was one of them.
    bool Scroll(TerminalKey key);
    bool RunTypedCommand();
    void RecallHistory(int step);
    PaneFacts Facts() const;

    sim::SimWorld& world_;
    Session& session_;
    HandsetView view_;
    KeypadReader keypad_;
    size_t transcriptRead_ = 0;
    size_t transcriptBack_ = 0;
    bool commandOpen_ = false;
    std::string command_;
    std::vector<std::string> history_;
    size_t historyAt_ = 0;
    std::string message_;
    bool showHelp_ = false;
};

}  // namespace interactive
