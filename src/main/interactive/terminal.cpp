#include "main/interactive/terminal.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>

#include <curses.h>

namespace interactive {

namespace {

constexpr int kEscape = 27;
constexpr int kDeleteChar = 127;

// The view is drawn in UTF-8 (Braille patterns, box lines, the program's
// texts); a terminal in the C locale still gets UTF-8.
void UseUtf8() {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

std::optional<TerminalKey> NamedKey(wint_t code) {
    using Named = TerminalKey::Named;
    switch (code) {
        case KEY_UP: return TerminalKey::Key(Named::Up);
        case KEY_DOWN: return TerminalKey::Key(Named::Down);
        case KEY_LEFT: return TerminalKey::Key(Named::Left);
        case KEY_RIGHT: return TerminalKey::Key(Named::Right);
        case KEY_ENTER: return TerminalKey::Key(Named::Enter);
        case KEY_BACKSPACE: return TerminalKey::Key(Named::Backspace);
        case KEY_DC: return TerminalKey::Key(Named::Delete);
        case KEY_END: return TerminalKey::Key(Named::End);
        case KEY_PPAGE: return TerminalKey::Key(Named::PageUp);
        case KEY_NPAGE: return TerminalKey::Key(Named::PageDown);
        case KEY_F(1): return TerminalKey::Key(Named::F1);
        case KEY_F(2): return TerminalKey::Key(Named::F2);
        case KEY_F(3): return TerminalKey::Key(Named::F3);
        case KEY_RESIZE: return TerminalKey::Key(Named::Resize);
        default: return std::nullopt;
    }
}

std::optional<TerminalKey> CharacterKey(wint_t code) {
    using Named = TerminalKey::Named;
    if (code == '\n' || code == '\r') return TerminalKey::Key(Named::Enter);
    if (code == kDeleteChar || code == '\b') return TerminalKey::Key(Named::Backspace);
    if (code == kEscape) return TerminalKey::Key(Named::Escape);
    return TerminalKey::Char(static_cast<char32_t>(code));
}

}  // namespace

Terminal::Terminal() {
    UseUtf8();
    initscr();
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
}

Terminal::~Terminal() { endwin(); }

std::optional<TerminalKey> Terminal::ReadKey(int timeoutMs) {
    timeout(timeoutMs);
    wint_t code = 0;
    const int kind = get_wch(&code);
    if (kind == KEY_CODE_YES) return NamedKey(code);
    if (kind == OK) return CharacterKey(code);
    return std::nullopt;
}

int Terminal::Width() const { return COLS; }
int Terminal::Height() const { return LINES; }

void Terminal::Draw(const std::vector<std::string>& lines) {
    erase();
    for (size_t row = 0; row < lines.size() && static_cast<int>(row) < LINES; ++row) {
        if (row == 0) attron(A_REVERSE);
        mvaddstr(static_cast<int>(row), 0, lines[row].c_str());
        if (row == 0) attroff(A_REVERSE);
    }
    refresh();
}

}  // namespace interactive
