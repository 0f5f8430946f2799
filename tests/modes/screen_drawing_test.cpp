// The drawing primitives of the display image: the geometry of the bars,
// icons and list rows, where text lands, the running text, the "NO LCD"
// notice and the screen labels.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "app/corvane_app.h"
#include "common/settings.h"
#include "modes/icon_strip.h"
#include "modes/screen_list.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "platform/app_folder.h"
#include "platform/log.h"
#include "platform/profile.h"
#include "support/executable_at.h"
#include "support/temp_folder.h"

namespace {

using namespace modes;

// The box around the lit pixels of a region.
struct Ink {
    int left = kScreenWidth, top = kScreenHeight, right = -1, bottom = -1, count = 0;
    bool Empty() const { return count == 0; }
    int MidX() const { return (left + right) / 2; }
};

Ink InkIn(const CVirtualDisplay& d, int x0, int y0, int x1, int y1) {
    Ink ink;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!d.IsLit(x, y)) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ++ink.count;
        }
    }
    return ink;
}

Ink InkOfRow(const CVirtualDisplay& d, int row) { return InkIn(d, 0, 16 * row, kScreenWidth, 16 * row + 16); }

class ScreenDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { app::ResetProcessState(); }
    void TearDown() override { app::ResetProcessState(); }
    CVirtualDisplay display_;
};

TEST_F(ScreenDrawingTest, VolumeBarsRiseFromThreeToTwentyFivePixelsAndFillUpToTheLevel) {
    struct Probe {
        int level, x, y;
        bool lit;
    };
    const Probe probes[] = {
        {0, 15, 45, true},  {0, 19, 47, true},  {0, 17, 46, false},  // bar 0: an outline 5 x 3
        {0, 15, 44, false}, {0, 20, 47, false}, {0, 17, 48, false},  // and nothing around it
        {0, 105, 23, true}, {0, 107, 30, false}, {0, 105, 22, false},  // bar 15: 25 high, empty
        {16, 107, 30, true}, {16, 17, 46, true},                    // all filled
        {8, 15 + 6 * 7 + 2, 45, true}, {8, 15 + 6 * 8 + 2, 45, false},  // bars 0 ... 7 filled
        {8, 15 + 6 * 8 + 2, 47, true},                              // bar 8 keeps its outline
    };
    for (const Probe& p : probes) {
        display_.EraseImage();
        display_.DrawVolumeBars(p.level);
        EXPECT_EQ(display_.IsLit(p.x, p.y), p.lit) << "level " << p.level << " at " << p.x << "," << p.y;
    }
    display_.EraseImage();
    display_.DrawVolumeBars(0);
    EXPECT_TRUE(InkIn(display_, 0, 0, kScreenWidth, 23).Empty());
    EXPECT_TRUE(InkIn(display_, 0, 48, kScreenWidth, kScreenHeight).Empty());
}

TEST_F(ScreenDrawingTest, ScrollBarTrackAndThumb) {
    display_.DrawScrollBar(3, 3);  // four rows, the last selected
    EXPECT_TRUE(display_.IsLit(122, 20)) << "track outline";
    EXPECT_TRUE(display_.IsLit(127, 0));
    EXPECT_FALSE(display_.IsLit(124, 20)) << "track inside";
    EXPECT_FALSE(display_.IsLit(124, 42));
    for (int y = 43; y < 48; ++y) EXPECT_TRUE(display_.IsLit(124, y)) << "thumb at 43 ... 47, row " << y;
    EXPECT_FALSE(display_.IsLit(124, 48));
    EXPECT_TRUE(InkIn(display_, 0, 0, 122, kScreenHeight).Empty());

    display_.EraseImage();
    display_.DrawScrollBar(0, 0);  // one row: no bar
    EXPECT_TRUE(InkIn(display_, 0, 0, kScreenWidth, kScreenHeight).Empty());
}

TEST_F(ScreenDrawingTest, RowIconsLandAtTheirRowAndColumn) {
    display_.DrawRowIcon(1, kIconStatus, 18);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            ASSERT_EQ(display_.IsLit(18 + x, 16 + y), IconPixel(kIconStatus, x, y)) << x << "," << y;
        }
    }
    const Ink ink = InkIn(display_, 0, 0, kScreenWidth, kScreenHeight);
    EXPECT_GE(ink.left, 18);
    EXPECT_LE(ink.right, 33);
    EXPECT_GE(ink.top, 16);
    EXPECT_LE(ink.bottom, 31);

    display_.EraseImage();
    common::g_Settings.VAL_ENABLE_LCM = 0;
    display_.DrawRowIcon(0, kIconStatus, 0);
    EXPECT_TRUE(InkOfRow(display_, 0).Empty()) << "no display: no icons";
}

TEST_F(ScreenDrawingTest, TextRowsAreAlignedWithinTheirRow) {
    display_.DrawTextRow(0, 0, "12:34", kAlignRight);
    display_.DrawTextRow(0, 1, "Echo Sound Test", kAlignCentre);
    display_.DrawTextRow(16, 2, "alice", kAlignLeft);
    const Ink right = InkOfRow(display_, 0), centre = InkOfRow(display_, 1), left = InkOfRow(display_, 2);
    ASSERT_FALSE(right.Empty());
    EXPECT_GE(right.right, 123);
    EXPECT_LE(right.right, 127);
    EXPECT_NEAR(centre.MidX(), 64, 2);
    EXPECT_GE(left.left, 16);
    EXPECT_LE(left.left, 18);
    EXPECT_TRUE(InkOfRow(display_, 3).Empty());
}

TEST_F(ScreenDrawingTest, OverlongTextIsCutAtTheRightEdge) {
    const std::string text(60, 'W');
    for (int alignment : {kAlignLeft, kAlignCentre, kAlignRight}) {
        display_.EraseImage();
        display_.DrawTextRow(40, 1, text, alignment);
        const Ink ink = InkOfRow(display_, 1);
        EXPECT_LE(ink.left, 42) << "starts at the rectangle's left, alignment " << alignment;
        EXPECT_GE(ink.left, 40);
        EXPECT_GE(ink.right, 124);
        EXPECT_TRUE(InkIn(display_, 0, 0, 40, kScreenHeight).Empty());
    }
}

TEST_F(ScreenDrawingTest, WithoutDisplayOnlyTheNoLcdNoticeIsDrawn) {
    common::g_Settings.VAL_ENABLE_LCM = 0;
    display_.DrawTextRow(0, 1, "Alice", kAlignLeft);
    display_.DrawScrollText(2, "Alice", kAlignLeft);
    EXPECT_TRUE(InkIn(display_, 0, 0, kScreenWidth, kScreenHeight).Empty());
    display_.DrawTextRow(0, 0, "NO LCD", kAlignCentre);
    EXPECT_FALSE(InkOfRow(display_, 0).Empty());
}

TEST_F(ScreenDrawingTest, LongTextRunsOneCharacterPerDrawAndStartsOverWhenItChanges) {
    const std::string longText = "A very long name of somebody who calls";
    const auto frame = [&](int row, const std::string& text) {
        display_.EraseImage();
        display_.DrawScrollText(row, text, kAlignLeft);
        return display_.Image();
    };
    const std::string otherText = "Another very long name that runs along";
    const ScreenImage first = frame(1, longText);
    const ScreenImage second = frame(1, longText);
    EXPECT_FALSE(first == second) << "moved on by a character";
    EXPECT_TRUE(InkIn(display_, 0, 16, 16, 32).Empty()) << "the first 16 pixels are the icon's";
    EXPECT_TRUE(frame(1, "Bob") == frame(1, "Bob")) << "a text that fits stands still";
    EXPECT_FALSE(frame(1, longText) == first) << "a short text between does not start it over";
    frame(1, otherText);
    EXPECT_TRUE(frame(1, longText) == first) << "a new text starts over";
    frame(1, longText);
    frame(2, longText);
    EXPECT_TRUE(frame(1, longText) == first) << "a new row starts over";
}

TEST_F(ScreenDrawingTest, ListRowsAreInvertedWhenSelectedAndEmptyRowsCleared) {
    CScreenList list;
    list.AddRow("Incoming", "0");
    list.AddRow("Outgoing", "1");
    // The list draws into the process-wide image; row 2 shows something old.
    g_VirtualDisplay.FillRect(0, 32, kScreenWidth, 16, true);
    list.Draw();
    const CVirtualDisplay& d = g_VirtualDisplay;
    const Ink selected = InkIn(d, 0, 0, 120, 15);
    EXPECT_GT(selected.count, 110 * 15 * 3 / 4) << "a lit band";
    EXPECT_LT(selected.count, 120 * 15) << "with dark text in it";
    EXPECT_FALSE(d.IsLit(60, 15)) << "the band's last pixel row stays dark";
    const Ink normal = InkIn(d, 0, 16, 120, 32);
    EXPECT_GT(normal.count, 0);
    EXPECT_LT(normal.count, 120 * 16 / 4) << "lit text on dark";
    EXPECT_TRUE(InkIn(d, 0, 32, 120, 48).Empty()) << "a row without an entry is cleared";
    EXPECT_TRUE(d.IsLit(124, 2)) << "the thumb at the top for the first of two rows";
    EXPECT_FALSE(d.IsLit(124, 44));
}

// A selected row is a lit band of 15 pixel rows; its icon is inverted with
// it and keeps to the band, so the row's last pixel row stays dark under the
// icon as under the text.
TEST_F(ScreenDrawingTest, ListRowsCarryTheirIconInTheRowsColoursWithinTheBand) {
    struct Case {
        DrawRowFunc drawer;
        int icon;
    };
    for (const Case& c : {Case{DrawReceivedCallRow, kIconIncomingCall}, Case{DrawDialledCallRow, kIconOutgoingCall},
                          Case{DrawMissedCallRow, kIconMissedCall}, Case{DrawVoicemailRow, kIconVoicemail},
                          Case{DrawHistoryMenuRow, kIconIncomingCall}}) {
        SCOPED_TRACE(c.icon);
        CScreenList list;
        list.AddRow("alice", "0");
        list.AddRow("bob", "0");
        list.m_pfnDrawRow = c.drawer;
        g_VirtualDisplay.EraseImage();
        list.Draw();
        for (int y = 0; y < kListBandHeight; ++y) {
            for (int x = 0; x < kIconSize; ++x) {
                ASSERT_EQ(g_VirtualDisplay.IsLit(x, y), !IconPixel(c.icon, x, y)) << x << "," << y;
                ASSERT_EQ(g_VirtualDisplay.IsLit(x, 16 + y), IconPixel(c.icon, x, y)) << x << "," << y;
            }
        }
        EXPECT_TRUE(InkIn(g_VirtualDisplay, 0, kListBandHeight, 120, 16).Empty())
            << "the selected band's last pixel row stays dark, icon included";
        EXPECT_FALSE(InkIn(g_VirtualDisplay, 16, 16, 120, 32).Empty()) << "the row's text beside its icon";
    }
}

TEST_F(ScreenDrawingTest, FlushLineCopiesTheBandToTheMirror) {
    display_.FillRect(0, 20, 10, 4, true);  // row 1
    display_.FillRect(0, 40, 10, 4, true);  // row 2, not flushed
    display_.FlushLine(1);
    const ScreenImage mirror = display_.Mirror();
    EXPECT_TRUE(mirror[21][5]);
    EXPECT_FALSE(mirror[41][5]) << "only the flushed band";
}

TEST_F(ScreenDrawingTest, EmptyListClearsTheContentRowsAndStillDrawsTheBar) {
    g_VirtualDisplay.FillRect(0, 0, kScreenWidth, kScreenHeight, true);
    CScreenList list;
    list.Draw();
    const CVirtualDisplay& d = g_VirtualDisplay;
    EXPECT_TRUE(InkIn(d, 0, 0, 122, 48).Empty());
    for (int y = 0; y < 5; ++y) EXPECT_TRUE(d.IsLit(124, y)) << "thumb at the top, row " << y;
    EXPECT_FALSE(d.IsLit(124, 10));
    EXPECT_EQ(InkIn(d, 0, 48, kScreenWidth, kScreenHeight).count, kScreenWidth * 16) << "row 3 untouched";
}

class ScreenTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::ResetProcessState();
        exe_.emplace(folder_.File("Corvane.exe"));
        std::filesystem::create_directory(folder_.Path() / "Language");
        folder_.Write("Language/Eng.ini", "[Language]\nScreen_Display_Setting=Settings\nScreen_Display_PlayEnd=End\n");
        folder_.Write("Language/Chs.ini", "[Language]\nScreen_Display_Setting=\xE8\xAE\xBE\xE7\xBD\xAE\n");
    }
    void TearDown() override {
        exe_.reset();
        app::ResetProcessState();
    }
    testing_support::TempFolder folder_;
    std::optional<testing_support::ExecutableAt> exe_;
};

TEST_F(ScreenTextTest, IdsNameLanguageKeysAndUnknownIdsLeaveTheBuffer) {
    char buffer[32];
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(GetScreenText(buffer, IDS_SCREEN_SETTING, sizeof(buffer)), 22);  // the key's length
    EXPECT_STREQ(buffer, "Settings");
    EXPECT_EQ(GetScreenText(buffer, IDS_SCREEN_PLAY_END, sizeof(buffer)), 22);
    EXPECT_STREQ(buffer, "End");
    EXPECT_EQ(GetScreenText(buffer, IDS_SCREEN_ACCEPT, sizeof(buffer)), 21);
    EXPECT_STREQ(buffer, "") << "a key the file lacks gives an empty text";
    for (unsigned id : {0u, 102u, 128u}) {
        std::strcpy(buffer, "untouched");
        EXPECT_EQ(GetScreenText(buffer, id, sizeof(buffer)), 0);
        EXPECT_STREQ(buffer, "untouched") << id;
    }
}

TEST_F(ScreenTextTest, ATextTooLongForTheBufferIsCutBetweenCharacters) {
    common::g_Settings.VAL_LANGUAGE = 1;
    struct Case {
        size_t size;
        const char* text;
    };
    for (const Case& c : {Case{7, "\xE8\xAE\xBE\xE7\xBD\xAE"}, Case{6, "\xE8\xAE\xBE"}, Case{4, "\xE8\xAE\xBE"},
                          Case{3, ""}, Case{1, ""}}) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof(buffer));
        GetScreenText(buffer, IDS_SCREEN_SETTING, c.size);
        EXPECT_STREQ(buffer, c.text) << "buffer of " << c.size;
        EXPECT_EQ(buffer[c.size], 'x') << "nothing written past the buffer";
    }
}

}  // namespace
