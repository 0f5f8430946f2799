#pragma once
// System port: facts about the running process and system, and its end.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The fields of the platform's version record. The extended record adds the
// service-pack numbers, suite mask and product type; the plain one leaves
// them 0.
struct OsVersionInfo {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;
    std::wstring csdVersion;  // at most 127 characters
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
};

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
    // The version record, extended or plain; false when the platform gives
    // none. A backend without records of its own describes itself by
    // IsVistaOrLater: 6.1 (build 7601) or 5.1 (build 2600).
    virtual bool GetVersionInfo(OsVersionInfo& info, bool extended);
};

// The process-wide system (platform/backends.h installs it).
System& CurrentSystem();

}  // namespace platform
