#pragma once
// Call and voicemail records as Skype reports them, in the list of every
// call and the list of current calls. Each list has its own lock; records
// are handed out as copies, keyed by their call id, so a screen that keeps
// rows never holds a reference into a list another thread changes.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace skype {

constexpr size_t kCallFieldBytes = 300;  // 299 bytes and a terminating zero

enum CallType : int32_t {
    E_TYPE_UNKNOWN = -1,
    E_TYPE_INCOMING_PSTN = 0,
    E_TYPE_OUTGOING_PSTN = 1,
    E_TYPE_INCOMING_P2P = 2,
    E_TYPE_OUTGOING_P2P = 3,
    E_TYPE_INCOMING = 4,  // a received voicemail
};

struct CCallObject {
    CCallObject();
    explicit CCallObject(const std::string& callId);

    char m_szCallId[kCallFieldBytes];
    int32_t m_nTimestamp = 0;
    char m_szPartnerHandle[kCallFieldBytes];
    char m_szPartnerName[kCallFieldBytes];
    char m_szConfId[kCallFieldBytes];
    int32_t m_nType = E_TYPE_UNKNOWN;
    char m_szStatus[kCallFieldBytes];
    int32_t m_nDuration = 0;
    int32_t m_bRouted = 0;
};

// Copies text into a fixed field, cut to 299 bytes at a UTF-8 character
// boundary, always terminated.
void CopyField(char (&field)[kCallFieldBytes], const std::string& text);
// The value's leading decimal digits with an optional sign; no digits give 0.
int32_t LeadingInt(const std::string& text);
// Skype's TYPE text to the call type (exact comparison).
int32_t CallTypeOfText(const std::string& text);

// What both lists share.
class CCallListBase {
public:
    explicit CCallListBase(const wchar_t* deleteLogLine) : m_DeleteLogLine(deleteLogLine) {}
    CCallListBase(const CCallListBase&) = delete;
    CCallListBase& operator=(const CCallListBase&) = delete;

    int HasCall(const std::string& callId) const;
    void AddCallObject(const CCallObject& record);
    void DeleteCallObject(const std::string& callId);
    std::optional<CCallObject> GetCallAt(size_t index) const;
    std::optional<CCallObject> FindCall(const std::string& callId) const;
    size_t Count() const;
    std::vector<CCallObject> Snapshot() const;
    void Clear();
    // Empties `target`, then copies every record of this list whose
    // conference id equals confId into it, in this list's order.
    void CollectConference(const std::string& confId, CCallListBase& target) const;
    // Runs update on the record with that id, under the list's lock; false
    // when there is none.
    bool UpdateCall(const std::string& callId, const std::function<void(CCallObject&)>& update);

protected:
    CCallObject* Find(const std::string& callId);  // with m_Mutex held
    const CCallObject* Find(const std::string& callId) const;

    mutable std::mutex m_Mutex;
    std::vector<CCallObject> m_Calls;

private:
    const wchar_t* m_DeleteLogLine;
};

// Every call and voicemail Skype has named since attaching.
class CCallList : public CCallListBase {
public:
    CCallList() : CCallListBase(L"CCallList::DeleteCallObject") {}
    // Runs update on the record with that id, appending a blank one first
    // when there is none.
    void FindOrAddCall(const std::string& callId, const std::function<void(CCallObject&)>& update);
    void ModifyCallType(const std::string& callId, const std::string& typeText);

    std::vector<CCallObject> GetIncomingCallList() const;
    std::vector<CCallObject> GetOutgoingCallList() const;
    std::vector<CCallObject> GetMissedCallList() const;
    std::vector<CCallObject> GetVoiceMailList() const;

private:
    std::vector<CCallObject> Filter(const std::function<bool(const CCallObject&)>& passes) const;
};

// The calls that ring, are being placed, are in progress or on hold; the
// last one is the call the modes treat as active.
class CCurrCallList : public CCallListBase {
public:
    CCurrCallList() : CCallListBase(L"CCurrCallList::DeleteCallObject") {}
    std::optional<CCallObject> GetLastCall() const;
    // With two or more records, the first goes to the end.
    void RotateCalls();
};

// Calls from the PSTN or from another Skype user (not voicemails).
bool IsIncomingCall(int32_t type);

// "%02d:%02d" and "%04d/%02d/%02d" of a local time, and of the current one.
std::string TimeTextOf(const platform::LocalTime& time);
std::string DateTextOf(const platform::LocalTime& time);
std::string GetTimeText();
std::string GetDateText();

}  // namespace skype
