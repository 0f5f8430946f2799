#pragma once
// The connection update: chooses between the unconnected and the main mode
// and shows the connection state in the tray.

#include <functional>
#include <string>

namespace app {

class CCorvaneDlg;

enum class TrayIcon {
    Error,        // the handset has not started
    Application,  // handset started, Skype attached
    Information,  // handset started, Skype not attached
};

struct ConnectionState {
    TrayIcon icon = TrayIcon::Error;
    std::wstring tipKey;  // language key of the tray tip
};

void UpdateTrayIcon(CCorvaneDlg& dlg);

// Receives the state that the tray icon shows.
void SetConnectionStateSink(std::function<void(const ConnectionState&)> sink);

}  // namespace app
