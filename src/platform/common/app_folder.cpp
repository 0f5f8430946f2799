#include "platform/app_folder.h"

#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/log.h"

namespace platform {

namespace {

constexpr size_t kFirstLinkBufferBytes = 256;
constexpr size_t kMaxLinkBufferBytes = 1 << 16;

std::mutex& OverrideMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::wstring>& OverridePath() {
    static std::optional<std::wstring> path;
    return path;
}

std::optional<std::wstring> CurrentOverride() {
    std::lock_guard<std::mutex> lock(OverrideMutex());
    return OverridePath();
}

// readlink does not say when it cut the link short, so a result that fills
// the buffer is read again with a larger one.
std::optional<std::wstring> ProcessImagePath() {
    std::vector<char> buffer(kFirstLinkBufferBytes);
    while (buffer.size() <= kMaxLinkBufferBytes) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n <= 0) return std::nullopt;
        const auto length = static_cast<size_t>(n);
        if (length < buffer.size()) return Utf8ToWide(std::string(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}

}  // namespace

bool GetExecutablePath(std::wstring& path, size_t bufferChars) {
    std::optional<std::wstring> found = CurrentOverride();
    if (!found) found = ProcessImagePath();
    if (!found || bufferChars == 0 || found->size() > bufferChars - 1) {
        path.clear();
        return false;
    }
    path = std::move(*found);
    return true;
}

void OverrideExecutablePath(std::optional<std::wstring> path) {
    std::lock_guard<std::mutex> lock(OverrideMutex());
    OverridePath() = std::move(path);
}

}  // namespace platform
