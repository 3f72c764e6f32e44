// The client end of a connection to a server process, and the dispatch proxies that stand
// for the server's objects. A proxy keeps its channel open; when the last proxy of a channel
// goes, the channel closes, and the server releases whatever that client still held.
#pragma once

#include "pal/com/link.h"
#include "pal/com/wire.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pal::com::detail {

class Proxy;

// Locks, always taken in this order and never the other way round:
// - callMutex_: one round trip at a time; a reply is read by the thread that sent its request.
// - writeMutex_: one frame at a time on the link; a release note can be sent by any thread,
//   also while another thread waits for its reply under callMutex_.
// - proxiesMutex_: the proxy table and every proxy's wireRefs. It is never held while one of
//   the other two is taken: a proxy leaves the table under it, and its references are given
//   back to the server after it is released.
class Channel : public std::enable_shared_from_this<Channel> {
public:
    explicit Channel(link::Fd fd) : fd_(std::move(fd)) {}

    // Asks for a new object of the class, or for its active object; the proxy comes back
    // with one reference.
    HRESULT activate(REFCLSID clsid, wire::Kind kind, IDispatch** object);

    // One round trip: sends the request and reads its reply. RPC_E_DISCONNECTED once the
    // link is broken.
    HRESULT call(std::uint32_t& callNumber, const std::function<HRESULT(std::uint32_t, std::string&)>& encode,
                 std::string& replyBody, wire::Kind replyKind);
    std::uint32_t nextCall() { return ++calls_; }
    // Ends the link after a reply that does not decode: the server cannot be trusted further.
    void breakLink();

    // A proxy for `id`, new or shared; one more reference and one more wire reference.
    IDispatch* proxyFor(std::uint64_t id);
    // Gives the server back `count` references of `id`; no reply is awaited.
    void releaseRemote(std::uint64_t id, std::uint32_t count);

private:
    // A proxy takes itself out of the table when its last reference goes.
    friend class Proxy;

    link::Fd fd_;
    std::mutex callMutex_;
    std::mutex writeMutex_;
    std::atomic<std::uint32_t> calls_{0};
    std::atomic<bool> broken_{false};
    // Proxies by object id.
    std::mutex proxiesMutex_;
    std::unordered_map<std::uint64_t, Proxy*> proxies_;
};

// Maps objects of one channel to their ids and back.
class ChannelCodec : public wire::ObjectCodec {
public:
    explicit ChannelCodec(Channel& channel) : channel_(channel) {}
    bool exportObject(IDispatch* object, std::uint64_t& id) override;
    bool importObject(std::uint64_t id, IDispatch** object) override;

private:
    Channel& channel_;
};

class Proxy final : public IDispatch {
public:
    Proxy(std::shared_ptr<Channel> channel, std::uint64_t id) : channel_(std::move(channel)), id_(id) {}
    virtual ~Proxy() = default;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

    Channel& channel() { return *channel_; }
    std::uint64_t id() const { return id_; }
    // Guarded by the channel's proxiesMutex_.
    std::uint32_t wireRefs = 0;

private:
    std::shared_ptr<Channel> channel_;
    std::uint64_t id_;
    std::atomic<ULONG> refs_{1};
};

} // namespace pal::com::detail
