#pragma once
// The off-screen image of the handset's display and its flush to the handset.

namespace modes {

// Fills the image with its background and flushes its four lines.
void BlankDisplay();

}  // namespace modes
