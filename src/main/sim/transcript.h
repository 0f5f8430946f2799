#pragma once
// The simulator's transcript: one event a line, "<ms> <channel> <text>", in
// the order the events happen, <ms> being virtual milliseconds since start.

#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

class Transcript {
public:
    // origin: the tick that counts as 0 ms; now: reads the current tick.
    explicit Transcript(std::function<uint64_t()> now);

    void SetOrigin(uint64_t tick);
    void Add(const std::string& channel, const std::string& text);
    // Also writes every line to out as it is added (nullptr: keep only).
    void EchoTo(std::ostream* out);

    std::vector<std::string> Lines() const;
    // The lines from the given index on (those added since a reader last
    // took Size() lines).
    std::vector<std::string> LinesFrom(size_t first) const;
    size_t Size() const;
    // Milliseconds since the origin, as the next line would show them.
    uint64_t ElapsedMs() const;
    // The lines of one channel, without their time stamps.
    std::vector<std::string> Channel(const std::string& channel) const;

private:
    std::function<uint64_t()> now_;
    mutable std::mutex mutex_;
    uint64_t origin_ = 0;
    std::vector<std::string> lines_;
    std::ostream* echo_ = nullptr;
};

}  // namespace sim
