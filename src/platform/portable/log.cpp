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

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += "\xEF\xBF\xBD";
    }
}
}  // namespace

std::string WideToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) AppendUtf8(out, static_cast<char32_t>(wc));
    return out;
}

std::wstring Utf8ToWide(const std::string& text) {
    std::wstring out;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        if (i + len > n) {
            out += L'\uFFFD';
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += len;
    }
    return out;
}

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
