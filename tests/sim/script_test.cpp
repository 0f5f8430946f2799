// The script language's words and comments.

#include "main/sim/script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

TEST(ScriptTest, CommentsStartOnlyAtTheLineStartOrAfterABlank) {
    struct Case {
        std::string line;
        Words words;
    };
    const Case cases[] = {
        {"# a whole-line comment", {}},
        {"   # indented comment", {}},
        {"wait 100   # a trailing comment", {"wait", "100"}},
        {"wait 100\t# after a tab", {"wait", "100"}},
        {"skype notify #111 PONG", {"skype", "notify"}},
        {"skype notify \\#111 PONG", {"skype", "notify", "#111", "PONG"}},
        {"skype notify \"#111\" PONG", {"skype", "notify", "#111", "PONG"}},
        {"skype notify a#b c# #d", {"skype", "notify", "a#b", "c#"}},
        {"skype call-in 7 alice \"Alice Liddell\"", {"skype", "call-in", "7", "alice", "Alice Liddell"}},
        {"skype notify say \\\"hi\\\"", {"skype", "notify", "say", "\"hi\""}},
        {"skype notify back\\slash", {"skype", "notify", "back\\slash"}},
        {"wait 100\r", {"wait", "100"}},
        {"\"\"", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto lines = sim::ParseScript(c.line + "\n");
        EXPECT_EQ(lines.empty() ? Words{} : lines[0].words, c.words);
    }
}

TEST(ScriptTest, LinesKeepTheirNumbersPastCommentsAndBlanks) {
    const auto lines = sim::ParseScript("# head\n\nstart\n   \nwait 5 # five\nexit");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[1].number, 5);
    EXPECT_EQ(lines[2].number, 6);
    EXPECT_EQ(lines[2].words, Words{"exit"});
}

}  // namespace
