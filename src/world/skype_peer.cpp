#include "world/skype_peer.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/clock.h"

namespace world {

using namespace platform;

namespace {
const wchar_t kApiWindowClass[] = L"SkypeControlAPIWindow";
constexpr uint32_t kMsgAnswerAttach = WM_USER + 1;  // lParam: status to send
constexpr uint32_t kMsgSendQueued = WM_USER + 2;
constexpr uint32_t kMsgAnnounce = WM_USER + 3;
constexpr uint32_t kMsgRunTasks = WM_USER + 4;
constexpr LPARAM kStatusSuccess = 0;
constexpr LPARAM kStatusPending = 1;
constexpr LPARAM kStatusRefused = 2;
constexpr LPARAM kStatusNotAvailable = 3;
constexpr LPARAM kStatusApiAvailable = 0x8001;

// Major and minor number of a version text such as "5.5.0.124".
void VersionNumbers(const std::string& version, int& major, int& minor) {
    major = 0;
    minor = 0;
    std::sscanf(version.c_str(), "%d.%d", &major, &minor);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Skype lists the reachable contacts first, then SkypeOut numbers, then the
// offline ones.
int ListGroup(const std::string& status) {
    if (status == "SKYPEOUT") return 1;
    if (status == "OFFLINE") return 2;
    return 0;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}
}  // namespace

SkypePeer::SkypePeer() = default;

SkypePeer::~SkypePeer() { Quit(); }

void SkypePeer::SetAttachAnswer(AttachAnswer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answer_ = answer;
}

void SkypePeer::SetProfile(const Profile& profile) {
    std::lock_guard<std::mutex> lock(mutex_);
    profile_ = profile;
}

void SkypePeer::SetCommandListener(std::function<void(const std::string&)> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

std::vector<std::string> SkypePeer::Commands() {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

bool SkypePeer::Running() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

void SkypePeer::Start() {
    if (Running()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = true;
        client_ = WindowHandle{};
    }
    thread_.Start("skype-peer", [this] { Run(); });
    ready_.Wait(kInfinite);
    AnnounceApi();
}

void SkypePeer::Run() {
    auto& desktop = CurrentDesktop();
    const WindowHandle w = desktop.CreateWindow(
        kApiWindowClass, L"", [this](WindowHandle, uint32_t m, WPARAM wp, LPARAM lp) { return WindowProc(m, wp, lp); });
    int major, minor;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        window_ = w;
        attachMsg_ = desktop.RegisterWindowMessage(L"SkypeControlAPIAttach");
        discoverMsg_ = desktop.RegisterWindowMessage(L"SkypeControlAPIDiscover");
        peerThread_ = std::this_thread::get_id();
        VersionNumbers(profile_.version, major, minor);
    }
    clientWindows_.SetVersion(major, minor);
    clientWindows_.Create();
    ready_.Set();
    desktop.RunMessageLoop();
    clientWindows_.Destroy();
    std::lock_guard<std::mutex> lock(mutex_);
    peerThread_ = std::thread::id();
    window_ = WindowHandle{};
    running_ = false;
}

void SkypePeer::AnnounceApi() {
    WindowHandle w;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        w = window_;
    }
    if (w) CurrentDesktop().PostMessage(w, kMsgAnnounce, 0, 0);
}

void SkypePeer::Quit() {
    WindowHandle w;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        w = window_;
    }
    if (w) CurrentDesktop().PostMessage(w, WM_CLOSE, 0, 0);
    thread_.Join();
}

void SkypePeer::Notify(const std::string& text) { Queue(text); }

void SkypePeer::Queue(const std::string& notification) {
    WindowHandle w;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!window_ || !client_) return;
        outgoing_.push_back(notification);
        w = window_;
    }
    CurrentDesktop().PostMessage(w, kMsgSendQueued, 0, 0);
}

void SkypePeer::SendQueued() {
    std::string text;
    WindowHandle client, self;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (outgoing_.empty()) return;
        text = std::move(outgoing_.front());
        outgoing_.pop_front();
        client = client_;
        self = window_;
    }
    CopyDataStruct record;
    record.cbData = static_cast<uint32_t>(text.size() + 1);
    record.lpData = text.c_str();
    CurrentDesktop().SendMessage(client, WM_COPYDATA, self.value, reinterpret_cast<LPARAM>(&record));
}

void SkypePeer::AnswerAttach(LPARAM status) {
    WindowHandle client, self;
    uint32_t attach;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        client = client_;
        self = window_;
        attach = attachMsg_;
    }
    CurrentDesktop().SendMessage(client, attach, self.value, status);
}

LRESULT SkypePeer::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
    auto& desktop = CurrentDesktop();
    uint32_t discover, attach;
    WindowHandle self;
    AttachAnswer answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        discover = discoverMsg_;
        attach = attachMsg_;
        self = window_;
        answer = answer_;
    }
    if (message == discover && discover != 0) {
        // Answer later from our own loop, as the real client does.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            client_ = WindowHandle{static_cast<uint32_t>(wParam)};
        }
        switch (answer) {
            case AttachAnswer::Success:
                desktop.PostMessage(self, kMsgAnswerAttach, 0, kStatusSuccess);
                break;
            case AttachAnswer::PendingThenSuccess:
                desktop.PostMessage(self, kMsgAnswerAttach, 0, kStatusPending);
                desktop.PostMessage(self, kMsgAnswerAttach, 0, kStatusSuccess);
                break;
            case AttachAnswer::Refused:
                desktop.PostMessage(self, kMsgAnswerAttach, 0, kStatusRefused);
                break;
            case AttachAnswer::NotAvailable:
                desktop.PostMessage(self, kMsgAnswerAttach, 0, kStatusNotAvailable);
                break;
            case AttachAnswer::None:
                break;
        }
        return 0;
    }
    switch (message) {
        case kMsgAnswerAttach:
            AnswerAttach(lParam);
            return 0;
        case kMsgSendQueued:
            SendQueued();
            return 0;
        case kMsgAnnounce:
            desktop.BroadcastMessage(attach, self.value, kStatusApiAvailable);
            return 0;
        case kMsgRunTasks:
            for (;;) {
                std::function<void()> task;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (tasks_.empty()) break;
                    task = std::move(tasks_.front());
                    tasks_.pop_front();
                }
                task();
            }
            return 0;
        case WM_COPYDATA: {
            const auto* record = reinterpret_cast<const CopyDataStruct*>(lParam);
            if (!record || !record->lpData) return 1;
            const char* data = static_cast<const char*>(record->lpData);
            OnCommand(std::string(data, strnlen(data, record->cbData)));
            return 1;
        }
        case WM_TIMER:
            OnPlaybackTimer(static_cast<uintptr_t>(wParam));
            return 0;
        case WM_CLOSE:
            clientWindows_.Destroy();
            desktop.DestroyWindow(self);
            desktop.PostQuitMessage(0);
            return 0;
        default:
            return 0;
    }
}

void SkypePeer::OnCommand(const std::string& text) {
    std::function<void(const std::string&)> listener;
    Profile p;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        commands_.push_back(text);
        listener = listener_;
        p = profile_;
    }
    if (listener) listener(text);
    if (clientWindows_.OnCommand(text)) return;
    const std::vector<std::string> w = Words(text);
    if (text == "BTN_PRESSED YES") {
        PressCallButton();
    } else if (text == "BTN_PRESSED UP" || text == "BTN_PRESSED DOWN") {
        MoveFocus(text == "BTN_PRESSED UP" ? -1 : +1);
    } else if (w.size() >= 2 && w[0] == "CALL") {
        PlaceCalls(text.substr(5));
    } else if (text == "#111 PING") {
        Queue("#111 PONG");
    } else if (text == "PING") {
        Queue("PONG");
    } else if (text == "GET CURRENTUSERHANDLE") {
        Queue("CURRENTUSERHANDLE " + p.userHandle);
    } else if (text == "GET SKYPEVERSION") {
        Queue("SKYPEVERSION " + p.version);
    } else if (text == "GET UI_LANGUAGE") {
        Queue("UI_LANGUAGE " + p.uiLanguage);
    } else if (text == "GET PROFILE PSTN_BALANCE") {
        Queue("PROFILE PSTN_BALANCE " + p.pstnBalance);
    } else if (text == "GET PROFILE PSTN_BALANCE_CURRENCY") {
        Queue("PROFILE PSTN_BALANCE_CURRENCY " + p.pstnCurrency);
    } else if (w.size() == 4 && w[0] == "GET" && w[1] == "USER" && w[3] == "FULLNAME" && w[2] == p.userHandle) {
        Queue("USER " + w[2] + " FULLNAME " + p.fullName);
    } else if (AnswerCallCommand(w) || AnswerUserQuery(w)) {
    } else if (text == "SET MUTE ON" || text == "SET MUTE OFF") {
        Queue(text.substr(4));
    } else if (text == "SEARCH CALLS" || text == "SEARCH VOICEMAILS") {
        const bool voicemails = text == "SEARCH VOICEMAILS";
        std::string list;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& [id, call] : calls_) {
                if (call.voicemail == voicemails) list += (list.empty() ? " " : ", ") + id;
            }
        }
        Queue((voicemails ? "VOICEMAILS" : "CALLS") + list);
    }
}

void SkypePeer::SetStatus(const std::string& id, const std::string& status) {
    bool voicemail = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = calls_.find(id);
        if (it == calls_.end()) return;
        it->second.status = status;
        voicemail = it->second.voicemail;
    }
    Queue((voicemail ? "VOICEMAIL " : "CALL ") + id + " STATUS " + status);
}

// SET CALL n STATUS x, GET CALL n property, OPEN VOICEMAIL n, ALTER VOICEMAIL n STOPPLAYBACK.
bool SkypePeer::AnswerCallCommand(const std::vector<std::string>& w) {
    if (w.size() == 5 && w[0] == "SET" && w[1] == "CALL" && w[3] == "STATUS") {
        if (w[4] == "INPROGRESS") HoldOtherCalls(w[2]);
        SetStatus(w[2], w[4]);
        return true;
    }
    if (w.size() == 3 && w[0] == "OPEN" && w[1] == "VOICEMAIL") {
        StartPlayback(w[2]);
        return true;
    }
    if (w.size() == 4 && w[0] == "ALTER" && w[1] == "VOICEMAIL" && w[3] == "STOPPLAYBACK") {
        StopPlayback(w[2]);
        return true;
    }
    if (w.size() != 4 || w[0] != "GET" || (w[1] != "CALL" && w[1] != "VOICEMAIL")) return false;
    std::string value;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = calls_.find(w[2]);
        if (it == calls_.end()) return true;
        const Call& c = it->second;
        const std::string& p = w[3];
        if (p == "TIMESTAMP") value = std::to_string(c.timestamp);
        else if (p == "PARTNER_HANDLE") value = c.handle;
        else if (p == "PARTNER_DISPNAME") value = c.name;
        else if (p == "CONF_ID") value = c.confId;
        else if (p == "TYPE") value = c.type;
        else if (p == "STATUS") value = c.status;
        else if (p == "DURATION") value = std::to_string(c.duration);
        else return true;
    }
    Queue(w[1] + " " + w[2] + " " + w[3] + " " + value);
    return true;
}

bool SkypePeer::AnswerUserQuery(const std::vector<std::string>& w) {
    if (w.size() != 4 || w[0] != "GET" || w[1] != "USER") return false;
    std::string value;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = contacts_.find(w[2]);
        if (it == contacts_.end()) return true;
        if (w[3] == "ONLINESTATUS") value = it->second.status;
        else if (w[3] == "DISPLAYNAME" || w[3] == "FULLNAME") value = it->second.name;
        else return true;
    }
    Queue("USER " + w[2] + " " + w[3] + (value.empty() ? "" : " " + value));
    return true;
}

void SkypePeer::CallIn(const std::string& id, const std::string& handle, const std::string& name) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Call& c = calls_[id];
        c.handle = handle;
        c.name = name.empty() ? handle : name;
        c.type = "INCOMING_P2P";
        c.timestamp = Now();
    }
    SetStatus(id, "RINGING");
}

void SkypePeer::CallOut(const std::string& id, const std::string& handle) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Call& c = calls_[id];
        c.handle = handle;
        c.name = handle;
        c.type = "OUTGOING_P2P";
        c.timestamp = Now();
    }
    SetStatus(id, "ROUTING");
    SetStatus(id, "RINGING");
}

void SkypePeer::EndCall(const std::string& id, const std::string& status) {
    SetStatus(id, status.empty() ? "FINISHED" : status);
}

void SkypePeer::SetContact(const std::string& handle, const std::string& status, const std::string& name) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Contact& c = contacts_[handle];
        c.status = status;
        if (!name.empty()) c.name = name;
    }
    Queue("USER " + handle + " ONLINESTATUS " + status);
    if (!name.empty()) Queue("USER " + handle + " DISPLAYNAME " + name);
}

void SkypePeer::SetConference(const std::string& id, const std::string& confId) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = calls_.find(id);
        if (it == calls_.end()) return;
        it->second.confId = confId;
    }
    Queue("CALL " + id + " CONF_ID " + confId);
}

void SkypePeer::Focus(const std::string& handle) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        focused_ = handle;
    }
    Queue("CONTACTS FOCUSED " + handle);
}

void SkypePeer::Answer(const std::string& id) { SetStatus(id, "INPROGRESS"); }

// One call talks at a time (conferences aside): taking up a call holds the
// one in progress.
void SkypePeer::HoldOtherCalls(const std::string& id) {
    std::vector<std::string> held;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto taken = calls_.find(id);
        if (taken == calls_.end()) return;
        for (const auto& [other, call] : calls_) {
            const bool sameConference = call.confId != "0" && call.confId == taken->second.confId;
            if (other != id && call.status == "INPROGRESS" && !sameConference) held.push_back(other);
        }
    }
    for (const std::string& other : held) SetStatus(other, "ONHOLD");
}

std::string SkypePeer::PlaceCall(const std::string& handle, const std::string& confId) {
    std::string id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = std::to_string(nextPlacedCall_++);
        calls_[id].confId = confId.empty() ? id : confId;
    }
    CallOut(id, handle);
    return id;
}

void SkypePeer::PlaceCalls(const std::string& handles) {
    std::vector<std::string> partners;
    std::istringstream in(handles);
    for (std::string h; std::getline(in, h, ',');) {
        if (!Trimmed(h).empty()) partners.push_back(Trimmed(h));
    }
    if (partners.size() == 1) {
        PlaceCall(partners[0]);
        return;
    }
    // The first call names the conference.
    std::string conference;
    for (const std::string& partner : partners) {
        const std::string id = PlaceCall(partner, conference);
        if (conference.empty()) conference = id;
    }
}

void SkypePeer::DialNumber(const std::string& number) {
    bool fails;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fails = dialFails_;
    }
    if (!fails) {
        PlaceCall(number);
        return;
    }
    RunOnPeerThread([this] { clientWindows_.OpenWindow(L"TskConfirmForm.UnicodeClass"); });
}

void SkypePeer::SetDialFails(bool fails) {
    std::lock_guard<std::mutex> lock(mutex_);
    dialFails_ = fails;
}

std::vector<std::string> SkypePeer::ContactOrder() {
    std::vector<std::string> handles;
    for (const auto& [handle, contact] : contacts_) handles.push_back(handle);
    auto key = [this](const std::string& handle) {
        const Contact& c = contacts_.at(handle);
        return std::make_tuple(ListGroup(c.status), Lower(c.name.empty() ? handle : c.name), handle);
    };
    std::sort(handles.begin(), handles.end(),
              [&key](const std::string& a, const std::string& b) { return key(a) < key(b); });
    return handles;
}

// Skype's list keeps its focus at either end rather than wrapping.
void SkypePeer::MoveFocus(int step) {
    std::string focused;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::vector<std::string> order = ContactOrder();
        if (order.empty()) return;
        const auto at = std::find(order.begin(), order.end(), focused_);
        std::ptrdiff_t index = at == order.end() ? 0 : (at - order.begin()) + step;
        index = std::clamp<std::ptrdiff_t>(index, 0, static_cast<std::ptrdiff_t>(order.size()) - 1);
        if (order[static_cast<size_t>(index)] == focused_) return;
        focused_ = order[static_cast<size_t>(index)];
        focused = focused_;
    }
    Queue("CONTACTS FOCUSED " + focused);
}

void SkypePeer::PressCallButton() {
    std::string ringing, focused;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, call] : calls_) {
            if (!call.voicemail && call.status == "RINGING" && call.type.rfind("INCOMING", 0) == 0) ringing = id;
        }
        focused = focused_;
    }
    if (!ringing.empty()) {
        SetStatus(ringing, "INPROGRESS");
    } else if (!focused.empty()) {
        PlaceCall(focused);
    }
}

void SkypePeer::RunOnPeerThread(std::function<void()> task) {
    WindowHandle w;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!window_) return;
        tasks_.push_back(std::move(task));
        w = window_;
    }
    CurrentDesktop().PostMessage(w, kMsgRunTasks, 0, 0);
}

void SkypePeer::SetMainWindow(SkypeClientWindows::MainWindow state) {
    RunOnPeerThread([this, state] { clientWindows_.SetMainWindow(state); });
}

void SkypePeer::OpenWindow(const std::wstring& className) {
    RunOnPeerThread([this, className] { clientWindows_.OpenWindow(className); });
}

bool SkypePeer::IsClientWindow(WindowHandle window) { return clientWindows_.IsClientWindow(window); }

std::string SkypePeer::DialPadNumber() { return clientWindows_.NumberText(); }

bool SkypePeer::OnPeerThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    return peerThread_ == std::this_thread::get_id();
}

void SkypePeer::AddVoicemail(const std::string& id, const std::string& handle, int seconds) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Call& c = calls_[id];
        c.handle = handle;
        c.name = contacts_.count(handle) && !contacts_[handle].name.empty() ? contacts_[handle].name : handle;
        c.type = "INCOMING";
        c.status = "UNPLAYED";
        c.voicemail = true;
        c.timestamp = Now();
        c.duration = seconds;
    }
    ReportRecord(id);
}

void SkypePeer::AddHistory(const HistoryEntry& entry) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Call& c = calls_[entry.id];
        c.handle = entry.handle;
        c.name = contacts_.count(entry.handle) && !contacts_[entry.handle].name.empty() ? contacts_[entry.handle].name
                                                                                       : entry.handle;
        c.type = entry.type;
        c.status = entry.status;
        c.timestamp = entry.timestamp;
        c.duration = entry.duration;
    }
    ReportRecord(entry.id);
}

void SkypePeer::ReportRecord(const std::string& id) {
    Call c;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        c = calls_.at(id);
    }
    const std::string prefix = (c.voicemail ? "VOICEMAIL " : "CALL ") + id + " ";
    Queue(prefix + "TYPE " + c.type);
    Queue(prefix + "PARTNER_HANDLE " + c.handle);
    Queue(prefix + "PARTNER_DISPNAME " + c.name);
    Queue(prefix + "TIMESTAMP " + std::to_string(c.timestamp));
    Queue(prefix + "DURATION " + std::to_string(c.duration));
    Queue(prefix + "STATUS " + c.status);
}

int64_t SkypePeer::Now() { return CalendarSeconds(CurrentClock().GetLocalTime()); }

void SkypePeer::SetBalance(const std::string& balance, const std::string& currency) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        profile_.pstnBalance = balance;
        profile_.pstnCurrency = currency;
    }
    Queue("PROFILE PSTN_BALANCE " + balance);
    Queue("PROFILE PSTN_BALANCE_CURRENCY " + currency);
}

// A voicemail plays on the peer's own timer; stopping it or its end reports
// PLAYED.
void SkypePeer::StartPlayback(const std::string& id) {
    uintptr_t timer = 0;
    int seconds = 0;
    WindowHandle self;
    std::vector<uintptr_t> restarted = TakePlaybackTimers(id);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = calls_.find(id);
        if (it == calls_.end() || !it->second.voicemail) return;
        timer = nextPlaybackTimer_++;
        playbackTimers_[timer] = id;
        seconds = it->second.duration;
        self = window_;
    }
    for (uintptr_t t : restarted) CurrentDesktop().KillTimer(self, t);
    SetStatus(id, "PLAYING");
    CurrentDesktop().SetTimer(self, timer, static_cast<uint32_t>(std::max(seconds, 0)) * 1000u);
}

std::vector<uintptr_t> SkypePeer::TakePlaybackTimers(const std::string& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<uintptr_t> timers;
    for (auto t = playbackTimers_.begin(); t != playbackTimers_.end();) {
        if (t->second == id) {
            timers.push_back(t->first);
            t = playbackTimers_.erase(t);
        } else {
            ++t;
        }
    }
    return timers;
}

void SkypePeer::StopPlayback(const std::string& id) {
    const std::vector<uintptr_t> stopped = TakePlaybackTimers(id);
    WindowHandle self;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        self = window_;
    }
    for (uintptr_t timer : stopped) CurrentDesktop().KillTimer(self, timer);
    SetStatus(id, "PLAYED");
}

void SkypePeer::OnPlaybackTimer(uintptr_t timer) {
    std::string id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = playbackTimers_.find(timer);
        if (it == playbackTimers_.end()) return;
        id = it->second;
    }
    StopPlayback(id);
}

}  // namespace world
