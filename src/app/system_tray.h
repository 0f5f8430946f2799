#pragma once
// The icon in the taskbar's notification area: adds it, changes its picture
// and tip, removes it, and shows the pop-up menu on a right click.

#include <atomic>
#include <mutex>
#include <string>

#include "platform/shell.h"

namespace app {

constexpr uint32_t kTrayIconId = 130;
constexpr uint32_t WM_TRAY_CALLBACK = platform::WM_APP + 10;  // 0x800A
constexpr int IDR_MAINFRAME_ICON = 128;                       // the application icon

// Menu command ids.
constexpr uint32_t ID_LANGUAGE_0 = 32780;
constexpr uint32_t ID_LANGUAGE_1 = 32787;
constexpr uint32_t ID_LANGUAGE_2 = 32781;
constexpr uint32_t ID_LANGUAGE_3 = 32788;
constexpr uint32_t ID_LANGUAGE_4 = 32789;
constexpr uint32_t ID_AUDIO_SETTING = 32782;
constexpr uint32_t ID_PHONE_SETTING = 32783;
constexpr uint32_t ID_RINGTONE_SETTING = 32784;
constexpr uint32_t ID_ADVANCED_SETTING = 32785;
constexpr uint32_t ID_ABOUT = 32786;
constexpr uint32_t ID_EXIT = 32775;

// The language commands in the order of VAL_LANGUAGE; -1 for another id.
int LanguageOfCommand(uint32_t command);

class CSystemTray {
public:
    CSystemTray() = default;
    ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    int Create(platform::WindowHandle owner, int iconResource);
    int SetIcon(int iconResource);
    int SetStandardIcon(int standardIcon);
    int SetTooltipText(const std::wstring& tip);
    int OnTrayNotification(platform::WPARAM id, platform::LPARAM mouseMessage);
    // Removes the icon if it is shown.
    void RemoveIcon();
    // The exit path also forgets a pending re-show.
    void ClearShowIconPending() { m_bShowIconPending = 0; }

private:
    platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);
    int Modify(uint32_t flag);
    void OnTaskbarCreated();

    std::mutex m_Mutex;  // the icon record: the key-event thread also changes it
    platform::NotifyIconData m_Data;
    std::atomic<int> m_bEnabled{0};
    std::atomic<int> m_bHidden{1};
    std::atomic<int> m_bRemoved{1};
    std::atomic<int> m_bShowIconPending{0};
    uint32_t m_uCreationFlags = 0;
    uint32_t m_uTaskbarCreatedMsg = 0;
    platform::WindowHandle m_hWnd;  // the tray object's own hidden window
};

}  // namespace app
