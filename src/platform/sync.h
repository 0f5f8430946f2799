#pragma once
// Locks, events and threads built on the clock port, so that every wait is
// visible to the simulated world.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/clock.h"

namespace platform {

// A re-entrant lock with the semantics of a critical section.
class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();
    bool IsHeldByCurrentThread();

private:
    std::thread::id owner_{};
    int depth_ = 0;
};

class Guard {
public:
    explicit Guard(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~Guard() { cs_.Leave(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    CriticalSection& cs_;
};

// An auto-reset event: Set wakes one Wait (or the next one).
class Event {
public:
    void Set();
    void Reset();
    // Returns true when the event was set, false on timeout.
    bool Wait(uint32_t timeoutMs);

private:
    bool signalled_ = false;
};

// A joinable program thread. The body runs as a registered thread of the
// current clock.
class Thread {
public:
    Thread() = default;
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Start(const char* name, std::function<void()> body);
    // Waits for the body to return. Safe to call when not started.
    void Join();
    bool Joinable() const { return thread_.joinable(); }
    // True once the body has returned (false when never started).
    bool Finished();

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace platform
