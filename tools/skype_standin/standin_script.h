#pragma once
// The script of the Skype stand-in: what the simulated Skype does in the
// simulator's scripts, acted out against real windows of another process,
// plus waits for what the companion sends.
//
//   attach 0|1|2|3|none          how discover broadcasts are answered
//   start [<version>]            the client starts and announces its API
//   available                    it announces its API again
//   await "<command>" [<count>]  waits until the command has arrived count
//                                times in all (1 unless given)
//   notify <text ...>            sends a notification to the attached program
//   call-in <id> <handle> [<name ...>], call-out <id> <handle>,
//   end <id> [<status>], answer <id>, contact <handle> <status> [<name ...>],
//   focus <handle>, voicemail <id> <handle>, conference <id> <conf id>
//   window main visible|hidden|none, window open <class name>
//   await-window "<title>"       waits until a top-level window has the title
//   await-no-window "<title>"    waits until none has it any more
//   quit-message                 WM_USER + 1 to the window titled "VARNO-CORVANE"
//   pause <ms>                   lets real time pass
//   quit                         the client ends (its windows go away)
//
// Every wait ends after the time limit given to the script, as a failure.

#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "world/skype_peer.h"

namespace standin {

class StandinScript {
public:
    StandinScript(world::SkypePeer& peer, uint32_t waitLimitMs);

    // Every command the peer receives goes to the record, one a line.
    bool OpenRecord(const std::string& path);
    // Runs the script's lines; false with the failing line's reason.
    bool Run(const std::string& text, std::string& failure);

private:
    bool Step(const std::vector<std::string>& w, std::string& failure);
    bool PeerStep(const std::vector<std::string>& w, std::string& failure);
    bool Await(const std::string& command, long long count, std::string& failure);
    bool AwaitWindow(const std::wstring& title, bool present, std::string& failure);
    void OnCommand(const std::string& text);

    world::SkypePeer& peer_;
    uint32_t waitLimitMs_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> received_;
    std::ofstream record_;
};

}  // namespace standin
