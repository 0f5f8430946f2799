// The Windows property sheet against the system: a real modal sheet of
// pages, driven from inside its own modal loop by steps posted to its owner
// window one after another, as a user's clicks would arrive. Each step reads
// what the sheet shows through the system's messages and acts as a user.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/testing/sheet_user.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_sheet_host.h"
#include "platform/window_messages.h"
#include "settings_ui/page_templates.h"

namespace {

using namespace platform;
using platform::win32::testing::SheetUser;

constexpr uint32_t WM_NEXT_STEP = WM_APP + 0x40;
constexpr uint32_t kGuardMs = 30000;

using Step = std::function<void(SheetView&, SheetUser&)>;

// What the sheet told the program, one line an event, and the steps the
// test's user takes once the sheet is up.
class Recorder final : public SheetEvents {
public:
    std::vector<std::string> log;
    std::function<void(SheetView&)> onInit;
    std::function<void(SheetView&)> onClosed;
    WindowHandle driver;

    void OnSheetInit(SheetView& sheet) override {
        view = &sheet;
        log.push_back("init");
        if (onInit) onInit(sheet);
        win32::Win32Desktop().PostMessage(driver, WM_NEXT_STEP, 0, 0);
    }
    void OnPageInit(SheetView&, int page) override { log.push_back("page " + std::to_string(page)); }
    void OnControlEvent(SheetView&, int page, int id, ControlEvent event) override {
        const char* name = event == ControlEvent::SelectionChanged ? "chosen"
                           : event == ControlEvent::SliderReleased ? "released"
                                                                   : "clicked";
        log.push_back("event " + std::to_string(page) + " " + std::to_string(id) + " " + name);
    }
    void OnPageApply(SheetView&, int page) override { log.push_back("apply " + std::to_string(page)); }
    void OnPageCancel(SheetView&, int page) override { log.push_back("cancel " + std::to_string(page)); }
    void OnSheetClosed(SheetView& sheet) override {
        log.push_back("closed");
        if (onClosed) onClosed(sheet);
        view = nullptr;
    }

    SheetView* view = nullptr;
};

ControlTemplate Control(int id, ControlKind kind, const wchar_t* text, int y, int cy = 10) {
    return ControlTemplate{id, kind, text, 10, y, 120, cy};
}

// Three pages: every kind of control on the first, a tall slider on the
// second, the third never shown unless a test shows it.
SheetTemplate TestSheet() {
    SheetTemplate sheet;
    sheet.caption = L"Options";
    sheet.icon = IconRef{IconRef::Kind::Standard, IDI_ASTERISK};
    sheet.pages.push_back(PageTemplate{501, L"First", 220, 140,
                                       {Control(10, ControlKind::Label, L"Hello", 5, 8),
                                        Control(11, ControlKind::GroupBox, L"Group", 15, 60),
                                        Control(12, ControlKind::Slider, L"", 30, 15),
                                        Control(13, ControlKind::DropList, L"", 50, 80),
                                        Control(14, ControlKind::CheckBox, L"Check", 80),
                                        Control(15, ControlKind::PushButton, L"Push", 95, 14),
                                        ControlTemplate{16, ControlKind::Icon, L"", 160, 5, 21, 20}}});
    sheet.pages.push_back(PageTemplate{502, L"Second", 220, 140,
                                       {Control(20, ControlKind::Slider, L"", 10, 20),
                                        Control(21, ControlKind::CheckBox, L"Other", 40)}});
    sheet.pages.push_back(PageTemplate{503, L"Third", 220, 140,
                                       {Control(30, ControlKind::Label, L"Never shown", 5, 8),
                                        Control(31, ControlKind::Slider, L"", 20, 15),
                                        Control(32, ControlKind::DropList, L"", 40, 80),
                                        Control(33, ControlKind::CheckBox, L"Third check", 60)}});
    return sheet;
}

void FillList(SheetView& view, int page, int id) {
    for (int n = 0; n < 30; ++n) view.InsertListItem(page, id, -1, L"entry " + std::to_wstring(n));
}

class Win32SheetHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = desktop.CreateWindow(L"Corvane.Test.SheetOwner", L"",
                                     [this](WindowHandle, uint32_t m, WPARAM, LPARAM) -> LRESULT {
                                         if (m == WM_NEXT_STEP) NextStep();
                                         return 0;
                                     });
        ASSERT_TRUE(owner);
        events.driver = owner;
    }
    void TearDown() override { desktop.DestroyWindow(owner); }

    // Runs the sheet until it ends; the steps run in its modal loop, one a
    // message. A sheet still open at the guard's time is cancelled and fails.
    int Run(int startPage = 0) { return RunOn(host, startPage); }
    int RunOn(SheetHost& on, int startPage = 0) {
        sheet.startPage = startPage;
        bool timedOut = false;
        const uintptr_t guard = desktop.SetThreadTimer(kGuardMs, [&](uintptr_t) {
            timedOut = true;
            SheetUser user;
            if (user.Found()) user.Press(kSheetCancelButton);
        });
        const int result = on.RunSheet(owner, sheet, events);
        desktop.KillThreadTimer(guard);
        EXPECT_FALSE(timedOut) << "the sheet did not end by itself";
        EXPECT_TRUE(steps.empty()) << steps.size() << " steps never ran";
        return result;
    }

    void NextStep() {
        if (steps.empty() || !events.view) return;
        Step step = std::move(steps.front());
        steps.pop_front();
        SheetUser user;
        ASSERT_TRUE(user.Found());
        step(*events.view, user);
        if (!steps.empty()) desktop.PostMessage(owner, WM_NEXT_STEP, 0, 0);
    }

    size_t Count(const std::string& line) const {
        return static_cast<size_t>(std::count(events.log.begin(), events.log.end(), line));
    }

    win32::Win32Desktop desktop;
    // Built in memory: the test program has no page resources.
    win32::Win32SheetHost host{win32::Win32SheetHost::PageSource::InMemory};
    SheetTemplate sheet = TestSheet();
    Recorder events;
    std::deque<Step> steps;
    WindowHandle owner;
};

TEST_F(Win32SheetHostTest, APageIsCreatedWhenFirstShownAndOkAppliesTheShownPagesInOrder) {
    steps = {[](SheetView& view, SheetUser& user) {
                 EXPECT_EQ(view.PageCount(), 3);
                 EXPECT_EQ(user.TabCount(), 3);
                 EXPECT_EQ(view.CurrentPage(), 1);
                 EXPECT_FALSE(view.PageExists(0));
                 EXPECT_TRUE(view.PageExists(1));
                 user.SelectTab(0);
             },
             [](SheetView& view, SheetUser& user) {
                 EXPECT_EQ(view.CurrentPage(), 0);
                 user.SelectTab(1);
                 user.SelectTab(0);
             },
             [](SheetView&, SheetUser& user) { user.Press(kSheetOkButton); }};
    EXPECT_EQ(Run(1), IDOK);
    EXPECT_EQ(events.log, (std::vector<std::string>{"init", "page 1", "page 0", "apply 0", "apply 1", "closed"}));
}

TEST_F(Win32SheetHostTest, EveryKindOfControlIsTheSystemsControlOfThatKind) {
    struct Case {
        int page;
        int id;
        const wchar_t* look;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, 10, L"Static left", L"Hello"},
        {0, 11, L"Button groupbox", L"Group"},
        {0, 12, L"msctls_trackbar32 horizontal tabstop", L""},
        {0, 13, L"ComboBox dropdownlist vscroll tabstop", L""},
        {0, 14, L"Button autocheckbox tabstop", L"Check"},
        {0, 15, L"Button pushbutton tabstop", L"Push"},
        {0, 16, L"Static icon", L""},
        // Tall enough for a tick at every position.
        {1, 20, L"msctls_trackbar32 horizontal ticks tabstop", L""},
    };
    // A drop-down list shows its scroll bar only while it has more entries
    // than fit; only then does its list window carry the style.
    steps.push_back([](SheetView& view, SheetUser&) { FillList(view, 0, 13); });
    for (const Case& c : cases) {
        steps.push_back([c](SheetView& view, SheetUser& user) {
            if (view.CurrentPage() != c.page) view.SetCurrentPage(c.page);
            EXPECT_EQ(user.Describe(c.id), c.look) << "control " << c.id;
            EXPECT_EQ(user.Text(c.id), c.text) << "control " << c.id;
            EXPECT_EQ(view.ControlText(c.page, c.id), c.text) << "control " << c.id;
        });
    }
    steps.push_back([](SheetView& view, SheetUser& user) {
        view.SetCurrentPage(0);
        EXPECT_TRUE(user.ShowsIcon()) << "the icon control shows the sheet's icon";
        view.SetControlText(0, 10, L"Changed");
        view.SetControlText(0, 14, L"Ticked");
        EXPECT_EQ(user.Text(10), L"Changed");
        EXPECT_EQ(view.ControlText(0, 14), L"Ticked");
        EXPECT_TRUE(user.Visible(15));
        view.ShowControl(0, 15, false);
        EXPECT_FALSE(user.Visible(15));
        view.ShowControl(0, 15, true);
        EXPECT_TRUE(user.Visible(15));
        view.PressCancel();
    });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(Win32SheetHostTest, TheSettingsPagesComeOutAsTheirTemplatesSay) {
    sheet.pages = settings_ui::PageTemplates();
    for (int page = 0; page < settings_ui::kSheetPageCount; ++page) {
        steps.push_back([this, page](SheetView& view, SheetUser& user) {
            view.SetCurrentPage(page);
            EXPECT_EQ(user.ShownTab(), page);
            for (const ControlTemplate& c : sheet.pages[static_cast<size_t>(page)].controls) {
                if (c.id < 0) continue;  // the About page's icon has no id of its own
                EXPECT_FALSE(user.Describe(c.id).empty()) << "page " << page << " control " << c.id;
                if (c.kind != ControlKind::DropList) {
                    EXPECT_EQ(user.Text(c.id), c.text) << "control " << c.id;
                }
            }
        });
    }
    steps.push_back([](SheetView& view, SheetUser& user) {
        user.SelectTab(settings_ui::PAGE_PHONE);
        EXPECT_EQ(user.Describe(settings_ui::IDC_SLIDER_1), L"msctls_trackbar32 horizontal ticks tabstop")
            << "the contrast";
        user.SelectTab(settings_ui::PAGE_AUDIO);
        FillList(view, settings_ui::PAGE_AUDIO, settings_ui::IDC_LIST_PLAYBACK);
        EXPECT_EQ(user.Describe(settings_ui::IDC_SLIDER_1), L"msctls_trackbar32 horizontal tabstop") << "a volume";
        EXPECT_EQ(user.Describe(settings_ui::IDC_LIST_PLAYBACK), L"ComboBox dropdownlist vscroll tabstop");
        user.SelectTab(settings_ui::PAGE_ABOUT);
        EXPECT_TRUE(user.ShowsIcon());
        user.Press(kSheetCancelButton);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(Count("cancel 4"), 1u);
}

// The program's pages come from its dialog resources, generated from the
// same description: they must make the very controls the in-memory pages
// make, in the same places.
TEST_F(Win32SheetHostTest, ThePagesFromResourcesAreThoseBuiltInMemory) {
    for (const PageTemplate& page : settings_ui::PageTemplates()) {
        ASSERT_TRUE(SheetUser::ProgramHasDialog(page.resourceId)) << "page " << page.resourceId;
    }
    sheet.pages = settings_ui::PageTemplates();
    auto layouts = [this](SheetHost& on) {
        std::vector<std::wstring> seen;
        for (int page = 0; page < settings_ui::kSheetPageCount; ++page) {
            steps.push_back([this, page, &seen](SheetView& view, SheetUser& user) {
                view.SetCurrentPage(page);
                for (const ControlTemplate& c : sheet.pages[static_cast<size_t>(page)].controls) {
                    if (c.id < 0) continue;
                    seen.push_back(std::to_wstring(c.id) + L": " + user.Layout(c.id) + L" " + user.Text(c.id));
                }
                seen.push_back(user.ShowsIcon() ? L"icon" : L"no icon");
            });
        }
        steps.push_back([](SheetView& view, SheetUser&) { view.PressCancel(); });
        EXPECT_EQ(RunOn(on), IDCANCEL);
        return seen;
    };
    win32::Win32SheetHost fromResources;
    const std::vector<std::wstring> resourcePages = layouts(fromResources);
    const std::vector<std::wstring> memoryPages = layouts(host);
    ASSERT_EQ(resourcePages.size(), memoryPages.size());
    for (size_t n = 0; n < resourcePages.size(); ++n) EXPECT_EQ(resourcePages[n], memoryPages[n]);
    size_t lines = sheet.pages.size();  // an icon line a page
    for (const PageTemplate& page : sheet.pages) {
        lines += static_cast<size_t>(std::count_if(page.controls.begin(), page.controls.end(),
                                                   [](const ControlTemplate& c) { return c.id >= 0; }));
    }
    EXPECT_EQ(resourcePages.size(), lines);
}

TEST_F(Win32SheetHostTest, TheSliderKeepsItsRangeAndPositionAndEachReleaseIsOneEvent) {
    steps = {[](SheetView& view, SheetUser& user) {
                 view.SetSliderRange(0, 12, 0, 4);
                 EXPECT_EQ(user.SliderMin(12), 0);
                 EXPECT_EQ(user.SliderMax(12), 4);
                 view.SetSliderPos(0, 12, 3);
                 EXPECT_EQ(view.SliderPos(0, 12), 3);
                 EXPECT_EQ(user.SliderPos(12), 3);
                 view.SetSliderPos(0, 12, 9);
                 EXPECT_EQ(view.SliderPos(0, 12), 4) << "held to the range";
                 view.SetSliderRange(0, 12, 0, 2);
                 EXPECT_EQ(view.SliderPos(0, 12), 2) << "a narrower range takes the position with it";
                 view.SetSliderRange(0, 12, 0, 10);
             },
             [this](SheetView& view, SheetUser& user) {
                 user.Slide(12, 7);
                 EXPECT_EQ(view.SliderPos(0, 12), 7);
                 EXPECT_EQ(Count("event 0 12 released"), 1u) << "a drag reports its end and its position";
                 user.StepSlider(12);
                 EXPECT_EQ(view.SliderPos(0, 12), 8);
                 EXPECT_EQ(Count("event 0 12 released"), 2u);
                 view.PressCancel();
             }};
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(Win32SheetHostTest, TheDropListTakesEntriesByPositionAndReportsTheUsersChoice) {
    steps = {[](SheetView& view, SheetUser& user) {
                 EXPECT_EQ(view.InsertListItem(0, 13, -1, L"b"), 0);
                 EXPECT_EQ(view.InsertListItem(0, 13, -1, L"c"), 1);
                 EXPECT_EQ(view.InsertListItem(0, 13, 0, L"a"), 0);
                 EXPECT_EQ(view.InsertListItem(0, 13, 4, L"far"), -1);
                 EXPECT_EQ(view.InsertListItem(0, 13, -2, L"odd"), -1);
                 EXPECT_EQ(user.ListCount(13), 3);
                 const std::wstring expected[] = {L"a", L"b", L"c", L""};
                 for (int n = -1; n < 4; ++n) {
                     EXPECT_EQ(view.ListItemText(0, 13, n), n < 0 ? L"" : expected[n]) << "entry " << n;
                 }
                 EXPECT_EQ(view.ListSelection(0, 13), -1);
                 view.SelectListItem(0, 13, 2);
                 EXPECT_EQ(view.ListSelection(0, 13), 2);
                 EXPECT_EQ(user.Text(13), L"c") << "the closed list shows its selection";
                 view.SelectListItem(0, 13, 7);
                 EXPECT_EQ(view.ListSelection(0, 13), -1) << "past the end selects nothing";
             },
             [this](SheetView& view, SheetUser& user) {
                 user.Choose(13, 1);
                 EXPECT_EQ(view.ListSelection(0, 13), 1);
                 EXPECT_EQ(events.log.back(), "event 0 13 chosen");
                 view.PressCancel();
             }};
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(Win32SheetHostTest, CheckBoxesAndButtonsReportTheirClicks) {
    steps = {[this](SheetView& view, SheetUser& user) {
        view.SetCheck(0, 14, true);
        EXPECT_TRUE(view.IsChecked(0, 14));
        EXPECT_TRUE(user.Checked(14));
        user.Click(14);
        EXPECT_FALSE(view.IsChecked(0, 14)) << "an automatic check box turns itself";
        EXPECT_EQ(events.log.back(), "event 0 14 clicked");
        user.Click(15);
        EXPECT_EQ(events.log.back(), "event 0 15 clicked");
        EXPECT_FALSE(view.IsChecked(0, 15)) << "a push button is never checked";
        const size_t before = events.log.size();
        view.SetCheck(0, 14, true);
        EXPECT_EQ(events.log.size(), before) << "the program's own change is no click";
        view.PressCancel();
    }};
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(Win32SheetHostTest, APageNeverShownHasNoControls) {
    steps = {[](SheetView& view, SheetUser&) {
        for (int page : {2, -1, 3, 99}) {
            view.SetControlText(page, 30, L"x");
            view.SetSliderRange(page, 31, 0, 5);
            view.SetSliderPos(page, 31, 3);
            view.SetCheck(page, 33, true);
            view.SetModified(page, true);
            EXPECT_FALSE(view.PageExists(page)) << "page " << page;
            EXPECT_EQ(view.ControlText(page, 30), L"") << "page " << page;
            EXPECT_EQ(view.SliderPos(page, 31), 0) << "page " << page;
            EXPECT_EQ(view.InsertListItem(page, 32, -1, L"x"), -1) << "page " << page;
            EXPECT_EQ(view.ListSelection(page, 32), -1) << "page " << page;
            EXPECT_EQ(view.ListItemText(page, 32, 0), L"") << "page " << page;
            EXPECT_FALSE(view.IsChecked(page, 33)) << "page " << page;
        }
        // A shown page without such a control, and a control of another kind.
        EXPECT_EQ(view.ControlText(0, 30), L"");
        EXPECT_EQ(view.SliderPos(0, 14), 0);
        EXPECT_EQ(view.ListSelection(0, 12), -1);
        view.PressCancel();
    }};
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(Count("page 2"), 0u);
}

TEST_F(Win32SheetHostTest, AModifiedPageEnablesApplyWhichAppliesEveryShownPageOnce) {
    steps = {[](SheetView& view, SheetUser& user) {
                 EXPECT_FALSE(user.ButtonEnabled(kSheetApplyButton));
                 view.SetModified(0, true);
                 EXPECT_TRUE(user.ButtonEnabled(kSheetApplyButton));
                 view.SetModified(0, false);
                 EXPECT_FALSE(user.ButtonEnabled(kSheetApplyButton));
                 view.SetCurrentPage(2);
                 view.SetModified(2, true);
             },
             [this](SheetView&, SheetUser& user) {
                 user.Press(kSheetApplyButton);
                 EXPECT_EQ(Count("apply 0"), 1u);
                 EXPECT_EQ(Count("apply 2"), 1u);
                 EXPECT_FALSE(user.ButtonEnabled(kSheetApplyButton)) << "applied: nothing left to apply";
                 EXPECT_TRUE(SheetUser().Found()) << "Apply leaves the sheet open";
             },
             [](SheetView&, SheetUser& user) { user.Press(kSheetOkButton); }};
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(events.log, (std::vector<std::string>{"init", "page 0", "page 2", "apply 0", "apply 2", "apply 0", "apply 2",
                                                    "closed"}));
}

TEST_F(Win32SheetHostTest, CancelTellsEveryShownPageInOrder) {
    steps = {[](SheetView&, SheetUser& user) { user.SelectTab(0); },
             [](SheetView& view, SheetUser& user) {
                 view.SetModified(0, true);
                 user.Press(kSheetCancelButton);
             }};
    EXPECT_EQ(Run(2), IDCANCEL);
    EXPECT_EQ(events.log, (std::vector<std::string>{"init", "page 2", "page 0", "cancel 0", "cancel 2", "closed"}));
}

TEST_F(Win32SheetHostTest, PressCancelEndsTheSheetAndTheViewAnswersUntilItIsClosed) {
    bool answered = false;
    events.onClosed = [&](SheetView& view) {
        answered = view.PageExists(0) && view.ControlText(0, 10) == L"Hello";
    };
    steps = {[](SheetView& view, SheetUser&) { view.PressCancel(); }};
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(answered);
    EXPECT_EQ(events.log, (std::vector<std::string>{"init", "page 0", "cancel 0", "closed"}));
    EXPECT_FALSE(SheetUser().Found()) << "the sheet's window is gone";
}

TEST_F(Win32SheetHostTest, AQuitMessageClosesTheSheetAsCancelledAndIsPassedOn) {
    steps = {[this](SheetView&, SheetUser&) { desktop.PostQuitMessage(7); }};
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(events.log, (std::vector<std::string>{"init", "page 0", "closed"})) << "no page hears of a cancel";
    EXPECT_EQ(desktop.RunMessageLoop(), 7) << "the loop around the sheet gets the quit";
}

TEST_F(Win32SheetHostTest, TheProgramsCaptionTabTextsAndButtonTextsAreShown) {
    events.onInit = [](SheetView& view) {
        view.SetCaption(L"Einstellungen");
        view.SetTabText(2, L"Drei");
    };
    steps = {[this](SheetView& view, SheetUser& user) {
        EXPECT_EQ(user.Caption(), L"Einstellungen") << "set before the first page was shown";
        EXPECT_EQ(user.TabText(0), L"First");
        EXPECT_EQ(user.TabText(2), L"Drei") << "a tab's text before its page exists";
        view.SetTabText(0, L"Eins");
        EXPECT_EQ(user.TabText(0), L"Eins");
        view.SetCaption(L"Optionen");
        EXPECT_EQ(user.Caption(), L"Optionen");
        const std::pair<int, const wchar_t*> buttons[] = {
            {kSheetOkButton, L"Gut"}, {kSheetCancelButton, L"Abbrechen"}, {kSheetApplyButton, L"\u00dcbernehmen"}};
        for (const auto& [button, text] : buttons) {
            view.SetSheetButtonText(button, text);
            EXPECT_EQ(user.ButtonText(button), text);
        }
        EXPECT_TRUE(user.HasIcon());
        EXPECT_EQ(user.Owner(), owner);
        view.PressCancel();
    }};
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(Win32SheetHostTest, SetCurrentPageCreatesThePageBeforeShowingIt) {
    steps = {[this](SheetView& view, SheetUser& user) {
        view.SetCurrentPage(2);
        EXPECT_EQ(events.log.back(), "page 2") << "created at once";
        EXPECT_EQ(view.CurrentPage(), 2);
        EXPECT_EQ(user.ShownTab(), 2);
        EXPECT_EQ(view.ControlText(2, 30), L"Never shown");
        view.SetCurrentPage(7);
        EXPECT_EQ(view.CurrentPage(), 2) << "no such page";
        view.PressCancel();
    }};
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(Count("page 2"), 1u);
}

TEST_F(Win32SheetHostTest, ASecondSheetWhileOneIsOpenClosesAtOnce) {
    Recorder nested;
    steps = {[&](SheetView& view, SheetUser&) {
        EXPECT_EQ(host.RunSheet(owner, sheet, nested), IDCANCEL);
        EXPECT_TRUE(nested.log.empty());
        view.PressCancel();
    }};
    EXPECT_EQ(Run(), IDCANCEL);
}

}  // namespace
