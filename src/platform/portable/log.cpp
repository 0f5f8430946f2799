#include "platform/log.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace platform {

namespace {
constexpr size_t kLogBufferChars = 16000;

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}
std::vector<LogSink*>& Sinks() {
    static std::vector<LogSink*> sinks;
    return sinks;
}

void Dispatch(LogOutput output, const std::string& text) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    for (LogSink* sink : Sinks()) sink->Write(output, text);
}
}  // namespace

void LogWV(const wchar_t* format, va_list args) {
    wchar_t buffer[kLogBufferChars];
    int n = std::vswprintf(buffer, kLogBufferChars - 1, format, args);
    if (n < 0) {
        // Too long for the buffer: keep what was formatted.
        buffer[kLogBufferChars - 2] = L'\0';
    }
    Dispatch(LogOutput::Wide, WideToUtf8(buffer));
}

void LogW(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    LogWV(format, args);
    va_end(args);
}

void LogAV(const char* format, va_list args) {
    char buffer[kLogBufferChars];
    std::vsnprintf(buffer, kLogBufferChars, format, args);
    Dispatch(LogOutput::Narrow, buffer);
}

void LogA(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogAV(format, args);
    va_end(args);
}

void LogConsole(const std::string& text) { Dispatch(LogOutput::Console, text); }

void AddLogSink(LogSink* sink) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    Sinks().push_back(sink);
}

void RemoveLogSink(LogSink* sink) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    auto& sinks = Sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
}

LogCapture::LogCapture() { AddLogSink(this); }
LogCapture::~LogCapture() { RemoveLogSink(this); }

void LogCapture::Write(LogOutput, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.push_back(text);
}

std::vector<std::string> LogCapture::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

bool LogCapture::Contains(const std::string& text) const { return Count(text) > 0; }

int LogCapture::Count(const std::string& text) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count(texts_.begin(), texts_.end(), text));
}

bool LogCapture::ContainsFragment(const std::string& fragment) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(texts_.begin(), texts_.end(),
                       [&](const std::string& t) { return t.find(fragment) != std::string::npos; });
}

void LogCapture::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.clear();
}

}  // namespace platform
