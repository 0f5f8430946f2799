#pragma once
// The shell port on the system's notification area, pop-up menus and
// message boxes.

#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell final : public Shell {
public:
    uint32_t MajorVersion() override;
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) override;
    void TrackPopupMenu(const std::vector<MenuItem>& menu, WindowHandle owner) override;
    int MessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;
};

}  // namespace platform::win32
