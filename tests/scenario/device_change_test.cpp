// The handset plugged in and pulled out while the program runs.

#include <gtest/gtest.h>

#include "app/device_change.h"
#include "app/key_pipeline.h"
#include "platform/device_change.h"
#include "support/program_fixture.h"

namespace {

class DeviceChangeTest : public testing_support::ProgramTest {
protected:
    void StartAttached() {
        World().Skype().Start();
        StartWithStartedHandset();
    }
};

TEST(IsHandsetInterface, MatchesVendorAndProductInAnyCase) {
    struct Case {
        const wchar_t* path;
        int expected;
    };
    const Case cases[] = {
        {L"\\\\?\\HID#VID_04D9&PID_2832&MI_01#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", 1},
        {L"\\\\?\\hid#vid_04d9&pid_2832&mi_00#7&1&0&0000#{x}", 1},
        {L"\\\\?\\hid#vid_04d9&pid_2833&mi_00#x", 0},
        {L"\\\\?\\hid#vid_046d&pid_2832#x", 0},
        {L"", 0},
    };
    for (const Case& c : cases) {
        platform::DevBroadcastDeviceInterface record;
        record.dbcc_name = c.path;
        EXPECT_EQ(app::IsHandsetInterface(record), c.expected) << platform::WideToUtf8(c.path);
    }
    platform::DevBroadcastDeviceInterface longPath;
    longPath.dbcc_name = std::wstring(2000, L'x') + L"vid_04d9&pid_2832";
    EXPECT_EQ(app::IsHandsetInterface(longPath), 0) << "only the first 999 characters are looked at";
}

TEST_F(DeviceChangeTest, PullingTheHandsetShowsUnconnectedAtOnce) {
    StartAttached();
    ASSERT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    SwitchModeNow(modes::MODE_TALKING);
    Handset().Unplug();
    World().Settle();
    EXPECT_EQ(Channel("mode").back(), "16 MODE_UNCONNECTED");
    EXPECT_EQ(app::g_bDeviceStarted, 0);
    EXPECT_EQ(CountOf("log", "DBT_DEVICEREMOVECOMPLETE: Start Disconnect"), 2) << "one per interface";
    World().Advance(1000);  // the read thread copes with the closed handle
}

TEST_F(DeviceChangeTest, PluggingAgainReopensAndConnectsOnlyAfterStartReport) {
    StartAttached();
    Handset().Unplug();
    World().Advance(500);
    const size_t before = Channel("handset-cmd").size();
    Handset().Plug(World().Bus());
    World().Advance(500);
    auto cmds = Channel("handset-cmd");
    // The first arrival (command interface) opens what is there and sends
    // CMD_INIT after; the second sends it over the open handle, reopens both
    // and sends it again.
    EXPECT_EQ(std::vector<std::string>(cmds.begin() + static_cast<long>(before), cmds.end()),
              (std::vector<std::string>{"CMD_INIT 0 0 0", "CMD_INIT 0 0 0", "CMD_INIT 0 0 0"}));
    EXPECT_EQ(Channel("mode").back(), "16 MODE_UNCONNECTED");
    EXPECT_EQ(CountOf("log", "DBT_DEVICEARRIVAL: Start Connect"), 2);
    Handset().Press(240);
    World().Advance(200);
    cmds = Channel("handset-cmd");
    EXPECT_EQ(CountOf("handset-cmd", "CMD_DEVICE_START 80 4 0"), 2);
    EXPECT_EQ(CountOf("handset-cmd", "CMD_CONTRAST 162 35 37"), 2) << "the reconnected handset gets its contrast";
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
    PressAndRelease(2);
    EXPECT_EQ(Channel("key").back(), "1");
}

TEST_F(DeviceChangeTest, OtherDevicesAndOtherEventsChangeNothing) {
    StartAttached();
    const size_t logs = Channel("log").size();
    platform::sim::HidInterfaceDescription mouse;
    mouse.path = L"\\\\?\\HID#VID_046D&PID_C077#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    mouse.vendorId = 0x046D;
    const auto id = World().Bus().AttachInterface(mouse);
    World().Bus().DetachInterface(id);
    platform::DevBroadcastDeviceInterface query;
    query.dbcc_name = Handset().KeyInterfacePath();
    const std::wstring title = L"VARNO-CORVANE";
    World().Desktop().SendMessage(World().Desktop().FindWindow(nullptr, &title), platform::WM_DEVICECHANGE,
                                  platform::DBT_DEVICEQUERYREMOVE, reinterpret_cast<platform::LPARAM>(&query));
    World().Settle();
    for (size_t i = logs; i < Channel("log").size(); ++i) {
        EXPECT_EQ(Channel("log")[i].find("DBT_"), std::string::npos) << Channel("log")[i];
    }
    EXPECT_EQ(Channel("mode").back(), "0 MODE_MAIN");
}

}  // namespace
