// The pane's layout: it fills the terminal exactly, says when the terminal
// is too small, shows the handset's indicators, mode and tray as the
// transcript tells them, and the display or the lack of one.

#include "main/interactive/pane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/interactive/text_cells.h"
#include "support/joined_lines.h"

namespace {

using interactive::ComposePane;
using interactive::HandsetView;
using interactive::PaneFacts;

HandsetView ViewOf(const std::vector<std::string>& lines) {
    HandsetView view;
    for (const std::string& line : lines) view.Take(line);
    return view;
}

bool Shows(const std::vector<std::string>& lines, const std::string& text) {
    return JoinedLines(lines).find(text) != std::string::npos;
}

TEST(PaneTest, FillsTheTerminalExactlyOrSaysItIsTooSmall) {
    struct Case {
        int width, height;
        bool tooSmall;
    };
    const Case cases[] = {{80, 24, false}, {120, 40, false}, {79, 24, true}, {80, 23, true}, {30, 5, true}};
    PaneFacts facts;
    facts.programRunning = true;
    const HandsetView view = ViewOf({"0 tray application \"USB Phone: \xE5\xB7\xB2\xE8\xBF\x9E\xE6\x8E\xA5 Skype\""});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const auto lines = ComposePane(view, facts, c.width, c.height);
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.height));
        for (const std::string& line : lines) EXPECT_EQ(interactive::TextCells(line), c.width) << line;
        EXPECT_EQ(Shows(lines, "too small"), c.tooSmall);
        if (c.tooSmall) {
            EXPECT_TRUE(Shows(lines, "80x24"));
        }
    }
}

TEST(PaneTest, IndicatorsFollowTheHandsetCommands) {
    struct Case {
        const char* why;
        std::vector<std::string> transcript;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"before any command", {}, {"light  off", "ringer off", "status -", "not started"}},
        {"a call rings",
         {"0 handset-cmd CMD_DEVICE_START 80 4 0", "10 handset-cmd CMD_RING 0 0 0", "10 handset-cmd CMD_LIGHT_ON 0 0 0",
          "10 handset-cmd CMD_STATUS_ALERT 0 0 0"},
         {"light  ON", "ringer ON", "status ALERT", " started"}},
        {"answered",
         {"10 handset-cmd CMD_RING 0 0 0", "10 handset-cmd CMD_LIGHT_ON 0 0 0", "20 handset-cmd CMD_RING_STOP 0 0 0",
          "20 handset-cmd CMD_STATUS_TALK 0 0 0"},
         {"light  ON", "ringer off", "status TALK"}},
        {"light out", {"10 handset-cmd CMD_LIGHT_ON 0 0 0", "30 handset-cmd CMD_LIGHT_OFF 0 0 0"}, {"light  off"}},
        {"mode and tray",
         {"25 mode 0 MODE_MAIN", "25 tray application \"USB Phone: connected to Skype\""},
         {"MODE_MAIN (0)", "application \"USB Phone: connected to Skype\""}},
        {"tray icon removed", {"5 tray application \"x\"", "9 tray removed \"\""}, {"tray removed"}},
        {"program ended", {"90 exit 0"}, {"program ended (exit 0)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaneFacts facts;
        facts.programRunning = true;
        const auto lines = ComposePane(ViewOf(c.transcript), facts, 80, 24);
        for (const std::string& text : c.shown) EXPECT_TRUE(Shows(lines, text)) << text << "\n" << JoinedLines(lines);
    }
}

TEST(PaneTest, SkypeStateAndCallsBesideTheDisplay) {
    PaneFacts facts;
    facts.skypeRunning = true;
    facts.skypeAttached = true;
    facts.skypeUser = "echo123";
    facts.calls = {{"7", "INPROGRESS", "alice"}, {"8", "RINGING", "bob"}};
    const auto lines = ComposePane(HandsetView(), facts, 80, 24);
    for (const char* text : {" attached", " echo123", " 7 INPROGRESS", "   alice", " 8 RINGING", "   bob"}) {
        EXPECT_TRUE(Shows(lines, text)) << text;
    }
    facts.skypeAttached = false;
    EXPECT_TRUE(Shows(ComposePane(HandsetView(), facts, 80, 24), " detached"));
    facts.skypeRunning = false;
    EXPECT_TRUE(Shows(ComposePane(HandsetView(), facts, 80, 24), " not running"));
}

TEST(PaneTest, DisplayPixelsSitInsideTheFrame) {
    modes::ScreenImage image{};
    image[0][0] = true;     // top left
    image[63][127] = true;  // bottom right
    PaneFacts facts;
    facts.display = interactive::HandsetPixels(image);
    const auto lines = ComposePane(HandsetView(), facts, 80, 24);
    // Row 1 is the display's first: a side bar, then the top left cell.
    EXPECT_EQ(lines[1].substr(0, 6), "\xE2\x94\x82\xE2\xA0\x81");
    // Row 16 is its last, ending with the bottom right cell and the bar.
    const std::string& last = lines[16];
    const size_t bar = last.find("\xE2\x94\x82", 3);
    ASSERT_NE(bar, std::string::npos);
    EXPECT_EQ(last.substr(bar - 3, 3), "\xE2\xA2\x80");
    EXPECT_EQ(interactive::TextCells(last.substr(0, bar + 3)), 66);
}

TEST(PaneTest, HandsetWithoutDisplayIsSaidInsteadOfPixels) {
    modes::ScreenImage image{};
    image[20][20] = true;
    PaneFacts facts;
    facts.hasDisplay = false;
    facts.display = interactive::HandsetPixels(image);
    const auto lines = ComposePane(HandsetView(), facts, 80, 24);
    EXPECT_TRUE(Shows(lines, "This handset has no display."));
    EXPECT_FALSE(Shows(lines, "\xE2\xA0")) << "no Braille pattern is drawn";
}

TEST(PaneTest, LatestTranscriptLinesFillTheRowsLeft) {
    std::vector<std::string> transcript;
    for (int i = 0; i < 50; ++i) transcript.push_back(std::to_string(i) + " skype-cmd PING");
    const HandsetView view = ViewOf(transcript);
    for (const int height : {24, 40}) {
        const auto lines = ComposePane(view, PaneFacts(), 80, height);
        EXPECT_TRUE(Shows(lines, "49 skype-cmd PING"));
        // Header, 16 display rows, the frame's bottom, two help lines and the
        // command line leave the rest to the transcript.
        const int rows = height - 1 - 16 - 1 - 2 - 1;
        EXPECT_TRUE(Shows(lines, std::to_string(50 - rows) + " skype-cmd PING"));
        EXPECT_FALSE(Shows(lines, "\n" + std::to_string(49 - rows) + " skype-cmd PING"));
    }
}

TEST(PaneTest, ScreenLinesShowOnlyTheStartOfTheirPages) {
    const std::string page(256, 'f');
    const HandsetView view = ViewOf({"25 handset-screen 2 " + page + " " + page, "25 handset-screen"});
    ASSERT_EQ(view.Lines().size(), 2u);
    EXPECT_EQ(view.Lines()[0], "25 handset-screen 2 ffffffffffffffff...");
    EXPECT_EQ(view.Lines()[1], "25 handset-screen");
}

TEST(PaneTest, ScrolledBackTranscriptShowsOlderLinesAndSaysSo) {
    std::vector<std::string> transcript;
    for (int i = 0; i < 50; ++i) transcript.push_back(std::to_string(i) + " skype-cmd PING");
    PaneFacts facts;
    facts.transcriptBack = 20;
    const auto lines = ComposePane(ViewOf(transcript), facts, 80, 24);
    // Three transcript rows in 80 x 24 (lines 18 ... 20), ending 20 lines before the newest.
    EXPECT_EQ(lines[18].substr(0, 15), "27 skype-cmd PI");
    EXPECT_EQ(lines[20].substr(0, 15), "29 skype-cmd PI");
    EXPECT_TRUE(Shows(lines, "20 lines back"));
    EXPECT_EQ(interactive::TextCells(lines[17]), 80);
    facts.transcriptBack = 0;
    EXPECT_FALSE(Shows(ComposePane(ViewOf(transcript), facts, 80, 24), "lines back"));
}

TEST(PaneTest, BottomLineShowsTheCommandBeingTypedElseTheMessage) {
    PaneFacts facts;
    facts.message = "ran: wait 10";
    EXPECT_EQ(ComposePane(HandsetView(), facts, 80, 24).back().substr(0, 12), "ran: wait 10");
    facts.commandOpen = true;
    facts.command = "skype call-in 7 alice";
    EXPECT_EQ(ComposePane(HandsetView(), facts, 80, 24).back().substr(0, 22), ":skype call-in 7 alice");
    facts.overlay = {":help   this list"};
    EXPECT_TRUE(Shows(ComposePane(HandsetView(), facts, 80, 24), ":help   this list"));
}

}  // namespace
