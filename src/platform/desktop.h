#pragma once
// Desktop port: windows identified by class name and title, posted and sent
// messages, window timers, thread timers and the message loop of the thread
// that owns a window.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/window_handle.h"
#include "platform/window_messages.h"
#include "platform/system_names_guard.h"

namespace platform {

using WindowProc = std::function<LRESULT(WindowHandle, uint32_t, WPARAM, LPARAM)>;
using TimerProc = std::function<void(uintptr_t timerId)>;

// The record carried by WM_COPYDATA (lParam points at it for the duration of
// the sent message; the receiver copies what it keeps).
struct CopyDataStruct {
    uintptr_t dwData = 0;
    uint32_t cbData = 0;
    const void* lpData = nullptr;
};

// A window's rectangle in screen coordinates.
struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Creates a window owned by the calling thread; its messages are handled
    // by that thread's message loop.
    virtual WindowHandle CreateWindow(const std::wstring& className, const std::wstring& title,
                                      WindowProc proc) = 0;
    // A child window of `parent`; children are not top-level windows, so
    // broadcasts and FindWindow do not reach them.
    virtual WindowHandle CreateChildWindow(WindowHandle parent, const std::wstring& className,
                                           const std::wstring& title, WindowProc proc) = 0;
    virtual WindowHandle GetParent(WindowHandle window) = 0;
    // The same name always gives the same message number (0xC000 ... 0xFFFF).
    virtual uint32_t RegisterWindowMessage(const std::wstring& name) = 0;
    // Sends the message to every top-level window, one after the other.
    virtual void BroadcastMessage(uint32_t message, WPARAM wParam, LPARAM lParam) = 0;
    virtual bool DestroyWindow(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    virtual bool SetWindowText(WindowHandle window, const std::wstring& title) = 0;
    // A top-level window by class name and/or title (nullptr: any).
    virtual WindowHandle FindWindow(const std::wstring* className, const std::wstring* title) = 0;

    // The first child of `parent` with the class name (FindWindowEx with no
    // window to start after and no title).
    virtual WindowHandle FindChildWindow(WindowHandle parent, const std::wstring& className) = 0;
    virtual std::wstring GetClassName(WindowHandle window) = 0;

    // Windows are created hidden. A window is visible when it and every
    // parent above it are shown.
    virtual bool ShowWindow(WindowHandle window, bool show) = 0;
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    virtual bool SetWindowRect(WindowHandle window, const WindowRect& rect) = 0;
    virtual bool GetWindowRect(WindowHandle window, WindowRect& rect) = 0;

    // Keyboard focus; SetFocus returns the window that had it.
    virtual WindowHandle SetFocus(WindowHandle window) = 0;
    virtual WindowHandle GetFocus() = 0;
    // A synthetic keystroke, delivered to the window with the focus.
    virtual void KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) = 0;

    virtual bool PostMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) = 0;
    // Runs the window's handler on its owning thread and returns its result.
    virtual LRESULT SendMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) = 0;

    // Window timer: WM_TIMER with wParam = id reaches the window every
    // periodMs. Setting an existing id restarts it.
    virtual bool SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) = 0;
    virtual bool KillTimer(WindowHandle window, uintptr_t id) = 0;
    // Thread timer: proc runs every periodMs on the calling thread's loop.
    virtual uintptr_t SetThreadTimer(uint32_t periodMs, TimerProc proc) = 0;
    virtual bool KillThreadTimer(uintptr_t id) = 0;

    // Handles the calling thread's messages and timers until it posts quit.
    virtual int RunMessageLoop() = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
};

// The process-wide desktop (platform/backends.h installs it).
Desktop& CurrentDesktop();

}  // namespace platform
