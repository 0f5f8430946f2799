// The read thread's step for one input report, called directly: whatever the
// length the key interface declares and whatever the report's own length,
// only a key report with its code byte reaches the key handling.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/corvane_app.h"
#include "app/corvane_dlg.h"
#include "app/key_pipeline.h"
#include "handset/handset_device.h"
#include "platform/backends.h"
#include "platform/portable/local_desktop.h"
#include "platform/sim/virtual_hid_bus.h"
#include "support/instant_clock.h"
#include "world/virtual_handset.h"

namespace {

constexpr uint8_t kMappedCode = 5;  // the default key map gives it key id 22
constexpr int kMappedKey = 22;

struct ReportCase {
    const char* name;
    uint16_t declaredLength;
    std::vector<uint8_t> report;
    bool pulled;        // the handset is pulled before the read
    bool handled;       // the press lights the handset and sets the last key
};

std::vector<uint8_t> KeyReport(uint8_t code, size_t length) {
    std::vector<uint8_t> report(std::max<size_t>(length, 2), 0xEE);
    report[0] = 3;
    report[1] = code;
    return report;
}

bool LightOnSent(const world::VirtualHandset& handset) {
    const auto commands = handset.Commands();
    return std::any_of(commands.begin(), commands.end(), [](const auto& c) { return c.name == "CMD_LIGHT_ON"; });
}

TEST(InputReport, OnlyKeyReportsWithTheirCodeReachTheKeyHandling) {
    const ReportCase cases[] = {
        {"report of the declared length", 9, KeyReport(kMappedCode, 9), false, true},
        {"report longer than declared, cut", 2, KeyReport(kMappedCode, 40), false, true},
        {"declared length beyond the buffer", 1024, KeyReport(kMappedCode, 1024), false, true},
        {"report of one byte", 9, {3}, false, false},
        {"empty report", 9, {}, false, false},
        {"declared length of one byte", 1, KeyReport(kMappedCode, 9), false, false},
        {"another report id", 9, {2, kMappedCode, 0, 0, 0, 0, 0, 0, 0}, false, false},
        {"pulled handset", 9, KeyReport(kMappedCode, 9), true, false},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::InstantClock clock;
        platform::LocalDesktop desktop;
        platform::sim::VirtualHidBus bus;
        platform::ScopedBackends backends({.clock = &clock, .desktop = &desktop, .hidHost = &bus});
        app::ResetProcessState();
        {
            world::VirtualHandset handset;
            handset.SetReportLengths(c.declaredLength, 33);
            handset.Plug(bus);
            ASSERT_TRUE(handset::WriteDeviceFirst());
            ASSERT_TRUE(handset::ReadDeviceFirst());
            app::CCorvaneDlg dlg;
            dlg.m_hWnd = desktop.CreateWindow(app::kMainWindowClass, L"", nullptr);
            handset.InjectInput(c.report);
            if (c.pulled) handset.Unplug();
            app::ReadAndHandleReport(dlg);
            EXPECT_EQ(dlg.m_nLastKey.load(), c.handled ? kMappedKey : 0);
            EXPECT_EQ(LightOnSent(handset), c.handled);
            app::ResetProcessState();
        }
    }
}

}  // namespace
