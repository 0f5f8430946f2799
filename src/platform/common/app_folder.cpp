#include "platform/app_folder.h"

#include <unistd.h>

#include <climits>
#include <mutex>

#include "platform/log.h"

namespace platform {

namespace {
std::mutex g_overrideMutex;
std::optional<std::wstring> g_override;
}  // namespace

bool GetExecutablePath(std::wstring& path, size_t bufferChars) {
    std::optional<std::wstring> forced;
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        forced = g_override;
    }
    std::wstring found;
    if (forced) {
        found = *forced;
    } else {
        char buffer[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
        if (n <= 0) return false;
        found = Utf8ToWide(std::string(buffer, static_cast<size_t>(n)));
    }
    if (bufferChars == 0 || found.size() > bufferChars - 1) return false;
    path = found;
    return true;
}

void OverrideExecutablePath(std::optional<std::wstring> path) {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_override = std::move(path);
}

}  // namespace platform
