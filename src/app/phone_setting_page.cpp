#include "app/phone_setting_page.h"

#include "common/contrast.h"
#include "common/settings.h"
#include "handset/handset_commands.h"
#include "settings_ui/page_templates.h"

namespace app {

namespace {
using settings_ui::IDC_CHECK_KEYTONE;
using settings_ui::IDC_SLIDER_1;
// The display group: box, "Contrast", "Low", "High" (the slider too).
const int kDisplayControls[] = {1033, 1034, 1036, 1037, IDC_SLIDER_1};
}  // namespace

CPhoneSettingPage::CPhoneSettingPage(CSettingDlg& sheet) : CSettingPage(sheet, settings_ui::PAGE_PHONE) {}

void CPhoneSettingPage::OnInitDialog(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    view.SetSliderRange(m_nIndex, IDC_SLIDER_1, 0, common::kContrastLevelCount - 1);
    view.SetSliderPos(m_nIndex, IDC_SLIDER_1, settings.VAL_LCM_CONTRAST);
    view.SetCheck(m_nIndex, IDC_CHECK_KEYTONE, settings.VAL_ENABLE_KEYTONE == 1);
    ApplySheetLanguage(view);
    if (settings.VAL_ENABLE_LCM == 0) {
        // A handset without display: only the key-tone group applies.
        for (int id : kDisplayControls) view.ShowControl(m_nIndex, id, false);
    }
}

void CPhoneSettingPage::OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) {
    const bool released = id == IDC_SLIDER_1 && event == platform::ControlEvent::SliderReleased;
    const bool clicked = id == IDC_CHECK_KEYTONE && event == platform::ControlEvent::ButtonClicked;
    if (released || clicked) SetModified(view);
}

void CPhoneSettingPage::OnApply(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    settings.VAL_LCM_CONTRAST = view.SliderPos(m_nIndex, IDC_SLIDER_1);
    const common::ContrastTriple triple = common::SelectedContrastTriple();
    handset::NewWriteCmd(handset::CMD_CONTRAST, triple.a, triple.b, triple.c);
    settings.VAL_ENABLE_KEYTONE = view.IsChecked(m_nIndex, IDC_CHECK_KEYTONE) ? 1 : 0;
}

}  // namespace app
