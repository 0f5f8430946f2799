#include "settings_ui/settings_sheet.h"

#include "platform/log.h"

namespace settings_ui {

// The sheet's pages are not built yet; the request is only logged.
void OpenSettingSheet(int page) { platform::LogW(L"OpenSettingSheet: page %d", page); }

}  // namespace settings_ui
