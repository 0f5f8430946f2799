#pragma once
// The Skype command that calls several contacts together.

#include <string>
#include <vector>

namespace modes {

// "CALL a, b, c" for the handles in order; empty for no handle.
std::string ConferenceCommand(const std::vector<std::string>& handles);

}  // namespace modes
