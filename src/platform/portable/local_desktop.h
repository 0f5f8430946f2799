#pragma once
// The in-process desktop used off Windows: windows, message queues and timers
// kept in memory, every wait going through the clock port.

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/desktop.h"

namespace platform {

// Sees what the program does to windows (the simulator's transcript). Calls
// come on the calling thread, with no desktop lock held.
class DesktopObserver {
public:
    virtual ~DesktopObserver() = default;
    virtual void OnMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam, bool sent) = 0;
    virtual void OnFocus(WindowHandle window) = 0;
    virtual void OnKeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) = 0;
};

class LocalDesktop final : public Desktop {
public:
    LocalDesktop();
    ~LocalDesktop() override;

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

    // Install only while no program thread runs; nullptr: none.
    void SetObserver(DesktopObserver* observer);

    // Number of messages and timer expiries handled so far (wake-up counts).
    uint64_t DispatchCount();

private:
    struct Window;
    struct Message;
    struct SentMessage;
    struct Timer;
    struct Queue;

    Queue& QueueOf(std::thread::id thread);  // with the state mutex held
    Window* Find(WindowHandle window);        // with the state mutex held
    Timer* FindTimer(uint32_t window, uintptr_t id, std::thread::id thread);
    Timer* DueTimer(std::thread::id thread, uint64_t now);
    uint32_t MsUntilNextTimer(std::thread::id thread, uint64_t now);
    // One step of the loop with the state mutex held; false when quit.
    bool HandleNext(std::unique_lock<std::mutex>& lock, Queue& queue, int& exitCode);
    LRESULT Dispatch(const Message& message);
    void DropMessagesFor(WindowHandle window, Queue& queue);  // with the state mutex held
    bool Enqueue(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam);
    void ServeSentMessages(std::unique_lock<std::mutex>& lock, Queue& queue);

    DesktopObserver* Observer();

    std::map<uint32_t, std::unique_ptr<Window>> windows_;
    uint32_t focus_ = 0;
    std::atomic<DesktopObserver*> observer_{nullptr};
    std::map<std::thread::id, std::unique_ptr<Queue>> queues_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::map<std::wstring, uint32_t> registeredMessages_;
    uint32_t nextWindow_ = 0x10010;
    uintptr_t nextThreadTimer_ = 1;
    uint64_t nextTimerSequence_ = 0;
    uint64_t dispatches_ = 0;
};

}  // namespace platform
