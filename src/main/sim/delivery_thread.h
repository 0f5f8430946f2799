#pragma once
// The outside world's actions (plugging the handset, Skype's messages, clicks
// on the tray icon) run on a thread of the simulated world, one after the
// other in the order given. An action that has to wait for the program, such
// as a device notification the user-interface thread takes only after a lock
// that another thread holds across a pause, then waits as a program thread
// does: visibly to the virtual clock, so time can still move and the script
// that asked for it goes on.

#include <cstddef>
#include <deque>
#include <functional>

#include "platform/clock.h"
#include "platform/sync.h"

namespace sim {

class DeliveryThread {
public:
    DeliveryThread() = default;
    ~DeliveryThread();
    DeliveryThread(const DeliveryThread&) = delete;
    DeliveryThread& operator=(const DeliveryThread&) = delete;

    // Starts the thread; the virtual clock must be installed.
    void Start();
    // Queues an action; it runs after every action queued before it.
    void Deliver(std::function<void()> action);
    // True when every queued action has run to its end.
    bool Done();
    // Lets the queued actions finish, then ends the thread.
    void Stop();

private:
    void Run();

    platform::Clock* clock_ = nullptr;
    std::deque<std::function<void()>> queue_;  // guarded by the clock's state mutex
    bool busy_ = false;
    bool stop_ = false;
    platform::Thread thread_;
};

}  // namespace sim
