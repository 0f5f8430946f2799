// The labels of row 3 as the user reads them: the two soft keys' labels of
// every screen stay apart in every shipped language, and the idle screen
// keeps its name and labels to one length.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/corvane_app.h"
#include "common/settings.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "skype/skype_monitor.h"
#include "support/executable_at.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

using namespace modes;
namespace fs = std::filesystem;

constexpr int kLabelRow = 3;
constexpr int kMinimumGap = 4;

// The columns that hold ink in one text row.
struct Columns {
    int left = kScreenWidth, right = -1;
    bool Empty() const { return right < 0; }
};

Columns InkColumns(int row) {
    Columns c;
    for (int y = kTextRowHeight * row; y < kTextRowHeight * (row + 1); ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            if (!g_VirtualDisplay.IsLit(x, y)) continue;
            c.left = std::min(c.left, x);
            c.right = std::max(c.right, x);
        }
    }
    return c;
}

Columns LabelInk(const std::string& text, int alignment) {
    g_VirtualDisplay.EraseImage();
    g_VirtualDisplay.DrawTextRow(0, kLabelRow, text, alignment);
    return InkColumns(kLabelRow);
}

// The program, with a display, in a folder of its own whose language file
// is the test's choice.
class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::ResetProcessState();
        common::g_Settings.VAL_ENABLE_LCM = 1;
        common::g_Settings.VAL_LANGUAGE = 0;
        exe_.emplace(folder_.File("Corvane.exe"));
        fs::create_directory(folder_.Path() / "Language");
    }
    void TearDown() override {
        exe_.reset();
        app::ResetProcessState();
    }
    void UseLanguageFile(const std::string& bytes) { folder_.Write("Language/Eng.ini", bytes); }

    testing_support::TempFolder folder_;
    std::optional<testing_support::ExecutableAt> exe_;
};

// The two soft keys' labels of each screen; the menus' left label is not a
// screen text but "OK".
struct LabelPair {
    const char* screens;
    unsigned left;  // 0: "OK"
    unsigned right;
};

constexpr LabelPair kLabelPairs[] = {
    {"idle", IDS_SCREEN_SETTING, IDS_SCREEN_HISTORY},
    {"ringing", IDS_SCREEN_ACCEPT, IDS_SCREEN_REFUSE},
    {"talking", IDS_SCREEN_MUTE, IDS_SCREEN_HANGUP},
    {"menus", 0, IDS_SCREEN_BACK},
    {"history lists", IDS_SCREEN_DETAIL, IDS_SCREEN_BACK},
    {"history detail, contact", IDS_SCREEN_CALL, IDS_SCREEN_BACK},
    {"history detail, voicemail", IDS_SCREEN_PLAY, IDS_SCREEN_BACK},
    {"conference", IDS_SCREEN_SELECT, IDS_SCREEN_BACK},
    {"number dial", IDS_SCREEN_CALL, IDS_SCREEN_DELETE},
};

// The labels are measured whole: the idle screen's byte limit could only
// make them shorter.
TEST_F(LabelTest, TheTwoSoftKeyLabelsOfAScreenStayApartInEveryShippedLanguage) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(CORVANE_SOURCE_DIR) / "resources" / "Language")) {
        if (entry.path().extension() != ".ini") continue;
        ++files;
        UseLanguageFile(testing_support::FileBytes(entry.path()));
        for (const LabelPair& pair : kLabelPairs) {
            const std::string left = pair.left == 0 ? "OK" : ScreenText(pair.left);
            const std::string right = ScreenText(pair.right);
            SCOPED_TRACE(testing::Message() << entry.path().filename().string() << ", " << pair.screens << ": \""
                                            << left << "\" / \"" << right << "\"");
            const Columns leftInk = LabelInk(left, kAlignLeft);
            const Columns rightInk = LabelInk(right, kAlignRight);
            ASSERT_FALSE(leftInk.Empty());
            ASSERT_FALSE(rightInk.Empty());
            EXPECT_GE(rightInk.left - leftInk.right - 1, kMinimumGap) << "blank columns between the labels";
        }
    }
    EXPECT_GE(files, 5);
}

// The signed-in user's name and both labels are cut by one rule: the same
// long text shows the same characters in all three places.
TEST_F(LabelTest, TheIdleScreenCutsItsNameAndItsLabelsAlike) {
    struct Case {
        const char* text;
        const char* shown;  // the first 19 bytes, whole characters only
    };
    const Case cases[] = {
        {"iiiiiiiiiiiiiiiiiiiiiiiiiiiiii", "iiiiiiiiiiiiiiiiiii"},
        {"i\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B",
         "i\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B"},
        // The 19th byte starts a character: it goes whole.
        {"ii\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B",
         "ii\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B\xC5\x9B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UseLanguageFile(std::string("[Language]\nScreen_Display_Setting=") + c.text +
                        "\nScreen_Display_History=" + c.text + "\n");
        skype::g_SkypeMonitor.SetUserName(c.text);
        Mode_Main_Display();
        const ScreenImage idle = g_VirtualDisplay.Image();

        g_VirtualDisplay.ClearScreen();
        g_VirtualDisplay.DrawTextRow(0, 1, c.shown, kAlignCentre);
        g_VirtualDisplay.DrawTextRow(0, 3, c.shown, kAlignLeft);
        g_VirtualDisplay.DrawTextRow(0, 3, c.shown, kAlignRight);
        const ScreenImage expected = g_VirtualDisplay.Image();
        for (int row : {1, 3}) {
            for (int y = kTextRowHeight * row; y < kTextRowHeight * (row + 1); ++y) {
                EXPECT_EQ(idle[static_cast<size_t>(y)], expected[static_cast<size_t>(y)]) << "pixel row " << y;
            }
        }
    }
}

}  // namespace
