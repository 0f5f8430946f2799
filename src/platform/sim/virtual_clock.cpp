#include "platform/sim/virtual_clock.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <ctime>
#include <limits>
#include <string>
#include <thread>

namespace platform::sim {

namespace {
constexpr uint64_t kNoDeadline = std::numeric_limits<uint64_t>::max();

uint64_t DeadlineFor(uint64_t now, uint32_t timeoutMs) {
    return timeoutMs == kInfinite ? kNoDeadline : now + timeoutMs;
}

LocalTime DefaultLocalTime() {
    LocalTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 10;
    t.dayOfWeek = 4;
    t.hour = 9;
    return t;
}
}  // namespace

struct VirtualClock::Slot {
    std::string name;
    std::thread::id id{};
    State state = State::Starting;
    const std::function<bool()>* ready = nullptr;
    uint64_t deadline = kNoDeadline;
};

VirtualClock::VirtualClock(uint64_t startTick)
    : now_(startTick), localTimeBase_(DefaultLocalTime()), localTimeBaseTick_(startTick) {}

VirtualClock::~VirtualClock() { assert(slots_.empty() && "program threads still running"); }

uint64_t VirtualClock::GetTickCount64() { return now_.load(std::memory_order_acquire); }

// Calendar arithmetic with the standard library's civil calendar alone, so
// the simulated world needs no system time-zone calls.
LocalTime VirtualClock::GetLocalTime() {
    std::lock_guard<std::mutex> lock(mutex_);
    const LocalTime& base = localTimeBase_;
    const uint64_t elapsedMs = now_.load() - localTimeBaseTick_ + static_cast<uint64_t>(base.milliseconds);
    LocalTime out = CalendarTimeOf(CalendarSeconds(base) + static_cast<int64_t>(elapsedMs / 1000));
    out.milliseconds = static_cast<int>(elapsedMs % 1000);
    return out;
}

void VirtualClock::SetTickCount(uint64_t tick) {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitForQuiescence(lock);
    localTimeBaseTick_ = localTimeBaseTick_ + tick - now_.load();
    now_.store(tick);
    PassTurn();
}

void VirtualClock::SetLocalTime(const LocalTime& time) {
    std::lock_guard<std::mutex> lock(mutex_);
    localTimeBase_ = time;
    localTimeBaseTick_ = now_.load();
}

VirtualClock::Slot* VirtualClock::SlotOfCurrentThread() {
    const auto me = std::this_thread::get_id();
    for (auto& slot : slots_) {
        if (slot->id == me) return slot.get();
    }
    return nullptr;
}

bool VirtualClock::WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                             uint32_t timeoutMs) {
    const uint64_t deadline = DeadlineFor(now_.load(), timeoutMs);
    Slot* me = SlotOfCurrentThread();
    if (me == nullptr) {
        // A thread outside the program (test, script driver) waits plainly;
        // time moves only through Advance.
        changed_.wait(lock, [&] { return ready() || now_.load() >= deadline; });
        return ready();
    }
    if (ready()) return true;
    if (now_.load() >= deadline) return false;
    me->state = State::Blocked;
    me->ready = &ready;
    me->deadline = deadline;
    PassTurn();
    changed_.wait(lock, [&] { return turn_ == me; });
    me->state = State::Running;
    me->ready = nullptr;
    me->deadline = kNoDeadline;
    return ready();
}

void VirtualClock::Notify() {
    changed_.notify_all();
    // A change from outside the program may let a program thread run.
    if (turn_ == nullptr) PassTurn();
}

bool VirtualClock::IsRunnable(Slot* slot) {
    switch (slot->state) {
        case State::Starting:
            return true;
        case State::Blocked:
            return (*slot->ready)() || now_.load() >= slot->deadline;
        case State::Running:
            return false;
    }
    return false;
}

VirtualClock::Slot* VirtualClock::PickNext() {
    const size_t n = slots_.size();
    for (size_t k = 1; k <= n; ++k) {
        const size_t index = (lastIndex_ + k) % n;
        Slot* slot = slots_[index].get();
        if (IsRunnable(slot)) {
            lastIndex_ = index;
            return slot;
        }
    }
    return nullptr;
}

void VirtualClock::PassTurn() {
    turn_ = PickNext();
    if (turn_ != nullptr) ++turns_;
    changed_.notify_all();
}

ThreadSlot* VirtualClock::RegisterThread(const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto slot = std::make_unique<Slot>();
    slot->name = name ? name : "";
    Slot* raw = slot.get();
    slots_.push_back(std::move(slot));
    if (turn_ == nullptr) PassTurn();
    return reinterpret_cast<ThreadSlot*>(raw);
}

void VirtualClock::BeginThread(ThreadSlot* handle) {
    Slot* slot = reinterpret_cast<Slot*>(handle);
    std::unique_lock<std::mutex> lock(mutex_);
    slot->id = std::this_thread::get_id();
    changed_.wait(lock, [&] { return turn_ == slot; });
    slot->state = State::Running;
}

void VirtualClock::EndThread(ThreadSlot* handle) {
    Slot* slot = reinterpret_cast<Slot*>(handle);
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(slots_.begin(), slots_.end(), [&](const auto& s) { return s.get() == slot; });
    assert(it != slots_.end());
    const size_t index = static_cast<size_t>(it - slots_.begin());
    slots_.erase(it);
    if (index <= lastIndex_ && lastIndex_ > 0) --lastIndex_;
    if (turn_ == slot || turn_ == nullptr) PassTurn();
    changed_.notify_all();
}

void VirtualClock::WaitForQuiescence(std::unique_lock<std::mutex>& lock) {
    if (turn_ == nullptr) PassTurn();
    changed_.wait(lock, [&] { return turn_ == nullptr; });
}

void VirtualClock::Settle() {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitForQuiescence(lock);
}

void VirtualClock::Advance(uint64_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t target = now_.load() + ms;
    for (;;) {
        WaitForQuiescence(lock);
        uint64_t next = kNoDeadline;
        for (auto& slot : slots_) {
            if (slot->state == State::Blocked) next = std::min(next, slot->deadline);
        }
        if (next > target) break;
        now_.store(std::max(next, now_.load()));
        PassTurn();
    }
    now_.store(target);
    WaitForQuiescence(lock);
}

uint64_t VirtualClock::TurnCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return turns_;
}

size_t VirtualClock::ThreadCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return slots_.size();
}

bool VirtualClock::AnyDeadline() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(slots_.begin(), slots_.end(), [](const auto& slot) {
        return slot->state == State::Blocked && slot->deadline != kNoDeadline;
    });
}

std::string VirtualClock::DescribeThreads() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    for (const auto& slot : slots_) {
        out += slot->name + ": ";
        if (slot->state == State::Starting) {
            out += "starting";
        } else if (slot->state == State::Running) {
            out += "running";
        } else if (slot->deadline == kNoDeadline) {
            out += "waiting";
        } else {
            out += "waiting until " + std::to_string(slot->deadline);
        }
        out += '\n';
    }
    return out;
}

}  // namespace platform::sim
