#pragma once
// Which contacts the contact screen shows around the focused one.

namespace modes {

// Indices first ... last (inclusive) of at most three contacts of `count`
// around `focused`: the focused one in the middle, or at the top or bottom
// when it is the first or the last.
struct ContactWindow {
    int first;
    int last;
};
ContactWindow ContactWindowAround(int count, int focused);

}  // namespace modes
