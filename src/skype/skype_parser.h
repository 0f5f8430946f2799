#pragma once
// Turns Skype's notifications into Skype state, follow-up commands and mode
// switches.

#include <string>
#include <vector>

namespace skype {

constexpr size_t kSkypeVersionBytes = 50;

// Runs on the receive thread, one notification at a time.
void ProcessSkypeMessage(const std::string& text);

// Words of a notification, cut at any of `separators`; empty words dropped.
std::vector<std::string> CutWords(const std::string& text, const char* separators);

// The Skype version text and its four numbers, major first (0 until known).
std::string SkypeVersionText();
void SkypeVersionNumbers(long out[4]);

// The parser's own state back to the start (for tests).
void ResetSkypeParser();

}  // namespace skype
