// Profile files on Windows. A file with the UTF-16LE mark, as the Windows
// build installs them, goes through the system's own profile calls, which
// keep it in UTF-16 when they write. Any other file (UTF-8, with or without
// its mark, or not there yet) goes through our own reader and writer: the
// system's calls would read it in the ANSI code page and turn every
// non-ASCII text into garbage.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/log.h"
#include "platform/portable/portable_profile.h"
#include "platform/win32/windows_api.h"

namespace platform {

namespace {

constexpr DWORD kMaxBufferChars = 0x7FFFFFFF;

bool IsUtf16File(const std::wstring& path) {
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) return false;
    unsigned char mark[2] = {0, 0};
    const size_t n = std::fread(mark, 1, sizeof(mark), file);
    std::fclose(file);
    return n == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"error " + std::to_wstring(error);
    if (text != nullptr) ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return message;
}

}  // namespace

int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key, int defaultValue,
                         const std::wstring& path) {
    if (!IsUtf16File(path)) return portable::GetPrivateProfileInt(section, key, defaultValue, path);
    return static_cast<int>(::GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

size_t GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, std::wstring& out, size_t bufferChars,
                               const std::wstring& path) {
    if (!IsUtf16File(path)) {
        return portable::GetPrivateProfileString(section, key, defaultValue, out, bufferChars, path);
    }
    out.clear();
    if (bufferChars == 0) return 0;
    std::vector<wchar_t> buffer(std::min<size_t>(bufferChars, kMaxBufferChars), L'\0');
    const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path.c_str());
    out.assign(buffer.data(), std::min<size_t>(n, buffer.size() - 1));
    return out.size();
}

bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                               const std::wstring& path) {
    if (!IsUtf16File(path)) return portable::WritePrivateProfileString(section, key, value, path);
    if (::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str())) return true;
    const std::wstring reason = SystemErrorText(::GetLastError());
    LogW(L"Profile: cannot write [%ls] %ls to \"%ls\": %ls", section.c_str(), key.c_str(), path.c_str(),
         reason.c_str());
    return false;
}

}  // namespace platform
