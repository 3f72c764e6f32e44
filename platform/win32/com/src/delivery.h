// Server work reaches the thread that registered a class through that thread's message
// queue, so server objects never run on a reader thread.
#pragma once

#include <functional>
#include <memory>

namespace pal::com::detail {

class Delivery {
public:
    virtual ~Delivery() = default;
    // Queues `work` to run on the owning thread. False when that thread takes no more work;
    // the work is then dropped. Work still queued when the thread ends is destroyed unrun.
    virtual bool post(std::function<void()> work) = 0;
    // Runs `work` on the owning thread as it ends, while `owner` is still alive then: what a
    // connection holds of the thread's objects is released there, not left for work that can no
    // longer run. False when the thread has ended already.
    virtual bool atEnd(std::weak_ptr<void> owner, std::function<void()> work) = 0;
};

// The delivery to the calling thread, made on first use and kept for the thread's life.
std::shared_ptr<Delivery> deliveryForThisThread();

} // namespace pal::com::detail
