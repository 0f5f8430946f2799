#include "platform/shell.h"

#include <atomic>

namespace platform {

namespace {
// Where no shell is installed: no tray support, menus and boxes go nowhere.
class NoShell final : public Shell {
public:
    uint32_t MajorVersion() override { return 0; }
    bool NotifyIcon(NotifyIconMessage, const NotifyIconData&) override { return false; }
    void TrackPopupMenu(const std::vector<MenuItem>&, WindowHandle) override {}
    int MessageBox(const std::wstring&, const std::wstring&, uint32_t) override { return 0; }
};

std::atomic<Shell*> g_shell{nullptr};
}  // namespace

Shell& CurrentShell() {
    static NoShell* none = new NoShell;
    Shell* s = g_shell.load();
    if (s) return *s;
    return *none;
}

void InstallShell(Shell* shell) { g_shell.store(shell); }

}  // namespace platform
