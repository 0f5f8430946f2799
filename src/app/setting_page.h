#pragma once
// One page of the settings sheet: its open, notification, apply and cancel
// steps, on the user-interface thread while the sheet runs.

#include "platform/property_sheet.h"

namespace app {

class CSettingDlg;

class CSettingPage {
public:
    CSettingPage(CSettingDlg& sheet, int index) : m_Sheet(sheet), m_nIndex(index) {}
    virtual ~CSettingPage() = default;
    CSettingPage(const CSettingPage&) = delete;
    CSettingPage& operator=(const CSettingPage&) = delete;

    virtual void OnInitDialog(platform::SheetView& view) = 0;
    virtual void OnControlEvent(platform::SheetView&, int, platform::ControlEvent) {}
    virtual void OnApply(platform::SheetView&) {}
    virtual void OnCancel(platform::SheetView&) {}
    // The sheet is closing.
    virtual void OnDestroy() {}

protected:
    void SetModified(platform::SheetView& view) { view.SetModified(m_nIndex, true); }
    // Puts the current language on the whole sheet (and tells the main window).
    void ApplySheetLanguage(platform::SheetView& view);

    CSettingDlg& m_Sheet;
    const int m_nIndex;
};

}  // namespace app
