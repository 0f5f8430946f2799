#include "platform/win32/stand_in_glyphs.h"

#include "platform/log.h"

namespace platform::win32 {

std::unique_ptr<GlyphFace> StandInGlyphs::OpenFace(const std::string& family, int pixelSize) {
    if (!logged_.exchange(true)) {
        LogA("Glyphs: no glyph engine in this build; \"%s\" at %d pixels is not drawn\n", family.c_str(), pixelSize);
    }
    return nullptr;
}

}  // namespace platform::win32
