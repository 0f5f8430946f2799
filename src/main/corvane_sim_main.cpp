// corvane-sim: the companion running in the simulated world, driven by a
// script (printing a transcript of what happens) or by a person at the
// terminal.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "main/interactive/interactive_loop.h"
#include "main/interactive/session.h"
#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"

namespace {

struct CommandLine {
    std::string scriptPath;
    std::optional<std::string> settingsPath;
    bool interactive = false;
    bool noDisplay = false;
    sim::SimWorld::Options world;
};

void Usage() {
    std::cerr << "usage: corvane-sim --script FILE [--log] [--png DIR]\n"
                 "       corvane-sim [--interactive] [--no-display] [--settings FILE] [--log] [--png DIR]\n"
                 "       corvane-sim --script FILE --interactive [--log] [--png DIR]\n";
}

bool ParseArguments(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--script" && i + 1 < argc) {
            line.scriptPath = argv[++i];
        } else if (arg == "--settings" && i + 1 < argc) {
            line.settingsPath = argv[++i];
        } else if (arg == "--interactive") {
            line.interactive = true;
        } else if (arg == "--no-display") {
            line.noDisplay = true;
        } else if (arg == "--log") {
            line.world.logLines = true;
        } else if (arg == "--png" && i + 1 < argc) {
            line.world.pictureFolder = argv[++i];
        } else {
            return false;
        }
    }
    if (line.scriptPath.empty()) line.interactive = true;
    // The start options describe the start a script would otherwise make.
    return line.scriptPath.empty() || (!line.noDisplay && !line.settingsPath);
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines the interactive simulator runs before handing over.
std::optional<std::vector<std::string>> FirstLines(const CommandLine& line) {
    if (!line.scriptPath.empty()) {
        const auto script = ReadFile(line.scriptPath);
        if (!script) return std::nullopt;
        return LinesOf(*script);
    }
    interactive::StartOptions start;
    start.noDisplay = line.noDisplay;
    if (line.settingsPath) {
        const auto settings = ReadFile(*line.settingsPath);
        if (!settings) return std::nullopt;
        start.settings = interactive::SettingLinesOf(*settings);
    }
    return interactive::StartScript(start);
}

int RunScript(const CommandLine& line) {
    const auto text = ReadFile(line.scriptPath);
    if (!text) {
        std::cerr << "corvane-sim: cannot read " << line.scriptPath << '\n';
        return 2;
    }
    sim::SimWorld world(line.world);
    world.Log().EchoTo(&std::cout);
    sim::ScriptRunner runner(world, std::cerr);
    return runner.Run(sim::ParseScript(*text));
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (!ParseArguments(argc, argv, line)) {
        Usage();
        return 2;
    }
    if (line.world.pictureFolder) {
        std::error_code ec;
        std::filesystem::create_directories(*line.world.pictureFolder, ec);
        if (ec) {
            std::cerr << "corvane-sim: cannot make " << line.world.pictureFolder->string() << '\n';
            return 2;
        }
    }
    if (!line.interactive) return RunScript(line);
    const auto first = FirstLines(line);
    if (!first) {
        std::cerr << "corvane-sim: cannot read " << (line.scriptPath.empty() ? *line.settingsPath : line.scriptPath)
                  << '\n';
        return 2;
    }
    sim::SimWorld world(line.world);
    return interactive::RunInteractive(world, *first, std::cerr);
}
