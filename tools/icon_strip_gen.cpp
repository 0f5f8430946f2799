// Build-time tool: turns the icon picture (resources/icon_strip.txt) into
// the program's icon data (a C++ source) and a one-bit BMP strip of all
// icons side by side for the Windows resource script.
//
//   icon_strip_gen <picture.txt> <out.cpp> <out.bmp>
//
// A malformed picture fails the build with "<file>:<line>: error: ...".

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kIconCount = 39;
constexpr int kIconSize = 16;
constexpr int kStripWidth = kIconCount * kIconSize;

using IconRows = std::array<uint16_t, kIconSize>;  // bit 15 is x = 0

struct Icon {
    std::string name;
    IconRows rows{};
};

struct ParseError {
    int line;
    std::string message;
};

class PictureParser {
public:
    explicit PictureParser(std::istream& in) : m_In(in) {}

    std::vector<Icon> Parse() {
        std::vector<Icon> icons;
        std::string line;
        while (NextLine(line)) {
            if (line.empty() || line.rfind("//", 0) == 0) continue;
            icons.push_back(ParseIcon(line, static_cast<int>(icons.size())));
        }
        if (icons.size() != static_cast<size_t>(kIconCount)) {
            Fail("expected " + std::to_string(kIconCount) + " icons, found " + std::to_string(icons.size()));
        }
        return icons;
    }

private:
    bool NextLine(std::string& line) {
        if (!std::getline(m_In, line)) return false;
        ++m_Line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

    [[noreturn]] void Fail(const std::string& message) const { throw ParseError{m_Line, message}; }

    Icon ParseIcon(const std::string& header, int expectedIndex) {
        std::istringstream fields(header);
        std::string keyword;
        int index = -1;
        Icon icon;
        if (!(fields >> keyword >> index) || keyword != "icon") Fail("expected \"icon <index> <name>\", got \"" + header + "\"");
        if (index != expectedIndex) {
            Fail("expected icon " + std::to_string(expectedIndex) + ", got icon " + std::to_string(index));
        }
        std::getline(fields >> std::ws, icon.name);
        for (int y = 0; y < kIconSize; ++y) icon.rows[static_cast<size_t>(y)] = ParseRow();
        return icon;
    }

    uint16_t ParseRow() {
        std::string line;
        if (!NextLine(line)) Fail("picture ends inside an icon");
        if (line.size() != static_cast<size_t>(kIconSize)) {
            Fail("expected " + std::to_string(kIconSize) + " characters, got " + std::to_string(line.size()));
        }
        uint16_t bits = 0;
        for (int x = 0; x < kIconSize; ++x) {
            const char c = line[static_cast<size_t>(x)];
            if (c != '#' && c != '.') Fail(std::string("bad character '") + c + "' (only '#' and '.')");
            if (c == '#') bits = static_cast<uint16_t>(bits | (0x8000u >> x));
        }
        return bits;
    }

    std::istream& m_In;
    int m_Line = 0;
};

bool Lit(const std::vector<Icon>& icons, int x, int y) {
    const Icon& icon = icons[static_cast<size_t>(x / kIconSize)];
    return (icon.rows[static_cast<size_t>(y)] & (0x8000u >> (x % kIconSize))) != 0;
}

// A name goes into a // comment: keep it on one line and free of a
// trailing line splice.
std::string CommentSafe(const std::string& name) {
    std::string safe;
    for (char c : name) safe += (c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    return safe;
}

std::string SourceText(const std::vector<Icon>& icons) {
    std::ostringstream out;
    out << "// Generated from icon_strip.txt by icon_strip_gen; edit the picture, not this file.\n"
        << "#include <cstdint>\n\n#include \"modes/icon_strip.h\"\n\nnamespace modes {\n\n"
        << "static_assert(kIconCount == " << kIconCount << " && kIconSize == " << kIconSize
        << ", \"icon_strip.h and the icon picture disagree\");\n\n"
        << "extern const uint16_t kIconStripRows[kIconCount][kIconSize];\n"
        << "const uint16_t kIconStripRows[kIconCount][kIconSize] = {\n";
    for (size_t i = 0; i < icons.size(); ++i) {
        out << "    {";
        for (size_t y = 0; y < icons[i].rows.size(); ++y) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%04X", icons[i].rows[y]);
            out << (y == 0 ? "" : ", ") << hex;
        }
        out << "},  // " << i << ' ' << CommentSafe(icons[i].name) << '\n';
    }
    out << "};\n\n}  // namespace modes\n";
    return out.str();
}

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER + a two-entry palette (0 black,
// 1 white: a set bit is a lit pixel), rows bottom-up, each padded to 4 bytes.
std::string BmpBytes(const std::vector<Icon>& icons) {
    constexpr uint32_t kHeaderBytes = 14 + 40 + 2 * 4;
    constexpr uint32_t kStride = ((kStripWidth + 31) / 32) * 4;
    constexpr uint32_t kImageBytes = kStride * kIconSize;
    std::string out = "BM";
    PutLe(out, kHeaderBytes + kImageBytes, 4);
    PutLe(out, 0, 4);  // reserved
    PutLe(out, kHeaderBytes, 4);
    PutLe(out, 40, 4);
    PutLe(out, kStripWidth, 4);
    PutLe(out, kIconSize, 4);  // positive height: bottom-up rows
    PutLe(out, 1, 2);          // planes
    PutLe(out, 1, 2);          // bits per pixel
    PutLe(out, 0, 4);          // BI_RGB
    PutLe(out, kImageBytes, 4);
    PutLe(out, 2835, 4);  // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 2, 4);  // colours used
    PutLe(out, 2, 4);  // colours important
    PutLe(out, 0x00000000, 4);
    PutLe(out, 0x00FFFFFF, 4);
    for (int y = kIconSize - 1; y >= 0; --y) {
        std::string row(kStride, '\0');
        for (int x = 0; x < kStripWidth; ++x) {
            if (Lit(icons, x, y)) row[static_cast<size_t>(x / 8)] = static_cast<char>(row[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
        }
        out += row;
    }
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) std::cerr << path << ": error: cannot write\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: icon_strip_gen <picture.txt> <out.cpp> <out.bmp>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": error: cannot read\n";
        return 1;
    }
    std::vector<Icon> icons;
    try {
        icons = PictureParser(in).Parse();
    } catch (const ParseError& error) {
        std::cerr << argv[1] << ':' << error.line << ": error: " << error.message << '\n';
        return 1;
    }
    return WriteFile(argv[2], SourceText(icons)) && WriteFile(argv[3], BmpBytes(icons)) ? 0 : 1;
}
