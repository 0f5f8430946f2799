#pragma once
// The serving end of a message pipe, for tests of the HID host's transfers:
// the host opens the pipe's path as it opens a device, each message is one
// report.

#include <cstdint>
#include <string>
#include <vector>

namespace platform::win32::testing {

class PipeServer {
public:
    // Creates \\.\pipe\<name>; Path() is what a client opens.
    explicit PipeServer(const std::wstring& name);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    bool Created() const;
    std::wstring Path() const { return path_; }
    // Waits until a client has opened the pipe.
    bool Accept();
    bool Send(const std::vector<uint8_t>& message);
    // One whole message from the client.
    bool Receive(std::vector<uint8_t>& message);

private:
    std::wstring path_;
    void* pipe_ = nullptr;
};

}  // namespace platform::win32::testing
