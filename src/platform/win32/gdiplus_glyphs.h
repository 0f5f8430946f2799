#pragma once
// The glyph engine on Windows: GDI+ draws each glyph in one bit per pixel
// with grid fitting, as the display's text is drawn on the system, and the
// picture is read back from a memory bitmap compatible with the display's
// hidden "Virtual Display" window, which the engine keeps.

#include <memory>
#include <mutex>
#include <string>

#include "platform/glyph_renderer.h"

namespace platform::win32 {

class VirtualDisplayWindow;

class GdiplusGlyphs final : public GlyphRenderer {
public:
    GdiplusGlyphs();
    ~GdiplusGlyphs() override;
    GdiplusGlyphs(const GdiplusGlyphs&) = delete;
    GdiplusGlyphs& operator=(const GdiplusGlyphs&) = delete;

    std::unique_ptr<GlyphFace> OpenFace(const std::string& family, int pixelSize) override;

private:
    // GDI+ and the display's hidden window are started on the first
    // OpenFace; with mutex_ held.
    bool Start();

    std::mutex mutex_;
    std::unique_ptr<VirtualDisplayWindow> display_;
    uintptr_t token_ = 0;
    bool started_ = false;
};

}  // namespace platform::win32
