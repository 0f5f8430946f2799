#include "skype/call_list.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "platform/log.h"

namespace skype {

namespace {
struct TypeName {
    const char* text;
    int32_t type;
    const wchar_t* logLine;
};
const TypeName kTypes[] = {
    {"INCOMING_PSTN", E_TYPE_INCOMING_PSTN, L"Set Call Type to E_TYPE_INCOMING_PSTN"},
    {"OUTGOING_PSTN", E_TYPE_OUTGOING_PSTN, L"Set Call Type to E_TYPE_OUTGOING_PSTN"},
    {"INCOMING_P2P", E_TYPE_INCOMING_P2P, L"Set Call Type to E_TYPE_INCOMING_P2P"},
    {"OUTGOING_P2P", E_TYPE_OUTGOING_P2P, L"Set Call Type to E_TYPE_OUTGOING_P2P"},
    {"INCOMING", E_TYPE_INCOMING, L"Set Call Type to E_TYPE_INCOMING"},
};

bool IsOutgoingCall(int32_t type) { return type == E_TYPE_OUTGOING_PSTN || type == E_TYPE_OUTGOING_P2P; }
}  // namespace

CCallObject::CCallObject() {
    m_szCallId[0] = m_szPartnerHandle[0] = m_szPartnerName[0] = m_szConfId[0] = m_szStatus[0] = '\0';
}

CCallObject::CCallObject(const std::string& callId) : CCallObject() { CopyField(m_szCallId, callId); }

void CopyField(char (&field)[kCallFieldBytes], const std::string& text) {
    size_t length = std::min(text.size(), kCallFieldBytes - 1);
    // Never end inside a UTF-8 character: back off over continuation bytes.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

int32_t LeadingInt(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int32_t CallTypeOfText(const std::string& text) {
    for (const TypeName& t : kTypes) {
        if (text == t.text) return t.type;
    }
    return E_TYPE_UNKNOWN;
}

namespace {
// An id is compared as its record stores it, so an overlong id finds the
// record it made instead of adding another one each time.
std::string StoredId(const std::string& callId) {
    char field[kCallFieldBytes];
    CopyField(field, callId);
    return field;
}
}  // namespace

CCallObject* CCallListBase::Find(const std::string& callId) {
    const std::string key = StoredId(callId);
    for (CCallObject& c : m_Calls) {
        if (key == c.m_szCallId) return &c;
    }
    return nullptr;
}

const CCallObject* CCallListBase::Find(const std::string& callId) const {
    return const_cast<CCallListBase*>(this)->Find(callId);
}

int CCallListBase::HasCall(const std::string& callId) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return Find(callId) ? 1 : 0;
}

void CCallListBase::AddCallObject(const CCallObject& record) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Calls.push_back(record);
}

void CCallListBase::DeleteCallObject(const std::string& callId) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        CCallObject* c = Find(callId);
        if (c == nullptr) return;
        m_Calls.erase(m_Calls.begin() + (c - m_Calls.data()));
    }
    platform::LogW(L"%ls", m_DeleteLogLine);
}

std::optional<CCallObject> CCallListBase::GetCallAt(size_t index) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (index >= m_Calls.size()) return std::nullopt;
    return m_Calls[index];
}

std::optional<CCallObject> CCallListBase::FindCall(const std::string& callId) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const CCallObject* c = Find(callId);
    if (!c) return std::nullopt;
    return *c;
}

size_t CCallListBase::Count() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Calls.size();
}

std::vector<CCallObject> CCallListBase::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Calls;
}

void CCallListBase::Clear() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Calls.clear();
}

void CCallListBase::CollectConference(const std::string& confId, CCallListBase& target) const {
    std::vector<CCallObject> members;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (const CCallObject& c : m_Calls) {
            if (StoredId(confId) == c.m_szConfId) members.push_back(c);
        }
    }
    std::lock_guard<std::mutex> lock(target.m_Mutex);
    target.m_Calls = std::move(members);
}

bool CCallListBase::UpdateCall(const std::string& callId, const std::function<void(CCallObject&)>& update) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    CCallObject* c = Find(callId);
    if (!c) return false;
    update(*c);
    return true;
}

void CCallList::FindOrAddCall(const std::string& callId, const std::function<void(CCallObject&)>& update) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    CCallObject* c = Find(callId);
    if (!c) {
        m_Calls.emplace_back(callId);
        c = &m_Calls.back();
    }
    update(*c);
}

void CCallList::ModifyCallType(const std::string& callId, const std::string& typeText) {
    platform::LogW(L"****ModifyCallType: CallID=%ls, Type=%ls****", platform::Utf8ToWide(callId).c_str(),
                   platform::Utf8ToWide(typeText).c_str());
    const int32_t type = CallTypeOfText(typeText);
    FindOrAddCall(callId, [type](CCallObject& c) { c.m_nType = type; });
    const wchar_t* line = L"Set Call Type to E_TYPE_UNKNOWN";
    for (const TypeName& t : kTypes) {
        if (t.type == type) line = t.logLine;
    }
    platform::LogW(L"%ls", line);
}

std::vector<CCallObject> CCallList::Filter(const std::function<bool(const CCallObject&)>& passes) const {
    std::vector<CCallObject> out;
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (const CCallObject& c : m_Calls) {
        if (passes(c)) out.push_back(c);
    }
    return out;
}

std::vector<CCallObject> CCallList::GetIncomingCallList() const {
    return Filter([](const CCallObject& c) { return IsIncomingCall(c.m_nType) && std::strcmp(c.m_szStatus, "MISSED") != 0; });
}

std::vector<CCallObject> CCallList::GetOutgoingCallList() const {
    int position = 0;
    return Filter([&position](const CCallObject& c) {
        platform::LogW(L"GetOutgoingCallList: %d: type=%d, CallID=%ls", ++position, static_cast<int>(c.m_nType),
                       platform::Utf8ToWide(c.m_szCallId).c_str());
        return IsOutgoingCall(c.m_nType);
    });
}

std::vector<CCallObject> CCallList::GetMissedCallList() const {
    return Filter([](const CCallObject& c) {
        return (IsIncomingCall(c.m_nType) || c.m_nType == E_TYPE_UNKNOWN) && std::strcmp(c.m_szStatus, "MISSED") == 0;
    });
}

std::vector<CCallObject> CCallList::GetVoiceMailList() const {
    return Filter([](const CCallObject& c) { return c.m_nType == E_TYPE_INCOMING && std::strcmp(c.m_szStatus, "DELETING") != 0; });
}

std::optional<CCallObject> CCurrCallList::GetLastCall() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Calls.empty()) return std::nullopt;
    return m_Calls.back();
}

void CCurrCallList::RotateCalls() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Calls.size() >= 2) std::rotate(m_Calls.begin(), m_Calls.begin() + 1, m_Calls.end());
}

std::string TimeTextOf(const platform::LocalTime& t) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02d:%02d", t.hour, t.minute);
    return text;
}

std::string DateTextOf(const platform::LocalTime& t) {
    char text[24];
    std::snprintf(text, sizeof(text), "%04d/%02d/%02d", t.year, t.month, t.day);
    return text;
}

std::string GetTimeText() { return TimeTextOf(platform::CurrentClock().GetLocalTime()); }

std::string GetDateText() { return DateTextOf(platform::CurrentClock().GetLocalTime()); }

bool IsIncomingCall(int32_t type) { return type == E_TYPE_INCOMING_PSTN || type == E_TYPE_INCOMING_P2P; }

}  // namespace skype
