#pragma once
// The system off Windows: the executable's path from /proc, the process's
// end through _Exit, and the newer system's behaviour.

#include "platform/system.h"

namespace platform {

class PosixSystem final : public System {
public:
    std::optional<std::wstring> ExecutablePath() override;
    void TerminateProcess(int exitCode) override;
    bool IsVistaOrLater() override { return true; }
};

}  // namespace platform
