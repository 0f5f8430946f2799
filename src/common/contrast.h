#pragma once
// The display contrast triple chosen by the contrast level setting.

#include <cstdint>

namespace common {

struct ContrastTriple {
    uint8_t a = 0;
    uint8_t b = 0;
    uint8_t c = 0;
};

// The level setting is not checked on load; a level below 0 is taken as 0
// and one above 2 as 2, so a bad value still gives a usable contrast. Only
// the low byte of each stored value reaches the handset.
int ClampedContrastLevel(int level);
ContrastTriple SelectedContrastTriple();

}  // namespace common
