// The connection's own thread: reads frames as the client sends them and writes replies as
// the client takes them. Neither side of the client's behaviour reaches the serving thread:
// it only queues replies here, and a client that stops reading, or stalls inside a frame, is
// cut off by this thread alone after its own limit.
#include "server_connection.h"
#include "server_limits.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace pal::com::detail {
namespace {

// Frames of one client waiting for the serving thread. A client waits for each reply, so a
// busy server holds only a few; more would let a client that keeps sending fill the memory.
constexpr int kMaxQueuedFrames = 4;
// How soon a frame waiting for room in the shared allowance looks again.
constexpr auto kRoomRetry = std::chrono::milliseconds(20);

std::atomic<int> gLive{0};

// Every connection started, for the listener to find the longest idle when all places are taken.
struct Started {
    std::mutex mutex;
    std::vector<std::weak_ptr<ServerConnection>> connections;
};
Started& started() {
    static Started* s = new Started; // reader threads may outlive static destruction
    return *s;
}

std::chrono::milliseconds limit(const std::atomic<std::int64_t>& ms) {
    return std::chrono::milliseconds(ms.load());
}

// The body of an announced frame, whose bytes count against the shared allowance until the
// last holder lets go of it.
std::shared_ptr<std::string> reserveBody(std::uint32_t length) {
    if (!incomingBudget().tryTake(length))
        return nullptr;
    return std::shared_ptr<std::string>(new std::string(length, '\0'), [length](std::string* body) {
        delete body;
        incomingBudget().give(length);
    });
}

// Milliseconds to wait for `until`, rounded up so a wait never ends just short of it.
int millisUntil(std::chrono::steady_clock::time_point until, std::chrono::steady_clock::time_point now) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, 60'000));
}

} // namespace

ServerConnection::ServerConnection(link::Fd fd, std::shared_ptr<Delivery> delivery)
    : fd_(std::move(fd)), delivery_(std::move(delivery)) {
    ++gLive;
}

ServerConnection::~ServerConnection() {
    --gLive;
}

int ServerConnection::live() {
    return gLive.load();
}

bool ServerConnection::start() {
    wake_ = link::Fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake_)
        return false;
    // The serving thread may end before this link does: its objects are released there then.
    if (!delivery_->atEnd(weak_from_this(), [this] { drop(); }))
        return false;
    idleSince_ = Clock::now().time_since_epoch().count();
    if (!startThread([self = shared_from_this()] { self->run(); }))
        return false;
    auto& s = started();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.connections, [](const std::weak_ptr<ServerConnection>& c) { return c.expired(); });
    s.connections.push_back(weak_from_this());
    return true;
}

bool ServerConnection::evictLongestIdle() {
    const auto now = Clock::now();
    const auto latest = (now - limit(serverLimits().idleTimeoutMs)).time_since_epoch().count();
    std::shared_ptr<ServerConnection> oldest;
    Clock::rep oldestSince = 0;
    {
        auto& s = started();
        std::lock_guard lock(s.mutex);
        for (const auto& weak : s.connections) {
            auto c = weak.lock();
            const Clock::rep since = c ? c->idleSince_.load() : 0;
            if (!c || c->evicted_ || since == 0 || since > latest)
                continue;
            if (!oldest || since < oldestSince) {
                oldest = std::move(c);
                oldestSince = since;
            }
        }
    }
    if (!oldest)
        return false;
    oldest->evicted_ = true;
    oldest->wake();
    return true;
}

void ServerConnection::wake() {
    if (wake_) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(wake_.get(), &one, sizeof one);
    }
}

void ServerConnection::reply(std::string frame) {
    {
        std::lock_guard lock(ioMutex_);
        if (closing_)
            return;
        if (outbox_.empty())
            writeDeadline_ = Clock::now() + limit(serverLimits().writeTimeoutMs);
        outbox_.push_back(std::move(frame));
        // Most replies leave at once; only what the client has no room for waits.
        flush();
        if (outbox_.empty())
            return;
    }
    wake();
}

bool ServerConnection::flush() {
    while (!outbox_.empty()) {
        const std::string& front = outbox_.front();
        const ssize_t n = ::send(fd_.get(), front.data() + sentOfFront_, front.size() - sentOfFront_,
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        sentOfFront_ += static_cast<size_t>(n);
        if (sentOfFront_ == front.size()) {
            outbox_.pop_front();
            sentOfFront_ = 0;
        }
    }
    return true;
}

void ServerConnection::frameDone() {
    {
        std::lock_guard lock(ioMutex_);
        // Idle from the moment the last call is answered, not from whenever this connection's
        // own thread next runs: on a loaded machine that can come after other clients' calls,
        // and the longest idle would be chosen out of order.
        if (--queued_ == 0 && outbox_.empty())
            idleSince_ = Clock::now().time_since_epoch().count();
    }
    wake();
}

void ServerConnection::run() {
    auto& limits = serverLimits();
    unsigned char prefix[4];
    size_t prefixGot = 0;
    std::uint32_t announced = 0;
    std::shared_ptr<std::string> body; // set once the announced length has room
    size_t bodyGot = 0;
    Clock::time_point readDeadline{};

    for (;;) {
        bool sending = false, slotFree = false;
        Clock::time_point writeDeadline{};
        {
            std::lock_guard lock(ioMutex_);
            if (closing_)
                return; // dropped on the serving thread, which has released everything
            if (!flush())
                break;
            sending = !outbox_.empty();
            writeDeadline = writeDeadline_;
            slotFree = queued_ < kMaxQueuedFrames;
        }
        const bool announcedWhole = prefixGot == sizeof prefix;
        const auto now = Clock::now();
        if (evicted_)
            break; // made room for a new client after idling the longest
        if (announcedWhole && !body && (body = reserveBody(announced))) {
            bodyGot = 0;
            readDeadline = now + limit(limits.readTimeoutMs);
        }
        // Waiting for room in the allowance is the server's wait, not a stalled client.
        const bool waitingForRoom = announcedWhole && !body;
        const bool inFrame = prefixGot > 0 && !waitingForRoom;
        if (sending && now >= writeDeadline)
            break; // the client has not taken its replies in time
        if (inFrame && now >= readDeadline)
            break; // the client announced a frame and stalled inside it
        // Idle: between frames, no reply waiting, no call of this client's queued or running.
        // Judged under the lock frameDone takes, so its stamp is never overwritten by a stale look.
        bool idle = prefixGot == 0;
        {
            std::lock_guard lock(ioMutex_);
            idle = idle && outbox_.empty() && queued_ == 0;
            if (!idle)
                idleSince_ = 0;
            else if (idleSince_ == 0)
                idleSince_ = now.time_since_epoch().count();
        }
        const auto idleDeadline =
            Clock::time_point(Clock::duration(idleSince_.load())) + limit(limits.idleTimeoutMs);
        const bool idleBounded = idle && heldCount_ == 0;
        if (idleBounded && now >= idleDeadline)
            break; // a client that holds nothing and asks nothing holds no place for long

        if (body && bodyGot == body->size()) {
            {
                std::lock_guard lock(ioMutex_);
                ++queued_;
            }
            // Gives the slot back however the work ends. Work destroyed unrun (its serving
            // thread ended first) also ends the link: no reply to it will ever come.
            auto ran = std::make_shared<bool>(false);
            std::shared_ptr<void> slot(nullptr, [self = shared_from_this(), ran](void*) {
                if (!*ran)
                    ::shutdown(self->fd_.get(), SHUT_RDWR);
                self->frameDone();
            });
            const bool posted =
                delivery_->post([self = shared_from_this(), slot, ran, frame = std::move(body)] {
                    *ran = true;
                    self->handle(*frame);
                });
            prefixGot = 0;
            body.reset();
            if (!posted)
                break;
            continue;
        }

        // A new frame is started only when the last replies are gone and a slot is free.
        const bool reading = inFrame || (prefixGot == 0 && slotFree && !sending);
        const short events = static_cast<short>((reading ? POLLIN : 0) | (sending ? POLLOUT : 0));
        int timeout = -1;
        auto within = [&timeout](int ms) { timeout = timeout < 0 ? ms : std::min(timeout, ms); };
        if (sending)
            within(millisUntil(writeDeadline, now));
        if (inFrame)
            within(millisUntil(readDeadline, now));
        if (waitingForRoom)
            within(static_cast<int>(kRoomRetry.count()));
        if (idleBounded)
            within(millisUntil(idleDeadline, now));
        // Nothing wanted from the socket: leave it out, or its hang-up would wake us for nothing.
        pollfd fds[2] = {{wake_.get(), POLLIN, 0}, {events ? fd_.get() : -1, events, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t n;
            [[maybe_unused]] auto r = ::read(wake_.get(), &n, sizeof n);
        }
        if (!reading || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;

        char* to = body ? body->data() + bodyGot : reinterpret_cast<char*>(prefix) + prefixGot;
        const size_t want = body ? body->size() - bodyGot : sizeof prefix - prefixGot;
        const ssize_t got = ::recv(fd_.get(), to, want, MSG_DONTWAIT);
        if (got == 0)
            break; // the client has gone, between frames or inside one
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            break;
        }
        if (body) {
            bodyGot += static_cast<size_t>(got);
            continue;
        }
        if (prefixGot == 0)
            readDeadline = Clock::now() + limit(limits.readTimeoutMs);
        prefixGot += static_cast<size_t>(got);
        if (prefixGot == sizeof prefix) {
            const auto length = wire::frameLength(prefix);
            // Over the cap, or more than the whole allowance could ever hold: never read.
            if (!length || !IncomingBudget::fitsAtAll(*length))
                break;
            announced = *length;
        }
    }
    // The client learns at once that its link is over; its objects go on the serving thread.
    ::shutdown(fd_.get(), SHUT_RDWR);
    delivery_->post([self = shared_from_this()] { self->drop(); });
}

} // namespace pal::com::detail
