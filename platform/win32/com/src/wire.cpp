#include "pal/com/wire.h"

#include "pal/text.h"

#include <bit>
#include <cstring>

namespace pal::com::wire {
namespace {

class Writer {
public:
    Writer() { out_.resize(4); }
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) { le(v, 2); }
    void u32(std::uint32_t v) { le(v, 4); }
    void u64(std::uint64_t v) { le(v, 8); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
    void f64(double v) { u64(std::bit_cast<std::uint64_t>(v)); }
    void text(const wchar_t* s, size_t n) {
        const std::u16string units = pal::text::toUtf16(std::wstring_view(s, n));
        u32(static_cast<std::uint32_t>(units.size()));
        for (char16_t c : units)
            u16(c);
    }
    void text(const std::wstring& s) { text(s.data(), s.size()); }
    void guid(const GUID& g) {
        u32(g.Data1);
        u16(g.Data2);
        u16(g.Data3);
        for (BYTE b : g.Data4)
            u8(b);
    }
    void header(Kind kind, std::uint32_t call) {
        u8(kVersion);
        u8(static_cast<std::uint8_t>(kind));
        u32(call);
    }
    // Fills in the length prefix; E_OUTOFMEMORY when the body is over the cap.
    HRESULT finish(std::string& frame) {
        const size_t body = out_.size() - 4;
        if (body > kMaxFrame)
            return E_OUTOFMEMORY;
        for (int i = 0; i < 4; ++i)
            out_[i] = static_cast<char>((body >> (8 * i)) & 0xFF);
        frame = std::move(out_);
        return S_OK;
    }

private:
    void le(std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    std::string out_;
};

class Reader {
public:
    explicit Reader(std::string_view body) : p_(body.data()), left_(body.size()) {}
    bool ok() const { return ok_; }
    // True when the whole body was read and nothing was malformed.
    bool done() const { return ok_ && left_ == 0; }
    size_t left() const { return left_; }
    void fail() { ok_ = false; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(le(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(le(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(le(4)); }
    std::uint64_t u64() { return le(8); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    float f32() { return std::bit_cast<float>(u32()); }
    double f64() { return std::bit_cast<double>(u64()); }
    // A count of items of at least `minBytes` each: capped, and never more than the bytes left.
    std::uint32_t count(std::uint32_t cap, size_t minBytes) {
        const std::uint32_t n = u32();
        if (!ok_ || n > cap || n > left_ / minBytes) {
            ok_ = false;
            return 0;
        }
        return n;
    }
    // A string, or false with `null` set for the null marker.
    bool text(std::wstring& s, bool* null = nullptr) {
        const std::uint32_t n = u32();
        if (null)
            *null = ok_ && n == 0xFFFFFFFF;
        if (null && *null)
            return true;
        if (!ok_ || n > left_ / 2) {
            ok_ = false;
            return false;
        }
        std::u16string units(n, u'\0');
        for (auto& c : units)
            c = static_cast<char16_t>(u16());
        s = pal::text::fromUtf16(units);
        return ok_;
    }
    GUID guid() {
        GUID g{};
        g.Data1 = u32();
        g.Data2 = u16();
        g.Data3 = u16();
        for (auto& b : g.Data4)
            b = u8();
        return g;
    }

private:
    std::uint64_t le(int bytes) {
        if (!ok_ || left_ < static_cast<size_t>(bytes)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(p_[i])) << (8 * i);
        p_ += bytes;
        left_ -= static_cast<size_t>(bytes);
        return v;
    }
    const char* p_;
    size_t left_;
    bool ok_ = true;
};

constexpr std::uint32_t kNullText = 0xFFFFFFFF;

// The plain types a value or an array element may have on the wire.
bool scalarType(VARTYPE vt) {
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_BSTR:
        return true;
    default:
        return false;
    }
}

// The fewest bytes one element of `vt` takes on the wire.
size_t minWireSize(VARTYPE vt) {
    switch (vt) {
    case VT_I2:
    case VT_BOOL:
        return 2;
    case VT_R8:
        return 8;
    default:
        return 4;
    }
}

void writeBstr(Writer& w, BSTR s) {
    if (!s)
        w.u32(kNullText);
    else
        w.text(s, SysStringLen(s));
}

bool readBstr(Reader& r, BSTR& out) {
    std::wstring s;
    bool null = false;
    if (!r.text(s, &null))
        return false;
    if (null) {
        out = nullptr;
        return true;
    }
    out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return out != nullptr;
}

// A cell is a variant's value or an array element: unaligned storage of the value's own type.
template <class T> T load(const void* cell) {
    T v;
    std::memcpy(&v, cell, sizeof v);
    return v;
}
template <class T> void store(void* cell, T v) {
    std::memcpy(cell, &v, sizeof v);
}

void writeScalar(Writer& w, VARTYPE vt, const void* cell) {
    switch (vt) {
    case VT_I2:
    case VT_BOOL:
        w.u16(static_cast<std::uint16_t>(load<SHORT>(cell)));
        break;
    case VT_I4:
        w.i32(load<LONG>(cell));
        break;
    case VT_R4:
        w.f32(load<float>(cell));
        break;
    case VT_R8:
        w.f64(load<double>(cell));
        break;
    case VT_BSTR:
        writeBstr(w, load<BSTR>(cell));
        break;
    default:
        break;
    }
}

bool readScalar(Reader& r, VARTYPE vt, void* cell) {
    switch (vt) {
    case VT_I2:
    case VT_BOOL:
        store<SHORT>(cell, r.i16());
        break;
    case VT_I4:
        store<LONG>(cell, r.i32());
        break;
    case VT_R4:
        store<float>(cell, r.f32());
        break;
    case VT_R8:
        store<double>(cell, r.f64());
        break;
    case VT_BSTR: {
        BSTR v = nullptr;
        if (!readBstr(r, v))
            return false;
        store<BSTR>(cell, v);
        break;
    }
    default:
        return false;
    }
    return r.ok();
}

HRESULT writeArray(Writer& w, SAFEARRAY* a) {
    VARTYPE vt = VT_EMPTY;
    if (!a || FAILED(SafeArrayGetVartype(a, &vt)) || !scalarType(vt) || a->cDims > kMaxArrayDims)
        return DISP_E_BADVARTYPE;
    w.u8(static_cast<std::uint8_t>(a->cDims));
    size_t count = 1;
    for (UINT d = 1; d <= a->cDims; ++d) {
        const SAFEARRAYBOUND& b = a->rgsabound[a->cDims - d];
        w.u32(b.cElements);
        w.i32(b.lLbound);
        count *= b.cElements;
        if (count > kMaxArrayElements)
            return E_OUTOFMEMORY;
    }
    for (size_t i = 0; i < count; ++i)
        writeScalar(w, vt, static_cast<const char*>(a->pvData) + i * a->cbElements);
    return S_OK;
}

bool readArray(Reader& r, VARTYPE vt, SAFEARRAY*& out) {
    const std::uint8_t dims = r.u8();
    if (!r.ok() || dims == 0 || dims > kMaxArrayDims || !scalarType(vt))
        return false;
    SAFEARRAYBOUND bounds[kMaxArrayDims];
    size_t count = 1;
    for (std::uint8_t d = 0; d < dims; ++d) {
        bounds[d].cElements = r.u32();
        bounds[d].lLbound = r.i32();
        count *= bounds[d].cElements;
        if (!r.ok() || count > kMaxArrayElements)
            return false;
    }
    if (count > r.left() / minWireSize(vt))
        return false;
    SAFEARRAY* a = SafeArrayCreate(vt, dims, bounds);
    if (!a)
        return false;
    for (size_t i = 0; i < count; ++i) {
        if (!readScalar(r, vt, static_cast<char*>(a->pvData) + i * a->cbElements)) {
            SafeArrayDestroy(a);
            return false;
        }
    }
    out = a;
    return true;
}

HRESULT writeValue(Writer& w, const VARIANT& v, ObjectCodec& objects) {
    if (v.vt == (VT_BYREF | VT_I2)) {
        if (!v.piVal)
            return E_INVALIDARG;
        w.u16(v.vt);
        w.u16(static_cast<std::uint16_t>(*v.piVal));
        return S_OK;
    }
    if (v.vt & VT_ARRAY) {
        if (v.vt & VT_BYREF)
            return DISP_E_BADVARTYPE;
        w.u16(v.vt);
        return writeArray(w, v.parray);
    }
    if (scalarType(v.vt)) {
        w.u16(v.vt);
        writeScalar(w, v.vt, &v.iVal);
        return S_OK;
    }
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        w.u16(v.vt);
        return S_OK;
    case VT_DISPATCH: {
        std::uint64_t id = 0;
        if (v.pdispVal && !objects.exportObject(v.pdispVal, id))
            return DISP_E_TYPEMISMATCH;
        w.u16(v.vt);
        w.u64(id);
        return S_OK;
    }
    default:
        return DISP_E_BADVARTYPE;
    }
}

// Reads one value into `out` (empty on entry). `byref` is where a by-reference I2 lives, or
// null where none is allowed.
bool readValue(Reader& r, VARIANT& out, ObjectCodec& objects, SHORT* byref) {
    const VARTYPE vt = r.u16();
    if (!r.ok())
        return false;
    if (vt == (VT_BYREF | VT_I2)) {
        if (!byref)
            return false;
        *byref = r.i16();
        out.vt = vt;
        out.piVal = byref;
        return r.ok();
    }
    if (vt & VT_ARRAY) {
        // Nothing but the array flag and an element type: a variant must be clearable.
        if ((vt & ~(VT_ARRAY | VT_TYPEMASK)) != 0)
            return false;
        SAFEARRAY* a = nullptr;
        if (!readArray(r, vt & VT_TYPEMASK, a))
            return false;
        out.vt = vt;
        out.parray = a;
        return true;
    }
    if (scalarType(vt)) {
        if (!readScalar(r, vt, &out.iVal))
            return false;
        out.vt = vt;
        return true;
    }
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        out.vt = vt;
        return true;
    case VT_DISPATCH: {
        const std::uint64_t id = r.u64();
        IDispatch* object = nullptr;
        if (!r.ok() || !objects.importObject(id, &object))
            return false;
        out.vt = VT_DISPATCH;
        out.pdispVal = object;
        return true;
    }
    default:
        return false;
    }
}

// Reads a frame's header; false when it is cut short or of another version.
bool readHeader(Reader& r, Header& header) {
    const std::uint8_t version = r.u8();
    header.kind = static_cast<Kind>(r.u8());
    header.call = r.u32();
    return r.ok() && version == kVersion;
}

bool start(Reader& r, Kind kind) {
    Header header;
    return readHeader(r, header) && header.kind == kind;
}

} // namespace

bool NoObjects::exportObject(IDispatch*, std::uint64_t&) {
    return false;
}
bool NoObjects::importObject(std::uint64_t id, IDispatch** object) {
    *object = nullptr;
    return id == 0;
}

std::optional<std::uint32_t> frameLength(const unsigned char prefix[4]) {
    const std::uint32_t n =
        static_cast<std::uint32_t>(prefix[0]) | (static_cast<std::uint32_t>(prefix[1]) << 8) |
        (static_cast<std::uint32_t>(prefix[2]) << 16) | (static_cast<std::uint32_t>(prefix[3]) << 24);
    if (n > kMaxFrame)
        return std::nullopt;
    return n;
}

HRESULT encode(std::uint32_t call, const CreateRequest& m, Kind kind, std::string& frame) {
    Writer w;
    w.header(kind, call);
    w.guid(m.clsid);
    return w.finish(frame);
}

HRESULT encode(std::uint32_t call, const ObjectReply& m, std::string& frame) {
    Writer w;
    w.header(Kind::ObjectReply, call);
    w.i32(m.hr);
    w.u64(m.object);
    return w.finish(frame);
}

HRESULT encode(std::uint32_t call, const NamesRequest& m, std::string& frame) {
    if (m.names.size() > kMaxNames)
        return E_INVALIDARG;
    Writer w;
    w.header(Kind::GetIDsOfNames, call);
    w.u64(m.object);
    w.u32(m.lcid);
    w.u32(static_cast<std::uint32_t>(m.names.size()));
    for (const auto& n : m.names)
        w.text(n);
    return w.finish(frame);
}

HRESULT encode(std::uint32_t call, const NamesReply& m, std::string& frame) {
    if (m.ids.size() > kMaxNames)
        return E_INVALIDARG;
    Writer w;
    w.header(Kind::NamesReply, call);
    w.i32(m.hr);
    w.u32(static_cast<std::uint32_t>(m.ids.size()));
    for (DISPID id : m.ids)
        w.i32(id);
    return w.finish(frame);
}

HRESULT encode(std::uint32_t call, const ReleaseNote& m, std::string& frame) {
    Writer w;
    w.header(Kind::Release, call);
    w.u64(m.object);
    w.u32(m.count);
    return w.finish(frame);
}

HRESULT encodeInvoke(std::uint32_t call, std::uint64_t object, DISPID member, LCID lcid, WORD flags,
                     const DISPPARAMS& params, bool wantResult, ObjectCodec& objects, std::string& frame) {
    if (params.cArgs > kMaxArgs || params.cNamedArgs > params.cArgs)
        return DISP_E_BADPARAMCOUNT;
    if ((params.cArgs && !params.rgvarg) || (params.cNamedArgs && !params.rgdispidNamedArgs))
        return E_INVALIDARG;
    Writer w;
    w.header(Kind::Invoke, call);
    w.u64(object);
    w.i32(member);
    w.u32(lcid);
    w.u16(flags);
    w.u8(wantResult ? 1 : 0);
    w.u32(params.cArgs);
    for (UINT i = 0; i < params.cArgs; ++i)
        if (HRESULT hr = writeValue(w, params.rgvarg[i], objects); FAILED(hr))
            return hr;
    w.u32(params.cNamedArgs);
    for (UINT i = 0; i < params.cNamedArgs; ++i)
        w.i32(params.rgdispidNamedArgs[i]);
    return w.finish(frame);
}

HRESULT encode(std::uint32_t call, const InvokeReply& m, ObjectCodec& objects, std::string& frame) {
    if (m.outs.size() > kMaxOutArgs)
        return E_INVALIDARG;
    Writer w;
    w.header(Kind::InvokeReply, call);
    w.i32(m.hr);
    if (HRESULT hr = writeValue(w, m.result, objects); FAILED(hr))
        return hr;
    w.u8(m.exception ? 1 : 0);
    if (m.exception) {
        w.u16(m.exception->code);
        w.i32(m.exception->scode);
        w.u32(m.exception->helpContext);
        w.text(m.exception->source);
        w.text(m.exception->description);
        w.text(m.exception->helpFile);
    }
    w.u32(m.argError);
    w.u32(static_cast<std::uint32_t>(m.outs.size()));
    for (const auto& [index, value] : m.outs) {
        w.u32(index);
        if (HRESULT hr = writeValue(w, value, objects); FAILED(hr))
            return hr;
    }
    return w.finish(frame);
}

bool decodeHeader(std::string_view body, Header& header) {
    Reader r(body);
    return readHeader(r, header);
}

bool decode(std::string_view body, CreateRequest& m) {
    Reader r(body);
    Header header;
    if (!readHeader(r, header) ||
        (header.kind != Kind::CreateInstance && header.kind != Kind::GetActiveObject))
        return false;
    m.clsid = r.guid();
    return r.done();
}

bool decode(std::string_view body, ObjectReply& m) {
    Reader r(body);
    if (!start(r, Kind::ObjectReply))
        return false;
    m.hr = r.i32();
    m.object = r.u64();
    return r.done();
}

bool decode(std::string_view body, NamesRequest& m) {
    Reader r(body);
    if (!start(r, Kind::GetIDsOfNames))
        return false;
    m.object = r.u64();
    m.lcid = r.u32();
    const std::uint32_t n = r.count(kMaxNames, 4);
    m.names.resize(n);
    for (auto& name : m.names)
        if (!r.text(name))
            return false;
    return r.done() && n > 0;
}

bool decode(std::string_view body, NamesReply& m) {
    Reader r(body);
    if (!start(r, Kind::NamesReply))
        return false;
    m.hr = r.i32();
    const std::uint32_t n = r.count(kMaxNames, 4);
    m.ids.resize(n);
    for (auto& id : m.ids)
        id = r.i32();
    return r.done();
}

bool decode(std::string_view body, ReleaseNote& m) {
    Reader r(body);
    if (!start(r, Kind::Release))
        return false;
    m.object = r.u64();
    m.count = r.u32();
    return r.done() && m.object != 0 && m.count > 0;
}

bool decode(std::string_view body, InvokeRequest& m, ObjectCodec& objects) {
    Reader r(body);
    if (!start(r, Kind::Invoke))
        return false;
    m.object = r.u64();
    m.member = r.i32();
    m.lcid = r.u32();
    m.flags = r.u16();
    const std::uint8_t want = r.u8();
    const std::uint32_t n = r.count(kMaxArgs, 2);
    if (!r.ok() || want > 1)
        return false;
    m.wantResult = want == 1;
    m.args.resize(n);
    m.byrefI2.assign(n, 0);
    for (std::uint32_t i = 0; i < n; ++i)
        if (!readValue(r, m.args[i], objects, &m.byrefI2[i]))
            return false;
    const std::uint32_t named = r.count(n, 4);
    m.named.resize(named);
    for (auto& id : m.named)
        id = r.i32();
    return r.done();
}

bool decode(std::string_view body, InvokeReply& m, ObjectCodec& objects) {
    Reader r(body);
    if (!start(r, Kind::InvokeReply))
        return false;
    m.hr = r.i32();
    if (!r.ok() || !readValue(r, m.result, objects, nullptr))
        return false;
    const std::uint8_t hasException = r.u8();
    if (!r.ok() || hasException > 1)
        return false;
    if (hasException) {
        ExceptionInfo e;
        e.code = r.u16();
        e.scode = r.i32();
        e.helpContext = r.u32();
        if (!r.text(e.source) || !r.text(e.description) || !r.text(e.helpFile))
            return false;
        m.exception = std::move(e);
    }
    m.argError = r.u32();
    const std::uint32_t outs = r.count(kMaxOutArgs, 6);
    m.outs.resize(outs);
    for (auto& [index, value] : m.outs) {
        index = r.u32();
        // Out values are plain: the caller writes them back through its own references.
        if (!r.ok() || index >= kMaxArgs || !readValue(r, value, objects, nullptr))
            return false;
    }
    return r.done();
}

} // namespace pal::com::wire
