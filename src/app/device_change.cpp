#include "app/device_change.h"

#include <cwchar>
#include <cwctype>
#include <string>

#include "app/corvane_dlg.h"
#include "common/device_names.h"
#include "app/key_pipeline.h"
#include "app/update_tray_icon.h"
#include "audio/mixer_setup.h"
#include "audio/sound_device_names.h"
#include "handset/handset_commands.h"
#include "handset/handset_device.h"
#include "platform/log.h"
#include "skype/skype_audio_config.h"

namespace app {

namespace {
constexpr size_t kPathChars = 1000;

void OnArrival(CCorvaneDlg& dlg) {
    using namespace handset;
    platform::LogW(L"DBT_DEVICEARRIVAL: Start Connect");
    dlg.m_bReadPaused = 1;
    NewWriteCmd(CMD_INIT);
    Disconnect(g_ReadDevice);
    dlg.m_bReadPaused = 0;
    platform::LogW(L"Step 1");
    Disconnect(g_WriteDevice);
    platform::LogW(L"Step 2");
    WriteDeviceFirst();
    platform::LogW(L"Step 3");
    ReadDeviceFirst();
    NewWriteCmd(CMD_INIT);
    const std::wstring outName = audio::FindUsbOutDeviceName();
    audio::InitializeMixers(outName, dlg.m_hWnd);
    skype::ConfigureSkypeAudio();
    common::g_OutDeviceName.Set(outName);
    common::g_InDeviceName.Set(audio::FindUsbInDeviceName());
    platform::LogW(L"InDevice=%ls, OutDevice=%ls", common::g_InDeviceName.Get().c_str(), common::g_OutDeviceName.Get().c_str());
}

void OnRemoval(CCorvaneDlg& dlg) {
    platform::LogW(L"DBT_DEVICEREMOVECOMPLETE: Start Disconnect");
    handset::Disconnect(handset::g_WriteDevice);
    handset::Disconnect(handset::g_ReadDevice);
    g_bDeviceStarted = 0;
    UpdateTrayIcon(dlg);
}
}  // namespace

int IsHandsetInterface(const platform::DevBroadcastDeviceInterface& record) {
    // The path is cut to the buffer the platform's record gives us.
    std::wstring path = record.dbcc_name.substr(0, kPathChars - 1);
    for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    wchar_t vid[16], pid[16];
    std::swprintf(vid, 16, L"vid_%04x", static_cast<unsigned>(handset::kHandsetVendorId));
    std::swprintf(pid, 16, L"pid_%04x", static_cast<unsigned>(handset::kHandsetProductId));
    return path.find(vid) != std::wstring::npos && path.find(pid) != std::wstring::npos ? 1 : 0;
}

bool OnDeviceChange(CCorvaneDlg& dlg, uintptr_t eventType, const platform::DevBroadcastDeviceInterface* record) {
    if (record == nullptr || record->dbcc_devicetype != platform::DBT_DEVTYP_DEVICEINTERFACE) return true;
    if (eventType != platform::DBT_DEVICEARRIVAL && eventType != platform::DBT_DEVICEREMOVECOMPLETE) return true;
    if (!IsHandsetInterface(*record)) return true;
    if (eventType == platform::DBT_DEVICEARRIVAL) {
        OnArrival(dlg);
    } else {
        OnRemoval(dlg);
    }
    return true;
}

}  // namespace app
