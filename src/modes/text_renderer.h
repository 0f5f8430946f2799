#pragma once
// One-bit text for the handset display image. The display is a 1-bit panel,
// so glyphs are hinted for monochrome and rendered without anti-aliasing:
// a 12-pixel sans face ("Arial", or what the text engine offers for it) for
// most text, and a CJK face with 12-pixel bitmap strikes for what the sans
// face lacks. Faces are opened lazily once, and every glyph is rendered once
// and cached, so redrawing a screen costs no font parsing.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace platform {
class GlyphRenderer;
}

namespace modes {

enum class TextAlign { Left = 0, Centre = 1, Right = 2 };

struct TextBox {
    int left;
    int top;
    int width;
    int height;
};

// Called for each ink pixel inside the box.
using PixelSink = std::function<void(int x, int y)>;

class CTextRenderer {
public:
    // The faces come from `engine` (nullptr: the current one, taken on the
    // first call that needs a face), opened once; the engine must outlive
    // the renderer.
    explicit CTextRenderer(platform::GlyphRenderer* engine = nullptr);
    ~CTextRenderer();
    CTextRenderer(const CTextRenderer&) = delete;
    CTextRenderer& operator=(const CTextRenderer&) = delete;

    // Width in pixels of the text laid out in one line (sum of advances).
    int MeasureWidth(const std::wstring& text);
    // How many leading characters fit within `width` pixels.
    size_t CountFitting(const std::wstring& text, int width);
    // Draws one line, no wrapping, clipped to the box. Like unwrapped,
    // untrimmed text in a layout rectangle: an overlong text keeps its
    // alignment anchor, so Left loses its tail at the right edge, Right loses
    // its head at the left edge and Centre overflows (and is cut) on both
    // sides. The baseline sits at the same depth below box.top for every
    // text: deep enough for the accents of Latin capitals, shallow enough
    // that descenders stay within a 16-pixel text row.
    void DrawText(const std::wstring& text, const TextBox& box, TextAlign align, const PixelSink& sink);
    // False when no usable primary font was found (logged once); nothing is
    // drawn then and every width is 0.
    bool HasPrimaryFace();

private:
    struct Impl;
    std::unique_ptr<Impl> m_Impl;
};

// The process-wide renderer.
CTextRenderer& TextRenderer();

}  // namespace modes
