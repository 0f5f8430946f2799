#pragma once
// Audio page: the handset's stored volumes and the system default devices.

#include "app/setting_page.h"

namespace app {

class CAudioSettingPage final : public CSettingPage {
public:
    explicit CAudioSettingPage(CSettingDlg& sheet);
    void OnInitDialog(platform::SheetView& view) override;
    void OnControlEvent(platform::SheetView& view, int id, platform::ControlEvent event) override;
    // The default devices and the stored volumes; the mixer is not moved.
    void OnApply(platform::SheetView& view) override;
};

}  // namespace app
