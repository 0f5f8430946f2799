#pragma once
// The off-screen image of the handset's 128 x 64 one-bit display, and its
// flush to the handset: a 16-pixel band packed into two pages, sent only
// when it differs from what that band last sent.

#include <array>
#include <cstdint>
#include <mutex>

namespace modes {

constexpr int kScreenWidth = 128;
constexpr int kScreenHeight = 64;
constexpr int kTextRows = 4;
constexpr int kTextRowHeight = 16;
constexpr int kPageBytes = 128;

using Page = std::array<uint8_t, kPageBytes>;

class CVirtualDisplay {
public:
    // Lit pixels are white on black.
    void ClearScreen();
    void SetPixel(int x, int y, bool lit);  // outside the image: ignored
    bool IsLit(int x, int y) const;
    void FillRect(int x, int y, int width, int height, bool lit);

    // Packs text row r (0 ... 3) into its upper and lower page.
    void PackRow(int row, Page& upper, Page& lower) const;
    // Sends row r when it differs from what the row last sent.
    void FlushLine(int row);

    // Back to the constructed state: black image, zeroed row cache.
    void Reset();

private:
    mutable std::mutex m_Mutex;
    std::array<std::array<bool, kScreenWidth>, kScreenHeight> m_Image{};
    std::array<uint8_t, kTextRows * 2 * kPageBytes> m_RowCache{};
};

extern CVirtualDisplay g_VirtualDisplay;

// Fills the image with its background and flushes its four lines.
void BlankDisplay();

}  // namespace modes
