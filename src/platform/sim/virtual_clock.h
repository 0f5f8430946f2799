#pragma once
// The simulated world's clock. Virtual time moves only when the test or
// script advances it, and then only when every program thread is idle.
//
// Program threads (those started through platform::Thread while this clock is
// installed) run one at a time: a thread runs until it blocks in a wait of
// this clock, which hands the turn to the next thread whose wait is over, in
// a fixed round-robin order. When no thread can run, the world is quiescent.
// This makes every run of the same script produce the same events in the same
// order, however the real threads are scheduled.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace platform::sim {

class VirtualClock final : public Clock {
public:
    // A real machine has been up for a while when the program starts.
    static constexpr uint64_t kDefaultStartTick = 3600000;

    explicit VirtualClock(uint64_t startTick = kDefaultStartTick);
    ~VirtualClock() override;

    uint64_t GetTickCount64() override;
    LocalTime GetLocalTime() override;
    std::mutex& StateMutex() override { return mutex_; }
    bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                   uint32_t timeoutMs) override;
    void Notify() override;
    ThreadSlot* RegisterThread(const char* name) override;
    void BeginThread(ThreadSlot* slot) override;
    void EndThread(ThreadSlot* slot) override;

    // Sets the tick count (only while quiescent).
    void SetTickCount(uint64_t tick);
    // Sets the local time shown at the current tick; it moves with the ticks.
    void SetLocalTime(const LocalTime& time);

    // Called from outside the program's threads (test or script driver).
    // Waits until no program thread can run.
    void Settle();
    // Settles, then moves time forward by ms, waking each wait whose deadline
    // falls within in deadline order and settling after every step.
    void Advance(uint64_t ms);

    // Number of times a program thread was handed the turn (for wake-up counts).
    uint64_t TurnCount();
    size_t ThreadCount();

    // True when some program thread waits with a deadline, so that moving
    // time can still change something.
    bool AnyDeadline();
    // One line per program thread: its name and what it waits for, as in
    // "ui: waiting", "read: waiting until 3600125", "world: running".
    std::string DescribeThreads();

private:
    enum class State { Starting, Running, Blocked };
    struct Slot;

    Slot* SlotOfCurrentThread();
    void PassTurn();                // with mutex_ held
    Slot* PickNext();               // with mutex_ held
    bool IsRunnable(Slot* slot);    // with mutex_ held
    void WaitForQuiescence(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Slot>> slots_;
    Slot* turn_ = nullptr;  // the program thread allowed to run
    size_t lastIndex_ = 0;  // round-robin position
    std::atomic<uint64_t> now_;
    uint64_t turns_ = 0;
    // Local time shown at localTimeBaseTick_; it moves with the ticks.
    LocalTime localTimeBase_{};
    uint64_t localTimeBaseTick_ = 0;
};

}  // namespace platform::sim
