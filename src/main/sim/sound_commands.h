#pragma once
// The script's "sound" commands: the simulated sound cards, the platform
// version, and what the user does in the platform's volume panel.

#include <string>
#include <vector>

#include "main/sim/sim_world.h"

namespace sim {

// Runs one "sound ..." line; false with `error` set for a bad line.
bool SoundCommand(SimWorld& world, const std::vector<std::string>& words, std::string& error);

}  // namespace sim
