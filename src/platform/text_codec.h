#pragma once
// Text-codec port: conversions between wide characters and the byte
// encodings the program meets: UTF-8 (Skype's texts, the log), UTF-16LE
// (profile files written in it), the system's ANSI code page and the
// Traditional Chinese code page 950 (the contact names' sort order).
//
// Wide text is what wchar_t holds: UTF-16 on Windows, one code point per
// wchar_t elsewhere.
//
// Contract of every conversion:
// - Invalid input never stops a conversion and never reads or writes out of
//   bounds. Decoding: each byte (each two-byte unit for UTF-16LE) that does
//   not belong to a well-formed character of the encoding becomes one
//   U+FFFD; this covers bad lead and continuation bytes, overlong UTF-8,
//   encoded surrogates, values beyond U+10FFFF, unpaired UTF-16 surrogates and
//   a character cut off at the end. Encoding: each wide character the target
//   cannot hold (or that is no character at all, such as a lone surrogate off
//   Windows) becomes the target's default character, '?' for the code pages
//   and U+FFFD for UTF-8 and UTF-16LE. `replaced` tells whether either
//   happened.
// - Encoding with a byte limit writes whole characters only: the output ends
//   before the first character (or default character) that would not fit,
//   never inside one. The limit counts bytes without any terminator.
// - Output has no byte-order mark and no terminator; embedded NULs pass.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace platform {

// The values are the system's code page numbers; Ansi means "whatever the
// system's ANSI code page is" (UTF-8 off Windows).
enum class CodePage : unsigned {
    Ansi = 0,
    TraditionalChinese = 950,
    Utf16Le = 1200,
    Utf8 = 65001,
};

constexpr size_t kNoByteLimit = std::numeric_limits<size_t>::max();

struct DecodedText {
    std::wstring text;
    bool replaced = false;  // some input was not well-formed
};

struct EncodedText {
    std::string bytes;
    bool replaced = false;  // some character became the default character
};

class TextCodec {
public:
    virtual ~TextCodec() = default;
    // May be called from any thread at any time, also during static
    // destruction (the log converts its wide output here).
    virtual DecodedText ToWide(CodePage page, std::string_view bytes) = 0;
    virtual EncodedText FromWide(CodePage page, std::wstring_view text, size_t maxBytes) = 0;
};

// The process-wide codec (platform/backends.h installs it); the build's
// default lives until the process ends.
TextCodec& CurrentTextCodec();

// The common cases, through the current codec.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

}  // namespace platform
