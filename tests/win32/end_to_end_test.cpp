// corvane.exe and the Skype stand-in under one Wine session: the program
// attaches, sends its start-up queries, keeps pinging, follows a ringing
// call into the ringing mode and back, ends with exit code 0 on the quit
// message with its settings saved; a second start meanwhile ends at once.
// The tray menu's setting command opens the settings sheet, and OK applies
// what the user changed on it.
//
// Both programs are taken from the folder of this test program, where the
// Windows build puts them with the files an installation places beside
// corvane.exe. The program runs from a fresh copy of that folder.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/system_tray.h"
#include "desktop_loop.h"
#include "platform/property_sheet.h"
#include "platform/text_codec.h"
#include "platform/win32/testing/child_process.h"
#include "platform/win32/testing/sheet_user.h"
#include "platform/win32/win32_desktop.h"
#include "settings_ui/page_templates.h"
#include "support/file_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using win32::testing::ChildProcess;
using win32::testing::OwnFolder;
using win32::testing::SheetUser;

constexpr uint32_t kLimitMs = 60000;
const std::wstring kMainTitle = L"VARNO-CORVANE";

// The stand-in's part: everything it waits for must come within its limit.
// The test itself sends the quit message once the log shows the call's end.
const char kScript[] = R"(attach 0
start
await "GET CURRENTUSERHANDLE"
await "GET SKYPEVERSION"
await "GET PROFILE PSTN_BALANCE"
await "GET UI_LANGUAGE"
await PING 2
contact alice ONLINE "Alice Liddell"
call-in 7 alice Alice Liddell
await "GET CALL 7 STATUS"
end 7
await-no-window VARNO-CORVANE
)";

// The settings file's text, whichever encoding it is in (UTF-16LE with its
// mark, or UTF-8).
std::wstring ReadText(const fs::path& path, bool& utf16) {
    const std::string bytes = testing_support::FileBytes(path);
    utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (utf16) return CurrentTextCodec().ToWide(CodePage::Utf16Le, std::string_view(bytes).substr(2)).text;
    return Utf8ToWide(bytes);
}

void WriteText(const fs::path& path, const std::wstring& text, bool utf16) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (utf16) {
        out << "\xFF\xFE" << CurrentTextCodec().FromWide(CodePage::Utf16Le, text, kNoByteLimit).bytes;
    } else {
        out << WideToUtf8(text);
    }
}

// Removes the line of `key`; true when there was one.
bool RemoveKey(std::wstring& text, const std::wstring& key) {
    const size_t at = text.find(L"\n" + key + L"=");
    if (at == std::wstring::npos) return false;
    const size_t end = text.find(L'\n', at + 1);
    text.erase(at, end == std::wstring::npos ? std::wstring::npos : end - at);
    return true;
}

// The value of `key` in a profile file's text ("key=value" lines).
std::wstring ProfileValue(const fs::path& path, const std::wstring& key) {
    bool utf16 = false;
    const std::wstring text = L"\n" + ReadText(path, utf16);
    const size_t at = text.find(L"\n" + key + L"=");
    if (at == std::wstring::npos) return {};
    const size_t begin = at + key.size() + 2;
    return text.substr(begin, text.find_first_of(L"\r\n", begin) - begin);
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// Waits until the program's log shows the ringing mode and, after it, the
// main mode again.
bool WaitForRingingAndBack(const fs::path& log) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
    for (;;) {
        const std::string text = testing_support::FileBytes(log);
        const size_t ringing = text.find("SwitchMode:2");
        if (ringing != std::string::npos && text.find("SwitchMode:0", ringing) != std::string::npos) return true;
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool WaitForWindow(Desktop& desktop, bool present) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
    while (static_cast<bool>(desktop.FindWindow(nullptr, &kMainTitle)) != present) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Runs this thread's message loop until `done` holds, looked at every 20 ms.
bool WaitUntil(Desktop& desktop, const std::function<bool()>& done) {
    if (done()) return true;
    const uintptr_t poll = desktop.SetThreadTimer(20, [&](uintptr_t) {
        if (done()) desktop.PostQuitMessage(0);
    });
    const bool inTime = win32_test::RunLoopWithLimit(desktop, kLimitMs);
    desktop.KillThreadTimer(poll);
    return inTime;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(::testing::TempDir()) / (std::string("e2e-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "program");
        const fs::path built = OwnFolder();
        fs::copy_file(built / "corvane.exe", folder / "program" / "corvane.exe");
        fs::copy_file(built / "Corvane.ini", folder / "program" / "Corvane.ini");
        fs::copy(built / "Language", folder / "program" / "Language", fs::copy_options::recursive);
        std::ofstream(folder / "script.txt", std::ios::binary) << kScript;
    }
    fs::path folder;
    win32::Win32Desktop desktop;
};

TEST_F(EndToEndTest, TheProgramAttachesFollowsARingingCallAndEndsOnTheQuitMessage) {
    ASSERT_FALSE(desktop.FindWindow(nullptr, &kMainTitle)) << "another companion runs in this Wine session";
    const fs::path settings = folder / "program" / "Corvane.ini";
    bool utf16 = false;
    std::wstring text = ReadText(settings, utf16);
    ASSERT_TRUE(RemoveKey(text, L"VAL_AUDIO_IN_MUTE"));
    WriteText(settings, text, utf16);

    ChildProcess standIn, program, second;
    ASSERT_TRUE(standIn.Start(Quoted(fs::path(OwnFolder()) / "skype-standin.exe") + L" --script " +
                              Quoted(folder / "script.txt") + L" --record " + Quoted(folder / "record.txt") +
                              L" --wait-limit " + std::to_wstring(kLimitMs)));
    ASSERT_TRUE(program.Start(Quoted(folder / "program" / "corvane.exe") + L" --log-file " + Quoted(folder / "log.txt")));
    ASSERT_TRUE(WaitForWindow(desktop, true)) << "the main window never appeared";

    ASSERT_TRUE(second.Start(Quoted(folder / "program" / "corvane.exe")));
    uint32_t secondCode = 99;
    EXPECT_TRUE(second.Wait(kLimitMs, secondCode)) << "the second start did not end";
    EXPECT_EQ(secondCode, 0u);
    EXPECT_TRUE(program.Running()) << "the first one goes on";

    EXPECT_TRUE(WaitForRingingAndBack(folder / "log.txt")) << "not into the ringing mode and back";
    const WindowHandle main = desktop.FindWindow(nullptr, &kMainTitle);
    ASSERT_TRUE(main);
    EXPECT_TRUE(desktop.PostMessage(main, WM_USER + 1, 0, 0));

    uint32_t standInCode = 99, programCode = 99;
    EXPECT_TRUE(standIn.Wait(2 * kLimitMs, standInCode));
    EXPECT_EQ(standInCode, 0u) << "the stand-in's script did not run to its end; it recorded:\n"
                               << testing_support::FileBytes(folder / "record.txt");
    EXPECT_TRUE(program.Wait(kLimitMs, programCode)) << "the program did not end";
    EXPECT_EQ(programCode, 0u);

    EXPECT_NE(testing_support::FileBytes(folder / "log.txt").find("Received quit message"), std::string::npos);
    bool stillUtf16 = false;
    const std::wstring saved = ReadText(settings, stillUtf16);
    EXPECT_NE(saved.find(L"VAL_AUDIO_IN_MUTE=0"), std::wstring::npos) << "settings not saved";
    EXPECT_EQ(stillUtf16, utf16) << "the file's encoding changed";
}

TEST_F(EndToEndTest, TheSettingCommandOpensTheSheetAndOkAppliesTheUsersChange) {
    ASSERT_FALSE(desktop.FindWindow(nullptr, &kMainTitle)) << "another companion runs in this Wine session";
    ChildProcess program;
    ASSERT_TRUE(program.Start(Quoted(folder / "program" / "corvane.exe") + L" --log-file " + Quoted(folder / "log.txt")));
    ASSERT_TRUE(WaitForWindow(desktop, true)) << "the main window never appeared";
    const WindowHandle main = desktop.FindWindow(nullptr, &kMainTitle);
    ASSERT_TRUE(main);

    // The tray menu's "Audio Setting".
    EXPECT_TRUE(desktop.PostMessage(main, WM_COMMAND, app::ID_AUDIO_SETTING, 0));
    ASSERT_TRUE(WaitUntil(desktop, [&] { return SheetUser::OwnedBy(main).Found(); })) << "no sheet opened";
    SheetUser sheet = SheetUser::OwnedBy(main);
    EXPECT_EQ(sheet.ShownTab(), settings_ui::PAGE_AUDIO);
    EXPECT_EQ(sheet.TabCount(), settings_ui::kSheetPageCount);
    EXPECT_FALSE(sheet.ButtonEnabled(kSheetApplyButton));
    // The program's language (English, as installed) names the sheet.
    const fs::path language = folder / "program" / "Language" / "Eng.ini";
    EXPECT_EQ(sheet.Caption(), ProfileValue(language, L"Dlg_Caption"));
    EXPECT_EQ(sheet.ButtonText(kSheetApplyButton), ProfileValue(language, L"Button_Apply"));
    EXPECT_FALSE(sheet.Caption().empty());
    const int volume = sheet.SliderPos(settings_ui::IDC_SLIDER_1);
    const int chosen = (volume + 5) % (sheet.SliderMax(settings_ui::IDC_SLIDER_1) + 1);
    sheet.Slide(settings_ui::IDC_SLIDER_1, chosen);
    EXPECT_TRUE(sheet.ButtonEnabled(kSheetApplyButton)) << "the moved slider marks its page";
    sheet.SelectTab(settings_ui::PAGE_ABOUT);
    EXPECT_EQ(sheet.ShownTab(), settings_ui::PAGE_ABOUT);
    EXPECT_TRUE(sheet.ShowsIcon()) << "the About page shows the program's icon";
    sheet.Press(kSheetOkButton);
    EXPECT_TRUE(WaitUntil(desktop, [&] { return !SheetUser::OwnedBy(main).Found(); })) << "OK left the sheet open";

    bool utf16 = false;
    const std::wstring saved = ReadText(folder / "program" / "Corvane.ini", utf16);
    EXPECT_NE(saved.find(L"VAL_AUDIO_OUT_VOLUME=" + std::to_wstring(chosen) + L"\r\n"), std::wstring::npos)
        << "the Audio page's volume was not applied";
    EXPECT_NE(testing_support::FileBytes(folder / "log.txt").find("OpenSettingSheet: page 0"), std::string::npos);

    EXPECT_TRUE(desktop.PostMessage(main, WM_USER + 1, 0, 0));
    uint32_t programCode = 99;
    EXPECT_TRUE(program.Wait(kLimitMs, programCode)) << "the program did not end";
    EXPECT_EQ(programCode, 0u);
}

}  // namespace
