#pragma once
// The script's "sheet" commands: a user working the open settings sheet.

#include <string>
#include <vector>

#include "main/sim/sim_world.h"

namespace sim {

// sheet tab|slide|choose|check|click|ok|apply|cancel ...; false with a
// usage text in `error` for a malformed line.
bool SheetCommand(SimWorld& world, const std::vector<std::string>& w, std::string& error);

}  // namespace sim
