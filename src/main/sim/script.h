#pragma once
// The simulator's script language: one command a line of blank-separated
// words; '#' at the start of a line or after a blank starts a comment.

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct ScriptLine {
    int number = 0;                 // 1-based line in the file
    std::vector<std::string> words;  // the command and its arguments
};

// Splits a script into commands; blank and comment-only lines are dropped.
// Inside a word '#' is kept (a#b); \# is a '#' anywhere, and double quotes
// keep blanks and '#' in one word ("#111").
std::vector<ScriptLine> ParseScript(const std::string& text);

// A number in decimal or 0x hex; false when the word is not one.
bool ParseNumber(const std::string& word, long long& value);

}  // namespace sim
