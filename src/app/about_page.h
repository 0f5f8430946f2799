#pragma once
// About page: the program's icon, version and copyright.

#include "app/setting_page.h"

namespace app {

class CAboutPage final : public CSettingPage {
public:
    explicit CAboutPage(CSettingDlg& sheet);
    void OnInitDialog(platform::SheetView& view) override { ApplySheetLanguage(view); }
};

}  // namespace app
