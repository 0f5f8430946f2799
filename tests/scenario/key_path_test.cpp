// The key path end to end: handset reports through the read thread, the
// timers and the key-event thread to the modes, and commands back.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/program_fixture.h"

namespace {

using testing_support::ProgramTest;

class KeyPathTest : public ProgramTest {};

TEST_F(KeyPathTest, StartupEntersUnconnectedAndInitialisesHandset) {
    Handset().Plug(World().Bus());
    World().Start();
    EXPECT_EQ(Channel("mode"), std::vector<std::string>{"16 MODE_UNCONNECTED"});
    EXPECT_EQ(Channel("handset-cmd"), std::vector<std::string>{"CMD_INIT 0 0 0"});
    EXPECT_TRUE(Logged("MODE_UNCONNECTED 000"));
    EXPECT_TRUE(Logged("SwitchMode:16"));
}

TEST_F(KeyPathTest, StartReportInitialisesHandsetOncePerConnection) {
    StartWithStartedHandset();
    Handset().Press(240);  // a second start report while still plugged
    World().Advance(200);
    // The started handset forgot the light: the next report lights it again.
    const std::vector<std::string> expected = {"CMD_INIT 0 0 0", "CMD_LIGHT_ON 0 0 0", "CMD_DEVICE_START 80 4 0",
                                               "CMD_CONTRAST 162 35 37", "CMD_LIGHT_ON 0 0 0"};
    EXPECT_EQ(Channel("handset-cmd"), expected);
    EXPECT_EQ(CountOf("log", "Device start"), 1);
    EXPECT_TRUE(Logged("MODE_UNCONNECTED 222"));  // started, but no Skype yet
    EXPECT_TRUE(Channel("key").empty());           // the start report is not a key
}

// Skype may attach before the handset reports its start; the main mode's
// first redraw then sends the contrast to a handset that is not listening.
// The start sequence must still send it, not take it for a repeat.
TEST_F(KeyPathTest, StartSequenceSendsTheContrastEvenIfSentBeforeTheStart) {
    Handset().Plug(World().Bus());
    World().Skype().Start();
    World().Start();
    World().Advance(200);
    ASSERT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    ASSERT_EQ(CountOf("handset-cmd", "CMD_CONTRAST 162 35 37"), 1) << "the main mode's redraw before the start";
    Handset().Press(240);
    World().Advance(200);
    const auto cmds = Channel("handset-cmd");
    const auto start = std::find(cmds.begin(), cmds.end(), "CMD_DEVICE_START 80 4 0");
    ASSERT_NE(start, cmds.end());
    ASSERT_NE(start + 1, cmds.end());
    EXPECT_EQ(*(start + 1), "CMD_CONTRAST 162 35 37");
}

TEST_F(KeyPathTest, ShortPressReachesModeAtRelease) {
    StartWithStartedHandset();
    Handset().Press(2);  // default map: code 2 is KEY_1
    World().Advance(700);
    EXPECT_TRUE(Channel("key").empty()) << "a key is not queued on press";
    Handset().Release();
    World().Advance(100);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"1"});
    EXPECT_TRUE(Logged("1 pressed"));
}

TEST_F(KeyPathTest, KeyHeldForLongPressWindowGivesLongIdAndNothingAtRelease) {
    StartWithStartedHandset();
    Handset().Press(10);  // KEY_0
    World().Advance(1300 + 25);
    ASSERT_EQ(Channel("key"), std::vector<std::string>{"100"});
    EXPECT_TRUE(Logged("LONG KEY PRESSED!"));
    EXPECT_TRUE(Logged("0 LONG pressed"));
    Handset().Release();
    World().Advance(2000);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"100"});
}

TEST_F(KeyPathTest, SecondPressBeforeReleaseReportsTheSecondKey) {
    StartWithStartedHandset();
    Handset().Press(2);  // KEY_1
    World().Advance(1000);
    Handset().Press(7);  // KEY_2 restarts the long-press window
    World().Advance(1000);
    Handset().Release();
    World().Advance(100);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"2"});
}

TEST_F(KeyPathTest, KeyLightsHandsetAndLightGoesOutTenSecondsLater) {
    StartWithStartedHandset();
    PressAndRelease(2);  // the started handset forgot the light: it is sent again
    const size_t before = Channel("handset-cmd").size();
    EXPECT_EQ(Channel("handset-cmd").back(), "CMD_LIGHT_ON 0 0 0");
    PressAndRelease(5);
    std::vector<std::string> cmds = Channel("handset-cmd");
    ASSERT_EQ(cmds.size(), before);  // the light is already on
    World().Advance(15000);
    cmds = Channel("handset-cmd");
    ASSERT_EQ(cmds.size(), before + 1);
    EXPECT_EQ(cmds.back(), "CMD_LIGHT_OFF 0 0 0");
    PressAndRelease(3);
    EXPECT_EQ(Channel("handset-cmd").back(), "CMD_LIGHT_ON 0 0 0");
}

TEST_F(KeyPathTest, LightOffComesTenSecondsAfterTheLastKey) {
    StartWithStartedHandset();
    World().Advance(15000);  // the start report's light period ends
    Handset().Press(2);
    World().Advance(100);
    const auto timed = Timed("handset-cmd");
    ASSERT_FALSE(timed.empty());
    const std::string on = timed.back();
    ASSERT_NE(on.find("CMD_LIGHT_ON"), std::string::npos);
    const long onAt = std::stol(on);
    Handset().Release();
    World().Advance(12000);
    const std::string off = Timed("handset-cmd").back();
    ASSERT_NE(off.find("CMD_LIGHT_OFF"), std::string::npos);
    EXPECT_EQ(std::stol(off) - onAt, 10000);
}

TEST_F(KeyPathTest, KeyMapFromSettingsTranslatesCodes) {
    World().WriteSetting("VAL_KEYSCAN_2", "5");
    StartWithStartedHandset();
    PressAndRelease(2);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"5"});
}

TEST_F(KeyPathTest, KeyMapEntryOfStartCodeActsAsStartReport) {
    World().WriteSetting("VAL_KEYSCAN_3", "240");
    Handset().Plug(World().Bus());
    World().Start();
    PressAndRelease(3);
    EXPECT_EQ(CountOf("log", "Device start"), 1);
    EXPECT_TRUE(Channel("key").empty());
}

struct ContrastCase {
    const char* level;
    const char* expected;
};

void PrintTo(const ContrastCase& c, std::ostream* os) { *os << "level " << c.level; }

class ContrastLevelTest : public ProgramTest, public ::testing::WithParamInterface<ContrastCase> {};

TEST_P(ContrastLevelTest, StartSendsTripleOfChosenLevel) {
    World().WriteSetting("VAL_LCM_CONTRAST", GetParam().level);
    StartWithStartedHandset();
    const auto cmds = Channel("handset-cmd");
    ASSERT_GE(cmds.size(), 4u);
    EXPECT_EQ(cmds[3], GetParam().expected);
}

// Levels outside 0 ... 2 are clamped to the nearest level.
INSTANTIATE_TEST_SUITE_P(Levels, ContrastLevelTest,
                         ::testing::Values(ContrastCase{"0", "CMD_CONTRAST 162 35 34"},
                                           ContrastCase{"1", "CMD_CONTRAST 162 35 37"},
                                           ContrastCase{"2", "CMD_CONTRAST 162 35 40"},
                                           ContrastCase{"7", "CMD_CONTRAST 162 35 40"},
                                           ContrastCase{"-3", "CMD_CONTRAST 162 35 34"},
                                           ContrastCase{"garbage", "CMD_CONTRAST 162 35 34"}));

TEST_F(KeyPathTest, ContrastValuesSendOnlyTheirLowByte) {
    World().WriteSetting("VAL_CONTRAST_1A", "418");  // 0x1A2
    World().WriteSetting("VAL_CONTRAST_1C", "-1");
    StartWithStartedHandset();
    EXPECT_EQ(Channel("handset-cmd")[3], "CMD_CONTRAST 162 35 255");
}

struct BadReportCase {
    const char* what;
    std::vector<uint8_t> report;
};

void PrintTo(const BadReportCase& c, std::ostream* os) { *os << c.what; }

std::vector<uint8_t> LongReport() {
    std::vector<uint8_t> r(1000, 0);
    r[0] = 3;
    r[1] = 255;
    return r;
}

class BadReportTest : public ProgramTest, public ::testing::WithParamInterface<BadReportCase> {};

TEST_P(BadReportTest, IsIgnoredWithoutQueueingAKey) {
    StartWithStartedHandset();
    Handset().Press(2);  // a key is down: a stray release would queue it
    World().Advance(100);
    Handset().InjectInput(GetParam().report);
    World().Advance(200);
    EXPECT_TRUE(Channel("key").empty()) << GetParam().what;
    Handset().Release();
    World().Advance(100);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"1"}) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Reports, BadReportTest,
    ::testing::Values(BadReportCase{"empty report", {}}, BadReportCase{"report id only", {3}},
                      BadReportCase{"other report id", {4, 0}}, BadReportCase{"code 26 (no key map entry)", {3, 26}},
                      BadReportCase{"code 28", {3, 28}}, BadReportCase{"code 255", {3, 255}},
                      BadReportCase{"long report", LongReport()}));

TEST_F(KeyPathTest, ShortReportIsLogged) {
    StartWithStartedHandset();
    Handset().InjectInput({3});
    World().Advance(100);
    bool found = false;
    for (const auto& t : Channel("log")) found = found || t.find("too short") != std::string::npos;
    EXPECT_TRUE(found);
}

TEST_F(KeyPathTest, ReleaseWithoutPressSinceStartQueuesNothing) {
    StartWithStartedHandset();
    Handset().Release();
    World().Advance(200);
    EXPECT_TRUE(Channel("key").empty());
}

TEST_F(KeyPathTest, WithoutHandsetReadThreadLogsInvalidHandle) {
    World().Start();
    World().Advance(200);
    EXPECT_TRUE(Logged("Read USB failed: m_ReadHandle is not valid"));
    EXPECT_TRUE(Logged("NewWriteCmd:Write USB failed: m_WriteHandle is not valid"));
    EXPECT_TRUE(Channel("handset-cmd").empty());
}

TEST_F(KeyPathTest, InterfaceWithAnotherUsageIsPassedOver) {
    platform::sim::HidInterfaceDescription other;
    other.path = L"\\\\?\\hid#vid_04d9&pid_2832&mi_02#7&9&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    other.vendorId = 0x04D9;
    other.productId = 0x2832;
    other.usagePage = 0xFF00;
    other.usage = 0x02;
    other.inputReportLength = 9;
    other.outputReportLength = 33;
    World().Bus().AttachInterface(other);  // enumerated before the handset
    StartWithStartedHandset();
    EXPECT_EQ(Channel("handset-cmd").front(), "CMD_INIT 0 0 0");
    PressAndRelease(2);
    EXPECT_EQ(Channel("key"), std::vector<std::string>{"1"});
}

TEST_F(KeyPathTest, SameScriptGivesSameTranscript) {
    auto run = [] {
        sim::SimWorld world(sim::SimWorld::Options::WithLogLines());
        world.Handset().Plug(world.Bus());
        world.Start();
        world.Handset().Press(240);
        world.Advance(100);
        for (uint8_t code : std::initializer_list<uint8_t>{2, 7, 12, 1, 16}) {
            world.Handset().Press(code);
            world.Advance(code == 12 ? 1500 : 80);
            world.Handset().Release();
            world.Advance(60);
        }
        world.Advance(12000);
        world.Stop();
        return world.Log().Lines();
    };
    const auto first = run();
    EXPECT_GT(first.size(), 80u);
    EXPECT_EQ(run(), first);
}

}  // namespace
