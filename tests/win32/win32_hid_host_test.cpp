// The Windows HID host against the system: the device-setup enumeration the
// handset link runs (no handset is present under Wine), opening what cannot
// be opened, and transfers through a message pipe in place of a device:
// whole reports each way, and a blocked read that a close ends.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "handset/handset_device.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/win32/testing/pipe_server.h"
#include "platform/win32/win32_hid_host.h"

namespace {

using namespace platform;
using win32::testing::PipeServer;

constexpr auto kPromptly = std::chrono::seconds(20);

std::wstring UniqueName(const char* what) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return L"corvane-hid-" + std::wstring(what, what + std::char_traits<char>::length(what)) + L"-" +
           std::to_wstring(std::chrono::steady_clock::now().time_since_epoch().count()) +
           std::wstring(info->name(), info->name() + std::char_traits<char>::length(info->name()));
}

TEST(Win32HidHost, WithoutTheHandsetTheLinkFindsNothingAndSaysSo) {
    win32::Win32HidHost host;
    ScopedBackends backends(Backends{.hidHost = &host});
    LogCapture log;
    handset::ResetHandsetDevices();
    EXPECT_FALSE(handset::WriteDeviceFirst());
    EXPECT_FALSE(handset::ReadDeviceFirst());
    EXPECT_EQ(log.Count("USBConnectToIthDevice fail 1"), 2) << "one end of the list per search";
    EXPECT_FALSE(log.ContainsFragment("CreateFile(m_ReadHandle)"));
    EXPECT_FALSE(log.ContainsFragment("CreateFile(m_WriteHandle)"));
    EXPECT_EQ(log.Count("USBConnectToIthDevice fail 2"), 0) << "every listed interface's path was read";
    handset::ResetHandsetDevices();
}

TEST(Win32HidHost, WhatCannotBeOpenedGivesAnInvalidHandleAndTheSystemsError) {
    win32::Win32HidHost host;
    for (const wchar_t* path : {L"\\\\?\\hid#vid_04d9&pid_2832&mi_00#nothing#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                                L"", L"\\\\.\\pipe\\corvane-no-such-pipe"}) {
        for (HidAccess access : {HidAccess::Query, HidAccess::ReadWrite}) {
            uint32_t error = 0;
            const HidHandle handle = host.Open(path, access, error);
            EXPECT_FALSE(handle.IsValid());
            EXPECT_NE(error, 0u);
        }
    }
    // Calls on a handle that was never opened fail without touching anything.
    HidAttributes attributes;
    HidCaps caps;
    uint8_t buffer[9] = {};
    size_t read = 1;
    uint32_t error = 0;
    EXPECT_FALSE(host.GetAttributes(kInvalidHidHandle, attributes));
    EXPECT_EQ(host.GetCaps(HidHandle{12345}, caps), HidCapsResult::NoPreparsedData);
    EXPECT_FALSE(host.Read(kInvalidHidHandle, buffer, sizeof(buffer), read, error));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(error, kErrorInvalidHandle);
    EXPECT_FALSE(host.Write(HidHandle{12345}, buffer, sizeof(buffer), error));
    EXPECT_EQ(error, kErrorInvalidHandle);
    host.Close(HidHandle{12345});
}

class PipedHidHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pipe.Created());
        auto accepted = std::async(std::launch::async, [this] { return pipe.Accept(); });
        uint32_t error = 0;
        handle = host.Open(pipe.Path(), HidAccess::ReadWrite, error);
        ASSERT_TRUE(handle.IsValid()) << "error " << error;
        ASSERT_EQ(accepted.wait_for(kPromptly), std::future_status::ready);
        ASSERT_TRUE(accepted.get());
    }
    void TearDown() override { host.Close(handle); }

    win32::Win32HidHost host;
    PipeServer pipe{UniqueName("pipe")};
    HidHandle handle;
};

TEST_F(PipedHidHost, ReportsTravelWholeInBothDirections) {
    const std::vector<uint8_t> command = {0x02, 0x10, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    uint32_t error = 1;
    ASSERT_TRUE(host.Write(handle, command.data(), command.size(), error));
    EXPECT_EQ(error, 0u);
    std::vector<uint8_t> arrived;
    ASSERT_TRUE(pipe.Receive(arrived));
    EXPECT_EQ(arrived, command);

    for (const std::vector<uint8_t>& report : {std::vector<uint8_t>{0x03, 0xF0, 0, 0, 0, 0, 0, 0, 0},
                                               std::vector<uint8_t>{0x03, 0x0A, 0, 0, 0, 0, 0, 0, 0}}) {
        ASSERT_TRUE(pipe.Send(report));
        uint8_t buffer[9] = {};
        size_t read = 0;
        ASSERT_TRUE(host.Read(handle, buffer, sizeof(buffer), read, error));
        EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + read), report);
    }
}

TEST_F(PipedHidHost, ABlockedReadEndsWhenItsHandleIsClosed) {
    auto reading = std::async(std::launch::async, [this] {
        uint8_t buffer[9] = {};
        size_t read = 0;
        uint32_t error = 0;
        const bool ok = host.Read(handle, buffer, sizeof(buffer), read, error);
        return std::make_pair(ok, error);
    });
    // The read is under way (nothing to read, so it waits) unless the close
    // below comes first; both must end the read with a failure.
    EXPECT_EQ(reading.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    host.Close(handle);
    ASSERT_EQ(reading.wait_for(kPromptly), std::future_status::ready) << "the read did not end on close";
    const auto [ok, error] = reading.get();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error == kErrorOperationAborted || error == kErrorInvalidHandle) << error;

    uint8_t buffer[9] = {};
    size_t read = 0;
    uint32_t after = 0;
    EXPECT_FALSE(host.Read(handle, buffer, sizeof(buffer), read, after));
    EXPECT_EQ(after, kErrorInvalidHandle);
}

TEST_F(PipedHidHost, AHandleThatIsNoHidDeviceHasNoAttributesOrCapabilities) {
    HidAttributes attributes;
    HidCaps caps;
    EXPECT_FALSE(host.GetAttributes(handle, attributes));
    EXPECT_NE(host.GetCaps(handle, caps), HidCapsResult::Ok);
}

}  // namespace
