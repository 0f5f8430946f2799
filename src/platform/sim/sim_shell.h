#pragma once
// The simulated shell: the notification-area icon's state, the last pop-up
// menu shown and the command the user picks from it, message boxes, and a
// shell that restarts.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform::sim {

class SimShell final : public Shell {
public:
    struct TrayState {
        bool shown = false;
        IconRef icon;
        std::wstring tip;
    };

    uint32_t MajorVersion() override { return 6; }
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) override;
    void TrackPopupMenu(const std::vector<MenuItem>& menu, WindowHandle owner) override;
    int MessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;

    // Called on every change of the icon or its tip, and for every message box.
    void SetTrayListener(std::function<void(const TrayState&)> listener);
    void SetMessageBoxListener(std::function<void(const std::wstring&)> listener);

    TrayState Tray();
    std::vector<MenuItem> LastMenu();
    std::vector<std::wstring> MessageBoxes();

    // A right click on the icon; the menu that opens picks `command` (0: none).
    void RightClick(uint32_t command);
    void DoubleClick();
    // The shell restarts: the icon is gone and "TaskbarCreated" is broadcast.
    void Restart();

private:
    void SendCallback(LPARAM mouseMessage);

    std::mutex mutex_;
    TrayState tray_;
    NotifyIconData data_;
    std::vector<MenuItem> lastMenu_;
    std::optional<uint32_t> pendingChoice_;
    std::vector<std::wstring> boxes_;
    std::function<void(const TrayState&)> trayListener_;
    std::function<void(const std::wstring&)> boxListener_;
};

// "application", "error", "information", or the resource number.
std::string IconName(const IconRef& icon);

}  // namespace platform::sim
