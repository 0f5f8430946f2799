#pragma once
// Facts about the running system that the program's behaviour depends on.

namespace platform {

// True on Windows Vista and later (the endpoint-volume era).
bool IsVistaOrLater();

}  // namespace platform
