#pragma once
// Places the program's executable at a path of the test's choosing (through
// the simulated system backend) for as long as this object lives; every
// other backend stays as it was.

#include <optional>
#include <string>

#include "platform/backends.h"
#include "platform/sim/sim_system.h"

namespace testing_support {

class ExecutableAt {
public:
    explicit ExecutableAt(std::optional<std::wstring> path) : backends_(WithSystem(&system_)) {
        system_.SetExecutablePath(std::move(path));
    }
    // nullopt: the path cannot be obtained.
    void Set(std::optional<std::wstring> path) { system_.SetExecutablePath(std::move(path)); }
    platform::sim::SimSystem& System() { return system_; }

private:
    static platform::Backends WithSystem(platform::System* system) {
        platform::Backends backends = platform::InstalledBackends();
        backends.system = system;
        return backends;
    }

    platform::sim::SimSystem system_;
    platform::ScopedBackends backends_;
};

}  // namespace testing_support
