// clang-format off
#include "platform/win32/windows_api.h"
// clang-format on
#include "platform/win32/testing/device_records.h"

#include <cstddef>
#include <vector>

#include "platform/win32/window_handles.h"

namespace platform::win32::testing {

LRESULT SendInterfaceChange(WindowHandle window, uintptr_t event, const std::wstring& path, size_t declaredChars) {
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    // Room for the whole path and its terminator whatever size is declared,
    // so a short declared size is the only thing that can cut it.
    std::vector<DWORD> storage((nameOffset + (path.size() + 1) * sizeof(wchar_t)) / sizeof(DWORD) + 1, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    record->dbcc_size = static_cast<DWORD>(nameOffset + declaredChars * sizeof(wchar_t));
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&record->dbcc_classguid);
    for (size_t n = 0; n < path.size(); ++n) record->dbcc_name[n] = path[n];
    return SendMessageW(ToHwnd(window), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record));
}

LRESULT SendVolumeChange(WindowHandle window, uintptr_t event) {
    DEV_BROADCAST_VOLUME record{};
    record.dbcv_size = sizeof(record);
    record.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    record.dbcv_unitmask = 1u << 4;
    return SendMessageW(ToHwnd(window), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&record));
}

LRESULT SendBareDeviceChange(WindowHandle window, uintptr_t event) {
    return SendMessageW(ToHwnd(window), WM_DEVICECHANGE, event, 0);
}

}  // namespace platform::win32::testing
