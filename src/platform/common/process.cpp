#include "platform/process.h"

#include <cstdlib>
#include <mutex>

namespace platform {

namespace {
std::mutex g_mutex;
std::function<void(int)> g_terminator;
}  // namespace

void TerminateProcess(int exitCode) {
    std::function<void(int)> terminator;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        terminator = g_terminator;
    }
    if (terminator) {
        terminator(exitCode);
        return;
    }
    std::_Exit(exitCode);
}

void InstallProcessTerminator(std::function<void(int)> terminator) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_terminator = std::move(terminator);
}

}  // namespace platform
