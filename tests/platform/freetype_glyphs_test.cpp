// The glyph engine off Windows: fontconfig's answers for the two families the
// display uses, faces that cannot be opened, and the glyphs' pictures,
// placement and size against the port's contract.

#include "platform/posix/freetype_glyphs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/log.h"

namespace {

using platform::GlyphBitmap;
using platform::posix::FontFile;
using platform::posix::FreeTypeGlyphs;

constexpr const char* kSans = "Arial";
constexpr const char* kCjk = "WenQuanYi Zen Hei Sharp";

int InkCount(const GlyphBitmap& glyph) {
    int count = 0;
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) count += glyph.Lit(x, y) ? 1 : 0;
    }
    return count;
}

// The picture fills its rows exactly and leaves no ink in the padding bits.
::testing::AssertionResult WellFormed(const GlyphBitmap& glyph) {
    if (glyph.pitch < (glyph.width + 7) / 8) return ::testing::AssertionFailure() << "pitch " << glyph.pitch;
    if (glyph.bits.size() != static_cast<size_t>(glyph.pitch) * static_cast<size_t>(glyph.rows)) {
        return ::testing::AssertionFailure() << glyph.bits.size() << " bytes for " << glyph.rows << " rows";
    }
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = glyph.width; x < glyph.pitch * 8; ++x) {
            if (glyph.Lit(x, y)) return ::testing::AssertionFailure() << "ink in the padding at " << x << "," << y;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(LocateWithFontconfig, FindsAFileForBothFamiliesAndTheCjkFaceItself) {
    platform::LogCapture log;
    const auto locate = platform::posix::LocateWithFontconfig;
    const FontFile sans = locate(kSans);
    const FontFile cjk = locate(kCjk);
    EXPECT_TRUE(std::filesystem::exists(sans.path)) << sans.path;
    EXPECT_TRUE(std::filesystem::exists(cjk.path)) << cjk.path;
    EXPECT_FALSE(cjk.substituted) << "scripts/setup.sh installs it";
    EXPECT_TRUE(locate("No Such Family 4711").substituted);
    EXPECT_TRUE(log.Texts().empty());
}

TEST(FreeTypeGlyphs, AFaceThatCannotBeOpenedIsNoneAndSaysWhy) {
    const FontFile cases[] = {{"", 0, false}, {"/nonexistent/font.ttf", 0, false}, {"/dev/null", 0, false}};
    for (const FontFile& file : cases) {
        SCOPED_TRACE(file.path);
        platform::LogCapture log;
        FreeTypeGlyphs engine([&file](const std::string&) { return file; });
        EXPECT_EQ(engine.OpenFace(kSans, 12), nullptr);
        EXPECT_TRUE(log.ContainsFragment("cannot open \"" + file.path + "\""));
    }
}

TEST(FreeTypeGlyphs, FacesTellTheirOriginAndMetrics) {
    std::string lookedUp;
    const auto fontconfig = platform::posix::LocateWithFontconfig;
    FreeTypeGlyphs engine([&](const std::string& family) {
        lookedUp = family;
        return fontconfig(family);
    });
    const auto cjk = engine.OpenFace(kCjk, 12);
    ASSERT_NE(cjk, nullptr);
    EXPECT_EQ(lookedUp, kCjk);
    EXPECT_EQ(cjk->Origin().source, fontconfig(kCjk).path);
    EXPECT_FALSE(cjk->Origin().substituted);
    const platform::FaceMetrics metrics = cjk->Metrics();
    EXPECT_GT(metrics.ascent, 0);
    EXPECT_GT(metrics.descent, 0);
    EXPECT_LE(metrics.ascent + metrics.descent, 16) << "a 12-pixel face";
}

TEST(FreeTypeGlyphs, GlyphsAreOneBitPicturesPlacedOnTheBaseline) {
    FreeTypeGlyphs engine;
    const auto sans = engine.OpenFace(kSans, 12);
    const auto cjk = engine.OpenFace(kCjk, 12);
    ASSERT_NE(sans, nullptr);
    ASSERT_NE(cjk, nullptr);
    struct Case {
        platform::GlyphFace* face;
        char32_t codePoint;
    };
    for (const Case& c : {Case{sans.get(), U'H'}, Case{sans.get(), U'g'}, Case{cjk.get(), U'\u6765'}}) {
        SCOPED_TRACE(static_cast<unsigned>(c.codePoint));
        EXPECT_TRUE(c.face->HasGlyph(c.codePoint));
        const GlyphBitmap glyph = c.face->RenderGlyph(c.codePoint);
        EXPECT_TRUE(WellFormed(glyph));
        EXPECT_GT(InkCount(glyph), 4);
        EXPECT_GT(glyph.advance, 0);
        EXPECT_LE(glyph.left + glyph.width, glyph.advance + 1);
        EXPECT_LE(glyph.top, c.face->Metrics().ascent);
        EXPECT_GE(glyph.top - glyph.rows, -c.face->Metrics().descent);
    }
    // A capital sits on the baseline; a descender goes below it.
    const GlyphBitmap capital = sans->RenderGlyph(U'H');
    EXPECT_EQ(capital.top, capital.rows);
    EXPECT_LT(sans->RenderGlyph(U'g').top, sans->RenderGlyph(U'g').rows);
}

TEST(FreeTypeGlyphs, AMissingCharacterGivesTheFacesBox) {
    FreeTypeGlyphs engine;
    const auto sans = engine.OpenFace(kSans, 12);
    ASSERT_NE(sans, nullptr);
    EXPECT_FALSE(sans->HasGlyph(U'\u6765'));
    EXPECT_FALSE(sans->HasGlyph(U'\uE000'));
    const GlyphBitmap box = sans->RenderGlyph(U'\u6765');
    EXPECT_TRUE(WellFormed(box));
    EXPECT_GT(InkCount(box), 0);
    EXPECT_GT(box.advance, 0);
    const GlyphBitmap other = sans->RenderGlyph(U'\uE000');
    EXPECT_EQ(other.bits, box.bits);
    EXPECT_EQ(other.advance, box.advance);
}

TEST(FreeTypeGlyphs, ThePixelSizeSetsTheGlyphsSize) {
    FreeTypeGlyphs engine;
    const auto small = engine.OpenFace(kSans, 12);
    const auto large = engine.OpenFace(kSans, 24);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    const GlyphBitmap h12 = small->RenderGlyph(U'H');
    const GlyphBitmap h24 = large->RenderGlyph(U'H');
    EXPECT_NEAR(h24.rows, 2 * h12.rows, 2);
    EXPECT_NEAR(h24.advance, 2 * h12.advance, 2);
    EXPECT_NEAR(large->Metrics().ascent, 2 * small->Metrics().ascent, 2);
}

}  // namespace
