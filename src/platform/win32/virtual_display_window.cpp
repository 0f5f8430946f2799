// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/virtual_display_window.h"

#include "platform/log.h"

namespace platform::win32 {

namespace {
const wchar_t kClassName[] = L"Corvane.VirtualDisplay";
const wchar_t kTitle[] = L"Virtual Display";
constexpr int kWidth = 128;
constexpr int kHeight = 64;

bool RegisterDisplayClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // the default application icon
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
}  // namespace

VirtualDisplayWindow::VirtualDisplayWindow() {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!created) return;
    thread_ = std::thread([this, created] { Run(created); });
    WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
}

void VirtualDisplayWindow::Run(HANDLE created) {
    threadId_ = GetCurrentThreadId();
    // The thread's queue exists from here on, so the quit posted at the end
    // reaches it even when the window could not be made.
    MSG peek{};
    PeekMessageW(&peek, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    if (RegisterDisplayClass()) {
        window_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    if (!window_) LogA("Virtual Display: the window could not be created, error=%lu\n", GetLastError());
    SetEvent(created);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    if (window_) DestroyWindow(window_);
}

VirtualDisplayWindow::~VirtualDisplayWindow() {
    if (!thread_.joinable()) return;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

HDC VirtualDisplayWindow::CreateCompatibleMemoryDc() const {
    HDC windowDc = GetDC(window_);
    HDC memory = CreateCompatibleDC(windowDc);
    ReleaseDC(window_, windowDc);
    return memory;
}

}  // namespace platform::win32
