// The virtual handset: the two interfaces it presents, the key reports it
// sends, and how it records and decodes what the program writes to it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/clock.h"
#include "world/virtual_handset.h"
#include "platform/sim/virtual_hid_bus.h"
#include "platform/sync.h"

namespace {

using platform::HidAccess;
using platform::HidHandle;
using world::HandsetCommand;
using world::HandsetEvent;
using world::HandsetScreenLine;
using world::HandsetUnrecognised;
using world::VirtualHandset;
using platform::sim::VirtualHidBus;

using Report = std::vector<uint8_t>;
using Page = std::array<uint8_t, 128>;

// Output reports built from the handset's documented layout, independent of
// the program's own builders.
Report CommandReport(uint8_t code, uint8_t wp1 = 0, uint8_t wp2 = 0, uint8_t wp3 = 0, size_t length = 33) {
    Report r(length, 0);
    const uint8_t head[] = {0x00, 0x08, 0x20, 0x00, 0x40, 0xF1, 0xF2, 0xF3, code, 0x00, wp1, wp2, wp3};
    std::copy(head, head + std::min(sizeof(head), length), r.begin());
    return r;
}

Report PageHeader(int page) {
    Report r(33, 0);
    const uint8_t head[] = {0x00, 0x08, 0xA0, static_cast<uint8_t>(0xB8 + page), 0x40, 0xF1, 0xF2, 0xF3, 0x01};
    std::copy(std::begin(head), std::end(head), r.begin());
    return r;
}

std::vector<Report> PageReports(int page, const Page& columns) {
    std::vector<Report> out{PageHeader(page)};
    for (size_t j = 0; j < 4; ++j) {
        Report data(33, 0);
        std::copy(columns.begin() + 32 * j, columns.begin() + 32 * (j + 1), data.begin() + 1);
        out.push_back(data);
    }
    return out;
}

std::vector<Report> LineReports(int line, const Page& upper, const Page& lower) {
    std::vector<Report> out = PageReports(2 * line, upper);
    const auto second = PageReports(2 * line + 1, lower);
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

Page Pattern(uint8_t seed) {
    Page p;
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(seed + 7 * i);
    return p;
}

std::string Lower(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(std::towlower(c));
    return out;
}

// One letter per event kind, so a sequence of events reads as a word.
std::string Kinds(const std::vector<HandsetEvent>& events) {
    std::string out;
    for (const auto& e : events) out += "CLU"[e.index()];
    return out;
}

class VirtualHandsetTest : public ::testing::Test {
protected:
    HidHandle Open(const std::wstring& path) {
        uint32_t error = 0;
        const HidHandle h = bus_.Open(path, HidAccess::ReadWrite, error);
        EXPECT_TRUE(h.IsValid()) << "error " << error;
        return h;
    }
    void PlugAndOpen() {
        handset_.Plug(bus_);
        keys_ = Open(handset_.KeyInterfacePath());
        commands_ = Open(handset_.CommandInterfacePath());
    }
    void Write(const Report& r) {
        uint32_t error = 0;
        ASSERT_TRUE(bus_.Write(commands_, r.data(), r.size(), error)) << "error " << error;
    }
    void WriteAll(const std::vector<Report>& reports) {
        for (const auto& r : reports) Write(r);
    }
    Report ReadKey(size_t length) {
        Report r(length);
        size_t n = 0;
        uint32_t error = 0;
        EXPECT_TRUE(bus_.Read(keys_, r.data(), r.size(), n, error)) << "error " << error;
        r.resize(n);
        return r;
    }

    VirtualHidBus bus_;
    VirtualHandset handset_;
    HidHandle keys_;
    HidHandle commands_;
};

TEST_F(VirtualHandsetTest, PresentsAKeyAndACommandInterfaceWithConfiguredLengths) {
    struct Case {
        uint16_t input, output;
        bool configure;
    };
    const Case cases[] = {{9, 33, false}, {300, 20, true}, {9, 64, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input << "/" << c.output);
        VirtualHidBus bus;
        VirtualHandset handset;
        if (c.configure) handset.SetReportLengths(c.input, c.output);
        handset.Plug(bus);
        struct Expected {
            std::wstring path;
            uint16_t usage, input, output;
            const char* mi;
        };
        const Expected interfaces[] = {{handset.KeyInterfacePath(), 0xA5, c.input, 0, "mi_00"},
                                       {handset.CommandInterfacePath(), 0x01, 0, c.output, "mi_01"}};
        for (const Expected& e : interfaces) {
            EXPECT_NE(Lower(e.path).find(std::string("vid_04d9&pid_2832&") + e.mi), std::string::npos);
            uint32_t error = 0;
            const HidHandle h = bus.Open(e.path, HidAccess::Query, error);
            ASSERT_TRUE(h.IsValid());
            platform::HidAttributes a;
            ASSERT_TRUE(bus.GetAttributes(h, a));
            EXPECT_EQ(a.vendorId, 0x04D9);
            EXPECT_EQ(a.productId, 0x2832);
            platform::HidCaps caps;
            ASSERT_EQ(bus.GetCaps(h, caps), platform::HidCapsResult::Ok);
            EXPECT_EQ(caps.usagePage, 0xFF00);
            EXPECT_EQ(caps.usage, e.usage);
            EXPECT_EQ(caps.inputReportByteLength, e.input);
            EXPECT_EQ(caps.outputReportByteLength, e.output);
        }
    }
}

TEST_F(VirtualHandsetTest, SharesTheBusWithOtherDevicesInPlugOrder) {
    platform::sim::HidInterfaceDescription before;
    before.path = L"before";
    before.vendorId = 0x046D;
    platform::sim::HidInterfaceDescription sameDeviceOtherUsage;
    sameDeviceOtherUsage.path = L"after";
    sameDeviceOtherUsage.vendorId = 0x04D9;
    sameDeviceOtherUsage.productId = 0x2832;
    sameDeviceOtherUsage.usagePage = 0x000C;
    sameDeviceOtherUsage.usage = 0x01;
    VirtualHandset second(1);
    bus_.AttachInterface(before);
    handset_.Plug(bus_);
    bus_.AttachInterface(sameDeviceOtherUsage);
    second.Plug(bus_);
    auto enumerate = [&] {
        std::vector<std::wstring> paths;
        std::wstring path;
        for (size_t i = 0; bus_.InterfacePath(i, path) == platform::HidPathResult::Ok; ++i) paths.push_back(path);
        return paths;
    };
    const auto all = enumerate();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0], L"before");
    EXPECT_EQ(all[3], L"after");
    EXPECT_NE(handset_.KeyInterfacePath(), second.KeyInterfacePath());
    EXPECT_NE(handset_.CommandInterfacePath(), second.CommandInterfacePath());
    for (const auto& p : {handset_.KeyInterfacePath(), handset_.CommandInterfacePath()}) {
        EXPECT_NE(std::find(all.begin() + 1, all.begin() + 3, p), all.begin() + 3);
    }

    handset_.Unplug();
    EXPECT_FALSE(handset_.IsPlugged());
    EXPECT_TRUE(second.IsPlugged());
    const auto rest = enumerate();
    EXPECT_EQ(rest.size(), 4u);
    EXPECT_EQ(std::count(rest.begin(), rest.end(), handset_.KeyInterfacePath()), 0);
    EXPECT_EQ(rest[0], L"before");
    EXPECT_EQ(rest[1], L"after");
}

TEST_F(VirtualHandsetTest, KeyReportsArePaddedToTheInputLength) {
    handset_.SetReportLengths(300, 33);
    PlugAndOpen();
    ASSERT_TRUE(handset_.Press(17));
    ASSERT_TRUE(handset_.Release());
    Report expected(300, 0);
    expected[0] = 3;
    expected[1] = 17;
    EXPECT_EQ(ReadKey(300), expected);
    expected[1] = 0;
    EXPECT_EQ(ReadKey(300), expected);
}

TEST_F(VirtualHandsetTest, InjectedInputOfAnyLengthArrivesOnlyWhilePlugged) {
    EXPECT_FALSE(handset_.InjectInput({3, 1}));
    EXPECT_FALSE(handset_.Press(1));
    PlugAndOpen();
    const Report reports[] = {{}, {3}, Report(1000, 0x5A)};
    for (const auto& r : reports) ASSERT_TRUE(handset_.InjectInput(r));
    EXPECT_EQ(ReadKey(9), Report{});
    EXPECT_EQ(ReadKey(9), Report{3});
    EXPECT_EQ(ReadKey(9), Report(9, 0x5A));
    handset_.Unplug();
    EXPECT_FALSE(handset_.InjectInput({3, 1}));
}

TEST_F(VirtualHandsetTest, ReplugGivesFreshInterfacesAndKeepsOldHandlesDead) {
    PlugAndOpen();
    const HidHandle oldKeys = keys_, oldCommands = commands_;
    handset_.Press(1);
    handset_.Unplug();
    PlugAndOpen();
    handset_.Press(2);
    EXPECT_EQ(ReadKey(9)[1], 2) << "the press before the pull was dropped";
    Report buffer(9);
    size_t n = 0;
    uint32_t error = 0;
    EXPECT_FALSE(bus_.Read(oldKeys, buffer.data(), buffer.size(), n, error));
    EXPECT_EQ(error, platform::kErrorDeviceNotConnected);
    const Report cmd = CommandReport(15);
    EXPECT_FALSE(bus_.Write(oldCommands, cmd.data(), cmd.size(), error));
    EXPECT_EQ(error, platform::kErrorDeviceNotConnected);
    EXPECT_TRUE(handset_.Reports().empty());
}

TEST_F(VirtualHandsetTest, UnplugEndsABlockedKeyRead) {
    PlugAndOpen();
    bool ok = true;
    uint32_t error = 0;
    platform::Thread reader;
    reader.Start("reader", [&] {
        Report buffer(9);
        size_t n = 0;
        ok = bus_.Read(keys_, buffer.data(), buffer.size(), n, error);
    });
    handset_.Unplug();
    reader.Join();
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, platform::kErrorDeviceNotConnected);
}

TEST(CommandName, NamesKnownCodesAndShowsOthersInHex) {
    const std::pair<uint8_t, const char*> cases[] = {
        {2, "CMD_STATUS_TALK"}, {3, "CMD_STATUS_IDLE"},  {4, "CMD_DEVICE_START"}, {5, "CMD_RING"},
        {6, "CMD_RING_STOP"},   {9, "CMD_STATUS_ALERT"}, {12, "CMD_LIGHT_ON"},    {13, "CMD_LIGHT_OFF"},
        {15, "CMD_INIT"},       {16, "CMD_CONTRAST"},    {0, "0x0"},              {7, "0x7"},
        {17, "0x11"},           {255, "0xff"},
    };
    for (const auto& [code, name] : cases) EXPECT_EQ(world::CommandName(code), name) << int(code);
}

TEST_F(VirtualHandsetTest, CommandReportsDecodeWithTheirParameters) {
    PlugAndOpen();
    Write(CommandReport(16, 0x11, 0x22, 0x33));
    Write(CommandReport(7, 1, 2, 3));
    Write(CommandReport(5, 0, 0, 0, 64));  // a longer output report still carries a command
    const auto commands = handset_.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].code, 16);
    EXPECT_EQ(commands[0].name, "CMD_CONTRAST");
    EXPECT_EQ((std::array<uint8_t, 3>{commands[0].wp1, commands[0].wp2, commands[0].wp3}),
              (std::array<uint8_t, 3>{0x11, 0x22, 0x33}));
    EXPECT_EQ(commands[1].name, "0x7");
    EXPECT_EQ(commands[1].wp3, 3);
    EXPECT_EQ(commands[2].name, "CMD_RING");
}

TEST_F(VirtualHandsetTest, ReportsAreRecordedAsWrittenWithTheirTick) {
    PlugAndOpen();
    const Report reports[] = {CommandReport(15, 0, 0, 0, 20), Report(5, 0x01), CommandReport(4, 0, 0, 0, 64),
                              Report{}};
    const uint64_t before = platform::CurrentClock().GetTickCount64();
    for (const auto& r : reports) Write(r);
    const uint64_t after = platform::CurrentClock().GetTickCount64();
    const auto recorded = handset_.Reports();
    ASSERT_EQ(recorded.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(recorded[i].bytes, reports[i]) << i;
        EXPECT_GE(recorded[i].tick, before);
        EXPECT_LE(recorded[i].tick, after);
    }
    EXPECT_EQ(Kinds(handset_.Events()), "CUCU");
    handset_.ClearRecords();
    EXPECT_TRUE(handset_.Reports().empty());
    EXPECT_TRUE(handset_.Events().empty());
}

TEST_F(VirtualHandsetTest, TenReportsMakeOneScreenLine) {
    PlugAndOpen();
    const Page upper = Pattern(1), lower = Pattern(100);
    WriteAll(LineReports(3, upper, lower));
    const auto events = handset_.Events();
    ASSERT_EQ(Kinds(events), "L");
    const auto& line = std::get<HandsetScreenLine>(events[0]);
    EXPECT_EQ(line.line, 3);
    EXPECT_EQ(line.upper, upper);
    EXPECT_EQ(line.lower, lower);
    EXPECT_EQ(handset_.Reports().size(), 10u);
}

// Each broken sequence is followed by a whole line 1, which must still decode.
TEST_F(VirtualHandsetTest, BrokenScreenSequencesAreReportedAndDecodingRecovers) {
    const Page upper = Pattern(3), lower = Pattern(50);
    const auto page0 = PageReports(0, upper);
    const auto page1 = PageReports(1, lower);
    const auto page3 = PageReports(3, lower);
    auto join = [](std::initializer_list<std::vector<Report>> parts) {
        std::vector<Report> out;
        for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
        return out;
    };
    Report badPage = PageHeader(0);
    badPage[3] = 0xC0;
    Report commandWithJunk = CommandReport(15);
    commandWithJunk[3] = 0x01;
    struct Case {
        const char* name;
        std::vector<Report> reports;
        std::string kinds;  // before the closing line
        Report firstUnrecognised;
    };
    const Case cases[] = {
        // Given up when the next line starts.
        {"upper page without its lower one", join({page0}), "U", PageHeader(2)},
        {"lower page without its upper one", page1, "U", page1[0]},
        {"lower page of another line", join({page0, page3}), "U", page3[0]},
        {"page cut by a short report", {PageHeader(0), page0[1], Report(5, 0)}, "U", Report(5, 0)},
        {"page cut by a report not starting with 0", {PageHeader(0), Report(33, 0x55)}, "U", Report(33, 0x55)},
        {"page number out of range", {badPage}, "U", badPage},
        {"command header with junk", {commandWithJunk}, "U", commandWithJunk},
        {"empty, tiny and huge reports", {Report{}, Report{0x00}, Report(1000, 0)}, "UUU", Report{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualHidBus bus;
        VirtualHandset handset;
        handset.Plug(bus);
        uint32_t error = 0;
        const HidHandle h = bus.Open(handset.CommandInterfacePath(), HidAccess::ReadWrite, error);
        auto reports = c.reports;
        const auto closing = LineReports(1, upper, lower);
        reports.insert(reports.end(), closing.begin(), closing.end());
        for (const auto& r : reports) ASSERT_TRUE(bus.Write(h, r.data(), r.size(), error));
        const auto events = handset.Events();
        ASSERT_EQ(Kinds(events), c.kinds + "L");
        EXPECT_EQ(std::get<HandsetUnrecognised>(events[0]).bytes, c.firstUnrecognised);
        const auto& line = std::get<HandsetScreenLine>(events.back());
        EXPECT_EQ(line.line, 1);
        EXPECT_EQ(line.upper, upper);
        EXPECT_EQ(line.lower, lower);
        EXPECT_EQ(handset.Reports().size(), reports.size()) << "every report is recorded";
    }
}

TEST_F(VirtualHandsetTest, ListenerSeesEventsInOrderAndMayCallBack) {
    PlugAndOpen();
    std::vector<std::string> seen;
    size_t eventsSeenByListener = 0;
    handset_.SetEventListener([&](const HandsetEvent& e) {
        eventsSeenByListener = handset_.Events().size();
        if (const auto* c = std::get_if<HandsetCommand>(&e)) {
            seen.push_back(c->name);
            // A handset that answers the start command with its started report.
            if (c->code == 4) handset_.Press(240);
        } else {
            seen.push_back(std::holds_alternative<HandsetScreenLine>(e) ? "line" : "junk");
        }
    });
    Write(CommandReport(15));
    Write(Report{1, 2, 3});
    WriteAll(LineReports(0, Pattern(0), Pattern(9)));
    Write(CommandReport(4));
    EXPECT_EQ(seen, (std::vector<std::string>{"CMD_INIT", "junk", "line", "CMD_DEVICE_START"}));
    EXPECT_EQ(eventsSeenByListener, 4u) << "the event is recorded before the listener hears of it";
    EXPECT_EQ(ReadKey(9)[1], 240);
    handset_.SetEventListener(nullptr);
    Write(CommandReport(3));
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(VirtualHandsetTest, ListenerRunsOnTheWritingThread) {
    PlugAndOpen();
    std::thread::id listenerThread, writerThread;
    handset_.SetEventListener([&](const HandsetEvent&) { listenerThread = std::this_thread::get_id(); });
    platform::Thread writer;
    writer.Start("writer", [&] {
        writerThread = std::this_thread::get_id();
        Write(CommandReport(12));
    });
    writer.Join();
    EXPECT_EQ(listenerThread, writerThread);
    EXPECT_NE(listenerThread, std::this_thread::get_id());
}

}  // namespace
