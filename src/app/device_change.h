#pragma once
// The handset plugged in and pulled out while the program runs.

#include <cstdint>

#include "platform/device_change.h"

namespace app {

class CCorvaneDlg;

// 1 when the interface's device path belongs to the handset, else 0.
int IsHandsetInterface(const platform::DevBroadcastDeviceInterface& record);

// The main window's WM_DEVICECHANGE handler; always returns true.
bool OnDeviceChange(CCorvaneDlg& dlg, uintptr_t eventType, const platform::DevBroadcastDeviceInterface* record);

}  // namespace app
