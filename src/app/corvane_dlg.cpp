#include "app/corvane_dlg.h"

#include "app/device_change.h"
#include "common/device_names.h"
#include "audio/audio_state.h"
#include "audio/endpoint_volume.h"
#include "audio/mixer_fader.h"
#include "audio/mixer_setup.h"
#include "app/setting_dlg.h"
#include "app/key_pipeline.h"
#include "common/settings.h"
#include "app/update_tray_icon.h"
#include "audio/sound_device_names.h"
#include "handset/handset_commands.h"
#include "handset/handset_device.h"
#include "modes/mode_machine.h"
#include "modes/virtual_display.h"
#include "platform/log.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "skype/skype_monitor.h"

namespace app {

CCorvaneDlg::CCorvaneDlg() = default;

CCorvaneDlg::~CCorvaneDlg() { StopThreads(); }

int CCorvaneDlg::DoModal() {
    auto& desktop = platform::CurrentDesktop();
    m_hWnd = desktop.CreateWindow(kMainWindowClass, L"",
                                  [this](platform::WindowHandle, uint32_t m, platform::WPARAM w, platform::LPARAM l) {
                                      return WindowProc(m, w, l);
                                  });
    OnInitDialog();
    const int result = desktop.RunMessageLoop();
    desktop.DestroyWindow(m_hWnd);
    return result;
}

void CCorvaneDlg::EndDialog(int result) { platform::CurrentDesktop().PostQuitMessage(result); }

bool CCorvaneDlg::OnInitDialog() {
    auto& desktop = platform::CurrentDesktop();
    desktop.SetWindowText(m_hWnd, kMainWindowTitle);
    common::LoadSettings(common::g_Settings);
    platform::CurrentHidHost().RegisterDeviceNotification(m_hWnd);
    m_TrayIcon.Create(m_hWnd, IDR_MAINFRAME_ICON);
    skype::g_SkypeMonitor.StartSkypeLink(m_hWnd);
    handset::WriteDeviceFirst();
    handset::ReadDeviceFirst();
    {
        platform::Guard keyLock(m_KeyLock);
        g_KeyQueue.clear();
    }
    m_ReadThread.Start("HandsetReadThread", [this] { HandsetReadThread(this); });
    platform::LogW(L"MODE_UNCONNECTED 000");
    modes::SwitchMode(modes::MODE_UNCONNECTED);
    handset::NewWriteCmd(handset::CMD_INIT);
    const std::wstring outName = audio::FindUsbOutDeviceName();
    audio::SetHandsetLock(&handset::g_WriteDevice.m_Lock);
    audio::InitializeMixers(outName, m_hWnd);
    common::g_OutDeviceName.Set(outName);
    common::g_InDeviceName.Set(audio::FindUsbInDeviceName());
    platform::LogW(L"InDevice=%ls, OutDevice=%ls", common::g_InDeviceName.Get().c_str(), common::g_OutDeviceName.Get().c_str());
    m_KeyEventThread.Start("KeyEventThread", [this] { KeyEventThread(this); });
    if (skype::g_SkypeMonitor.m_hWnd) {
        desktop.BroadcastMessage(skype::g_SkypeMonitor.m_uDiscoverMsg, skype::g_SkypeMonitor.m_hWnd.value, 0);
    }
    // Keeps Skype from giving up on an API client that is slow to answer.
    auto& registry = platform::CurrentRegistry();
    if (registry.OpenKey(kSkypeUiKey)) registry.SetValue(kSkypeUiKey, L"APITimeoutDisabled", uint32_t{1});
    UpdateTrayIcon(*this);
    return true;
}

platform::LRESULT CCorvaneDlg::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
    auto& link = skype::g_SkypeMonitor;
    if (message != 0 && message == link.m_uAttachMsg) {
        // Skype's broadcasts reach only top-level windows; the link's window
        // is a child, so they are handed on.
        platform::CurrentDesktop().SendMessage(link.m_hWnd, message, wParam, lParam);
        return 0;
    }
    switch (message) {
        case platform::WM_DEVICECHANGE:
            return OnDeviceChange(*this, wParam, reinterpret_cast<const platform::DevBroadcastDeviceInterface*>(lParam))
                       ? 1
                       : 0;
        case skype::WM_SKYPE_ATTACH_CHANGED:
            UpdateTrayIcon(*this);
            return 0;
        case platform::WM_TIMER:
            OnKeyTimer(*this, wParam);
            return 0;
        case WM_QUIT_REQUEST:
            platform::LogW(L"Received quit message");
            ExitCommand();
            return 0;
        case platform::WM_COMMAND:
            if (wParam == ID_APP_EXIT_COMMAND) ExitCommand();
            if (wParam >= ID_AUDIO_SETTING && wParam <= ID_ABOUT) {
                OpenSettingSheet(static_cast<int>(wParam - ID_AUDIO_SETTING));
            }
            if (LanguageOfCommand(static_cast<uint32_t>(wParam)) >= 0) {
                OnLanguageCommand(LanguageOfCommand(static_cast<uint32_t>(wParam)));
            }
            return 0;
        case WM_TRAY_CALLBACK:
            if (lParam == platform::WM_LBUTTONDBLCLK) {
                OpenSettingSheet(0);
            } else {
                m_TrayIcon.OnTrayNotification(wParam, lParam);
            }
            return 0;
        case platform::MM_MIXM_CONTROL_CHANGE:
            OnMixerControlChange();
            return 0;
        case platform::WM_CLOSE:
            EndDialog(platform::IDCANCEL);
            return 0;
        default:
            return 0;
    }
}

void CCorvaneDlg::OnLanguageCommand(int language) {
    common::g_Settings.VAL_LANGUAGE = language;
    common::g_SettingsIni.WriteInt(L"SETTING", L"VAL_LANGUAGE", language);
    if (m_pSettingDlg) m_pSettingDlg->OnLanguageCommand(language);
}

void CCorvaneDlg::OpenSettingSheet(int page) {
    platform::LogW(L"OpenSettingSheet: page %d", page);
    if (m_pSettingDlg) {
        m_pSettingDlg->SetActivePage(page);
        return;
    }
    CSettingDlg sheet(m_hWnd, page);
    m_pSettingDlg = &sheet;
    sheet.DoModal();
    m_pSettingDlg = nullptr;
}

void CCorvaneDlg::OnMixerControlChange() {
    if (g_bDeviceStarted != 1) return;
    common::g_Settings.VAL_AUDIO_OUT_MUTE = audio::GetMuteValue(audio::g_OutMute) == 1 ? 1 : 0;
    common::g_Settings.VAL_AUDIO_IN_MUTE = audio::GetMuteValue(audio::g_InMute) == 1 ? 1 : 0;
}

void CCorvaneDlg::ExitCommand() {
    common::SaveSettings(common::g_Settings);
    modes::BlankDisplay();
    if (m_pSettingDlg) m_pSettingDlg->Cancel();
    m_TrayIcon.RemoveIcon();
    m_TrayIcon.ClearShowIconPending();
    EndDialog(platform::IDOK);
    platform::TerminateProcess(0);
}

void CCorvaneDlg::StopThreads() {
    skype::g_SkypeMonitor.StopSkypeLink();
    m_bStop = 1;
    g_KeyQueueSignal.Set();
    // A read blocked on the handset ends when its handle is closed.
    handset::Disconnect(handset::g_ReadDevice);
    m_ReadThread.Join();
    m_KeyEventThread.Join();
    // The devices of the key tones and the mixers go with the threads that used them.
    audio::ResetAudioState();
}

}  // namespace app
