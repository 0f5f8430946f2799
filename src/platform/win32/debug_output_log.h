#pragma once
// The program's log on Windows: every write goes to the debugger's output
// (wide writes as wide text, narrow ones byte for byte), and, when a file
// is named, is appended to it in UTF-8 as well, so that a run without a
// debugger attached (a test under Wine) can be read afterwards.

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/log.h"

namespace platform::win32 {

class DebugOutputLog final : public LogSink {
public:
    // An empty path: the debugger's output only. A file that cannot be
    // opened is reported there once and left out.
    explicit DebugOutputLog(const std::wstring& filePath = {});
    ~DebugOutputLog() override;
    DebugOutputLog(const DebugOutputLog&) = delete;
    DebugOutputLog& operator=(const DebugOutputLog&) = delete;

    void Write(LogOutput output, const std::string& text) override;

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

}  // namespace platform::win32
