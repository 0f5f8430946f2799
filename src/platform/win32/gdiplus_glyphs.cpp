// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/gdiplus_glyphs.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/log.h"
#include "platform/text_codec.h"
#include "platform/win32/virtual_display_window.h"

namespace platform::win32 {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStringFormat;
using Gdiplus::Ok;

namespace {

constexpr Gdiplus::ARGB kInk = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kPaper = 0xFF000000;
constexpr uint32_t kInkThreshold = 0x80;  // of the green channel, white ink on black

// A canvas large enough for any glyph of the size, with room on every side.
struct CanvasSize {
    int width;
    int height;
    int penX;       // where the pen starts
    int baseline;   // the baseline's row
};

CanvasSize CanvasFor(int pixelSize, int ascent) {
    const int margin = pixelSize;
    return CanvasSize{4 * pixelSize + 2 * margin, 3 * pixelSize + 2 * margin, margin, margin + ascent};
}

std::wstring FamilyName(const GpFontFamily* family) {
    WCHAR name[LF_FACESIZE] = {};
    if (gp::GdipGetFamilyName(family, name, LANG_NEUTRAL) != Ok) return std::wstring();
    return std::wstring(name, wcsnlen(name, LF_FACESIZE));
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

// The family by name, or the system's sans-serif family in its place.
GpFontFamily* FindFamily(const std::wstring& name, bool& substituted) {
    GpFontFamily* family = nullptr;
    substituted = false;
    if (gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) == Ok && family) {
        substituted = !SameName(FamilyName(family), name);
        return family;
    }
    GpFontFamily* generic = nullptr;
    if (gp::GdipGetGenericFontFamilySansSerif(&generic) != Ok || !generic) return nullptr;
    substituted = true;
    if (gp::GdipCloneFontFamily(generic, &family) != Ok) return nullptr;
    return family;
}

class GdiplusFace final : public GlyphFace {
public:
    GdiplusFace(GpFontFamily* family, int pixelSize, FaceOrigin origin, HDC dc);
    ~GdiplusFace() override;
    GdiplusFace(const GdiplusFace&) = delete;
    GdiplusFace& operator=(const GdiplusFace&) = delete;

    bool Usable() const { return font_ && format_ && ink_ && bits_ && gdiFont_; }
    FaceMetrics Metrics() const override { return metrics_; }
    FaceOrigin Origin() const override { return origin_; }
    bool HasGlyph(char32_t codePoint) override;
    GlyphBitmap RenderGlyph(char32_t codePoint) override;

private:
    void MakeCanvas();
    void MakeGdiFont();
    bool DrawPresent(const std::wstring& text);
    bool DrawMissing();
    GlyphBitmap ReadBack(int advance) const;

    GpFontFamily* family_;
    int pixelSize_;
    FaceOrigin origin_;
    FaceMetrics metrics_;
    CanvasSize canvas_{};
    GpFont* font_ = nullptr;
    GpStringFormat* format_ = nullptr;
    GpSolidFill* ink_ = nullptr;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    const uint32_t* bits_ = nullptr;  // canvas pixels, top row first
    HFONT gdiFont_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};

FaceMetrics MetricsOf(GpFontFamily* family, int pixelSize) {
    UINT16 em = 0, ascent = 0, descent = 0;
    const INT style = Gdiplus::FontStyleRegular;
    if (gp::GdipGetEmHeight(family, style, &em) != Ok || em == 0 || gp::GdipGetCellAscent(family, style, &ascent) != Ok ||
        gp::GdipGetCellDescent(family, style, &descent) != Ok) {
        return FaceMetrics{pixelSize, 0};
    }
    const double scale = static_cast<double>(pixelSize) / em;
    return FaceMetrics{static_cast<int>(std::lround(ascent * scale)), static_cast<int>(std::lround(descent * scale))};
}

// `dc` is a memory device context the face takes over.
GdiplusFace::GdiplusFace(GpFontFamily* family, int pixelSize, FaceOrigin origin, HDC dc)
    : family_(family), pixelSize_(pixelSize), origin_(std::move(origin)), metrics_(MetricsOf(family, pixelSize)), dc_(dc) {
    canvas_ = CanvasFor(pixelSize, metrics_.ascent);
    gp::GdipCreateFont(family_, static_cast<Gdiplus::REAL>(pixelSize), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel,
                       &font_);
    // The typographic format puts the pen at the layout's left edge, with no
    // padding; one line, nothing trimmed, as the display's rows are drawn.
    GpStringFormat* typographic = nullptr;
    if (gp::GdipStringFormatGetGenericTypographic(&typographic) == Ok &&
        gp::GdipCloneStringFormat(typographic, &format_) == Ok) {
        gp::GdipSetStringFormatFlags(format_, Gdiplus::StringFormatFlagsNoWrap);
        gp::GdipSetStringFormatTrimming(format_, Gdiplus::StringTrimmingNone);
    }
    gp::GdipCreateSolidFill(kInk, &ink_);
    MakeCanvas();
    MakeGdiFont();
}

void GdiplusFace::MakeCanvas() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = canvas_.width;
    info.bmiHeader.biHeight = -canvas_.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bitmap_) return;
    previousBitmap_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<const uint32_t*>(bits);
}

// The same face for the system's glyph look-ups, advances and the
// missing-glyph box, which GDI+ does not offer.
void GdiplusFace::MakeGdiFont() {
    if (!dc_ || !font_) return;
    GpGraphics* graphics = nullptr;
    LOGFONTW logFont{};
    if (gp::GdipCreateFromHDC(dc_, &graphics) == Ok) {
        gp::GdipGetLogFontW(font_, graphics, &logFont);
        gp::GdipDeleteGraphics(graphics);
    }
    logFont.lfHeight = -pixelSize_;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    gdiFont_ = CreateFontIndirectW(&logFont);
    if (gdiFont_) previousFont_ = SelectObject(dc_, gdiFont_);
}

GdiplusFace::~GdiplusFace() {
    if (previousFont_) SelectObject(dc_, previousFont_);
    if (gdiFont_) DeleteObject(gdiFont_);
    if (previousBitmap_) SelectObject(dc_, previousBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    if (ink_) gp::GdipDeleteBrush(ink_);
    if (format_) gp::GdipDeleteStringFormat(format_);
    if (font_) gp::GdipDeleteFont(font_);
    if (family_) gp::GdipDeleteFontFamily(family_);
}

bool GdiplusFace::HasGlyph(char32_t codePoint) {
    // The system's glyph look-up takes one UTF-16 unit at a time.
    if (codePoint > 0xFFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
    const WCHAR unit = static_cast<WCHAR>(codePoint);
    WORD index = 0xFFFF;
    return GetGlyphIndicesW(dc_, &unit, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR && index != 0xFFFF;
}

bool GdiplusFace::DrawPresent(const std::wstring& text) {
    GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(dc_, &graphics) != Ok) return false;
    gp::GdipGraphicsClear(graphics, kPaper);
    gp::GdipSetTextRenderingHint(graphics, Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(canvas_.penX),
                                static_cast<Gdiplus::REAL>(canvas_.baseline - metrics_.ascent),
                                static_cast<Gdiplus::REAL>(canvas_.width - canvas_.penX),
                                static_cast<Gdiplus::REAL>(canvas_.height - canvas_.baseline + metrics_.ascent));
    const bool drawn =
        gp::GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), font_, &layout, format_, ink_) == Ok;
    gp::GdipDeleteGraphics(graphics);
    GdiFlush();
    return drawn;
}

bool GdiplusFace::DrawMissing() {
    const RECT all{0, 0, canvas_.width, canvas_.height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc_, RGB(255, 255, 255));
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_BASELINE | TA_LEFT);
    const WORD box = 0;  // the face's missing-glyph picture
    const bool drawn = ExtTextOutW(dc_, canvas_.penX, canvas_.baseline, ETO_GLYPH_INDEX, nullptr,
                                   reinterpret_cast<LPCWSTR>(&box), 1, nullptr) != 0;
    GdiFlush();
    return drawn;
}

GlyphBitmap GdiplusFace::RenderGlyph(char32_t codePoint) {
    GlyphBitmap glyph;
    if (HasGlyph(codePoint)) {
        const std::wstring text(1, static_cast<wchar_t>(codePoint));
        SIZE extent{};
        if (!GetTextExtentPoint32W(dc_, text.c_str(), 1, &extent) || !DrawPresent(text)) return glyph;
        return ReadBack(extent.cx);
    }
    ABC widths{};
    if (!GetCharABCWidthsI(dc_, 0, 1, nullptr, &widths) || !DrawMissing()) return glyph;
    return ReadBack(widths.abcA + static_cast<int>(widths.abcB) + widths.abcC);
}

// The lit pixels' bounding box, packed one bit per pixel.
GlyphBitmap GdiplusFace::ReadBack(int advance) const {
    GlyphBitmap glyph;
    glyph.advance = advance;
    int left = canvas_.width, right = -1, top = canvas_.height, bottom = -1;
    // One-bit output has only black and white; a text engine that smooths
    // edges anyway (Wine's) gives grey, and only the brighter half is ink.
    auto lit = [&](int x, int y) {
        const uint32_t pixel = bits_[static_cast<size_t>(y) * static_cast<size_t>(canvas_.width) + static_cast<size_t>(x)];
        return ((pixel >> 8) & 0xFFu) >= kInkThreshold;
    };
    for (int y = 0; y < canvas_.height; ++y) {
        for (int x = 0; x < canvas_.width; ++x) {
            if (!lit(x, y)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return glyph;  // a blank: advance only
    glyph.left = left - canvas_.penX;
    glyph.top = canvas_.baseline - top;
    glyph.width = right - left + 1;
    glyph.rows = bottom - top + 1;
    glyph.pitch = (glyph.width + 7) / 8;
    glyph.bits.assign(static_cast<size_t>(glyph.pitch) * static_cast<size_t>(glyph.rows), 0);
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (!lit(left + x, top + y)) continue;
            glyph.bits[static_cast<size_t>(y * glyph.pitch + x / 8)] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return glyph;
}

}  // namespace

GdiplusGlyphs::GdiplusGlyphs() = default;

GdiplusGlyphs::~GdiplusGlyphs() {
    display_.reset();
    if (started_) Gdiplus::GdiplusShutdown(token_);
}

bool GdiplusGlyphs::Start() {
    if (started_) return true;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(&token, &input, nullptr);
    if (status != Ok) {
        LogA("GdiplusStartup failed, status=%d\n", static_cast<int>(status));
        return false;
    }
    token_ = token;
    started_ = true;
    display_ = std::make_unique<VirtualDisplayWindow>();
    return true;
}

std::unique_ptr<GlyphFace> GdiplusGlyphs::OpenFace(const std::string& family, int pixelSize) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pixelSize <= 0 || !Start()) return nullptr;
    const std::wstring name = Utf8ToWide(family);
    FaceOrigin origin;
    GpFontFamily* found = FindFamily(name, origin.substituted);
    if (!found) {
        LogA("GDI+: no font family for \"%s\"\n", family.c_str());
        return nullptr;
    }
    origin.source = WideToUtf8(FamilyName(found));
    auto face = std::make_unique<GdiplusFace>(found, pixelSize, origin, display_->CreateCompatibleMemoryDc());
    if (face->Usable()) return face;
    LogA("GDI+: the face \"%s\" at %d pixels cannot be drawn\n", origin.source.c_str(), pixelSize);
    return nullptr;
}

}  // namespace platform::win32
