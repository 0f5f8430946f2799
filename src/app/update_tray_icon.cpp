#include "app/update_tray_icon.h"

#include "app/corvane_dlg.h"
#include "app/key_pipeline.h"
#include "app/system_tray.h"
#include "modes/mode_machine.h"
#include "platform/log.h"
#include "settings_ui/language_files.h"
#include "skype/skype_monitor.h"

namespace app {

void UpdateTrayIcon(CCorvaneDlg& dlg) {
    platform::LogW(L"UpdateTrayIcon");
    const wchar_t* tipKey;
    if (g_bDeviceStarted == 0) {
        platform::LogW(L"MODE_UNCONNECTED 111");
        modes::SwitchMode(modes::MODE_UNCONNECTED);
        dlg.m_TrayIcon.SetStandardIcon(platform::IDI_HAND);
        tipKey = L"Tray_Tip_Info_2";
    } else if (skype::g_SkypeMonitor.IsAttached()) {
        const int mode = modes::g_ModeState.m_CurrMode;
        if (mode == modes::kNoMode || mode == modes::MODE_UNCONNECTED) modes::SwitchMode(modes::MODE_MAIN);
        dlg.m_TrayIcon.SetIcon(IDR_MAINFRAME_ICON);
        tipKey = L"Tray_Tip_Info_1";
    } else {
        platform::LogW(L"MODE_UNCONNECTED 222");
        modes::SwitchMode(modes::MODE_UNCONNECTED);
        dlg.m_TrayIcon.SetStandardIcon(platform::IDI_ASTERISK);
        tipKey = L"Tray_Tip_Info_3";
    }
    dlg.m_TrayIcon.SetTooltipText(settings_ui::GetLanguageText(tipKey));
}

}  // namespace app
