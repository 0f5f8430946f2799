// Scripts whose outside actions meet a program thread in the middle of a
// pause: the plug notification while the read thread holds the handset lock
// across its 25 ms pause, Skype quitting while the user-interface thread
// sleeps in the attach handler. Each must run to its end, whatever the
// offset, and a world that can make no progress must say so, not hang.

#include <gtest/gtest.h>

#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "main/sim/script.h"
#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"
#include "platform/clock.h"

namespace {

struct ScriptRun {
    int status = -1;
    std::vector<std::string> lines;
    std::string errors;
};

ScriptRun RunScript(const std::string& script) {
    sim::SimWorld world(sim::SimWorld::Options{});
    std::ostringstream errors;
    sim::ScriptRunner runner(world, errors);
    ScriptRun run;
    run.status = runner.Run(sim::ParseScript(script));
    run.lines = world.Log().Lines();
    run.errors = errors.str();
    return run;
}

int Count(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines) n += line.find(text) != std::string::npos ? 1 : 0;
    return n;
}

TEST(ScriptProgressTest, HandsetPluggedInAfterTheStart) {
    const ScriptRun run = RunScript(
        "skype start\nstart\nwait 500\nhandset plug\nwait 500\nhandset press 240\nwait 500\n"
        "handset key KEY_7\nwait 500\nexit\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Count(run.lines, "handset-cmd CMD_DEVICE_START"), 1);
    EXPECT_GE(Count(run.lines, "key 7"), 1);
}

TEST(ScriptProgressTest, HandsetPluggedInAgainAtAnyOffsetAfterThePull) {
    for (int offset = 975; offset <= 1025; ++offset) {
        SCOPED_TRACE(offset);
        const ScriptRun run = RunScript("handset plug\nskype start\nstart\nhandset press 240\nwait 1000\n"
                                  "handset unplug\nwait " + std::to_string(offset) +
                                  "\nhandset plug\nwait 500\nhandset press 240\nwait 500\n"
                                  "handset key KEY_7\nwait 500\nexit\n");
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(Count(run.lines, "handset-cmd CMD_DEVICE_START"), 2);
        EXPECT_GE(Count(run.lines, "key 7"), 1) << "the handset works again";
    }
}

TEST(ScriptProgressTest, SkypeQuitsOrTheProgramIsAskedToQuitRightAfterTheAttach) {
    for (const char* quit : {"skype quit", "quit-message"}) {
        for (int offset = 0; offset <= 60; offset += 5) {
            SCOPED_TRACE(std::string(quit) + " after " + std::to_string(offset) + " ms");
            const ScriptRun run = RunScript("handset plug\nskype start\nstart\nhandset press 240\nwait " +
                                      std::to_string(offset) + "\n" + quit + "\nwait 4000\nexit\n");
            ASSERT_EQ(run.status, 0) << run.errors;
            if (std::string(quit) == "quit-message") {
                EXPECT_EQ(Count(run.lines, " exit 0"), 1);
            }
        }
    }
}

TEST(ScriptProgressTest, ADeliveryThatCanNeverEndIsReportedNotWaitedFor) {
    sim::SimWorld world(sim::SimWorld::Options{});
    platform::Clock& clock = world.Clock();
    bool release = false;  // guarded by the clock's state mutex
    world.Deliver([&] {
        std::unique_lock<std::mutex> lock(clock.StateMutex());
        clock.WaitUntil(lock, [&] { return release; }, platform::kInfinite);
    });
    std::string problem;
    EXPECT_FALSE(world.FinishDeliveries(problem));
    EXPECT_NE(problem.find("no progress"), std::string::npos) << problem;
    EXPECT_NE(problem.find("world: waiting\n"), std::string::npos) << problem;
    {
        std::unique_lock<std::mutex> lock(clock.StateMutex());
        release = true;
        clock.Notify();
    }
    EXPECT_TRUE(world.FinishDeliveries(problem));
}

}  // namespace
