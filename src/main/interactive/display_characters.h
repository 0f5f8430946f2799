#pragma once
// The handset's 128 x 64 one-bit display as terminal characters: each
// Braille pattern holds 2 x 4 pixels, so the whole display fits in 64
// columns and 16 rows with every pixel shown (a lit pixel is a dot).

#include <string>
#include <vector>

#include "modes/virtual_display.h"

namespace interactive {

constexpr int kDisplayColumns = modes::kScreenWidth / 2;
constexpr int kDisplayRows = modes::kScreenHeight / 4;

// The display's pixels, as the modes draw them.
class HandsetPixels {
public:
    HandsetPixels() = default;
    explicit HandsetPixels(const modes::ScreenImage& image) : image_(image) {}
    bool IsLit(int x, int y) const { return image_[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
    void SetPixel(int x, int y, bool lit) { image_[static_cast<size_t>(y)][static_cast<size_t>(x)] = lit; }
    void Clear() { image_ = {}; }

private:
    modes::ScreenImage image_{};
};

// kDisplayRows lines of kDisplayColumns Braille characters each (UTF-8);
// a cell without lit pixels is the blank pattern U+2800.
std::vector<std::string> BrailleRows(const HandsetPixels& pixels);

}  // namespace interactive
