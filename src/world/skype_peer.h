#pragma once
// A Skype-like peer for the simulated world: its own thread and API window,
// the attach handshake with the status a script chooses, every command it
// receives recorded, the queries of the attach sequence answered, and any
// notification a script gives it sent to the attached client.

#include <cstdint>
#include <deque>
#include <map>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "world/skype_client_windows.h"
#include "platform/sync.h"

namespace world {

// The actors speak to the program through the platform's simulated backends.
using platform::LPARAM;
using platform::LRESULT;
using platform::WindowHandle;
using platform::WPARAM;

class SkypePeer {
public:
    // How the peer answers a discover broadcast.
    enum class AttachAnswer { Success, PendingThenSuccess, Refused, NotAvailable, None };

    struct Profile {
        std::string userHandle = "echo123";
        std::string fullName = "Echo Sound Test";
        std::string version = "5.5.0.124";
        std::string pstnBalance = "1234";
        std::string pstnCurrency = "EUR";
        std::string uiLanguage = "en";
    };

    SkypePeer();
    ~SkypePeer();

    void SetAttachAnswer(AttachAnswer answer);
    void SetProfile(const Profile& profile);
    // Called on the peer's thread for every command text received.
    void SetCommandListener(std::function<void(const std::string&)> listener);

    // Starts the peer; it announces its API to every top-level window.
    void Start();
    // Announces the API again (as a restarted client does).
    void AnnounceApi();
    // Ends the peer: its window goes away, so deliveries to it fail.
    void Quit();
    bool Running();
    // Sends a notification to the attached client (dropped when none).
    void Notify(const std::string& text);

    std::vector<std::string> Commands();

    // The call and contact model: what the peer reports and answers from.
    // An incoming call rings; an outgoing one is routed, then rings.
    void CallIn(const std::string& id, const std::string& handle, const std::string& name);
    void CallOut(const std::string& id, const std::string& handle);
    // The call ends with the status given (FINISHED when empty).
    void EndCall(const std::string& id, const std::string& status);
    // Contacts are listed as Skype lists them: reachable ones first, then
    // SkypeOut numbers, then the offline ones, each group by name without
    // regard to case. BTN_PRESSED UP and DOWN move the focus through that
    // order and report it (CONTACTS FOCUSED).
    void SetContact(const std::string& handle, const std::string& status, const std::string& name);
    void Focus(const std::string& handle);
    // A voicemail that plays for `seconds` when opened, then reports PLAYED.
    void AddVoicemail(const std::string& id, const std::string& handle, int seconds = kDefaultVoicemailSeconds);
    // A call of the history (type and status as Skype words them, e.g.
    // INCOMING_P2P and MISSED), reported with every property the companion
    // reads. Timestamps are seconds since 1970 of the virtual local time.
    struct HistoryEntry {
        std::string id;
        std::string type;
        std::string status;
        std::string handle;
        int64_t timestamp = 0;
        int duration = 0;
    };
    void AddHistory(const HistoryEntry& entry);
    // The virtual local time now, as a Skype timestamp.
    static int64_t Now();
    // The credit balance (hundredths) and its currency, reported at once.
    void SetBalance(const std::string& balance, const std::string& currency);
    // With true, a number dialled from the dial pad raises the confirmation
    // dialog (TskConfirmForm.UnicodeClass) instead of placing a call.
    void SetDialFails(bool fails);

    static constexpr int kDefaultVoicemailSeconds = 10;
    // Puts the call into a conference and reports its CONF_ID.
    void SetConference(const std::string& id, const std::string& confId);
    // The far end of a call answers (or a held call is resumed by it).
    void Answer(const std::string& id);

    // The client's own windows. Calls the client places itself (dialled
    // numbers, CALL commands, the call button) get the ids 101, 102, ...
    void SetMainWindow(SkypeClientWindows::MainWindow state);
    void OpenWindow(const std::wstring& className);
    bool IsClientWindow(WindowHandle window);
    std::string DialPadNumber();
    // True on the peer's own thread (what the client does to its windows
    // is not the companion's doing).
    bool OnPeerThread();

private:
    LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);
    void AnswerAttach(LPARAM status);
    void OnCommand(const std::string& text);
    void Queue(const std::string& notification);  // with no lock held
    void SendQueued();
    void Run();
    void RunOnPeerThread(std::function<void()> task);
    // Returns the new call's id. An empty conference id makes the call the
    // first of a conference named by its own id.
    std::string PlaceCall(const std::string& handle, const std::string& confId = "0");
    // "CALL a, b, c": one call per handle, together in one conference.
    void PlaceCalls(const std::string& handles);
    // A number typed into the dial pad is dialled (or the dial fails).
    void DialNumber(const std::string& number);
    void MoveFocus(int step);
    std::vector<std::string> ContactOrder();  // with mutex_ held
    void StartPlayback(const std::string& id);
    void StopPlayback(const std::string& id);
    // Forgets the voicemail's playback timers and returns them.
    std::vector<uintptr_t> TakePlaybackTimers(const std::string& id);
    void OnPlaybackTimer(uintptr_t timer);
    // Reports every property of a history record, the status last.
    void ReportRecord(const std::string& id);
    void HoldOtherCalls(const std::string& id);
    // The call button with nothing typed: answers a ringing call, or calls
    // the focused contact.
    void PressCallButton();

    struct Call {
        std::string handle;
        std::string name;
        std::string type;
        std::string status;
        std::string confId = "0";
        int64_t timestamp = 0;
        int duration = 0;
        bool voicemail = false;
    };
    struct Contact {
        std::string status = "OFFLINE";
        std::string name;
    };
    std::map<uintptr_t, std::string> playbackTimers_;  // timer id to voicemail id
    uintptr_t nextPlaybackTimer_ = 1;
    bool dialFails_ = false;
    void SetStatus(const std::string& id, const std::string& status);  // no lock held
    bool AnswerCallCommand(const std::vector<std::string>& w);
    bool AnswerUserQuery(const std::vector<std::string>& w);

    std::map<std::string, Call> calls_;
    std::map<std::string, Contact> contacts_;
    bool mute_ = false;
    std::string focused_;
    int nextPlacedCall_ = 101;
    std::deque<std::function<void()>> tasks_;
    std::thread::id peerThread_;
    SkypeClientWindows clientWindows_{[this](const std::string& number) { DialNumber(number); }};
    std::mutex mutex_;
    AttachAnswer answer_ = AttachAnswer::Success;
    Profile profile_;
    std::function<void(const std::string&)> listener_;
    std::vector<std::string> commands_;
    std::deque<std::string> outgoing_;
    WindowHandle window_;
    WindowHandle client_;
    uint32_t attachMsg_ = 0;
    uint32_t discoverMsg_ = 0;
    bool running_ = false;
    platform::Event ready_;
    platform::Thread thread_;
};

}  // namespace world
