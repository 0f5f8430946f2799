#include "main/interactive/pane.h"

#include <cstdio>

#include "main/interactive/key_table.h"
#include "main/interactive/text_cells.h"

namespace interactive {

namespace {

constexpr int kFrameCells = kDisplayColumns + 2;  // the display and its two side bars
constexpr int kPanelGap = 1;
const std::string kVertical = "\u2502";
const std::string kHorizontal = "\u2500";

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

std::vector<std::string> DisplayRows(const PaneFacts& facts) {
    if (facts.hasDisplay) return BrailleRows(facts.display);
    std::vector<std::string> rows(kDisplayRows);
    const std::string notice = "This handset has no display.";
    const int left = (kDisplayColumns - TextCells(notice)) / 2;
    rows[kDisplayRows / 2 - 1] = std::string(static_cast<size_t>(left), ' ') + notice;
    return rows;
}

// Short lines: the panel is 13 cells wide in an 80-column terminal.
std::vector<std::string> PanelLines(const HandsetView& view, const PaneFacts& facts) {
    std::vector<std::string> lines = {
        "Handset",
        facts.handsetPlugged ? " plugged" : " unplugged",
        view.Started() ? " started" : " not started",
        std::string(" light  ") + (view.LightOn() ? "ON" : "off"),
        std::string(" ringer ") + (view.Ringing() ? "ON" : "off"),
        " status " + view.Status(),
        "Skype",
        !facts.skypeRunning ? " not running" : (facts.skypeAttached ? " attached" : " detached"),
    };
    if (facts.skypeAttached && !facts.skypeUser.empty()) lines.push_back(" " + facts.skypeUser);
    lines.push_back("Calls");
    if (facts.calls.empty()) lines.push_back(" none");
    for (const PaneFacts::Call& call : facts.calls) {
        lines.push_back(" " + call.id + " " + call.status);
        lines.push_back("   " + call.handle);
    }
    return lines;
}

std::string Header(const HandsetView& view, const PaneFacts& facts) {
    std::string state = facts.programRunning ? view.Mode() : "program not running";
    if (view.ExitCode()) state = "program ended (exit " + std::to_string(*view.ExitCode()) + ")";
    return " " + FormatTime(facts.ms) + "  " + state + "  tray " + view.TrayIcon() +
           (view.TrayTip().empty() ? "" : " \"" + view.TrayTip() + "\"");
}

std::string BottomLine(const PaneFacts& facts) {
    if (facts.commandOpen) return ":" + facts.command;
    return facts.message;
}

std::vector<std::string> TooSmall(int width, int height) {
    std::vector<std::string> lines(static_cast<size_t>(height > 0 ? height : 0));
    const std::string text = "Terminal " + std::to_string(width) + "x" + std::to_string(height) +
                             " is too small: the view needs " + std::to_string(kMinWidth) + "x" +
                             std::to_string(kMinHeight) + ".";
    // Wrapped over as many lines as the narrow terminal needs.
    size_t line = 0;
    for (size_t at = 0; at < text.size() && line < lines.size() && width > 0; at += static_cast<size_t>(width)) {
        lines[line++] = text.substr(at, static_cast<size_t>(width));
    }
    for (std::string& l : lines) l = FitCells(l, width > 0 ? width : 0);
    return lines;
}

}  // namespace

std::string FormatTime(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof(text), "%llu:%02llu.%03llu", static_cast<unsigned long long>(ms / 60000),
                  static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000));
    return text;
}

namespace {

// The frame's bottom edge; while the transcript is scrolled back it says how far.
std::string BottomEdge(size_t back) {
    if (back == 0) return "\u2514" + Repeat(kHorizontal, kDisplayColumns) + "\u2518";
    const std::string label = " transcript " + std::to_string(back) + (back == 1 ? " line" : " lines") + " back (PgDn) ";
    return "\u2514" + kHorizontal + label + Repeat(kHorizontal, kDisplayColumns - 1 - TextCells(label)) + "\u2518";
}

// The display (or the :help list) beside the panel, and the frame's bottom.
void AddDisplayBlock(std::vector<std::string>& lines, const HandsetView& view, const PaneFacts& facts, int width) {
    const std::vector<std::string> display = DisplayRows(facts);
    const std::vector<std::string> panel = PanelLines(view, facts);
    const int panelCells = width - kFrameCells - kPanelGap;
    for (size_t row = 0; row <= display.size(); ++row) {
        if (!facts.overlay.empty() && row < display.size()) {
            lines.push_back(FitCells(row < facts.overlay.size() ? " " + facts.overlay[row] : "", width));
            continue;
        }
        const std::string left = row < display.size()
                                     ? kVertical + FitCells(display[row], kDisplayColumns) + kVertical
                                     : BottomEdge(facts.transcriptBack);
        const std::string right = row < panel.size() ? panel[row] : "";
        lines.push_back(left + std::string(kPanelGap, ' ') + FitCells(right, panelCells));
    }
}

// The newest transcript lines, or older ones while scrolled back, in `rows` lines.
void AddTranscript(std::vector<std::string>& lines, const HandsetView& view, size_t back, int rows, int width) {
    const auto& kept = view.Lines();
    const size_t end = kept.size() - std::min(back, kept.size());
    const size_t shown = std::min(end, static_cast<size_t>(rows > 0 ? rows : 0));
    for (size_t i = end - shown; i < end; ++i) lines.push_back(FitCells(kept[i], width));
    for (size_t i = shown; static_cast<int>(i) < rows; ++i) lines.push_back(FitCells("", width));
}

}  // namespace

std::vector<std::string> ComposePane(const HandsetView& view, const PaneFacts& facts, int width, int height) {
    if (width < kMinWidth || height < kMinHeight) return TooSmall(width, height);
    std::vector<std::string> lines;
    lines.push_back(FitCells(Header(view, facts), width));
    AddDisplayBlock(lines, view, facts, width);
    const std::vector<std::string> help = HelpLines(width);
    const int rows = height - static_cast<int>(lines.size()) - static_cast<int>(help.size()) - 1;
    AddTranscript(lines, view, facts.transcriptBack, rows, width);
    for (const std::string& h : help) lines.push_back(FitCells(h, width));
    lines.push_back(FitCells(BottomLine(facts), width));
    return lines;
}

}  // namespace interactive
