#pragma once
// The private-profile reader and writer of our own: UTF-8 files (with or
// without their mark) and UTF-16LE files with theirs, every other line kept
// byte for byte on a write, the file replaced atomically. The families'
// profile backends (platform/profile.h) build on it.

#include "platform/profile.h"

namespace platform::portable {

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path);
size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path);
bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path);

}  // namespace platform::portable
