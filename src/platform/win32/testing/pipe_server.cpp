// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/testing/pipe_server.h"

namespace platform::win32::testing {

namespace {
constexpr DWORD kBufferBytes = 4096;
}

PipeServer::PipeServer(const std::wstring& name) : path_(L"\\\\.\\pipe\\" + name) {
    HANDLE pipe = CreateNamedPipeW(path_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                   1, kBufferBytes, kBufferBytes, 0, nullptr);
    pipe_ = pipe == INVALID_HANDLE_VALUE ? nullptr : pipe;
}

PipeServer::~PipeServer() {
    if (pipe_) CloseHandle(pipe_);
}

bool PipeServer::Created() const { return pipe_ != nullptr; }

bool PipeServer::Accept() {
    if (!pipe_) return false;
    return ConnectNamedPipe(pipe_, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
}

bool PipeServer::Send(const std::vector<uint8_t>& message) {
    DWORD written = 0;
    return pipe_ && WriteFile(pipe_, message.data(), static_cast<DWORD>(message.size()), &written, nullptr) &&
           written == message.size();
}

bool PipeServer::Receive(std::vector<uint8_t>& message) {
    message.assign(kBufferBytes, 0);
    DWORD read = 0;
    if (!pipe_ || !ReadFile(pipe_, message.data(), kBufferBytes, &read, nullptr)) return false;
    message.resize(read);
    return true;
}

}  // namespace platform::win32::testing
