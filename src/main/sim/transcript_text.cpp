#include "main/sim/transcript_text.h"

#include <cstdio>

namespace sim {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The range the second byte must fall into after a lead byte, which rules
// out overlong forms, surrogates and code points past U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
    if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
    if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
    return IsContinuation(second);
}

size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// C1 control characters (U+0080 ... U+009F) are C2 80 ... C2 9F.
bool IsC1Control(const std::string& text, size_t at) {
    return static_cast<unsigned char>(text[at]) == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

void AppendEscaped(std::string& out, unsigned char c) {
    if (c == '\n') {
        out += "\\n";
    } else if (c == '\r') {
        out += "\\r";
    } else {
        char hex[8];
        std::snprintf(hex, sizeof(hex), "\\x%02X", c);
        out += hex;
    }
}

}  // namespace

size_t Utf8CharLength(const std::string& text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    const size_t length = SequenceLength(lead);
    if (length == 0 || at + length > text.size()) return 0;
    if (!SecondByteFits(lead, static_cast<unsigned char>(text[at + 1]))) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return 0;
    }
    return length;
}

std::string TranscriptText(const std::string& text) {
    std::string out;
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
    const std::string kept = text.substr(0, end);
    for (size_t i = 0; i < kept.size();) {
        const auto c = static_cast<unsigned char>(kept[i]);
        const size_t length = Utf8CharLength(kept, i);
        if (length == 1 && c >= 0x20 && c != 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (length > 1 && !IsC1Control(kept, i)) {
            out.append(kept, i, length);
            i += length;
        } else {
            // A control character or a byte outside UTF-8: every byte of it
            // escaped, so the line still says exactly what was sent.
            const size_t bytes = length == 0 ? 1 : length;
            for (size_t b = 0; b < bytes; ++b) AppendEscaped(out, static_cast<unsigned char>(kept[i + b]));
            i += bytes;
        }
    }
    return out;
}

}  // namespace sim
