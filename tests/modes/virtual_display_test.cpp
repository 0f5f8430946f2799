// The off-screen image's page packing and the row cache that decides what
// reaches the handset.

#include "modes/virtual_display.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include <optional>
#include "platform/backends.h"
#include "app/corvane_app.h"
#include "handset/handset_device.h"
#include "platform/log.h"
#include "world/virtual_handset.h"
#include "platform/sim/virtual_hid_bus.h"
#include "support/program_fixture.h"

namespace {

using namespace modes;

class VirtualDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::ResetProcessState();
        backends_.emplace(platform::Backends{.hidHost = &bus_});
        handset_.Plug(bus_);
        ASSERT_TRUE(handset::WriteDeviceFirst());
    }
    void TearDown() override {
        handset::ResetHandsetDevices();
        backends_.reset();
        app::ResetProcessState();
    }
    size_t Reports() { return handset_.Reports().size(); }

    platform::sim::VirtualHidBus bus_;
    std::optional<platform::ScopedBackends> backends_;
    world::VirtualHandset handset_;
    CVirtualDisplay display_;
};

TEST_F(VirtualDisplayTest, PackingPutsTheTopPixelInBitZeroOfTheUpperPage) {
    display_.SetPixel(0, 16, true);   // row 1, top pixel row, column 0
    display_.SetPixel(5, 23, true);   // row 1, last pixel row of the upper page
    display_.SetPixel(127, 24, true); // row 1, first pixel row of the lower page
    display_.SetPixel(3, 31, true);   // row 1, bottom pixel row
    display_.SetPixel(200, 31, true); // outside: ignored
    Page upper, lower;
    display_.PackRow(1, upper, lower);
    EXPECT_EQ(upper[0], 0x01);
    EXPECT_EQ(upper[5], 0x80);
    EXPECT_EQ(lower[127], 0x01);
    EXPECT_EQ(lower[3], 0x80);
    int lit = 0;
    for (int i = 0; i < kPageBytes; ++i) lit += (upper[i] != 0) + (lower[i] != 0);
    EXPECT_EQ(lit, 4);
    display_.PackRow(0, upper, lower);
    EXPECT_EQ(upper, Page{});
}

TEST_F(VirtualDisplayTest, RowCacheSendsAChangedRowOnceAndABlackRowNever) {
    platform::LogCapture log;
    display_.FlushLine(2);  // never lit: nothing
    EXPECT_EQ(Reports(), 0u);
    EXPECT_TRUE(log.Texts().empty());
    display_.FillRect(10, 32, 20, 16, true);
    display_.FlushLine(2);
    EXPECT_EQ(Reports(), 10u) << "a header and four data reports per page";
    EXPECT_TRUE(log.Contains("FlushLine: 2"));
    display_.FlushLine(2);
    EXPECT_EQ(Reports(), 10u) << "unchanged: not sent again";
    display_.ClearScreen();
    display_.FlushLine(2);
    EXPECT_EQ(Reports(), 20u) << "blanking a lit row sends it";
    const auto events = handset_.Events();
    ASSERT_EQ(events.size(), 2u);
    const auto& line = std::get<world::HandsetScreenLine>(events[0]);
    EXPECT_EQ(line.line, 2);
    EXPECT_EQ(line.upper[10], 0xFF);
    EXPECT_EQ(line.lower[29], 0xFF);
    EXPECT_EQ(line.upper[30], 0x00);
}

TEST_F(VirtualDisplayTest, WithoutHandsetTheCacheStillTakesTheRow) {
    handset::ResetHandsetDevices();
    platform::LogCapture log;
    display_.FillRect(0, 0, 1, 1, true);
    display_.FlushLine(0);
    EXPECT_TRUE(log.Contains("NewWriteDevice:Write USB failed: m_WriteHandle is not valid"));
    log.Clear();
    display_.FlushLine(0);
    EXPECT_TRUE(log.Texts().empty()) << "not tried again until the row changes";
}

class ExitBlankTest : public testing_support::ProgramTest {};

// The rows the handset was last sent lit, by the first word of each line.
std::set<std::string> LitRows(const std::vector<std::string>& lines) {
    std::map<std::string, bool> lit;
    for (const std::string& line : lines) {
        lit[line.substr(0, line.find(' '))] = line.find_first_not_of("0 ", line.find(' ')) != std::string::npos;
    }
    std::set<std::string> rows;
    for (const auto& [row, isLit] : lit) {
        if (isLit) rows.insert(row);
    }
    return rows;
}

TEST_F(ExitBlankTest, QuitBlanksRowsThatWereSentLit) {
    StartWithStartedHandset();
    World().Settle();
    modes::g_VirtualDisplay.FillRect(0, 0, 128, 16, true);
    modes::g_VirtualDisplay.FlushLine(0);
    const auto before = Channel("handset-screen");
    const std::set<std::string> lit = LitRows(before);
    ASSERT_EQ(lit.count("0"), 1u);
    World().SendQuitMessage();
    World().Settle();
    const auto blanked = Since("handset-screen", before.size());
    std::set<std::string> rows;
    for (const std::string& line : blanked) {
        rows.insert(line.substr(0, line.find(' ')));
        EXPECT_EQ(line.find_first_not_of("0 ", 2), std::string::npos) << line;
    }
    EXPECT_EQ(rows, lit) << "each lit row blanked once; black rows send nothing";
    EXPECT_EQ(blanked.size(), lit.size());
}

}  // namespace
