#include "platform/win32/win32_codec.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

static_assert(sizeof(wchar_t) == 2, "wide characters are UTF-16 units here");
constexpr wchar_t kReplacementCharacter = L'\uFFFD';
constexpr char kDefaultCodePageCharacter[] = "?";

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

UINT SystemCodePage(CodePage page) {
    if (page == CodePage::Ansi) return ::GetACP();
    return static_cast<UINT>(page);
}

// Length of the character a lead byte starts, as far as the lead byte tells.
size_t SequenceLength(UINT codePage, unsigned char lead) {
    if (codePage == CP_UTF8) {
        if (lead >= 0xF0) return 4;
        if (lead >= 0xE0) return 3;
        if (lead >= 0xC0) return 2;
        return 1;
    }
    return ::IsDBCSLeadByteEx(codePage, lead) ? 2 : 1;
}

// Strict decoding: false when any byte is not part of a mapped character.
bool DecodeStrict(UINT codePage, std::string_view bytes, std::wstring& out) {
    if (bytes.empty()) return true;
    const int inLength = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (n <= 0) return false;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, wide.data(), n) != n) {
        return false;
    }
    out += wide;
    return true;
}

DecodedText DecodeUtf16Le(std::string_view bytes) {
    DecodedText result;
    std::wstring units;
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
    }
    for (size_t i = 0; i < units.size(); ++i) {
        const wchar_t c = units[i];
        if (IsHighSurrogate(c) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            result.text += c;
            result.text += units[++i];
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            result.text += kReplacementCharacter;
            result.replaced = true;
        } else {
            result.text += c;
        }
    }
    if (bytes.size() % 2 != 0) {
        result.text += kReplacementCharacter;
        result.replaced = true;
    }
    return result;
}

// The wide characters of one character (a surrogate pair counts as one);
// a lone surrogate is a character the targets cannot hold.
size_t CharacterUnits(std::wstring_view text, size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

bool IsLoneSurrogate(std::wstring_view character) {
    return character.size() == 1 && (IsHighSurrogate(character[0]) || IsLowSurrogate(character[0]));
}

// Strict encoding: false when a character has no exact form in the code page.
bool EncodeStrict(UINT codePage, std::wstring_view text, std::string& out) {
    if (text.empty()) return true;
    const int inLength = static_cast<int>(text.size());
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const char* defaultChar = utf8 ? nullptr : kDefaultCodePageCharacter;
    const int n = ::WideCharToMultiByte(codePage, flags, text.data(), inLength, nullptr, 0, defaultChar,
                                        usedDefaultOut);
    if (n <= 0 || usedDefault) return false;
    std::string bytes(static_cast<size_t>(n), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), inLength, bytes.data(), n, defaultChar,
                              usedDefaultOut) != n ||
        usedDefault) {
        return false;
    }
    out += bytes;
    return true;
}

std::string DefaultCharacter(CodePage page) {
    switch (page) {
        case CodePage::Utf8: return "\xEF\xBF\xBD";
        case CodePage::Utf16Le: return std::string("\xFD\xFF", 2);
        default: return kDefaultCodePageCharacter;
    }
}

bool EncodeCharacter(CodePage page, std::wstring_view character, std::string& out) {
    if (IsLoneSurrogate(character)) return false;
    if (page != CodePage::Utf16Le) return EncodeStrict(SystemCodePage(page), character, out);
    for (wchar_t c : character) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return true;
}

}  // namespace

DecodedText Win32Codec::ToWide(CodePage page, std::string_view bytes) {
    if (page == CodePage::Utf16Le) return DecodeUtf16Le(bytes);
    const UINT codePage = SystemCodePage(page);
    DecodedText result;
    if (DecodeStrict(codePage, bytes, result.text)) return result;
    result.text.clear();
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = SequenceLength(codePage, static_cast<unsigned char>(bytes[at]));
        if (at + length <= bytes.size() && DecodeStrict(codePage, bytes.substr(at, length), result.text)) {
            at += length;
            continue;
        }
        result.text += kReplacementCharacter;
        result.replaced = true;
        ++at;
    }
    return result;
}

EncodedText Win32Codec::FromWide(CodePage page, std::wstring_view text, size_t maxBytes) {
    EncodedText result;
    if (page != CodePage::Utf16Le && EncodeStrict(SystemCodePage(page), text, result.bytes) &&
        result.bytes.size() <= maxBytes) {
        return result;
    }
    result.bytes.clear();
    const std::string fallback = DefaultCharacter(page);
    for (size_t at = 0; at < text.size();) {
        const size_t units = CharacterUnits(text, at);
        std::string character;
        const bool exact = EncodeCharacter(page, text.substr(at, units), character);
        if (!exact) character = fallback;
        if (result.bytes.size() + character.size() > maxBytes) break;
        result.bytes += character;
        result.replaced |= !exact;
        at += units;
    }
    return result;
}

}  // namespace platform::win32
