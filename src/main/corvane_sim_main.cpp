// corvane-sim: the companion running in the simulated world, driven by a
// script, printing a transcript of what happens.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"

namespace {

void Usage() { std::cerr << "usage: corvane-sim --script FILE [--log] [--png DIR]\n"; }

}  // namespace

int main(int argc, char** argv) {
    std::string scriptPath;
    sim::SimWorld::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--script" && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (arg == "--log") {
            options.logLines = true;
        } else if (arg == "--png" && i + 1 < argc) {
            options.pictureFolder = argv[++i];
        } else {
            Usage();
            return 2;
        }
    }
    if (scriptPath.empty()) {
        Usage();
        return 2;
    }
    std::ifstream in(scriptPath);
    if (!in) {
        std::cerr << "corvane-sim: cannot read " << scriptPath << '\n';
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (options.pictureFolder) {
        std::error_code ec;
        std::filesystem::create_directories(*options.pictureFolder, ec);
        if (ec) {
            std::cerr << "corvane-sim: cannot make " << options.pictureFolder->string() << '\n';
            return 2;
        }
    }
    sim::SimWorld world(options);
    world.Log().EchoTo(&std::cout);
    sim::ScriptRunner runner(world, std::cerr);
    return runner.Run(sim::ParseScript(text.str()));
}
