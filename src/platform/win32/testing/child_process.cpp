// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/testing/child_process.h"

#include <vector>

namespace platform::win32::testing {

ChildProcess::~ChildProcess() {
    Kill();
    if (process_) CloseHandle(process_);
}

bool ChildProcess::Start(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    return true;
}

bool ChildProcess::Wait(uint32_t timeoutMs, uint32_t& exitCode) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    exitCode = code;
    return true;
}

bool ChildProcess::Running() { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void ChildProcess::Kill() {
    if (!Running()) return;
    ::TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 10000);
}

std::wstring OwnFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace platform::win32::testing
