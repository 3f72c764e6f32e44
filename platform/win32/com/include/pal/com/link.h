// The stream link between an automation client and a server process: Unix-domain sockets
// under the sandbox's run/ folder, one per registered class, reachable only by the user who
// owns them (socket mode 0600, and the peer's uid checked on both ends of every connection).
#pragma once

#include "pal/visibility.h"
#include "win/com.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

DV_EXPORTS_BEGIN

namespace pal::com::link {

struct PeerCredential {
    pid_t pid = 0;
    uid_t uid = 0;
    gid_t gid = 0;
};

// Only the same user may be served or trusted as a server.
bool peerAllowed(const PeerCredential& peer, uid_t self);
// The kernel's record of who is at the other end of a connected socket.
std::optional<PeerCredential> peerOf(int fd);

// The socket file of a class: <run>/com-<class id>.
std::filesystem::path classSocketPath(REFCLSID clsid);

// A socket file descriptor, closed with its owner.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& o) noexcept : fd_(o.release()) {}
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() {
        const int f = fd_;
        fd_ = -1;
        return f;
    }
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// Binds and listens at `path` with mode 0600. The socket is prepared under a private name
// and renamed into place, so no client ever sees it with wider permissions. A file left at
// `path` by a process that has ended is replaced; a live listener there is an error
// (errno EADDRINUSE).
Fd listenAt(const std::filesystem::path& path);
// Connects to `path` and checks the server's uid; an invalid Fd when nobody listens there or
// the listener belongs to another user.
Fd connectTo(const std::filesystem::path& path);
// Accepts a connection and checks the client's uid; refused connections are closed and
// reported as an invalid Fd with `refused` set.
Fd acceptFrom(int listener, bool& refused);

// Frames (see wire.h). Writes never raise SIGPIPE.
bool sendAll(int fd, std::string_view bytes);
enum class ReadResult { Frame, Closed, Malformed };
// Reads one frame body. An announced length over the cap is Malformed and nothing of it is
// allocated.
ReadResult readFrame(int fd, std::string& body);

} // namespace pal::com::link

DV_EXPORTS_END
