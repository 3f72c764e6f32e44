// The automation wire: the messages a client and a server exchange over a stream socket.
//
// A frame is a 32-bit little-endian body length followed by the body; the body starts with
// the protocol version, the message kind and the call number. Every count and length read
// from a frame is checked against a fixed cap and against the bytes that remain before
// anything is allocated, so a hostile peer can neither crash the reader nor make it
// allocate without bound: a frame that does not decode is a broken link, and the link is
// closed. Strings travel as UTF-16 (the platform's unit); objects travel as ids that each
// side maps through its ObjectCodec.
#pragma once

#include "pal/com/variant.h"
#include "pal/visibility.h"
#include "win/com.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::com::wire {

constexpr std::uint8_t kVersion = 1;
constexpr std::uint32_t kMaxFrame = 4u << 20;
constexpr std::uint32_t kMaxArgs = 64;
constexpr std::uint32_t kMaxNames = 64;
constexpr std::uint32_t kMaxOutArgs = kMaxArgs;
constexpr std::uint32_t kMaxArrayDims = 8;
constexpr std::uint32_t kMaxArrayElements = 1u << 20;

enum class Kind : std::uint8_t {
    CreateInstance = 1,  // client: a new object of a registered class
    GetActiveObject = 2, // client: the object registered as active for a class
    GetIDsOfNames = 3,
    Invoke = 4,
    Release = 5, // client: drops references to an object; no reply
    ObjectReply = 0x81,
    NamesReply = 0x83,
    InvokeReply = 0x84,
};

struct Header {
    Kind kind{};
    std::uint32_t call = 0;
};

// How objects inside values cross the link. Ids are never 0 for an object; 0 is null.
class ObjectCodec {
public:
    virtual ~ObjectCodec() = default;
    // The id under which `object` travels, or false when it cannot travel on this link.
    virtual bool exportObject(IDispatch* object, std::uint64_t& id) = 0;
    // A new reference for a received id (null for 0), or false for an id this side rejects.
    virtual bool importObject(std::uint64_t id, IDispatch** object) = 0;
};

// A codec for links that carry no objects: every non-null object is refused.
class NoObjects : public ObjectCodec {
public:
    bool exportObject(IDispatch* object, std::uint64_t& id) override;
    bool importObject(std::uint64_t id, IDispatch** object) override;
};

struct CreateRequest {
    CLSID clsid{};
};
struct ObjectReply {
    HRESULT hr = S_OK;
    std::uint64_t object = 0;
};
struct NamesRequest {
    std::uint64_t object = 0;
    LCID lcid = 0;
    std::vector<std::wstring> names;
};
struct NamesReply {
    HRESULT hr = S_OK;
    std::vector<DISPID> ids;
};
struct InvokeRequest {
    std::uint64_t object = 0;
    DISPID member = 0;
    LCID lcid = 0;
    WORD flags = 0;
    bool wantResult = false;
    std::vector<Variant> args; // in DISPPARAMS order: the last argument first
    std::vector<DISPID> named;
    // Storage of by-reference arguments, one slot per argument, which their variants point into.
    std::vector<SHORT> byrefI2;
};
struct ExceptionInfo {
    WORD code = 0;
    SCODE scode = 0;
    DWORD helpContext = 0;
    std::wstring source, description, helpFile;
};
struct InvokeReply {
    HRESULT hr = S_OK;
    Variant result;
    std::optional<ExceptionInfo> exception;
    UINT argError = 0;
    std::vector<std::pair<std::uint32_t, Variant>> outs; // by-reference arguments after the call
};
struct ReleaseNote {
    std::uint64_t object = 0;
    std::uint32_t count = 0;
};

// Encoding: each returns the whole frame, length prefix included. Values that cannot travel
// give DISP_E_BADVARTYPE (an unsupported type) or DISP_E_TYPEMISMATCH (an object the codec
// refuses), and nothing is sent.
HRESULT encode(std::uint32_t call, const CreateRequest& m, Kind kind, std::string& frame);
HRESULT encode(std::uint32_t call, const ObjectReply& m, std::string& frame);
HRESULT encode(std::uint32_t call, const NamesRequest& m, std::string& frame);
HRESULT encode(std::uint32_t call, const NamesReply& m, std::string& frame);
HRESULT encode(std::uint32_t call, const ReleaseNote& m, std::string& frame);
// The request is given as the caller holds it; by-reference I2 arguments travel by value.
HRESULT encodeInvoke(std::uint32_t call, std::uint64_t object, DISPID member, LCID lcid, WORD flags,
                     const DISPPARAMS& params, bool wantResult, ObjectCodec& objects, std::string& frame);
HRESULT encode(std::uint32_t call, const InvokeReply& m, ObjectCodec& objects, std::string& frame);

// Decoding of a body (the frame without its length prefix). False means malformed.
bool decodeHeader(std::string_view body, Header& header);
bool decode(std::string_view body, CreateRequest& m);
bool decode(std::string_view body, ObjectReply& m);
bool decode(std::string_view body, NamesRequest& m);
bool decode(std::string_view body, NamesReply& m);
bool decode(std::string_view body, ReleaseNote& m);
bool decode(std::string_view body, InvokeRequest& m, ObjectCodec& objects);
bool decode(std::string_view body, InvokeReply& m, ObjectCodec& objects);

// The body length announced by a 4-byte prefix, or nullopt when it exceeds kMaxFrame.
std::optional<std::uint32_t> frameLength(const unsigned char prefix[4]);

} // namespace pal::com::wire

DV_EXPORTS_END
