#pragma once
// How the number dial screen lays out a long number.

#include <string>
#include <utility>

namespace modes {

// The characters that fit the first line of the dial screen.
constexpr size_t kDialLineChars = 14;

// The number's first line and the rest for the second line (empty when it
// all fits on the first).
std::pair<std::string, std::string> SplitDialNumber(const std::string& number);

}  // namespace modes
