// The keyboard as the handset's keypad: every handset key has a terminal
// key, each press becomes the script command that presses it, a long press
// is its own key sequence, and the help line names them all.

#include "main/interactive/key_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/key_pipeline.h"
#include "common/key_ids.h"
#include "main/interactive/text_cells.h"
#include "main/sim/script_runner.h"

namespace {

using interactive::KeyAction;
using interactive::KeyTable;
using interactive::TerminalKey;
using Named = TerminalKey::Named;

TEST(KeyTableTest, EveryHandsetKeyHasATerminalKeyInTheDefaultKeyMap) {
    std::set<std::string> expected;
    for (uint32_t key = common::KEY_0; key <= common::KEY_CLEAR; ++key) {
        char fallback[16];
        expected.insert(common::KeyName(key, fallback));
    }
    std::set<std::string> bound;
    for (const auto& binding : KeyTable()) {
        EXPECT_NE(sim::DefaultCodeForKey(binding.handsetKey), 0) << binding.handsetKey << " has no hardware code";
        bound.insert(binding.handsetKey);
    }
    EXPECT_EQ(bound, expected);
}

TEST(KeyTableTest, NoTerminalKeyIsBoundTwiceOrTakesAReservedKey) {
    std::vector<TerminalKey> seen;
    for (const auto& binding : KeyTable()) {
        for (const TerminalKey& key : binding.keys) {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), key), 0) << interactive::KeyLabel(key);
            EXPECT_NE(key.character, interactive::KeypadReader::kLongPrefix);
            EXPECT_NE(key.character, U':');
            seen.push_back(key);
        }
    }
}

TEST(KeyTableTest, KeySequencesBecomeScriptCommands) {
    const std::string longHold = std::to_string(interactive::LongPressHoldMs());
    struct Case {
        const char* why;
        std::vector<TerminalKey> keys;
        KeyAction::Kind kind;
        std::string line;
    };
    const Case cases[] = {
        {"digit", {TerminalKey::Char('5')}, KeyAction::Kind::Press, "handset key KEY_5"},
        {"hook up", {TerminalKey::Key(Named::Enter)}, KeyAction::Kind::Press, "handset key KEY_HOOKUP"},
        {"hook down by letter", {TerminalKey::Char('d')}, KeyAction::Kind::Press, "handset key KEY_HOOKDOWN"},
        {"soft key by arrow", {TerminalKey::Key(Named::Right)}, KeyAction::Kind::Press, "handset key KEY_RIGHT_FUNC"},
        {"long zero", {TerminalKey::Char('l'), TerminalKey::Char('0')}, KeyAction::Kind::Press,
         "handset key KEY_0 " + longHold},
        {"long hot key", {TerminalKey::Char('l'), TerminalKey::Key(Named::F1)}, KeyAction::Kind::Press,
         "handset key KEY_HOTKEY_1 " + longHold},
        {"prefix alone", {TerminalKey::Char('l')}, KeyAction::Kind::AwaitLongPress, ""},
        {"escape gives up the prefix", {TerminalKey::Char('l'), TerminalKey::Key(Named::Escape), TerminalKey::Char('0')},
         KeyAction::Kind::Press, "handset key KEY_0"},
        {"prefix then an unbound key", {TerminalKey::Char('l'), TerminalKey::Char('x')}, KeyAction::Kind::None, ""},
        {"command line", {TerminalKey::Char(':')}, KeyAction::Kind::OpenCommandLine, ""},
        {"Ctrl-C", {TerminalKey::Char(3)}, KeyAction::Kind::Quit, ""},
        {"unbound key", {TerminalKey::Char('x')}, KeyAction::Kind::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        interactive::KeypadReader reader;
        KeyAction last;
        for (const TerminalKey& key : c.keys) last = reader.Take(key);
        EXPECT_EQ(last.kind, c.kind);
        EXPECT_EQ(last.scriptLine, c.line);
    }
}

TEST(KeyTableTest, LongPressOutlastsTheProgramsLongPressTime) {
    EXPECT_GT(interactive::LongPressHoldMs(), app::kLongKeyMs);
}

TEST(KeyTableTest, HelpLinesNameEveryKeyWithinTheWidth) {
    for (const int width : {80, 120, 200}) {
        SCOPED_TRACE(width);
        const auto lines = interactive::HelpLines(width);
        std::string all;
        for (const std::string& line : lines) {
            EXPECT_LE(interactive::TextCells(line), width);
            all += line + "  ";
        }
        bool first = true;
        for (const auto& binding : KeyTable()) {
            // A binding without its own entry shares the one before it.
            EXPECT_TRUE(!binding.help.empty() || !first) << binding.handsetKey;
            first = false;
            if (binding.help.empty()) continue;
            EXPECT_NE(all.find(binding.help), std::string::npos) << binding.help;
            EXPECT_NE(binding.help.find(interactive::KeyLabel(binding.keys[0])), std::string::npos) << binding.help;
        }
        EXPECT_NE(all.find("long"), std::string::npos);
        EXPECT_NE(all.find(": command"), std::string::npos);
    }
    EXPECT_LE(interactive::HelpLines(80).size(), 2u) << "the help takes more than two lines of an 80x24 terminal";
}

}  // namespace
