// The Windows family's backends against the real system calls: the
// registry, the executable's path, the system's version, the clock's waits
// and the code pages.

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/app_folder.h"
#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sync.h"
#include "platform/system.h"
#include "platform/text_codec.h"

namespace {

// A value name no other run uses, under a key every user has.
std::wstring UniqueName(const std::wstring& stem) {
    return stem + L"-" + std::to_wstring(platform::CurrentClock().GetTickCount64());
}

TEST(Win32Registry, NumbersAndTextsRoundTrip) {
    platform::Registry& registry = *platform::DefaultBackends().registry;
    ASSERT_TRUE(registry.OpenKey(L"Software"));
    const std::wstring number = UniqueName(L"CorvaneTestNumber");
    const std::wstring text = UniqueName(L"CorvaneTestText");
    const struct {
        std::wstring name;
        platform::RegistryValue value;
    } cases[] = {
        {number, platform::RegistryValue{uint32_t{1}}},
        {number, platform::RegistryValue{uint32_t{0xFFFFFFFFu}}},
        {text, platform::RegistryValue{std::wstring(L"C:\\Program Files\\Corvane\\corvane.exe")}},
        {text, platform::RegistryValue{std::wstring(L"\u7B80\u4F53 Zako\u0144cz \U0001F600")}},
        {text, platform::RegistryValue{std::wstring()}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(registry.SetValue(L"Software", c.name, c.value));
        EXPECT_EQ(registry.GetValue(L"Software", c.name), c.value);
    }
    EXPECT_EQ(registry.GetValue(L"Software", UniqueName(L"CorvaneTestNeverWritten")), std::nullopt);
}

// Keys that cannot be written (missing, or named beyond the system's limit
// of 255 characters): false and one log line each, no value appears.
TEST(Win32Registry, UnwritableKeysAreLoggedNotFatal) {
    platform::Registry& registry = *platform::DefaultBackends().registry;
    const std::wstring keys[] = {L"Software\\CorvaneNoSuchKey\\Below", L"Software\\" + std::wstring(300, L'k'),
                                 L"Software\\" + std::wstring(40000, L'k')};
    for (const std::wstring& key : keys) {
        SCOPED_TRACE(key.size());
        EXPECT_FALSE(registry.OpenKey(key));
        platform::LogCapture log;
        EXPECT_FALSE(registry.SetValue(key, L"APITimeoutDisabled", platform::RegistryValue{uint32_t{1}}));
        EXPECT_EQ(log.Texts().size(), 1u);
        EXPECT_TRUE(log.ContainsFragment("APITimeoutDisabled"));
        EXPECT_EQ(registry.GetValue(key, L"APITimeoutDisabled"), std::nullopt);
    }
}

TEST(Win32System, ExecutablePathIsThisProgramsAndBuffersCutCleanly) {
    platform::System& system = *platform::DefaultBackends().system;
    const std::optional<std::wstring> path = system.ExecutablePath();
    ASSERT_TRUE(path.has_value());
    EXPECT_NE(path->find(L"corvane_tests.exe"), std::wstring::npos) << platform::WideToUtf8(*path);
    EXPECT_EQ(path->find(L'\\'), 2u) << "a full path with a drive";
    EXPECT_TRUE(system.IsVistaOrLater());

    platform::ScopedBackends backends({.system = &system});
    std::wstring copied = L"stale";
    EXPECT_TRUE(platform::GetExecutablePath(copied, path->size() + 1));
    EXPECT_EQ(copied, *path);
    EXPECT_FALSE(platform::GetExecutablePath(copied, path->size()));
    EXPECT_EQ(copied, L"");
}

// Waits end by what they wait for, never by a measured time: an event set
// by another thread releases an unlimited wait, a wait with no time left
// returns at once, and a timed wait sees a set event.
TEST(Win32Clock, WaitsEndWhenTheirConditionHolds) {
    platform::ScopedBackends backends(platform::DefaultBackends());
    platform::Event event;
    EXPECT_FALSE(event.Wait(0));
    platform::Thread setter;
    setter.Start("setter", [&event] { event.Set(); });
    EXPECT_TRUE(event.Wait(platform::kInfinite));
    setter.Join();
    event.Set();
    EXPECT_TRUE(event.Wait(60000));
    EXPECT_FALSE(event.Wait(0)) << "an auto-reset event wakes one wait";

    platform::CriticalSection lock;
    platform::Guard outer(lock);
    platform::Guard inner(lock);  // re-entrant on its owner
    EXPECT_TRUE(lock.IsHeldByCurrentThread());
}

TEST(Win32Clock, TicksNeverGoBackAndLocalTimeIsACalendarDate) {
    platform::Clock& clock = *platform::DefaultBackends().clock;
    const uint64_t first = clock.GetTickCount64();
    const uint64_t second = clock.GetTickCount64();
    EXPECT_GE(second, first);
    const platform::LocalTime now = clock.GetLocalTime();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.dayOfWeek >= 0 && now.dayOfWeek <= 6);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59);
}

// Code page 950 through the system's tables: contact names round-trip, a
// character it lacks becomes '?', and a byte limit keeps whole characters.
TEST(Win32Codec, TraditionalChineseThroughTheSystemsTables) {
    platform::TextCodec& codec = *platform::DefaultBackends().codec;
    using platform::CodePage;
    const std::wstring name = L"\u9673\u5927\u6587 Chan";
    const platform::EncodedText encoded = codec.FromWide(CodePage::TraditionalChinese, name, platform::kNoByteLimit);
    EXPECT_FALSE(encoded.replaced);
    EXPECT_EQ(encoded.bytes, "\xB3\xAF\xA4\x6A\xA4\xE5 Chan");
    EXPECT_EQ(codec.ToWide(CodePage::TraditionalChinese, encoded.bytes).text, name);

    const platform::EncodedText polish = codec.FromWide(CodePage::TraditionalChinese, L"\u0141a", platform::kNoByteLimit);
    EXPECT_EQ(polish.bytes, "?a");
    EXPECT_TRUE(polish.replaced);
    EXPECT_EQ(codec.FromWide(CodePage::TraditionalChinese, name, 5).bytes, "\xB3\xAF\xA4\x6A");

    const platform::DecodedText cut = codec.ToWide(CodePage::TraditionalChinese, "\xB3\xAF\xA4");
    EXPECT_EQ(cut.text, L"\u9673\uFFFD");
    EXPECT_TRUE(cut.replaced);
}

}  // namespace
