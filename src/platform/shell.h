#pragma once
// Shell port: the notification-area icon, pop-up menus and message boxes.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/system_names_guard.h"

namespace platform {

constexpr uint32_t NIF_MESSAGE = 0x1;
constexpr uint32_t NIF_ICON = 0x2;
constexpr uint32_t NIF_TIP = 0x4;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr int IDI_HAND = 32513;
constexpr int IDI_ASTERISK = 32516;
constexpr size_t kTrayTipChars = 128;  // the tip's buffer, terminator included

enum class NotifyIconMessage { Add, Modify, Delete };

// What the icon shows: a resource of the program or a standard system icon.
struct IconRef {
    enum class Kind { None, Resource, Standard };
    Kind kind = Kind::None;
    int id = 0;
};

struct NotifyIconData {
    WindowHandle window;
    uint32_t id = 0;
    uint32_t flags = 0;
    uint32_t callbackMessage = 0;
    IconRef icon;
    std::wstring tip;  // at most 127 characters
};

struct MenuItem {
    uint32_t id = 0;  // 0 for a separator or a sub-menu
    std::wstring text;
    bool separator = false;
    bool checked = false;
    std::vector<MenuItem> items;  // a sub-menu's items
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual uint32_t MajorVersion() = 0;
    virtual bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) = 0;
    // Shows the menu at the cursor; the chosen command reaches `owner` as WM_COMMAND.
    virtual void TrackPopupMenu(const std::vector<MenuItem>& menu, WindowHandle owner) = 0;
    virtual int MessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags) = 0;
};

// The process-wide shell (platform/backends.h installs it).
Shell& CurrentShell();

}  // namespace platform
