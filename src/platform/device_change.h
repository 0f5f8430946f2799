#pragma once
// Device-interface notifications: the record that WM_DEVICECHANGE carries
// for an interface that arrives or goes away, with its documented constants.

#include <cstdint>
#include <string>

namespace platform {

constexpr uintptr_t DBT_DEVICEARRIVAL = 0x8000;
constexpr uintptr_t DBT_DEVICEQUERYREMOVE = 0x8001;
constexpr uintptr_t DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr uint32_t DBT_DEVTYP_DEVICEINTERFACE = 5;

// lParam of WM_DEVICECHANGE points at one of these while the message is handled.
struct DevBroadcastDeviceInterface {
    uint32_t dbcc_size = sizeof(DevBroadcastDeviceInterface);
    uint32_t dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    uint32_t dbcc_reserved = 0;
    std::wstring dbcc_name;  // the interface's device path
};

}  // namespace platform
