#include "app/system_tray.h"

#include "common/settings.h"
#include "settings_ui/language_files.h"

namespace app {

namespace {
constexpr uint32_t kFirstShellWithTray = 4;
constexpr uint32_t WM_SETTINGCHANGE = 0x001A;
constexpr platform::WPARAM SPI_SETWORKAREA = 47;
const uint32_t kLanguageCommands[] = {ID_LANGUAGE_0, ID_LANGUAGE_1, ID_LANGUAGE_2, ID_LANGUAGE_3, ID_LANGUAGE_4};

std::wstring CutTip(const std::wstring& tip) { return tip.substr(0, platform::kTrayTipChars - 1); }

platform::MenuItem Item(uint32_t id, const std::wstring& text) {
    platform::MenuItem item;
    item.id = id;
    item.text = text;
    return item;
}

platform::MenuItem Separator() {
    platform::MenuItem item;
    item.separator = true;
    return item;
}

// Menu resource 130 with the texts of the current language.
std::vector<platform::MenuItem> BuildTrayMenu() {
    using settings_ui::GetLanguageText;
    platform::MenuItem languages = Item(0, GetLanguageText(L"Menu_Language"));
    for (int n = 0; n < 5; ++n) {
        std::wstring name;
        common::g_SettingsIni.ReadString(L"SETTING", L"Language_" + std::to_wstring(n), name);
        platform::MenuItem item = Item(kLanguageCommands[n], name);
        item.checked = common::g_Settings.VAL_LANGUAGE == n;
        languages.items.push_back(item);
    }
    return {languages,
            Separator(),
            Item(ID_AUDIO_SETTING, GetLanguageText(L"Menu_Audio_Setting")),
            Item(ID_PHONE_SETTING, GetLanguageText(L"Menu_Phone_Setting")),
            Item(ID_RINGTONE_SETTING, GetLanguageText(L"Menu_RingTone_Setting")),
            Item(ID_ADVANCED_SETTING, GetLanguageText(L"Menu_Advanced_Setting")),
            Item(ID_ABOUT, GetLanguageText(L"Menu_About")),
            Separator(),
            Item(ID_EXIT, GetLanguageText(L"Menu_Exit"))};
}
}  // namespace

int LanguageOfCommand(uint32_t command) {
    for (int n = 0; n < 5; ++n) {
        if (kLanguageCommands[n] == command) return n;
    }
    return -1;
}

CSystemTray::~CSystemTray() {
    RemoveIcon();
    if (m_hWnd) platform::CurrentDesktop().DestroyWindow(m_hWnd);
}

int CSystemTray::Create(platform::WindowHandle owner, int iconResource) {
    auto& shell = platform::CurrentShell();
    if (shell.MajorVersion() < kFirstShellWithTray) {
        m_bEnabled = 0;
        return 0;
    }
    m_bEnabled = 1;
    auto& desktop = platform::CurrentDesktop();
    m_uTaskbarCreatedMsg = desktop.RegisterWindowMessage(L"TaskbarCreated");
    m_hWnd = desktop.CreateWindow(L"Corvane.TrayWnd", L"",
                                  [this](platform::WindowHandle, uint32_t m, platform::WPARAM w, platform::LPARAM l) {
                                      return WindowProc(m, w, l);
                                  });
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Data.window = owner ? owner : m_hWnd;
    m_Data.id = kTrayIconId;
    m_Data.flags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    m_Data.callbackMessage = WM_TRAY_CALLBACK;
    m_Data.icon = platform::IconRef{platform::IconRef::Kind::Resource, iconResource};
    m_Data.tip = L"USB Phone";
    m_bHidden = 0;
    m_uCreationFlags = m_Data.flags;
    const bool added = shell.NotifyIcon(platform::NotifyIconMessage::Add, m_Data);
    m_bHidden = added ? 0 : 1;
    m_bRemoved = added ? 0 : 1;
    m_bShowIconPending = added ? 0 : 1;
    return added ? 1 : 0;
}

int CSystemTray::Modify(uint32_t flag) {
    // With m_Mutex held.
    m_Data.flags = flag;
    if (m_bHidden) return 1;
    return platform::CurrentShell().NotifyIcon(platform::NotifyIconMessage::Modify, m_Data) ? 1 : 0;
}

int CSystemTray::SetIcon(int iconResource) {
    if (!m_bEnabled) return 0;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Data.icon = platform::IconRef{platform::IconRef::Kind::Resource, iconResource};
    return Modify(platform::NIF_ICON);
}

int CSystemTray::SetStandardIcon(int standardIcon) {
    if (!m_bEnabled) return 0;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Data.icon = platform::IconRef{platform::IconRef::Kind::Standard, standardIcon};
    return Modify(platform::NIF_ICON);
}

int CSystemTray::SetTooltipText(const std::wstring& tip) {
    if (!m_bEnabled) return 0;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Data.tip = CutTip(tip);
    return Modify(platform::NIF_TIP);
}

void CSystemTray::RemoveIcon() {
    if (!m_bEnabled || m_bRemoved) return;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Data.flags = 0;
    if (platform::CurrentShell().NotifyIcon(platform::NotifyIconMessage::Delete, m_Data)) {
        m_bHidden = 1;
        m_bRemoved = 1;
    }
}

int CSystemTray::OnTrayNotification(platform::WPARAM id, platform::LPARAM mouseMessage) {
    if (id != kTrayIconId) return 0;
    platform::WindowHandle owner;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        owner = m_Data.window;
    }
    if (!owner) return 0;
    if (mouseMessage != platform::WM_RBUTTONUP) return 0;
    platform::CurrentShell().TrackPopupMenu(BuildTrayMenu(), owner);
    platform::CurrentDesktop().PostMessage(owner, platform::WM_NULL, 0, 0);
    return 1;
}

void CSystemTray::OnTaskbarCreated() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_bHidden) {
        m_bShowIconPending = 1;
        return;
    }
    // A restarted shell has forgotten the icon: add it again, as users expect.
    m_Data.flags = m_uCreationFlags;
    const bool added = platform::CurrentShell().NotifyIcon(platform::NotifyIconMessage::Add, m_Data);
    m_bRemoved = added ? 0 : 1;
}

platform::LRESULT CSystemTray::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM) {
    if (message != 0 && message == m_uTaskbarCreatedMsg) {
        OnTaskbarCreated();
    } else if (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA && !m_bHidden) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Data.flags = m_uCreationFlags;
    }
    return 0;
}

}  // namespace app
