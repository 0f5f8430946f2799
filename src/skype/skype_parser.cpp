#include "skype/skype_parser.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "app/settings.h"
#include "handset/handset_commands.h"
#include "modes/mode_machine.h"
#include "platform/log.h"
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

void OnUser(const std::string& text) {
    // USER notifications are cut at blanks only (names may hold commas).
    const std::vector<std::string> w = CutWords(text, " ");
    if (w.size() < 3) return;
    if (w[2] == "FULLNAME" && w[1] == g_SkypeMonitor.UserHandle()) {
        g_SkypeMonitor.SetUserName(w.size() >= 4 ? w[3] : g_SkypeMonitor.UserHandle());
        modes::SwitchMode(modes::MODE_MAIN);
    }
    // Contact names and statuses are kept with the contact list.
}

void OnContacts(const std::vector<std::string>& w) {
    if (w.size() < 3 || w[1] != "FOCUSED") return;
    g_SkypeMonitor.SetFocusedContact(w[2]);
    if (modes::g_ModeState.m_CurrMode == modes::MODE_MAIN && app::g_Settings.VAL_ENABLE_LCM == 1) {
        modes::SwitchMode(modes::MODE_CONTACT_LIST);
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
    if (w.empty()) return;
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
    // CALL and VOICEMAIL are kept with the call lists; CONNSTATUS, UI_LANGUAGE,
    // VOICEMAILS and anything else change nothing.
}

std::string SkypeVersionText() {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    return g_strSkypeVersion;
}

void SkypeVersionNumbers(long out[4]) {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    std::memcpy(out, g_nSkypeVersion, sizeof(g_nSkypeVersion));
}

void ResetSkypeLists() {}

void ResetSkypeParser() {
    std::lock_guard<std::mutex> lock(g_versionMutex);
    std::memset(g_strSkypeVersion, 0, sizeof(g_strSkypeVersion));
    std::memset(g_nSkypeVersion, 0, sizeof(g_nSkypeVersion));
    g_SearchCallIds.clear();
}

}  // namespace skype
