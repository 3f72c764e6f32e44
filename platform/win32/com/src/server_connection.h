// One client's connection to this server process: the objects it holds, by wire id, and
// the calls it makes. Everything but the constructor runs on the serving thread.
#pragma once

#include "delivery.h"
#include "pal/com/link.h"
#include "pal/com/wire.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pal::com::detail {

class ServerConnection : public wire::ObjectCodec, public std::enable_shared_from_this<ServerConnection> {
public:
    ServerConnection(link::Fd fd, std::shared_ptr<Delivery> delivery);
    ~ServerConnection() override;

    // Starts the reader thread that hands each frame to the serving thread.
    void start();

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

    bool reply(const std::string& frame);
    bool onCreate(const wire::Header& h, const std::string& body);
    bool onNames(const wire::Header& h, const std::string& body);
    bool onInvoke(const wire::Header& h, const std::string& body);
    bool onRelease(const std::string& body);
    IDispatch* find(std::uint64_t id) const;
    // The reader's side of the queue to the serving thread: a frame waits for room before it
    // is handed over, and gives its room back once it has been handled or dropped.
    void waitForRoom();
    void frameDone();

    link::Fd fd_;
    std::shared_ptr<Delivery> delivery_;
    std::unordered_map<std::uint64_t, Held> held_;
    std::unordered_map<IDispatch*, std::uint64_t> ids_;
    std::uint64_t nextId_ = 1;
    bool dropped_ = false;

    std::mutex queueMutex_;
    std::condition_variable queueRoom_;
    int queued_ = 0;
};

} // namespace pal::com::detail
