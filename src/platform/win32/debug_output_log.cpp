#include "platform/win32/debug_output_log.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

DebugOutputLog::DebugOutputLog(const std::wstring& filePath) {
    if (filePath.empty()) return;
    file_ = ::_wfopen(filePath.c_str(), L"ab");
    if (file_ == nullptr) {
        ::OutputDebugStringW((L"Log: cannot open the log file \"" + filePath + L"\"\n").c_str());
    }
}

DebugOutputLog::~DebugOutputLog() {
    if (file_ != nullptr) std::fclose(file_);
}

void DebugOutputLog::Write(LogOutput output, const std::string& text) {
    if (output == LogOutput::Wide) ::OutputDebugStringW(Utf8ToWide(text).c_str());
    if (output == LogOutput::Narrow) ::OutputDebugStringA(text.c_str());
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

}  // namespace platform::win32
