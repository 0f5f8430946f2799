#pragma once
// Device-interface notifications on the system: the registration for HID
// interfaces, and the system's record turned into the port's.
//
// Include after platform/win32/windows_api.h.

#include "platform/device_change.h"

namespace platform::win32 {

// From now on `window` gets WM_DEVICECHANGE for every HID interface that
// arrives or goes away. False (with a log line) when the system refuses.
bool RegisterHidInterfaceNotification(HWND window);

// The port's record for the system's WM_DEVICECHANGE lParam, or false when
// it carries none. The path is cut at its terminator or at the end of the
// record the system declared, whichever comes first.
bool ToPortRecord(::LPARAM systemRecord, DevBroadcastDeviceInterface& record);

}  // namespace platform::win32
