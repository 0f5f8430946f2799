// The virtual HID bus's own rules: handles, access, and reads that end when
// their handle is closed.

#include "platform/sim/virtual_hid_bus.h"

#include <gtest/gtest.h>

#include "platform/sync.h"

namespace {

using platform::HidAccess;
using platform::sim::HidInterfaceSpec;
using platform::sim::VirtualHidBus;

HidInterfaceSpec Keyboard() {
    HidInterfaceSpec s;
    s.path = L"kbd";
    s.vendorId = 1;
    s.productId = 2;
    s.usagePage = 0xFF00;
    s.usage = 0xA5;
    s.inputReportLength = 9;
    return s;
}

TEST(VirtualHidBus, EnumeratesInAttachOrderAndEndsWithNoMore) {
    VirtualHidBus bus;
    auto a = Keyboard();
    auto b = Keyboard();
    b.path = L"second";
    bus.AttachInterface(a);
    const auto idB = bus.AttachInterface(b);
    std::wstring path;
    EXPECT_EQ(bus.InterfacePath(0, path), platform::HidPathResult::Ok);
    EXPECT_EQ(path, L"kbd");
    EXPECT_EQ(bus.InterfacePath(1, path), platform::HidPathResult::Ok);
    EXPECT_EQ(path, L"second");
    EXPECT_EQ(bus.InterfacePath(2, path), platform::HidPathResult::NoMore);
    bus.DetachInterface(idB);
    EXPECT_EQ(bus.InterfacePath(1, path), platform::HidPathResult::NoMore);
}

TEST(VirtualHidBus, QueryHandleCannotRead) {
    VirtualHidBus bus;
    const auto id = bus.AttachInterface(Keyboard());
    uint32_t error = 0;
    const auto h = bus.Open(L"kbd", HidAccess::Query, error);
    ASSERT_TRUE(h.IsValid());
    bus.InjectInput(id, {3, 1});
    uint8_t buffer[9] = {};
    size_t n = 0;
    EXPECT_FALSE(bus.Read(h, buffer, sizeof(buffer), n, error));
    EXPECT_EQ(bus.Open(L"missing", HidAccess::Query, error), platform::kInvalidHidHandle);
}

TEST(VirtualHidBus, ClosingTheHandleEndsABlockedRead) {
    VirtualHidBus bus;
    bus.AttachInterface(Keyboard());
    uint32_t error = 0;
    const auto h = bus.Open(L"kbd", HidAccess::ReadWrite, error);
    bool ok = true;
    uint32_t readError = 0;
    platform::Thread reader;
    reader.Start("reader", [&] {
        uint8_t buffer[9];
        size_t n = 0;
        ok = bus.Read(h, buffer, sizeof(buffer), n, readError);
    });
    bus.Close(h);  // before or while the read waits: either way it fails
    reader.Join();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(readError == platform::kErrorOperationAborted || readError == platform::kErrorInvalidHandle);
}

TEST(VirtualHidBus, ReplugGivesNewHandlesAndOldOnesStayDead) {
    VirtualHidBus bus;
    const auto first = bus.AttachInterface(Keyboard());
    uint32_t error = 0;
    const auto old = bus.Open(L"kbd", HidAccess::ReadWrite, error);
    bus.DetachInterface(first);
    const auto second = bus.AttachInterface(Keyboard());
    const auto fresh = bus.Open(L"kbd", HidAccess::ReadWrite, error);
    EXPECT_NE(old, fresh);
    bus.InjectInput(second, {3, 9});
    uint8_t buffer[9] = {};
    size_t n = 0;
    EXPECT_FALSE(bus.Read(old, buffer, sizeof(buffer), n, error));
    EXPECT_EQ(error, platform::kErrorDeviceNotConnected);
    ASSERT_TRUE(bus.Read(fresh, buffer, sizeof(buffer), n, error));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(buffer[1], 9);
    platform::HidAttributes attributes;
    EXPECT_FALSE(bus.GetAttributes(old, attributes));
}

}  // namespace
