// The example scripts shipped in examples/: each runs to its end, twice to
// the same transcript, matches the expected transcript stored beside it
// (scripts/update-golden.sh writes those after a deliberate change), and the
// typical call shows its story in order.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"

namespace {

namespace fs = std::filesystem;

struct ScriptRun {
    int status = -1;
    std::vector<std::string> lines;
    std::string errors;
};

ScriptRun RunScript(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    ScriptRun run;
    sim::SimWorld world(sim::SimWorld::Options::WithLogLines());
    std::ostringstream errors;
    sim::ScriptRunner runner(world, errors);
    run.status = runner.Run(sim::ParseScript(text.str()));
    run.lines = world.Log().Lines();
    run.errors = errors.str();
    return run;
}

std::vector<fs::path> Examples() {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(fs::path(CORVANE_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() == ".txt") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(ExampleScriptsTest, EachRunsToItsEndAndRepeatsExactly) {
    const auto examples = Examples();
    ASSERT_FALSE(examples.empty());
    for (const fs::path& path : examples) {
        const ScriptRun first = RunScript(path);
        EXPECT_EQ(first.status, 0) << path.filename() << ": " << first.errors;
        EXPECT_TRUE(first.lines == RunScript(path).lines) << path.filename() << " differs between runs";
    }
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Names the first line where the run leaves the expected transcript, so a
// failure shows what changed rather than two thousand lines.
::testing::AssertionResult SameTranscript(const std::vector<std::string>& expected,
                                          const std::vector<std::string>& actual) {
    const size_t common = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < common; ++i) {
        if (expected[i] != actual[i]) {
            return ::testing::AssertionFailure() << "line " << i + 1 << "\n  expected: " << expected[i]
                                                 << "\n  actual:   " << actual[i];
        }
    }
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure() << "expected " << expected.size() << " lines, got " << actual.size()
                                             << "; first extra: "
                                             << (expected.size() > actual.size() ? expected[common] : actual[common]);
    }
    return ::testing::AssertionSuccess();
}

class GoldenTranscriptTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(GoldenTranscriptTest, MatchesTheExpectedTranscript) {
    const fs::path script = GetParam();
    fs::path expectedPath = script;
    expectedPath.replace_extension(".expected");
    ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath << " is missing: run scripts/update-golden.sh";
    const ScriptRun run = RunScript(script);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(SameTranscript(ReadLines(expectedPath), run.lines))
        << script.filename() << " (scripts/update-golden.sh regenerates after a deliberate change)";
}

INSTANTIATE_TEST_SUITE_P(Examples, GoldenTranscriptTest, ::testing::ValuesIn(Examples()),
                         [](const ::testing::TestParamInfo<fs::path>& param) {
                             std::string name = param.param.stem().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Finds the texts, in order, each in a line after the previous one's.
::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& texts) {
    size_t at = 0;
    for (const std::string& text : texts) {
        while (at < lines.size() && lines[at].find(text) == std::string::npos) ++at;
        if (at == lines.size()) return ::testing::AssertionFailure() << "\"" << text << "\" not found in order";
        ++at;
    }
    return ::testing::AssertionSuccess();
}

TEST(ExampleScriptsTest, TypicalCallTellsItsStoryInOrder) {
    const ScriptRun run = RunScript(fs::path(CORVANE_SOURCE_DIR) / "examples" / "typical-call.txt");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(InOrder(run.lines, {"mode 2 MODE_RINGING", "handset-cmd CMD_STATUS_ALERT",
                                    "skype-cmd SET WINDOWSTATE NORMAL", "1000 handset-cmd CMD_RING 4 0 0",
                                    "2000 handset-cmd CMD_RING 4 0 0", "2000 handset-cmd CMD_LIGHT_OFF",
                                    "3000 handset-cmd CMD_RING 4 0 0", "3000 handset-cmd CMD_LIGHT_ON", "key 10",
                                    "skype-cmd SET CALL 7 STATUS INPROGRESS", "handset-cmd CMD_STATUS_IDLE",
                                    "handset-cmd CMD_RING_STOP", "mode 3 MODE_TALKING", "handset-cmd CMD_STATUS_TALK",
                                    "6700 key 11", "7200 handset-cmd CMD_STATUS_IDLE",
                                    "7200 skype-cmd SET CALL 7 STATUS FINISHED", "mode 0 MODE_MAIN"}));
}

}  // namespace
