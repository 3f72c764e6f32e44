// The wire codec: every value type round trip, and hostile frames that must be refused
// without a crash or an unbounded allocation.
#include "pal/com/wire.h"

#include "../fuzz/decode_all.h"
#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

namespace {

using namespace pal::com;

// A stand-in object; only its identity matters here.
class Stub : public IDispatch {
public:
    ULONG refs = 1;
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

// Ids for the stubs it knows; both directions.
class Table : public wire::ObjectCodec {
public:
    std::map<std::uint64_t, Stub*> byId;
    bool exportObject(IDispatch* object, std::uint64_t& id) override {
        for (auto& [i, s] : byId)
            if (s == object) {
                id = i;
                return true;
            }
        return false;
    }
    bool importObject(std::uint64_t id, IDispatch** object) override {
        *object = nullptr;
        if (id == 0)
            return true;
        auto it = byId.find(id);
        if (it == byId.end())
            return false;
        it->second->AddRef();
        *object = it->second;
        return true;
    }
};

std::string_view bodyOf(const std::string& frame) {
    return std::string_view(frame).substr(4);
}

std::wstring str(BSTR b) {
    return std::wstring(b, SysStringLen(b));
}

// Every argument type the link carries, with text outside the Basic Multilingual Plane.
struct AllTypes {
    Stub object;
    SHORT byref = -321;
    Variant args[12];
    const std::wstring text = L"Н_контр «ГОСТ» 😀 \u00e9";

    AllTypes() {
        int i = 0;
        args[i++].vt = VT_EMPTY;
        args[i++].vt = VT_NULL;
        args[i].vt = VT_I2, args[i++].iVal = -32768;
        args[i].vt = VT_I4, args[i++].lVal = 2147483647;
        args[i].vt = VT_R4, args[i++].fltVal = 1.25f;
        args[i].vt = VT_R8, args[i++].dblVal = -1e-300;
        args[i].vt = VT_BOOL, args[i++].boolVal = VARIANT_TRUE;
        args[i].vt = VT_BSTR,
        args[i++].bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        args[i].vt = VT_DISPATCH, args[i++].pdispVal = &object;
        object.AddRef();
        args[i].vt = VT_BYREF | VT_I2, args[i++].piVal = &byref;
        args[i].vt = VT_ARRAY | VT_BSTR;
        args[i].parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
        LONG at = 1;
        BSTR item = SysAllocString(L"Утверд");
        SafeArrayPutElement(args[i++].parray, &at, item);
        SysFreeString(item);
        SAFEARRAYBOUND b[2] = {{2, 1}, {2, -1}};
        args[i].vt = VT_ARRAY | VT_R8;
        args[i].parray = SafeArrayCreate(VT_R8, 2, b);
        static_cast<double*>(args[i].parray->pvData)[3] = 6.5;
    }
};

TEST(Wire, InvokeCarriesEveryTypeAndNamedArguments) {
    AllTypes all;
    Table table;
    table.byId[7] = &all.object;
    DISPID named[1] = {DISPID_PROPERTYPUT};
    DISPPARAMS params{all.args, named, 12, 1};
    std::string frame;
    ASSERT_EQ(wire::encodeInvoke(5, 9, 13, 0x409, DISPATCH_METHOD, params, true, table, frame), S_OK);

    wire::Header h;
    ASSERT_TRUE(wire::decodeHeader(bodyOf(frame), h));
    EXPECT_EQ(h.kind, wire::Kind::Invoke);
    EXPECT_EQ(h.call, 5u);
    wire::InvokeRequest req;
    ASSERT_TRUE(wire::decode(bodyOf(frame), req, table));
    EXPECT_EQ(req.object, 9u);
    EXPECT_EQ(req.member, 13);
    EXPECT_EQ(req.lcid, 0x409u);
    EXPECT_TRUE(req.wantResult);
    ASSERT_EQ(req.args.size(), 12u);
    ASSERT_EQ(req.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(req.args[i].vt, all.args[i].vt) << i;
    EXPECT_EQ(req.args[2].iVal, -32768);
    EXPECT_EQ(req.args[3].lVal, 2147483647);
    EXPECT_EQ(req.args[4].fltVal, 1.25f);
    EXPECT_EQ(req.args[5].dblVal, -1e-300);
    EXPECT_EQ(req.args[6].boolVal, VARIANT_TRUE);
    EXPECT_EQ(str(req.args[7].bstrVal), all.text);
    EXPECT_EQ(req.args[8].pdispVal, &all.object);
    EXPECT_EQ(*req.args[9].piVal, -321);
    EXPECT_NE(req.args[9].piVal, &all.byref); // points into the request's own storage
    LONG at = 1;
    BSTR item = nullptr;
    ASSERT_EQ(SafeArrayGetElement(req.args[10].parray, &at, &item), S_OK);
    EXPECT_EQ(str(item), L"Утверд");
    SysFreeString(item);
    LONG lo = 0;
    SafeArrayGetLBound(req.args[11].parray, 2, &lo);
    EXPECT_EQ(lo, -1);
    EXPECT_EQ(static_cast<double*>(req.args[11].parray->pvData)[3], 6.5);
}

TEST(Wire, ReplyCarriesResultExceptionAndByReferenceOutputs) {
    Stub object;
    Table table;
    table.byId[3] = &object;
    wire::InvokeReply out;
    out.hr = DISP_E_EXCEPTION;
    out.result.vt = VT_DISPATCH;
    out.result.pdispVal = &object;
    object.AddRef();
    out.exception = wire::ExceptionInfo{0, E_FAIL, 7, L"DravikCad", L"Ошибка", L""};
    out.argError = 2;
    Variant v;
    v.vt = VT_I2;
    v.iVal = 5;
    out.outs.emplace_back(1, std::move(v));
    std::string frame;
    ASSERT_EQ(wire::encode(11, out, table, frame), S_OK);
    wire::InvokeReply back;
    ASSERT_TRUE(wire::decode(bodyOf(frame), back, table));
    EXPECT_EQ(back.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(back.result.pdispVal, &object);
    ASSERT_TRUE(back.exception);
    EXPECT_EQ(back.exception->description, L"Ошибка");
    EXPECT_EQ(back.exception->scode, E_FAIL);
    EXPECT_EQ(back.argError, 2u);
    ASSERT_EQ(back.outs.size(), 1u);
    EXPECT_EQ(back.outs[0].first, 1u);
    EXPECT_EQ(back.outs[0].second.iVal, 5);
}

TEST(Wire, ValuesThatCannotTravelAreRefusedBeforeSending) {
    Stub object;
    wire::NoObjects none;
    Variant unknown, foreign;
    unknown.vt = VT_UNKNOWN;
    foreign.vt = VT_DISPATCH;
    foreign.pdispVal = &object;
    object.AddRef();
    std::string frame;
    DISPPARAMS one{&unknown, nullptr, 1, 0};
    EXPECT_EQ(wire::encodeInvoke(1, 1, 1, 0, DISPATCH_METHOD, one, false, none, frame), DISP_E_BADVARTYPE);
    DISPPARAMS obj{&foreign, nullptr, 1, 0};
    EXPECT_EQ(wire::encodeInvoke(1, 1, 1, 0, DISPATCH_METHOD, obj, false, none, frame), DISP_E_TYPEMISMATCH);
    std::vector<Variant> many(wire::kMaxArgs + 1);
    DISPPARAMS lots{many.data(), nullptr, static_cast<UINT>(many.size()), 0};
    EXPECT_EQ(wire::encodeInvoke(1, 1, 1, 0, DISPATCH_METHOD, lots, false, none, frame),
              DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(frame.empty());
}

TEST(Wire, EveryTruncationIsRefused) {
    AllTypes all;
    Table table;
    table.byId[7] = &all.object;
    DISPPARAMS params{all.args, nullptr, 12, 0};
    std::string frame;
    ASSERT_EQ(wire::encodeInvoke(1, 9, 1, 0, DISPATCH_METHOD, params, true, table, frame), S_OK);
    const std::string_view body = bodyOf(frame);
    for (size_t n = 0; n < body.size(); ++n) {
        wire::InvokeRequest req;
        EXPECT_FALSE(wire::decode(body.substr(0, n), req, table)) << "cut at " << n;
    }
    {
        // Trailing bytes are as wrong as missing ones.
        wire::InvokeRequest req;
        EXPECT_FALSE(wire::decode(std::string(body) + '\0', req, table));
    }
    EXPECT_EQ(all.object.refs, 2u) << "objects of refused frames are released";
}

// Little-endian helpers for building hostile frames by hand.
void put(std::string& s, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::string header(wire::Kind kind, std::uint8_t version = wire::kVersion) {
    std::string s;
    put(s, version, 1);
    put(s, static_cast<std::uint8_t>(kind), 1);
    put(s, 1, 4);
    return s;
}
std::string invokeWithOneArg(const std::string& value) {
    std::string s = header(wire::Kind::Invoke);
    put(s, 1, 8);               // object
    put(s, 1, 4);               // member
    put(s, 0, 4);               // lcid
    put(s, DISPATCH_METHOD, 2); // flags
    put(s, 0, 1);               // no result wanted
    put(s, 1, 4);               // one argument
    s += value;
    put(s, 0, 4); // no named arguments
    return s;
}

TEST(Wire, HostileCountsAndLengthsAreRefused) {
    wire::NoObjects none;
    struct Case {
        const char* what;
        std::string value;
    };
    auto vt = [](VARTYPE t) {
        std::string s;
        put(s, t, 2);
        return s;
    };
    const Case cases[] = {
        {"string longer than the frame", vt(VT_BSTR) +
                                             [] {
                                                 std::string s;
                                                 put(s, 0x7FFFFFFF, 4);
                                                 return s;
                                             }()},
        {"unknown type", vt(0x0FFF)},
        {"unknown interface", vt(VT_UNKNOWN) + std::string(8, '\0')},
        {"object id nobody gave out", vt(VT_DISPATCH) +
                                          [] {
                                              std::string s;
                                              put(s, 99, 8);
                                              return s;
                                          }()},
        {"by-reference string", vt(VT_BYREF | VT_BSTR) + std::string(4, '\0')},
        {"array of nine dimensions", vt(VT_ARRAY | VT_I4) + std::string(1, '\x09') + std::string(72, '\0')},
        {"array of zero dimensions", vt(VT_ARRAY | VT_I4) + std::string(1, '\0')},
        {"array over the element cap", vt(VT_ARRAY | VT_I2) +
                                           [] {
                                               std::string s(1, '\x02');
                                               put(s, 0x10000, 4), put(s, 0, 4), put(s, 0x10000, 4),
                                                   put(s, 0, 4);
                                               return s;
                                           }()},
        {"array larger than the frame", vt(VT_ARRAY | VT_R8) +
                                            [] {
                                                std::string s(1, '\x01');
                                                put(s, 1000, 4), put(s, 0, 4);
                                                return s + std::string(80, '\0');
                                            }()},
        {"array type with a stray flag", vt(VT_ARRAY | 0x1000 | VT_BOOL) +
                                             [] {
                                                 std::string s(1, '\x01');
                                                 put(s, 1, 4), put(s, 0, 4), put(s, 0, 2);
                                                 return s;
                                             }()},
        {"array of variants", vt(VT_ARRAY | VT_VARIANT) + std::string(1, '\x01') + std::string(8, '\0')},
    };
    for (const auto& c : cases) {
        wire::InvokeRequest req;
        EXPECT_FALSE(wire::decode(invokeWithOneArg(c.value), req, none)) << c.what;
    }
    // The null string marker is a valid value in itself.
    wire::InvokeRequest ok;
    std::string nullText = invokeWithOneArg(vt(VT_BSTR) + std::string("\xFF\xFF\xFF\xFF", 4));
    ASSERT_TRUE(wire::decode(nullText, ok, none));
    EXPECT_EQ(ok.args[0].bstrVal, nullptr);

    std::string names = header(wire::Kind::GetIDsOfNames);
    put(names, 1, 8), put(names, 0, 4), put(names, 0xFFFFFFFF, 4);
    wire::NamesRequest nr;
    EXPECT_FALSE(wire::decode(names, nr)) << "name count";

    std::string args = header(wire::Kind::Invoke);
    put(args, 1, 8), put(args, 1, 4), put(args, 0, 4), put(args, 1, 2), put(args, 0, 1), put(args, 65, 4);
    args += std::string(65 * 2, '\0');
    wire::InvokeRequest many;
    EXPECT_FALSE(wire::decode(args, many, none)) << "argument count over the cap";

    std::string otherVersion = header(wire::Kind::Release, 2);
    put(otherVersion, 1, 8), put(otherVersion, 1, 4);
    wire::ReleaseNote rn;
    EXPECT_FALSE(wire::decode(otherVersion, rn)) << "another protocol version";
    std::string release = header(wire::Kind::Release);
    put(release, 1, 8), put(release, 1, 4);
    EXPECT_TRUE(wire::decode(release, rn));

    const unsigned char atCap[4] = {0x00, 0x00, 0x40, 0x00};
    const unsigned char overCap[4] = {0x01, 0x00, 0x40, 0x00};
    const unsigned char huge[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(wire::frameLength(atCap), std::optional<std::uint32_t>(wire::kMaxFrame));
    EXPECT_EQ(wire::frameLength(overCap), std::nullopt);
    EXPECT_EQ(wire::frameLength(huge), std::nullopt);
}

class WireFixtures : public pal::test::SandboxTest {};

TEST_F(WireFixtures, FuzzFindingsStayHarmless) {
    namespace fs = std::filesystem;
    const fs::path dir = sourcePath("platform/win32/com/tests/fixtures/wire");
    size_t replayed = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        pal::com::fuzz::decodeAll(pal::test::readFile(entry.path()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
}

} // namespace
