#include "app/advance_setting_page.h"

#include <cwctype>

#include "common/settings.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "settings_ui/page_templates.h"

namespace app {

namespace {
using settings_ui::IDC_CHECK_AUTORUN;
using settings_ui::IDC_LIST_LANGUAGE;
constexpr size_t kModulePathChars = 2000;

// The decimal number the text starts with; 0 when it starts with none.
int LeadingNumber(const std::wstring& text) {
    size_t at = 0;
    while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at]))) ++at;
    const bool negative = at < text.size() && text[at] == L'-';
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) ++at;
    long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9' && value < 100000000; ++at) {
        value = value * 10 + (text[at] - L'0');
    }
    return static_cast<int>(negative ? -value : value);
}

void WriteRunValue(bool autorun) {
    auto& registry = platform::CurrentRegistry();
    if (!registry.OpenKey(kRunKey)) return;
    if (!autorun) {
        registry.DeleteValue(kRunKey, kRunValue);
        return;
    }
    const std::wstring path = platform::CurrentSystem().ExecutablePath().value_or(L"");
    registry.SetValue(kRunKey, kRunValue, RunValueData(path.substr(0, kModulePathChars - 1)));
}
}  // namespace

std::wstring RunValueData(const std::wstring& executable) { return L"\"" + executable + L"\""; }

CAdvanceSettingPage::CAdvanceSettingPage(CSettingDlg& sheet) : CSettingPage(sheet, settings_ui::PAGE_ADVANCED) {}

void CAdvanceSettingPage::OnInitDialog(platform::SheetView& view) {
    auto& ini = common::g_SettingsIni;
    std::wstring language;
    ini.ReadString(L"SETTING", L"VAL_LANGUAGE", language);
    for (int n = 0;; ++n) {
        std::wstring name;
        ini.ReadString(L"SETTING", L"Language_" + std::to_wstring(n), name);
        if (name.empty()) break;
        view.InsertListItem(m_nIndex, IDC_LIST_LANGUAGE, n, name);
    }
    view.SelectListItem(m_nIndex, IDC_LIST_LANGUAGE, LeadingNumber(language));
    view.SetCheck(m_nIndex, IDC_CHECK_AUTORUN, common::g_Settings.VAL_AUTORUN_API == 1);
    ApplySheetLanguage(view);
}

void CAdvanceSettingPage::OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) {
    const bool chosen = id == IDC_LIST_LANGUAGE && event == platform::ControlEvent::SelectionChanged;
    const bool clicked = id == IDC_CHECK_AUTORUN && event == platform::ControlEvent::ButtonClicked;
    if (chosen || clicked) SetModified(view);
}

void CAdvanceSettingPage::OnApply(platform::SheetView& view) {
    auto& settings = common::g_Settings;
    settings.VAL_LANGUAGE = view.ListSelection(m_nIndex, IDC_LIST_LANGUAGE);
    common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", settings.VAL_LANGUAGE);
    const bool autorun = view.IsChecked(m_nIndex, IDC_CHECK_AUTORUN);
    settings.VAL_AUTORUN_API = autorun ? 1 : 0;
    WriteRunValue(autorun);
    common::SaveSettings(settings);
    ApplySheetLanguage(view);
}

}  // namespace app
