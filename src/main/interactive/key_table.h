#pragma once
// The keyboard as the handset's keypad. Terminals report presses but not
// releases, so a key is pressed and released at once (held 100 ms), and a
// long press is asked for with a prefix: the long-press key, then the key.

#include <optional>
#include <string>
#include <vector>

namespace interactive {

// A key as the terminal reports it: a character, or a named key.
struct TerminalKey {
    enum class Named { None, Up, Down, Left, Right, Enter, Backspace, Delete, End, PageUp, PageDown, F1, F2, F3, Escape, Resize };
    char32_t character = 0;
    Named named = Named::None;

    static TerminalKey Char(char32_t c) { return {c, Named::None}; }
    static TerminalKey Key(Named n) { return {0, n}; }
    bool operator==(const TerminalKey&) const = default;
};

// One line of the key table: the terminal keys and the handset key they
// press (its name in the default key map). Neighbours share one entry of the
// help line: the first of them carries it, the others have none.
struct KeyBinding {
    std::vector<TerminalKey> keys;
    std::string handsetKey;  // "KEY_HOOKUP", ...
    std::string help;        // "Enter u hook up", or empty
};

// How the help line names a terminal key: "Enter", "F1", "↑", "a".
std::string KeyLabel(TerminalKey key);

const std::vector<KeyBinding>& KeyTable();

// The handset key a terminal key presses, if any.
std::optional<std::string> HandsetKeyFor(TerminalKey key);

// How long a long press holds its key: past the program's long-press time.
unsigned LongPressHoldMs();

// What a terminal key asks for, given the keys before it.
struct KeyAction {
    enum class Kind { None, Press, AwaitLongPress, OpenCommandLine, Quit };
    Kind kind = Kind::None;
    std::string scriptLine;  // for Press: the script command that presses the key
};

class KeypadReader {
public:
    // The long-press prefix key.
    static constexpr char32_t kLongPrefix = 'l';
    KeyAction Take(TerminalKey key);
    bool AwaitingLongPress() const { return awaitingLong_; }

private:
    bool awaitingLong_ = false;
};

// The help lines naming every key of the table, each at most `cells` wide
// (words are not split; as many lines as needed).
std::vector<std::string> HelpLines(int cells);

}  // namespace interactive
