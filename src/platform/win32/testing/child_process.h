#pragma once
// A program started by a test under the system, waited for with a time
// limit and ended by force if it is still running when the test is done.

#include <cstdint>
#include <string>

namespace platform::win32::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The command line as the system takes it (program path first, quoted
    // where it has blanks). False when the program could not be started.
    bool Start(const std::wstring& commandLine);
    // True when the program ended within the time; its exit code then.
    bool Wait(uint32_t timeoutMs, uint32_t& exitCode);
    bool Running();
    void Kill();

private:
    void* process_ = nullptr;
};

// The folder of the running test program, with a trailing backslash.
std::wstring OwnFolder();

}  // namespace platform::win32::testing
