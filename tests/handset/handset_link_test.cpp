// The handset link: discovery of the two interfaces, reads, commands with
// their repeat suppression, and screen lines.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/backends.h"
#include "app/corvane_app.h"
#include "handset/handset_commands.h"
#include "handset/handset_device.h"
#include "platform/log.h"
#include "world/virtual_handset.h"
#include "platform/sim/virtual_hid_bus.h"

namespace {

using namespace handset;
using platform::sim::HidInterfaceDescription;
using world::VirtualHandset;
using platform::sim::VirtualHidBus;

class HandsetLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::ResetProcessState();
        backends_.emplace(platform::Backends{.hidHost = &bus_});
    }
    void TearDown() override {
        ResetHandsetDevices();
        backends_.reset();
        app::ResetProcessState();
    }
    std::vector<std::string> CommandNames() {
        std::vector<std::string> out;
        for (const auto& c : handset_.Commands()) out.push_back(c.name);
        return out;
    }
    void Open() {
        ASSERT_TRUE(WriteDeviceFirst());
        ASSERT_TRUE(ReadDeviceFirst());
    }
    static HidInterfaceDescription Other(uint16_t vendor, uint16_t product, uint16_t usage, const wchar_t* path) {
        HidInterfaceDescription s;
        s.path = path;
        s.vendorId = vendor;
        s.productId = product;
        s.usagePage = 0xFF00;
        s.usage = usage;
        s.inputReportLength = 9;
        s.outputReportLength = 33;
        return s;
    }

    VirtualHidBus bus_;
    std::optional<platform::ScopedBackends> backends_;
    VirtualHandset handset_;
    platform::LogCapture log_;
};

TEST_F(HandsetLinkTest, FindsBothInterfacesAmongOtherDevices) {
    bus_.AttachInterface(Other(0x046D, 0xC077, 0x02, L"mouse"));
    bus_.AttachInterface(Other(0x04D9, 0x2833, 0x01, L"other-product"));
    bus_.AttachInterface(Other(0x04D9, 0x2832, 0x02, L"same-device-other-usage"));
    handset_.Plug(bus_);
    bus_.AttachInterface(Other(0x04D9, 0x2832, 0x03, L"after"));
    Open();
    EXPECT_EQ(g_WriteDevice.DevicePath(), handset_.CommandInterfacePath());
    EXPECT_EQ(g_ReadDevice.DevicePath(), handset_.KeyInterfacePath());
    EXPECT_TRUE(g_WriteDevice.m_WriteHandle.load().IsValid());
    EXPECT_TRUE(g_ReadDevice.m_ReadHandle.load().IsValid());
    EXPECT_FALSE(g_ReadDevice.m_DeviceHandle.load().IsValid()) << "query handles are closed";
    EXPECT_EQ(bus_.OpenHandleCount(), 2u);
    EXPECT_TRUE(log_.Contains("create Write Device success\xA8\xEC\n"));
    EXPECT_TRUE(log_.Contains("Create Read Device\xA8\xEC" "success\n"));
}

TEST_F(HandsetLinkTest, LowestEnumerationIndexWinsWithTwoHandsets) {
    VirtualHandset second(1);
    second.Plug(bus_);
    handset_.Plug(bus_);
    Open();
    EXPECT_EQ(g_WriteDevice.DevicePath(), second.CommandInterfacePath());
}

TEST_F(HandsetLinkTest, NoHandsetMeansBothSearchesFail) {
    bus_.AttachInterface(Other(0x046D, 0xC077, 0x02, L"mouse"));
    EXPECT_FALSE(WriteDeviceFirst());
    EXPECT_FALSE(ReadDeviceFirst());
    EXPECT_TRUE(log_.Contains("USBConnectToIthDevice fail 1"));
    NewReadDevice(g_ReadDevice);
    EXPECT_EQ(g_ReadDevice.m_bReadDone, 0);
    EXPECT_TRUE(log_.Contains("Read USB failed: m_ReadHandle is not valid"));
    log_.Clear();
    NewWriteCmd(CMD_LIGHT_ON);
    EXPECT_TRUE(log_.Contains("NewWriteCmd:Write USB failed: m_WriteHandle is not valid"));
    EXPECT_EQ(g_WriteDevice.m_LastLight, 0) << "the caches are not touched without a handset";
}

TEST_F(HandsetLinkTest, InterfacesThatCannotBeQueriedAreSkipped) {
    auto broken = Other(0x04D9, 0x2832, 0xA5, L"no-preparsed");
    broken.noPreparsedData = true;
    bus_.AttachInterface(broken);
    auto caps = Other(0x04D9, 0x2832, 0xA5, L"caps-fail");
    caps.capsFail = true;
    bus_.AttachInterface(caps);
    auto closed = Other(0x04D9, 0x2832, 0xA5, L"open-fails");
    closed.openFails = true;
    bus_.AttachInterface(closed);
    handset_.Plug(bus_);
    ASSERT_TRUE(ReadDeviceFirst());
    EXPECT_EQ(g_ReadDevice.DevicePath(), handset_.KeyInterfacePath());
    EXPECT_TRUE(log_.Contains("XXX  Could not get HID preparsed data.\n\n"));
    EXPECT_TRUE(log_.Contains("Device List=>CreateFile open error!"));
}

TEST_F(HandsetLinkTest, DisconnectClosesOpenHandlesWithLogLinesAndIsQuietWhenClosed) {
    handset_.Plug(bus_);
    Open();
    log_.Clear();
    Disconnect(g_WriteDevice);
    EXPECT_EQ(log_.Texts(), (std::vector<std::string>{"Disconnect 005", "Disconnect 006",
                                                      "Set m_WriteHandle to INVALID_HANDLE_VALUE 002"}));
    log_.Clear();
    Disconnect(g_WriteDevice);
    EXPECT_TRUE(log_.Texts().empty());
}

TEST_F(HandsetLinkTest, ReadDeliversOneReportAndFailsWhenPulled) {
    handset_.Plug(bus_);
    Open();
    handset_.Press(7);
    NewReadDevice(g_ReadDevice);
    EXPECT_EQ(g_ReadDevice.m_bReadDone, 1);
    EXPECT_EQ(g_ReadDevice.m_ucB[0], 3);
    EXPECT_EQ(g_ReadDevice.m_ucB[1], 7);
    handset_.Unplug();
    NewReadDevice(g_ReadDevice);
    EXPECT_EQ(g_ReadDevice.m_bReadDone, 1);
    EXPECT_EQ(g_ReadDevice.m_ucB[0], 0);
    EXPECT_TRUE(log_.Contains("Read USB failed, error=1167"));
}

TEST_F(HandsetLinkTest, ReadBlockedOnPulledHandsetFails) {
    handset_.Plug(bus_);
    Open();
    platform::Thread reader;
    reader.Start("reader", [] { NewReadDevice(g_ReadDevice); });
    handset_.Unplug();  // whether the read is waiting yet or not, it must fail
    reader.Join();
    EXPECT_EQ(g_ReadDevice.m_bReadDone, 1);
    EXPECT_EQ(g_ReadDevice.m_ucB[1], 0);
}

TEST_F(HandsetLinkTest, WriteToAPulledHandsetFailsWithItsErrorCode) {
    handset_.Plug(bus_);
    Open();
    handset_.Unplug();  // no removal handling has closed the handles yet
    NewWriteCmd(CMD_INIT);
    EXPECT_TRUE(log_.Contains("Write USB Failed 3,error=1167"));
    uint8_t page[128] = {};
    log_.Clear();
    NewWriteDevice(0, page, page);
    EXPECT_EQ(log_.Count("Write USB Failed 1,error=1167"), 2);
    EXPECT_EQ(log_.Count("Write USB Failed 2,error=1167"), 8);
}

TEST_F(HandsetLinkTest, OverlongInputReportIsCutTo256Bytes) {
    handset_.SetReportLengths(300, 33);
    handset_.Plug(bus_);
    Open();
    EXPECT_TRUE(log_.ContainsFragment("reads are cut to 256"));
    std::vector<uint8_t> report(300, 0xEE);
    report[0] = 3;
    handset_.InjectInput(report);
    NewReadDevice(g_ReadDevice);
    EXPECT_EQ(g_ReadDevice.m_ucB[255], 0xEE);
}

TEST_F(HandsetLinkTest, CommandReportLayout) {
    handset_.Plug(bus_);
    Open();
    NewWriteCmd(CMD_CONTRAST, 162, 35, 37);
    const auto reports = handset_.Reports();
    ASSERT_EQ(reports.size(), 1u);
    const std::vector<uint8_t> expected = {0x00, 0x08, 0x20, 0x00, 0x40, 0xF1, 0xF2, 0xF3, 16, 0, 162, 35, 37,
                                           0,    0,    0,    0,    0,    0,    0,    0,    0,  0, 0,   0,  0,
                                           0,    0,    0,    0,    0,    0,    0};
    EXPECT_EQ(reports[0].bytes, expected);
    EXPECT_TRUE(log_.Contains("*** NewWriteCmd: cmd=0x10, wp1=162,wp2=35,wp3=37,  Write USB start..."));
}

TEST_F(HandsetLinkTest, RepeatSuppressionWithinAConnection) {
    handset_.Plug(bus_);
    Open();
    NewWriteCmd(CMD_CONTRAST, 162, 35, 37);
    NewWriteCmd(CMD_CONTRAST, 162, 35, 37);
    NewWriteCmd(CMD_LIGHT_ON);
    NewWriteCmd(CMD_INIT);
    NewWriteCmd(CMD_INIT);
    NewWriteCmd(CMD_LIGHT_ON);
    NewWriteCmd(CMD_CONTRAST, 162, 35, 40);
    NewWriteCmd(CMD_LIGHT_OFF);
    EXPECT_EQ(CommandNames(), (std::vector<std::string>{"CMD_CONTRAST", "CMD_LIGHT_ON", "CMD_INIT", "CMD_INIT",
                                                         "CMD_CONTRAST", "CMD_LIGHT_OFF"}));
}

TEST_F(HandsetLinkTest, ReopenedCommandInterfaceGetsContrastAndLightAgain) {
    handset_.Plug(bus_);
    Open();
    NewWriteCmd(CMD_CONTRAST, 162, 35, 37);
    NewWriteCmd(CMD_LIGHT_ON);
    handset_.Unplug();
    Disconnect(g_WriteDevice);
    Disconnect(g_ReadDevice);
    handset_.Plug(bus_);
    Open();
    NewWriteCmd(CMD_CONTRAST, 162, 35, 37);
    NewWriteCmd(CMD_LIGHT_ON);
    EXPECT_EQ(CommandNames(),
              (std::vector<std::string>{"CMD_CONTRAST", "CMD_LIGHT_ON", "CMD_CONTRAST", "CMD_LIGHT_ON"}));
}

TEST_F(HandsetLinkTest, OutputLengthDecidesWhatIsSent) {
    struct Case {
        uint16_t length;
        size_t reports;
    };
    for (const Case c : {Case{33, 1}, Case{64, 1}, Case{20, 0}}) {
        handset_.ClearRecords();
        ResetHandsetDevices();
        handset_.SetReportLengths(9, c.length);
        handset_.Plug(bus_);
        Open();
        NewWriteCmd(CMD_INIT);
        const auto reports = handset_.Reports();
        ASSERT_EQ(reports.size(), c.reports) << c.length;
        if (c.reports) {
            EXPECT_EQ(reports[0].bytes.size(), c.length);
            for (size_t i = 33; i < reports[0].bytes.size(); ++i) EXPECT_EQ(reports[0].bytes[i], 0);
        }
        handset_.Unplug();
    }
    EXPECT_TRUE(log_.ContainsFragment("shorter than 33"));
    EXPECT_TRUE(log_.Contains("Write USB Failed 3,error=0"));
}

TEST_F(HandsetLinkTest, ScreenLineIsTenReportsDecodedBackToItsPages) {
    handset_.Plug(bus_);
    Open();
    uint8_t upper[128], lower[128];
    for (int i = 0; i < 128; ++i) {
        upper[i] = static_cast<uint8_t>(i);
        lower[i] = static_cast<uint8_t>(255 - i);
    }
    NewWriteDevice(2, upper, lower);
    const auto reports = handset_.Reports();
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_EQ(reports[0].bytes[3], 0xBC);
    EXPECT_EQ(reports[5].bytes[3], 0xBD);
    EXPECT_EQ(reports[1].bytes[1], 0);
    EXPECT_EQ(reports[4].bytes[32], 127);
    const auto events = handset_.Events();
    ASSERT_EQ(events.size(), 1u);
    const auto& line = std::get<world::HandsetScreenLine>(events[0]);
    EXPECT_EQ(line.line, 2);
    EXPECT_EQ(std::vector<uint8_t>(line.upper.begin(), line.upper.end()), std::vector<uint8_t>(upper, upper + 128));
    EXPECT_EQ(std::vector<uint8_t>(line.lower.begin(), line.lower.end()), std::vector<uint8_t>(lower, lower + 128));
}

TEST_F(HandsetLinkTest, GarbledOutputIsRecordedAsUnrecognised) {
    handset_.Plug(bus_);
    Open();
    uint32_t error = 0;
    const uint8_t header[33] = {0x00, 0x08, 0xA0, 0xB8, 0x40, 0xF1, 0xF2, 0xF3, 0x01};
    const uint8_t junk[33] = {0x55};
    platform::CurrentHidHost().Write(g_WriteDevice.m_WriteHandle, header, 33, error);
    platform::CurrentHidHost().Write(g_WriteDevice.m_WriteHandle, junk, 33, error);
    platform::CurrentHidHost().Write(g_WriteDevice.m_WriteHandle, junk, 5, error);
    NewWriteCmd(CMD_INIT);
    const auto events = handset_.Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(std::holds_alternative<world::HandsetUnrecognised>(events[0]));
    EXPECT_TRUE(std::holds_alternative<world::HandsetUnrecognised>(events[1]));
    EXPECT_EQ(std::get<world::HandsetCommand>(events[2]).name, "CMD_INIT");
    EXPECT_EQ(world::CommandName(7), "0x7");
}

}  // namespace
