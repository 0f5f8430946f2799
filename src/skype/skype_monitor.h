#pragma once
// The program's end of the Skype Desktop API: a hidden window that attaches
// to Skype, the one way to send a command, the queue and thread that carry
// notifications to the parser, and the three-second keep-alive.

#include <atomic>
#include <deque>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "skype/call_list.h"
#include "skype/contact_list.h"
#include "platform/sync.h"

namespace skype {

constexpr uint32_t WM_SKYPE_ATTACH_CHANGED = platform::WM_USER + 888;
constexpr uintptr_t TIMER_SKYPE_PING = 1001;
constexpr uint32_t kPingPeriodMs = 3000;

// Attach statuses (lParam of the attach message).
constexpr platform::LPARAM kAttachSuccess = 0;
constexpr platform::LPARAM kAttachPendingAuthorization = 1;
constexpr platform::LPARAM kAttachRefused = 2;
constexpr platform::LPARAM kAttachNotAvailable = 3;
constexpr platform::LPARAM kAttachApiAvailable = 0x8001;

class CSkypeMonitor {
public:
    CSkypeMonitor();
    ~CSkypeMonitor();

    std::atomic<uint32_t> m_uAttachMsg{0};
    std::atomic<uint32_t> m_uDiscoverMsg{0};
    std::atomic<uint32_t> m_hSkypeWnd{0};  // Skype's API window; 0 while not attached
    platform::WindowHandle m_hWnd;          // the hidden "Skype_Monitor" window
    std::atomic<int> m_bStop{0};
    std::atomic<int> m_nSavedVolume{0};
    std::atomic<int> m_bMute{0};
    CContactList m_Contacts;       // Skype's contacts in display order
    CCallList m_CallList;          // every call and voicemail named since attaching
    CCurrCallList m_CurrCallList;  // the current calls

    // Strings the parser writes and the modes read, each copied under a lock.
    std::string UserHandle() const;
    std::string UserName() const;
    std::string FocusedContact() const;
    std::string PstnBalance() const;
    std::string PstnCurrency() const;
    void SetUserHandle(const std::string& text);
    void SetUserName(const std::string& text);
    void SetFocusedContact(const std::string& text);
    void SetPstnBalance(const std::string& text);
    void SetPstnCurrency(const std::string& text);

    bool IsAttached() const { return m_hSkypeWnd != 0; }

    // Creates the hidden child window, registers the two messages, starts the
    // receive thread and the keep-alive timer. Runs on the user-interface thread.
    bool StartSkypeLink(platform::WindowHandle parent);
    // Stops the receive and batch threads and waits for them (for tests and
    // the orderly end of the main window).
    void StopSkypeLink();

    int SendMessageToSkype(const std::string& text);
    // Hands a copy of the texts to a new batch thread and empties the list.
    void SendCommandBatch(std::vector<std::string>& texts);
    // With true, each batch is sent on the calling thread before
    // SendCommandBatch returns, with the same pauses, instead of on a thread
    // of its own: a single-threaded harness then sees every command at once
    // and in order. Reset() turns it off again.
    void SetInlineBatches(bool inlineBatches) { m_bInlineBatches = inlineBatches; }
    void ResetSkypeState();

    platform::LRESULT WindowProc(uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam);

    // Everything back to the constructed state (for tests).
    void Reset();

private:
    platform::LRESULT OnAttachStatus(platform::WPARAM wParam, platform::LPARAM lParam);
    void OnAttachSuccess(platform::WPARAM skypeWindow);
    platform::LRESULT OnCopyData(platform::WPARAM sender, platform::LPARAM record);
    void OnPingTimer();
    void NotifyAttachChanged();
    void ReceiveLoop();
    void ReapFinishedBatches();
    void RunBatch(const std::vector<std::string>& batch);

    std::string Read(const std::string& field) const;
    void Write(std::string& field, const std::string& text);

    mutable std::mutex m_StateMutex;  // the strings below
    std::string m_strFocusedContact;
    std::string m_strPstnBalance;
    std::string m_strPstnCurrency;
    std::string m_strUserHandle;
    std::string m_strUserName;

    platform::CriticalSection m_RecvLock;  // guards m_RecvQueue
    std::deque<std::string> m_RecvQueue;
    platform::Event m_RecvSignal;  // set when a text is queued or the link stops

    platform::Thread m_ReceiveThread;
    std::mutex m_BatchMutex;
    std::list<platform::Thread> m_BatchThreads;
    std::atomic<bool> m_bInlineBatches{false};

    // Ends the receive thread for good; unlike m_bStop, which ResetSkypeState
    // clears, only a new start of the link or Reset() (once every thread has
    // been joined) sets it back.
    std::atomic<bool> m_bShutdown{false};
    bool m_bPingSeen = false;
    uint32_t m_hPingSkypeWnd = 0;  // the Skype window the keep-alive last saw
};

extern CSkypeMonitor g_SkypeMonitor;
// 1 once the refusal message has been shown in this run.
extern std::atomic<uint8_t> g_bAttachRefusedShown;

int SendMessageToSkype(const std::string& text);

}  // namespace skype
