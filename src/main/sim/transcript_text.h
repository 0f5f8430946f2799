#pragma once
// How a text of the program (a log line, a tray tip, a command to Skype)
// appears in the transcript: one event a line, readable in any language.

#include <string>

namespace sim {

// Trailing line feeds are dropped; other line feeds show as \n and \r; text
// in UTF-8 is kept as it is; control characters (C0, DEL, C1) and bytes that
// are not part of a well-formed UTF-8 character (another code page, a cut
// sequence, an overlong form, a surrogate) show as \xHH, one per byte.
std::string TranscriptText(const std::string& text);

// The length of the well-formed UTF-8 character at text[at], or 0 when the
// byte there does not start one.
size_t Utf8CharLength(const std::string& text, size_t at);

}  // namespace sim
