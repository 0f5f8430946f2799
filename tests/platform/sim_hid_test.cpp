// The virtual HID bus as the program sees it through the HID host port:
// what each interface declares, the faults a test can switch on, how input
// reports queue and are cut, and what becomes of handles and blocked reads
// when an interface goes away.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/log.h"
#include "platform/sim/virtual_hid_bus.h"
#include "platform/sync.h"

namespace {

using platform::HidAccess;
using platform::HidCapsResult;
using platform::HidHandle;
using platform::sim::HidInterfaceDescription;
using platform::sim::VirtualHidBus;

HidInterfaceDescription KeyInterface() {
    HidInterfaceDescription s;
    s.path = L"\\\\?\\hid#vid_04d9&pid_2832&mi_00#keys";
    s.vendorId = 0x04D9;
    s.productId = 0x2832;
    s.version = 0x0102;
    s.usagePage = 0xFF00;
    s.usage = 0xA5;
    s.inputReportLength = 9;
    return s;
}

HidInterfaceDescription MouseInterface() {
    HidInterfaceDescription s;
    s.path = L"\\\\?\\hid#vid_046d&pid_c077#mouse";
    s.vendorId = 0x046D;
    s.productId = 0xC077;
    s.version = 0x7200;
    s.usagePage = 0x0001;
    s.usage = 0x0002;
    s.inputReportLength = 5;
    s.outputReportLength = 2;
    return s;
}

struct ReadResult {
    bool ok = false;
    size_t bytesRead = 0;
    uint32_t error = 0;
    std::vector<uint8_t> bytes;
};

ReadResult ReadOnce(VirtualHidBus& bus, HidHandle h, size_t length) {
    ReadResult r;
    r.bytes.assign(length + 1, 0xEE);  // one guard byte past the requested length
    r.ok = bus.Read(h, r.bytes.data(), length, r.bytesRead, r.error);
    return r;
}

class SimHidBusTest : public ::testing::Test {
protected:
    HidHandle OpenOrFail(const std::wstring& path, HidAccess access = HidAccess::ReadWrite) {
        uint32_t error = 0;
        const HidHandle h = bus_.Open(path, access, error);
        EXPECT_TRUE(h.IsValid()) << "open failed with error " << error;
        return h;
    }

    VirtualHidBus bus_;
};

TEST_F(SimHidBusTest, EachInterfaceReportsItsOwnAttributesAndCaps) {
    const HidInterfaceDescription descriptions[] = {KeyInterface(), MouseInterface()};
    for (const auto& description : descriptions) bus_.AttachInterface(description);
    for (const auto& description : descriptions) {
        SCOPED_TRACE(platform::WideToUtf8(description.path));
        const HidHandle h = OpenOrFail(description.path, HidAccess::Query);
        platform::HidAttributes attributes;
        ASSERT_TRUE(bus_.GetAttributes(h, attributes));
        EXPECT_EQ(attributes.vendorId, description.vendorId);
        EXPECT_EQ(attributes.productId, description.productId);
        EXPECT_EQ(attributes.versionNumber, description.version);
        platform::HidCaps caps;
        ASSERT_EQ(bus_.GetCaps(h, caps), HidCapsResult::Ok);
        EXPECT_EQ(caps.usagePage, description.usagePage);
        EXPECT_EQ(caps.usage, description.usage);
        EXPECT_EQ(caps.inputReportByteLength, description.inputReportLength);
        EXPECT_EQ(caps.outputReportByteLength, description.outputReportLength);
    }
}

TEST_F(SimHidBusTest, FaultSwitchesFailOnlyTheirOwnStep) {
    struct Case {
        const char* name;
        void (*apply)(HidInterfaceDescription&);
        bool opens;
        HidCapsResult caps;
    };
    const Case cases[] = {
        {"no fault", [](HidInterfaceDescription&) {}, true, HidCapsResult::Ok},
        {"open fails", [](HidInterfaceDescription& s) { s.openFails = true; }, false, HidCapsResult::Ok},
        {"no preparsed data", [](HidInterfaceDescription& s) { s.noPreparsedData = true; }, true,
         HidCapsResult::NoPreparsedData},
        {"caps fail", [](HidInterfaceDescription& s) { s.capsFail = true; }, true, HidCapsResult::CapsFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualHidBus bus;
        HidInterfaceDescription description = KeyInterface();
        c.apply(description);
        bus.AttachInterface(description);
        uint32_t error = 0;
        const HidHandle h = bus.Open(description.path, HidAccess::Query, error);
        ASSERT_EQ(h.IsValid(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(error, platform::sim::kErrorAccessDenied);
            continue;
        }
        platform::HidAttributes attributes;
        EXPECT_TRUE(bus.GetAttributes(h, attributes)) << "attributes come without preparsed data";
        platform::HidCaps caps;
        caps.usage = 0x77;
        EXPECT_EQ(bus.GetCaps(h, caps), c.caps);
        if (c.caps != HidCapsResult::Ok) {
            EXPECT_EQ(caps.usage, 0x77) << "a failed caps call leaves caps alone";
        }
    }
}

TEST_F(SimHidBusTest, OpeningAnUnknownPathFails) {
    bus_.AttachInterface(KeyInterface());
    uint32_t error = 0;
    EXPECT_FALSE(bus_.Open(L"\\\\?\\hid#vid_04d9&pid_2832&mi_01#absent", HidAccess::ReadWrite, error).IsValid());
    EXPECT_EQ(error, platform::sim::kErrorFileNotFound);
}

TEST_F(SimHidBusTest, ReadDeliversOneReportPerCallCutToTheRequestedLength) {
    struct Case {
        size_t reportSize;
        size_t requested;
        size_t delivered;
    };
    const Case cases[] = {
        {9, 9, 9},     // the declared length
        {2, 9, 2},     // a short report gives a short read
        {1000, 9, 9},  // a long one is cut
        {0, 9, 0},     // an empty report still counts as one
        {9, 4, 4},
    };
    const auto id = bus_.AttachInterface(KeyInterface());
    const HidHandle h = OpenOrFail(KeyInterface().path);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reportSize << " bytes read into " << c.requested);
        std::vector<uint8_t> report(c.reportSize);
        for (size_t i = 0; i < report.size(); ++i) report[i] = static_cast<uint8_t>(i + 1);
        ASSERT_TRUE(bus_.InjectInput(id, report));
        const ReadResult r = ReadOnce(bus_, h, c.requested);
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.bytesRead, c.delivered);
        EXPECT_EQ(std::vector<uint8_t>(r.bytes.begin(), r.bytes.begin() + c.delivered),
                  std::vector<uint8_t>(report.begin(), report.begin() + c.delivered));
        EXPECT_EQ(r.bytes[c.requested], 0xEE) << "wrote past the requested length";
    }
}

TEST_F(SimHidBusTest, ReportsQueuePerInterfaceInArrivalOrder) {
    const auto keys = bus_.AttachInterface(KeyInterface());
    const auto mouse = bus_.AttachInterface(MouseInterface());
    const HidHandle keyHandle = OpenOrFail(KeyInterface().path);
    const HidHandle mouseHandle = OpenOrFail(MouseInterface().path);
    bus_.InjectInput(keys, {3, 1});
    bus_.InjectInput(mouse, {0, 5});
    bus_.InjectInput(keys, {3, 2});
    bus_.InjectInput(keys, {3, 0});
    for (uint8_t code : std::initializer_list<uint8_t>{1, 2, 0}) EXPECT_EQ(ReadOnce(bus_, keyHandle, 9).bytes[1], code);
    EXPECT_EQ(ReadOnce(bus_, mouseHandle, 5).bytes[1], 5);
}

TEST_F(SimHidBusTest, WritesReachTheSinkAsWrittenAndNeedReadWriteAccess) {
    std::vector<std::vector<uint8_t>> received;
    HidInterfaceDescription description = MouseInterface();
    bus_.AttachInterface(description, [&](const uint8_t* data, size_t length) { received.emplace_back(data, data + length); });
    const HidHandle rw = OpenOrFail(description.path);
    const std::vector<uint8_t> reports[] = {{0x00, 0x01}, std::vector<uint8_t>(64, 0xAB), {0x42}};
    uint32_t error = 0;
    for (const auto& r : reports) ASSERT_TRUE(bus_.Write(rw, r.data(), r.size(), error));
    ASSERT_EQ(received.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(received[i], reports[i]);

    const HidHandle query = OpenOrFail(description.path, HidAccess::Query);
    EXPECT_FALSE(bus_.Write(query, reports[0].data(), reports[0].size(), error));
    EXPECT_EQ(error, platform::sim::kErrorAccessDenied);
    const ReadResult r = ReadOnce(bus_, query, 5);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, platform::sim::kErrorAccessDenied);
    EXPECT_EQ(received.size(), 3u);
}

TEST_F(SimHidBusTest, ClosedHandleFailsAsInvalid) {
    const auto id = bus_.AttachInterface(KeyInterface());
    const HidHandle h = OpenOrFail(KeyInterface().path);
    bus_.InjectInput(id, {3, 1});
    bus_.Close(h);
    const ReadResult r = ReadOnce(bus_, h, 9);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, platform::kErrorInvalidHandle);
    uint32_t error = 0;
    EXPECT_FALSE(bus_.Write(h, r.bytes.data(), 2, error));
    EXPECT_EQ(error, platform::kErrorInvalidHandle);
    platform::HidAttributes attributes;
    EXPECT_FALSE(bus_.GetAttributes(h, attributes));
}

TEST_F(SimHidBusTest, BlockedReadWakesForAnInjectedReport) {
    const auto id = bus_.AttachInterface(KeyInterface());
    const HidHandle h = OpenOrFail(KeyInterface().path);
    ReadResult r;
    platform::Thread reader;
    reader.Start("reader", [&] { r = ReadOnce(bus_, h, 9); });
    bus_.InjectInput(id, {3, 7, 0, 0, 0, 0, 0, 0, 0});  // before or while the read waits: same outcome
    reader.Join();
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytesRead, 9u);
    EXPECT_EQ(r.bytes[1], 7);
}

TEST_F(SimHidBusTest, BlockedReadFailsWhenTheInterfaceIsPulled) {
    const auto id = bus_.AttachInterface(KeyInterface());
    const HidHandle h = OpenOrFail(KeyInterface().path);
    ReadResult r;
    platform::Thread reader;
    reader.Start("reader", [&] { r = ReadOnce(bus_, h, 9); });
    bus_.DetachInterface(id);
    reader.Join();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, platform::kErrorDeviceNotConnected);
    EXPECT_EQ(r.bytesRead, 0u);
}

TEST_F(SimHidBusTest, ClosingOneHandleLeavesAnotherOnTheSameInterfaceReading) {
    const auto id = bus_.AttachInterface(KeyInterface());
    const HidHandle closed = OpenOrFail(KeyInterface().path);
    const HidHandle kept = OpenOrFail(KeyInterface().path);
    ASSERT_NE(closed, kept);
    ReadResult r;
    platform::Thread reader;
    reader.Start("reader", [&] { r = ReadOnce(bus_, closed, 9); });
    bus_.Close(closed);
    reader.Join();
    EXPECT_FALSE(r.ok);
    // Aborted while waiting, or invalid when the close came first.
    EXPECT_TRUE(r.error == platform::kErrorOperationAborted || r.error == platform::kErrorInvalidHandle) << r.error;
    bus_.InjectInput(id, {3, 4});
    const ReadResult k = ReadOnce(bus_, kept, 9);
    ASSERT_TRUE(k.ok);
    EXPECT_EQ(k.bytes[1], 4);
}

TEST_F(SimHidBusTest, PulledInterfaceKillsItsHandlesAndDropsItsQueue) {
    const auto first = bus_.AttachInterface(KeyInterface());
    const HidHandle old = OpenOrFail(KeyInterface().path);
    bus_.InjectInput(first, {3, 1});
    bus_.InjectInput(first, {3, 2});
    bus_.DetachInterface(first);
    EXPECT_FALSE(bus_.InjectInput(first, {3, 3})) << "nothing queues on a pulled interface";

    const auto second = bus_.AttachInterface(KeyInterface());
    const HidHandle fresh = OpenOrFail(KeyInterface().path);
    EXPECT_NE(old, fresh);
    bus_.InjectInput(second, {3, 9});

    const ReadResult dead = ReadOnce(bus_, old, 9);
    EXPECT_FALSE(dead.ok);
    EXPECT_EQ(dead.error, platform::kErrorDeviceNotConnected);
    uint32_t error = 0;
    EXPECT_FALSE(bus_.Write(old, dead.bytes.data(), 2, error));
    EXPECT_EQ(error, platform::kErrorDeviceNotConnected);
    platform::HidCaps caps;
    EXPECT_NE(bus_.GetCaps(old, caps), HidCapsResult::Ok);

    const ReadResult live = ReadOnce(bus_, fresh, 9);
    ASSERT_TRUE(live.ok);
    EXPECT_EQ(live.bytes[1], 9) << "reports queued before the pull were dropped";
}

TEST_F(SimHidBusTest, DetachingKeepsTheOrderOfTheRest) {
    HidInterfaceDescription a = MouseInterface(), b = KeyInterface(), c = MouseInterface();
    c.path = L"\\\\?\\hid#vid_046d&pid_c077#second";
    bus_.AttachInterface(a);
    const auto idB = bus_.AttachInterface(b);
    bus_.AttachInterface(c);
    bus_.DetachInterface(idB);
    bus_.DetachInterface(idB);  // twice: no effect
    const auto idB2 = bus_.AttachInterface(b);
    EXPECT_NE(idB, idB2);
    std::vector<std::wstring> paths;
    std::wstring path;
    for (size_t i = 0; bus_.InterfacePath(i, path) == platform::HidPathResult::Ok; ++i) paths.push_back(path);
    EXPECT_EQ(paths, (std::vector<std::wstring>{a.path, c.path, b.path}));
}

}  // namespace
