#include "skype/skype_monitor.h"

#include <cstring>

#include "platform/log.h"
#include "skype/skype_audio_config.h"
#include "skype/skype_parser.h"
#include "skype/attach_refused_message.h"
#include "skype/phone_control.h"

namespace skype {

CSkypeMonitor g_SkypeMonitor;
std::atomic<uint8_t> g_bAttachRefusedShown{0};

namespace {
constexpr uint32_t kBatchPauseMs = 1;
const wchar_t kMonitorTitle[] = L"Skype_Monitor";
const wchar_t kMonitorClass[] = L"Corvane.SkypeMonitor";
}  // namespace

int SendMessageToSkype(const std::string& text) { return g_SkypeMonitor.SendMessageToSkype(text); }

CSkypeMonitor::CSkypeMonitor() { ResetSkypeState(); }

CSkypeMonitor::~CSkypeMonitor() { StopSkypeLink(); }

std::string CSkypeMonitor::Read(const std::string& field) const {
    std::lock_guard<std::mutex> lock(m_StateMutex);
    return field;
}

void CSkypeMonitor::Write(std::string& field, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_StateMutex);
    field = text;
}

std::string CSkypeMonitor::UserHandle() const { return Read(m_strUserHandle); }
std::string CSkypeMonitor::UserName() const { return Read(m_strUserName); }
std::string CSkypeMonitor::FocusedContact() const { return Read(m_strFocusedContact); }
std::string CSkypeMonitor::PstnBalance() const { return Read(m_strPstnBalance); }
std::string CSkypeMonitor::PstnCurrency() const { return Read(m_strPstnCurrency); }
void CSkypeMonitor::SetUserHandle(const std::string& text) { Write(m_strUserHandle, text); }
void CSkypeMonitor::SetUserName(const std::string& text) { Write(m_strUserName, text); }
void CSkypeMonitor::SetFocusedContact(const std::string& text) { Write(m_strFocusedContact, text); }
void CSkypeMonitor::SetPstnBalance(const std::string& text) { Write(m_strPstnBalance, text); }
void CSkypeMonitor::SetPstnCurrency(const std::string& text) { Write(m_strPstnCurrency, text); }

bool CSkypeMonitor::StartSkypeLink(platform::WindowHandle parent) {
    auto& desktop = platform::CurrentDesktop();
    m_hWnd = desktop.CreateChildWindow(parent, kMonitorClass, kMonitorTitle,
                                       [this](platform::WindowHandle, uint32_t m, platform::WPARAM w,
                                              platform::LPARAM l) { return WindowProc(m, w, l); });
    if (!m_hWnd) return false;
    m_uAttachMsg = desktop.RegisterWindowMessage(L"SkypeControlAPIAttach");
    m_uDiscoverMsg = desktop.RegisterWindowMessage(L"SkypeControlAPIDiscover");
    m_bStop = 0;
    m_bShutdown = false;
    m_ReceiveThread.Start("SkypeReceiveThread", [this] { ReceiveLoop(); });
    desktop.SetTimer(m_hWnd, TIMER_SKYPE_PING, kPingPeriodMs);
    return true;
}

void CSkypeMonitor::StopSkypeLink() {
    m_bShutdown = true;
    m_bStop = 1;
    m_RecvSignal.Set();
    m_ReceiveThread.Join();
    std::list<platform::Thread> batches;
    {
        std::lock_guard<std::mutex> lock(m_BatchMutex);
        batches.swap(m_BatchThreads);
    }
    for (auto& t : batches) t.Join();
    if (m_hWnd) {
        platform::CurrentDesktop().KillTimer(m_hWnd, TIMER_SKYPE_PING);
        platform::CurrentDesktop().DestroyWindow(m_hWnd);
        m_hWnd = platform::WindowHandle{};
    }
}

void CSkypeMonitor::Reset() {
    StopSkypeLink();
    ResetSkypeState();
    SetUserHandle("");
    SetUserName("");
    SetPstnBalance("");
    SetPstnCurrency("");
    m_nSavedVolume = 0;
    m_uAttachMsg = 0;
    m_uDiscoverMsg = 0;
    m_bPingSeen = false;
    m_hPingSkypeWnd = 0;
    m_bInlineBatches = false;
    // Every thread has been joined, so nothing is left for the flag to end;
    // left set, it would cut every later batch after its first command.
    m_bShutdown = false;
    g_bAttachRefusedShown = 0;
}

int CSkypeMonitor::SendMessageToSkype(const std::string& text) {
    if (text != "PING") platform::LogA("SendMessageToSkype:  %s\n", text.c_str());
    const platform::WindowHandle skype{m_hSkypeWnd.load()};
    if (!skype) return 0;
    if (text.empty()) return 1;
    platform::CopyDataStruct record;
    record.dwData = 0;
    record.cbData = static_cast<uint32_t>(text.size() + 1);
    record.lpData = text.c_str();
    const platform::LRESULT delivered = platform::CurrentDesktop().SendMessage(
        skype, platform::WM_COPYDATA, m_hWnd.value, reinterpret_cast<platform::LPARAM>(&record));
    if (delivered != 0) return 1;
    // Skype is gone: forget it and everything learned from it.
    m_hSkypeWnd = 0;
    ResetSkypeState();
    return 0;
}

void CSkypeMonitor::SendCommandBatch(std::vector<std::string>& texts) {
    std::vector<std::string> batch;
    batch.swap(texts);
    if (m_bInlineBatches) {
        RunBatch(batch);
        return;
    }
    ReapFinishedBatches();
    std::lock_guard<std::mutex> lock(m_BatchMutex);
    m_BatchThreads.emplace_back();
    m_BatchThreads.back().Start("SkypeBatchThread", [this, batch = std::move(batch)] { RunBatch(batch); });
}

void CSkypeMonitor::RunBatch(const std::vector<std::string>& batch) {
    for (const std::string& text : batch) {
        SendMessageToSkype(text);
        platform::Sleep(kBatchPauseMs);
        if (m_bStop || m_bShutdown) break;
    }
}

void CSkypeMonitor::ReapFinishedBatches() {
    std::list<platform::Thread> finished;
    {
        std::lock_guard<std::mutex> lock(m_BatchMutex);
        for (auto it = m_BatchThreads.begin(); it != m_BatchThreads.end();) {
            auto next = std::next(it);
            if (it->Finished()) finished.splice(finished.end(), m_BatchThreads, it);
            it = next;
        }
    }
    for (auto& t : finished) t.Join();
}

void CSkypeMonitor::ResetSkypeState() {
    m_hSkypeWnd = 0;
    SetFocusedContact("");
    m_bMute = 0;
    m_Contacts.Clear();
    m_CallList.Clear();
    m_CurrCallList.Clear();
    {
        platform::Guard lock(m_RecvLock);
        m_RecvQueue.clear();
    }
    m_bStop = 0;
}

platform::LRESULT CSkypeMonitor::WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
    if (message != 0 && message == m_uAttachMsg) return OnAttachStatus(wParam, lParam);
    switch (message) {
        case platform::WM_COPYDATA:
            return OnCopyData(wParam, lParam);
        case platform::WM_TIMER:
            if (!m_bPingSeen) {
                m_bPingSeen = true;
                m_hPingSkypeWnd = m_hSkypeWnd;
            }
            if (wParam == TIMER_SKYPE_PING) OnPingTimer();
            return 0;
        default:
            return 0;
    }
}

platform::LRESULT CSkypeMonitor::OnAttachStatus(platform::WPARAM wParam, platform::LPARAM lParam) {
    switch (lParam) {
        case kAttachSuccess:
            platform::LogW(L"SKYPECONTROLAPI_ATTACH_SUCCESS..................\n");
            OnAttachSuccess(wParam);
            break;
        case kAttachPendingAuthorization:
            platform::LogW(L"SKYPECONTROLAPI_ATTACH_PENDING_AUTHORIZATION..................\n");
            break;
        case kAttachRefused:
            platform::LogW(L"SKYPECONTROLAPI_ATTACH_REFUSED..................\n");
            if (g_bAttachRefusedShown.exchange(1) == 0) ShowAttachRefusedMessage();
            break;
        case kAttachNotAvailable:
            platform::LogW(L"SKYPECONTROLAPI_ATTACH_NOT_AVAILABLE..................\n");
            break;
        case kAttachApiAvailable:
            platform::LogW(L"SKYPECONTROLAPI_ATTACH_API_AVAILABLE..................\n");
            platform::CurrentDesktop().BroadcastMessage(m_uDiscoverMsg, m_hWnd.value, 0);
            break;
        default:
            break;
    }
    return 1;
}

void CSkypeMonitor::OnAttachSuccess(platform::WPARAM skypeWindow) {
    if (m_hSkypeWnd != 0) return;
    m_hSkypeWnd = static_cast<uint32_t>(skypeWindow);
    NotifyAttachChanged();
    ConfigureSkypeAudio();
    for (const char* query : {"GET UI_LANGUAGE", "GET PROFILE PSTN_BALANCE", "GET CURRENTUSERHANDLE", "GET SKYPEVERSION"}) {
        SendMessageToSkype(query);
    }
    phone::ShowSkypeContacts();
}

platform::LRESULT CSkypeMonitor::OnCopyData(platform::WPARAM sender, platform::LPARAM lParam) {
    const auto* record = reinterpret_cast<const platform::CopyDataStruct*>(lParam);
    if (sender == 0 || static_cast<uint32_t>(sender) != m_hSkypeWnd || record == nullptr) return 1;
    // The text is taken up to its terminating zero but never past cbData, so
    // a record without a terminator cannot make us read beyond it.
    const char* data = static_cast<const char*>(record->lpData);
    const size_t limit = data ? record->cbData : 0;
    const size_t length = data ? strnlen(data, limit) : 0;
    if (data && length == limit && limit > 0) {
        platform::LogA("Skype notification of %u bytes without a terminating zero\n", static_cast<unsigned>(limit));
    }
    std::string text(data ? data : "", length);
    {
        platform::Guard lock(m_RecvLock);
        m_RecvQueue.push_back(std::move(text));
    }
    m_RecvSignal.Set();
    return 1;
}

void CSkypeMonitor::OnPingTimer() {
    SendMessageToSkype("PING");
    if (m_hSkypeWnd != m_hPingSkypeWnd) {
        NotifyAttachChanged();
        m_hPingSkypeWnd = m_hSkypeWnd;
    }
}

void CSkypeMonitor::NotifyAttachChanged() {
    auto& desktop = platform::CurrentDesktop();
    desktop.SendMessage(desktop.GetParent(m_hWnd), WM_SKYPE_ATTACH_CHANGED, 0, 0);
}

void CSkypeMonitor::ReceiveLoop() {
    while (m_bStop == 0 && !m_bShutdown) {
        std::string text;
        bool have = false;
        {
            platform::Guard lock(m_RecvLock);
            if (!m_RecvQueue.empty()) {
                text = std::move(m_RecvQueue.front());
                m_RecvQueue.pop_front();
                have = true;
                platform::LogA("Received skype message: %s", text.c_str());
            }
        }
        if (!have) {
            // Sleeps until a text arrives instead of polling every 10 ms.
            m_RecvSignal.Wait(platform::kInfinite);
            continue;
        }
        ProcessSkypeMessage(text);
    }
}

}  // namespace skype
