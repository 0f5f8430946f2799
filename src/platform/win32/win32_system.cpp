#include "platform/win32/win32_system.h"

#include <vector>

#include "platform/log.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {
constexpr DWORD kFirstPathChars = MAX_PATH;
// The longest path the system's wide calls take.
constexpr DWORD kMaxPathChars = 32768;
constexpr DWORD kVistaMajorVersion = 6;
}  // namespace

// GetModuleFileNameW cuts a long path to the buffer without failing, so a
// result that fills the buffer is read again with a larger one.
std::optional<std::wstring> Win32System::ExecutablePath() {
    std::vector<wchar_t> buffer(kFirstPathChars);
    while (buffer.size() <= kMaxPathChars) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::nullopt;
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
    LogA("System: the executable's path is longer than %lu characters\n", static_cast<unsigned long>(kMaxPathChars));
    return std::nullopt;
}

// At once, without static destruction or joined threads: the handles and
// threads go with the process.
void Win32System::TerminateProcess(int exitCode) {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(exitCode));
}

bool Win32System::IsVistaOrLater() {
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        return extended.dwMajorVersion >= kVistaMajorVersion;
    }
    OSVERSIONINFOW plain{};
    plain.dwOSVersionInfoSize = sizeof(plain);
    if (::GetVersionExW(&plain)) return plain.dwMajorVersion >= kVistaMajorVersion;
    LogA("System: the system's version cannot be read\n");
    return false;
}

}  // namespace platform::win32
