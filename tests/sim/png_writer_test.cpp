// Saving the display picture as an enlarged greyscale PNG.

#include "main/sim/png_writer.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/log.h"
#include "support/temp_folder.h"

namespace {

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<png_byte> grey;

    png_byte At(int x, int y) const {
        return grey[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

Decoded ReadGreyPng(const std::string& path) {
    Decoded decoded;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return decoded;
    image.format = PNG_FORMAT_GRAY;
    decoded.grey.resize(PNG_IMAGE_SIZE(image));
    decoded.ok = png_image_finish_read(&image, nullptr, decoded.grey.data(), 0, nullptr) != 0;
    decoded.width = static_cast<int>(image.width);
    decoded.height = static_cast<int>(image.height);
    png_image_free(&image);
    return decoded;
}

// An asymmetric pattern, so a transposed or mirrored image shows.
bool Pattern(int x, int y) { return (x == 0 && y == 0) || (x + 2 * y) % 3 == 1 || (x == 4 && y == 2); }

TEST(PngWriterTest, EachPixelBecomesAScaledBlockOfLitOrDarkGrey) {
    testing_support::TempFolder folder;
    const std::string path = (folder.Path() / "display.png").string();
    constexpr int kWidth = 5;
    constexpr int kHeight = 3;
    constexpr int kScale = 3;
    ASSERT_TRUE(sim::WriteMonoPng(path, kWidth, kHeight, Pattern, kScale));

    const Decoded png = ReadGreyPng(path);
    ASSERT_TRUE(png.ok);
    ASSERT_EQ(png.width, kWidth * kScale);
    ASSERT_EQ(png.height, kHeight * kScale);
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const png_byte expected = Pattern(x / kScale, y / kScale) ? sim::kPngLitGrey : sim::kPngDarkGrey;
            ASSERT_EQ(png.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PngWriterTest, UnwritablePathFailsAndIsLogged) {
    testing_support::TempFolder folder;
    platform::LogCapture log;
    const std::string path = (folder.Path() / "no-such-folder" / "display.png").string();
    EXPECT_FALSE(sim::WriteMonoPng(path, 4, 4, Pattern, 2));
    EXPECT_TRUE(log.ContainsFragment(path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PngWriterTest, BadSizeOrScaleIsRefusedWithoutWritingAFile) {
    struct Case {
        int width, height, scale;
    };
    const Case cases[] = {{0, 4, 2}, {4, -1, 2}, {4, 4, 0}, {4, 4, -3}, {128, 64, 100000}};
    testing_support::TempFolder folder;
    platform::LogCapture log;
    const std::string path = (folder.Path() / "display.png").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " scale " << c.scale);
        log.Clear();
        EXPECT_FALSE(sim::WriteMonoPng(path, c.width, c.height, Pattern, c.scale));
        EXPECT_TRUE(log.ContainsFragment("refused"));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
