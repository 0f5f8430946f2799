#include "main/sim/script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace sim {

std::vector<ScriptLine> ParseScript(const std::string& text) {
    std::vector<ScriptLine> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        const size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.erase(hash);
        std::istringstream words(raw);
        ScriptLine line;
        line.number = number;
        for (std::string w; words >> w;) line.words.push_back(w);
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
