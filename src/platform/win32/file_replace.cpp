// Replacing a settings file in one step on Windows: the new bytes go to a
// fresh file beside the target, which then takes the target's place.

#include "platform/portable/file_replace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/text_codec.h"
#include "platform/win32/windows_api.h"

namespace platform {

namespace {

constexpr int kTempNameAttempts = 16;

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION: return EACCES;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return ENOENT;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        default: return EIO;
    }
}

// A failed call that left no error code still counts as failed.
DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : fallback;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// A new file beside the target, never an existing one.
HANDLE CreateTempFile(const std::wstring& target, std::wstring& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
                   L".tmp";
        HANDLE file = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

int ReplaceFile(const std::string& target, const std::string& bytes) {
    const std::wstring path = Utf8ToWide(target);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
    std::wstring tempPath;
    HANDLE file = CreateTempFile(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) return ErrnoOf(::GetLastError());
    DWORD error = 0;
    if (!WriteAll(file, bytes) || !::FlushFileBuffers(file)) error = LastErrorOr(ERROR_WRITE_FAULT);
    if (!::CloseHandle(file) && error == 0) error = LastErrorOr(ERROR_WRITE_FAULT);
    if (error == 0 &&
        !::MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (error != 0) ::DeleteFileW(tempPath.c_str());
    return error == 0 ? 0 : ErrnoOf(error);
}

}  // namespace platform
