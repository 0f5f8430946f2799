#include "main/sim/png_writer.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/log.h"

namespace sim {

namespace {

// Far beyond any display picture; keeps width * scale * height * scale well
// inside the simplified writer's limits.
constexpr int kMaxPngSide = 8192;

bool ValidSize(int width, int height, int scale) {
    if (width <= 0 || height <= 0 || scale <= 0) return false;
    return static_cast<int64_t>(width) * scale <= kMaxPngSide && static_cast<int64_t>(height) * scale <= kMaxPngSide;
}

std::vector<png_byte> ScaledGrey(int width, int height, const std::function<bool(int x, int y)>& isLit, int scale) {
    const size_t outWidth = static_cast<size_t>(width) * static_cast<size_t>(scale);
    std::vector<png_byte> pixels(outWidth * static_cast<size_t>(height) * static_cast<size_t>(scale));
    for (size_t row = 0; row < static_cast<size_t>(height) * static_cast<size_t>(scale); ++row) {
        const int y = static_cast<int>(row / static_cast<size_t>(scale));
        for (size_t col = 0; col < outWidth; ++col) {
            const int x = static_cast<int>(col / static_cast<size_t>(scale));
            pixels[row * outWidth + col] = isLit(x, y) ? kPngLitGrey : kPngDarkGrey;
        }
    }
    return pixels;
}

}  // namespace

bool WriteMonoPng(const std::string& path, int width, int height, const std::function<bool(int x, int y)>& isLit,
                  int scale) {
    if (!isLit || !ValidSize(width, height, scale)) {
        platform::LogA("WriteMonoPng: refused %s: size %d x %d, scale %d\n", path.c_str(), width, height, scale);
        return false;
    }
    const std::vector<png_byte> pixels = ScaledGrey(width, height, isLit, scale);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width * scale);
    image.height = static_cast<png_uint_32>(height * scale);
    image.format = PNG_FORMAT_GRAY;
    // The simplified writer reports failures through image.message instead
    // of longjmp, which would skip C++ destructors.
    const int ok = png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
    if (ok == 0) platform::LogA("WriteMonoPng: cannot write %s: %s\n", path.c_str(), image.message);
    png_image_free(&image);
    return ok != 0;
}

}  // namespace sim
