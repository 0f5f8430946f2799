#pragma once
// The port's window numbers and the system's window handles. Window handles
// carry 32 significant bits (the system keeps them so for 32-bit programs),
// sign-extended in a 64-bit process.
//
// Include after platform/win32/windows_api.h.

#include <cstdint>

#include "platform/window_handle.h"

namespace platform::win32 {

inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window.value)));
}

inline WindowHandle ToHandle(HWND window) {
    return WindowHandle{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window))};
}

}  // namespace platform::win32
