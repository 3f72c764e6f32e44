#include "server_connection.h"

#include "class_table.h"

#include <sys/socket.h>
#include <vector>

namespace pal::com::detail {
namespace {

void freeException(EXCEPINFO& e) {
    SysFreeString(e.bstrSource);
    SysFreeString(e.bstrDescription);
    SysFreeString(e.bstrHelpFile);
    e = EXCEPINFO{};
}

std::wstring text(BSTR s) {
    return s ? std::wstring(s, SysStringLen(s)) : std::wstring();
}

} // namespace

void ServerConnection::drop() {
    if (dropped_)
        return;
    dropped_ = true;
    {
        std::lock_guard lock(ioMutex_);
        closing_ = true;
        outbox_.clear();
        sentOfFront_ = 0;
    }
    ::shutdown(fd_.get(), SHUT_RDWR);
    wake();
    // Release outside the tables: a final release may run arbitrary server code.
    std::vector<IDispatch*> objects;
    for (auto& [id, held] : held_)
        objects.push_back(held.object);
    held_.clear();
    ids_.clear();
    heldCount_ = 0;
    for (IDispatch* o : objects)
        o->Release();
}

IDispatch* ServerConnection::find(std::uint64_t id) const {
    auto it = held_.find(id);
    return it == held_.end() ? nullptr : it->second.object;
}

bool ServerConnection::exportObject(IDispatch* object, std::uint64_t& id) {
    if (auto it = ids_.find(object); it != ids_.end()) {
        id = it->second;
        ++held_[id].wireRefs;
        return true;
    }
    id = nextId_++;
    object->AddRef();
    held_[id] = Held{object, 1};
    ids_[object] = id;
    heldCount_ = held_.size();
    return true;
}

bool ServerConnection::importObject(std::uint64_t id, IDispatch** object) {
    *object = nullptr;
    if (id == 0)
        return true;
    IDispatch* o = find(id);
    if (!o)
        return false;
    o->AddRef();
    *object = o;
    return true;
}

void ServerConnection::handle(const std::string& body) {
    if (dropped_)
        return;
    wire::Header h;
    bool ok = false;
    try {
        if (wire::decodeHeader(body, h)) {
            switch (h.kind) {
            case wire::Kind::CreateInstance:
            case wire::Kind::GetActiveObject:
                ok = onCreate(h, body);
                break;
            case wire::Kind::GetIDsOfNames:
                ok = onNames(h, body);
                break;
            case wire::Kind::Invoke:
                ok = onInvoke(h, body);
                break;
            case wire::Kind::Release:
                ok = onRelease(body);
                break;
            default:
                break;
            }
        }
    } catch (...) {
        // A request that cannot be understood ends the link; the server goes on serving others.
        ok = false;
    }
    if (!ok)
        drop();
}

bool ServerConnection::onCreate(const wire::Header& h, const std::string& body) {
    wire::CreateRequest req;
    if (!wire::decode(body, req))
        return false;
    wire::ObjectReply out;
    IDispatch* object = nullptr;
    if (h.kind == wire::Kind::CreateInstance) {
        IClassFactory* factory = findClassFactory(req.clsid, true);
        if (!factory) {
            out.hr = REGDB_E_CLASSNOTREG;
        } else {
            out.hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
            factory->Release();
        }
    } else {
        IUnknown* active = findActiveObject(req.clsid);
        if (!active) {
            out.hr = MK_E_UNAVAILABLE;
        } else {
            out.hr = active->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
            active->Release();
        }
    }
    if (SUCCEEDED(out.hr) && !object)
        out.hr = E_NOINTERFACE;
    if (object) {
        if (SUCCEEDED(out.hr))
            exportObject(object, out.object);
        object->Release();
    }
    std::string frame;
    wire::encode(h.call, out, frame);
    reply(std::move(frame));
    return true;
}

bool ServerConnection::onNames(const wire::Header& h, const std::string& body) {
    wire::NamesRequest req;
    if (!wire::decode(body, req))
        return false;
    IDispatch* object = find(req.object);
    if (!object)
        return false;
    std::vector<LPOLESTR> names;
    for (auto& n : req.names)
        names.push_back(n.data());
    wire::NamesReply out;
    out.ids.assign(names.size(), DISPID_UNKNOWN);
    out.hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), req.lcid,
                                   out.ids.data());
    std::string frame;
    wire::encode(h.call, out, frame);
    reply(std::move(frame));
    return true;
}

bool ServerConnection::onInvoke(const wire::Header& h, const std::string& body) {
    wire::InvokeRequest req;
    if (!wire::decode(body, req, *this))
        return false;
    IDispatch* object = find(req.object);
    if (!object)
        return false;
    object->AddRef(); // the call may release the client's last reference to it
    DISPPARAMS params{req.args.empty() ? nullptr : req.args.data(),
                      req.named.empty() ? nullptr : req.named.data(), static_cast<UINT>(req.args.size()),
                      static_cast<UINT>(req.named.size())};
    wire::InvokeReply out;
    EXCEPINFO exception{};
    try {
        out.hr = object->Invoke(req.member, IID_NULL, req.lcid, req.flags, &params,
                                req.wantResult ? &out.result : nullptr, &exception, &out.argError);
    } catch (...) {
        // Server code that throws fails the call, as a fault in a server stub does.
        out.hr = RPC_E_SERVERFAULT;
        VariantClear(&out.result);
    }
    object->Release();
    if (out.hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        out.exception = wire::ExceptionInfo{exception.wCode,
                                            exception.scode,
                                            exception.dwHelpContext,
                                            text(exception.bstrSource),
                                            text(exception.bstrDescription),
                                            text(exception.bstrHelpFile)};
    }
    freeException(exception);
    for (size_t i = 0; i < req.args.size(); ++i) {
        if (req.args[i].vt == (VT_BYREF | VT_I2)) {
            Variant v;
            v.vt = VT_I2;
            v.iVal = req.byrefI2[i];
            out.outs.emplace_back(static_cast<std::uint32_t>(i), std::move(v));
        }
    }
    std::string frame;
    if (HRESULT hr = wire::encode(h.call, out, *this, frame); FAILED(hr)) {
        // The result cannot travel (a type the wire does not carry, or too large).
        wire::InvokeReply failed;
        failed.hr = hr;
        wire::encode(h.call, failed, *this, frame);
    }
    reply(std::move(frame));
    return true;
}

bool ServerConnection::onRelease(const std::string& body) {
    wire::ReleaseNote note;
    if (!wire::decode(body, note))
        return false;
    auto it = held_.find(note.object);
    if (it == held_.end() || note.count > it->second.wireRefs)
        return false;
    it->second.wireRefs -= note.count;
    if (it->second.wireRefs == 0) {
        IDispatch* o = it->second.object;
        ids_.erase(o);
        held_.erase(it);
        heldCount_ = held_.size();
        o->Release();
    }
    return true;
}

} // namespace pal::com::detail
