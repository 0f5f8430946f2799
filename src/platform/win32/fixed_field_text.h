#pragma once
// Texts in the sound system's fixed-size fields. A driver may fill such a
// field to its end without a terminating NUL, so a text stops at the field's
// end or at a limit of our own, whichever comes first.

#include <cstddef>
#include <string>

namespace platform::win32 {

// The product names our ports hand on: the documented 31 characters.
constexpr size_t kProductNameChars = 31;

template <size_t N>
std::wstring BoundedText(const wchar_t (&field)[N], size_t limit = N) {
    size_t n = 0;
    while (n < N && n < limit && field[n] != L'\0') ++n;
    return std::wstring(field, n);
}

}  // namespace platform::win32
