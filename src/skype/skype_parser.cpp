#include "skype/skype_parser.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <cstring>
#include <mutex>

#include "audio/mixer_fader.h"
#include "common/settings.h"
#include "handset/handset_commands.h"
#include "platform/log.h"
#include "skype/phone_control.h"
#include "skype/skype_audio_config.h"
#include "skype/skype_monitor.h"

namespace skype {

namespace {

std::mutex g_versionMutex;
char g_strSkypeVersion[kSkypeVersionBytes] = {};
long g_nSkypeVersion[4] = {0, 0, 0, 0};
std::vector<std::string> g_SearchCallIds;

const char kWordSeparators[] = " ,";

void OnCurrentUserHandle(const std::vector<std::string>& w) {
    if (w.size() < 2) return;
    SendMessageToSkype("GET USER " + w[1] + " FULLNAME");
    g_SkypeMonitor.SetUserHandle(w[1]);
}

void OnSkypeVersion(const std::vector<std::string>& w) {
    if (w.size() < 2) return;
    long numbers[4];
    {
        std::lock_guard<std::mutex> lock(g_versionMutex);
        // Cut to the field, never past it.
        std::snprintf(g_strSkypeVersion, sizeof(g_strSkypeVersion), "%s", w[1].c_str());
        long parsed[4] = {g_nSkypeVersion[0], g_nSkypeVersion[1], g_nSkypeVersion[2], g_nSkypeVersion[3]};
        const int matched = std::sscanf(g_strSkypeVersion, "%ld.%ld.%ld.%ld", &parsed[0], &parsed[1], &parsed[2],
                                        &parsed[3]);
        for (int i = 0; i < matched && i < 4; ++i) g_nSkypeVersion[i] = parsed[i];
        std::memcpy(numbers, g_nSkypeVersion, sizeof(numbers));
        platform::LogA("Skype version is %s", g_strSkypeVersion);
    }
    platform::LogW(L"Skype Version is %ld-%ld-%ld-%ld", numbers[0], numbers[1], numbers[2], numbers[3]);
}

// Words 3 ... joined with one blank; empty with three words or fewer.
std::string JoinTail(const std::vector<std::string>& w) {
    std::string out;
    for (size_t i = 3; i < w.size(); ++i) out += (i > 3 ? " " : "") + w[i];
    return out;
}

void OnOwnFullName(const std::vector<std::string>& w) {
    g_SkypeMonitor.SetUserName(w.size() >= 4 ? w[3] : g_SkypeMonitor.UserHandle());
    phone::SwitchMode(phone::Mode::Main);
}

void OnUser(const std::string& text) {
    // USER notifications are cut at blanks only (names may hold commas).
    const std::vector<std::string> w = CutWords(text, " ");
    if (w.size() < 3) return;
    CContactList& contacts = g_SkypeMonitor.m_Contacts;
    const std::string& handle = w[1];
    const std::string& property = w[2];
    if (property == "ONLINESTATUS") {
        if (w.size() >= 4) contacts.UpdateContactStatus(handle, w[3]);
    } else if (property == "DISPLAYNAME") {
        if (w.size() >= 4) {
            contacts.UpdateContactName(handle, JoinTail(w));
        } else {
            SendMessageToSkype("GET USER " + handle + " FULLNAME");
            contacts.UpdateContactName(handle, handle);
        }
    } else if (property == "FULLNAME") {
        if (handle == g_SkypeMonitor.UserHandle()) {
            OnOwnFullName(w);
        } else if (w.size() >= 4) {
            contacts.UpdateContactName(handle, JoinTail(w));
        }
    } else if (property == "BUDDYSTATUS" && w.size() >= 4) {
        if (w[3] == "1") {
            contacts.RemoveContact(handle);
        } else if (w[3] == "2") {
            SendMessageToSkype("GET USER " + handle + " DISPLAYNAME");
            SendMessageToSkype("GET USER " + handle + " ONLINESTATUS");
        }
    }
}

void OnContacts(const std::vector<std::string>& w) {
    if (w.size() < 3 || w[1] != "FOCUSED") return;
    g_SkypeMonitor.SetFocusedContact(w[2]);
    if (phone::InMode(phone::Mode::Main) && common::g_Settings.VAL_ENABLE_LCM == 1) {
        phone::SwitchMode(phone::Mode::ContactList);
    }
}

void OnMute(const std::vector<std::string>& w) {
    if (w.size() < 2) return;
    if (w[1] == "ON") {
        g_SkypeMonitor.m_bMute = 1;
        handset::NewWriteCmd(handset::CMD_STATUS_ALERT);
    } else if (w[1] == "OFF") {
        g_SkypeMonitor.m_bMute = 0;
        handset::NewWriteCmd(handset::CMD_STATUS_TALK);
    }
}

void OnProfile(const std::vector<std::string>& w) {
    if (w.size() < 3) return;
    if (w[1] == "PSTN_BALANCE") {
        g_SkypeMonitor.SetPstnBalance(w[2]);
        if (w[2] != "0") SendMessageToSkype("GET PROFILE PSTN_BALANCE_CURRENCY");
    } else if (w[1] == "PSTN_BALANCE_CURRENCY") {
        g_SkypeMonitor.SetPstnCurrency(w[2]);
    }
}

void OnSearchReply(const std::vector<std::string>& w) {
    if (w.size() >= 2 && w[1] == "PONG") {
        SendMessageToSkype("SEARCH CALLS");
        SendMessageToSkype("SEARCH VOICEMAILS");
    }
}

void OnCalls(const std::vector<std::string>& w) {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    g_SearchCallIds.assign(w.begin() + 1, w.end());
}

bool IsKnownCall(const std::string& id) {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    return std::find(g_SearchCallIds.begin(), g_SearchCallIds.end(), id) != g_SearchCallIds.end();
}


// Applies one field change to the call in both lists: the list of all calls
// gains the record when it is new, the current list is only updated.
void UpdateBoth(const std::string& id, const std::function<void(CCallObject&)>& update) {
    CSkypeMonitor& link = g_SkypeMonitor;
    link.m_CallList.FindOrAddCall(id, update);
    link.m_CurrCallList.UpdateCall(id, update);
}

void SetOutVolume(int value, int type) { audio::SetFaderValue(audio::g_OutFader, value, type); }

void OnRingingOrRouting(const std::string& id, const std::string& status) {
    CSkypeMonitor& link = g_SkypeMonitor;
    const bool firstCall = link.m_CurrCallList.Count() == 0;
    if (firstCall) {
        SetOutVolume(common::g_Settings.VAL_AUDIO_OUT_VOLUME, audio::kFaderAbsolute);
        link.m_nSavedVolume = audio::GetOutVolume();
    }
    if (status == "ROUTING") link.m_CallList.FindOrAddCall(id, [](CCallObject& c) { c.m_bRouted = 1; });
    const CCallObject record = *link.m_CallList.FindCall(id);
    if (status == "RINGING" && record.m_bRouted == 0 && firstCall) {
        SetOutVolume(common::g_Settings.VAL_RINGTONE_VOLUME, audio::kFaderAbsolute);
    }
    if (link.m_CurrCallList.HasCall(id)) return;
    platform::LogW(L"****m_CurrCallList.AddCallObject 0x%x****",
                   static_cast<unsigned>(reinterpret_cast<uintptr_t>(&record) & 0xFFFFFFFFu));
    link.m_CurrCallList.AddCallObject(record);
    bool known = false;
    if (status == "RINGING") {
        if (link.m_CurrCallList.Count() <= 1) SetOutVolume(common::g_Settings.VAL_RINGTONE_VOLUME, audio::kFaderAbsolute);
        known = IsKnownCall(id);
        ConfigureSkypeAudio();
    }
    std::vector<std::string> queries;
    for (const char* property : {"TIMESTAMP", "PARTNER_HANDLE", "PARTNER_DISPNAME", "CONF_ID", "TYPE", "STATUS"}) {
        queries.push_back("GET CALL " + id + " " + property);
    }
    link.SendCommandBatch(queries);
    if (!known) phone::SwitchMode(phone::Mode::Ringing);
    SendMessageToSkype("SET WINDOWSTATE NORMAL");
}

// After a call ends, the newest remaining call decides the mode. A call that
// still rings or is being placed keeps the ringing mode and gets no command:
// INPROGRESS would answer it without the user asking. A call already in
// progress needs none either. Any other (a held call) is taken up again.
void FollowRemainingCall(const CCallObject& next) {
    const std::string status = next.m_szStatus;
    if (status == "RINGING" || status == "ROUTING" || status == "EARLYMEDIA") {
        phone::SwitchMode(phone::Mode::Ringing);
    } else if (status == "INPROGRESS") {
        phone::SwitchMode(phone::Mode::Talking);
    } else {
        SendMessageToSkype(std::string("SET CALL ") + next.m_szCallId + " STATUS INPROGRESS");
        phone::SwitchMode(phone::Mode::Talking);
    }
}

void OnCallEnded(const std::string& id) {
    CSkypeMonitor& link = g_SkypeMonitor;
    phone::ShowSkypeContacts();
    if (!link.m_CurrCallList.HasCall(id)) return;
    link.m_CurrCallList.DeleteCallObject(id);
    const std::optional<CCallObject> next = link.m_CurrCallList.GetLastCall();
    if (!next) {
        phone::SwitchMode(phone::Mode::Main);
    } else {
        platform::LogA("%s", next->m_szCallId);
        FollowRemainingCall(*next);
    }
    SetOutVolume(link.m_nSavedVolume, audio::kFaderAbsolute);
    link.m_CallList.DeleteCallObject(id);
}

void OnCallStatus(const std::string& id, const std::string& status) {
    UpdateBoth(id, [&status](CCallObject& c) { CopyField(c.m_szStatus, status); });
    if (status == "RINGING" || status == "ROUTING") {
        OnRingingOrRouting(id, status);
    } else if (status == "PLAYING") {
        phone::SetVoicemailPlaying(true);
        phone::SwitchMode(phone::Mode::VoicemailPlay);
    } else if (status == "PLAYED") {
        if (phone::VoicemailPlaying() && phone::InMode(phone::Mode::VoicemailPlay)) {
            phone::SetVoicemailPlaying(false);
            phone::SwitchMode(phone::Mode::VoicemailPlay);
        }
    } else if (status == "INPROGRESS") {
        if (!IsKnownCall(id)) {
            SetOutVolume(g_SkypeMonitor.m_nSavedVolume, audio::kFaderAbsoluteSteps);
            phone::SwitchMode(phone::Mode::Talking);
        }
        SendMessageToSkype("SET WINDOWSTATE NORMAL");
    } else if (status == "FINISHED" || status == "REFUSED" || status == "MISSED" || status == "FAILED") {
        OnCallEnded(id);
    }
}

// CALL and VOICEMAIL: word 1 the id, word 2 the property, word 3 its value.
void OnCallProperty(const std::vector<std::string>& w) {
    if (w.size() < 3) return;
    const std::string& id = w[1];
    const std::string& property = w[2];
    if (property == "PARTNER_DISPNAME") {
        const std::string name = JoinTail(w);
        UpdateBoth(id, [&name](CCallObject& c) { CopyField(c.m_szPartnerName, name); });
        return;
    }
    if (w.size() < 4) {
        platform::LogA("Skype notification too short, ignored: %.200s %.200s %.200s\n", w[0].c_str(), id.c_str(),
                       property.c_str());
        return;
    }
    const std::string& value = w[3];
    if (property == "TIMESTAMP") {
        UpdateBoth(id, [&value](CCallObject& c) { c.m_nTimestamp = LeadingInt(value); });
    } else if (property == "PARTNER_HANDLE") {
        UpdateBoth(id, [&value](CCallObject& c) { CopyField(c.m_szPartnerHandle, value); });
    } else if (property == "CONF_ID") {
        UpdateBoth(id, [&value](CCallObject& c) { CopyField(c.m_szConfId, value); });
    } else if (property == "TYPE") {
        g_SkypeMonitor.m_CallList.ModifyCallType(id, value);
        const int32_t type = CallTypeOfText(value);
        g_SkypeMonitor.m_CurrCallList.UpdateCall(id, [type](CCallObject& c) { c.m_nType = type; });
    } else if (property == "STATUS") {
        OnCallStatus(id, value);
    } else if (property == "DURATION" || property == "VM_DURATION") {
        UpdateBoth(id, [&value](CCallObject& c) { c.m_nDuration = LeadingInt(value); });
    }
}

// The least number of words each kind of notification carries; shorter ones
// are not what Skype sends, so they are logged and change nothing.
struct KindNeeds {
    const char* kind;
    size_t words;
};
const KindNeeds kNeeds[] = {{"CURRENTUSERHANDLE", 2}, {"SKYPEVERSION", 2}, {"USERS", 1}, {"USER", 3},
                            {"CALLS", 1},             {"VOICEMAILS", 1},   {"CALL", 3},  {"VOICEMAIL", 3},
                            {"CONTACTS", 2},          {"MUTE", 2},         {"CONNSTATUS", 2}, {"UI_LANGUAGE", 2},
                            {"#111", 2},              {"PROFILE", 3}};

bool TooShort(const std::string& text, const std::vector<std::string>& w) {
    for (const KindNeeds& n : kNeeds) {
        if (w[0] != n.kind) continue;
        const size_t words = w[0] == "USER" ? CutWords(text, " ").size() : w.size();
        if (words >= n.words) return false;
        platform::LogA("Skype notification too short, ignored: %.200s\n", text.c_str());
        return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> CutWords(const std::string& text, const char* separators) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = text.find_first_not_of(separators, i);
        if (start == std::string::npos) break;
        size_t end = text.find_first_of(separators, start);
        if (end == std::string::npos) end = text.size();
        words.push_back(text.substr(start, end - start));
        i = end;
    }
    return words;
}

void ProcessSkypeMessage(const std::string& text) {
    const std::vector<std::string> w = CutWords(text, kWordSeparators);
    if (w.empty() || TooShort(text, w)) return;
    const std::string& kind = w[0];
    if (kind == "CURRENTUSERHANDLE") {
        OnCurrentUserHandle(w);
    } else if (kind == "SKYPEVERSION") {
        OnSkypeVersion(w);
    } else if (kind == "USERS") {
        std::vector<std::string> batch{"#111 PING"};
        g_SkypeMonitor.SendCommandBatch(batch);
    } else if (kind == "USER") {
        OnUser(text);
    } else if (kind == "CALL" || kind == "VOICEMAIL") {
        OnCallProperty(w);
    } else if (kind == "CALLS") {
        OnCalls(w);
    } else if (kind == "CONTACTS") {
        OnContacts(w);
    } else if (kind == "MUTE") {
        OnMute(w);
    } else if (kind == "#111") {
        OnSearchReply(w);
    } else if (kind == "PROFILE") {
        OnProfile(w);
    }
    // CONNSTATUS, UI_LANGUAGE, VOICEMAILS and anything else change nothing.
}

std::string SkypeVersionText() {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    return g_strSkypeVersion;
}

void SkypeVersionNumbers(long out[4]) {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    std::memcpy(out, g_nSkypeVersion, sizeof(g_nSkypeVersion));
}

void ResetSkypeParser() {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    std::memset(g_strSkypeVersion, 0, sizeof(g_strSkypeVersion));
    std::memset(g_nSkypeVersion, 0, sizeof(g_nSkypeVersion));
    g_SearchCallIds.clear();
}

}  // namespace skype
