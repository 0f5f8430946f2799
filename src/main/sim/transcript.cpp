#include "main/sim/transcript.h"

namespace sim {

Transcript::Transcript(std::function<uint64_t()> now) : now_(std::move(now)) {}

void Transcript::SetOrigin(uint64_t tick) {
    std::lock_guard<std::mutex> lock(mutex_);
    origin_ = tick;
}

void Transcript::EchoTo(std::ostream* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    echo_ = out;
}

void Transcript::Add(const std::string& channel, const std::string& text) {
    const uint64_t tick = now_();
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t ms = tick >= origin_ ? tick - origin_ : 0;
    std::string line = std::to_string(ms) + " " + channel;
    if (!text.empty()) line += " " + text;
    lines_.push_back(line);
    if (echo_) *echo_ << line << '\n' << std::flush;
}

std::vector<std::string> Transcript::Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

std::vector<std::string> Transcript::LinesFrom(size_t first) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (first >= lines_.size()) return {};
    return std::vector<std::string>(lines_.begin() + static_cast<std::ptrdiff_t>(first), lines_.end());
}

uint64_t Transcript::ElapsedMs() const {
    const uint64_t tick = now_();
    std::lock_guard<std::mutex> lock(mutex_);
    return tick >= origin_ ? tick - origin_ : 0;
}

size_t Transcript::Size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_.size();
}

std::vector<std::string> Transcript::Channel(const std::string& channel) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    for (const std::string& line : lines_) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string rest = line.substr(space + 1);
        if (rest.compare(0, channel.size(), channel) != 0) continue;
        if (rest.size() == channel.size()) {
            out.emplace_back();
        } else if (rest[channel.size()] == ' ') {
            out.push_back(rest.substr(channel.size() + 1));
        }
    }
    return out;
}

}  // namespace sim
