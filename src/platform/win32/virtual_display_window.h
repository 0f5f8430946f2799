#pragma once
// The display's hidden window on Windows, "Virtual Display": a 128 × 64
// top-most pop-up that is never shown, whose device context the glyph
// engine's drawing surfaces are made compatible with. It lives on a thread
// of its own that answers its messages, so that broadcasts to every
// top-level window never wait for a thread that does not pump them.
//
// Include after platform/win32/windows_api.h.

#include <thread>

namespace platform::win32 {

class VirtualDisplayWindow {
public:
    VirtualDisplayWindow();
    ~VirtualDisplayWindow();
    VirtualDisplayWindow(const VirtualDisplayWindow&) = delete;
    VirtualDisplayWindow& operator=(const VirtualDisplayWindow&) = delete;

    // nullptr when the window could not be made (logged).
    HWND Window() const { return window_; }
    // A memory device context compatible with the window's (with the
    // screen's when there is no window).
    HDC CreateCompatibleMemoryDc() const;

private:
    void Run(HANDLE created);

    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

}  // namespace platform::win32
