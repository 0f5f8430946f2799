// The system's text codec (iconv off Windows, the system's conversions on
// Windows) against the port's contract: conversions each way for every code page,
// malformed input, characters a code page lacks, byte limits that must not
// split a character, the fallback for a code page iconv lacks, and the
// process-wide codec.

#ifdef _WIN32
#include "platform/win32/win32_codec.h"
#else
#include "platform/posix/iconv_codec.h"
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/backends.h"
#include "platform/log.h"
#include "platform/text_codec.h"

namespace {

using platform::CodePage;
#ifdef _WIN32
using SystemCodec = platform::win32::Win32Codec;
#else
using SystemCodec = platform::posix::IconvCodec;
#endif

constexpr wchar_t kReplacement = L'\uFFFD';

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
        out += ' ';
    }
    return out;
}

std::string Encode(SystemCodec& codec, CodePage page, std::wstring_view text) {
    return codec.FromWide(page, text, platform::kNoByteLimit).bytes;
}

struct DecodeCase {
    const char* what;
    CodePage page;
    std::string bytes;
    std::wstring text;
    bool replaced;
};

TEST(SystemCodec, DecodesEachCodePageAndReplacesEveryBadUnit) {
    const std::wstring r(1, kReplacement);
    const DecodeCase cases[] = {
        {"empty", CodePage::Utf8, "", L"", false},
        {"ASCII", CodePage::Utf8, "Call ended", L"Call ended", false},
        {"CJK", CodePage::Utf8, "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E", L"\u738B\u5C0F\u660E", false},
        {"beyond the BMP", CodePage::Utf8, "\xF0\x9F\x98\x80", L"\U0001F600", false},
        {"embedded NUL", CodePage::Utf8, std::string("a\0b", 3), std::wstring(L"a\0b", 3), false},
        {"bad lead byte", CodePage::Utf8, "a\xFF" "b", L"a" + r + L"b", true},
        {"missing continuation", CodePage::Utf8, "\xC3(", r + L"(", true},
        {"cut off at the end", CodePage::Utf8, "a\xE4\xBD", L"a" + r + r, true},
        {"overlong", CodePage::Utf8, "\xC0\xAF" "x", r + r + L"x", true},
        {"encoded surrogate", CodePage::Utf8, "\xED\xA0\x80", r + r + r, true},
        {"beyond U+10FFFF", CodePage::Utf8, "\xF4\x90\x80\x80", r + r + r + r, true},
        {"ANSI is UTF-8", CodePage::Ansi, "C:\\\xE7\x8E\x8B.wav", L"C:\\\u738B.wav", false},
        {"950 double bytes", CodePage::TraditionalChinese, "\xA4\xFD\xA4\x40z", L"\u738B\u4E00z", false},
        {"950 lead byte cut off", CodePage::TraditionalChinese, "ab\xA4", L"ab" + r, true},
        {"UTF-16LE", CodePage::Utf16Le, std::string("a\0\x8B\x73", 4), L"a\u738B", false},
        {"UTF-16LE pair", CodePage::Utf16Le, std::string("\x3D\xD8\x00\xDE", 4), L"\U0001F600", false},
        {"UTF-16LE lone high surrogate", CodePage::Utf16Le, std::string("\x3D\xD8" "a\0", 4), r + L"a", true},
        {"UTF-16LE lone low surrogate", CodePage::Utf16Le, std::string("\x00\xDE", 2), r, true},
        {"UTF-16LE odd last byte", CodePage::Utf16Le, std::string("a\0b", 3), L"a" + r, true},
    };
    SystemCodec codec;
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const platform::DecodedText decoded = codec.ToWide(c.page, c.bytes);
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_EQ(decoded.replaced, c.replaced);
    }
}

struct EncodeCase {
    const char* what;
    CodePage page;
    std::wstring text;
    std::string bytes;
    bool replaced;
};

TEST(SystemCodec, EncodesEachCodePageWithItsDefaultCharacterForWhatItLacks) {
    const EncodeCase cases[] = {
        {"empty", CodePage::Utf8, L"", "", false},
        {"CJK", CodePage::Utf8, L"\u738B", "\xE7\x8E\x8B", false},
        {"beyond the BMP", CodePage::Utf8, L"\U0001F600", "\xF0\x9F\x98\x80", false},
        {"lone surrogate", CodePage::Utf8, std::wstring(1, static_cast<wchar_t>(0xD800)) + L"a", "\xEF\xBF\xBD" "a",
         true},
        {"beyond U+10FFFF", CodePage::Utf8, std::wstring(1, static_cast<wchar_t>(0x110000)), "\xEF\xBF\xBD", true},
        {"ANSI holds every character", CodePage::Ansi, L"\u0142\u738B", "\xC5\x82\xE7\x8E\x8B", false},
        {"ANSI lone surrogate", CodePage::Ansi, std::wstring(1, static_cast<wchar_t>(0xDC00)), "?", true},
        {"950 ASCII", CodePage::TraditionalChinese, L"Bob Lee", "Bob Lee", false},
        {"950 CJK", CodePage::TraditionalChinese, L"\u738B\u4E00", "\xA4\xFD\xA4\x40", false},
        {"950 lacks Polish letters", CodePage::TraditionalChinese, L"\u0142ukasz", "?ukasz", true},
        {"950 lacks emoji", CodePage::TraditionalChinese, L"a\U0001F600", "a?", true},
        {"UTF-16LE pair", CodePage::Utf16Le, L"a\U0001F600", std::string("a\0\x3D\xD8\x00\xDE", 6), false},
        {"UTF-16LE lone surrogate", CodePage::Utf16Le, std::wstring(1, static_cast<wchar_t>(0xD800)),
         "\xFD\xFF", true},
    };
    SystemCodec codec;
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const platform::EncodedText encoded = codec.FromWide(c.page, c.text, platform::kNoByteLimit);
        EXPECT_EQ(Hex(encoded.bytes), Hex(c.bytes));
        EXPECT_EQ(encoded.replaced, c.replaced);
    }
}

// For every limit: the output is the longest run of whole characters that
// fits, a prefix of the unlimited output.
TEST(SystemCodec, ByteLimitsCutBetweenCharacters) {
    struct Case {
        CodePage page;
        std::wstring text;
    };
    const Case cases[] = {
        {CodePage::TraditionalChinese, L"a\u738B\u0142b\u4E00\u4E00"},
        {CodePage::Utf8, L"x\u00E9\u738B\U0001F600y"},
        {CodePage::Utf16Le, L"x\U0001F600\u738B"},
    };
    SystemCodec codec;
    for (const Case& c : cases) {
        const std::string whole = Encode(codec, c.page, c.text);
        for (size_t limit = 0; limit <= whole.size() + 1; ++limit) {
            SCOPED_TRACE(static_cast<unsigned>(c.page));
            SCOPED_TRACE(limit);
            const std::string cut = codec.FromWide(c.page, c.text, limit).bytes;
            ASSERT_LE(cut.size(), limit);
            EXPECT_EQ(cut, whole.substr(0, cut.size()));
            size_t characters = 0;
            while (characters < c.text.size() &&
                   Encode(codec, c.page, c.text.substr(0, characters + 1)).size() <= cut.size()) {
                ++characters;
            }
            EXPECT_EQ(Encode(codec, c.page, c.text.substr(0, characters)), cut) << "not a character boundary";
            if (characters < c.text.size()) {
                EXPECT_GT(Encode(codec, c.page, c.text.substr(0, characters + 1)).size(), limit)
                    << "one more character would have fitted";
            }
        }
    }
}

// Random bytes: whatever comes out decodes again without loss, and a second
// round trip changes nothing. Out-of-bounds access shows under the
// sanitizers.
TEST(SystemCodec, ArbitraryBytesRoundTripAfterTheirFirstDecoding) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 24);
    SystemCodec codec;
    for (CodePage page : {CodePage::Utf8, CodePage::TraditionalChinese, CodePage::Utf16Le}) {
        for (int i = 0; i < 400; ++i) {
            std::string bytes;
            for (int n = length(random); n > 0; --n) bytes += static_cast<char>(byte(random));
            SCOPED_TRACE(Hex(bytes));
            const platform::DecodedText first = codec.ToWide(page, bytes);
            ASSERT_LE(first.text.size(), bytes.size());
            const platform::EncodedText utf8 = codec.FromWide(CodePage::Utf8, first.text, platform::kNoByteLimit);
            EXPECT_FALSE(utf8.replaced);
            const platform::DecodedText second = codec.ToWide(CodePage::Utf8, utf8.bytes);
            EXPECT_FALSE(second.replaced);
            EXPECT_EQ(second.text, first.text);
        }
    }
}

TEST(SystemCodec, ACodePageTheLibraryLacksConvertsAsciiOnlyAndSaysSoOnce) {
    platform::LogCapture log;
    SystemCodec codec;
    const auto unknown = static_cast<CodePage>(1);
    EXPECT_EQ(codec.ToWide(unknown, "ab\xA4\xFD").text, std::wstring(L"ab") + kReplacement + kReplacement);
    const platform::EncodedText encoded = codec.FromWide(unknown, L"a\u738Bb", 2);
    EXPECT_EQ(encoded.bytes, "a?");
    EXPECT_TRUE(encoded.replaced);
    EXPECT_EQ(Encode(codec, unknown, L"ok"), "ok");
    int lines = 0;
    for (const std::string& text : log.Texts()) lines += text.find("code page 1;") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lines, 2) << "once each way";
}

TEST(SystemCodec, ConvertsFromSeveralThreadsAtOnce) {
    SystemCodec codec;
    const std::wstring text = L"\u738B\u5C0F\u660E Bob \u0142";
    const std::string expected = Encode(codec, CodePage::TraditionalChinese, text);
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                if (Encode(codec, CodePage::TraditionalChinese, text) != expected) ++mismatches;
                if (codec.ToWide(CodePage::TraditionalChinese, expected).text.size() != text.size()) ++mismatches;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// Answers everything with a marker, so a test can tell it was used.
class MarkingCodec final : public platform::TextCodec {
public:
    platform::DecodedText ToWide(CodePage, std::string_view) override { return {L"marked", false}; }
    platform::EncodedText FromWide(CodePage, std::wstring_view, size_t) override { return {"marked", false}; }
};

TEST(CurrentTextCodec, IsTheInstalledOneUntilItIsRemoved) {
    EXPECT_EQ(&platform::CurrentTextCodec(), platform::DefaultBackends().codec);
    MarkingCodec marking;
    {
        platform::ScopedBackends backends({.codec = &marking});
        EXPECT_EQ(platform::WideToUtf8(L"\u738B"), "marked");
        EXPECT_EQ(platform::Utf8ToWide("x"), L"marked");
    }
    EXPECT_EQ(platform::WideToUtf8(L"\u738B"), "\xE7\x8E\x8B");
    EXPECT_EQ(platform::Utf8ToWide("\xE7\x8E\x8B"), L"\u738B");
}

}  // namespace
