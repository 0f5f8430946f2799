#pragma once
// The running executable's full path, as the platform reports it.

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// Writes the executable's full path into `path`. Returns false when the path
// cannot be obtained or does not fit bufferChars - 1 characters.
bool GetExecutablePath(std::wstring& path, size_t bufferChars);

// The simulated world places the program in a folder of its own. nullopt
// restores the real path.
void OverrideExecutablePath(std::optional<std::wstring> path);

}  // namespace platform
