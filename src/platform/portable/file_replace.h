#pragma once
// Replacing a whole file so that readers see either the old or the new one;
// each backend family does it with its own system's calls.

#include <string>

namespace platform {

// Writes the bytes beside the target (path in UTF-8), flushes them to disk
// and puts them in the target's place, keeping an existing target's
// permissions. Returns 0 or the error number (errno values); on failure the
// target is unchanged and nothing is left beside it. Callers serialise calls
// for the same target.
int ReplaceFile(const std::string& target, const std::string& bytes);

}  // namespace platform
