// Call records and the two call lists: fixed fields, filters, rotation,
// conferences and the clock texts.

#include "skype/call_list.h"

#include <gtest/gtest.h>

#include "platform/backends.h"
#include "platform/log.h"
#include "platform/sim/virtual_clock.h"
#include "platform/sync.h"

#include <cstdlib>
#include <cstring>

namespace {

using namespace skype;

CCallObject Call(const std::string& id, int32_t type, const std::string& status, const std::string& conf = "") {
    CCallObject c(id);
    c.m_nType = type;
    CopyField(c.m_szStatus, status);
    CopyField(c.m_szConfId, conf);
    return c;
}

std::vector<std::string> Ids(const std::vector<CCallObject>& calls) {
    std::vector<std::string> ids;
    for (const auto& c : calls) ids.emplace_back(c.m_szCallId);
    return ids;
}

TEST(CallFields, LongTextIsCutAtACharacterBoundaryAndTerminated) {
    struct Case {
        std::string text;
        size_t kept;
    };
    const std::string euro = "\xE2\x82\xAC";  // three bytes
    const Case cases[] = {{"", 0},
                          {std::string(299, 'a'), 299},
                          {std::string(300, 'a'), 299},
                          {std::string(1000, 'a'), 299},
                          {std::string(298, 'a') + euro, 298},  // the euro sign would not fit whole
                          {std::string(296, 'a') + euro, 299}};
    for (const Case& c : cases) {
        CCallObject record;
        CopyField(record.m_szPartnerName, c.text);
        EXPECT_EQ(std::strlen(record.m_szPartnerName), c.kept);
        EXPECT_EQ(std::string(record.m_szPartnerName), c.text.substr(0, c.kept));
    }
}

TEST(CallFields, NumbersAndTypesFromText) {
    EXPECT_EQ(LeadingInt("1700000000"), 1700000000);
    EXPECT_EQ(LeadingInt("42abc"), 42);
    EXPECT_EQ(LeadingInt("-7"), -7);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(std::string(1000, '9')), 2147483647);
    EXPECT_EQ(CallTypeOfText("INCOMING_PSTN"), E_TYPE_INCOMING_PSTN);
    EXPECT_EQ(CallTypeOfText("OUTGOING_P2P"), E_TYPE_OUTGOING_P2P);
    EXPECT_EQ(CallTypeOfText("INCOMING"), E_TYPE_INCOMING);
    EXPECT_EQ(CallTypeOfText("incoming_pstn"), E_TYPE_UNKNOWN);
    EXPECT_EQ(CallTypeOfText("INCOMING_PSTN "), E_TYPE_UNKNOWN);
}

TEST(CallList, FiltersFollowTypeAndStatus) {
    CCallList list;
    list.AddCallObject(Call("1", E_TYPE_INCOMING_PSTN, "FINISHED"));
    list.AddCallObject(Call("2", E_TYPE_INCOMING_P2P, "MISSED"));
    list.AddCallObject(Call("3", E_TYPE_UNKNOWN, "MISSED"));  // its type never arrived
    list.AddCallObject(Call("4", E_TYPE_OUTGOING_PSTN, "MISSED"));
    list.AddCallObject(Call("5", E_TYPE_OUTGOING_P2P, "FINISHED"));
    list.AddCallObject(Call("6", E_TYPE_INCOMING, "PLAYED"));
    list.AddCallObject(Call("7", E_TYPE_INCOMING, "DELETING"));
    list.AddCallObject(Call("8", E_TYPE_UNKNOWN, "FINISHED"));
    EXPECT_EQ(Ids(list.GetIncomingCallList()), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Ids(list.GetOutgoingCallList()), (std::vector<std::string>{"4", "5"}));
    EXPECT_EQ(Ids(list.GetMissedCallList()), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(Ids(list.GetVoiceMailList()), (std::vector<std::string>{"6"}));
}

TEST(CallList, OutgoingFilterLogsEveryRecordItWalks) {
    CCallList list;
    list.AddCallObject(Call("a", E_TYPE_INCOMING_PSTN, ""));
    list.AddCallObject(Call("b", E_TYPE_OUTGOING_P2P, ""));
    list.AddCallObject(Call("c", E_TYPE_UNKNOWN, ""));
    platform::LogCapture log;
    EXPECT_EQ(list.GetOutgoingCallList().size(), 1u);
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"GetOutgoingCallList: 1: type=0, CallID=a",
                                                     "GetOutgoingCallList: 2: type=3, CallID=b",
                                                     "GetOutgoingCallList: 3: type=-1, CallID=c"}));
}

TEST(CallList, FindOrAddAndModifyCallType) {
    CCallList list;
    platform::LogCapture log;
    list.ModifyCallType("77", "OUTGOING_PSTN");
    list.ModifyCallType("77", "VIDEO");
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.FindCall("77")->m_nType, E_TYPE_UNKNOWN);
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"****ModifyCallType: CallID=77, Type=OUTGOING_PSTN****",
                                                     "Set Call Type to E_TYPE_OUTGOING_PSTN",
                                                     "****ModifyCallType: CallID=77, Type=VIDEO****",
                                                     "Set Call Type to E_TYPE_UNKNOWN"}));
    list.FindOrAddCall("78", [](CCallObject& c) { c.m_nDuration = 5; });
    EXPECT_EQ(list.FindCall("78")->m_nDuration, 5);
    EXPECT_EQ(list.FindCall("78")->m_nType, E_TYPE_UNKNOWN);
}

TEST(CallList, DeleteLogsOnlyWhenSomethingWasRemoved) {
    CCallList all;
    CCurrCallList current;
    all.AddCallObject(CCallObject("1"));
    all.AddCallObject(CCallObject("1"));  // callers check; the list does not
    current.AddCallObject(CCallObject("1"));
    platform::LogCapture log;
    all.DeleteCallObject("9");
    EXPECT_TRUE(log.Texts().empty());
    all.DeleteCallObject("1");
    current.DeleteCallObject("1");
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"CCallList::DeleteCallObject", "CCurrCallList::DeleteCallObject"}));
    EXPECT_EQ(all.Count(), 1u);
}

TEST(CurrCallList, RotateAndLastCall) {
    CCurrCallList list;
    EXPECT_FALSE(list.GetLastCall().has_value());
    list.AddCallObject(CCallObject("A"));
    list.RotateCalls();
    EXPECT_EQ(Ids(list.Snapshot()), std::vector<std::string>{"A"});
    list.AddCallObject(CCallObject("B"));
    list.AddCallObject(CCallObject("C"));
    list.RotateCalls();
    EXPECT_EQ(Ids(list.Snapshot()), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_STREQ(list.GetLastCall()->m_szCallId, "A");
    EXPECT_FALSE(list.GetCallAt(3).has_value());
    EXPECT_STREQ(list.GetCallAt(0)->m_szCallId, "B");
    EXPECT_FALSE(list.UpdateCall("Z", [](CCallObject&) {}));
}

TEST(CallList, CollectConferenceCopiesMembersInOrder) {
    CCallList all;
    CCurrCallList conference;
    conference.AddCallObject(CCallObject("stale"));
    all.AddCallObject(Call("1", E_TYPE_OUTGOING_P2P, "", "55"));
    all.AddCallObject(Call("2", E_TYPE_OUTGOING_P2P, "", "0"));
    all.AddCallObject(Call("3", E_TYPE_OUTGOING_P2P, "", "55"));
    all.CollectConference("55", conference);
    EXPECT_EQ(Ids(conference.Snapshot()), (std::vector<std::string>{"1", "3"}));
    all.CollectConference("99", conference);
    EXPECT_EQ(conference.Count(), 0u);
}

TEST(CallList, ReadersGetCopiesWhileAnotherThreadChangesTheList) {
    CCallList list;
    platform::Thread writer;
    writer.Start("writer", [&] {
        for (int i = 0; i < 2000; ++i) {
            list.FindOrAddCall(std::to_string(i % 50), [i](CCallObject& c) { c.m_nDuration = i; });
            if (i % 7 == 0) list.DeleteCallObject(std::to_string(i % 50));
        }
    });
    // Every copy a reader gets is a whole record, never one half-written.
    for (int i = 0; i < 200; ++i) {
        const auto snapshot = list.Snapshot();
        EXPECT_LE(snapshot.size(), 50u);
        for (const CCallObject& c : snapshot) {
            EXPECT_LT(std::atoi(c.m_szCallId), 50);
            EXPECT_GE(c.m_nDuration, 0);
        }
    }
    writer.Join();
    EXPECT_LE(list.Count(), 50u);
}

TEST(ClockTexts, FollowTheClockPort) {
    platform::sim::VirtualClock clock;
    platform::LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = 9;
    t.minute = 5;
    clock.SetLocalTime(t);
    platform::ScopedBackends backends({.clock = &clock});
    EXPECT_EQ(GetTimeText(), "09:05");
    EXPECT_EQ(GetDateText(), "2026/03/07");
}

}  // namespace

namespace {

TEST(CallList, OverlongIdFindsTheRecordItMade) {
    skype::CCallList list;
    const std::string id(1000, '7');
    list.FindOrAddCall(id, [](skype::CCallObject& c) { c.m_nDuration = 1; });
    list.FindOrAddCall(id, [](skype::CCallObject& c) { c.m_nDuration = 2; });
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.HasCall(id), 1);
    list.DeleteCallObject(id);
    EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
