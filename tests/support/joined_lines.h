#pragma once
// Lines as one text, each ended by a newline: what a test searches or prints
// when a list of pane or transcript lines does not hold what it expected.

#include <string>
#include <vector>

inline std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}
