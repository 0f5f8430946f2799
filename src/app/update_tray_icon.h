#pragma once
// The connection update: chooses between the unconnected and the main mode
// and shows the connection state in the tray.

namespace app {

class CCorvaneDlg;

void UpdateTrayIcon(CCorvaneDlg& dlg);

}  // namespace app
