#pragma once
// The system on Windows: the executable's path from the loader, the process's
// end, and the system's version.

#include "platform/system.h"

namespace platform::win32 {

class Win32System final : public System {
public:
    std::optional<std::wstring> ExecutablePath() override;
    void TerminateProcess(int exitCode) override;
    bool IsVistaOrLater() override;
};

}  // namespace platform::win32
