// Registration of class factories and active objects, and the listener thread that accepts
// clients for them. Each class served here has one socket; connections to it are served on
// the thread that registered the class.
#include "class_table.h"
#include "delivery.h"
#include "server_connection.h"
#include "server_limits.h"

#include "pal/com/link.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pal::com::detail {
namespace {

// The first pause of the listeners when an accept fails for lack of descriptors, doubled
// while it keeps failing, up to the longest.
constexpr auto kFirstRest = std::chrono::milliseconds(50);
constexpr auto kLongestRest = std::chrono::milliseconds(1000);

struct Endpoint {
    link::Fd listener;
    std::filesystem::path path;
    std::shared_ptr<Delivery> delivery;
    int users = 0;
};

struct ClassEntry {
    CLSID clsid;
    IClassFactory* factory;
    DWORD flags;
    bool listening; // reachable from other processes through the class's endpoint
};

struct ActiveEntry {
    CLSID clsid;
    IUnknown* object;
    bool strong;
};

class Registry {
public:
    std::mutex mutex;
    std::map<DWORD, ClassEntry> classes;
    std::map<DWORD, ActiveEntry> actives;
    std::unordered_map<CLSID, Endpoint> endpoints;
    DWORD nextCookie = 1;

    // Opens (or shares) the class's socket, served on the calling thread. Mutex held.
    HRESULT openEndpoint(REFCLSID clsid) {
        auto it = endpoints.find(clsid);
        if (it != endpoints.end()) {
            ++it->second.users;
            return S_OK;
        }
        Endpoint e;
        e.path = link::classSocketPath(clsid);
        e.listener = link::listenAt(e.path);
        if (!e.listener)
            return errno == EADDRINUSE ? CO_E_OBJISREG : E_FAIL;
        e.delivery = deliveryForThisThread();
        e.users = 1;
        endpoints.emplace(clsid, std::move(e));
        wake();
        return S_OK;
    }

    // Mutex held.
    void closeEndpoint(REFCLSID clsid) {
        auto it = endpoints.find(clsid);
        if (it == endpoints.end() || --it->second.users > 0)
            return;
        ::unlink(it->second.path.c_str());
        endpoints.erase(it);
        wake();
    }

    // False when the listener thread cannot be started.
    bool ensureListener() {
        if (wakeFd_ >= 0)
            return true;
        wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ >= 0 && startThread([this] { listen(); }))
            return true;
        if (wakeFd_ >= 0)
            ::close(wakeFd_);
        wakeFd_ = -1;
        return false;
    }

private:
    void wake() {
        if (wakeFd_ >= 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
        }
    }

    // Polls every listener; the set is rebuilt whenever a registration changes it. While the
    // process is out of descriptors the listeners rest, growing the pause, instead of being
    // woken again at once by the connection that cannot be taken.
    void listen() {
        using Clock = std::chrono::steady_clock;
        Clock::time_point restUntil{};
        auto rest = kFirstRest;
        for (;;) {
            const auto now = Clock::now();
            const bool resting = now < restUntil;
            std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
            if (!resting) {
                std::lock_guard lock(mutex);
                for (auto& [clsid, e] : endpoints)
                    fds.push_back({e.listener.get(), POLLIN, 0});
            }
            const int timeout =
                resting
                    ? static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(restUntil - now).count())
                    : -1;
            if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
                return;
            if (fds[0].revents & POLLIN) {
                std::uint64_t n;
                [[maybe_unused]] auto r = ::read(wakeFd_, &n, sizeof n);
                continue; // the listener set may have changed; no accept on stale descriptors
            }
            std::lock_guard lock(mutex);
            for (auto& [clsid, e] : endpoints) {
                // Only listeners that are still registered; accepting never blocks.
                const int listener = e.listener.get();
                const bool ready = std::any_of(fds.begin() + 1, fds.end(), [&](const pollfd& p) {
                    return p.fd == listener && (p.revents & POLLIN);
                });
                if (!ready)
                    continue;
                bool refused = false;
                link::Fd client = link::acceptFrom(e.listener.get(), refused);
                if (!client && !refused && outOfResources(errno)) {
                    ++serverLimits().failedAccepts;
                    restUntil = Clock::now() + rest;
                    rest = std::min(rest * 2, kLongestRest);
                    break;
                }
                if (!client)
                    continue;
                rest = kFirstRest;
                serve(std::move(client), e.delivery);
            }
        }
    }

    // A connection over the limit, or whose thread cannot be started, is closed at once: the
    // client sees its link end, and the connections already served go on. A place held by a
    // client idle past the idle limit is given to the new one.
    static void serve(link::Fd client, const std::shared_ptr<Delivery>& delivery) {
        if (ServerConnection::live() >= serverLimits().connections.load() &&
            !ServerConnection::evictLongestIdle())
            return;
        auto connection = std::make_shared<ServerConnection>(std::move(client), delivery);
        connection->start();
    }

    static bool outOfResources(int error) {
        return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
    }

    int wakeFd_ = -1;
};

// Never destroyed: the listener and reader threads may outlive static destruction.
Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

} // namespace

IClassFactory* findClassFactory(REFCLSID clsid, bool remote) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto& [cookie, c] : r.classes) {
        if (!(c.clsid == clsid) || (remote && !c.listening))
            continue;
        if (remote && c.flags == REGCLS_SINGLEUSE) {
            // A single-use class serves one creation; then other processes start a new server.
            c.listening = false;
            r.closeEndpoint(clsid);
        }
        c.factory->AddRef();
        return c.factory;
    }
    return nullptr;
}

IUnknown* findActiveObject(REFCLSID clsid) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto& [cookie, a] : r.actives) {
        if (a.clsid == clsid) {
            a.object->AddRef();
            return a.object;
        }
    }
    return nullptr;
}

} // namespace pal::com::detail

using pal::com::detail::registry;

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags, LPDWORD cookie) {
    if (!factory || !cookie)
        return E_INVALIDARG;
    *cookie = 0;
    IClassFactory* cf = nullptr;
    if (FAILED(factory->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&cf))) || !cf)
        return E_NOINTERFACE;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.ensureListener()) {
        cf->Release();
        return E_OUTOFMEMORY;
    }
    if (context & CLSCTX_LOCAL_SERVER) {
        if (HRESULT hr = r.openEndpoint(clsid); FAILED(hr)) {
            cf->Release();
            return hr;
        }
    }
    *cookie = r.nextCookie++;
    r.classes[*cookie] = {clsid, cf, flags & ~REGCLS_SUSPENDED, (context & CLSCTX_LOCAL_SERVER) != 0};
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    auto& r = registry();
    IClassFactory* cf = nullptr;
    {
        std::lock_guard lock(r.mutex);
        auto it = r.classes.find(cookie);
        if (it == r.classes.end())
            return CO_E_OBJNOTREG;
        cf = it->second.factory;
        if (it->second.listening)
            r.closeEndpoint(it->second.clsid);
        r.classes.erase(it);
    }
    cf->Release();
    return S_OK;
}

HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, LPDWORD cookie) {
    if (!object || !cookie)
        return E_INVALIDARG;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.ensureListener())
        return E_OUTOFMEMORY;
    if (HRESULT hr = r.openEndpoint(clsid); FAILED(hr))
        return hr;
    const bool strong = flags == ACTIVEOBJECT_STRONG;
    if (strong)
        object->AddRef();
    *cookie = r.nextCookie++;
    r.actives[*cookie] = {clsid, object, strong};
    return S_OK;
}

HRESULT RevokeActiveObject(DWORD cookie, LPVOID) {
    auto& r = registry();
    IUnknown* release = nullptr;
    {
        std::lock_guard lock(r.mutex);
        auto it = r.actives.find(cookie);
        if (it == r.actives.end())
            return E_INVALIDARG;
        if (it->second.strong)
            release = it->second.object;
        r.closeEndpoint(it->second.clsid);
        r.actives.erase(it);
    }
    if (release)
        release->Release();
    return S_OK;
}
