#pragma once
// The running executable's full path, as the platform reports it.

#include <cstddef>
#include <string>

namespace platform {

// Writes the executable's full path into `path`. Returns false when the path
// cannot be obtained or does not fit bufferChars - 1 characters.
bool GetExecutablePath(std::wstring& path, size_t bufferChars);

}  // namespace platform
