#pragma once
// A new, empty folder under the system's temporary folder, made with the
// standard library alone so that the simulated world builds everywhere.

#include <filesystem>
#include <optional>
#include <string>

namespace platform::sim {

// "<temp>/<prefix><random>", created by this call and by no one else;
// nullopt when none could be made.
std::optional<std::filesystem::path> MakeUniqueFolder(const std::string& prefix);

}  // namespace platform::sim
