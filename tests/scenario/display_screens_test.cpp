// What the display handsets and those without a display get: the one-time
// "NO LCD" notice, screens kept in the image and never sent, the pictures
// of the simulated run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "modes/icon_strip.h"
#include "modes/virtual_display.h"
#include "support/program_fixture.h"
#include "support/temp_folder.h"

namespace {

class DisplayScreensTest : public testing_support::ProgramTest {
protected:
    void StartWithDisplaySetting(int setting) {
        World().Skype().Start();
        World().WriteSetting("VAL_ENABLE_LCM", std::to_string(setting));
        StartWithStartedHandset();
        World().Advance(3000);
    }
    // Columns of the page bytes (hex) that hold a lit pixel.
    static std::vector<int> LitColumns(const std::string& hexPage) {
        std::vector<int> columns;
        for (size_t i = 0; i + 1 < hexPage.size(); i += 2) {
            if (hexPage.compare(i, 2, "00") != 0) columns.push_back(static_cast<int>(i / 2));
        }
        return columns;
    }
};

TEST_F(DisplayScreensTest, WithoutDisplayTheNoticeIsSentOnceCentredOnTheFirstRow) {
    StartWithDisplaySetting(0);
    World().Advance(5000);
    const auto lines = Channel("handset-screen");
    ASSERT_EQ(lines.size(), 1u) << "only the lit row, only once";
    EXPECT_EQ(lines[0].substr(0, 2), "0 ");
    EXPECT_EQ(Channel("screen"), (std::vector<std::string>{"0", "1", "2", "3"}));
    const std::string upper = lines[0].substr(2, 256), lower = lines[0].substr(259, 256);
    std::vector<int> columns = LitColumns(upper);
    for (int c : LitColumns(lower)) columns.push_back(c);
    ASSERT_FALSE(columns.empty());
    const auto [minIt, maxIt] = std::minmax_element(columns.begin(), columns.end());
    EXPECT_NEAR((*minIt + *maxIt) / 2, 64, 2);
    EXPECT_GT(*maxIt - *minIt, 30) << "six letters";
}

std::string Hex(const modes::Page& page) {
    std::string text;
    char two[3];
    for (uint8_t b : page) {
        std::snprintf(two, sizeof(two), "%02x", b);
        text += two;
    }
    return text;
}

TEST_F(DisplayScreensTest, WithDisplayTheIdleScreenReachesTheHandsetRowByRow) {
    StartWithDisplaySetting(1);
    const modes::ScreenImage image = modes::g_VirtualDisplay.Image();
    int litRows[4] = {};
    for (int y = 0; y < modes::kScreenHeight; ++y) {
        for (int x = 0; x < modes::kScreenWidth; ++x) litRows[y / 16] += image[y][x] ? 1 : 0;
    }
    EXPECT_GT(litRows[0], 0) << "icon and clock";
    EXPECT_GT(litRows[1], 0) << "the user's name";
    EXPECT_GT(litRows[2], 0) << "the date";
    EXPECT_GT(litRows[3], 0) << "the soft keys";
    EXPECT_TRUE(modes::g_VirtualDisplay.Mirror() == image) << "every row flushed as drawn";
    // The handset was last sent each row as the image holds it.
    std::map<int, std::string> lastSent;
    for (const std::string& line : Channel("handset-screen")) lastSent[std::stoi(line)] = line.substr(2);
    for (int row = 0; row < modes::kTextRows; ++row) {
        modes::Page upper, lower;
        modes::g_VirtualDisplay.PackRow(row, upper, lower);
        ASSERT_EQ(lastSent.count(row), 1u) << row;
        EXPECT_EQ(lastSent[row], Hex(upper) + " " + Hex(lower)) << "row " << row;
    }
}

// Which icon of the strip the 16 x 16 block at (x, y) shows, -1 for none.
int IconAt(const modes::ScreenImage& image, int x, int y) {
    for (int icon = 0; icon < modes::kIconCount; ++icon) {
        bool same = true;
        for (int dy = 0; dy < modes::kIconSize && same; ++dy) {
            for (int dx = 0; dx < modes::kIconSize && same; ++dx) {
                same = image[y + dy][x + dx] == modes::IconPixel(icon, dx, dy);
            }
        }
        if (same) return icon;
    }
    return -1;
}

TEST_F(DisplayScreensTest, RingingScreenAnimatesItsBellAndTalkingShowsMute) {
    StartWithDisplaySetting(1);
    World().Skype().CallIn("7", "alice", "Alice Liddell");
    World().Advance(1600);  // the call's type is known from the first timer redraw on
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        const auto image = modes::g_VirtualDisplay.Image();
        EXPECT_EQ(IconAt(image, 0, 0), modes::kIconStatus);
        frames.push_back(IconAt(image, 18, 0));
        World().Advance(1000);
    }
    // Each redraw shows the next frame of the three.
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i] - modes::kIconRinging1, (frames[i - 1] - modes::kIconRinging1 + 1) % 3) << i;
    }
    World().Skype().Answer("7");
    World().Skype().Notify("MUTE ON");
    World().Advance(1000);
    const auto talking = modes::g_VirtualDisplay.Image();
    EXPECT_EQ(IconAt(talking, 18, 0), modes::kIconCallInProgress);
    EXPECT_EQ(IconAt(talking, 35, 0), modes::kIconMuted);
    World().Skype().Notify("MUTE OFF");
    World().Advance(1000);
    EXPECT_NE(IconAt(modes::g_VirtualDisplay.Image(), 35, 0), modes::kIconMuted);
}

// The display setting has one meaning everywhere: a value other than 0 or 1
// makes the whole program behave exactly as without a display (keys, the
// notice, drawing, the talking mode's mute key).
TEST(DisplaySettingTest, ValuesOtherThanZeroAndOneBehaveAsNoDisplay) {
    auto run = [](const std::string& value) {
        const std::string script = "setting VAL_ENABLE_LCM " + value +
                                   "\nhandset plug\nskype start\nstart\nhandset press 240\nwait 500\n"
                                   "handset key KEY_5\nwait 300\nhandset key KEY_HOOKUP\nwait 1000\n"
                                   "skype call-in 7 alice Alice\nwait 500\nhandset key KEY_HOOKUP\nwait 500\n"
                                   "handset key KEY_MUTE\nwait 500\nhandset key KEY_HOOKDOWN\nwait 3000\nexit\n";
        sim::SimWorld world(sim::SimWorld::Options{});
        std::ostringstream errors;
        sim::ScriptRunner runner(world, errors);
        EXPECT_EQ(runner.Run(sim::ParseScript(script)), 0) << errors.str();
        return world.Log().Lines();
    };
    const auto withoutDisplay = run("0");
    EXPECT_NE(run("1"), withoutDisplay) << "the script must tell the two apart";
    for (const char* value : {"2", "-1", "7"}) EXPECT_EQ(run(value), withoutDisplay) << value;
}

TEST(DisplayPicturesTest, EveryChangedFrameBecomesAPicture) {
    testing_support::TempFolder folder;
    sim::SimWorld::Options options;
    options.pictureFolder = folder.Path();
    {
        sim::SimWorld world(options);
        world.Skype().Start();
        world.StartWithReadyHandset();
        world.Advance(2400);
        world.Stop();
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 2u) << "the blank start and the idle screen at least";
    EXPECT_EQ(names[0], "frame-0001.png");
    EXPECT_EQ(names[1], "frame-0002.png");
    EXPECT_LE(names.size(), 6u) << "an unchanged redraw writes nothing (the clock's minute may turn)";
}

}  // namespace
