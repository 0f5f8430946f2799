#pragma once
// The terminal the interactive simulator draws in and reads keys from. The
// one place that speaks to the terminal library.

#include <optional>
#include <string>
#include <vector>

#include "main/interactive/key_table.h"

namespace interactive {

class Terminal {
public:
    // Takes over the whole terminal (UTF-8 output, keys unbuffered).
    Terminal();
    // Gives the terminal back as it was.
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // The next key, waiting at most timeoutMs; none when no key came.
    std::optional<TerminalKey> ReadKey(int timeoutMs);
    int Width() const;
    int Height() const;
    // Draws the lines from the top; the first in reverse video as a title.
    void Draw(const std::vector<std::string>& lines);
};

}  // namespace interactive
