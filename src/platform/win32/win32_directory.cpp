#include "platform/win32/win32_directory.h"

#include "platform/log.h"
#include "platform/text_codec.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

// Nothing matching is the usual answer for an empty ring-tone folder, so
// only other failures are worth a line.
void LogSearchFailure(const std::wstring& pattern, DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return;
    LogA("Directory: cannot search \"%s\" (error %lu)\n", WideToUtf8(pattern).c_str(),
         static_cast<unsigned long>(error));
}

}  // namespace

Win32Directory::~Win32Directory() {
    for (auto& [id, search] : searches_) ::FindClose(search.system);
}

FindHandle Win32Directory::FindFirst(const std::wstring& pattern, std::wstring& name) {
    if (pattern.find(L'\0') != std::wstring::npos) {
        LogA("Directory: a pattern with a NUL character is not searched\n");
        return FindHandle{};
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        LogSearchFailure(pattern, ::GetLastError());
        return FindHandle{};
    }
    name = found.cFileName;
    std::lock_guard<std::mutex> lock(mutex_);
    const int32_t id = next_++;
    searches_[id] = Search{search, pattern};
    return FindHandle{id};
}

bool Win32Directory::FindNext(FindHandle handle, std::wstring& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = searches_.find(handle.value);
    if (it == searches_.end()) return false;
    WIN32_FIND_DATAW found{};
    if (!::FindNextFileW(it->second.system, &found)) {
        LogSearchFailure(it->second.pattern, ::GetLastError());
        return false;
    }
    name = found.cFileName;
    return true;
}

void Win32Directory::FindClose(FindHandle handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = searches_.find(handle.value);
    if (it == searches_.end()) return;
    ::FindClose(it->second.system);
    searches_.erase(it);
}

}  // namespace platform::win32
