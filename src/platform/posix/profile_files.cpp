// Profile files off Windows: our own reader and writer, whatever the file's
// encoding.

#include "platform/portable/portable_profile.h"

namespace platform {

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path) {
    return portable::GetPrivateProfileInt(section, key, defaultValue, path);
}

size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path) {
    return portable::GetPrivateProfileString(section, key, defaultValue, out, bufferChars, path);
}

bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path) {
    return portable::WritePrivateProfileString(section, key, value, path);
}

}  // namespace platform
