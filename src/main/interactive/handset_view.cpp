#include "main/interactive/handset_view.h"

#include <cstdlib>

namespace interactive {

namespace {

struct Parts {
    std::string channel;
    std::string text;
};

Parts Split(const std::string& line) {
    const size_t first = line.find(' ');
    if (first == std::string::npos) return {};
    const size_t second = line.find(' ', first + 1);
    if (second == std::string::npos) return {line.substr(first + 1), ""};
    return {line.substr(first + 1, second - first - 1), line.substr(second + 1)};
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

constexpr char kStatusPrefix[] = "CMD_STATUS_";
constexpr size_t kHexShown = 16;

}  // namespace

void HandsetView::Take(const std::string& line) {
    const Parts parts = Split(line);
    if (parts.channel == "handset-cmd") {
        TakeCommand(parts.text);
    } else if (parts.channel == "mode") {
        const size_t space = parts.text.find(' ');
        if (space != std::string::npos) mode_ = parts.text.substr(space + 1) + " (" + parts.text.substr(0, space) + ")";
    } else if (parts.channel == "tray") {
        TakeTray(parts.text);
    } else if (parts.channel == "exit") {
        exitCode_ = static_cast<int>(std::strtol(parts.text.c_str(), nullptr, 10));
    }
    Keep(line, parts.channel);
}

void HandsetView::TakeCommand(const std::string& text) {
    const std::string name = FirstWord(text);
    if (name == "CMD_LIGHT_ON") light_ = true;
    if (name == "CMD_LIGHT_OFF") light_ = false;
    if (name == "CMD_RING") ringing_ = true;
    if (name == "CMD_RING_STOP") ringing_ = false;
    if (name == "CMD_DEVICE_START") started_ = true;
    if (name == "CMD_INIT") started_ = false;
    if (name.rfind(kStatusPrefix, 0) == 0) status_ = name.substr(sizeof(kStatusPrefix) - 1);
}

// `<icon> "<tip>"`, or `removed ""`.
void HandsetView::TakeTray(const std::string& text) {
    trayIcon_ = FirstWord(text);
    const size_t open = text.find('"');
    const size_t close = text.rfind('"');
    trayTip_ = open != std::string::npos && close > open ? text.substr(open + 1, close - open - 1) : "";
}

// Screen lines carry 512 hex digits; the pane shows their start.
void HandsetView::Keep(const std::string& line, const std::string& channel) {
    // "<ms> handset-screen <line> <hex> <hex>": the first page's start is kept.
    const size_t lineNumber = line.find(' ', line.find(' ') + 1);
    const size_t hex = lineNumber == std::string::npos ? lineNumber : line.find(' ', lineNumber + 1);
    if (channel == "handset-screen" && hex != std::string::npos) {
        lines_.push_back(line.substr(0, hex + 1 + kHexShown) + "...");
    } else {
        lines_.push_back(line);
    }
    while (lines_.size() > kKeptLines) lines_.pop_front();
}

}  // namespace interactive
