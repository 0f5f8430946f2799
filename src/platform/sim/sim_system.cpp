#include "platform/sim/sim_system.h"

namespace platform::sim {

std::optional<std::wstring> SimSystem::ExecutablePath() {
    std::lock_guard<std::mutex> lock(mutex_);
    return path_;
}

void SimSystem::TerminateProcess(int exitCode) {
    std::function<void(int)> terminator;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        terminator = terminator_;
    }
    if (terminator) terminator(exitCode);
}

void SimSystem::SetExecutablePath(std::optional<std::wstring> path) {
    std::lock_guard<std::mutex> lock(mutex_);
    path_ = std::move(path);
}

void SimSystem::SetTerminator(std::function<void(int)> terminator) {
    std::lock_guard<std::mutex> lock(mutex_);
    terminator_ = std::move(terminator);
}

}  // namespace platform::sim
