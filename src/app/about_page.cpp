#include "app/about_page.h"

#include "settings_ui/page_templates.h"

namespace app {

CAboutPage::CAboutPage(CSettingDlg& sheet) : CSettingPage(sheet, settings_ui::PAGE_ABOUT) {}

}  // namespace app
