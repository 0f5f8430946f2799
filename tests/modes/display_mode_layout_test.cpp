// The pure decisions of the display modes, as tables: which contacts the
// contact screen shows around the focus, the history's order, how the dial
// screen splits a long number, the conference call's command and the
// balance text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modes/balance_text.h"
#include "modes/conference_command.h"
#include "modes/contact_window.h"
#include "modes/dial_number_text.h"
#include "modes/history_lists.h"

namespace {

struct WindowCase {
    int count;
    int focused;
    int first;
    int last;
};

TEST(ContactWindowTest, ShowsUpToThreeContactsAroundTheFocus) {
    const WindowCase cases[] = {
        {1, 0, 0, 0},
        {2, 0, 0, 1}, {2, 1, 0, 1},
        {3, 0, 0, 2}, {3, 1, 0, 2}, {3, 2, 0, 2},
        {5, 0, 0, 2}, {5, 1, 0, 2}, {5, 2, 1, 3}, {5, 3, 2, 4}, {5, 4, 2, 4},
    };
    for (const WindowCase& c : cases) {
        const modes::ContactWindow w = modes::ContactWindowAround(c.count, c.focused);
        EXPECT_EQ(w.first, c.first) << c.count << " contacts, focus " << c.focused;
        EXPECT_EQ(w.last, c.last) << c.count << " contacts, focus " << c.focused;
    }
}

skype::CCallObject Record(const std::string& id, int32_t timestamp) {
    skype::CCallObject r(id);
    r.m_nTimestamp = timestamp;
    return r;
}

std::vector<std::string> Ids(const std::vector<skype::CCallObject>& records) {
    std::vector<std::string> ids;
    for (const auto& r : records) ids.push_back(r.m_szCallId);
    return ids;
}

TEST(HistorySortTest, NewestFirst) {
    struct Case {
        std::vector<int32_t> timestamps;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {{100, 300, 200}, {"t300", "t200", "t100"}},
        {{300, 200, 100}, {"t300", "t200", "t100"}},
        {{0, -5, 2147483647}, {"t2147483647", "t0", "t-5"}},
        {{42}, {"t42"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        std::vector<skype::CCallObject> records;
        for (int32_t t : c.timestamps) records.push_back(Record("t" + std::to_string(t), t));
        modes::SortNewestFirst(records);
        EXPECT_EQ(Ids(records), c.order);
    }
}

TEST(DialNumberTextTest, FourteenCharactersOnTheFirstLineTheRestOnTheSecond) {
    struct Case {
        std::string number;
        std::string first;
        std::string second;
    };
    const Case cases[] = {
        {"", "", ""},
        {"1", "1", ""},
        {"12345678901234", "12345678901234", ""},
        {"123456789012345", "12345678901234", "5"},
        {"+48123456789012345", "+4812345678901", "2345"},
        {"*#0123456789*#0123456789*#0123456789", "*#0123456789*#", "0123456789*#0123456789"},
    };
    for (const Case& c : cases) {
        const auto [first, second] = modes::SplitDialNumber(c.number);
        EXPECT_EQ(first, c.first) << c.number;
        EXPECT_EQ(second, c.second) << c.number;
    }
}

TEST(ConferenceCommandTest, ChosenHandlesInOrderSeparatedByCommaAndBlank) {
    struct Case {
        std::vector<std::string> handles;
        std::string command;
    };
    const Case cases[] = {
        {{}, ""},
        {{"alice"}, "CALL alice"},
        {{"alice", "carol"}, "CALL alice, carol"},
        {{"alice", "bob", "+4812345"}, "CALL alice, bob, +4812345"},
    };
    for (const Case& c : cases) EXPECT_EQ(modes::ConferenceCommand(c.handles), c.command);
}

const std::vector<std::pair<std::string, std::string>>& BalanceCases() {
    // As the C library's atof reads the text: its leading number, or 0.
    static const std::vector<std::pair<std::string, std::string>> cases = {
        {"1234", "12.34"}, {"5", "0.05"},     {"0", "0.00"},    {"", "0.00"},
        {"abc", "0.00"},   {"-250", "-2.50"}, {" 100", "1.00"}, {"+100", "1.00"},
        {"99.9", "1.00"},  {"12x", "0.12"},   {"1e4", "100.00"}, {"123456789", "1234567.89"},
    };
    return cases;
}

TEST(BalanceTextTest, HundredthsAsUnitsWithTwoDecimalsAndAPoint) {
    for (const auto& [reported, shown] : BalanceCases()) EXPECT_EQ(modes::BalanceText(reported), shown) << reported;
}

}  // namespace
