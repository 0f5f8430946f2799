#pragma once
// The main window: never shown; owns and starts everything and receives the
// messages that drive the program from outside.

#include <atomic>
#include <cstdint>

#include "app/system_tray.h"
#include "platform/desktop.h"
#include "platform/sync.h"

namespace app {

class CSettingDlg;

constexpr wchar_t kMainWindowTitle[] = L"VARNO-CORVANE";
constexpr wchar_t kMainWindowClass[] = L"Corvane.Class";

class CCorvaneDlg {
public:
    CCorvaneDlg();
    // Stops the key threads and waits for them.
    ~CCorvaneDlg();
    CCorvaneDlg(const CCorvaneDlg&) = delete;
    CCorvaneDlg& operator=(const CCorvaneDlg&) = delete;

    std::atomic<int> m_bStop{0};
    std::atomic<int> m_nLastKey{0};
    std::atomic<uint32_t> m_dwKeyDownTick{0};
    std::atomic<int> m_bReadPaused{0};
    // Guards g_KeyQueue. The innermost lock: taken after the handset lock
    // (the read thread queues keys while holding it), never before it.
    platform::CriticalSection m_KeyLock;
    platform::WindowHandle m_hWnd;
    CSystemTray m_TrayIcon;

    // Creates the window on the calling thread, initialises, and handles
    // messages until the dialog ends. Returns the end result.
    int DoModal();
    void EndDialog(int result);

    bool OnInitDialog();
    platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);

    // Asks both key threads to end, wakes them and waits for them.
    void StopThreads();

    // Saves the settings, blanks the display, ends the dialog and the process.
    void ExitCommand();
    // Chooses user-interface language n (0 ... 4) and writes it at once.
    void OnLanguageCommand(int language);
    // A mixer control changed: the handset's mute switches go into the settings.
    void OnMixerControlChange();
    // Runs the settings sheet on page 0 ... 4 (Audio, Phone, Ring Tone,
    // Advanced, About); while it runs, a further request only shows that page.
    void OpenSettingSheet(int page);

    // The open settings sheet; one at a time.
    CSettingDlg* m_pSettingDlg = nullptr;

private:
    platform::Thread m_ReadThread;
    platform::Thread m_KeyEventThread;
};

constexpr uint32_t WM_QUIT_REQUEST = platform::WM_USER + 1;
constexpr uintptr_t ID_APP_EXIT_COMMAND = 32775;
constexpr wchar_t kSkypeUiKey[] = L"Software\\Skype\\Phone\\UI";

}  // namespace app
