#pragma once
// A stand-in for the Windows glyph engine until the GDI+ one is built: it
// opens no face (logged once), so the display's text stays blank on
// Windows. Nothing else of the display depends on it.

#include <atomic>

#include "platform/glyph_renderer.h"

namespace platform::win32 {

class StandInGlyphs final : public GlyphRenderer {
public:
    std::unique_ptr<GlyphFace> OpenFace(const std::string& family, int pixelSize) override;

private:
    std::atomic<bool> logged_{false};
};

}  // namespace platform::win32
