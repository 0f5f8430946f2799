#include "modes/virtual_display.h"

namespace modes {

// Nothing is drawn into the image yet, so there is nothing to blank: the
// handset's screen keeps what its firmware shows.
void BlankDisplay() {}

}  // namespace modes
