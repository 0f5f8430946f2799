// Build-time tool: draws the program's application icon (a handset with
// its display and keys) and writes it as a Windows icon file holding the
// sizes the shell asks for (16, 24, 32, 48 and 256 pixels), 32-bit colour
// with alpha.
//
//   app_icon_gen <out.ico>
//
// The picture is described in unit coordinates (0 … 1 across the icon) and
// sampled 4 × 4 times per pixel, so every size is drawn from the same shapes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct RoundRect {
    double left, top, right, bottom, radius;
    bool Contains(double x, double y) const {
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        const double dx = x - cx, dy = y - cy;
        return x >= left && x <= right && y >= top && y <= bottom && dx * dx + dy * dy <= radius * radius;
    }
};

constexpr Rgba kOutline{0x1C, 0x2B, 0x3A, 0xFF};
constexpr Rgba kBody{0x2E, 0x6D, 0xB4, 0xFF};
constexpr Rgba kScreen{0xC8, 0xF0, 0xC8, 0xFF};
constexpr Rgba kScreenText{0x20, 0x50, 0x20, 0xFF};
constexpr Rgba kKey{0xF2, 0xF4, 0xF7, 0xFF};

// The colour of one point of the picture, later layers over earlier ones.
Rgba ColourAt(double x, double y) {
    const RoundRect outline{0.22, 0.02, 0.78, 0.98, 0.12};
    const RoundRect body{0.26, 0.05, 0.74, 0.95, 0.09};
    const RoundRect screen{0.32, 0.12, 0.68, 0.38, 0.03};
    if (!outline.Contains(x, y)) return {};
    if (!body.Contains(x, y)) return kOutline;
    if (screen.Contains(x, y)) {
        const bool textLine = (y > 0.19 && y < 0.22 && x > 0.36 && x < 0.60) ||
                              (y > 0.27 && y < 0.30 && x > 0.36 && x < 0.52);
        return textLine ? kScreenText : kScreen;
    }
    // Three columns of four keys.
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            const double cx = 0.37 + 0.13 * column, cy = 0.50 + 0.12 * row;
            const RoundRect key{cx - 0.045, cy - 0.035, cx + 0.045, cy + 0.035, 0.015};
            if (key.Contains(x, y)) return kKey;
        }
    }
    return kBody;
}

// One size, top row first, colours averaged over 4 × 4 samples a pixel.
std::vector<Rgba> Draw(int size) {
    constexpr int kSamples = 4;
    std::vector<Rgba> pixels(static_cast<size_t>(size * size));
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            std::array<double, 4> sum{};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgba c = ColourAt((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size);
                    const double alpha = c.a / 255.0;
                    sum[0] += c.r * alpha;
                    sum[1] += c.g * alpha;
                    sum[2] += c.b * alpha;
                    sum[3] += alpha;
                }
            }
            Rgba& out = pixels[static_cast<size_t>(py * size + px)];
            if (sum[3] > 0) {
                out.r = static_cast<uint8_t>(std::lround(sum[0] / sum[3]));
                out.g = static_cast<uint8_t>(std::lround(sum[1] / sum[3]));
                out.b = static_cast<uint8_t>(std::lround(sum[2] / sum[3]));
            }
            out.a = static_cast<uint8_t>(std::lround(255.0 * sum[3] / (kSamples * kSamples)));
        }
    }
    return pixels;
}

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image of the icon file: a bitmap header of twice the height (colour
// rows then mask rows), bottom row first, then the one-bit transparency
// mask, each mask row padded to 32 bits.
std::string IconImage(int size) {
    const std::vector<Rgba> pixels = Draw(size);
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Rgba& p = pixels[static_cast<size_t>(y * size + x)];
            out += static_cast<char>(p.b);
            out += static_cast<char>(p.g);
            out += static_cast<char>(p.r);
            out += static_cast<char>(p.a);
        }
    }
    const int maskRowBytes = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(maskRowBytes), '\0');
        for (int x = 0; x < size; ++x) {
            if (pixels[static_cast<size_t>(y * size + x)].a == 0) row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += row;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: app_icon_gen <out.ico>\n";
        return 2;
    }
    constexpr std::array<int, 5> kSizes{16, 24, 32, 48, 256};
    std::vector<std::string> images;
    for (int size : kSizes) images.push_back(IconImage(size));
    std::string file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, static_cast<unsigned>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = kSizes[i];
        file += static_cast<char>(size >= 256 ? 0 : size);  // 0 stands for 256
        file += static_cast<char>(size >= 256 ? 0 : size);
        file += '\0';  // no palette
        file += '\0';
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::string& image : images) file += image;
    std::ofstream out(argv[1], std::ios::binary);
    out << file;
    if (!out) {
        std::cerr << "app_icon_gen: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
