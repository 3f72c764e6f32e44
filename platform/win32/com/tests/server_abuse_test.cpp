// The automation server against clients that misbehave: too many of them, ones that stop
// reading, ones that stall inside a frame, and a process out of threads or descriptors. The
// server runs on a thread of this process, so its limits can be shortened and its resources
// exhausted on purpose; the clients speak raw frames over the real socket.
#include "test_objects.h"

#include "pal/com/link.h"
#include "pal/com/wire.h"
#include "pal/test/com_hooks.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "win/com.h"
#include "win/user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace pal::com;
using namespace std::chrono_literals;
using comtest::Call;
using comtest::TableObject;
using pal::test::eventually;
using Clock = std::chrono::steady_clock;

constexpr CLSID kClass = {0x5EC0B001, 0x2A9E, 0x4C11, {0x9D, 0x31, 0x6A, 0x22, 0x10, 0x0C, 0x0D, 0x10}};
enum : DISPID { kEcho = 1, kHold = 2, kBig = 3 };

// How long a client waits for any one reply before it counts the server as stuck.
constexpr int kReplyWaitSeconds = 3;

// Keeps the serving thread inside a call until the test lets it go.
class Gate {
public:
    void hold() {
        std::unique_lock lock(mutex_);
        holding_ = true;
        open_.wait_for(lock, 10s, [this] { return opened_; });
        holding_ = false;
    }
    void open() {
        {
            std::lock_guard lock(mutex_);
            opened_ = true;
        }
        open_.notify_all();
    }
    bool holding() {
        std::lock_guard lock(mutex_);
        return holding_;
    }

private:
    std::mutex mutex_;
    std::condition_variable open_;
    bool opened_ = false;
    bool holding_ = false;
};

class Factory : public IClassFactory {
public:
    explicit Factory(Gate& gate) : gate_(gate) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
        *object = (iid == IID_IUnknown || iid == IID_IClassFactory) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown*, REFIID iid, void** object) override {
        IDispatch* d = new TableObject({
            {L"Echo", kEcho, [](Call& c) { return VariantCopyInd(c.result, c.args.at(0)); }},
            // A reply no socket buffer holds: a client that does not read leaves most of it waiting.
            {L"Big", kBig,
             [](Call& c) {
                 c.result->vt = VT_BSTR;
                 c.result->bstrVal = SysAllocStringLen(nullptr, 1u << 18);
                 std::fill_n(c.result->bstrVal, 1u << 18, L'ж');
                 return S_OK;
             }},
            {L"Hold", kHold,
             [this](Call&) {
                 gate_.hold();
                 return S_OK;
             }},
        });
        const HRESULT hr = d->QueryInterface(iid, object);
        d->Release();
        return hr;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }

private:
    Gate& gate_;
};

std::string announce(std::uint32_t length) {
    std::string prefix(4, '\0');
    for (int i = 0; i < 4; ++i)
        prefix[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return prefix;
}

// A client speaking raw frames; every read gives up after kReplyWaitSeconds.
class Client {
public:
    Client() : Client(link::connectTo(link::classSocketPath(kClass))) {}
    explicit Client(link::Fd fd) : fd_(std::move(fd)) {
        timeval wait{kReplyWaitSeconds, 0};
        ::setsockopt(fd_.get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    int fd() const { return fd_.get(); }
    bool send(const std::string& bytes) { return link::sendAll(fd_.get(), bytes); }

    // A new object of the class, or 0 when the server does not answer.
    std::uint64_t create() {
        std::string frame;
        wire::encode(++calls_, wire::CreateRequest{kClass}, wire::Kind::CreateInstance, frame);
        std::string body;
        wire::ObjectReply reply;
        if (!send(frame) || link::readFrame(fd_.get(), body) != link::ReadResult::Frame ||
            !wire::decode(body, reply) || FAILED(reply.hr))
            return 0;
        return reply.object;
    }
    bool served() { return create() != 0; }

    // Sends a call with no argument or one; its reply is left for readReply.
    bool call(std::uint64_t object, DISPID member, VARIANT arg = {}) {
        DISPPARAMS params{arg.vt == VT_EMPTY ? nullptr : &arg, nullptr, arg.vt == VT_EMPTY ? 0u : 1u, 0};
        wire::NoObjects none;
        std::string frame;
        return SUCCEEDED(wire::encodeInvoke(++calls_, object, member, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                            params, true, none, frame)) &&
               send(frame);
    }
    bool readReply() {
        std::string body;
        wire::Header h;
        return link::readFrame(fd_.get(), body) == link::ReadResult::Frame && wire::decodeHeader(body, h) &&
               h.kind == wire::Kind::InvokeReply;
    }

    // The server ends the link without answering.
    bool refused() { return create() == 0 && endedByServer(); }
    // The server has ended the link, seen without reading what it sent before.
    bool endedByServer() const {
        pollfd p{fd_.get(), POLLRDHUP, 0};
        return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLRDHUP | POLLHUP));
    }

private:
    link::Fd fd_;
    std::uint32_t calls_ = 0;
};

// Processor time this process has used, over all its threads.
std::chrono::microseconds cpuTime() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

class AbusedServer : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        test::resetServerLimits();
        std::promise<HRESULT> registered;
        auto result = registered.get_future();
        thread_ = std::thread([this, &registered] { serve(registered); });
        ASSERT_EQ(result.get(), S_OK);
    }
    void TearDown() override {
        gate.open();
        stopServing();
        test::resetServerLimits();
        SandboxTest::TearDown();
    }

    static void shorten(std::chrono::milliseconds read, std::chrono::milliseconds write,
                        std::size_t incoming = test::serverLimits().incomingBytes) {
        test::setServerLimits({read, write, incoming, test::serverLimits().idleTimeout});
    }
    static void shortenIdle(std::chrono::milliseconds idle) {
        test::ServerLimits limits = test::serverLimits();
        limits.idleTimeout = idle;
        test::setServerLimits(limits);
    }

    // Asks the serving thread to end, behind whatever its queue holds now.
    void endServingThread() { PostThreadMessageW(threadId_, WM_QUIT, 0, 0); }
    // Ends the serving thread and waits until it is gone.
    void stopServing() {
        if (!thread_.joinable())
            return;
        endServingThread();
        thread_.join();
    }

    Gate gate;

private:
    void serve(std::promise<HRESULT>& registered) {
        CoInitialize(nullptr);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        threadId_ = GetCurrentThreadId();
        Factory factory(gate);
        DWORD cookie = 0;
        const HRESULT hr =
            CoRegisterClassObject(kClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
        registered.set_value(hr);
        if (SUCCEEDED(hr)) {
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            CoRevokeClassObject(cookie);
        }
        CoUninitialize();
    }

    std::thread thread_;
    DWORD threadId_ = 0;
};

TEST_F(AbusedServer, ConnectionsBeyondTheLimitAreRefusedUntilOneCloses) {
    constexpr int kConnectionLimit = 64;
    std::vector<Client> clients(kConnectionLimit);
    for (auto& c : clients)
        ASSERT_TRUE(c.served());
    Client over;
    EXPECT_TRUE(over.refused());
    clients.pop_back();
    EXPECT_TRUE(eventually([] { return Client().served(); })) << "a closed connection frees its place";
}

// Idle connections are bounded by time: one that holds nothing goes after the idle limit; one
// that holds objects stays, until a new client finds every place taken and the longest idle of
// them makes room.
TEST_F(AbusedServer, IdleConnectionsHoldTheirPlaceOnlyForABoundedTime) {
    constexpr auto kIdle = 300ms;
    shortenIdle(kIdle);
    struct Case {
        const char* client;
        bool createsObject;
        bool releasesIt;
        bool ended;
    };
    const Case cases[] = {
        {"connected and silent", false, false, true},
        {"made an object and let it go", true, true, true},
        {"holds an object", true, false, false},
    };
    // Each client connects just before it asks: a loaded machine's pause between connecting and
    // asking would otherwise count as the client's idling.
    std::vector<Client> clients;
    clients.reserve(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        clients.emplace_back();
        if (!cases[i].createsObject)
            continue;
        const auto object = clients[i].create();
        ASSERT_NE(object, 0u) << cases[i].client;
        if (cases[i].releasesIt) {
            std::string frame;
            wire::encode(0, wire::ReleaseNote{object, 1}, frame);
            ASSERT_TRUE(clients[i].send(frame));
        }
    }
    const auto since = Clock::now();
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (cases[i].ended) {
            EXPECT_TRUE(eventually([&] { return clients[i].endedByServer(); })) << cases[i].client;
        }
    }
    std::this_thread::sleep_until(since + 3 * kIdle);
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (!cases[i].ended) {
            EXPECT_FALSE(clients[i].endedByServer()) << cases[i].client;
        }
    }
}

TEST_F(AbusedServer, ANewClientTakesThePlaceOfTheLongestIdleWhenAllAreTaken) {
    constexpr int kConnectionLimit = 64;
    constexpr auto kIdle = 300ms;
    std::vector<Client> clients(kConnectionLimit);
    for (auto& c : clients)
        ASSERT_TRUE(c.served());
    // Shortened only once every place is taken, so no client is dropped while the rest connect.
    shortenIdle(kIdle);
    // The last one keeps busy: a call under way is never idle, however long it runs.
    const auto busy = clients.back().create();
    ASSERT_NE(busy, 0u);
    ASSERT_TRUE(clients.back().call(busy, kHold));
    ASSERT_TRUE(eventually([&] { return gate.holding(); }));
    std::this_thread::sleep_for(2 * kIdle);
    gate.open();
    ASSERT_TRUE(clients.back().readReply());

    Client newcomer;
    EXPECT_TRUE(newcomer.served()) << "the longest idle made room";
    EXPECT_TRUE(eventually([&] { return clients.front().endedByServer(); }));
    for (size_t i = 1; i < clients.size(); ++i)
        EXPECT_FALSE(clients[i].endedByServer()) << i;
}

TEST_F(AbusedServer, ConnectionWhoseThreadCannotStartIsRefused) {
    test::refuseThreadStarts(1);
    Client first;
    EXPECT_TRUE(first.refused());
    Client second;
    EXPECT_TRUE(second.served()) << "the server goes on serving";
}

TEST_F(AbusedServer, ClientThatStopsReadingNeverHoldsTheServingThread) {
    shorten(10s, 60s); // the stalled client keeps its link for the whole test
    Client stalled;
    const auto object = stalled.create();
    ASSERT_NE(object, 0u);
    ASSERT_TRUE(stalled.call(object, kBig));

    Client other;
    const auto mine = other.create();
    ASSERT_NE(mine, 0u) << "the serving thread waited on the stalled client";
    ASSERT_TRUE(other.call(mine, kEcho, comtest::text(L"ещё")));
    EXPECT_TRUE(other.readReply());

    EXPECT_FALSE(stalled.endedByServer());
    EXPECT_TRUE(stalled.readReply()) << "the waiting reply is whole when the client reads again";
}

// The serving thread ends while a client still holds its link: the objects made for that client
// are released there as it ends, not left to a drop of the link that can no longer run.
TEST_F(AbusedServer, ObjectsOfALinkStillOpenAreReleasedAsTheServingThreadEnds) {
    const int before = comtest::liveObjects();
    Client client;
    ASSERT_NE(client.create(), 0u);
    EXPECT_EQ(comtest::liveObjects(), before + 1);
    stopServing();
    EXPECT_EQ(comtest::liveObjects(), before);
    EXPECT_TRUE(eventually([&] { return client.endedByServer(); }));
}

// Clients that close their links just as the serving thread ends: a link whose drop can no
// longer be queued is dropped by the thread's end all the same, never forgotten with its objects.
TEST_F(AbusedServer, LinksClosingAsTheServingThreadEndsReleaseTheirObjects) {
    constexpr int kClients = 48;
    const int before = comtest::liveObjects();
    {
        std::vector<Client> clients(kClients);
        for (auto& c : clients)
            ASSERT_NE(c.create(), 0u);
        endServingThread();
    }
    // Objects are released on the serving thread alone, so all of them are gone once it is.
    stopServing();
    EXPECT_EQ(comtest::liveObjects(), before);
}

// A call still queued when the serving thread ends will never be answered: its client is told
// at once that the link is over rather than left waiting on it.
TEST_F(AbusedServer, CallsQueuedWhenTheServingThreadEndsEndTheirLink) {
    Client client;
    const auto object = client.create();
    ASSERT_NE(object, 0u);
    ASSERT_TRUE(client.call(object, kHold));
    ASSERT_TRUE(eventually([this] { return gate.holding(); }));
    endServingThread();
    ASSERT_TRUE(client.call(object, kEcho, comtest::text(L"late")));
    // Time for the call to be queued behind the end; queued or refused, its link must end.
    std::this_thread::sleep_for(200ms);
    gate.open();
    EXPECT_TRUE(client.readReply()) << "the call under way is answered";
    EXPECT_TRUE(eventually([&] { return client.endedByServer(); }));
}

// Each stalled connection has its own clock: however many stall together, each is cut off
// one limit after its replies began to wait, not one after another. Cut off one after another
// they could not all be gone before as many limits as there are of them have passed: that is the
// bound, far above one limit, so that a loaded machine's delays do not reach it.
TEST_F(AbusedServer, StalledConnectionsAreEachDroppedAfterOneWriteLimit) {
    constexpr auto kLimit = 500ms;
    constexpr int kStalled = 20;
    shorten(10s, kLimit);
    std::vector<Client> clients(kStalled);
    std::vector<std::uint64_t> objects;
    for (auto& c : clients) {
        objects.push_back(c.create());
        ASSERT_NE(objects.back(), 0u);
    }
    const auto begin = Clock::now();
    for (int i = 0; i < kStalled; ++i)
        ASSERT_TRUE(clients[i].call(objects[i], kBig));
    EXPECT_TRUE(eventually([&] {
        return std::all_of(clients.begin(), clients.end(), [](const Client& c) { return c.endedByServer(); });
    }));
    EXPECT_LT(Clock::now() - begin, kStalled * kLimit);
}

// The limit is on the connection, not on each write: a client that takes a little now and
// then is cut off all the same, and one that only reads late, within the limit, is kept.
TEST_F(AbusedServer, WriteLimitCountsFromTheFirstWaitingByte) {
    // Well above the pauses below, so that a late read stays within it on a loaded machine.
    constexpr auto kLimit = 1000ms;
    shorten(10s, kLimit);
    struct Case {
        const char* client;
        std::chrono::milliseconds pause;
        size_t bytesPerRead; // 0: the whole reply at once
        bool dropped;
    } cases[] = {
        {"takes a little at a time", 50ms, 4096, true},
        {"takes its reply late, within the limit", 100ms, 0, false},
    };
    for (const auto& c : cases) {
        Client client;
        const auto object = client.create();
        ASSERT_NE(object, 0u);
        ASSERT_TRUE(client.call(object, kBig));
        bool dropped = false;
        for (const auto until = Clock::now() + 10 * kLimit; Clock::now() < until;) {
            std::this_thread::sleep_for(c.pause);
            if ((dropped = client.endedByServer()))
                break;
            if (c.bytesPerRead == 0) {
                EXPECT_TRUE(client.readReply()) << c.client;
                break;
            }
            std::string some(c.bytesPerRead, '\0');
            [[maybe_unused]] auto n = ::recv(client.fd(), some.data(), some.size(), MSG_DONTWAIT);
        }
        EXPECT_EQ(dropped, c.dropped) << c.client;
        if (!c.dropped) {
            EXPECT_TRUE(client.served()) << c.client;
        }
    }
}

TEST_F(AbusedServer, FrameAnnouncedAndStalledIsDroppedAfterTheReadTimeout) {
    constexpr auto kTimeout = 200ms;
    shorten(kTimeout, 10s);
    Client idle;
    ASSERT_TRUE(idle.served());
    const auto idleSince = Clock::now();
    struct Case {
        const char* sent;
        std::string bytes;
    } cases[] = {
        {"part of the length", announce(64).substr(0, 2)},
        {"the length alone", announce(64)},
        {"the length and part of the body", announce(64) + std::string(10, '\x01')},
    };
    // The serving thread is busy all along: the cut-off does not wait for it.
    Client holder;
    const auto object = holder.create();
    ASSERT_NE(object, 0u);
    ASSERT_TRUE(holder.call(object, kHold));
    ASSERT_TRUE(eventually([&] { return gate.holding(); }));
    std::vector<Client> stalled(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        ASSERT_TRUE(stalled[i].send(cases[i].bytes)) << cases[i].sent;
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(eventually([&] { return stalled[i].endedByServer(); })) << cases[i].sent;
    gate.open();
    EXPECT_TRUE(holder.readReply());
    std::this_thread::sleep_until(idleSince + 3 * kTimeout);
    EXPECT_TRUE(idle.served()) << "a client idle between frames is not stalled";
}

TEST_F(AbusedServer, IncomingFramesShareOneBoundAcrossConnections) {
    constexpr size_t kFrame = 1u << 20;
    shorten(10s, 10s, 2 * kFrame); // room for two whole frames, less the call that holds the server
    Client holder;
    const auto object = holder.create();
    ASSERT_NE(object, 0u);
    ASSERT_TRUE(holder.call(object, kHold));
    ASSERT_TRUE(eventually([&] { return gate.holding(); }));

    // While the serving thread is held, frames can only pile up in the server.
    constexpr int kSenders = 5;
    std::vector<Client> senders(kSenders);
    const std::string frame = announce(kFrame) + std::string(kFrame, '\x7F');
    std::vector<size_t> sent(kSenders, 0);
    for (auto& s : senders) {
        const int small = 64 << 10;
        ::setsockopt(s.fd(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    }
    const auto whole = [&] { return std::count(sent.begin(), sent.end(), frame.size()); };
    // Sends round the senders until at least `wanted` frames are whole and then none has moved
    // for `still`; a server slowed by a loaded machine is given its time for the first part.
    auto push = [&](std::chrono::milliseconds still, long wanted) {
        const auto giveUp = Clock::now() + 60s;
        for (auto lastMove = Clock::now(); whole() < kSenders && Clock::now() < giveUp &&
                                           (whole() < wanted || Clock::now() - lastMove < still);) {
            bool moved = false;
            for (int i = 0; i < kSenders; ++i) {
                if (sent[i] == frame.size())
                    continue;
                const ssize_t n = ::send(senders[i].fd(), frame.data() + sent[i], frame.size() - sent[i],
                                         MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n > 0) {
                    sent[i] += static_cast<size_t>(n);
                    moved = true;
                }
            }
            if (moved)
                lastMove = Clock::now();
            else
                std::this_thread::sleep_for(5ms);
        }
    };
    push(300ms, 1);
    EXPECT_GE(whole(), 1) << "the server reads while there is room";
    EXPECT_LE(whole(), 2) << "frames taken in beyond the bound";

    gate.open();
    EXPECT_TRUE(holder.readReply());
    // The frames that waited are taken in as room comes back, handled, and (being garbage) end
    // their links; what they held is given back for everyone else.
    push(1s, kSenders);
    EXPECT_EQ(whole(), kSenders);
    for (auto& s : senders) {
        EXPECT_TRUE(eventually([&] { return s.endedByServer(); }));
    }
    EXPECT_TRUE(Client().served());
}

TEST_F(AbusedServer, ListenerRestsWhileOutOfDescriptors) {
    // Everything the client needs is made before the descriptors run out.
    const auto path = link::classSocketPath(kClass);
    link::Fd dir(::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    link::Fd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ASSERT_TRUE(dir && socket);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string via = "/proc/self/fd/" + std::to_string(dir.get()) + "/" + path.filename().string();
    ASSERT_LT(via.size(), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, via.c_str(), via.size() + 1);

    rlimit was{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &was), 0);
    rlimit low = was;
    low.rlim_cur = std::min<rlim_t>(was.rlim_cur, 512);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<link::Fd> filler;
    for (int fd; (fd = ::dup(dir.get())) >= 0;)
        filler.emplace_back(fd);
    const int exhausted = errno;
    const auto before = test::failedAccepts();
    const auto cpuBefore = cpuTime();
    const int connected = ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    std::this_thread::sleep_for(500ms);
    const auto failed = test::failedAccepts() - before;
    const auto cpu = cpuTime() - cpuBefore;
    filler.clear();
    ::setrlimit(RLIMIT_NOFILE, &was);

    ASSERT_EQ(exhausted, EMFILE);
    ASSERT_EQ(connected, 0);
    EXPECT_GE(failed, 1u) << "the server met the exhaustion";
    EXPECT_LE(failed, 10u) << "accepts retried without a pause";
    EXPECT_LT(cpu, 100ms) << "the process kept busy while it waited";
    Client waiting(std::move(socket));
    EXPECT_TRUE(waiting.served()) << "served once descriptors are free again";
}

} // namespace
