// Glyphs through GDI+: one-bit pictures of "Arial" at 12 pixels, the
// missing-glyph box, and the display's text rows drawn with them, lighting
// only their own 16-pixel band at each alignment.
//
// Under Wine "Arial" is whatever the prefix maps the name to (the test
// prefix maps it to a metric-compatible face).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "modes/text_renderer.h"
#include "platform/win32/gdiplus_glyphs.h"
#include "platform/win32/win32_desktop.h"

namespace {

using namespace platform;

int InkCount(const GlyphBitmap& glyph) {
    int lit = 0;
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) lit += glyph.Lit(x, y) ? 1 : 0;
    }
    return lit;
}

class GdiplusGlyphsTest : public ::testing::Test {
protected:
    void SetUp() override {
        face = engine.OpenFace("Arial", 12);
        ASSERT_NE(face, nullptr) << "no face for Arial";
    }
    void TearDown() override { face.reset(); }
    win32::GdiplusGlyphs engine;
    std::unique_ptr<GlyphFace> face;
};

TEST_F(GdiplusGlyphsTest, LettersAreOneBitPicturesPlacedOnTheBaseline) {
    const FaceMetrics metrics = face->Metrics();
    EXPECT_GE(metrics.ascent, 9);
    EXPECT_LE(metrics.ascent + metrics.descent, 16);
    struct Case {
        char32_t c;
        int minRows, maxRows;
        bool descends;
    };
    for (const Case& c : {Case{U'H', 8, 10, false}, Case{U'x', 5, 7, false}, Case{U'g', 8, 11, true},
                          Case{U'0', 8, 10, false}, Case{U'\u00C9', 10, 13, false}}) {
        SCOPED_TRACE(static_cast<unsigned>(c.c));
        ASSERT_TRUE(face->HasGlyph(c.c));
        const GlyphBitmap glyph = face->RenderGlyph(c.c);
        EXPECT_GE(glyph.rows, c.minRows);
        EXPECT_LE(glyph.rows, c.maxRows);
        EXPECT_EQ(glyph.rows - glyph.top > 0, c.descends) << "ink below the baseline";
        EXPECT_GT(glyph.advance, glyph.width / 2);
        EXPECT_LE(glyph.left + glyph.width, glyph.advance + 1);
        EXPECT_GT(InkCount(glyph), glyph.rows) << "a letter is more than a line";
        EXPECT_EQ(glyph.bits.size(), static_cast<size_t>(glyph.pitch * glyph.rows));
    }
    const GlyphBitmap blank = face->RenderGlyph(U' ');
    EXPECT_GT(blank.advance, 0);
    EXPECT_EQ(blank.rows, 0);
}

TEST_F(GdiplusGlyphsTest, ACharacterTheFaceLacksIsDrawnAsItsBox) {
    const char32_t privateUse = U'\uE123';
    EXPECT_FALSE(face->HasGlyph(privateUse));
    EXPECT_FALSE(face->HasGlyph(U'\U0001F600')) << "beyond the basic plane";
    const GlyphBitmap box = face->RenderGlyph(privateUse);
    EXPECT_GT(box.advance, 0);
    ASSERT_GT(box.rows, 4);
    // A box: its top and bottom rows are lit from side to side.
    for (int x = 0; x < box.width; ++x) {
        EXPECT_TRUE(box.Lit(x, 0));
        EXPECT_TRUE(box.Lit(x, box.rows - 1));
    }
}

TEST_F(GdiplusGlyphsTest, TheEngineKeepsTheDisplaysHiddenWindow) {
    win32::Win32Desktop desktop;
    const std::wstring title = L"Virtual Display";
    const WindowHandle window = desktop.FindWindow(nullptr, &title);
    ASSERT_TRUE(window);
    EXPECT_FALSE(desktop.IsWindowVisible(window));
    EXPECT_FALSE(desktop.GetParent(window));
    WindowRect rect;
    ASSERT_TRUE(desktop.GetWindowRect(window, rect));
    EXPECT_EQ(rect.right - rect.left, 128);
    EXPECT_EQ(rect.bottom - rect.top, 64);
    // Its own thread answers it: a message sent to it returns.
    EXPECT_EQ(desktop.SendMessage(window, WM_NULL, 0, 0), 0);
}

TEST_F(GdiplusGlyphsTest, AFaceCannotBeOpenedAtNoSize) { EXPECT_EQ(engine.OpenFace("Arial", 0), nullptr); }

TEST(GdiplusTextRows, TextLightsOnlyItsRowBandAtEveryAlignment) {
    win32::GdiplusGlyphs engine;
    modes::CTextRenderer renderer(&engine);
    ASSERT_TRUE(renderer.HasPrimaryFace());
    const std::wstring text = L"Call 42";
    for (int row = 0; row < 4; ++row) {
        for (modes::TextAlign align : {modes::TextAlign::Left, modes::TextAlign::Centre, modes::TextAlign::Right}) {
            SCOPED_TRACE("row " + std::to_string(row) + " alignment " + std::to_string(static_cast<int>(align)));
            const modes::TextBox band{0, 16 * row, 128, 16};
            std::set<std::pair<int, int>> lit;
            renderer.DrawText(text, band, align, [&](int x, int y) { lit.emplace(x, y); });
            ASSERT_GT(lit.size(), 20u);
            int left = 128, right = -1;
            for (const auto& [x, y] : lit) {
                EXPECT_GE(y, band.top);
                EXPECT_LT(y, band.top + 16);
                left = std::min(left, x);
                right = std::max(right, x);
            }
            switch (align) {
                case modes::TextAlign::Left:
                    EXPECT_LE(left, 2);
                    EXPECT_LT(right, 64);
                    break;
                case modes::TextAlign::Centre:
                    EXPECT_NEAR((left + right) / 2.0, 63.5, 3.0);
                    break;
                case modes::TextAlign::Right:
                    EXPECT_GE(right, 124);
                    EXPECT_GT(left, 64);
                    break;
            }
        }
    }
}

}  // namespace
