#include "app/corvane_app.h"

#include "app/corvane_dlg.h"
#include "audio/audio_state.h"
#include "common/device_names.h"
#include "app/key_pipeline.h"
#include "common/settings.h"
#include "handset/handset_device.h"
#include "modes/mode_machine.h"
#include "modes/mode_timer.h"
#include "modes/virtual_display.h"
#include "skype/skype_monitor.h"
#include "skype/skype_parser.h"

namespace app {

CCorvaneApp theApp;

bool CCorvaneApp::InitInstance() {
    common::g_SettingsIni.SetPath(common::GetAppFolder() + L"Corvane.ini");
    // One instance per desktop: a later start leaves the running one alone.
    const std::wstring title = kMainWindowTitle;
    if (platform::CurrentDesktop().FindWindow(nullptr, &title)) return false;
    // The mode timer belongs to this thread's message loop, as a thread timer
    // set up before anything else runs.
    modes::StartModeTimer();
    {
        CCorvaneDlg dlg;
        dlg.DoModal();
    }
    modes::StopModeTimer();
    return false;
}

void ResetProcessState() {
    common::ResetSettingsStore();
    handset::ResetHandsetDevices();
    modes::ResetModeState();
    ResetKeyPipeline();
    modes::g_VirtualDisplay.Reset();
    skype::g_SkypeMonitor.Reset();
    skype::ResetSkypeParser();
    common::g_OutDeviceName.Set(L"");
    common::g_InDeviceName.Set(L"");
    audio::ResetAudioState();
}

}  // namespace app
