#include "app/update_tray_icon.h"

#include <mutex>

#include "app/key_pipeline.h"
#include "modes/mode_machine.h"
#include "platform/log.h"
#include "skype/skype_monitor.h"

namespace app {

namespace {
std::mutex g_hookMutex;
std::function<void(const ConnectionState&)> g_stateSink;

void ShowState(const ConnectionState& state) {
    std::function<void(const ConnectionState&)> sink;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        sink = g_stateSink;
    }
    if (sink) sink(state);
}
}  // namespace

void SetConnectionStateSink(std::function<void(const ConnectionState&)> sink) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_stateSink = std::move(sink);
}

void UpdateTrayIcon(CCorvaneDlg&) {
    platform::LogW(L"UpdateTrayIcon");
    ConnectionState state;
    if (g_bDeviceStarted == 0) {
        platform::LogW(L"MODE_UNCONNECTED 111");
        modes::SwitchMode(modes::MODE_UNCONNECTED);
        state = {TrayIcon::Error, L"Tray_Tip_Info_2"};
    } else if (skype::g_SkypeMonitor.IsAttached()) {
        const int mode = modes::g_ModeState.m_CurrMode;
        if (mode == modes::kNoMode || mode == modes::MODE_UNCONNECTED) modes::SwitchMode(modes::MODE_MAIN);
        state = {TrayIcon::Application, L"Tray_Tip_Info_1"};
    } else {
        platform::LogW(L"MODE_UNCONNECTED 222");
        modes::SwitchMode(modes::MODE_UNCONNECTED);
        state = {TrayIcon::Information, L"Tray_Tip_Info_3"};
    }
    ShowState(state);
}

}  // namespace app
