#pragma once
// The whole terminal pane as lines of text, laid out for a terminal size:
// a header (time, mode, tray), the display beside the handset's indicators
// and Skype's state, the latest transcript lines, the help line and the
// command line. Pure layout; the terminal only draws the lines.

#include <cstdint>
#include <string>
#include <vector>

#include "main/interactive/display_characters.h"
#include "main/interactive/handset_view.h"

namespace interactive {

constexpr int kMinWidth = 80;
constexpr int kMinHeight = 24;

// What the pane shows beside the transcript's own story, read from the
// world and the program when the pane is drawn.
struct PaneFacts {
    uint64_t ms = 0;  // virtual time since start
    bool programRunning = false;
    bool handsetPlugged = false;
    bool hasDisplay = true;
    HandsetPixels display;
    bool skypeRunning = false;
    bool skypeAttached = false;
    std::string skypeUser;
    struct Call {
        std::string id, status, handle;
    };
    std::vector<Call> calls;
    // The bottom line: the command being typed (with commandOpen), else a
    // message, else nothing.
    bool commandOpen = false;
    std::string command;
    std::string message;
    // How many of the newest transcript lines are scrolled out below.
    size_t transcriptBack = 0;
    // Lines shown over the display and the indicators (the :help list).
    std::vector<std::string> overlay;
};

// Exactly `height` lines, each filling exactly `width` cells. A terminal
// smaller than kMinWidth x kMinHeight gets a line saying so instead.
std::vector<std::string> ComposePane(const HandsetView& view, const PaneFacts& facts, int width, int height);

// "1:02.345" for 62345 ms.
std::string FormatTime(uint64_t ms);

}  // namespace interactive
