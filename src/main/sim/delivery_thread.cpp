#include "main/sim/delivery_thread.h"

#include <mutex>

#include "platform/clock.h"

namespace sim {

DeliveryThread::~DeliveryThread() { Stop(); }

void DeliveryThread::Start() {
    // The clock of the world that starts the thread, taken here: by the time
    // the thread runs, another world may have installed its own.
    clock_ = &platform::CurrentClock();
    stop_ = false;
    thread_.Start("world", [this] { Run(); });
}

void DeliveryThread::Deliver(std::function<void()> action) {
    std::unique_lock<std::mutex> lock(clock_->StateMutex());
    queue_.push_back(std::move(action));
    clock_->Notify();
}

bool DeliveryThread::Done() {
    std::unique_lock<std::mutex> lock(clock_->StateMutex());
    return queue_.empty() && !busy_;
}

void DeliveryThread::Stop() {
    if (!thread_.Joinable()) return;
    {
        std::unique_lock<std::mutex> lock(clock_->StateMutex());
        stop_ = true;
        clock_->Notify();
    }
    thread_.Join();
}

void DeliveryThread::Run() {
    platform::Clock& clock = *clock_;
    for (;;) {
        std::function<void()> action;
        {
            std::unique_lock<std::mutex> lock(clock.StateMutex());
            clock.WaitUntil(lock, [this] { return stop_ || !queue_.empty(); }, platform::kInfinite);
            if (queue_.empty()) return;
            action = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }
        action();
        std::unique_lock<std::mutex> lock(clock.StateMutex());
        busy_ = false;
        clock.Notify();
    }
}

}  // namespace sim
