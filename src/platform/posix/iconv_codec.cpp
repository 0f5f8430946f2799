#include "platform/posix/iconv_codec.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/log.h"

namespace platform::posix {

namespace {

// Wide text as UTF-32 in the machine's byte order rather than iconv's
// "WCHAR_T", which passes values beyond U+10FFFF both ways.
static_assert(sizeof(wchar_t) == 4, "wide characters hold one code point here");
constexpr const char* kWideName = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
constexpr wchar_t kReplacementCharacter = L'\uFFFD';
constexpr char32_t kLastAscii = 0x7F;
// No character of any supported encoding takes more bytes than this for one
// wide character, the default characters included.
constexpr size_t kMaxBytesPerCharacter = 4;

const char* IconvName(CodePage page) {
    switch (page) {
        case CodePage::Ansi:
        case CodePage::Utf8: return "UTF-8";
        case CodePage::TraditionalChinese: return "CP950";
        case CodePage::Utf16Le: return "UTF-16LE";
    }
    return nullptr;  // not "": to iconv that names the locale's encoding
}

// Bytes of one code unit: what a decoder skips past a bad one.
size_t UnitBytes(CodePage page) { return page == CodePage::Utf16Le ? 2 : 1; }

std::string_view DefaultCharacter(CodePage page) {
    switch (page) {
        case CodePage::Utf8: return "\xEF\xBF\xBD";
        case CodePage::Utf16Le: return std::string_view("\xFD\xFF", 2);
        default: return "?";
    }
}

std::string_view BytesOf(const wchar_t& c) { return {reinterpret_cast<const char*>(&c), sizeof(wchar_t)}; }

std::string_view BytesOf(std::wstring_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

unsigned UnitAt(std::string_view bytes, size_t at, size_t unit) {
    unsigned value = 0;
    for (size_t i = 0; i < unit && at + i < bytes.size(); ++i) {
        value |= static_cast<unsigned>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

void AppendUnit(std::string& out, char32_t value, size_t unit) {
    for (size_t i = 0; i < unit; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct ConvertedBytes {
    std::string bytes;
    bool replaced = false;
};

}  // namespace

// One iconv handle and the lock that keeps it to one thread at a time; with
// no handle (the C library lacks the code page) only ASCII converts.
class IconvCodec::Converter {
public:
    Converter(const char* to, const char* from)
        : handle_(to != nullptr && from != nullptr ? iconv_open(to, from) : kNoHandle) {}
    ~Converter() {
        if (Available()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Available() const { return handle_ != kNoHandle; }

    // At most `capacity` bytes of output; a bad input unit of `unitBytes`
    // becomes `replacement`.
    ConvertedBytes Run(std::string_view input, size_t unitBytes, std::string_view replacement, size_t capacity) {
        std::lock_guard<std::mutex> lock(mutex_);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        ConvertedBytes result;
        result.bytes.resize(capacity);
        char* in = const_cast<char*>(input.data());  // iconv's signature; it does not write there
        size_t inLeft = input.size();
        char* out = result.bytes.data();
        size_t outLeft = capacity;
        while (inLeft > 0) {
            if (iconv(handle_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
            // E2BIG: the next character does not fit whole, so the output
            // ends at a character boundary.
            if (errno == E2BIG || replacement.size() > outLeft) break;
            // EILSEQ, EINVAL: a unit that is not part of a character the
            // conversion takes (malformed, or missing from the target).
            std::memcpy(out, replacement.data(), replacement.size());
            out += replacement.size();
            outLeft -= replacement.size();
            const size_t skipped = std::min(unitBytes, inLeft);
            in += skipped;
            inLeft -= skipped;
            result.replaced = true;
        }
        result.bytes.resize(capacity - outLeft);
        return result;
    }

private:
    static inline const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);
    std::mutex mutex_;
    iconv_t handle_;
};

IconvCodec::IconvCodec() = default;
IconvCodec::~IconvCodec() = default;

IconvCodec::Converter& IconvCodec::ConverterFor(CodePage page, Direction direction) {
    bool opened = false;
    Converter* converter = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto& slot = converters_[{page, direction}];
        if (!slot) {
            const char* name = IconvName(page);
            slot = direction == Direction::ToWide ? std::make_unique<Converter>(kWideName, name)
                                                  : std::make_unique<Converter>(name, kWideName);
            opened = true;
        }
        converter = slot.get();
    }
    // Logged outside the lock: a log sink may convert text itself.
    if (opened && !converter->Available()) {
        LogA("TextCodec: the C library cannot convert code page %u; only ASCII converts\n",
             static_cast<unsigned>(page));
    }
    return *converter;
}

DecodedText IconvCodec::ToWide(CodePage page, std::string_view bytes) {
    const size_t unit = UnitBytes(page);
    DecodedText result;
    Converter& converter = ConverterFor(page, Direction::ToWide);
    if (!converter.Available()) {
        for (size_t at = 0; at < bytes.size(); at += unit) {
            const unsigned value = UnitAt(bytes, at, unit);
            const bool ascii = value <= kLastAscii && at + unit <= bytes.size();
            result.text += ascii ? static_cast<wchar_t>(value) : kReplacementCharacter;
            result.replaced |= !ascii;
        }
        return result;
    }
    // Every input byte gives at most one wide character.
    const ConvertedBytes wide =
        converter.Run(bytes, unit, BytesOf(kReplacementCharacter), bytes.size() * sizeof(wchar_t));
    result.text.resize(wide.bytes.size() / sizeof(wchar_t));
    std::memcpy(result.text.data(), wide.bytes.data(), result.text.size() * sizeof(wchar_t));
    result.replaced = wide.replaced;
    return result;
}

EncodedText IconvCodec::FromWide(CodePage page, std::wstring_view text, size_t maxBytes) {
    const std::string_view replacement = DefaultCharacter(page);
    EncodedText result;
    Converter& converter = ConverterFor(page, Direction::FromWide);
    if (!converter.Available()) {
        const size_t unit = UnitBytes(page);
        for (wchar_t c : text) {
            const bool ascii = static_cast<char32_t>(c) <= kLastAscii;
            if (result.bytes.size() + (ascii ? unit : replacement.size()) > maxBytes) break;
            if (ascii) AppendUnit(result.bytes, static_cast<char32_t>(c), unit);
            else result.bytes += replacement;
            result.replaced |= !ascii;
        }
        return result;
    }
    const size_t capacity = std::min(maxBytes, text.size() * kMaxBytesPerCharacter);
    ConvertedBytes bytes = converter.Run(BytesOf(text), sizeof(wchar_t), replacement, capacity);
    result.bytes = std::move(bytes.bytes);
    result.replaced = bytes.replaced;
    return result;
}

}  // namespace platform::posix
