// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/win32_device_change.h"

#include <cstddef>

#include "platform/log.h"

namespace platform::win32 {

bool RegisterHidInterfaceNotification(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    if (RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr) return true;
    LogA("RegisterDeviceNotification failed, error=%lu\n", GetLastError());
    return false;
}

bool ToPortRecord(::LPARAM systemRecord, DevBroadcastDeviceInterface& record) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(systemRecord);
    if (!header || header->dbch_size < sizeof(DEV_BROADCAST_HDR)) return false;
    record.dbcc_devicetype = header->dbch_devicetype;
    record.dbcc_name.clear();
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return true;
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(systemRecord);
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (header->dbch_size <= nameOffset) return true;
    const size_t room = (header->dbch_size - nameOffset) / sizeof(wchar_t);
    for (size_t n = 0; n < room && device->dbcc_name[n] != L'\0'; ++n) record.dbcc_name += device->dbcc_name[n];
    return true;
}

}  // namespace platform::win32
