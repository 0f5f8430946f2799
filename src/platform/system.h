#pragma once
// System port: facts about the running process and system, and its end.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class System {
public:
    virtual ~System() = default;
    // The running executable's full path; nullopt when it cannot be obtained.
    virtual std::optional<std::wstring> ExecutablePath() = 0;
    // Ends the process with this exit code. The real process never returns
    // from it; a simulated one records the code and returns.
    virtual void TerminateProcess(int exitCode) = 0;
    // True on Windows Vista and later (the endpoint-volume era). Off Windows
    // there is no older system to stand in for, so backends there say true.
    virtual bool IsVistaOrLater() = 0;
};

// The process-wide system (platform/backends.h installs it).
System& CurrentSystem();

}  // namespace platform
