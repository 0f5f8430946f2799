#pragma once
// The desktop port on the system's window manager: real windows of
// registered classes, the thread's own message queue and timers, messages
// that reach other processes (registered broadcasts, WM_COPYDATA).
//
// Port header only: the system's headers stay inside the .cpp, so this can be
// included anywhere in the Windows build.

#include "platform/desktop.h"

namespace platform::win32 {

class Win32Desktop final : public Desktop {
public:
    Win32Desktop();
    ~Win32Desktop() override;

    WindowHandle CreateWindow(const std::wstring& className, const std::wstring& title, WindowProc proc) override;
    WindowHandle CreateChildWindow(WindowHandle parent, const std::wstring& className, const std::wstring& title,
                                   WindowProc proc) override;
    WindowHandle GetParent(WindowHandle window) override;
    uint32_t RegisterWindowMessage(const std::wstring& name) override;
    void BroadcastMessage(uint32_t message, WPARAM wParam, LPARAM lParam) override;
    bool DestroyWindow(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool SetWindowText(WindowHandle window, const std::wstring& title) override;
    WindowHandle FindWindow(const std::wstring* className, const std::wstring* title) override;
    WindowHandle FindChildWindow(WindowHandle parent, const std::wstring& className) override;
    std::wstring GetClassName(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, bool show) override;
    bool IsWindowVisible(WindowHandle window) override;
    bool SetWindowRect(WindowHandle window, const WindowRect& rect) override;
    bool GetWindowRect(WindowHandle window, WindowRect& rect) override;
    WindowHandle SetFocus(WindowHandle window) override;
    WindowHandle GetFocus() override;
    void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) override;
    bool PostMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) override;
    bool SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) override;
    bool KillTimer(WindowHandle window, uintptr_t id) override;
    uintptr_t SetThreadTimer(uint32_t periodMs, TimerProc proc) override;
    bool KillThreadTimer(uintptr_t id) override;
    int RunMessageLoop() override;
    void PostQuitMessage(int exitCode) override;

private:
    WindowHandle Create(WindowHandle parent, const std::wstring& className, const std::wstring& title,
                        WindowProc proc);
};

}  // namespace platform::win32
