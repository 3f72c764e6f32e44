#include "channel.h"

#include <sys/socket.h>
#include <vector>

namespace pal::com::detail {
namespace {

BSTR copyText(const std::wstring& s) {
    return SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
}

} // namespace

void Channel::breakLink() {
    broken_ = true;
    ::shutdown(fd_.get(), SHUT_RDWR);
}

HRESULT Channel::call(std::uint32_t& callNumber,
                      const std::function<HRESULT(std::uint32_t, std::string&)>& encode,
                      std::string& replyBody, wire::Kind replyKind) {
    std::lock_guard callLock(callMutex_);
    if (broken_)
        return RPC_E_DISCONNECTED;
    callNumber = nextCall();
    std::string frame;
    if (HRESULT hr = encode(callNumber, frame); FAILED(hr))
        return hr;
    bool sent;
    {
        std::lock_guard writeLock(writeMutex_);
        sent = link::sendAll(fd_.get(), frame);
    }
    wire::Header h;
    if (!sent || link::readFrame(fd_.get(), replyBody) != link::ReadResult::Frame ||
        !wire::decodeHeader(replyBody, h) || h.kind != replyKind || h.call != callNumber) {
        breakLink();
        return RPC_E_DISCONNECTED;
    }
    return S_OK;
}

HRESULT Channel::activate(REFCLSID clsid, wire::Kind kind, IDispatch** object) {
    *object = nullptr;
    std::uint32_t number = 0;
    std::string body;
    HRESULT hr = call(
        number,
        [&](std::uint32_t n, std::string& frame) {
            return wire::encode(n, wire::CreateRequest{clsid}, kind, frame);
        },
        body, wire::Kind::ObjectReply);
    if (FAILED(hr))
        return hr;
    wire::ObjectReply reply;
    if (!wire::decode(body, reply)) {
        breakLink();
        return RPC_E_DISCONNECTED;
    }
    if (FAILED(reply.hr))
        return reply.hr;
    if (reply.object == 0)
        return E_NOINTERFACE;
    *object = proxyFor(reply.object);
    return S_OK;
}

IDispatch* Channel::proxyFor(std::uint64_t id) {
    std::lock_guard lock(proxiesMutex_);
    if (auto it = proxies_.find(id); it != proxies_.end()) {
        it->second->AddRef();
        ++it->second->wireRefs;
        return it->second;
    }
    auto* p = new Proxy(shared_from_this(), id);
    p->wireRefs = 1;
    proxies_[id] = p;
    return p;
}

void Channel::releaseRemote(std::uint64_t id, std::uint32_t count) {
    if (broken_ || count == 0)
        return;
    std::string frame;
    wire::encode(0, wire::ReleaseNote{id, count}, frame);
    std::lock_guard writeLock(writeMutex_);
    if (!link::sendAll(fd_.get(), frame))
        broken_ = true;
}

bool ChannelCodec::exportObject(IDispatch* object, std::uint64_t& id) {
    // Only the server's own objects can go back to it; this side serves nothing.
    auto* p = dynamic_cast<Proxy*>(object);
    if (!p || &p->channel() != &channel_)
        return false;
    id = p->id();
    return true;
}

bool ChannelCodec::importObject(std::uint64_t id, IDispatch** object) {
    *object = id == 0 ? nullptr : channel_.proxyFor(id);
    return true;
}

HRESULT Proxy::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        AddRef();
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Proxy::AddRef() {
    return ++refs_;
}

ULONG Proxy::Release() {
    std::uint32_t give = 0;
    ULONG left;
    {
        // Under the channel's lock, so a proxy found in the table is never one being freed.
        std::lock_guard lock(channel_->proxiesMutex_);
        left = --refs_;
        if (left == 0) {
            auto it = channel_->proxies_.find(id_);
            if (it != channel_->proxies_.end() && it->second == this)
                channel_->proxies_.erase(it);
            give = wireRefs;
        }
    }
    if (left == 0) {
        channel_->releaseRemote(id_, give);
        delete this;
    }
    return left;
}

HRESULT Proxy::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT Proxy::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT Proxy::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    if (count > wire::kMaxNames)
        return DISP_E_UNKNOWNNAME;
    wire::NamesRequest req{id_, lcid, {}};
    for (UINT i = 0; i < count; ++i) {
        if (!names[i])
            return E_INVALIDARG;
        req.names.emplace_back(names[i]);
    }
    std::uint32_t number = 0;
    std::string body;
    HRESULT hr = channel_->call(
        number, [&](std::uint32_t n, std::string& frame) { return wire::encode(n, req, frame); }, body,
        wire::Kind::NamesReply);
    if (FAILED(hr))
        return hr;
    wire::NamesReply reply;
    if (!wire::decode(body, reply)) {
        channel_->breakLink();
        return RPC_E_DISCONNECTED;
    }
    for (UINT i = 0; i < count; ++i)
        ids[i] = i < reply.ids.size() ? reply.ids[i] : DISPID_UNKNOWN;
    return reply.hr;
}

HRESULT Proxy::Invoke(DISPID member, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) {
    if (!params)
        return E_INVALIDARG;
    ChannelCodec codec(*channel_);
    std::uint32_t number = 0;
    std::string body;
    HRESULT hr = channel_->call(
        number,
        [&](std::uint32_t n, std::string& frame) {
            return wire::encodeInvoke(n, id_, member, lcid, flags, *params, result != nullptr, codec, frame);
        },
        body, wire::Kind::InvokeReply);
    if (FAILED(hr))
        return hr;
    wire::InvokeReply reply;
    if (!wire::decode(body, reply, codec)) {
        channel_->breakLink();
        return RPC_E_DISCONNECTED;
    }
    for (auto& [index, value] : reply.outs) {
        if (index < params->cArgs && params->rgvarg[index].vt == (VT_BYREF | VT_I2) && value.vt == VT_I2)
            *params->rgvarg[index].piVal = value.iVal;
    }
    if (result)
        *result = reply.result.detach();
    if (argError)
        *argError = reply.argError;
    if (exception) {
        *exception = EXCEPINFO{};
        if (reply.exception) {
            exception->wCode = reply.exception->code;
            exception->scode = reply.exception->scode;
            exception->dwHelpContext = reply.exception->helpContext;
            exception->bstrSource = copyText(reply.exception->source);
            exception->bstrDescription = copyText(reply.exception->description);
            exception->bstrHelpFile = copyText(reply.exception->helpFile);
        }
    }
    return reply.hr;
}

} // namespace pal::com::detail
