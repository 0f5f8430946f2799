#include "main/interactive/session.h"

#include <fstream>

#include "main/sim/script.h"

namespace interactive {

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The runner says "script line N: ..."; on the command line the line is the
// one just typed.
std::string WithoutLinePrefix(const std::string& message) {
    const size_t colon = message.find(": ");
    std::string text = message.rfind("script line ", 0) == 0 && colon != std::string::npos ? message.substr(colon + 2)
                                                                                           : message;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace

std::vector<std::string> StartScript(const StartOptions& options) {
    std::vector<std::string> lines;
    if (options.noDisplay) lines.push_back("setting VAL_ENABLE_LCM 0");
    lines.insert(lines.end(), options.settings.begin(), options.settings.end());
    const char* const start[] = {
        "handset plug",
        "skype start",
        "start",
        "handset press 240",
        "wait 500",
        "skype contact alice ONLINE Alice Liddell",
        "skype contact bob AWAY Bob Kowalski",
        "skype contact chen OFFLINE Chen Jing",
        "wait 500",
    };
    lines.insert(lines.end(), std::begin(start), std::end(start));
    return lines;
}

std::vector<std::string> SettingLinesOf(const std::string& iniText) {
    std::vector<std::string> lines;
    std::istringstream in(iniText);
    for (std::string raw; std::getline(in, raw);) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '[' || line[0] == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        const std::string value = Trim(line.substr(equals + 1));
        if (value.empty()) continue;
        lines.push_back("setting " + Trim(line.substr(0, equals)) + " " + value);
    }
    return lines;
}

bool Session::Run(const std::string& text, std::string& error) {
    const std::vector<sim::ScriptLine> parsed = sim::ParseScript(text);
    if (parsed.empty()) return true;  // a blank line or a comment
    if (parsed.size() > 1) {
        error = "one command at a time";
        return false;
    }
    sim::ScriptLine line = parsed[0];
    line.number = ++lineNumber_;
    FlushWait();
    errors_.str("");
    if (!runner_.RunLine(line)) {
        error = WithoutLinePrefix(errors_.str());
        if (error.empty()) error = "the simulated world can make no progress";
        return false;
    }
    kept_.push_back(Trim(text));
    return true;
}

void Session::Elapse(uint64_t ms) {
    if (ms == 0 || runner_.Stuck()) return;
    world_.Advance(ms);
    pendingWaitMs_ += ms;
}

void Session::FlushWait() {
    if (pendingWaitMs_ == 0) return;
    kept_.push_back("wait " + std::to_string(pendingWaitMs_));
    pendingWaitMs_ = 0;
}

std::string Session::Script() const {
    std::string text = "# An interactive session of corvane-sim; replay it with corvane-sim --script FILE.\n";
    for (const std::string& line : kept_) text += line + "\n";
    if (pendingWaitMs_ > 0) text += "wait " + std::to_string(pendingWaitMs_) + "\n";
    return text;
}

std::vector<std::string> CommandHelp() {
    return {
        ":help                 this list",
        ":save FILE            the session so far as a script that replays it",
        ":quit                 ends the program and the simulator",
        "PgUp PgDn             scroll the transcript back and forth",
        ":wait MS              lets MS milliseconds pass at once",
        ":handset plug|unplug|report|press|release|key KEY_NAME [MS]",
        ":skype start|attach|available|quit|notify|call-in|call-out|answer|end|",
        "       conference|contact|focus|voicemail|window ...",
        ":tray rclick ID | :tray dblclick | :shell restart",
        ":quit-message | :second-instance | :exit | :setting KEY VALUE (before start)",
        "Any line of the script language is taken, as in a script (see README).",
    };
}

CommandOutcome RunCommandLine(Session& session, const std::string& text) {
    const std::string command = Trim(text);
    if (command == "quit" || command == "q") return {"", true};
    if (command == "help") return {"any key closes the list", false, true};
    if (command.rfind("save", 0) == 0 && (command.size() == 4 || command[4] == ' ')) {
        const std::string path = Trim(command.substr(4));
        if (path.empty()) return {"usage: :save FILE", false};
        std::ofstream out(path);
        out << session.Script();
        if (!out) return {"cannot write " + path, false};
        return {"session saved to " + path, false};
    }
    std::string error;
    if (!session.Run(command, error)) return {error, false};
    return {command.empty() ? "" : "ran: " + command, false};
}

}  // namespace interactive
