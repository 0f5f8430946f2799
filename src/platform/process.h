#pragma once
// Ending the process. The real program ends at once; the simulated world
// records the exit code and lets the test tear down in order.

namespace platform {

void TerminateProcess(int exitCode);

}  // namespace platform
