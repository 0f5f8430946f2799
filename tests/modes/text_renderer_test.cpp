// One-bit text: placement and alignment in a text row, clipping, the CJK
// face, fitting, caching, how faces are chosen and opened, and what happens
// without fonts.

#include "modes/text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/backends.h"
#include "platform/glyph_renderer.h"
#include "platform/log.h"

namespace {

using namespace modes;

using PixelSet = std::set<std::pair<int, int>>;

struct Bounds {
    int left = 0, right = 0, top = 0, bottom = 0;  // inclusive
};

PixelSet Draw(CTextRenderer& renderer, const std::wstring& text, const TextBox& box, TextAlign align) {
    PixelSet pixels;
    renderer.DrawText(text, box, align, [&](int x, int y) { pixels.emplace(x, y); });
    return pixels;
}

Bounds BoundsOf(const PixelSet& pixels) {
    Bounds b{pixels.begin()->first, pixels.begin()->first, pixels.begin()->second, pixels.begin()->second};
    for (const auto& [x, y] : pixels) {
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
    }
    return b;
}

bool AllInside(const PixelSet& pixels, const TextBox& box) {
    return std::all_of(pixels.begin(), pixels.end(), [&](const std::pair<int, int>& p) {
        return p.first >= box.left && p.first < box.left + box.width && p.second >= box.top &&
               p.second < box.top + box.height;
    });
}

const wchar_t* const kLongText = L"Incoming call from somebody with a remarkably long display name";

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(renderer_.HasPrimaryFace()) << "scripts/setup.sh installs the fonts"; }
    CTextRenderer& renderer_ = TextRenderer();
};

TEST_F(TextRendererTest, AlignmentPlacesTheInkInsideTheRow) {
    const TextBox row{8, 16, 112, 16};
    const std::wstring text = L"Call ended";
    const int width = renderer_.MeasureWidth(text);
    ASSERT_GT(width, 30);
    ASSERT_LT(width, row.width);

    const Bounds left = BoundsOf(Draw(renderer_, text, row, TextAlign::Left));
    EXPECT_GE(left.left, row.left);
    EXPECT_LE(left.left, row.left + 2);

    const Bounds right = BoundsOf(Draw(renderer_, text, row, TextAlign::Right));
    EXPECT_LE(right.right, row.left + row.width - 1);
    EXPECT_GE(right.right, row.left + row.width - 3);

    const Bounds centre = BoundsOf(Draw(renderer_, text, row, TextAlign::Centre));
    EXPECT_NEAR((centre.left + centre.right) / 2.0, row.left + row.width / 2.0, 2.0);

    for (const Bounds& b : {left, right, centre}) {
        // 12-pixel text on a 16-pixel row keeps a pixel or two of room.
        EXPECT_GE(b.top, row.top + 1);
        EXPECT_LE(b.bottom, row.top + row.height - 2);
        EXPECT_EQ(b.right - b.left, left.right - left.left) << "alignment must only shift the text";
    }
}

TEST_F(TextRendererTest, DescendersStayInTheRowBelowTheBaselineOfCapitals) {
    const TextBox row{0, 32, 128, 16};
    const Bounds caps = BoundsOf(Draw(renderer_, L"HHH", row, TextAlign::Left));
    const Bounds descenders = BoundsOf(Draw(renderer_, L"gjpqy", row, TextAlign::Left));
    EXPECT_GT(descenders.bottom, caps.bottom);
    EXPECT_LT(descenders.bottom, row.top + row.height);
    EXPECT_GE(caps.bottom - caps.top + 1, 8) << "capitals of 12-pixel text";
}

// Clipping must cut, not move: what remains is exactly the part of the
// unclipped text that falls inside the box.
TEST_F(TextRendererTest, OverlongTextIsCutToTheBoxKeepingItsAlignmentAnchor) {
    const TextBox box{20, 16, 60, 10};
    const int width = renderer_.MeasureWidth(kLongText);
    ASSERT_GT(width, box.width);
    struct Case {
        TextAlign align;
        int unclippedStart;
    };
    const Case cases[] = {
        {TextAlign::Left, box.left},
        {TextAlign::Right, box.left + box.width - width},
        {TextAlign::Centre, box.left + static_cast<int>(std::floor((box.width - width) / 2.0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align));
        const PixelSet clipped = Draw(renderer_, kLongText, box, c.align);
        const PixelSet unclipped = Draw(renderer_, kLongText, {c.unclippedStart, 0, width + 64, 64}, TextAlign::Left);
        PixelSet expected;
        for (const auto& [x, y] : unclipped) {
            const int shiftedY = y + box.top;
            if (x >= box.left && x < box.left + box.width && shiftedY < box.top + box.height) {
                expected.emplace(x, shiftedY);
            }
        }
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(AllInside(clipped, box));
        EXPECT_EQ(clipped, expected);
    }
    EXPECT_GE(BoundsOf(Draw(renderer_, kLongText, box, TextAlign::Left)).right, box.left + box.width - 3);
}

TEST_F(TextRendererTest, ChineseTextLightsPixelsThroughTheFallbackFace) {
    const TextBox row{0, 0, 128, 16};
    const PixelSet come = Draw(renderer_, L"\u6765", row, TextAlign::Left);
    const PixelSet electric = Draw(renderer_, L"\u7535", row, TextAlign::Left);
    ASSERT_FALSE(come.empty());
    // A missing-glyph box would look the same for both characters.
    EXPECT_NE(come, electric);
    const int width = renderer_.MeasureWidth(L"\u6765\u7535");
    EXPECT_GE(width, 20);
    EXPECT_LE(width, 28);
    EXPECT_TRUE(AllInside(Draw(renderer_, L"\u6765\u7535", row, TextAlign::Left), row));
}

// The ink of a glyph as the text engine draws it, before any clipping.
size_t GlyphInk(platform::GlyphFace& face, char32_t c) {
    const platform::GlyphBitmap glyph = face.RenderGlyph(c);
    size_t ink = 0;
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) ink += glyph.Lit(x, y) ? 1 : 0;
    }
    return ink;
}

// Accents above capitals and the descenders below the line must both fit
// the 16-pixel row; what the row cuts off is lost on the display. Their
// bottom also stays above the row's last pixel row, the dark line that
// parts the rows of a list.
TEST_F(TextRendererTest, AccentedLettersAndDescendersKeepAllTheirInkInTheirRow) {
    const std::unique_ptr<platform::GlyphFace> face = platform::CurrentGlyphRenderer().OpenFace("Arial", 12);
    ASSERT_TRUE(face);
    std::vector<char32_t> letters;
    for (char32_t c = 0xC0; c <= 0x17F; ++c) {
        if (face->HasGlyph(c)) letters.push_back(c);
    }
    ASSERT_GT(letters.size(), 150u) << "Latin-1 Supplement and Latin Extended-A letters";
    for (char32_t c : std::u32string(U"gjpqy")) letters.push_back(c);
    const TextBox row{0, 16, 128, 16};
    for (char32_t c : letters) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c));
        const PixelSet drawn = Draw(renderer_, std::wstring(1, static_cast<wchar_t>(c)), row, TextAlign::Left);
        EXPECT_EQ(drawn.size(), GlyphInk(*face, c)) << "ink cut off by the row";
        if (!drawn.empty()) {
            EXPECT_LT(BoundsOf(drawn).bottom, row.top + row.height - 1);
        }
    }
}

// The pieces of a set of pixels that touch, diagonals included.
int TouchingPieces(const PixelSet& pixels) {
    PixelSet unseen = pixels;
    int pieces = 0;
    while (!unseen.empty()) {
        ++pieces;
        std::vector<std::pair<int, int>> todo{*unseen.begin()};
        unseen.erase(unseen.begin());
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (unseen.erase({x + dx, y + dy}) != 0) todo.emplace_back(x + dx, y + dy);
                }
            }
        }
    }
    return pieces;
}

// The ink split at blank columns, left to right.
std::vector<PixelSet> ColumnRuns(const PixelSet& pixels) {
    std::vector<PixelSet> runs;
    int lastColumn = -2;
    for (int x = BoundsOf(pixels).left; x <= BoundsOf(pixels).right; ++x) {
        PixelSet column;
        for (const auto& p : pixels) {
            if (p.first == x) column.insert(p);
        }
        if (column.empty()) continue;
        if (x != lastColumn + 1) runs.emplace_back();
        runs.back().insert(column.begin(), column.end());
        lastColumn = x;
    }
    return runs;
}

// A clock and a call's duration must read as separate digits: a blank
// column between neighbours, and every digit one clean shape without stray
// pixels of its own.
TEST_F(TextRendererTest, DigitsStandApartEachInOnePiece) {
    for (const std::wstring text : {L"00:00:00", L"12:34:56"}) {
        SCOPED_TRACE(testing::Message() << platform::WideToUtf8(text));
        const std::vector<PixelSet> runs = ColumnRuns(Draw(renderer_, text, {0, 0, 128, 16}, TextAlign::Left));
        ASSERT_EQ(runs.size(), text.size()) << "one run of columns per character";
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != L':') {
                EXPECT_EQ(TouchingPieces(runs[i]), 1) << "digit " << i;
            }
        }
    }
}

TEST_F(TextRendererTest, NothingIsDrawnForEmptyTextOrAnEmptyBox) {
    EXPECT_TRUE(Draw(renderer_, L"", {0, 0, 128, 16}, TextAlign::Left).empty());
    EXPECT_TRUE(Draw(renderer_, L"Menu", {0, 0, 0, 16}, TextAlign::Left).empty());
    EXPECT_TRUE(Draw(renderer_, L"Menu", {0, 0, 128, 0}, TextAlign::Centre).empty());
    EXPECT_FALSE(Draw(renderer_, L"Menu", {0, 0, 128, 16}, TextAlign::Left).empty());
    EXPECT_EQ(renderer_.MeasureWidth(L""), 0);
}

TEST_F(TextRendererTest, CountFittingGivesTheLongestPrefixWithinTheWidth) {
    const std::wstring text = kLongText;
    const size_t fitting = renderer_.CountFitting(text, 112);
    ASSERT_GT(fitting, 0u);
    ASSERT_LT(fitting, text.size());
    EXPECT_LE(renderer_.MeasureWidth(text.substr(0, fitting)), 112);
    EXPECT_GT(renderer_.MeasureWidth(text.substr(0, fitting + 1)), 112);

    EXPECT_EQ(renderer_.CountFitting(L"OK", 112), 2u);
    EXPECT_EQ(renderer_.CountFitting(text, 0), 0u);
    EXPECT_EQ(renderer_.CountFitting(text, -5), 0u);
}

TEST_F(TextRendererTest, WidthsAreProportional) {
    EXPECT_LT(renderer_.MeasureWidth(L"iiii"), renderer_.MeasureWidth(L"WWWW"));
    EXPECT_EQ(renderer_.MeasureWidth(L"ab") + renderer_.MeasureWidth(L"c"), renderer_.MeasureWidth(L"abc"));
}

TEST_F(TextRendererTest, RedrawingGivesIdenticalPixels) {
    const TextBox row{0, 48, 128, 16};
    const PixelSet first = Draw(renderer_, L"Mute \u6765\u7535", row, TextAlign::Centre);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Draw(renderer_, L"Mute \u6765\u7535", row, TextAlign::Centre), first);
}

TEST_F(TextRendererTest, DrawingFromSeveralThreadsGivesTheSamePixels) {
    const TextBox row{0, 16, 128, 16};
    const std::wstring text = L"Dialling \u6765\u7535 0123456789";
    const PixelSet expected = Draw(renderer_, text, row, TextAlign::Left);
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            // Each thread also asks for characters nobody cached yet.
            const std::wstring own = std::wstring(1, static_cast<wchar_t>(L'A' + t)) + L"\u4E00\u4E8C";
            for (int i = 0; i < 20; ++i) {
                if (Draw(renderer_, text, row, TextAlign::Left) != expected) ++mismatches;
                renderer_.MeasureWidth(own);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// Passes face requests on to the real engine, counting them, and refuses the
// families it is told to, as an engine does that finds no usable face.
class CountingEngine final : public platform::GlyphRenderer {
public:
    explicit CountingEngine(std::set<std::string> refused = {}) : refused_(std::move(refused)) {}
    std::unique_ptr<platform::GlyphFace> OpenFace(const std::string& family, int pixelSize) override {
        ++requests;
        if (refused_.count(family) != 0) return nullptr;
        return platform::DefaultBackends().glyphs->OpenFace(family, pixelSize);
    }
    int requests = 0;

private:
    std::set<std::string> refused_;
};

class TextRendererFontsTest : public ::testing::Test {
protected:
    platform::LogCapture log_;
};

TEST_F(TextRendererFontsTest, FacesAreOpenedOnceAndOnlyWhenFirstNeeded) {
    CountingEngine engine;
    CTextRenderer renderer(&engine);
    EXPECT_EQ(engine.requests, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(renderer.MeasureWidth(L"Contacts"), 0);
        EXPECT_FALSE(Draw(renderer, L"Contacts", {0, 0, 128, 16}, TextAlign::Right).empty());
    }
    EXPECT_EQ(engine.requests, 2) << "the primary face and the fallback";
    EXPECT_FALSE(log_.ContainsFragment("TextRenderer"));
}

TEST_F(TextRendererFontsTest, WithoutAFontNothingIsDrawnAndTheLossIsLoggedOnce) {
    CountingEngine engine({"Arial", "WenQuanYi Zen Hei Sharp"});
    CTextRenderer renderer(&engine);
    EXPECT_FALSE(renderer.HasPrimaryFace());
    EXPECT_TRUE(Draw(renderer, L"Contacts", {0, 0, 128, 16}, TextAlign::Left).empty());
    EXPECT_EQ(renderer.MeasureWidth(L"Contacts"), 0);
    EXPECT_TRUE(Draw(renderer, L"\u6765\u7535", {0, 0, 128, 16}, TextAlign::Centre).empty());
    int lossLines = 0;
    for (const std::string& line : log_.Texts()) lossLines += line.find("no usable font") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lossLines, 1);
    EXPECT_EQ(engine.requests, 1);
}

TEST_F(TextRendererFontsTest, WithoutTheFallbackFaceChineseStillShowsSomething) {
    CountingEngine engine({"WenQuanYi Zen Hei Sharp"});
    CTextRenderer renderer(&engine);
    ASSERT_TRUE(renderer.HasPrimaryFace());
    const PixelSet come = Draw(renderer, L"\u6765", {0, 0, 128, 16}, TextAlign::Left);
    EXPECT_FALSE(come.empty());
    EXPECT_EQ(come, Draw(renderer, L"\u7535", {0, 0, 128, 16}, TextAlign::Left)) << "both the primary's box";
    EXPECT_TRUE(log_.ContainsFragment("WenQuanYi Zen Hei Sharp"));
}

// A text engine of made-up faces whose glyphs tell the faces apart by their
// width: every glyph is a solid block `width` wide and `height` tall,
// standing on the baseline.
class BlockFace final : public platform::GlyphFace {
public:
    BlockFace(std::set<char32_t> has, int width, int missingWidth, int ascent)
        : has_(std::move(has)), width_(width), missingWidth_(missingWidth), ascent_(ascent) {}
    platform::FaceMetrics Metrics() const override { return {ascent_, 3}; }
    platform::FaceOrigin Origin() const override { return {false, "blocks"}; }
    bool HasGlyph(char32_t codePoint) override { return has_.count(codePoint) != 0; }
    platform::GlyphBitmap RenderGlyph(char32_t codePoint) override {
        const int width = HasGlyph(codePoint) ? width_ : missingWidth_;
        platform::GlyphBitmap glyph;
        glyph.advance = width + 1;
        glyph.width = width;
        glyph.rows = kHeight;
        glyph.top = kHeight;
        glyph.pitch = (width + 7) / 8;
        glyph.bits.assign(static_cast<size_t>(glyph.pitch * glyph.rows), 0);
        for (int y = 0; y < glyph.rows; ++y) {
            for (int x = 0; x < width; ++x) {
                glyph.bits[static_cast<size_t>(y * glyph.pitch + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        return glyph;
    }
    static constexpr int kHeight = 5;

private:
    std::set<char32_t> has_;
    int width_;
    int missingWidth_;
    int ascent_;
};

class BlockEngine final : public platform::GlyphRenderer {
public:
    static constexpr int kPrimaryWidth = 3, kPrimaryBoxWidth = 9, kFallbackWidth = 5, kAscent = 11;
    explicit BlockEngine(bool withFallback) : withFallback_(withFallback) {}
    std::unique_ptr<platform::GlyphFace> OpenFace(const std::string& family, int pixelSize) override {
        EXPECT_EQ(pixelSize, 12);
        if (family == "Arial") {
            const std::set<char32_t> has{U'A', U'B'};
            return std::make_unique<BlockFace>(has, kPrimaryWidth, kPrimaryBoxWidth, kAscent);
        }
        if (family == "WenQuanYi Zen Hei Sharp" && withFallback_) {
            return std::make_unique<BlockFace>(std::set<char32_t>{U'B', U'\u6765'}, kFallbackWidth, 1, 2);
        }
        return nullptr;
    }

private:
    bool withFallback_;
};

TEST(TextRendererFaces, EachCharacterComesFromThePrimaryFaceUnlessOnlyTheFallbackHasIt) {
    struct Case {
        const wchar_t* text;
        bool withFallback;
        int width;
    };
    const Case cases[] = {
        {L"A", true, BlockEngine::kPrimaryWidth},
        {L"B", true, BlockEngine::kPrimaryWidth},  // both have it
        {L"\u6765", true, BlockEngine::kFallbackWidth},
        {L"\u7535", true, BlockEngine::kPrimaryBoxWidth},  // neither: the primary's box
        {L"\u6765", false, BlockEngine::kPrimaryBoxWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<unsigned>(c.text[0]) << (c.withFallback ? " with" : " without"));
        BlockEngine engine(c.withFallback);
        CTextRenderer renderer(&engine);
        EXPECT_EQ(renderer.MeasureWidth(c.text), c.width + 1);
        const Bounds ink = BoundsOf(Draw(renderer, c.text, {0, 0, 128, 16}, TextAlign::Left));
        EXPECT_EQ(ink.right - ink.left + 1, c.width);
    }
}

TEST(TextRendererFaces, TheBaselineSitsAtThePrimaryFacesAscentBelowTheBoxTop) {
    BlockEngine engine(true);
    CTextRenderer renderer(&engine);
    const TextBox row{4, 32, 100, 16};
    for (const wchar_t* text : {L"A", L"\u6765"}) {
        const Bounds ink = BoundsOf(Draw(renderer, text, row, TextAlign::Left));
        EXPECT_EQ(ink.bottom, row.top + BlockEngine::kAscent - 1);
        EXPECT_EQ(ink.top, row.top + BlockEngine::kAscent - BlockFace::kHeight);
        EXPECT_EQ(ink.left, row.left);
    }
}

}  // namespace
