#include "main/sim/script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace sim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Splits one line into words. A '#' at the start of the line or after a
// blank starts a comment; elsewhere it is part of its word, "\#" is a '#'
// anywhere, and double quotes keep blanks and '#' inside one word.
std::vector<std::string> SplitWords(const std::string& raw) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (!quoted && IsBlank(c)) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (!quoted && c == '#' && !inWord) {
            break;
        } else if (c == '\\' && i + 1 < raw.size() && (raw[i + 1] == '#' || raw[i + 1] == '"')) {
            word += raw[++i];
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace

std::vector<ScriptLine> ParseScript(const std::string& text) {
    std::vector<ScriptLine> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        ScriptLine line;
        line.number = number;
        line.words = SplitWords(raw);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

bool ParseNumber(const std::string& word, long long& value) {
    if (word.empty()) return false;
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const char* begin = word.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(begin, &end, hex ? 16 : 10);
    return errno == 0 && end != begin && *end == '\0';
}

}  // namespace sim
