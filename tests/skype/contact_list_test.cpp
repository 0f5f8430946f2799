// The contact list: display groups, name order in code page 950 without
// regard to ASCII case, status texts, sort keys and their cost, concurrent
// readers.

#include "skype/contact_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "platform/log.h"
#include "platform/sync.h"

namespace {

using namespace skype;

int Sign(int value) { return (value > 0) - (value < 0); }

int GroupOf(int status) { return status == kStatusOffline ? 2 : status == kStatusSkypeOut ? 1 : 0; }

std::vector<std::string> Handles(const std::vector<CContact>& contacts) {
    std::vector<std::string> handles;
    for (const CContact& c : contacts) handles.push_back(c.m_strHandle);
    return handles;
}

// Groups in order and names non-decreasing within each group; every key is
// the one its name gives.
::testing::AssertionResult InDisplayOrder(const std::vector<CContact>& contacts) {
    for (size_t i = 0; i < contacts.size(); ++i) {
        if (contacts[i].m_strSortKey != ContactSortKey(contacts[i].m_strName)) {
            return ::testing::AssertionFailure() << "stale key at " << i << " (" << contacts[i].m_strHandle << ")";
        }
        if (i == 0) continue;
        const CContact& before = contacts[i - 1];
        const CContact& after = contacts[i];
        const int groupBefore = GroupOf(before.m_nStatus);
        const int groupAfter = GroupOf(after.m_nStatus);
        if (groupBefore > groupAfter ||
            (groupBefore == groupAfter && CompareNames(before.m_strName, after.m_strName) > 0)) {
            return ::testing::AssertionFailure() << before.m_strHandle << " before " << after.m_strHandle;
        }
    }
    return ::testing::AssertionSuccess();
}

// Characters and their codes in code page 950 as the code page's table
// gives them, to check the list's order against the code page's byte order.
const std::map<std::string, std::string> kBig5 = {
    {"\xE9\x99\xB3", "\xB3\xAF"},                      // chen
    {"\xE4\xB8\x80", "\xA4\x40"},                      // yi (one)
    {"\xE7\x8E\x8B", "\xA4\xFD"},                      // wang
    {"\xE5\xBC\xB5", "\xB1\x69"},                      // zhang
    {"\xE6\x9D\x8E", "\xA7\xF5"},                      // li
    {"\xE4\xB9\x99", "\xA4\x41"},                      // yi (second)
    {"\xE5\x85\x80", "\xA4\x61"},                      // wu
    {"\xE7\x8E\x8B\xE4\xB8\x80", "\xA4\xFD\xA4\x40"},  // wang yi
};

std::string Big5Bytes(const std::string& utf8) {
    const auto found = kBig5.find(utf8);
    EXPECT_NE(found, kBig5.end()) << utf8;
    return found == kBig5.end() ? std::string() : found->second;
}

TEST(ContactListOrder, LoadingGivesReachableThenSkypeOutThenOffline) {
    CContactList list;
    list.UpdateContactStatus("carol", "ONLINE");
    list.UpdateContactStatus("alice", "OFFLINE");
    list.UpdateContactStatus("bob", "ONLINE");
    list.UpdateContactStatus("dave", "SKYPEOUT");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"bob", "carol", "dave", "alice"}));
    EXPECT_EQ(list.Count(), 4u);
    ASSERT_TRUE(list.At(2).has_value());
    EXPECT_EQ(list.At(2)->m_strHandle, "dave");
    EXPECT_EQ(list.At(2)->m_strName, "dave");  // named by its handle until the name arrives
    EXPECT_FALSE(list.At(4).has_value());
}

TEST(ContactListOrder, GoingAwayMovesAnOfflineContactToItsPlaceAmongTheReachable) {
    CContactList list;
    for (const char* handle : {"bob", "dave"}) list.UpdateContactStatus(handle, "ONLINE");
    for (const char* handle : {"alice", "zed"}) list.UpdateContactStatus(handle, "OFFLINE");
    list.UpdateContactStatus("carl", "SKYPEOUT");
    list.UpdateContactStatus("alice", "AWAY");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"alice", "bob", "dave", "carl", "zed"}));
    EXPECT_EQ(list.FindContact("alice")->m_nStatus, kStatusAway);
    list.UpdateContactStatus("bob", "OFFLINE");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"alice", "dave", "carl", "bob", "zed"}));
}

TEST(ContactListOrder, NamesEqualButForCaseKeepTheOrderTheyArrivedIn) {
    CContactList list;
    list.UpdateContactName("h1", "alice");
    list.UpdateContactName("h2", "ALICE");
    list.UpdateContactName("h3", "Alice");
    list.UpdateContactName("h0", "aaron");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"h0", "h1", "h2", "h3"}));
    // Changing again puts it after its equals.
    list.UpdateContactName("h1", "aLiCe");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"h0", "h2", "h3", "h1"}));
}

TEST(ContactListStatus, EveryTableTextSetsItsIndex) {
    const std::pair<const char*, int> cases[] = {{"UNKNOWN", kStatusUnknown}, {"OFFLINE", kStatusOffline},
                                                 {"ONLINE", kStatusOnline},   {"AWAY", kStatusAway},
                                                 {"NA", kStatusNotAvailable}, {"DND", kStatusDoNotDisturb},
                                                 {"SKYPEOUT", kStatusSkypeOut}, {"SKYPEME", kStatusSkypeMe}};
    for (const auto& [text, status] : cases) {
        CContactList list;
        list.UpdateContactStatus("echo123", "AWAY");
        list.UpdateContactStatus("echo123", text);
        EXPECT_EQ(list.FindContact("echo123")->m_nStatus, status) << text;
    }
}

TEST(ContactListStatus, TextOutsideTheTableKeepsTheStatusAndIsLogged) {
    const char* outside[] = {"INVISIBLE", "online", "ONLINE ", ""};
    for (const char* text : outside) {
        platform::LogCapture log;
        CContactList list;
        list.UpdateContactStatus("known", "DND");
        list.UpdateContactStatus("known", text);
        list.UpdateContactStatus("new", text);
        EXPECT_EQ(list.FindContact("known")->m_nStatus, kStatusDoNotDisturb) << text;
        EXPECT_EQ(list.FindContact("new")->m_nStatus, kStatusOffline) << text;
        EXPECT_EQ(list.FindContact("new")->m_strName, "new");
        EXPECT_TRUE(log.ContainsFragment("unknown status")) << text;
    }
}

TEST(ContactListRecords, NameOfAnUnknownHandleAddsItOffline) {
    CContactList list;
    list.UpdateContactStatus("amy", "ONLINE");
    list.UpdateContactName("zoe.w", "Zoe W");
    const auto zoe = list.FindContact("zoe.w");
    ASSERT_TRUE(zoe.has_value());
    EXPECT_EQ(zoe->m_strName, "Zoe W");
    EXPECT_EQ(zoe->m_nStatus, kStatusOffline);
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"amy", "zoe.w"}));
    // The name stays when the status changes, and the status when the name does.
    list.UpdateContactStatus("zoe.w", "ONLINE");
    list.UpdateContactName("amy", "Zulu");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"zoe.w", "amy"}));
    EXPECT_EQ(list.FindContact("zoe.w")->m_strName, "Zoe W");
    EXPECT_EQ(list.FindContact("amy")->m_nStatus, kStatusOnline);
}

TEST(ContactListRecords, RemovingAndClearing) {
    CContactList list;
    for (const char* handle : {"a", "b", "c"}) list.UpdateContactStatus(handle, "ONLINE");
    list.RemoveContact("nobody");
    list.RemoveContact("A");  // handles compare byte for byte
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"a", "b", "c"}));
    list.RemoveContact("b");
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"a", "c"}));
    EXPECT_FALSE(list.FindContact("b").has_value());
    list.UpdateContactStatus("b", "SKYPEOUT");  // comes back as a new record
    EXPECT_EQ(Handles(list.Snapshot()), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(list.FindContact("b")->m_strName, "b");
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(list.FindContact("a").has_value());
    list.UpdateContactName("a", "x");
    EXPECT_EQ(list.Count(), 1u);
}

TEST(ContactListRecords, ANameIsConvertedOncePerChange) {
    CContactList list;
    const uint64_t start = ContactNameConversions();
    list.UpdateContactStatus("kim", "ONLINE");  // named by its handle
    EXPECT_EQ(ContactNameConversions() - start, 1u);
    list.UpdateContactStatus("kim", "AWAY");
    list.UpdateContactStatus("kim", "OFFLINE");
    EXPECT_EQ(ContactNameConversions() - start, 1u);
    list.UpdateContactName("kim", "Kim Lee");
    list.UpdateContactName("lee", "Lee Kim");
    EXPECT_EQ(ContactNameConversions() - start, 3u);
    (void)list.Snapshot();
    (void)list.FindContact("kim");
    EXPECT_EQ(ContactNameConversions() - start, 3u);
    EXPECT_EQ(list.FindContact("kim")->m_strSortKey, ContactSortKey("Kim Lee"));
}

struct NameCase {
    std::string a;
    std::string b;
    int sign;
};

TEST(CompareNames, TableOfCases) {
    const NameCase cases[] = {
        {"alice", "ALICE", 0},
        {"Bob", "alice", 1},
        {"abc", "abd", -1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"", "a", -1},
        {"Zoe", "\xE7\x8E\x8B", -1},                                // ASCII before every double-byte character
        {"\xE4\xB8\x80", "\xE4\xB9\x99", -1},                       // A440 before A441
        {"\xE4\xB9\x99", "\xE5\x85\x80", -1},                       // A441 before A461: a second byte is never folded
        {"\xE5\x87\xA1", "\xE5\xB9\xB2", -1},                       // A45A before A47A
        {"\xE7\x8E\x8B" "A", "\xE7\x8E\x8B" "a", 0},                // a letter after a double-byte character folds
        {"\xC5\x82", "?", 0},                                       // Polish l with stroke is not in the code page
        {"\xF0\x9F\x98\x80", "?", 0},                               // nor is an emoji
        {"a\xF0\x9F\x98\x80" "b", "a?B", 0},
        {"\xFF", "?", 0},                                           // not UTF-8
        {"a\xC3", "a?", 0},                                         // cut inside a character
        {"\xE4\xBD", "??", 0},
        {"\xC3(", "?(", 0},
        {std::string(1000, 'x'), std::string(199, 'X'), 0},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Sign(CompareNames(c.a, c.b)), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(CompareNames(c.b, c.a)), -c.sign) << c.b << " / " << c.a;
    }
}

TEST(CompareNames, ChineseNamesFollowTheCodePagesByteOrder) {
    std::vector<std::string> names = {"\xE9\x99\xB3",  "\xE4\xB8\x80", "\xE7\x8E\x8B", "\xE5\xBC\xB5",
                                      "\xE6\x9D\x8E",  "\xE4\xB9\x99", "\xE5\x85\x80", "\xE7\x8E\x8B\xE4\xB8\x80"};
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; });
    for (size_t i = 1; i < names.size(); ++i) {
        const std::string before = Big5Bytes(names[i - 1]);
        const std::string after = Big5Bytes(names[i]);
        EXPECT_LT(before, after) << names[i - 1] << " / " << names[i];  // std::string compares as unsigned char
        EXPECT_EQ(ContactSortKey(names[i]), after);
    }
}

TEST(CompareNames, InvalidUtf8IsLogged) {
    platform::LogCapture log;
    EXPECT_EQ(ContactSortKey("ab\xFF\xFE" "c"), "ab??c");
    EXPECT_TRUE(log.ContainsFragment("is not valid UTF-8"));
    log.Clear();
    EXPECT_EQ(ContactSortKey("\xC5\x82" "ad"), "?ad");  // valid, just missing from the code page
    EXPECT_FALSE(log.ContainsFragment("is not valid UTF-8"));
}

TEST(ContactSortKey, LongNamesAreCutAtACharacterBoundary) {
    const std::string wang = "\xE7\x8E\x8B";
    const std::string wangBig5 = Big5Bytes(wang);
    ASSERT_EQ(wangBig5.size(), 2u);
    std::string manyWang, manyWangKey;
    for (int i = 0; i < 334; ++i) manyWang += wang;  // 1002 bytes
    for (int i = 0; i < 99; ++i) manyWangKey += wangBig5;
    const std::pair<std::string, std::string> cases[] = {
        {std::string(1000, 'a'), std::string(199, 'a')},
        {std::string(199, 'a'), std::string(199, 'a')},
        {std::string(197, 'a') + wang, std::string(197, 'a') + wangBig5},
        {std::string(198, 'a') + wang, std::string(198, 'a')},  // the character would not fit whole
        {std::string(198, 'a') + "\xC5\x82", std::string(198, 'a') + "?"},
        {manyWang, manyWangKey},
    };
    for (const auto& [name, key] : cases) EXPECT_EQ(ContactSortKey(name), key) << name.size();
    // Names alike in their first 199 key bytes sort as equal.
    EXPECT_EQ(CompareNames(std::string(199, 'n') + "b", std::string(199, 'n') + "a"), 0);
}

// A reference model next to the list: after every step the list holds
// exactly the model's contacts, in display order.
TEST(ContactListOrder, RandomUpdatesKeepTheOrder) {
    const std::vector<std::string> names = {"alice", "Alice", "ALICE", "bob", "Bob Lee", "\xE7\x8E\x8B",
                                            "\xE4\xB9\x99", "\xE5\x85\x80", "\xC5\x82ukasz", "\xF0\x9F\x98\x80",
                                            "?", "", "zz", "a\xFF"};
    const std::vector<std::string> statuses = {"UNKNOWN", "OFFLINE", "ONLINE", "AWAY",     "NA",
                                               "DND",     "SKYPEOUT", "SKYPEME", "INVISIBLE"};
    std::mt19937 random(12345);
    CContactList list;
    std::map<std::string, std::pair<std::string, int>> model;  // handle -> name, status
    for (int step = 0; step < 1500; ++step) {
        const std::string handle = "user" + std::to_string(random() % 25);
        const auto op = static_cast<unsigned>(random() % 10);
        if (op < 5) {
            const std::string& text = statuses[random() % statuses.size()];
            auto [entry, added] = model.try_emplace(handle, handle, kStatusOffline);
            if (const auto status = StatusOfText(text)) entry->second.second = *status;
            list.UpdateContactStatus(handle, text);
        } else if (op < 9) {
            const std::string& name = names[random() % names.size()];
            auto [entry, added] = model.try_emplace(handle, name, kStatusOffline);
            entry->second.first = name;
            list.UpdateContactName(handle, name);
        } else {
            model.erase(handle);
            list.RemoveContact(handle);
        }
        const std::vector<CContact> contacts = list.Snapshot();
        ASSERT_TRUE(InDisplayOrder(contacts)) << "step " << step;
        ASSERT_EQ(contacts.size(), model.size()) << "step " << step;
        for (const CContact& c : contacts) {
            ASSERT_EQ(model.count(c.m_strHandle), 1u) << c.m_strHandle;
            EXPECT_EQ(model[c.m_strHandle], std::make_pair(c.m_strName, c.m_nStatus)) << c.m_strHandle;
        }
    }
}

TEST(ContactListThreads, ReadersSeeAnOrderedListWhileNotificationsArrive) {
    CContactList list;
    platform::Thread writer;
    writer.Start("skype-notifications", [&list] {
        std::mt19937 random(7);
        for (int i = 0; i < 3000; ++i) {
            const std::string handle = "h" + std::to_string(random() % 40);
            switch (random() % 4) {
                case 0: list.UpdateContactStatus(handle, kStatusTexts[random() % std::size(kStatusTexts)]); break;
                case 1: list.UpdateContactName(handle, "Name " + std::to_string(random() % 15)); break;
                case 2: list.UpdateContactName(handle, "name " + std::to_string(random() % 15)); break;
                default: list.RemoveContact(handle); break;
            }
        }
    });
    size_t snapshots = 0;
    bool finished = false;
    do {
        finished = writer.Finished();  // read before the last snapshot, so one is taken after the end
        const std::vector<CContact> contacts = list.Snapshot();
        ASSERT_TRUE(InDisplayOrder(contacts));
        // A copy is whole: its key belongs to its name.
        if (const auto first = list.At(0)) {
            EXPECT_EQ(first->m_strSortKey, ContactSortKey(first->m_strName));
        }
        EXPECT_LE(list.Count(), 40u);
        ++snapshots;
    } while (!finished);
    writer.Join();
    EXPECT_GE(snapshots, 1u);
    EXPECT_TRUE(InDisplayOrder(list.Snapshot()));
}

}  // namespace
