#pragma once
// Phone page: the display's contrast level and the key tones.

#include "app/setting_page.h"

namespace app {

class CPhoneSettingPage final : public CSettingPage {
public:
    explicit CPhoneSettingPage(CSettingDlg& sheet);
    void OnInitDialog(platform::SheetView& view) override;
    void OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) override;
    // Sets the level and the key tones in memory; the next save writes them.
    void OnApply(platform::SheetView& view) override;
};

}  // namespace app
