// The drawing primitives of the off-screen image: text rows, scrolling text,
// icons of the strip, the scroll bar and the volume bars.

#include <algorithm>

#include "common/settings.h"
#include "modes/icon_strip.h"
#include "modes/text_renderer.h"
#include "modes/virtual_display.h"
#include "platform/log.h"

namespace modes {

namespace {

constexpr int kScrollTextLeft = 16;
constexpr int kScrollTextWidth = 112;
constexpr wchar_t kScrollGap[] = L"    ";

constexpr int kScrollBarLeft = 122;
constexpr int kScrollBarRight = 128;
constexpr int kScrollTrackBottom = 48;
constexpr int kScrollThumbTravel = 43;
constexpr int kScrollThumbHeight = 5;

constexpr int kVolumeBars = 16;
constexpr int kVolumeBarsLeft = 15;
constexpr int kVolumeBarPitch = 6;
constexpr int kVolumeBarWidth = 5;
constexpr int kVolumeBarsBottom = 48;

bool DisplayOn() { return common::g_Settings.VAL_ENABLE_LCM == 1; }

TextAlign AlignmentOf(int alignment) {
    switch (alignment) {
        case kAlignCentre: return TextAlign::Centre;
        case kAlignRight: return TextAlign::Right;
        default: return TextAlign::Left;
    }
}

}  // namespace

void CVirtualDisplay::DrawTextIn(const std::wstring& text, int left, int top, int width, int alignment) {
    const TextBox box{left, top, width, kTextRowHeight};
    // A text wider than its rectangle starts at the left and is cut at the
    // right edge, whatever its alignment.
    CTextRenderer& renderer = TextRenderer();
    const TextAlign align = renderer.MeasureWidth(text) > width ? TextAlign::Left : AlignmentOf(alignment);
    std::lock_guard<std::mutex> lock(m_Mutex);
    const bool lit = m_bTextLit;
    renderer.DrawText(text, box, align, [&](int x, int y) { SetPixelLocked(x, y, lit); });
}

void CVirtualDisplay::DrawTextRow(int x, int row, const std::string& text, int alignment) {
    // The notice for handsets without display is the one text drawn then.
    if (!DisplayOn() && text != "NO LCD") return;
    DrawTextIn(platform::Utf8ToWide(text), x, kTextRowHeight * row, kScreenWidth - x, alignment);
}

std::wstring CVirtualDisplay::NextScrollFrame(int row, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (text != m_strScrollSource || row != m_nScrollRow) {
        m_strScrollBuffer = text + kScrollGap;
        m_strScrollSource = text;
        m_nScrollRow = row;
    }
    std::wstring frame = m_strScrollBuffer;
    std::rotate(m_strScrollBuffer.begin(), m_strScrollBuffer.begin() + 1, m_strScrollBuffer.end());
    return frame;
}

void CVirtualDisplay::DrawScrollText(int row, const std::string& text, int alignment) {
    if (!DisplayOn()) return;
    const std::wstring wide = platform::Utf8ToWide(text);
    const int top = kTextRowHeight * row;
    if (TextRenderer().CountFitting(wide, kScrollTextWidth) >= wide.size()) {
        DrawTextIn(wide, kScrollTextLeft, top, kScrollTextWidth, alignment);
        return;
    }
    DrawTextIn(NextScrollFrame(row, wide), kScrollTextLeft, top, kScrollTextWidth, alignment);
}

void CVirtualDisplay::DrawIcon(int x, int y, int icon, int rows) {
    if (icon < 0 || icon >= kIconCount) {
        platform::LogA("DrawIcon: no icon %d in the strip\n", icon);
        return;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (int dy = 0; dy < std::min(rows, kIconSize); ++dy) {
        for (int dx = 0; dx < kIconSize; ++dx) {
            SetPixelLocked(x + dx, y + dy, IconPixel(icon, dx, dy) ? m_bTextLit : m_bBackgroundLit);
        }
    }
}

void CVirtualDisplay::DrawRowIcon(int row, int icon, int x, int rows) {
    if (!DisplayOn()) return;
    DrawIcon(x, kTextRowHeight * row, icon, rows);
}

void CVirtualDisplay::DrawRectangleLocked(int left, int top, int right, int bottom, bool filled) {
    if (right <= left || bottom <= top) return;
    FillRectLocked(left, top, right - left, bottom - top, true);
    if (!filled) FillRectLocked(left + 1, top + 1, right - left - 2, bottom - top - 2, false);
}

void CVirtualDisplay::DrawScrollBar(int lastIndex, int selected) {
    if (lastIndex == 0) return;
    const int thumbTop = selected * kScrollThumbTravel / lastIndex;
    std::lock_guard<std::mutex> lock(m_Mutex);
    DrawRectangleLocked(kScrollBarLeft, 0, kScrollBarRight, kScrollTrackBottom, false);
    DrawRectangleLocked(kScrollBarLeft, thumbTop, kScrollBarRight, thumbTop + kScrollThumbHeight, true);
}

void CVirtualDisplay::DrawVolumeBars(int level) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (int i = 0; i < kVolumeBars; ++i) {
        const int left = kVolumeBarsLeft + kVolumeBarPitch * i;
        const int top = kVolumeBarsBottom - (6 + 3 * i) / 2;
        DrawRectangleLocked(left, top, left + kVolumeBarWidth, kVolumeBarsBottom, i < level);
    }
}

}  // namespace modes
