#include "main/interactive/key_table.h"

#include "app/key_pipeline.h"
#include "main/interactive/text_cells.h"

namespace interactive {

namespace {

using Named = TerminalKey::Named;

constexpr unsigned kLongPressMarginMs = 200;
constexpr char32_t kCtrlC = 3;

std::vector<KeyBinding> BuildTable() {
    std::vector<KeyBinding> table;
    for (char digit = '0'; digit <= '9'; ++digit) {
        table.push_back({{TerminalKey::Char(static_cast<char32_t>(digit))}, std::string("KEY_") + digit,
                         digit == '0' ? "0-9*#" : ""});
    }
    const KeyBinding others[] = {
        {{TerminalKey::Char('*')}, "KEY_STAR", ""},
        {{TerminalKey::Char('#')}, "KEY_SHARP", ""},
        {{TerminalKey::Key(Named::Up)}, "KEY_UP", "\u2191\u2193 up/down"},
        {{TerminalKey::Key(Named::Down)}, "KEY_DOWN", ""},
        {{TerminalKey::Key(Named::Left), TerminalKey::Char('[')}, "KEY_LEFT_FUNC", "\u2190\u2192 or [ ] soft keys"},
        {{TerminalKey::Key(Named::Right), TerminalKey::Char(']')}, "KEY_RIGHT_FUNC", ""},
        {{TerminalKey::Key(Named::Enter), TerminalKey::Char('u')}, "KEY_HOOKUP", "Enter/u hook up"},
        {{TerminalKey::Key(Named::End), TerminalKey::Char('d')}, "KEY_HOOKDOWN", "End/d hook down"},
        {{TerminalKey::Key(Named::F1), TerminalKey::Char('a')}, "KEY_HOTKEY_1", "F1-F3 or abc hot keys"},
        {{TerminalKey::Key(Named::F2), TerminalKey::Char('b')}, "KEY_HOTKEY_2", ""},
        {{TerminalKey::Key(Named::F3), TerminalKey::Char('c')}, "KEY_HOTKEY_3", ""},
        {{TerminalKey::Char('+')}, "KEY_VOL_UP", "+ - volume"},
        {{TerminalKey::Char('-')}, "KEY_VOL_DOWN", ""},
        {{TerminalKey::Char('m')}, "KEY_MUTE", "m mute"},
        {{TerminalKey::Key(Named::Backspace), TerminalKey::Key(Named::Delete)}, "KEY_CLEAR", "Bksp clear"},
    };
    table.insert(table.end(), std::begin(others), std::end(others));
    return table;
}

}  // namespace

const std::vector<KeyBinding>& KeyTable() {
    static const std::vector<KeyBinding> table = BuildTable();
    return table;
}

std::optional<std::string> HandsetKeyFor(TerminalKey key) {
    for (const KeyBinding& binding : KeyTable()) {
        for (const TerminalKey& k : binding.keys) {
            if (k == key) return binding.handsetKey;
        }
    }
    return std::nullopt;
}

unsigned LongPressHoldMs() { return app::kLongKeyMs + kLongPressMarginMs; }

KeyAction KeypadReader::Take(TerminalKey key) {
    const bool longPress = awaitingLong_;
    awaitingLong_ = false;
    if (key.character == kCtrlC) return {KeyAction::Kind::Quit, ""};
    if (key.named == Named::Escape) return {};  // gives up a pending long press
    if (key.character == kLongPrefix && !longPress) {
        awaitingLong_ = true;
        return {KeyAction::Kind::AwaitLongPress, ""};
    }
    if (key.character == ':' && !longPress) return {KeyAction::Kind::OpenCommandLine, ""};
    const auto handsetKey = HandsetKeyFor(key);
    if (!handsetKey) return {};
    std::string line = "handset key " + *handsetKey;
    if (longPress) line += " " + std::to_string(LongPressHoldMs());
    return {KeyAction::Kind::Press, line};
}

std::string KeyLabel(TerminalKey key) {
    switch (key.named) {
        case Named::Up: return "\u2191";
        case Named::Down: return "\u2193";
        case Named::Left: return "\u2190";
        case Named::Right: return "\u2192";
        case Named::Enter: return "Enter";
        case Named::Backspace: return "Bksp";
        case Named::Delete: return "Del";
        case Named::End: return "End";
        case Named::PageUp: return "PgUp";
        case Named::PageDown: return "PgDn";
        case Named::F1: return "F1";
        case Named::F2: return "F2";
        case Named::F3: return "F3";
        case Named::Escape: return "Esc";
        case Named::Resize:
        case Named::None: break;
    }
    return EncodeUtf8(key.character);
}

std::vector<std::string> HelpLines(int cells) {
    std::vector<std::string> entries;
    for (const KeyBinding& binding : KeyTable()) {
        if (!binding.help.empty()) entries.push_back(binding.help);
    }
    entries.push_back("l+key long");
    entries.push_back(": command");
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& entry : entries) {
        const std::string candidate = line.empty() ? entry : line + "  " + entry;
        if (!line.empty() && TextCells(candidate) > cells) {
            lines.push_back(line);
            line = entry;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace interactive
