#pragma once
// The text codec on Windows: the system's MultiByteToWideChar and
// WideCharToMultiByte for UTF-8, the ANSI code page and code page 950.
// Those calls either fail on the first bad character or replace it in
// their own way, so where a whole text does not convert cleanly it is
// converted again one character at a time, which gives the port's
// replacements and its whole-character byte limit. UTF-16LE is wide text
// already and only needs its surrogates checked.

#include "platform/text_codec.h"

namespace platform::win32 {

class Win32Codec final : public TextCodec {
public:
    DecodedText ToWide(CodePage page, std::string_view bytes) override;
    EncodedText FromWide(CodePage page, std::wstring_view text, size_t maxBytes) override;
};

}  // namespace platform::win32
