#include "platform/posix/freetype_glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/log.h"

namespace platform::posix {

namespace {

int RoundToPixels(FT_Pos value26_6) { return static_cast<int>((value26_6 + 32) >> 6); }

bool FamilyIs(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
    }
    return false;
}

FontFile MatchFamily(FcConfig* config, const char* family) {
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
        file.substituted = !FamilyIs(match, family);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

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

// Repacks whatever FreeType produced (one-bit or grey, either row order)
// as one-bit rows, top row first.
GlyphBitmap CopyGlyph(FT_GlyphSlot slot) {
    GlyphBitmap glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = RoundToPixels(slot->advance.x);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.pitch = (glyph.width + 7) / 8;
    glyph.bits.assign(static_cast<size_t>(glyph.pitch) * static_cast<size_t>(glyph.rows), 0);
    for (int y = 0; y < glyph.rows; ++y) {
        uint8_t* row = glyph.bits.data() + static_cast<size_t>(y) * static_cast<size_t>(glyph.pitch);
        for (int x = 0; x < glyph.width; ++x) {
            if (BitmapPixel(bitmap, x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return glyph;
}

// Prefers the face's own bitmap strike of the size: hand-tuned bitmaps read
// far better in one bit than a scaled outline.
bool SetPixelSize(FT_Face face, int pixelSize) {
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (RoundToPixels(face->available_sizes[i].y_ppem) == pixelSize) return FT_Select_Size(face, i) == 0;
    }
    return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) == 0;
}

class FreeTypeFace final : public GlyphFace {
public:
    FreeTypeFace(std::mutex& libraryMutex, FT_Face face, FaceOrigin origin)
        : libraryMutex_(libraryMutex), face_(face), origin_(std::move(origin)) {}
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;
    ~FreeTypeFace() override {
        std::lock_guard<std::mutex> lock(libraryMutex_);
        FT_Done_Face(face_);
    }

    FaceMetrics Metrics() const override {
        return {RoundToPixels(face_->size->metrics.ascender), RoundToPixels(-face_->size->metrics.descender)};
    }
    FaceOrigin Origin() const override { return origin_; }
    bool HasGlyph(char32_t codePoint) override { return FT_Get_Char_Index(face_, codePoint) != 0; }

    // Index 0, what a missing character maps to, is the face's box.
    // Outlines go through FreeType's own hinter, not the font's: at 12
    // pixels the font's instructions leave round glyphs with stray side
    // pixels ("0" touches its neighbours), while the auto-hinter snaps
    // stems to whole pixels and keeps a blank column between glyphs.
    // Bitmap strikes are drawn as they are.
    GlyphBitmap RenderGlyph(char32_t codePoint) override {
        const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
        if (FT_Load_Glyph(face_, index, FT_LOAD_FORCE_AUTOHINT | FT_LOAD_TARGET_MONO) != 0) return {};
        if (face_->glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) != 0) {
            return {};
        }
        return CopyGlyph(face_->glyph);
    }

private:
    std::mutex& libraryMutex_;
    FT_Face face_;
    FaceOrigin origin_;
};

}  // namespace

struct FreeTypeGlyphs::Library {
    FT_Library handle = nullptr;
};

// The configuration is loaded for each lookup and released at once: kept
// loaded, parts of it look lost to the leak checker at exit, and faces are
// looked up a few times per process only.
FontFile LocateWithFontconfig(const std::string& family) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        LogA("FreeTypeGlyphs: fontconfig could not load its configuration\n");
        return {};
    }
    const FontFile file = MatchFamily(config, family.c_str());
    FcConfigDestroy(config);
    return file;
}

FreeTypeGlyphs::FreeTypeGlyphs(FontFileLocator locator) : locator_(std::move(locator)) {}

FreeTypeGlyphs::~FreeTypeGlyphs() {
    if (library_ && library_->handle != nullptr) FT_Done_FreeType(library_->handle);
}

// Failures are logged only after the library's lock is released: a log sink
// may take locks of its own, and the renderer logs while it holds others.
std::unique_ptr<GlyphFace> FreeTypeGlyphs::OpenFace(const std::string& family, int pixelSize) {
    char failure[512] = "";
    std::unique_ptr<GlyphFace> opened = OpenFaceLocked(family, pixelSize, failure, sizeof failure);
    if (!opened) LogA("%s", failure);
    return opened;
}

std::unique_ptr<GlyphFace> FreeTypeGlyphs::OpenFaceLocked(const std::string& family, int pixelSize, char* failure,
                                                          size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!library_) {
        library_ = std::make_unique<Library>();
        if (FT_Init_FreeType(&library_->handle) != 0) library_->handle = nullptr;
    }
    if (library_->handle == nullptr) {
        std::snprintf(failure, size, "FreeTypeGlyphs: FreeType failed to start\n");
        return nullptr;
    }
    const FontFile file = locator_ ? locator_(family) : FontFile{};
    FT_Face face = nullptr;
    if (file.path.empty() || FT_New_Face(library_->handle, file.path.c_str(), file.index, &face) != 0) {
        std::snprintf(failure, size, "FreeTypeGlyphs: cannot open \"%s\" (face %d) for \"%s\"\n",
                      file.path.c_str(), file.index, family.c_str());
        return nullptr;
    }
    if (!SetPixelSize(face, pixelSize)) {
        FT_Done_Face(face);
        std::snprintf(failure, size, "FreeTypeGlyphs: \"%s\" cannot be set to %d pixels\n", file.path.c_str(),
                      pixelSize);
        return nullptr;
    }
    return std::make_unique<FreeTypeFace>(mutex_, face, FaceOrigin{file.substituted, file.path});
}

}  // namespace platform::posix
