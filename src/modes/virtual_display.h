#pragma once
// The off-screen image of the handset's 128 x 64 one-bit display, the
// drawing the modes do into it, and its flush to the handset: a 16-pixel
// band packed into two pages, sent only when it differs from what that band
// last sent.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace modes {

constexpr int kScreenWidth = 128;
constexpr int kScreenHeight = 64;
constexpr int kTextRows = 4;
constexpr int kTextRowHeight = 16;
constexpr int kPageBytes = 128;

// Text alignment within the layout rectangle.
constexpr int kAlignLeft = 0;
constexpr int kAlignCentre = 1;
constexpr int kAlignRight = 2;

using Page = std::array<uint8_t, kPageBytes>;
using ScreenImage = std::array<std::array<bool, kScreenWidth>, kScreenHeight>;

// Sees the display (the simulator's transcript and picture files). Calls
// come on the drawing thread with no display lock of ours held.
class DisplayObserver {
public:
    virtual ~DisplayObserver() = default;
    // A band was copied to the mirror by FlushLine.
    virtual void OnLineFlushed(int row) = 0;
    // A mode finished drawing a screen into the image.
    virtual void OnFrameDrawn() = 0;
};

class CVirtualDisplay {
public:
    // Lit pixels are white on black. Only with the display setting on.
    void ClearScreen();
    // The whole image in the background colour, whatever the setting says.
    void EraseImage();
    void SetPixel(int x, int y, bool lit);  // outside the image: ignored
    bool IsLit(int x, int y) const;
    void FillRect(int x, int y, int width, int height, bool lit);
    // A rectangle in the current background colour.
    void FillBackground(int x, int y, int width, int height);

    // One line of UTF-8 text in the rectangle from (x, 16 row) to the right
    // edge, aligned kAlignLeft / kAlignCentre / kAlignRight, cut at the edge.
    void DrawTextRow(int x, int row, const std::string& text, int alignment);
    // A line from x 16 over 112 pixels that runs one character further at
    // every draw when it does not fit.
    void DrawScrollText(int row, const std::string& text, int alignment);
    // Icon of the strip at (x, 16 row); only with the display setting on.
    // Only its first `rows` pixel rows are drawn, for bands narrower than
    // the icon.
    void DrawRowIcon(int row, int icon, int x, int rows = kTextRowHeight);
    // Icon of the strip at any point, its first `rows` pixel rows.
    void DrawIcon(int x, int y, int icon, int rows = kTextRowHeight);
    // Track beside rows 0 ... 2 and a thumb for `selected` of 0 ... lastIndex.
    void DrawScrollBar(int lastIndex, int selected);
    // Sixteen rising bars, the first `level` of them filled.
    void DrawVolumeBars(int level);

    // Colours of a list row: a selected row is dark text on a lit band.
    void UseListColours(bool selected);
    void UseNormalColours();

    // Packs text row r (0 ... 3) into its upper and lower page.
    void PackRow(int row, Page& upper, Page& lower) const;
    // Copies row r to the mirror and sends it when it differs from what the
    // row last sent.
    void FlushLine(int row);
    // Forgets what the rows last sent, so each row with lit pixels goes out
    // at its next flush (a handset that has just started shows nothing).
    void ForgetSentRows();
    // The "NO LCD" notice, once per process.
    void ShowNoLcdNotice();

    ScreenImage Image() const;
    ScreenImage Mirror() const;
    // Called by the mode machine when a display operation has run.
    void FrameDrawn();
    // Install only while no program thread draws; nullptr: none.
    void SetObserver(DisplayObserver* observer);

    // Back to the constructed state: black image, zeroed row cache, normal
    // colours, no scrolling text, the notice not yet shown.
    void Reset();

private:
    void SetPixelLocked(int x, int y, bool lit);
    void FillRectLocked(int x, int y, int width, int height, bool lit);
    // GDI's Rectangle: a lit one-pixel outline around a fill, right and
    // bottom edges excluded.
    void DrawRectangleLocked(int left, int top, int right, int bottom, bool filled);
    void DrawTextIn(const std::wstring& text, int left, int top, int width, int alignment);
    // The text the scroll state shows next, advancing the state.
    std::wstring NextScrollFrame(int row, const std::wstring& text);

    mutable std::mutex m_Mutex;
    ScreenImage m_Image{};
    ScreenImage m_Mirror{};
    std::array<uint8_t, kTextRows * 2 * kPageBytes> m_RowCache{};
    bool m_bTextLit = true;
    bool m_bBackgroundLit = false;
    std::wstring m_strScrollBuffer;
    std::wstring m_strScrollSource;
    int m_nScrollRow = -1;
    bool m_bNoLcdShown = false;
    DisplayObserver* m_pObserver = nullptr;
};

extern CVirtualDisplay g_VirtualDisplay;

// Fills the image with its background and flushes its four lines.
void BlankDisplay();

}  // namespace modes
