// What one server process grants its clients, so that no client, however it behaves, can
// freeze the user-interface thread or exhaust the process.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

namespace pal::com::detail {

struct ServerLimits {
    // Connections served at once, over every class this process serves; further ones are
    // accepted and closed at once.
    std::atomic<int> connections{64};
    // From the first byte of a frame to its last.
    std::atomic<std::int64_t> readTimeoutMs{10'000};
    // Between frames, with no call of the client's under way. A connection that holds no object
    // is closed after this long; one that holds objects only makes room for a new client when
    // every place is taken, the longest idle first.
    std::atomic<std::int64_t> idleTimeoutMs{30'000};
    // From the moment a connection has reply bytes waiting until all of them are taken: one
    // clock per connection, however many replies or partial reads fall inside it.
    std::atomic<std::int64_t> writeTimeoutMs{10'000};
    // Bytes of incoming frames held at once (being read or waiting for the serving thread),
    // over all connections: eight frames of the largest size.
    std::atomic<std::size_t> incomingBytes{32u << 20};

    // Thread starts still to be refused (simulated resource exhaustion), and the count of
    // accepts that failed for lack of resources.
    std::atomic<int> refuseThreadStarts{0};
    std::atomic<std::uint64_t> failedAccepts{0};
};

ServerLimits& serverLimits();

// Runs `body` on a new detached thread; false when no thread could be started.
bool startThread(std::function<void()> body);

// The shared allowance for incoming frame bytes.
class IncomingBudget {
public:
    // Takes `bytes` when they fit beside what is held; never more than the limit in total.
    bool tryTake(std::size_t bytes);
    void give(std::size_t bytes);
    // Whether `bytes` could ever fit, even with nothing else held.
    static bool fitsAtAll(std::size_t bytes);

private:
    std::mutex mutex_;
    std::size_t held_ = 0;
};

IncomingBudget& incomingBudget();

} // namespace pal::com::detail
