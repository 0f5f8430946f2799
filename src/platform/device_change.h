#pragma once
// Device-interface notifications: the record that WM_DEVICECHANGE carries
// for an interface that arrives or goes away, with its documented constants.

#include <cstdint>
#include <string>

#include "platform/system_names_guard.h"

namespace platform {

constexpr uintptr_t DBT_DEVICEARRIVAL = 0x8000;
constexpr uintptr_t DBT_DEVICEQUERYREMOVE = 0x8001;
constexpr uintptr_t DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr uint32_t DBT_DEVTYP_DEVICEINTERFACE = 5;

// lParam of WM_DEVICECHANGE points at one of these while the message is
// handled. The system's record holds its path inline after a fixed header;
// ours holds the same fields with the path as a string of any length, so a
// Win32 backend copies the system's record into one of these (path up to its
// terminator) before sending it on, and the core never sees the system's
// layout. dbcc_size tells nothing to the core; dbcc_devicetype is checked.
struct DevBroadcastDeviceInterface {
    uint32_t dbcc_size = sizeof(DevBroadcastDeviceInterface);
    uint32_t dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    uint32_t dbcc_reserved = 0;
    std::wstring dbcc_name;  // the interface's device path
};

}  // namespace platform
