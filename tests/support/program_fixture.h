#pragma once
// Runs the whole companion in the simulated world for one test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "main/sim/script_runner.h"
#include "main/sim/sim_world.h"
#include "modes/mode_machine.h"

namespace testing_support {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { world_ = std::make_unique<sim::SimWorld>(sim::SimWorld::Options::WithLogLines()); }
    void TearDown() override { world_.reset(); }

    sim::SimWorld& World() { return *world_; }
    world::VirtualHandset& Handset() { return world_->Handset(); }

    // Plugs the handset, starts the program and lets the handset report its
    // start, as a real one does once it is ready.
    void StartWithStartedHandset() {
        Handset().Plug(World().Bus());
        World().Start();
        Handset().Press(240);
        World().Advance(100);
    }

    // Presses hardware code `code`, holds it `holdMs`, releases, then lets
    // the key reach its mode.
    void PressAndRelease(uint8_t code, uint64_t holdMs = 100) {
        Handset().Press(code);
        World().Advance(holdMs);
        Handset().Release();
        World().Advance(100);
    }

    // Presses the key that the default key map gives `keyName` (as
    // "KEY_HOOKUP"), holds it, releases it and lets it reach its mode.
    void PressKey(const std::string& keyName, uint64_t holdMs = 100) {
        const int code = sim::DefaultCodeForKey(keyName);
        ASSERT_NE(code, 0) << keyName;
        PressAndRelease(static_cast<uint8_t>(code), holdMs);
    }

    // The lines of a channel added after the first `from` of them.
    std::vector<std::string> Since(const std::string& name, size_t from) {
        const auto all = Channel(name);
        if (from >= all.size()) return {};
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    }

    // Switches mode from the test while every program thread is idle, as a
    // Skype notification would.
    void SwitchModeNow(unsigned mode) {
        World().Settle();
        modes::SwitchMode(mode);
        World().Settle();
    }

    std::vector<std::string> Channel(const std::string& name) { return world_->Log().Channel(name); }
    std::vector<std::string> Lines() { return world_->Log().Lines(); }
    // Lines of one channel with their times, e.g. "1300 key 101".
    std::vector<std::string> Timed(const std::string& name) {
        std::vector<std::string> out;
        for (const std::string& line : Lines()) {
            const size_t space = line.find(' ');
            if (line.compare(space + 1, name.size() + 1, name + " ") == 0) out.push_back(line);
        }
        return out;
    }
    bool Logged(const std::string& text) {
        for (const std::string& t : Channel("log")) {
            if (t == text) return true;
        }
        return false;
    }
    int CountOf(const std::string& channel, const std::string& text) {
        int n = 0;
        for (const std::string& t : Channel(channel)) n += t == text ? 1 : 0;
        return n;
    }

private:
    std::unique_ptr<sim::SimWorld> world_;
};

}  // namespace testing_support
