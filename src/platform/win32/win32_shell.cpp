// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/win32_shell.h"

#include <algorithm>

#include "platform/log.h"
#include "platform/win32/port_icon.h"
#include "platform/win32/window_handles.h"

namespace platform::win32 {

namespace {

// The tray menu's resource: its first pop-up is the menu shown.
constexpr int kTrayMenuResource = 130;

NOTIFYICONDATAW ToSystemRecord(const NotifyIconData& data) {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = ToHwnd(data.window);
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    if (data.flags & NIF_ICON) record.hIcon = LoadPortIcon(data.icon);
    // The tip's field holds 127 characters and the terminator.
    const size_t room = sizeof(record.szTip) / sizeof(record.szTip[0]) - 1;
    const size_t length = std::min(data.tip.size(), room);
    std::copy_n(data.tip.c_str(), length, record.szTip);
    record.szTip[length] = L'\0';
    return record;
}

DWORD SystemNotifyMessage(NotifyIconMessage message) {
    switch (message) {
        case NotifyIconMessage::Add:
            return NIM_ADD;
        case NotifyIconMessage::Modify:
            return NIM_MODIFY;
        case NotifyIconMessage::Delete:
            return NIM_DELETE;
    }
    return NIM_MODIFY;
}

void AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.items.empty()) {
            HMENU sub = CreatePopupMenu();
            AppendItems(sub, item.items);
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), item.text.c_str());
        } else {
            AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.id, item.text.c_str());
        }
    }
}

// True when the resource's pop-up has the port's items in the same places:
// then the resource keeps its layout and takes the port's texts and checks.
bool SameLayout(HMENU menu, const std::vector<MenuItem>& items) {
    if (GetMenuItemCount(menu) != static_cast<int>(items.size())) return false;
    for (size_t n = 0; n < items.size(); ++n) {
        const UINT position = static_cast<UINT>(n);
        HMENU sub = GetSubMenu(menu, static_cast<int>(n));
        if (items[n].separator != ((GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) != 0)) return false;
        if (!items[n].items.empty() && (!sub || !SameLayout(sub, items[n].items))) return false;
        if (!items[n].separator && items[n].items.empty() && GetMenuItemID(menu, static_cast<int>(n)) != items[n].id) {
            return false;
        }
    }
    return true;
}

void ApplyTexts(HMENU menu, const std::vector<MenuItem>& items) {
    for (size_t n = 0; n < items.size(); ++n) {
        if (items[n].separator) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_STATE;
        info.dwTypeData = const_cast<wchar_t*>(items[n].text.c_str());
        info.fState = items[n].checked ? MFS_CHECKED : MFS_UNCHECKED;
        SetMenuItemInfoW(menu, static_cast<UINT>(n), TRUE, &info);
        if (!items[n].items.empty()) ApplyTexts(GetSubMenu(menu, static_cast<int>(n)), items[n].items);
    }
}

// The menu resource with the port's texts, or a menu built from the items
// alone when the program has no such resource (test programs) or its layout
// differs. Both are destroyed when the menu has closed.
class TrayMenu {
public:
    explicit TrayMenu(const std::vector<MenuItem>& items)
        : resource_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuResource))) {
        shown_ = resource_ ? GetSubMenu(resource_, 0) : nullptr;
        if (shown_ && SameLayout(shown_, items)) {
            ApplyTexts(shown_, items);
            return;
        }
        built_ = CreatePopupMenu();
        AppendItems(built_, items);
        shown_ = built_;
    }
    ~TrayMenu() {
        if (built_) DestroyMenu(built_);
        if (resource_) DestroyMenu(resource_);
    }
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;
    HMENU Shown() const { return shown_; }

private:
    HMENU resource_ = nullptr;
    HMENU built_ = nullptr;
    HMENU shown_ = nullptr;
};

}  // namespace

uint32_t Win32Shell::MajorVersion() {
    using GetVersionCall = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");
    FARPROC address = shell ? GetProcAddress(shell, "DllGetVersion") : nullptr;
    if (!address) return 0;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(reinterpret_cast<GetVersionCall>(reinterpret_cast<void*>(address))(&info))) return 0;
    return info.dwMajorVersion;
}

bool Win32Shell::NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) {
    NOTIFYICONDATAW record = ToSystemRecord(data);
    if (Shell_NotifyIconW(SystemNotifyMessage(message), &record)) return true;
    LogA("Shell_NotifyIcon(%lu) failed\n", SystemNotifyMessage(message));
    return false;
}

void Win32Shell::TrackPopupMenu(const std::vector<MenuItem>& menu, WindowHandle owner) {
    const TrayMenu popup(menu);
    POINT cursor{};
    GetCursorPos(&cursor);
    // The menu closes when the user clicks elsewhere only while its owner
    // is in the foreground.
    SetForegroundWindow(ToHwnd(owner));
    ::TrackPopupMenu(popup.Shown(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, ToHwnd(owner), nullptr);
}

int Win32Shell::MessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags) {
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
}

}  // namespace platform::win32
