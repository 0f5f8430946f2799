#include "modes/virtual_display.h"

#include <algorithm>
#include <cstring>

#include "common/settings.h"
#include "handset/handset_commands.h"
#include "handset/handset_device.h"
#include "platform/log.h"

namespace modes {

CVirtualDisplay g_VirtualDisplay;

namespace {
bool Inside(int x, int y) { return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight; }
}  // namespace

void CVirtualDisplay::ClearScreen() {
    if (common::g_Settings.VAL_ENABLE_LCM != 1) return;
    EraseImage();
}

void CVirtualDisplay::EraseImage() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (auto& line : m_Image) line.fill(m_bBackgroundLit);
}

void CVirtualDisplay::SetPixel(int x, int y, bool lit) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    SetPixelLocked(x, y, lit);
}

void CVirtualDisplay::SetPixelLocked(int x, int y, bool lit) {
    if (!Inside(x, y)) return;
    m_Image[static_cast<size_t>(y)][static_cast<size_t>(x)] = lit;
}

bool CVirtualDisplay::IsLit(int x, int y) const {
    if (!Inside(x, y)) return false;
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Image[static_cast<size_t>(y)][static_cast<size_t>(x)];
}

void CVirtualDisplay::FillRect(int x, int y, int width, int height, bool lit) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    FillRectLocked(x, y, width, height, lit);
}

void CVirtualDisplay::FillRectLocked(int x, int y, int width, int height, bool lit) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, kScreenWidth), y1 = std::min(y + height, kScreenHeight);
    for (int row = y0; row < y1; ++row) {
        for (int col = x0; col < x1; ++col) m_Image[static_cast<size_t>(row)][static_cast<size_t>(col)] = lit;
    }
}

void CVirtualDisplay::FillBackground(int x, int y, int width, int height) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    FillRectLocked(x, y, width, height, m_bBackgroundLit);
}

void CVirtualDisplay::UseListColours(bool selected) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_bTextLit = !selected;
    m_bBackgroundLit = selected;
}

void CVirtualDisplay::UseNormalColours() { UseListColours(false); }

void CVirtualDisplay::PackRow(int row, Page& upper, Page& lower) const {
    upper.fill(0);
    lower.fill(0);
    if (row < 0 || row >= kTextRows) return;
    std::lock_guard<std::mutex> lock(m_Mutex);
    const int top = row * kTextRowHeight;
    for (int col = 0; col < kScreenWidth; ++col) {
        for (int bit = 0; bit < 8; ++bit) {
            const auto c = static_cast<size_t>(col);
            if (m_Image[static_cast<size_t>(top + bit)][c]) upper[c] |= static_cast<uint8_t>(1u << bit);
            if (m_Image[static_cast<size_t>(top + 8 + bit)][c]) lower[c] |= static_cast<uint8_t>(1u << bit);
        }
    }
}

void CVirtualDisplay::FlushLine(int row) {
    if (row < 0 || row >= kTextRows) return;
    DisplayObserver* observer;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        const auto top = static_cast<size_t>(row * kTextRowHeight);
        std::copy_n(m_Image.begin() + static_cast<std::ptrdiff_t>(top), kTextRowHeight,
                    m_Mirror.begin() + static_cast<std::ptrdiff_t>(top));
        observer = m_pObserver;
    }
    if (observer) observer->OnLineFlushed(row);
    Page upper, lower;
    PackRow(row, upper, lower);
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        uint8_t* cached = m_RowCache.data() + static_cast<size_t>(row) * 2 * kPageBytes;
        if (std::memcmp(cached, upper.data(), kPageBytes) == 0 &&
            std::memcmp(cached + kPageBytes, lower.data(), kPageBytes) == 0) {
            return;
        }
        std::memcpy(cached, upper.data(), kPageBytes);
        std::memcpy(cached + kPageBytes, lower.data(), kPageBytes);
    }
    platform::LogW(L"FlushLine: %d", row);
    if (!handset::g_WriteDevice.m_WriteHandle.load().IsValid()) {
        // The cache keeps the new pages: the row goes out again only when it changes.
        platform::LogW(L"NewWriteDevice:Write USB failed: m_WriteHandle is not valid");
        return;
    }
    handset::NewWriteDevice(row, upper.data(), lower.data());
}

void CVirtualDisplay::ForgetSentRows() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_RowCache = {};
}

void CVirtualDisplay::ShowNoLcdNotice() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_bNoLcdShown) return;
        m_bNoLcdShown = true;
    }
    ClearScreen();
    DrawTextRow(0, 0, "NO LCD", kAlignCentre);
    for (int row = 0; row < kTextRows; ++row) FlushLine(row);
}

ScreenImage CVirtualDisplay::Image() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Image;
}

ScreenImage CVirtualDisplay::Mirror() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Mirror;
}

void CVirtualDisplay::FrameDrawn() {
    DisplayObserver* observer;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        observer = m_pObserver;
    }
    if (observer) observer->OnFrameDrawn();
}

void CVirtualDisplay::SetObserver(DisplayObserver* observer) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_pObserver = observer;
}

void CVirtualDisplay::Reset() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Image = ScreenImage{};
    m_Mirror = ScreenImage{};
    m_RowCache = {};
    m_bTextLit = true;
    m_bBackgroundLit = false;
    m_strScrollBuffer.clear();
    m_strScrollSource.clear();
    m_nScrollRow = -1;
    m_bNoLcdShown = false;
}

void BlankDisplay() {
    g_VirtualDisplay.EraseImage();
    for (int row = 0; row < kTextRows; ++row) g_VirtualDisplay.FlushLine(row);
}

}  // namespace modes
