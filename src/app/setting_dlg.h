#pragma once
// The settings sheet: five pages (Audio, Phone, Ring Tone, Advanced, About)
// run modally on the user-interface thread.

#include <array>

#include "app/about_page.h"
#include "app/advance_setting_page.h"
#include "app/audio_setting_page.h"
#include "app/phone_setting_page.h"
#include "app/ring_tone_page.h"
#include "platform/property_sheet.h"

namespace app {

class CSettingDlg final : public platform::SheetEvents {
public:
    // owner: the main window, told when the sheet's language changes.
    CSettingDlg(platform::WindowHandle owner, int startPage);

    // Runs the sheet until OK or Cancel; IDOK or IDCANCEL.
    int DoModal();
    // While the sheet runs: shows another page.
    void SetActivePage(int page);
    // While the sheet runs: the tray chose language n; the Advanced page's
    // list follows (when that page exists) and the texts change.
    void OnLanguageCommand(int language);
    // While the sheet runs: ends it as its Cancel button does.
    void Cancel();

    // ApplySheetLanguage, then the main window re-reads its tray tip.
    void ApplyLanguage(platform::SheetView& view);

    void OnSheetInit(platform::SheetView& view) override;
    void OnPageInit(platform::SheetView& view, int page) override;
    void OnControlEvent(platform::SheetView& view, int page, int id, platform::ControlEvent event) override;
    void OnPageApply(platform::SheetView& view, int page) override;
    void OnPageCancel(platform::SheetView& view, int page) override;
    void OnSheetClosed(platform::SheetView& view) override;

private:
    CSettingPage* Page(int page);

    platform::WindowHandle m_hOwner;
    int m_nStartPage;
    platform::SheetView* m_pView = nullptr;
    CAudioSettingPage m_AudioPage{*this};
    CPhoneSettingPage m_PhonePage{*this};
    CRingTonePage m_RingTonePage{*this};
    CAdvanceSettingPage m_AdvancePage{*this};
    CAboutPage m_AboutPage{*this};
};

}  // namespace app
