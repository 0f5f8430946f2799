#pragma once
// WM_DEVICECHANGE as the system sends it, with the system's own records, for
// tests of how a backend hands them to the port.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/window_messages.h"
#include "platform/window_handle.h"

namespace platform::win32::testing {

// A device-interface record holding `path`, whose declared size covers
// `declaredChars` characters of it (the terminator included when it is
// path.size() + 1 or more).
LRESULT SendInterfaceChange(WindowHandle window, uintptr_t event, const std::wstring& path, size_t declaredChars);
// A volume record (another device type, no path).
LRESULT SendVolumeChange(WindowHandle window, uintptr_t event);
// No record at all (lParam 0), as for a change of the device tree.
LRESULT SendBareDeviceChange(WindowHandle window, uintptr_t event);

}  // namespace platform::win32::testing
