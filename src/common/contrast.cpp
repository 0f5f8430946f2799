#include "common/contrast.h"

#include <algorithm>

#include "common/settings.h"

namespace common {

namespace {
constexpr int kContrastLevels = 3;
}

int ClampedContrastLevel(int level) { return std::clamp(level, 0, kContrastLevels - 1); }

ContrastTriple SelectedContrastTriple() {
    const int level = ClampedContrastLevel(g_Settings.VAL_LCM_CONTRAST);
    ContrastTriple t;
    t.a = static_cast<uint8_t>(g_Settings.VAL_CONTRAST[level][0] & 0xFF);
    t.b = static_cast<uint8_t>(g_Settings.VAL_CONTRAST[level][1] & 0xFF);
    t.c = static_cast<uint8_t>(g_Settings.VAL_CONTRAST[level][2] & 0xFF);
    return t;
}

}  // namespace common
