#include "app/setting_dlg.h"

#include "app/corvane_dlg.h"
#include "platform/desktop.h"
#include "settings_ui/page_templates.h"
#include "settings_ui/sheet_language.h"
#include "skype/skype_monitor.h"

namespace app {

namespace {
// The sheet's caption until the language file's replaces it.
constexpr wchar_t kSheetCaption[] = L"Options";
}  // namespace

void CSettingPage::ApplySheetLanguage(platform::SheetView& view) { m_Sheet.ApplyLanguage(view); }

CSettingDlg::CSettingDlg(platform::WindowHandle owner, int startPage) : m_hOwner(owner), m_nStartPage(startPage) {}

int CSettingDlg::DoModal() {
    platform::SheetTemplate sheet;
    sheet.caption = kSheetCaption;
    sheet.icon = platform::IconRef{platform::IconRef::Kind::Resource, IDR_MAINFRAME_ICON};
    sheet.startPage = m_nStartPage;
    sheet.pages = settings_ui::PageTemplates();
    return platform::CurrentSheetHost().RunSheet(m_hOwner, sheet, *this);
}

void CSettingDlg::SetActivePage(int page) {
    if (m_pView) m_pView->SetCurrentPage(page);
}

void CSettingDlg::OnLanguageCommand(int language) {
    if (!m_pView) return;
    if (m_pView->PageExists(settings_ui::PAGE_ADVANCED)) {
        m_pView->SelectListItem(settings_ui::PAGE_ADVANCED, settings_ui::IDC_LIST_LANGUAGE, language);
    }
    ApplyLanguage(*m_pView);
}

void CSettingDlg::Cancel() {
    if (m_pView) m_pView->PressCancel();
}

void CSettingDlg::ApplyLanguage(platform::SheetView& view) {
    settings_ui::ApplySheetLanguage(view);
    platform::CurrentDesktop().PostMessage(m_hOwner, skype::WM_SKYPE_ATTACH_CHANGED, 0, 0);
}

CSettingPage* CSettingDlg::Page(int page) {
    switch (page) {
        case settings_ui::PAGE_AUDIO: return &m_AudioPage;
        case settings_ui::PAGE_PHONE: return &m_PhonePage;
        case settings_ui::PAGE_RINGTONE: return &m_RingTonePage;
        case settings_ui::PAGE_ADVANCED: return &m_AdvancePage;
        case settings_ui::PAGE_ABOUT: return &m_AboutPage;
        default: return nullptr;
    }
}

void CSettingDlg::OnSheetInit(platform::SheetView& view) {
    m_pView = &view;
    ApplyLanguage(view);
}

void CSettingDlg::OnPageInit(platform::SheetView& view, int page) {
    if (CSettingPage* p = Page(page)) p->OnInitDialog(view);
}

void CSettingDlg::OnControlEvent(platform::SheetView& view, int page, int id, platform::ControlEvent event) {
    if (CSettingPage* p = Page(page)) p->OnControlEvent(view, id, event);
}

void CSettingDlg::OnPageApply(platform::SheetView& view, int page) {
    if (CSettingPage* p = Page(page)) p->OnApply(view);
}

void CSettingDlg::OnPageCancel(platform::SheetView& view, int page) {
    if (CSettingPage* p = Page(page)) p->OnCancel(view);
}

void CSettingDlg::OnSheetClosed(platform::SheetView&) {
    for (int page = 0; page < settings_ui::kSheetPageCount; ++page) Page(page)->OnDestroy();
    m_pView = nullptr;
}

}  // namespace app
