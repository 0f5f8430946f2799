#include "platform/posix/posix_system.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/log.h"

namespace platform {

namespace {
constexpr size_t kFirstLinkBufferBytes = 256;
constexpr size_t kMaxLinkBufferBytes = 1 << 16;
}  // namespace

// readlink does not say when it cut the link short, so a result that fills
// the buffer is read again with a larger one.
std::optional<std::wstring> PosixSystem::ExecutablePath() {
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

// No static destruction and no threads joined: the program's exit ends at
// once, as on Windows.
void PosixSystem::TerminateProcess(int exitCode) { std::_Exit(exitCode); }

}  // namespace platform
