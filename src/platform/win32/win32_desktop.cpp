// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/win32_desktop.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/log.h"
#include "platform/win32/win32_device_change.h"
#include "platform/win32/window_handles.h"

namespace platform::win32 {

namespace {

// What a window of ours keeps: its handler, shared so that a handler that
// destroys its own window finishes on a live object.
struct WindowState {
    WindowProc proc;
};
using StateHolder = std::shared_ptr<WindowState>;

// The system's own window messages that the port never delivers on its
// own: the handler sees them, and the system's default handling follows.
// Every other message is the port's and the handler's answer is final.
bool IsHousekeeping(uint32_t message) {
    if (message >= WM_USER) return false;
    switch (message) {
        case WM_NULL:
        case WM_SETFOCUS:
        case WM_CLOSE:
        case WM_WINDOWPOSCHANGING:
        case WM_COPYDATA:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_INITDIALOG:
        case WM_COMMAND:
        case WM_TIMER:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_DEVICECHANGE:
        case MM_MIXM_CONTROL_CHANGE:
            return false;
        default:
            return true;
    }
}

// Requests a thread makes of another thread's window of this process: the
// system lets only a window's own thread destroy it or set its timers.
struct Requests {
    UINT destroy = RegisterWindowMessageW(L"Corvane.Desktop.Destroy");
    UINT setTimer = RegisterWindowMessageW(L"Corvane.Desktop.SetTimer");
    UINT killTimer = RegisterWindowMessageW(L"Corvane.Desktop.KillTimer");
};

const Requests& OwnRequests() {
    static const Requests requests;
    return requests;
}

bool HandleRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const Requests& r = OwnRequests();
    if (message == r.destroy) {
        result = ::DestroyWindow(window) ? 1 : 0;
    } else if (message == r.setTimer) {
        result = ::SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr) != 0 ? 1 : 0;
    } else if (message == r.killTimer) {
        result = ::KillTimer(window, wParam) ? 1 : 0;
    } else {
        return false;
    }
    return true;
}

// The handler's call with the system's records turned into the port's.
LRESULT CallHandler(WindowState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowHandle handle = ToHandle(window);
    if (message == WM_COPYDATA && lParam != 0) {
        const auto* system = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        CopyDataStruct record;
        record.dwData = system->dwData;
        record.cbData = system->cbData;
        record.lpData = system->lpData;
        return state.proc(handle, message, wParam, reinterpret_cast<LPARAM>(&record));
    }
    if (message == WM_DEVICECHANGE) {
        DevBroadcastDeviceInterface record;
        if (!ToPortRecord(lParam, record)) return state.proc(handle, message, wParam, 0);
        return state.proc(handle, message, wParam, reinterpret_cast<LPARAM>(&record));
    }
    return state.proc(handle, message, wParam, lParam);
}

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* holder = reinterpret_cast<StateHolder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete holder;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!holder) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    if (HandleRequest(window, message, wParam, lParam, result)) return result;
    const StateHolder keep = *holder;
    if (!keep->proc) return DefWindowProcW(window, message, wParam, lParam);
    result = CallHandler(*keep, window, message, wParam, lParam);
    return IsHousekeeping(message) ? DefWindowProcW(window, message, wParam, lParam) : result;
}

// Window classes are registered the first time a window of one is made.
bool EnsureClass(const std::wstring& className) {
    static std::mutex mutex;
    static std::set<std::wstring> registered;
    std::lock_guard<std::mutex> lock(mutex);
    if (registered.count(className)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = SharedWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        LogW(L"RegisterClassEx failed for %ls, error=%lu\n", className.c_str(), GetLastError());
        return false;
    }
    registered.insert(className);
    return true;
}

bool OwnedByThisThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

bool OwnedByThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// Thread timers by the id the system gave them; the system calls back with
// that id on the thread that set the timer.
std::mutex g_threadTimerMutex;
std::map<UINT_PTR, TimerProc> g_threadTimers;

void CALLBACK ThreadTimerCallback(HWND, UINT, UINT_PTR id, DWORD) {
    TimerProc proc;
    {
        std::lock_guard<std::mutex> lock(g_threadTimerMutex);
        auto it = g_threadTimers.find(id);
        if (it == g_threadTimers.end()) return;
        proc = it->second;
    }
    if (proc) proc(id);
}

// How long a broadcast waits for each window before going on to the next.
constexpr UINT kBroadcastTimeoutMs = 5000;

}  // namespace

Win32Desktop::Win32Desktop() { OwnRequests(); }
Win32Desktop::~Win32Desktop() = default;

WindowHandle Win32Desktop::Create(WindowHandle parent, const std::wstring& className, const std::wstring& title,
                                  WindowProc proc) {
    if (!EnsureClass(className)) return WindowHandle{};
    const StateHolder state = std::make_shared<WindowState>(WindowState{std::move(proc)});
    auto* holder = new StateHolder(state);
    const DWORD style = parent ? WS_CHILD : WS_POPUP;
    const DWORD exStyle = parent ? 0 : WS_EX_TOOLWINDOW;
    HWND window = CreateWindowExW(exStyle, className.c_str(), title.c_str(), style, 0, 0, 0, 0,
                                  parent ? ToHwnd(parent) : nullptr, nullptr, GetModuleHandleW(nullptr), holder);
    if (!window) {
        LogW(L"CreateWindowEx failed for %ls, error=%lu\n", className.c_str(), GetLastError());
        // Once WM_NCCREATE has taken the holder, WM_NCDESTROY has freed it;
        // a holder still sharing the state was never taken.
        if (state.use_count() > 1) delete holder;
        return WindowHandle{};
    }
    return ToHandle(window);
}

WindowHandle Win32Desktop::CreateWindow(const std::wstring& className, const std::wstring& title, WindowProc proc) {
    return Create(WindowHandle{}, className, title, std::move(proc));
}

WindowHandle Win32Desktop::CreateChildWindow(WindowHandle parent, const std::wstring& className,
                                             const std::wstring& title, WindowProc proc) {
    if (!IsWindow(parent)) return WindowHandle{};
    return Create(parent, className, title, std::move(proc));
}

WindowHandle Win32Desktop::GetParent(WindowHandle window) {
    HWND w = ToHwnd(window);
    if (!::IsWindow(w) || (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) == 0) return WindowHandle{};
    return ToHandle(GetAncestor(w, GA_PARENT));
}

uint32_t Win32Desktop::RegisterWindowMessage(const std::wstring& name) {
    return RegisterWindowMessageW(name.c_str());
}

void Win32Desktop::BroadcastMessage(uint32_t message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        kBroadcastTimeoutMs, &ignored);
}

bool Win32Desktop::DestroyWindow(WindowHandle window) {
    HWND w = ToHwnd(window);
    if (!::IsWindow(w)) return false;
    if (OwnedByThisThread(w)) return ::DestroyWindow(w) != 0;
    if (!OwnedByThisProcess(w)) return false;
    return SendMessageW(w, OwnRequests().destroy, 0, 0) != 0;
}

bool Win32Desktop::IsWindow(WindowHandle window) { return window && ::IsWindow(ToHwnd(window)) != 0; }

bool Win32Desktop::SetWindowText(WindowHandle window, const std::wstring& title) {
    return SetWindowTextW(ToHwnd(window), title.c_str()) != 0;
}

WindowHandle Win32Desktop::FindWindow(const std::wstring* className, const std::wstring* title) {
    return ToHandle(FindWindowW(className ? className->c_str() : nullptr, title ? title->c_str() : nullptr));
}

WindowHandle Win32Desktop::FindChildWindow(WindowHandle parent, const std::wstring& className) {
    if (!parent) return WindowHandle{};
    return ToHandle(FindWindowExW(ToHwnd(parent), nullptr, className.c_str(), nullptr));
}

std::wstring Win32Desktop::GetClassName(WindowHandle window) {
    wchar_t name[257] = {};
    const int length = GetClassNameW(ToHwnd(window), name, 257);
    return length > 0 ? std::wstring(name, static_cast<size_t>(length)) : std::wstring();
}

bool Win32Desktop::ShowWindow(WindowHandle window, bool show) {
    if (!IsWindow(window)) return false;
    return ::ShowWindow(ToHwnd(window), show ? SW_SHOWNOACTIVATE : SW_HIDE) != 0;
}

bool Win32Desktop::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != 0; }

bool Win32Desktop::SetWindowRect(WindowHandle window, const WindowRect& rect) {
    HWND w = ToHwnd(window);
    if (!::IsWindow(w)) return false;
    // A child is placed in its parent's client coordinates.
    POINT corner{rect.left, rect.top};
    if (HWND parent = ToHwnd(GetParent(window))) ScreenToClient(parent, &corner);
    return SetWindowPos(w, nullptr, corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top,
                        SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool Win32Desktop::GetWindowRect(WindowHandle window, WindowRect& rect) {
    RECT r{};
    if (!::GetWindowRect(ToHwnd(window), &r)) return false;
    rect = WindowRect{r.left, r.top, r.right, r.bottom};
    return true;
}

WindowHandle Win32Desktop::SetFocus(WindowHandle window) {
    HWND w = ToHwnd(window);
    if (!::IsWindow(w)) return WindowHandle{};
    if (OwnedByThisThread(w)) return ToHandle(::SetFocus(w));
    // Focus belongs to an input queue: join the window's for the moment of
    // the call, as the system requires for another thread's window.
    const DWORD mine = GetCurrentThreadId();
    const DWORD theirs = GetWindowThreadProcessId(w, nullptr);
    const bool attached = AttachThreadInput(mine, theirs, TRUE) != 0;
    HWND previous = ::SetFocus(w);
    if (attached) AttachThreadInput(mine, theirs, FALSE);
    return ToHandle(previous);
}

WindowHandle Win32Desktop::GetFocus() {
    if (HWND mine = ::GetFocus()) return ToHandle(mine);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(0, &info)) return WindowHandle{};
    return ToHandle(info.hwndFocus);
}

void Win32Desktop::KeybdEvent(uint8_t virtualKey, uint8_t scanCode, uint32_t flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = flags;
    if (SendInput(1, &input, sizeof(input)) != 1) LogA("SendInput failed, error=%lu\n", GetLastError());
}

bool Win32Desktop::PostMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!window) return false;
    return PostMessageW(ToHwnd(window), message, wParam, lParam) != 0;
}

LRESULT Win32Desktop::SendMessage(WindowHandle window, uint32_t message, WPARAM wParam, LPARAM lParam) {
    HWND w = ToHwnd(window);
    if (!IsWindow(window)) {
        if (message == WM_COPYDATA) LogA("SendMessage: window 0x%08X is gone, WM_COPYDATA not delivered\n", window.value);
        return 0;
    }
    if (message == WM_COPYDATA && lParam != 0) {
        // The system carries the data to another process; it needs its own record.
        const auto* ours = reinterpret_cast<const CopyDataStruct*>(lParam);
        COPYDATASTRUCT record{ours->dwData, ours->cbData, const_cast<void*>(ours->lpData)};
        const LRESULT result = SendMessageW(w, message, wParam, reinterpret_cast<LPARAM>(&record));
        if (result == 0 && !::IsWindow(w)) LogA("SendMessage: window 0x%08X went away during WM_COPYDATA\n", window.value);
        return result;
    }
    return SendMessageW(w, message, wParam, lParam);
}

bool Win32Desktop::SetTimer(WindowHandle window, uintptr_t id, uint32_t periodMs) {
    HWND w = ToHwnd(window);
    if (!IsWindow(window)) return false;
    if (OwnedByThisThread(w)) return ::SetTimer(w, id, periodMs, nullptr) != 0;
    // Posted, so that the caller never waits for the owner's loop; the
    // owner handles it in order with what this thread posted before.
    return PostMessageW(w, OwnRequests().setTimer, id, static_cast<LPARAM>(periodMs)) != 0;
}

bool Win32Desktop::KillTimer(WindowHandle window, uintptr_t id) {
    HWND w = ToHwnd(window);
    if (!IsWindow(window)) return false;
    if (OwnedByThisThread(w)) return ::KillTimer(w, id) != 0;
    return PostMessageW(w, OwnRequests().killTimer, id, 0) != 0;
}

uintptr_t Win32Desktop::SetThreadTimer(uint32_t periodMs, TimerProc proc) {
    std::lock_guard<std::mutex> lock(g_threadTimerMutex);
    const UINT_PTR id = ::SetTimer(nullptr, 0, periodMs, ThreadTimerCallback);
    if (id == 0) {
        LogA("SetTimer failed, error=%lu\n", GetLastError());
        return 0;
    }
    g_threadTimers[id] = std::move(proc);
    return id;
}

bool Win32Desktop::KillThreadTimer(uintptr_t id) {
    std::lock_guard<std::mutex> lock(g_threadTimerMutex);
    const bool known = g_threadTimers.erase(id) != 0;
    return ::KillTimer(nullptr, id) != 0 && known;
}

int Win32Desktop::RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) {
            LogA("GetMessage failed, error=%lu\n", GetLastError());
            return -1;
        }
        DispatchMessageW(&message);
    }
}

void Win32Desktop::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

}  // namespace platform::win32
