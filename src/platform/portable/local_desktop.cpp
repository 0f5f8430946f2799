#include "platform/portable/local_desktop.h"

#include <algorithm>
#include <atomic>

#include "platform/clock.h"

namespace platform {

struct LocalDesktop::Window {
    std::wstring className;
    std::wstring title;
    WindowProc proc;
    std::thread::id owner;
    uint32_t parent = 0;  // 0: a top-level window
    bool shown = false;
    WindowRect rect;
};

struct LocalDesktop::Message {
    WindowHandle window;
    uint32_t message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct LocalDesktop::SentMessage {
    Message message;
    LRESULT result = 0;
    bool done = false;
};

struct LocalDesktop::Timer {
    uint32_t window = 0;  // 0: a thread timer
    uintptr_t id = 0;
    uint32_t period = 0;
    uint64_t due = 0;
    uint64_t sequence = 0;  // orders timers that fall due together
    std::thread::id owner;
    TimerProc proc;
};

struct LocalDesktop::Queue {
    std::deque<Message> posted;
    std::deque<SentMessage*> sent;
    bool quit = false;
    int exitCode = 0;
    // Set when this thread's timers change, so a loop waiting for the old
    // next expiry wakes and computes the new one.
    bool timersChanged = false;
};

LocalDesktop::LocalDesktop() = default;
LocalDesktop::~LocalDesktop() = default;

LocalDesktop::Queue& LocalDesktop::QueueOf(std::thread::id thread) {
    auto& q = queues_[thread];
    if (!q) q = std::make_unique<Queue>();
    return *q;
}

LocalDesktop::Window* LocalDesktop::Find(WindowHandle window) {
    auto it = windows_.find(window.value);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowHandle LocalDesktop::CreateWindow(const std::wstring& className, const std::wstring& title, WindowProc proc) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto w = std::make_unique<Window>();
    w->className = className;
    w->title = title;
    w->proc = std::move(proc);
    w->owner = std::this_thread::get_id();
    WindowHandle handle{nextWindow_};
    nextWindow_ += 2;
    windows_[handle.value] = std::move(w);
    return handle;
}

WindowHandle LocalDesktop::CreateChildWindow(WindowHandle parent, const std::wstring& className,
                                             const std::wstring& title, WindowProc proc) {
    WindowHandle child = CreateWindow(className, title, std::move(proc));
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    if (Window* w = Find(child)) w->parent = parent.value;
    return child;
}

WindowHandle LocalDesktop::GetParent(WindowHandle window) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    return WindowHandle{w ? w->parent : 0};
}

uint32_t LocalDesktop::RegisterWindowMessage(const std::wstring& name) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    auto it = registeredMessages_.find(name);
    if (it != registeredMessages_.end()) return it->second;
    const uint32_t id = 0xC000 + static_cast<uint32_t>(registeredMessages_.size());
    registeredMessages_[name] = id;
    return id;
}

void LocalDesktop::BroadcastMessage(uint32_t message, WPARAM wParam, LPARAM lParam) {
    std::vector<WindowHandle> topLevel;
    {
        std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
        for (auto& [value, w] : windows_) {
            if (w->parent == 0) topLevel.push_back(WindowHandle{value});
        }
    }
    for (WindowHandle w : topLevel) SendMessage(w, message, wParam, lParam);
}

bool LocalDesktop::DestroyWindow(WindowHandle window) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto it = windows_.find(window.value);
    if (it == windows_.end()) return false;
    DropMessagesFor(window, QueueOf(it->second->owner));
    windows_.erase(it);
    if (focus_ == window.value) focus_ = 0;
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const auto& t) { return t->window == window.value; }),
                  timers_.end());
    clock.Notify();
    return true;
}

// Messages still queued for a window that goes away are not delivered; a
// thread waiting for one it sent gets 0 instead of waiting for ever.
void LocalDesktop::DropMessagesFor(WindowHandle window, Queue& queue) {
    std::erase_if(queue.posted, [&](const Message& m) { return m.window == window; });
    std::erase_if(queue.sent, [&](SentMessage* s) {
        if (s->message.window != window) return false;
        s->result = 0;
        s->done = true;
        return true;
    });
}

bool LocalDesktop::IsWindow(WindowHandle window) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    return Find(window) != nullptr;
}

bool LocalDesktop::SetWindowText(WindowHandle window, const std::wstring& title) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    w->title = title;
    return true;
}

WindowHandle LocalDesktop::FindWindow(const std::wstring* className, const std::wstring* title) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    for (auto& [value, w] : windows_) {
        if (w->parent != 0) continue;
        if (className && w->className != *className) continue;
        if (title && w->title != *title) continue;
        return WindowHandle{value};
    }
    return WindowHandle{};
}

WindowHandle LocalDesktop::FindChildWindow(WindowHandle parent, const std::wstring& className) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    if (!parent) return WindowHandle{};
    for (auto& [value, w] : windows_) {
        if (w->parent == parent.value && w->className == className) return WindowHandle{value};
    }
    return WindowHandle{};
}

std::wstring LocalDesktop::GetClassName(WindowHandle window) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    return w ? w->className : std::wstring();
}

bool LocalDesktop::ShowWindow(WindowHandle window, bool show) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    const bool was = w->shown;
    w->shown = show;
    return was;
}

bool LocalDesktop::IsWindowVisible(WindowHandle window) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    for (Window* w = Find(window); w; w = w->parent ? Find(WindowHandle{w->parent}) : nullptr) {
        if (!w->shown) return false;
        if (w->parent == 0) return true;
    }
    return false;
}

bool LocalDesktop::SetWindowRect(WindowHandle window, const WindowRect& rect) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    w->rect = rect;
    return true;
}

bool LocalDesktop::GetWindowRect(WindowHandle window, WindowRect& rect) {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    rect = w->rect;
    return true;
}

WindowHandle LocalDesktop::SetFocus(WindowHandle window) {
    WindowHandle previous;
    {
        std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
        if (!Find(window)) return WindowHandle{};
        previous = WindowHandle{focus_};
        focus_ = window.value;
    }
    if (DesktopObserver* o = Observer()) o->OnFocus(window);
    return previous;
}

WindowHandle LocalDesktop::GetFocus() {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    if (focus_ != 0 && !Find(WindowHandle{focus_})) focus_ = 0;
    return WindowHandle{focus_};
}

void LocalDesktop::KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) {
    if (DesktopObserver* o = Observer()) o->OnKeybdEvent(virtualKey, scanCode, flags);
    const WindowHandle target = GetFocus();
    if (!target) return;
    // What the input queue makes of it: repeat count 1 and the scan code; a
    // key going up also carries the previous-state and transition bits.
    const bool up = (flags & KEYEVENTF_KEYUP) != 0;
    LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode) << 16);
    if (up) lParam |= static_cast<LPARAM>(0xC0000000u);
    Enqueue(target, up ? WM_KEYUP : WM_KEYDOWN, virtualKey, lParam);
}

void LocalDesktop::SetObserver(DesktopObserver* observer) { observer_.store(observer); }

DesktopObserver* LocalDesktop::Observer() { return observer_.load(); }

bool LocalDesktop::PostMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) return false;
    if (DesktopObserver* o = Observer()) o->OnMessage(window, message, wParam, lParam, false);
    return Enqueue(window, message, wParam, lParam);
}

bool LocalDesktop::Enqueue(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    QueueOf(w->owner).posted.push_back(Message{window, message, wParam, lParam});
    clock.Notify();
    return true;
}

LRESULT LocalDesktop::SendMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (DesktopObserver* o = Observer(); o && IsWindow(window)) o->OnMessage(window, message, wParam, lParam, true);
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Window* w = Find(window);
    if (!w) return 0;
    Message m{window, message, wParam, lParam};
    if (w->owner == std::this_thread::get_id()) {
        lock.unlock();
        return Dispatch(m);
    }
    SentMessage sent{m, 0, false};
    QueueOf(w->owner).sent.push_back(&sent);
    clock.Notify();
    // While waiting, answer messages sent to this thread's own windows, so
    // two threads sending to each other do not lock up.
    Queue& mine = QueueOf(std::this_thread::get_id());
    for (;;) {
        clock.WaitUntil(lock, [&] { return sent.done || !mine.sent.empty(); }, kInfinite);
        if (sent.done) return sent.result;
        ServeSentMessages(lock, mine);
    }
}

void LocalDesktop::ServeSentMessages(std::unique_lock<std::mutex>& lock, Queue& queue) {
    Clock& clock = CurrentClock();
    while (!queue.sent.empty()) {
        SentMessage* s = queue.sent.front();
        queue.sent.pop_front();
        lock.unlock();
        LRESULT result = Dispatch(s->message);
        lock.lock();
        s->result = result;
        s->done = true;
        clock.Notify();
    }
}

LocalDesktop::Timer* LocalDesktop::FindTimer(uint32_t window, uintptr_t id, std::thread::id thread) {
    for (auto& t : timers_) {
        if (t->window == window && t->id == id && (window != 0 || t->owner == thread)) return t.get();
    }
    return nullptr;
}

bool LocalDesktop::SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Window* w = Find(window);
    if (!w) return false;
    Timer* t = FindTimer(window.value, id, w->owner);
    if (!t) {
        timers_.push_back(std::make_unique<Timer>());
        t = timers_.back().get();
        t->window = window.value;
        t->id = id;
        t->owner = w->owner;
    }
    t->period = periodMs;
    t->due = clock.GetTickCount64() + periodMs;
    t->sequence = nextTimerSequence_++;
    QueueOf(w->owner).timersChanged = true;
    clock.Notify();
    return true;
}

bool LocalDesktop::KillTimer(WindowHandle window, uintptr_t id) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto before = timers_.size();
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const auto& t) { return t->window == window.value && t->id == id; }),
                  timers_.end());
    clock.Notify();
    return timers_.size() != before;
}

uintptr_t LocalDesktop::SetThreadTimer(uint32_t periodMs, TimerProc proc) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto t = std::make_unique<Timer>();
    t->id = nextThreadTimer_++;
    t->period = periodMs;
    t->due = clock.GetTickCount64() + periodMs;
    t->sequence = nextTimerSequence_++;
    t->owner = std::this_thread::get_id();
    t->proc = std::move(proc);
    uintptr_t id = t->id;
    timers_.push_back(std::move(t));
    QueueOf(std::this_thread::get_id()).timersChanged = true;
    clock.Notify();
    return id;
}

bool LocalDesktop::KillThreadTimer(uintptr_t id) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    auto before = timers_.size();
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const auto& t) { return t->window == 0 && t->id == id; }),
                  timers_.end());
    return timers_.size() != before;
}

LocalDesktop::Timer* LocalDesktop::DueTimer(std::thread::id thread, uint64_t now) {
    Timer* best = nullptr;
    for (auto& t : timers_) {
        if (t->owner != thread || t->due > now) continue;
        if (!best || t->due < best->due || (t->due == best->due && t->sequence < best->sequence)) best = t.get();
    }
    return best;
}

uint32_t LocalDesktop::MsUntilNextTimer(std::thread::id thread, uint64_t now) {
    uint64_t next = UINT64_MAX;
    for (auto& t : timers_) {
        if (t->owner == thread) next = std::min(next, t->due);
    }
    if (next == UINT64_MAX) return kInfinite;
    if (next <= now) return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(next - now, kInfinite - 1));
}

LRESULT LocalDesktop::Dispatch(const Message& message) {
    WindowProc proc;
    {
        std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
        ++dispatches_;
        Window* w = Find(message.window);
        if (!w) return 0;
        proc = w->proc;
    }
    return proc ? proc(message.window, message.message, message.wParam, message.lParam) : 0;
}

bool LocalDesktop::HandleNext(std::unique_lock<std::mutex>& lock, Queue& queue, int& exitCode) {
    Clock& clock = CurrentClock();
    const auto me = std::this_thread::get_id();
    if (!queue.sent.empty()) {
        ServeSentMessages(lock, queue);
        return true;
    }
    if (!queue.posted.empty()) {
        Message m = queue.posted.front();
        queue.posted.pop_front();
        lock.unlock();
        Dispatch(m);
        lock.lock();
        return true;
    }
    if (queue.quit) {
        queue.quit = false;
        exitCode = queue.exitCode;
        return false;
    }
    const uint64_t now = clock.GetTickCount64();
    if (Timer* t = DueTimer(me, now)) {
        // Expiries that were missed are not queued up: one WM_TIMER, then the
        // next one a full period later.
        t->due = now + t->period;
        const uintptr_t id = t->id;
        const uint32_t window = t->window;
        TimerProc proc = t->proc;
        ++dispatches_;
        lock.unlock();
        if (window == 0) {
            if (proc) proc(id);
        } else {
            Dispatch(Message{WindowHandle{window}, WM_TIMER, id, 0});
        }
        lock.lock();
        return true;
    }
    queue.timersChanged = false;
    const uint32_t wait = MsUntilNextTimer(me, now);
    clock.WaitUntil(
        lock,
        [&] {
            return !queue.sent.empty() || !queue.posted.empty() || queue.quit || queue.timersChanged ||
                   DueTimer(me, clock.GetTickCount64()) != nullptr;
        },
        wait);
    return true;
}

int LocalDesktop::RunMessageLoop() {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Queue& queue = QueueOf(std::this_thread::get_id());
    int exitCode = 0;
    while (HandleNext(lock, queue, exitCode)) {
    }
    return exitCode;
}

void LocalDesktop::PostQuitMessage(int exitCode) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    Queue& queue = QueueOf(std::this_thread::get_id());
    queue.quit = true;
    queue.exitCode = exitCode;
    clock.Notify();
}

uint64_t LocalDesktop::DispatchCount() {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    return dispatches_;
}

}  // namespace platform
