#include "main/interactive/text_cells.h"

#include "main/sim/transcript_text.h"

namespace interactive {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// East Asian wide and full-width blocks (Hangul Jamo, CJK radicals to Yi,
// Hangul syllables, CJK compatibility, vertical forms, full-width forms, and
// the supplementary ideographic planes).
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

constexpr Range kCombining[] = {
    {0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE20, 0xFE2F},
};

bool InRanges(char32_t c, const Range* begin, const Range* end) {
    for (const Range* r = begin; r != end; ++r) {
        if (c >= r->first && c <= r->last) return true;
    }
    return false;
}

}  // namespace

int CellWidth(char32_t codePoint) {
    if (InRanges(codePoint, std::begin(kCombining), std::end(kCombining))) return 0;
    if (InRanges(codePoint, std::begin(kWide), std::end(kWide))) return 2;
    return 1;
}

size_t DecodeUtf8(const std::string& text, size_t at, char32_t& codePoint) {
    const size_t length = sim::Utf8CharLength(text, at);
    if (length == 0) {
        codePoint = 0xFFFD;
        return 1;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    codePoint = lead & kLeadMask[length];
    for (size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
    }
    return length;
}

std::string EncodeUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

int TextCells(const std::string& utf8) {
    int cells = 0;
    for (size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        at += DecodeUtf8(utf8, at, c);
        cells += CellWidth(c);
    }
    return cells;
}

std::string FitCells(const std::string& utf8, int cells) {
    std::string out;
    int used = 0;
    for (size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        const size_t length = DecodeUtf8(utf8, at, c);
        const int width = CellWidth(c);
        if (used + width > cells) break;
        // A byte outside UTF-8 would upset the terminal; it shows as U+FFFD.
        out += length == 1 && c == 0xFFFD ? EncodeUtf8(c) : utf8.substr(at, length);
        used += width;
        at += length;
    }
    out.append(static_cast<size_t>(cells > used ? cells - used : 0), ' ');
    return out;
}

}  // namespace interactive
