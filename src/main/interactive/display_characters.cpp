#include "main/interactive/display_characters.h"

#include <array>
#include <cstdint>

#include "main/interactive/text_cells.h"

namespace interactive {

namespace {

// Braille dot bits by pixel within the 2 x 4 cell: dots 1-2-3-7 down the
// left column, 4-5-6-8 down the right.
constexpr std::array<std::array<uint8_t, 2>, 4> kDotBit = {{{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}}};
constexpr char32_t kBrailleBlank = 0x2800;

}  // namespace

std::vector<std::string> BrailleRows(const HandsetPixels& pixels) {
    std::vector<std::string> rows;
    for (int row = 0; row < kDisplayRows; ++row) {
        std::string line;
        for (int column = 0; column < kDisplayColumns; ++column) {
            char32_t pattern = kBrailleBlank;
            for (int dy = 0; dy < 4; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    if (pixels.IsLit(column * 2 + dx, row * 4 + dy)) pattern |= kDotBit[static_cast<size_t>(dy)][static_cast<size_t>(dx)];
                }
            }
            line += EncodeUtf8(pattern);
        }
        rows.push_back(line);
    }
    return rows;
}

}  // namespace interactive
