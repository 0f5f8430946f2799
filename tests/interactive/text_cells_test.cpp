// Terminal cells of UTF-8 text: the pane's columns line up with Chinese tray
// tips and contact names as well as with ASCII.

#include "main/interactive/text_cells.h"

#include <gtest/gtest.h>

namespace {

using interactive::FitCells;
using interactive::TextCells;

TEST(TextCellsTest, WideCharactersTakeTwoCellsAndMarksNone) {
    struct Case {
        const char* why;
        std::string text;
        int cells;
    };
    const Case cases[] = {
        {"ASCII", "PING", 4},
        {"Polish letters", "po\xC5\x82\xC4\x85" "czenia", 10},
        {"Chinese", "\xE6\x9C\xAA\xE8\xBF\x9E\xE6\x8E\xA5", 6},
        {"Braille pattern", "\xE2\xA3\xBF", 1},
        {"box line", "\xE2\x94\x82", 1},
        {"combining acute after e", "e\xCC\x81", 1},
        {"full-width A", "\xEF\xBC\xA1", 2},
        {"stray byte", "a\xA8z", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(TextCells(c.text), c.cells) << c.why;
}

TEST(TextCellsTest, FitCutsWholeCharactersAndPads) {
    struct Case {
        const char* why;
        std::string text;
        int cells;
        std::string fitted;
    };
    const Case cases[] = {
        {"padded", "ab", 4, "ab  "},
        {"cut", "abcdef", 3, "abc"},
        {"wide character that does not fit is left out", "ab\xE4\xB8\xAD", 3, "ab "},
        {"wide character that fits", "ab\xE4\xB8\xAD", 4, "ab\xE4\xB8\xAD"},
        {"multi-byte letter kept whole", "\xC5\x82\xC4\x85", 1, "\xC5\x82"},
        {"stray byte shown as U+FFFD", "a\xA8", 2, "a\xEF\xBF\xBD"},
        {"nothing", "abc", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(FitCells(c.text, c.cells), c.fitted);
        EXPECT_EQ(TextCells(FitCells(c.text, c.cells)), c.cells);
    }
}

TEST(TextCellsTest, EncodeAndDecodeAgreeAcrossLengths) {
    for (const char32_t c : {U'A', U'\u0142', U'\u4E2D', U'\u28FF', U'\U0001F4DE'}) {
        const std::string text = interactive::EncodeUtf8(c);
        char32_t back = 0;
        EXPECT_EQ(interactive::DecodeUtf8(text, 0, back), text.size());
        EXPECT_EQ(back, c);
    }
}

}  // namespace
