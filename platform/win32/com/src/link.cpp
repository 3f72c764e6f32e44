#include "pal/com/link.h"

#include "pal/com/wire.h"
#include "pal/sandbox.h"
#include "pal/text.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::com::link {
namespace {

// Binding or connecting needs the path in sockaddr_un; a long sandbox path goes through the
// folder's descriptor so its length never matters.
class Address {
public:
    explicit Address(const fs::path& path) {
        std::memset(&addr_, 0, sizeof addr_);
        addr_.sun_family = AF_UNIX;
        std::string p = path.string();
        if (p.size() >= sizeof addr_.sun_path) {
            dir_ = ::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (dir_ < 0)
                return;
            p = "/proc/self/fd/" + std::to_string(dir_) + "/" + path.filename().string();
        }
        valid_ = p.size() < sizeof addr_.sun_path;
        if (valid_)
            std::memcpy(addr_.sun_path, p.c_str(), p.size() + 1);
    }
    ~Address() {
        if (dir_ >= 0)
            ::close(dir_);
    }
    bool valid() const { return valid_; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr_); }
    socklen_t size() const { return sizeof addr_; }

private:
    sockaddr_un addr_;
    int dir_ = -1;
    bool valid_ = false;
};

int newSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

bool checkPeer(int fd) {
    const auto peer = peerOf(fd);
    return peer && peerAllowed(*peer, ::geteuid());
}

bool readAll(int fd, char* to, size_t n, bool& closedAtStart) {
    size_t got = 0;
    closedAtStart = false;
    while (got < n) {
        const ssize_t r = ::recv(fd, to + got, n - got, 0);
        if (r > 0) {
            got += static_cast<size_t>(r);
        } else if (r == 0) {
            closedAtStart = got == 0;
            return false;
        } else if (errno != EINTR) {
            closedAtStart = got == 0;
            return false;
        }
    }
    return true;
}

} // namespace

bool peerAllowed(const PeerCredential& peer, uid_t self) {
    return peer.uid == self;
}

std::optional<PeerCredential> peerOf(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred)
        return std::nullopt;
    return PeerCredential{cred.pid, cred.uid, cred.gid};
}

fs::path classSocketPath(REFCLSID clsid) {
    const fs::path dir = pal::sandbox::runDir();
    // The run folder holds live endpoints of this user only.
    ::chmod(dir.c_str(), 0700);
    return dir / ("com-" + pal::text::toUtf8(pal::com::guidToString(clsid)));
}

void Fd::reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

Fd listenAt(const fs::path& path) {
    // A connectable socket at the path is a live server; anything else there is stale.
    if (Fd probe = connectTo(path)) {
        errno = EADDRINUSE;
        return {};
    }
    static std::atomic<unsigned> serial{0};
    const fs::path temp = path.parent_path() / (".new-" + std::to_string(::getpid()) + "-" +
                                                std::to_string(serial++) + "-" + path.filename().string());
    Fd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    Address addr(temp);
    if (!s || !addr.valid()) {
        errno = ENAMETOOLONG;
        return {};
    }
    ::unlink(temp.c_str());
    if (::bind(s.get(), addr.get(), addr.size()) != 0)
        return {};
    if (::chmod(temp.c_str(), 0600) != 0 || ::listen(s.get(), 64) != 0 ||
        ::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        errno = e;
        return {};
    }
    return s;
}

Fd connectTo(const fs::path& path) {
    Address addr(path);
    if (!addr.valid())
        return {};
    Fd s(newSocket());
    if (!s)
        return {};
    int r;
    do {
        r = ::connect(s.get(), addr.get(), addr.size());
    } while (r != 0 && errno == EINTR);
    if (r != 0 || !checkPeer(s.get()))
        return {};
    return s;
}

Fd acceptFrom(int listener, bool& refused) {
    refused = false;
    Fd c(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
    if (!c)
        return {};
    if (!checkPeer(c.get())) {
        refused = true;
        return {};
    }
    return c;
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t w = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(w));
    }
    return true;
}

ReadResult readFrame(int fd, std::string& body) {
    unsigned char prefix[4];
    bool closedAtStart = false;
    if (!readAll(fd, reinterpret_cast<char*>(prefix), 4, closedAtStart))
        return closedAtStart ? ReadResult::Closed : ReadResult::Malformed;
    const auto length = wire::frameLength(prefix);
    if (!length)
        return ReadResult::Malformed;
    body.resize(*length);
    if (!readAll(fd, body.data(), *length, closedAtStart))
        return ReadResult::Malformed;
    return ReadResult::Frame;
}

} // namespace pal::com::link
