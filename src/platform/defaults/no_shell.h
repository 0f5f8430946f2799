#pragma once
// Where no shell is available: no notification area, menus and message
// boxes go nowhere.

#include "platform/shell.h"

namespace platform {

class NoShell final : public Shell {
public:
    uint32_t MajorVersion() override { return 0; }
    bool NotifyIcon(NotifyIconMessage, const NotifyIconData&) override { return false; }
    void TrackPopupMenu(const std::vector<MenuItem>&, WindowHandle) override {}
    int MessageBox(const std::wstring&, const std::wstring&, uint32_t) override { return 0; }
};

}  // namespace platform
