#pragma once
// The glyph engine off Windows: fontconfig finds a family's font file,
// FreeType renders its glyphs in one bit per pixel.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/glyph_renderer.h"

namespace platform::posix {

struct FontFile {
    std::string path;          // empty: nothing found
    int index = 0;             // face within a font collection
    bool substituted = false;  // a file of another family than the one asked for
};

using FontFileLocator = std::function<FontFile(const std::string& family)>;

// Asks fontconfig, which answers every name with its best match: for
// "Arial", a metric-compatible face when one is installed.
FontFile LocateWithFontconfig(const std::string& family);

class FreeTypeGlyphs final : public GlyphRenderer {
public:
    // The locator is called under the engine's lock, once per OpenFace.
    explicit FreeTypeGlyphs(FontFileLocator locator = LocateWithFontconfig);
    ~FreeTypeGlyphs() override;
    FreeTypeGlyphs(const FreeTypeGlyphs&) = delete;
    FreeTypeGlyphs& operator=(const FreeTypeGlyphs&) = delete;

    std::unique_ptr<GlyphFace> OpenFace(const std::string& family, int pixelSize) override;

private:
    // Writes the reason of a failure into `failure` for the caller to log
    // once the lock is released.
    std::unique_ptr<GlyphFace> OpenFaceLocked(const std::string& family, int pixelSize, char* failure,
                                              size_t size);
    struct Library;  // FreeType's library, started on the first OpenFace
    FontFileLocator locator_;
    // FreeType lets faces of one library work on different threads, but
    // opening and closing faces must take turns.
    std::mutex mutex_;
    std::unique_ptr<Library> library_;
};

}  // namespace platform::posix
