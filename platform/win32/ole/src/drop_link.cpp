#include "drop_link.h"

#include "clipboard_store.h"
#include "drop_session.h"
#include "medium.h"

#include "pal/com/link.h"
#include "pal/sandbox.h"
#include "win/user.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;
namespace wire_link = pal::com::link;

namespace pal::ole {
namespace {

enum class Kind : std::uint8_t { Move = 1, Drop = 2, Leave = 3 };

struct Request {
    Kind kind = Kind::Move;
    POINT point{};
    DWORD keys = 0;
    DWORD ok = 0;
    std::int64_t slot = 0;
};

struct Reply {
    bool here = false;
    DWORD effect = DROPEFFECT_NONE;
};

constexpr size_t kRequestBytes = 1 + 4 + 4 + 4 + 4 + 8;
constexpr size_t kReplyBytes = 1 + 4;
constexpr int kReplyTimeoutSeconds = 10;

void put(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint64_t take(std::string_view in, size_t& at, int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += static_cast<size_t>(bytes);
    return v;
}

std::string frame(const std::string& body) {
    std::string out;
    put(out, body.size(), 4);
    return out + body;
}

std::string encode(const Request& r) {
    std::string b;
    put(b, static_cast<std::uint8_t>(r.kind), 1);
    put(b, static_cast<std::uint32_t>(r.point.x), 4);
    put(b, static_cast<std::uint32_t>(r.point.y), 4);
    put(b, r.keys, 4);
    put(b, r.ok, 4);
    put(b, static_cast<std::uint64_t>(r.slot), 8);
    return frame(b);
}

bool decode(std::string_view body, Request& r) {
    if (body.size() != kRequestBytes)
        return false;
    size_t at = 0;
    const auto kind = static_cast<std::uint8_t>(take(body, at, 1));
    if (kind < 1 || kind > 3)
        return false;
    r.kind = static_cast<Kind>(kind);
    r.point.x = static_cast<LONG>(static_cast<std::uint32_t>(take(body, at, 4)));
    r.point.y = static_cast<LONG>(static_cast<std::uint32_t>(take(body, at, 4)));
    r.keys = static_cast<DWORD>(take(body, at, 4));
    r.ok = static_cast<DWORD>(take(body, at, 4));
    r.slot = static_cast<std::int64_t>(take(body, at, 8));
    return true;
}

std::string encode(const Reply& r) {
    std::string b;
    put(b, r.here ? 1 : 0, 1);
    put(b, r.effect, 4);
    return frame(b);
}

bool decode(std::string_view body, Reply& r) {
    if (body.size() != kReplyBytes)
        return false;
    size_t at = 0;
    r.here = take(body, at, 1) != 0;
    r.effect = static_cast<DWORD>(take(body, at, 4));
    return true;
}

fs::path socketOf(pid_t pid) {
    return pal::sandbox::runDir() / ("drop-" + std::to_string(pid));
}

// Work for the serving thread, run by its message loop (and every modal loop inside it).
constexpr UINT kRunWork = WM_USER + 1;
constexpr wchar_t kDeliveryClass[] = L"DVDropLink";

LRESULT deliveryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWork) {
        std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
        (*work)();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND newDeliveryWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = deliveryProc;
    wc.lpszClassName = kDeliveryClass;
    RegisterClassExW(&wc); // already registered after the first time
    return CreateWindowExW(0, kDeliveryClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// One drag that another program brings here; touched only on the serving thread.
struct Visit {
    std::int64_t slot = -1;
    std::unique_ptr<DropSession> session;

    Reply handle(const Request& r) {
        Reply reply;
        if (!session || slot != r.slot) {
            session.reset();
            Ref<IDataObject> data(newStoredDataObject(r.slot));
            session = std::make_unique<DropSession>(data.get());
            slot = r.slot;
        }
        switch (r.kind) {
        case Kind::Move:
            reply.here = session->step(r.point, r.keys, r.ok, reply.effect);
            break;
        case Kind::Drop:
            reply.effect = session->drop(r.point, r.keys, r.ok);
            reply.here = true;
            break;
        case Kind::Leave:
            session->leave();
            break;
        }
        return reply;
    }
};

class Server {
public:
    void listen() {
        std::lock_guard lock(mutex_);
        if (!IsWindow(delivery_))
            delivery_ = newDeliveryWindow();
        const fs::path path = socketOf(::getpid());
        if (listener_ && path == path_)
            return;
        stop();
        wire_link::Fd fd = wire_link::listenAt(path);
        if (!fd)
            return;
        path_ = path;
        listener_ = std::make_shared<wire_link::Fd>(std::move(fd));
        std::thread([this, listener = listener_] { acceptLoop(listener); }).detach();
    }

private:
    void stop() {
        if (!listener_)
            return;
        ::shutdown(listener_->get(), SHUT_RDWR);
        ::unlink(path_.c_str());
        listener_.reset();
    }

    void acceptLoop(std::shared_ptr<wire_link::Fd> listener) {
        for (;;) {
            bool refused = false;
            wire_link::Fd client = wire_link::acceptFrom(listener->get(), refused);
            if (client) {
                std::thread([this, c = std::make_shared<wire_link::Fd>(std::move(client))] {
                    serve(*c);
                }).detach();
            } else if (!refused && errno != EINTR && errno != ECONNABORTED) {
                return; // shut down
            }
        }
    }

    // Runs `work` on the serving thread and waits for it; false when it could not run there.
    bool runThere(const std::function<void()>& work) {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> finished = done->get_future();
        auto* boxed = new std::function<void()>([work, done] {
            work();
            done->set_value();
        });
        HWND target;
        {
            std::lock_guard lock(mutex_);
            target = delivery_;
        }
        if (!PostMessageW(target, kRunWork, 0, reinterpret_cast<LPARAM>(boxed))) {
            delete boxed;
            return false;
        }
        return finished.wait_for(std::chrono::seconds(kReplyTimeoutSeconds)) == std::future_status::ready;
    }

    void serve(wire_link::Fd& fd) {
        auto visit = std::make_shared<Visit>();
        std::string body;
        while (wire_link::readFrame(fd.get(), body) == wire_link::ReadResult::Frame) {
            Request request;
            if (!decode(body, request))
                break;
            // The work may outlive a wait that timed out, so it owns what it touches.
            auto reply = std::make_shared<Reply>();
            if (!runThere([visit, request, reply] { *reply = visit->handle(request); }))
                *reply = Reply{};
            if (!wire_link::sendAll(fd.get(), encode(*reply)))
                break;
        }
        // The drag has ended or its program has gone: whatever it was over is left.
        runThere([visit] { visit->session.reset(); });
    }

    std::mutex mutex_;
    HWND delivery_ = nullptr;
    fs::path path_;
    std::shared_ptr<wire_link::Fd> listener_;
};

Server& server() {
    static Server* s = new Server;
    return *s;
}

} // namespace

void listenForDrops() {
    server().listen();
}

struct RemoteDrag::Peer {
    wire_link::Fd fd;
    bool alive = true;

    std::optional<Reply> ask(const Request& r) {
        if (!alive)
            return std::nullopt;
        std::string body;
        Reply reply;
        if (wire_link::sendAll(fd.get(), encode(r)) &&
            wire_link::readFrame(fd.get(), body) == wire_link::ReadResult::Frame && decode(body, reply))
            return reply;
        alive = false;
        return std::nullopt;
    }
};

RemoteDrag::RemoteDrag(IDataObject* data) : data_(data) {}

RemoteDrag::~RemoteDrag() {
    leave();
    peers_.clear();
    if (slot_ >= 0)
        ClipboardStore::instance().dropSlot(slot_);
}

bool RemoteDrag::prepare() {
    if (prepared_)
        return !peers_.empty();
    prepared_ = true;
    std::vector<fs::path> sockets;
    std::error_code ec;
    const fs::path own = socketOf(::getpid());
    for (const auto& entry : fs::directory_iterator(pal::sandbox::runDir(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("drop-", 0) == 0 && entry.path() != own)
            sockets.push_back(entry.path());
    }
    std::sort(sockets.begin(), sockets.end());
    for (const fs::path& s : sockets) {
        wire_link::Fd fd = wire_link::connectTo(s);
        if (!fd)
            continue;
        timeval timeout{kReplyTimeoutSeconds, 0};
        ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        auto peer = std::make_unique<Peer>();
        peer->fd = std::move(fd);
        peers_.push_back(std::move(peer));
    }
    if (peers_.empty())
        return false;
    slot_ = ClipboardStore::instance().newSlot();
    if (slot_ < 0 || renderInto(slot_, data_) < 0) {
        peers_.clear();
        return false;
    }
    return true;
}

bool RemoteDrag::step(POINT point, DWORD keys, DWORD ok, DWORD& effect) {
    effect = DROPEFFECT_NONE;
    if (!prepare())
        return false;
    for (auto& peer : peers_) {
        const std::optional<Reply> reply = peer->ask(Request{Kind::Move, point, keys, ok, slot_});
        if (!reply || !reply->here)
            continue;
        if (active_ && active_ != peer.get())
            active_->ask(Request{Kind::Leave, point, keys, ok, slot_});
        active_ = peer.get();
        effect = reply->effect & ok;
        return true;
    }
    leave();
    return false;
}

DWORD RemoteDrag::drop(POINT point, DWORD keys, DWORD ok) {
    Peer* peer = std::exchange(active_, nullptr);
    if (!peer)
        return DROPEFFECT_NONE;
    const std::optional<Reply> reply = peer->ask(Request{Kind::Drop, point, keys, ok, slot_});
    return reply ? reply->effect & ok : DROPEFFECT_NONE;
}

void RemoteDrag::leave() {
    if (Peer* peer = std::exchange(active_, nullptr))
        peer->ask(Request{Kind::Leave, POINT{}, 0, 0, slot_});
}

} // namespace pal::ole
