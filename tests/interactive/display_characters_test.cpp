// The handset display drawn in Braille characters: every pixel is there, in
// its place.

#include "main/interactive/display_characters.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "main/interactive/text_cells.h"

namespace {

using interactive::BrailleRows;
using interactive::HandsetPixels;

char32_t CellAt(const std::vector<std::string>& rows, int row, int column) {
    const std::string& line = rows[static_cast<size_t>(row)];
    size_t at = 0;
    char32_t c = 0;
    for (int i = 0; i <= column; ++i) at += interactive::DecodeUtf8(line, at, c);
    return c;
}

TEST(DisplayCharactersTest, EachPixelOfACellIsItsOwnBrailleDot) {
    // Braille dots 1 2 3 7 run down the left column, 4 5 6 8 down the right.
    struct Case {
        int dx, dy;
        char32_t shown;
    };
    const Case cases[] = {{0, 0, 0x2801}, {0, 1, 0x2802}, {0, 2, 0x2804}, {0, 3, 0x2840},
                          {1, 0, 0x2808}, {1, 1, 0x2810}, {1, 2, 0x2820}, {1, 3, 0x2880}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixel " << c.dx << "," << c.dy << " of the cell at column 10, row 5");
        HandsetPixels pixels;
        pixels.SetPixel(20 + c.dx, 20 + c.dy, true);
        const auto rows = BrailleRows(pixels);
        EXPECT_EQ(CellAt(rows, 5, 10), c.shown);
        EXPECT_EQ(CellAt(rows, 5, 11), 0x2800u);
        EXPECT_EQ(CellAt(rows, 4, 10), 0x2800u);
    }
}

TEST(DisplayCharactersTest, WholeDisplayComesBackPixelForPixel) {
    HandsetPixels pixels;
    std::mt19937 random(7);
    for (int y = 0; y < modes::kScreenHeight; ++y) {
        for (int x = 0; x < modes::kScreenWidth; ++x) pixels.SetPixel(x, y, random() % 3 == 0);
    }
    const auto rows = BrailleRows(pixels);
    ASSERT_EQ(rows.size(), 16u);
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(interactive::TextCells(rows[static_cast<size_t>(row)]), 64);
        for (int column = 0; column < 64; ++column) {
            const char32_t dots = CellAt(rows, row, column) - 0x2800;
            const int bit[4][2] = {{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}};
            for (int dy = 0; dy < 4; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    ASSERT_EQ((dots & static_cast<char32_t>(bit[dy][dx])) != 0,
                              pixels.IsLit(column * 2 + dx, row * 4 + dy))
                        << "pixel " << column * 2 + dx << "," << row * 4 + dy;
                }
            }
        }
    }
}

}  // namespace
