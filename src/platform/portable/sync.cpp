#include "platform/sync.h"

#include <cassert>

namespace platform {

void CriticalSection::Enter() {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    const auto me = std::this_thread::get_id();
    clock.WaitUntil(lock, [&] { return depth_ == 0 || owner_ == me; }, kInfinite);
    owner_ = me;
    ++depth_;
}

void CriticalSection::Leave() {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    assert(depth_ > 0 && owner_ == std::this_thread::get_id());
    if (--depth_ == 0) {
        owner_ = std::thread::id{};
        clock.Notify();
    }
}

bool CriticalSection::IsHeldByCurrentThread() {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}

void Event::Set() {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    signalled_ = true;
    clock.Notify();
}

void Event::Reset() {
    std::unique_lock<std::mutex> lock(CurrentClock().StateMutex());
    signalled_ = false;
}

bool Event::Wait(uint32_t timeoutMs) {
    Clock& clock = CurrentClock();
    std::unique_lock<std::mutex> lock(clock.StateMutex());
    if (!clock.WaitUntil(lock, [&] { return signalled_; }, timeoutMs)) return false;
    signalled_ = false;
    return true;
}

struct Thread::State {
    std::function<void()> body;
    ThreadSlot* slot = nullptr;
    Clock* clock = nullptr;
    bool done = false;  // guarded by the clock's state mutex
};

Thread::~Thread() { Join(); }

void Thread::Start(const char* name, std::function<void()> body) {
    Join();
    state_ = std::make_shared<State>();
    state_->body = std::move(body);
    state_->clock = &CurrentClock();
    state_->slot = state_->clock->RegisterThread(name);
    auto state = state_;
    thread_ = std::thread([state] {
        state->clock->BeginThread(state->slot);
        state->body();
        {
            std::unique_lock<std::mutex> lock(state->clock->StateMutex());
            state->done = true;
            state->clock->Notify();
        }
        state->clock->EndThread(state->slot);
    });
}

bool Thread::Finished() {
    if (!state_) return false;
    std::unique_lock<std::mutex> lock(state_->clock->StateMutex());
    return state_->done;
}

void Thread::Join() {
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    {
        // Waiting through the clock keeps a joining program thread visible
        // as blocked to the simulated world.
        Clock& clock = *state_->clock;
        std::unique_lock<std::mutex> lock(clock.StateMutex());
        auto state = state_;
        clock.WaitUntil(lock, [state] { return state->done; }, kInfinite);
    }
    thread_.join();
}

}  // namespace platform
