#pragma once
// Facts about the running system that the program's behaviour depends on.

namespace platform {

// True on Windows Vista and later (the endpoint-volume era).
bool IsVistaOrLater();
// The simulated world chooses; nullopt-like reset with `reset` true.
void OverrideVistaOrLater(bool vistaOrLater, bool reset = false);

}  // namespace platform
