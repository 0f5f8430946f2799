// The Skype stand-in for the Windows program's tests: the simulated Skype
// client's API side in a process of its own, on the system's real windows
// and messages.
//
//   skype-standin --script FILE [--record FILE] [--wait-limit MS]
//
// Exit status: 0 when the script ran to its end, 2 when a step failed or a
// wait ran out of time, 1 for a bad command line or unreadable file.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "standin_script.h"

namespace {

struct Options {
    std::string script;
    std::string record;
    unsigned long waitLimitMs = 60000;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--script") {
            options.script = argv[i + 1];
        } else if (name == "--record") {
            options.record = argv[i + 1];
        } else if (name == "--wait-limit") {
            options.waitLimitMs = std::strtoul(argv[i + 1], nullptr, 10);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !options.script.empty() && options.waitLimitMs > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: skype-standin --script FILE [--record FILE] [--wait-limit MS]\n");
        return 1;
    }
    std::ifstream in(options.script, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "skype-standin: cannot read %s\n", options.script.c_str());
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    world::SkypePeer peer;
    standin::StandinScript script(peer, static_cast<uint32_t>(options.waitLimitMs));
    if (!options.record.empty() && !script.OpenRecord(options.record)) {
        std::fprintf(stderr, "skype-standin: cannot write %s\n", options.record.c_str());
        return 1;
    }
    std::string failure;
    const bool ran = script.Run(text.str(), failure);
    peer.Quit();
    if (ran) return 0;
    std::fprintf(stderr, "skype-standin: %s\n", failure.c_str());
    return 2;
}
