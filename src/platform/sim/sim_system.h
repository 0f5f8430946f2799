#pragma once
// The simulated world's system: the program lives in a folder the world
// chose, its end is recorded instead of ending the test process, and the
// system version is the world's choice.

#include <atomic>
#include <functional>
#include <mutex>

#include "platform/system.h"

namespace platform::sim {

class SimSystem final : public System {
public:
    std::optional<std::wstring> ExecutablePath() override;
    // Calls the terminator (set before program threads run) and returns.
    void TerminateProcess(int exitCode) override;
    bool IsVistaOrLater() override { return vistaOrLater_.load(); }

    // nullopt: the path cannot be obtained.
    void SetExecutablePath(std::optional<std::wstring> path);
    void SetTerminator(std::function<void(int exitCode)> terminator);
    void SetVistaOrLater(bool vistaOrLater) { vistaOrLater_ = vistaOrLater; }

private:
    std::mutex mutex_;
    std::optional<std::wstring> path_;
    std::function<void(int)> terminator_;
    std::atomic<bool> vistaOrLater_{true};
};

}  // namespace platform::sim
