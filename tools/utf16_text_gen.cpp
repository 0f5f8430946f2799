// Build-time tool: converts a UTF-8 text file (a settings or language file)
// into the form the Windows program installs: UTF-16LE with its byte-order
// mark and CRLF line ends. The system's profile calls read a file without
// the mark in the ANSI code page, which would turn every non-ASCII text into
// garbage; with the mark they read and write it as UTF-16.
//
//   utf16_text_gen <in.ini> <out.ini>
//
// Input that is not well-formed UTF-8 fails the build with its byte offset.

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

// The next code point at `at`, or -1 when the bytes there are not UTF-8.
long NextCodePoint(const std::string& bytes, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int extra = 0;
    long value = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) extra = 1, value = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) extra = 2, value = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) extra = 3, value = lead & 0x07;
    else return -1;
    if (at + static_cast<size_t>(extra) >= bytes.size()) return -1;  // cut off at the end
    for (int i = 1; i <= extra; ++i) {
        const unsigned char c = byte(at + static_cast<size_t>(i));
        if ((c & 0xC0) != 0x80) return -1;
        value = (value << 6) | (c & 0x3F);
    }
    const long smallest[] = {0, 0x80, 0x800, 0x10000};
    if (value < smallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return -1;
    at += static_cast<size_t>(extra) + 1;
    return value;
}

void PutUnit(std::string& out, unsigned unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

void PutCodePoint(std::string& out, long value) {
    if (value < 0x10000) {
        PutUnit(out, static_cast<unsigned>(value));
        return;
    }
    const long v = value - 0x10000;
    PutUnit(out, static_cast<unsigned>(0xD800 + (v >> 10)));
    PutUnit(out, static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: utf16_text_gen <in.ini> <out.ini>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": error: cannot read\n";
        return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string out = "\xFF\xFE";
    while (at < bytes.size()) {
        const size_t start = at;
        const long value = NextCodePoint(bytes, at);
        if (value < 0) {
            std::cerr << argv[1] << ": error: not UTF-8 at byte " << start << '\n';
            return 1;
        }
        if (value == '\r') continue;  // line ends are written as CRLF below
        if (value == '\n') PutCodePoint(out, '\r');
        PutCodePoint(out, value);
    }
    std::ofstream file(argv[2], std::ios::binary);
    file << out;
    if (!file) {
        std::cerr << argv[2] << ": error: cannot write\n";
        return 1;
    }
    return 0;
}
