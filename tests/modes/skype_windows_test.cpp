// Skype window control on a bare desktop: which window each lookup finds,
// what is posted where, and the rounds of the call-window tidying.

#include "modes/skype_windows.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/backends.h"
#include "app/corvane_app.h"
#include "platform/portable/local_desktop.h"
#include "platform/log.h"
#include "skype/skype_parser.h"
#include "support/instant_clock.h"

namespace {

using platform::WindowHandle;

// Records what is posted, by the target window's class.
class PostLog final : public platform::DesktopObserver {
public:
    explicit PostLog(platform::LocalDesktop& desktop) : desktop_(desktop) {}
    void OnMessage(WindowHandle w, uint32_t message, platform::WPARAM wParam, platform::LPARAM, bool) override {
        posts.push_back(platform::WideToUtf8(desktop_.GetClassName(w)) + " " + platform::MessageName(message) + " " +
                        std::to_string(wParam));
    }
    void OnFocus(WindowHandle) override {}
    void OnKeybdEvent(uint8_t, uint8_t, uint32_t) override {}
    std::vector<std::string> posts;

private:
    platform::LocalDesktop& desktop_;
};

class SkypeWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        backends_.emplace(platform::Backends{.clock = &clock_, .desktop = &desktop_});
        desktop_.SetObserver(&log_);
        app::ResetProcessState();
        SetVersion("5.5.0.124");
    }
    void TearDown() override {
        app::ResetProcessState();
        desktop_.SetObserver(nullptr);
        backends_.reset();
    }
    static void SetVersion(const std::string& version) { skype::ProcessSkypeMessage("SKYPEVERSION " + version); }
    WindowHandle Top(const wchar_t* className) {
        const WindowHandle w = desktop_.CreateWindow(className, L"", nullptr);
        desktop_.ShowWindow(w, true);
        return w;
    }
    WindowHandle Child(WindowHandle parent, const wchar_t* className) {
        const WindowHandle w = desktop_.CreateChildWindow(parent, className, L"", nullptr);
        desktop_.ShowWindow(w, true);
        return w;
    }
    // The dial pad's chain below a call and dial pad form.
    void DialPadUnder(WindowHandle form) {
        Child(Child(Child(form, L"TCallPhonesCanvas"), L"TDialerControl.UnicodeClass"), L"TskRichEdit_");
    }

    testsupport::InstantClock clock_;
    platform::LocalDesktop desktop_;
    std::optional<platform::ScopedBackends> backends_;
    PostLog log_{desktop_};
};

TEST_F(SkypeWindowsTest, MainWindowLookupTriesTheClassesInOrder) {
    EXPECT_FALSE(modes::FindSkypeMainWindow());
    const WindowHandle oldest = Top(L"TZapMainForm");
    EXPECT_EQ(modes::FindSkypeMainWindow(), oldest);
    const WindowHandle newer = Top(L"tSkMainForm");
    EXPECT_EQ(modes::FindSkypeMainWindow(), newer);
    const WindowHandle newest = Top(L"tSkMainForm.UnicodeClass");
    EXPECT_EQ(modes::FindSkypeMainWindow(), newest);
}

TEST_F(SkypeWindowsTest, TheDialPadIsFoundAsAChildFirstThenAsATopLevelWindow) {
    const WindowHandle main = Top(L"tSkMainForm");
    DialPadUnder(Top(L"TskCallPhonesForm"));  // an older client's own window
    modes::TypeIntoDialer('7');
    EXPECT_EQ(log_.posts, (std::vector<std::string>{"TskRichEdit_ WM_KEYDOWN 55", "TskRichEdit_ WM_KEYUP 55"}));
    // A form inside the main window wins; without its canvas the chain is
    // broken and nothing is posted, though the top-level one is complete.
    Child(main, L"TCallPhonesForm.UnicodeClass");
    log_.posts.clear();
    modes::TypeIntoDialer('7');
    EXPECT_TRUE(log_.posts.empty());
}

TEST_F(SkypeWindowsTest, VersionDecidesWhoIs55OrLater) {
    struct Case {
        const char* version;
        bool later;
        bool three;
    };
    for (const Case& c : {Case{"5.5.0.124", true, false}, Case{"5.4.0.1", false, false}, Case{"5.10.0.1", true, false},
                          Case{"6.0.0.1", true, false}, Case{"4.9.0.1", false, false}, Case{"3.8.0.188", false, true}}) {
        SetVersion(c.version);
        EXPECT_EQ(modes::IsSkype55OrLater(), c.later) << c.version;
        EXPECT_EQ(modes::IsSkype3(), c.three) << c.version;
    }
}

TEST_F(SkypeWindowsTest, TidyingRunsAHundredRoundsThenTheQualityWindowsOnce) {
    Top(L"TConversationForm");        // stays open: asked to close every round
    Top(L"TCallQualityForm.UnicodeClass");
    const uint64_t before = clock_.GetTickCount64();
    modes::CloseSkypeCallWindows();
    EXPECT_GE(clock_.GetTickCount64() - before, 2000u) << "100 rounds of 20 ms";
    std::map<std::string, int> closes;
    for (const std::string& post : log_.posts) ++closes[post];
    EXPECT_EQ(closes["TConversationForm WM_CLOSE 0"], 100);
    EXPECT_EQ(closes["TCallQualityForm.UnicodeClass WM_CLOSE 0"], 1);
    EXPECT_EQ(closes.size(), 2u);
}

TEST_F(SkypeWindowsTest, ShowingContactsWithoutAMainWindowLooksAmongTopLevelWindows) {
    Top(L"TConversationsControl");
    modes::ShowSkypeContacts();
    EXPECT_EQ(log_.posts, (std::vector<std::string>{"TConversationsControl WM_SYSKEYDOWN 49",
                                                    "TConversationsControl WM_SYSKEYUP 49"}));
}

}  // namespace
