#include "modes/text_renderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/log.h"

namespace modes {

namespace {

constexpr int kPixelSize = 12;
constexpr const char* kPrimaryFamily = "Arial";
constexpr const char* kFallbackFamily = "WenQuanYi Zen Hei Sharp";
// Menus use a few hundred distinct characters; the cap only guards against
// a caller feeding arbitrary text for ever.
constexpr size_t kMaxCachedGlyphs = 4096;

int RoundToPixels(FT_Pos value26_6) { return static_cast<int>((value26_6 + 32) >> 6); }

bool FamilyIs(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
    }
    return false;
}

FontFile MatchFamily(FcConfig* config, const char* family, bool* exact) {
    FontFile file;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return file;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file.path = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
        if (exact != nullptr) *exact = FamilyIs(match, family);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

struct Glyph {
    int advance = 0;
    int left = 0;  // ink origin relative to the pen
    int top = 0;   // rows above the baseline
    int width = 0;
    int rows = 0;
    std::vector<bool> ink;  // rows x width, top row first

    bool Lit(int x, int y) const { return ink[Offset(x, y, width)]; }

    static size_t Offset(int x, int y, int width) {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
};

const unsigned char* RowStart(const FT_Bitmap& bitmap, int row) {
    const int pitch = std::abs(bitmap.pitch);
    const int fromStart = bitmap.pitch >= 0 ? row : static_cast<int>(bitmap.rows) - 1 - row;
    return bitmap.buffer + static_cast<ptrdiff_t>(fromStart) * pitch;
}

bool BitmapPixel(const FT_Bitmap& bitmap, int x, int y) {
    const unsigned char* row = RowStart(bitmap, y);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x / 8] & (0x80 >> (x % 8))) != 0;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[x] >= 0x80;
    return false;
}

Glyph CopyGlyph(FT_GlyphSlot slot) {
    Glyph glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = RoundToPixels(slot->advance.x);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.ink.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.rows));
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) glyph.ink[Glyph::Offset(x, y, glyph.width)] = BitmapPixel(bitmap, x, y);
    }
    return glyph;
}

Glyph RenderGlyph(FT_Face face, char32_t codePoint) {
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return {};
    if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return {};
    return CopyGlyph(face->glyph);
}

// Prefers the face's own 12-pixel bitmap strike: hand-tuned bitmaps read
// far better in one bit than a scaled outline.
bool SetTwelvePixels(FT_Face face) {
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (RoundToPixels(face->available_sizes[i].y_ppem) == kPixelSize) return FT_Select_Size(face, i) == 0;
    }
    return FT_Set_Pixel_Sizes(face, 0, kPixelSize) == 0;
}

// FreeType's library and the two faces, released together.
class FontFaces {
public:
    FontFaces() = default;
    FontFaces(const FontFaces&) = delete;
    FontFaces& operator=(const FontFaces&) = delete;
    ~FontFaces() {
        if (m_Fallback != nullptr) FT_Done_Face(m_Fallback);
        if (m_Primary != nullptr) FT_Done_Face(m_Primary);
        if (m_Library != nullptr) FT_Done_FreeType(m_Library);
    }

    void Open(const FontFiles& files) {
        if (FT_Init_FreeType(&m_Library) != 0) {
            m_Library = nullptr;
            platform::LogA("TextRenderer: FreeType failed to start; no text is drawn\n");
            return;
        }
        m_Primary = OpenFace(files.primary);
        if (m_Primary == nullptr) {
            platform::LogA("TextRenderer: no usable font for \"%s\" (\"%s\"); no text is drawn\n", kPrimaryFamily,
                           files.primary.path.c_str());
            return;
        }
        m_Fallback = OpenFace(files.fallback);
        if (m_Fallback == nullptr) {
            platform::LogA("TextRenderer: no usable font for \"%s\" (\"%s\"); characters \"%s\" lacks draw as boxes\n",
                           kFallbackFamily, files.fallback.path.c_str(), kPrimaryFamily);
        }
        m_Ascender = RoundToPixels(m_Primary->size->metrics.ascender);
    }

    bool HasPrimary() const { return m_Primary != nullptr; }
    int Ascender() const { return m_Ascender; }

    // The primary face unless only the fallback has the character; with
    // neither, the primary's missing-glyph box shows that text was lost.
    FT_Face FaceFor(char32_t codePoint) const {
        if (m_Fallback == nullptr || FT_Get_Char_Index(m_Primary, codePoint) != 0) return m_Primary;
        return FT_Get_Char_Index(m_Fallback, codePoint) != 0 ? m_Fallback : m_Primary;
    }

private:
    FT_Face OpenFace(const FontFile& file) const {
        if (file.path.empty()) return nullptr;
        FT_Face face = nullptr;
        if (FT_New_Face(m_Library, file.path.c_str(), file.index, &face) != 0) return nullptr;
        if (!SetTwelvePixels(face)) {
            FT_Done_Face(face);
            return nullptr;
        }
        return face;
    }

    FT_Library m_Library = nullptr;
    FT_Face m_Primary = nullptr;
    FT_Face m_Fallback = nullptr;
    int m_Ascender = 0;
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

void CollectInk(const Glyph& glyph, int penX, int baseline, const TextBox& box, std::vector<std::pair<int, int>>& ink) {
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const int px = penX + glyph.left + x;
            const int py = baseline - glyph.top + y;
            if (glyph.Lit(x, y) && InBox(box, px, py)) ink.emplace_back(px, py);
        }
    }
}

}  // namespace

FontFiles LocateSystemFonts() {
    FontFiles files;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        platform::LogA("TextRenderer: fontconfig could not load its configuration\n");
        return files;
    }
    // "Arial" is expected to resolve to a metric-compatible substitute; the
    // CJK face has no such stand-in with 12-pixel strikes.
    files.primary = MatchFamily(config, kPrimaryFamily, nullptr);
    bool fallbackInstalled = false;
    files.fallback = MatchFamily(config, kFallbackFamily, &fallbackInstalled);
    if (!fallbackInstalled) {
        platform::LogA("TextRenderer: \"%s\" is not installed (using \"%s\"); CJK text may draw as boxes\n",
                       kFallbackFamily, files.fallback.path.c_str());
    }
    FcConfigDestroy(config);
    return files;
}

struct CTextRenderer::Impl {
    explicit Impl(FontLocator fontLocator) : locator(std::move(fontLocator)) {}

    // Callers hold mutex.
    bool EnsureFonts() {
        if (!opened) {
            opened = true;
            faces.Open(locator ? locator() : FontFiles{});
        }
        return faces.HasPrimary();
    }

    const Glyph& GlyphFor(char32_t codePoint) {
        const auto found = glyphs.find(codePoint);
        if (found != glyphs.end()) return found->second;
        if (glyphs.size() >= kMaxCachedGlyphs) glyphs.clear();
        return glyphs.emplace(codePoint, RenderGlyph(faces.FaceFor(codePoint), codePoint)).first->second;
    }

    int Width(const std::wstring& text) {
        int width = 0;
        for (wchar_t c : text) width += GlyphFor(static_cast<char32_t>(c)).advance;
        return width;
    }

    FontLocator locator;
    std::mutex mutex;
    bool opened = false;
    FontFaces faces;
    std::unordered_map<char32_t, Glyph> glyphs;
};

CTextRenderer::CTextRenderer(FontLocator locator) : m_Impl(std::make_unique<Impl>(std::move(locator))) {}

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
        const int baseline = box.top + m_Impl->faces.Ascender();
        for (wchar_t c : text) {
            const Glyph& glyph = m_Impl->GlyphFor(static_cast<char32_t>(c));
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
