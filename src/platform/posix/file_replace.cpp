#include "platform/portable/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform {

namespace {

constexpr int kTempNameAttempts = 16;

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A new file beside the target, never an existing one.
int CreateTempFile(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = target + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

// The rename is atomic on one file system, and the temporary file lives in
// the target's folder, so it is always on the same one.
int ReplaceFile(const std::string& target, const std::string& bytes) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0) return errno;
    std::string tempPath;
    const int fd = CreateTempFile(target, tempPath);
    if (fd < 0) return errno;
    int error = 0;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
    if (error == 0 && !WriteAll(fd, bytes)) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(tempPath.c_str());
    return error;
}

}  // namespace platform
