#include "platform/sim/sim_shell.h"

namespace platform::sim {

std::string IconName(const IconRef& icon) {
    if (icon.kind == IconRef::Kind::Standard && icon.id == IDI_HAND) return "error";
    if (icon.kind == IconRef::Kind::Standard && icon.id == IDI_ASTERISK) return "information";
    if (icon.kind == IconRef::Kind::Resource && icon.id == 128) return "application";
    if (icon.kind == IconRef::Kind::None) return "none";
    return std::to_string(icon.id);
}

bool SimShell::NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) {
    std::function<void(const TrayState&)> listener;
    TrayState state;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const TrayState before = tray_;
        switch (message) {
            case NotifyIconMessage::Add:
                if (tray_.shown) return false;
                tray_.shown = true;
                tray_.icon = data.icon;
                tray_.tip = data.tip;
                data_ = data;
                break;
            case NotifyIconMessage::Modify:
                if (!tray_.shown) return false;
                if (data.flags & NIF_ICON) tray_.icon = data.icon;
                if (data.flags & NIF_TIP) tray_.tip = data.tip;
                break;
            case NotifyIconMessage::Delete:
                if (!tray_.shown) return false;
                tray_.shown = false;
                break;
        }
        const bool changed = before.shown != tray_.shown || before.tip != tray_.tip ||
                             before.icon.kind != tray_.icon.kind || before.icon.id != tray_.icon.id;
        if (!changed) return true;
        listener = trayListener_;
        state = tray_;
    }
    if (listener) listener(state);
    return true;
}

void SimShell::TrackPopupMenu(const std::vector<MenuItem>& menu, WindowHandle owner) {
    std::optional<uint32_t> choice;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lastMenu_ = menu;
        choice = pendingChoice_;
        pendingChoice_.reset();
    }
    if (choice && *choice != 0) CurrentDesktop().PostMessage(owner, WM_COMMAND, *choice, 0);
}

int SimShell::MessageBox(const std::wstring& text, const std::wstring&, uint32_t) {
    std::function<void(const std::wstring&)> listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(text);
        listener = boxListener_;
    }
    if (listener) listener(text);
    return IDOK;
}

void SimShell::SetTrayListener(std::function<void(const TrayState&)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    trayListener_ = std::move(listener);
}

void SimShell::SetMessageBoxListener(std::function<void(const std::wstring&)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    boxListener_ = std::move(listener);
}

SimShell::TrayState SimShell::Tray() {
    std::lock_guard<std::mutex> lock(mutex_);
    return tray_;
}

std::vector<MenuItem> SimShell::LastMenu() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastMenu_;
}

std::vector<std::wstring> SimShell::MessageBoxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void SimShell::SendCallback(LPARAM mouseMessage) {
    NotifyIconData data;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!tray_.shown) return;
        data = data_;
    }
    CurrentDesktop().PostMessage(data.window, data.callbackMessage, data.id, mouseMessage);
}

void SimShell::RightClick(uint32_t command) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pendingChoice_ = command;
    }
    SendCallback(WM_RBUTTONUP);
}

void SimShell::DoubleClick() { SendCallback(WM_LBUTTONDBLCLK); }

void SimShell::Restart() {
    std::function<void(const TrayState&)> listener;
    TrayState state;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tray_.shown = false;
        listener = trayListener_;
        state = tray_;
    }
    if (listener) listener(state);
    auto& desktop = CurrentDesktop();
    desktop.BroadcastMessage(desktop.RegisterWindowMessage(L"TaskbarCreated"), 0, 0);
}

}  // namespace platform::sim
