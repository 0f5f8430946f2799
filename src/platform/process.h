#pragma once
// Ending the process. The real program ends at once; the simulated world
// records the exit code and lets the test tear down in order.

#include <functional>

namespace platform {

void TerminateProcess(int exitCode);

// Replaces what TerminateProcess does (empty: end the process for real).
void InstallProcessTerminator(std::function<void(int exitCode)> terminator);

}  // namespace platform
