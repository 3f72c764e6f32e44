// One client's connection to this server process: the objects it holds, by wire id, and
// the calls it makes. Calls run on the serving thread; bytes move on the connection's own
// thread, so a client that stops reading or sending holds nothing but its own connection.
#pragma once

#include "delivery.h"
#include "pal/com/link.h"
#include "pal/com/wire.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pal::com::detail {

class ServerConnection : public wire::ObjectCodec, public std::enable_shared_from_this<ServerConnection> {
public:
    ServerConnection(link::Fd fd, std::shared_ptr<Delivery> delivery);
    ~ServerConnection() override;

    // Connections alive in this process, counted against the connection limit.
    static int live();
    // Closes the connection that has been idle the longest, when it has been idle past the idle
    // limit: every place is taken and a new client waits. False when none is.
    static bool evictLongestIdle();

    // Starts the connection's thread, which moves bytes both ways so the serving thread never
    // waits on the client. False when it cannot be started: the connection is then refused.
    bool start();

    // On the serving thread.
    void handle(const std::string& body);
    // Releases every object the client holds and closes the link; later frames are ignored.
    void drop();

    bool exportObject(IDispatch* object, std::uint64_t& id) override;
    bool importObject(std::uint64_t id, IDispatch** object) override;

private:
    struct Held {
        IDispatch* object = nullptr;
        std::uint64_t wireRefs = 0;
    };
    using Clock = std::chrono::steady_clock;

    // Queues a reply for the connection's thread; never waits for the client.
    void reply(std::string frame);
    bool onCreate(const wire::Header& h, const std::string& body);
    bool onNames(const wire::Header& h, const std::string& body);
    bool onInvoke(const wire::Header& h, const std::string& body);
    bool onRelease(const std::string& body);
    IDispatch* find(std::uint64_t id) const;

    // The connection's thread (server_connection_io.cpp).
    void run();
    void wake();
    // Sends what the client will take now; false when the link is broken. ioMutex_ held.
    bool flush();
    // A frame has been handled or dropped: its slot is free again.
    void frameDone();

    link::Fd fd_;
    link::Fd wake_; // an eventfd: replies queued, slots freed, or the link dropped
    std::shared_ptr<Delivery> delivery_;
    std::unordered_map<std::uint64_t, Held> held_;
    std::unordered_map<IDispatch*, std::uint64_t> ids_;
    std::uint64_t nextId_ = 1;
    bool dropped_ = false;
    // Objects the client holds, as the connection's thread sees them.
    std::atomic<std::size_t> heldCount_{0};
    // Since when the connection has been between frames with nothing under way (steady clock
    // ticks), 0 while it is busy; and whether it was chosen to make room.
    std::atomic<Clock::rep> idleSince_{0};
    std::atomic<bool> evicted_{false};

    // Shared between the serving thread and the connection's thread.
    std::mutex ioMutex_;
    std::deque<std::string> outbox_;
    size_t sentOfFront_ = 0;
    Clock::time_point writeDeadline_{};
    int queued_ = 0;
    bool closing_ = false;
};

} // namespace pal::com::detail
