#include "modes/icon_strip.h"

#include <cstdint>

namespace modes {

// Generated at build time from resources/icon_strip.txt; bit 15 of a row is
// x = 0.
extern const uint16_t kIconStripRows[kIconCount][kIconSize];

bool IconPixel(int index, int x, int y) {
    if (index < 0 || index >= kIconCount || x < 0 || x >= kIconSize || y < 0 || y >= kIconSize) return false;
    return (kIconStripRows[index][y] & (0x8000u >> x)) != 0;
}

}  // namespace modes
