// How texts of the program appear in the transcript: UTF-8 as it is, control
// characters and bytes outside UTF-8 escaped one byte at a time.

#include "main/sim/transcript_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TranscriptTextTest, KeepsUtf8AndEscapesControlsAndStrayBytes) {
    struct Case {
        const char* why;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"plain ASCII", "PING", "PING"},
        {"Polish", "brak po\xC5\x82\xC4\x85" "czenia", "brak po\xC5\x82\xC4\x85" "czenia"},
        {"Chinese (three bytes each)", "\xE6\x9C\xAA\xE8\xBF\x9E", "\xE6\x9C\xAA\xE8\xBF\x9E"},
        {"four-byte character", "\xF0\x9F\x93\x9E", "\xF0\x9F\x93\x9E"},
        {"trailing line feeds dropped", "text\r\n\n", "text"},
        {"inner line feeds shown", "a\nb\rc", "a\\nb\\rc"},
        {"C0 controls and DEL", std::string("a\x01\tb\x7F", 5), "a\\x01\\x09b\\x7F"},
        {"C1 control (U+0085) byte by byte", "a\xC2\x85z", "a\\xC2\\x85z"},
        {"U+00A0 is no control", "a\xC2\xA0z", "a\xC2\xA0z"},
        {"code page 950 bytes", "success\xA8\xEC", "success\\xA8\\xEC"},
        {"sequence cut by the end", "ab\xE6\x9C", "ab\\xE6\\x9C"},
        {"sequence cut by ASCII", "\xC5z", "\\xC5z"},
        {"overlong slash", "\xC0\xAF", "\\xC0\\xAF"},
        {"overlong three-byte form", "\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
        {"surrogate half", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"lone continuation before a good character", "\x80\xC5\x82", "\\x80\xC5\x82"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(sim::TranscriptText(c.text), c.shown);
    }
}

TEST(TranscriptTextTest, NulIsEscapedNotAnEnd) {
    EXPECT_EQ(sim::TranscriptText(std::string("a\0b", 3)), "a\\x00b");
}

}  // namespace
