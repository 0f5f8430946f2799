// The display icons: the shipped picture, the data built from it, the BMP
// strip written beside it, and the build step refusing a malformed picture.

#include "modes/icon_strip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

using namespace modes;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::string kPicturePath = std::string(CORVANE_SOURCE_DIR) + "/resources/icon_strip.txt";

std::vector<bool> IconBits(int index) {
    std::vector<bool> bits;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) bits.push_back(IconPixel(index, x, y));
    }
    return bits;
}

TEST(IconStripTest, BuiltDataMatchesEveryIconOfTheShippedPicture) {
    const std::vector<std::string> lines = Lines(testing_support::FileBytes(kPicturePath));
    int icons = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("icon ", 0) != 0) continue;
        ASSERT_LE(i + kIconSize, lines.size() - 1);
        for (int y = 0; y < kIconSize; ++y) {
            const std::string& row = lines[i + 1 + static_cast<size_t>(y)];
            for (int x = 0; x < kIconSize; ++x) {
                ASSERT_EQ(IconPixel(icons, x, y), row[static_cast<size_t>(x)] == '#')
                    << "icon " << icons << " at " << x << "," << y;
            }
        }
        ++icons;
    }
    EXPECT_EQ(icons, kIconCount);
}

TEST(IconStripTest, EveryIconTheScreensUseLightsPixels) {
    const int used[] = {kIconStatus,          kIconOutgoingCall,       kIconIncomingCall,
                        kIconMissedCall,      kIconContactOnline,      kIconContactAway,
                        kIconContactDoNotDisturb, kIconMuted,          kIconDialling1,
                        kIconDialling2,       kIconDialling3,          kIconRinging1,
                        kIconRinging2,        kIconRinging3,           kIconVoicemail,
                        kIconConferenceRowNotChosen, kIconConferenceRowChosen, kIconContactOffline,
                        kIconContactSkypeOut, kIconContactNotAvailable, kIconContactSkypeMe,
                        kIconConference,      kIconContactUnknown,     kIconCallInProgress};
    for (int index : used) {
        const std::vector<bool> bits = IconBits(index);
        EXPECT_NE(std::count(bits.begin(), bits.end(), true), 0) << "icon " << index;
    }
}

// Frames of one animation, the contact states and the two conference row
// marks each have to be told apart on the display.
TEST(IconStripTest, IconsThatShareAPlaceDiffer) {
    const std::vector<std::vector<int>> groups = {
        {kIconDialling1, kIconDialling2, kIconDialling3},
        {kIconRinging1, kIconRinging2, kIconRinging3},
        {kIconContactOnline, kIconContactAway, kIconContactDoNotDisturb, kIconContactOffline, kIconContactSkypeOut,
         kIconContactNotAvailable, kIconContactSkypeMe, kIconContactUnknown},
        {kIconConferenceRowNotChosen, kIconConferenceRowChosen},
        {kIconOutgoingCall, kIconIncomingCall, kIconMissedCall},
    };
    for (const auto& group : groups) {
        for (size_t a = 0; a < group.size(); ++a) {
            for (size_t b = a + 1; b < group.size(); ++b) {
                EXPECT_NE(IconBits(group[a]), IconBits(group[b])) << "icons " << group[a] << " and " << group[b];
            }
        }
    }
}

TEST(IconStripTest, QueriesOutsideTheStripOrTheIconAreDark) {
    struct Case {
        int index, x, y;
    };
    // Row 16 of one icon would be row 0 of the next if the row were not
    // checked: pick an icon followed by one whose top row is lit.
    ASSERT_TRUE(IconPixel(kIconCallInProgress, 6, 0));
    const Case cases[] = {{-1, 0, 4},          {kIconCount, 0, 4},          {kIconCount + 100, 2, 2},
                          {kIconStatus, -1, 2}, {kIconStatus, kIconSize, 2}, {kIconContactSkypeOut, 6, kIconSize},
                          {kIconConference, 8, -1}};
    for (const Case& c : cases) EXPECT_FALSE(IconPixel(c.index, c.x, c.y)) << c.index << " " << c.x << "," << c.y;
}

uint32_t Le(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

TEST(IconStripTest, BmpStripIsOneBitIconsSideBySide) {
    const std::string bmp = testing_support::FileBytes(CORVANE_ICON_BMP);
    ASSERT_GE(bmp.size(), 62u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    const uint32_t pixelsAt = Le(bmp, 10, 4);
    EXPECT_EQ(Le(bmp, 14, 4), 40u);
    const int width = static_cast<int>(Le(bmp, 18, 4));
    const int height = static_cast<int32_t>(Le(bmp, 22, 4));
    EXPECT_EQ(width, kIconCount * kIconSize);
    ASSERT_EQ(height, kIconSize) << "rows are stored bottom-up";
    EXPECT_EQ(Le(bmp, 28, 2), 1u) << "bits per pixel";
    EXPECT_EQ(Le(bmp, 30, 4), 0u) << "uncompressed";

    // Palette entry 1 is white: a set bit is a lit pixel.
    EXPECT_EQ(Le(bmp, 54, 4) & 0xFFFFFFu, 0x000000u);
    EXPECT_EQ(Le(bmp, 58, 4) & 0xFFFFFFu, 0xFFFFFFu);
    const size_t stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    ASSERT_EQ(bmp.size(), pixelsAt + stride * kIconSize);
    for (int y = 0; y < kIconSize; ++y) {
        const size_t row = pixelsAt + stride * static_cast<size_t>(kIconSize - 1 - y);
        for (int x = 0; x < width; ++x) {
            const bool set = (static_cast<unsigned char>(bmp[row + static_cast<size_t>(x / 8)]) & (0x80 >> (x % 8))) != 0;
            ASSERT_EQ(set, IconPixel(x / kIconSize, x % kIconSize, y)) << x << "," << y;
        }
    }
}

class IconStripGeneratorTest : public ::testing::Test {
protected:
    // Runs the build step on a picture; returns its exit status and leaves
    // its messages in errors_.
    int Generate(const std::string& picture) {
        folder_.Write("picture.txt", picture);
        const std::string dir = folder_.Path().string();
        const std::string command = std::string("'") + CORVANE_ICON_STRIP_GEN + "' '" + dir + "/picture.txt' '" + dir +
                                    "/out.cpp' '" + dir + "/out.bmp' 2>'" + dir + "/errors.txt'";
        const int status = std::system(command.c_str());
        errors_ = folder_.Read("errors.txt");
        return status;
    }

    static std::string Join(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        return text;
    }

    static size_t HeaderLine(const std::vector<std::string>& lines, int index) {
        const std::string header = "icon " + std::to_string(index) + " ";
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind(header, 0) == 0) return i;
        }
        return lines.size();
    }

    testing_support::TempFolder folder_;
    std::string errors_;
    const std::vector<std::string> shipped_ = Lines(testing_support::FileBytes(kPicturePath));
};

TEST_F(IconStripGeneratorTest, ShippedPictureGivesTheBuiltStrip) {
    ASSERT_EQ(Generate(Join(shipped_)), 0) << errors_;
    EXPECT_EQ(folder_.Read("out.bmp"), testing_support::FileBytes(CORVANE_ICON_BMP));
    EXPECT_NE(folder_.Read("out.cpp").find("kIconStripRows"), std::string::npos);
}

TEST_F(IconStripGeneratorTest, MalformedPictureFailsNamingTheLine) {
    struct Case {
        const char* what;
        size_t line;  // 0-based line to change
        std::string replacement;
        const char* message;
    };
    const size_t icon5 = HeaderLine(shipped_, 5);
    const size_t icon38 = HeaderLine(shipped_, 38);
    ASSERT_LT(icon38, shipped_.size());
    const Case cases[] = {
        {"short row", icon5 + 3, "...............", "expected 16 characters, got 15"},
        {"long row", icon5 + 3, ".................", "expected 16 characters, got 17"},
        {"bad character", icon5 + 16, "......x.........", "bad character 'x'"},
        {"wrong index", icon5, "icon 6 contact away", "expected icon 5, got icon 6"},
        {"bad header", icon5, "icn 5 contact away", "expected \"icon <index> <name>\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = shipped_;
        lines[c.line] = c.replacement;
        EXPECT_NE(Generate(Join(lines)), 0);
        EXPECT_NE(errors_.find("picture.txt:" + std::to_string(c.line + 1) + ": error: " + c.message), std::string::npos)
            << errors_;
    }
}

TEST_F(IconStripGeneratorTest, PictureWithAnIconTooFewOrCutShortFails) {
    const size_t icon38 = HeaderLine(shipped_, 38);
    const std::vector<std::string> withoutLast(shipped_.begin(), shipped_.begin() + static_cast<ptrdiff_t>(icon38));
    EXPECT_NE(Generate(Join(withoutLast)), 0);
    EXPECT_NE(errors_.find("expected 39 icons, found 38"), std::string::npos) << errors_;

    const std::vector<std::string> cut(shipped_.begin(), shipped_.begin() + static_cast<ptrdiff_t>(icon38 + 5));
    EXPECT_NE(Generate(Join(cut)), 0);
    EXPECT_NE(errors_.find("picture ends inside an icon"), std::string::npos) << errors_;
}

}  // namespace
