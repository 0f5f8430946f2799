#pragma once
// Private-profile files (.ini): sections in brackets, key=value lines.
// Shaped after the platform's private-profile calls.

#include <cstddef>
#include <string>

#include "platform/system_names_guard.h"

namespace platform {

// Reads an integer: the value's leading decimal digits with an optional sign
// (no digits: 0). A missing file, section or key gives `defaultValue`.
int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path);

// Reads a string into `out`, cut to bufferChars - 1 characters. Surrounding
// quotes are removed. A missing file, section or key gives `defaultValue`.
// Returns the number of characters stored.
size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path);

// Writes key=value into the section; changes only that key, keeps every
// other line, creates the file or section when missing, and replaces the
// file atomically. Returns false when the file could not be written.
bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path);

}  // namespace platform
