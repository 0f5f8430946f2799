#pragma once
// A window, as the desktop port and the ports that address windows name it.

#include <cstdint>

namespace platform {

// 0 is no window. Backends map their own handles to these numbers; the core
// only compares them and passes them back.
struct WindowHandle {
    uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(WindowHandle a, WindowHandle b) { return a.value == b.value; }
    friend bool operator!=(WindowHandle a, WindowHandle b) { return a.value != b.value; }
};

}  // namespace platform
