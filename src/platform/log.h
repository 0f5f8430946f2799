#pragma once
// The debug log: one wide-character and one narrow output, formatted like
// the platform's debug output calls. Sinks receive each write as one text
// (wide writes converted to UTF-8, narrow writes passed on byte for byte).

#include <cstdarg>
#include <mutex>
#include <string>
#include <vector>

// Wide writes reach the sinks in UTF-8; callers of the log convert with the
// same functions.
#include "platform/text_codec.h"

// The narrow output formats as the C standard says (%zu, %lld); MinGW's
// compiler checks plain "printf" formats against the older system library's
// rules, so there the standard's rules are named explicitly.
#if defined(__MINGW32__)
#define CORVANE_PRINTF_FORMAT(fmt, first) __attribute__((format(gnu_printf, fmt, first)))
#else
#define CORVANE_PRINTF_FORMAT(fmt, first) __attribute__((format(printf, fmt, first)))
#endif

namespace platform {

// Wide and Narrow are the two debug outputs; Console is what the program
// writes to its standard output stream.
enum class LogOutput { Wide, Narrow, Console };

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void Write(LogOutput output, const std::string& text) = 0;
};

// Formats into a buffer of 16000 characters (at most 15999 used), as the
// wide debug output does. %ls takes a wide string.
void LogW(const wchar_t* format, ...);
void LogWV(const wchar_t* format, va_list args);
// Formats into a buffer of 16000 bytes, as the narrow debug output does.
void LogA(const char* format, ...) CORVANE_PRINTF_FORMAT(1, 2);
void LogAV(const char* format, va_list args);

void LogConsole(const std::string& text);

void AddLogSink(LogSink* sink);
void RemoveLogSink(LogSink* sink);

// Captures every log write while it exists (for tests).
class LogCapture : public LogSink {
public:
    LogCapture();
    ~LogCapture() override;
    void Write(LogOutput output, const std::string& text) override;

    std::vector<std::string> Texts() const;
    // True when some write equals text exactly.
    bool Contains(const std::string& text) const;
    // Number of writes equal to text.
    int Count(const std::string& text) const;
    // True when some write contains the fragment.
    bool ContainsFragment(const std::string& fragment) const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

}  // namespace platform
