#include "skype/contact_list.h"

#include <algorithm>
#include <atomic>

#include "platform/log.h"
#include "platform/text_codec.h"

namespace skype {

namespace {

std::atomic<uint64_t> g_nameConversions{0};

bool IsBig5Lead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Reads a key byte by byte for comparison: ASCII capitals fold, except as the
// second byte of a double-byte character, where they belong to its code.
class KeyReader {
public:
    explicit KeyReader(const std::string& key) : m_Key(key) {}
    bool AtEnd() const { return m_Index >= m_Key.size(); }
    unsigned char Next() {
        const auto byte = static_cast<unsigned char>(m_Key[m_Index++]);
        const bool isTrail = m_TrailNext;
        m_TrailNext = !isTrail && IsBig5Lead(byte);
        if (!isTrail && byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte - 'A' + 'a');
        return byte;
    }

private:
    const std::string& m_Key;
    size_t m_Index = 0;
    bool m_TrailNext = false;
};

// Display groups in order: reachable, SkypeOut, offline.
int GroupOf(int status) {
    if (status == kStatusSkypeOut) return 1;
    if (status == kStatusOffline) return 2;
    return 0;
}

CContact NewContact(const std::string& handle) {
    CContact contact;
    contact.m_strHandle = handle;
    contact.m_nStatus = kStatusOffline;
    return contact;
}

}  // namespace

std::optional<int> StatusOfText(const std::string& text) {
    for (int i = 0; i < static_cast<int>(std::size(kStatusTexts)); ++i) {
        if (text == kStatusTexts[i]) return i;
    }
    return std::nullopt;
}

std::string ContactSortKey(const std::string& utf8Name) {
    g_nameConversions.fetch_add(1, std::memory_order_relaxed);
    platform::TextCodec& codec = platform::CurrentTextCodec();
    const platform::DecodedText wide = codec.ToWide(platform::CodePage::Utf8, utf8Name);
    if (wide.replaced) {
        platform::LogA("Contact name of %zu bytes is not valid UTF-8; its bad bytes sort as '?'\n", utf8Name.size());
    }
    // A character the code page lacks, and each bad byte, sorts as its
    // default character '?'.
    return codec.FromWide(platform::CodePage::TraditionalChinese, wide.text, kContactKeyBytes).bytes;
}

int CompareSortKeys(const std::string& a, const std::string& b) {
    KeyReader left(a);
    KeyReader right(b);
    while (!left.AtEnd() && !right.AtEnd()) {
        const unsigned char x = left.Next();
        const unsigned char y = right.Next();
        if (x != y) return x < y ? -1 : 1;
    }
    if (left.AtEnd() && right.AtEnd()) return 0;
    return left.AtEnd() ? -1 : 1;
}

int CompareNames(const std::string& a, const std::string& b) {
    return CompareSortKeys(ContactSortKey(a), ContactSortKey(b));
}

uint64_t ContactNameConversions() { return g_nameConversions.load(std::memory_order_relaxed); }

std::optional<CContact> CContactList::FindContact(const std::string& handle) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const auto found = m_Records.find(handle);
    if (found == m_Records.end()) return std::nullopt;
    return found->second;
}

void CContactList::UpdateContactStatus(const std::string& handle, const std::string& statusText) {
    const std::optional<int> status = StatusOfText(statusText);
    if (!status) {
        platform::LogA("UpdateContactStatus: unknown status \"%.32s\" of %.64s; status kept\n", statusText.c_str(),
                       handle.c_str());
    }
    ChangeOrAdd(
        handle,
        [status](CContact& contact) {
            if (status) contact.m_nStatus = *status;
        },
        [&handle] {
            CContact contact = NewContact(handle);
            contact.m_strName = handle;
            contact.m_strSortKey = ContactSortKey(handle);
            return contact;
        });
}

void CContactList::UpdateContactName(const std::string& handle, const std::string& name) {
    const std::string key = ContactSortKey(name);
    ChangeOrAdd(
        handle,
        [&name, &key](CContact& contact) {
            contact.m_strName = name;
            contact.m_strSortKey = key;
        },
        [&handle] { return NewContact(handle); });
}

void CContactList::RemoveContact(const std::string& handle) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const auto found = m_Records.find(handle);
    if (found == m_Records.end()) return;
    TakeOut(found->second);
    m_Records.erase(found);
}

size_t CContactList::Count() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Order.size();
}

std::optional<CContact> CContactList::At(size_t index) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (index >= m_Order.size()) return std::nullopt;
    return *m_Order[index];
}

std::vector<CContact> CContactList::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    std::vector<CContact> copy;
    copy.reserve(m_Order.size());
    for (const CContact* record : m_Order) copy.push_back(*record);
    return copy;
}

void CContactList::Clear() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Order.clear();
    m_Records.clear();
}

void CContactList::ChangeOrAdd(const std::string& handle, const Change& change,
                               const std::function<CContact()>& makeFresh) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (ChangeExisting(handle, change)) return;
    }
    CContact fresh = makeFresh();
    change(fresh);
    std::lock_guard<std::mutex> lock(m_Mutex);
    // Another writer may have added the handle while the name was converted.
    if (ChangeExisting(handle, change)) return;
    CContact& added = m_Records.emplace(handle, std::move(fresh)).first->second;
    InsertContactSorted(&added);
}

bool CContactList::ChangeExisting(const std::string& handle, const Change& change) {
    const auto found = m_Records.find(handle);
    if (found == m_Records.end()) return false;
    CContact& record = found->second;
    TakeOut(record);
    change(record);
    InsertContactSorted(&record);
    return true;
}

std::pair<size_t, size_t> CContactList::GroupRange(int group) const {
    const auto groupBelow = [](int limit) {
        return [limit](const CContact* record) { return GroupOf(record->m_nStatus) < limit; };
    };
    const auto first = std::partition_point(m_Order.begin(), m_Order.end(), groupBelow(group));
    const auto last = std::partition_point(first, m_Order.end(), groupBelow(group + 1));
    return {static_cast<size_t>(first - m_Order.begin()), static_cast<size_t>(last - m_Order.begin())};
}

void CContactList::InsertContactSorted(CContact* record) {
    const auto [first, last] = GroupRange(GroupOf(record->m_nStatus));
    // After every equal name, so a contact that changes goes below its peers.
    const auto at = std::upper_bound(m_Order.begin() + static_cast<ptrdiff_t>(first),
                                     m_Order.begin() + static_cast<ptrdiff_t>(last), record,
                                     [](const CContact* added, const CContact* present) {
                                         return CompareSortKeys(added->m_strSortKey, present->m_strSortKey) < 0;
                                     });
    m_Order.insert(at, record);
}

size_t CContactList::PositionOf(const CContact& record) const {
    const auto [first, last] = GroupRange(GroupOf(record.m_nStatus));
    auto at = std::lower_bound(m_Order.begin() + static_cast<ptrdiff_t>(first),
                               m_Order.begin() + static_cast<ptrdiff_t>(last), &record,
                               [](const CContact* present, const CContact* wanted) {
                                   return CompareSortKeys(present->m_strSortKey, wanted->m_strSortKey) < 0;
                               });
    // Among equal names the record is found by identity.
    while (at != m_Order.end() && *at != &record) ++at;
    return static_cast<size_t>(at - m_Order.begin());
}

void CContactList::TakeOut(const CContact& record) {
    const size_t position = PositionOf(record);
    if (position < m_Order.size()) m_Order.erase(m_Order.begin() + static_cast<ptrdiff_t>(position));
}

}  // namespace skype
