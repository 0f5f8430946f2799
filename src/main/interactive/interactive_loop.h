#pragma once
// The interactive simulator's loop: the terminal shows the pane and gives
// keys; between keys, virtual time follows real time.

#include <iosfwd>
#include <string>
#include <vector>

#include "main/sim/sim_world.h"

namespace interactive {

// Runs the first lines (the start, or a script to replay first), then hands
// the world over to the keyboard until the user quits. Returns the exit
// status: 0, 2 when a first line is bad (reported on errors), 3 when the
// world could make no progress.
int RunInteractive(sim::SimWorld& world, const std::vector<std::string>& firstLines, std::ostream& errors);

}  // namespace interactive
