// Mode switches made at the same moment by two real threads, as the
// key-event, Skype receive and user-interface threads do (the simulated
// world runs one thread at a time, so only real threads overlap them). The
// handset must hear each ringing start and stop exactly once per switch and
// in strict turn, and end in the state of the mode last entered. The clock
// lets any pause pass at once.

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "app/corvane_app.h"
#include "common/settings.h"
#include "handset/handset_device.h"
#include "modes/mode_machine.h"
#include "platform/backends.h"
#include "platform/sim/virtual_hid_bus.h"
#include "support/instant_clock.h"
#include "world/virtual_handset.h"

namespace {

using namespace modes;

const std::string kEnteredRinging = "entered MODE_RINGING";
const std::string kEnteredMain = "entered MODE_MAIN";

// One shared record, in the order things happened, of the modes entered and
// of the ringing commands the handset received.
class SwitchRecord : public ModeObserver {
public:
    void OnModeChanged(int mode) override {
        if (mode == MODE_RINGING) Add(kEnteredRinging);
        if (mode == MODE_MAIN) Add(kEnteredMain);
    }
    void OnKeyDispatched(unsigned) override {}
    void OnHandsetEvent(const world::HandsetEvent& event) {
        const auto* command = std::get_if<world::HandsetCommand>(&event);
        if (!command) return;
        if (command->name == "CMD_STATUS_ALERT" || command->name == "CMD_STATUS_IDLE" ||
            command->name == "CMD_RING_STOP") {
            Add(command->name);
        }
    }
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::move(entries_);
    }

private:
    void Add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back(entry);
    }
    std::mutex mutex_;
    std::vector<std::string> entries_;
};

// Lets the threads go together. Not std::latch: the MinGW build's standard
// library waits on it through a waiter pool that can miss the last arrival
// and hang the test under Wine.
class StartGate {
public:
    explicit StartGate(int expected) : waiting_(expected) {}
    void ArriveAndWait() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (--waiting_ == 0) {
            open_.notify_all();
            return;
        }
        open_.wait(lock, [this] { return waiting_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable open_;
    int waiting_;
};

class ModeSwitchRaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        backends_.emplace(platform::Backends{.clock = &clock_, .hidHost = &bus_});
        app::ResetProcessState();
        handset_.Plug(bus_);
        ASSERT_TRUE(handset::WriteDeviceFirst());
        // Without a display the screens draw nothing, so the switches
        // themselves are what the threads spend their time on.
        common::g_Settings.VAL_ENABLE_LCM = 0;
        SwitchMode(MODE_MAIN);
        SetModeObserver(&record_);
        handset_.SetEventListener([this](const world::HandsetEvent& e) { record_.OnHandsetEvent(e); });
    }
    void TearDown() override {
        handset_.SetEventListener(nullptr);
        SetModeObserver(nullptr);
        app::ResetProcessState();
        backends_.reset();
    }

    testsupport::InstantClock clock_;
    platform::sim::VirtualHidBus bus_;
    world::VirtualHandset handset_;
    SwitchRecord record_;
    std::optional<platform::ScopedBackends> backends_;
};

TEST_F(ModeSwitchRaceTest, EverySwitchLeavesAndEntersOnceInTurn) {
    constexpr int kThreads = 3;
    constexpr int kRoundsPerThread = 3000;
    StartGate start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            start.ArriveAndWait();
            for (int i = 0; i < kRoundsPerThread; ++i) {
                SwitchMode(MODE_RINGING);
                SwitchMode(MODE_MAIN);
            }
        });
    }
    for (auto& t : threads) t.join();

    // Entering ringing alerts the handset; leaving it sets the handset idle
    // and stops the ring, before the main mode is entered.
    const std::vector<std::string> cycle = {kEnteredRinging, "CMD_STATUS_ALERT", "CMD_STATUS_IDLE",
                                            "CMD_RING_STOP", kEnteredMain};
    const std::vector<std::string> seen = record_.Take();
    ASSERT_FALSE(seen.empty());
    for (size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(seen[i], cycle[i % cycle.size()]) << "entry " << i << " of " << seen.size();
    }
    // Every switch of each thread ends with its switch back to the main mode.
    EXPECT_EQ(seen.size() % cycle.size(), 0u) << "the handset is left in the middle of a switch";
    EXPECT_EQ(g_ModeState.m_CurrMode, MODE_MAIN);
    EXPECT_EQ(g_ModeState.m_PrevMode, MODE_RINGING);
}

}  // namespace
