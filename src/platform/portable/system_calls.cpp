// The system calls the core makes, in the shape of the platform's own, on
// whichever System backend is installed.

#include "platform/app_folder.h"
#include "platform/process.h"
#include "platform/system.h"
#include "platform/system_info.h"

namespace platform {

bool GetExecutablePath(std::wstring& path, size_t bufferChars) {
    std::optional<std::wstring> found = CurrentSystem().ExecutablePath();
    if (!found || bufferChars == 0 || found->size() > bufferChars - 1) {
        path.clear();
        return false;
    }
    path = std::move(*found);
    return true;
}

void TerminateProcess(int exitCode) { CurrentSystem().TerminateProcess(exitCode); }

bool IsVistaOrLater() { return CurrentSystem().IsVistaOrLater(); }

bool System::GetVersionInfo(OsVersionInfo& info, bool extended) {
    const bool vista = IsVistaOrLater();
    info = OsVersionInfo{};
    info.majorVersion = vista ? 6 : 5;
    info.minorVersion = 1;
    info.buildNumber = vista ? 7601 : 2600;
    info.platformId = 2;  // the NT family
    if (extended) info.productType = 1;  // a workstation
    return true;
}

}  // namespace platform
