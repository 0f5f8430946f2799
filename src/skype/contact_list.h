#pragma once
// The Skype contacts in the order the screens show them: everyone reachable
// first, then SkypeOut numbers, then the offline contacts, each group by name
// in the order of the Traditional Chinese code page (Big5), ASCII letters
// without regard to case.
//
// Skype notifications write the list from one thread while screens read it
// from others, so the list has its own lock and hands out copies only.
// Turning a name into its code-page sort key is the expensive part, so it
// happens once when the name is set, outside the list's lock.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace skype {

// Index of Skype's ONLINESTATUS text in kStatusTexts.
constexpr int kStatusUnknown = 0;
constexpr int kStatusOffline = 1;
constexpr int kStatusOnline = 2;
constexpr int kStatusAway = 3;
constexpr int kStatusNotAvailable = 4;
constexpr int kStatusDoNotDisturb = 5;
constexpr int kStatusSkypeOut = 6;
constexpr int kStatusSkypeMe = 7;

constexpr const char* kStatusTexts[] = {"UNKNOWN", "OFFLINE", "ONLINE", "AWAY", "NA", "DND", "SKYPEOUT", "SKYPEME"};

// Sort keys keep 199 bytes, as a 200-byte field with its terminator would.
constexpr size_t kContactKeyBytes = 199;

struct CContact {
    std::string m_strHandle;
    std::string m_strName;
    int m_nStatus = kStatusOffline;
    // m_strName in code page 950, cut to kContactKeyBytes; set with the name.
    std::string m_strSortKey;
};

// The status index of an ONLINESTATUS text (exact comparison); none for a
// text outside the table.
std::optional<int> StatusOfText(const std::string& text);

// UTF-8 text in code page 950, at most kContactKeyBytes bytes, never ending
// inside a double-byte character. Characters the code page lacks and bytes
// that are not UTF-8 each become '?'.
std::string ContactSortKey(const std::string& utf8Name);

// Compares two sort keys: bytes unsigned, ASCII letters folded to lower case
// except as the second byte of a double-byte character. <0, 0 or >0.
int CompareSortKeys(const std::string& a, const std::string& b);

// Compares two UTF-8 names by their sort keys; >0 when a sorts after b.
int CompareNames(const std::string& a, const std::string& b);

// How many names have been turned into sort keys since the program started.
uint64_t ContactNameConversions();

class CContactList {
public:
    CContactList() = default;
    CContactList(const CContactList&) = delete;
    CContactList& operator=(const CContactList&) = delete;

    std::optional<CContact> FindContact(const std::string& handle) const;
    // A text outside the status table keeps the contact's status; an unknown
    // handle is added first, named by its handle and offline.
    void UpdateContactStatus(const std::string& handle, const std::string& statusText);
    // An unknown handle is added, offline.
    void UpdateContactName(const std::string& handle, const std::string& name);
    void RemoveContact(const std::string& handle);
    size_t Count() const;
    std::optional<CContact> At(size_t index) const;
    std::vector<CContact> Snapshot() const;
    void Clear();

private:
    using Change = std::function<void(CContact&)>;

    // Applies change to the handle's record and puts it back in order; when
    // there is none, adds makeFresh()'s record with change applied.
    // makeFresh runs without the lock, as it may convert a name.
    void ChangeOrAdd(const std::string& handle, const Change& change, const std::function<CContact()>& makeFresh);
    // The rest run with m_Mutex held.
    // False when the handle is unknown.
    bool ChangeExisting(const std::string& handle, const Change& change);
    // [first, last) of the group's records in m_Order.
    std::pair<size_t, size_t> GroupRange(int group) const;
    void InsertContactSorted(CContact* record);
    size_t PositionOf(const CContact& record) const;
    // Out of m_Order only; the record stays in m_Records.
    void TakeOut(const CContact& record);

    mutable std::mutex m_Mutex;
    // Owns the records; their addresses stay put while others come and go.
    std::unordered_map<std::string, CContact> m_Records;
    // Display order. Plain pointers, so that making room for an insertion is
    // one block move even in an unoptimised build.
    std::vector<CContact*> m_Order;
};

}  // namespace skype
