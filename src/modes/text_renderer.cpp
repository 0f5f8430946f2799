#include "modes/text_renderer.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/glyph_renderer.h"
#include "platform/log.h"

namespace modes {

namespace {

constexpr int kPixelSize = 12;
constexpr const char* kPrimaryFamily = "Arial";
constexpr const char* kFallbackFamily = "WenQuanYi Zen Hei Sharp";
// Menus use a few hundred distinct characters; the cap only guards against
// a caller feeding arbitrary text for ever.
constexpr size_t kMaxCachedGlyphs = 4096;
// Text lines are the display's text rows.
constexpr int kLineHeight = 16;
// The characters of the Latin-script languages: their accents and
// descenders, not the face's nominal ascent, decide how much room a line
// needs above and below its baseline.
constexpr char32_t kLatinRanges[][2] = {{0x20, 0x7E}, {0xA0, 0x17F}};

struct InkExtent {
    int ascent = 0;   // rows of ink above the baseline
    int descent = 0;  // rows of ink below it
};

InkExtent LatinInkExtent(platform::GlyphFace& face) {
    InkExtent extent;
    for (const auto& range : kLatinRanges) {
        for (char32_t c = range[0]; c <= range[1]; ++c) {
            if (!face.HasGlyph(c)) continue;
            const platform::GlyphBitmap glyph = face.RenderGlyph(c);
            if (glyph.rows == 0) continue;
            extent.ascent = std::max(extent.ascent, glyph.top);
            extent.descent = std::max(extent.descent, glyph.rows - glyph.top);
        }
    }
    return extent;
}

// As low as the nominal ascent and the accented capitals need, as long as
// the descenders still fit in the line; when both cannot fit, the
// descenders win, being by far the more common.
int BaselineFor(platform::GlyphFace& face) {
    const InkExtent ink = LatinInkExtent(face);
    const int wanted = std::max(face.Metrics().ascent, ink.ascent);
    return std::max(0, std::min(wanted, kLineHeight - ink.descent));
}

// The two faces, opened together once.
class FontFaces {
public:
    void Open(platform::GlyphRenderer& engine) {
        m_Primary = engine.OpenFace(kPrimaryFamily, kPixelSize);
        if (!m_Primary) {
            platform::LogA("TextRenderer: no usable font for \"%s\"; no text is drawn\n", kPrimaryFamily);
            return;
        }
        m_Baseline = BaselineFor(*m_Primary);
        m_Fallback = engine.OpenFace(kFallbackFamily, kPixelSize);
        if (!m_Fallback) {
            platform::LogA("TextRenderer: no usable font for \"%s\"; characters \"%s\" lacks draw as boxes\n",
                           kFallbackFamily, kPrimaryFamily);
            return;
        }
        // "Arial" is expected to come as a metric-compatible stand-in; the
        // CJK face has no such stand-in with 12-pixel strikes.
        const platform::FaceOrigin origin = m_Fallback->Origin();
        if (origin.substituted) {
            platform::LogA("TextRenderer: \"%s\" is not installed (using \"%s\"); CJK text may draw as boxes\n",
                           kFallbackFamily, origin.source.c_str());
        }
    }

    bool HasPrimary() const { return m_Primary != nullptr; }
    // Rows from a line's top to its baseline.
    int Baseline() const { return m_Baseline; }

    // The primary face unless only the fallback has the character; with
    // neither, the primary's missing-glyph box shows that text was lost.
    platform::GlyphFace& FaceFor(char32_t codePoint) const {
        if (m_Fallback == nullptr || m_Primary->HasGlyph(codePoint)) return *m_Primary;
        return m_Fallback->HasGlyph(codePoint) ? *m_Fallback : *m_Primary;
    }

private:
    std::unique_ptr<platform::GlyphFace> m_Primary;
    std::unique_ptr<platform::GlyphFace> m_Fallback;
    int m_Baseline = 0;
};

int AlignedStart(const TextBox& box, TextAlign align, int textWidth) {
    const int spare = box.width - textWidth;
    switch (align) {
        case TextAlign::Centre:
            // Floor division: an overlong text overflows one pixel more on
            // the left rather than drifting right.
            return box.left + (spare >= 0 ? spare / 2 : -((1 - spare) / 2));
        case TextAlign::Right:
            return box.left + spare;
        case TextAlign::Left:
            break;
    }
    return box.left;
}

bool InBox(const TextBox& box, int x, int y) {
    return x >= box.left && x < box.left + box.width && y >= box.top && y < box.top + box.height;
}

void CollectInk(const platform::GlyphBitmap& glyph, int penX, int baseline, const TextBox& box,
                std::vector<std::pair<int, int>>& ink) {
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const int px = penX + glyph.left + x;
            const int py = baseline - glyph.top + y;
            if (glyph.Lit(x, y) && InBox(box, px, py)) ink.emplace_back(px, py);
        }
    }
}

}  // namespace

struct CTextRenderer::Impl {
    explicit Impl(platform::GlyphRenderer* glyphEngine) : engine(glyphEngine) {}

    // Callers hold mutex.
    bool EnsureFonts() {
        if (!opened) {
            opened = true;
            faces.Open(engine != nullptr ? *engine : platform::CurrentGlyphRenderer());
        }
        return faces.HasPrimary();
    }

    const platform::GlyphBitmap& GlyphFor(char32_t codePoint) {
        const auto found = glyphs.find(codePoint);
        if (found != glyphs.end()) return found->second;
        if (glyphs.size() >= kMaxCachedGlyphs) glyphs.clear();
        return glyphs.emplace(codePoint, faces.FaceFor(codePoint).RenderGlyph(codePoint)).first->second;
    }

    int Width(const std::wstring& text) {
        int width = 0;
        for (wchar_t c : text) width += GlyphFor(static_cast<char32_t>(c)).advance;
        return width;
    }

    platform::GlyphRenderer* engine;
    std::mutex mutex;
    bool opened = false;
    FontFaces faces;
    std::unordered_map<char32_t, platform::GlyphBitmap> glyphs;
};

CTextRenderer::CTextRenderer(platform::GlyphRenderer* engine) : m_Impl(std::make_unique<Impl>(engine)) {}

CTextRenderer::~CTextRenderer() = default;

bool CTextRenderer::HasPrimaryFace() {
    std::lock_guard<std::mutex> lock(m_Impl->mutex);
    return m_Impl->EnsureFonts();
}

int CTextRenderer::MeasureWidth(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(m_Impl->mutex);
    if (!m_Impl->EnsureFonts()) return 0;
    return m_Impl->Width(text);
}

size_t CTextRenderer::CountFitting(const std::wstring& text, int width) {
    std::lock_guard<std::mutex> lock(m_Impl->mutex);
    if (!m_Impl->EnsureFonts()) return text.size();
    size_t count = 0;
    int used = 0;
    for (wchar_t c : text) {
        used += m_Impl->GlyphFor(static_cast<char32_t>(c)).advance;
        if (used > width) break;
        ++count;
    }
    return count;
}

void CTextRenderer::DrawText(const std::wstring& text, const TextBox& box, TextAlign align, const PixelSink& sink) {
    if (text.empty() || !sink || box.width <= 0 || box.height <= 0) return;
    std::vector<std::pair<int, int>> ink;
    {
        std::lock_guard<std::mutex> lock(m_Impl->mutex);
        if (!m_Impl->EnsureFonts()) return;
        int penX = AlignedStart(box, align, m_Impl->Width(text));
        const int baseline = box.top + m_Impl->faces.Baseline();
        for (wchar_t c : text) {
            const platform::GlyphBitmap& glyph = m_Impl->GlyphFor(static_cast<char32_t>(c));
            CollectInk(glyph, penX, baseline, box, ink);
            penX += glyph.advance;
        }
    }
    // The sink runs unlocked so it may take its own locks (the display
    // image's) in any order without deadlocking against text users.
    for (const auto& [x, y] : ink) sink(x, y);
}

CTextRenderer& TextRenderer() {
    static CTextRenderer renderer;
    return renderer;
}

}  // namespace modes
