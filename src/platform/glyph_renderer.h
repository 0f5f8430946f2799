#pragma once
// Glyph port: what the display renderer needs from the system's text engine
// to draw one-bit text: a face looked up by family name at a pixel size and,
// per character, whether the face has it, its one-bit picture, bearings and
// advance. Laying glyphs out, choosing between faces and clipping stay with
// the caller.
//
// Units: whole pixels throughout; y grows downwards in pictures, and
// distances from the baseline are counted positive (ascent up, descent down).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One glyph as the engine draws it in one bit per pixel, hinted for
// monochrome output.
struct GlyphBitmap {
    int advance = 0;  // pen movement to the next glyph
    int left = 0;     // the picture's left column, relative to the pen
    int top = 0;      // rows of the picture above the baseline
    int width = 0;    // picture columns
    int rows = 0;     // picture rows
    int pitch = 0;    // bytes per picture row in `bits`
    // rows × pitch bytes, top row first; in each byte the leftmost pixel is
    // the most significant bit; a set bit is ink.
    std::vector<uint8_t> bits;

    // x in [0, width), y in [0, rows).
    bool Lit(int x, int y) const {
        const size_t at = static_cast<size_t>(y) * static_cast<size_t>(pitch) + static_cast<size_t>(x / 8);
        return (bits[at] & (0x80u >> (x % 8))) != 0;
    }
};

struct FaceMetrics {
    int ascent = 0;   // the line's top, above the baseline
    int descent = 0;  // the line's bottom, below the baseline
};

// How the engine answered a face request, for log lines.
struct FaceOrigin {
    // True when the engine offered another family's face for the name asked
    // for (a metric-compatible stand-in or just its default face).
    bool substituted = false;
    std::string source;  // what was opened: a font file, a family name
};

// One face at one size. Not for concurrent use: its user serialises the
// calls. Distinct faces may be used on different threads at once.
class GlyphFace {
public:
    virtual ~GlyphFace() = default;
    virtual FaceMetrics Metrics() const = 0;
    virtual FaceOrigin Origin() const = 0;
    // Whether the face has its own glyph for the code point.
    virtual bool HasGlyph(char32_t codePoint) = 0;
    // The glyph's picture and placement. For a code point the face lacks:
    // its missing-glyph picture (the box), with that glyph's advance. When
    // not even that can be drawn: no picture and advance 0.
    virtual GlyphBitmap RenderGlyph(char32_t codePoint) = 0;
};

class GlyphRenderer {
public:
    virtual ~GlyphRenderer() = default;
    // The face the engine uses for `family` at `pixelSize` pixels per em (a
    // bitmap strike of that size when the face has one), or nullptr when it
    // has no usable face (logged by the engine). Any thread may call it. The
    // caller owns the face and destroys it before the engine.
    virtual std::unique_ptr<GlyphFace> OpenFace(const std::string& family, int pixelSize) = 0;
};

// The process-wide engine (platform/backends.h installs it). Whoever installs
// one keeps it alive as long as faces it opened exist; the build's default
// lives until the process ends, so faces held by static objects may be
// destroyed at any time.
GlyphRenderer& CurrentGlyphRenderer();

}  // namespace platform
