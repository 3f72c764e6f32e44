// Automation inside one process: dispatch maps (DISPIDs, names, argument conversion and its
// errors, properties, exceptions), reference counts, the dispatch driver, class factories and
// the application lock.
#include "afxole.h"
#include "ole_scode.h"
#include "pal/path.h"
#include "pal/test/classes_root.h"
#include "pal/test/sandbox_test.h"
#include "win/system.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using pal::com::Variant;

class OleTest : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        AfxOleSetUserCtrl(TRUE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SandboxTest::TearDown();
    }
};

int liveCounters = 0;

// A base class with a map of its own, to show how its DISPIDs are told from the derived ones.
class Base : public CCmdTarget {
public:
    LONG Ping() { return 7; }
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(Base, CCmdTarget)
DISP_FUNCTION(Base, "Ping", Ping, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

class Counter : public Base {
    DECLARE_DYNCREATE(Counter)
public:
    Counter() {
        EnableAutomation();
        ++liveCounters;
    }
    ~Counter() override { --liveCounters; }

    std::wstring log;
    CString name = L"счётчик";
    short cursor = 0;

    LONG Add(short a, LONG b) { return a + b; }
    double Scale(double value, float factor) { return value * factor; }
    BOOL Negate(BOOL on) { return !on; }
    BSTR Echo(LPCWSTR text) { return SysAllocString(text); }
    void Note(LPCWSTR text) { log += text; }
    short Step(short* position) { return ++*position; }
    short Kind(const VARIANT& v) { return static_cast<short>(v.vt); }
    LPDISPATCH Self() { return GetIDispatch(TRUE); }
    VARIANT Pair() {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(L"пара");
        return v;
    }
    void Fail() { AfxThrowOleDispatchException(1001, L"Ошибка сервера"); }
    void Broken() { AfxThrowMemoryException(); }
    BSTR GetName() { return SysAllocStringLen(name.GetString(), static_cast<UINT>(name.GetLength())); }
    void SetName(LPCWSTR value) { name = value; }
    LONG GetVersion() { return 1800; }

    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(Counter, CCmdTarget)

BEGIN_DISPATCH_MAP(Counter, Base)
DISP_FUNCTION(Counter, "Add", Add, VT_I4, VTS_I2 VTS_I4)
DISP_FUNCTION(Counter, "Scale", Scale, VT_R8, VTS_R8 VTS_R4)
DISP_FUNCTION(Counter, "Negate", Negate, VT_BOOL, VTS_BOOL)
DISP_FUNCTION(Counter, "Echo", Echo, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(Counter, "Note", Note, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(Counter, "Step", Step, VT_I2, VTS_PI2)
DISP_FUNCTION(Counter, "Kind", Kind, VT_I2, VTS_VARIANT)
DISP_FUNCTION(Counter, "Self", Self, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(Counter, "Pair", Pair, VT_VARIANT, VTS_NONE)
DISP_FUNCTION(Counter, "Fail", Fail, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(Counter, "Broken", Broken, VT_EMPTY, VTS_NONE)
DISP_PROPERTY_EX(Counter, "Name", GetName, SetName, VT_BSTR)
DISP_PROPERTY_EX(Counter, "Version", GetVersion, SetNotSupported, VT_I4)
END_DISPATCH_MAP()

// DISPIDs by position in Counter's map.
enum : DISPID {
    kAdd = 1,
    kScale,
    kNegate,
    kEcho,
    kNote,
    kStep,
    kKind,
    kSelf,
    kPair,
    kFail,
    kBroken,
    kName,
    kVersion
};

DISPID idOf(IDispatch* d, const wchar_t* name, HRESULT* hr = nullptr) {
    std::wstring n = name;
    LPOLESTR names[1] = {n.data()};
    DISPID id = 12345;
    const HRESULT r = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (hr)
        *hr = r;
    return id;
}

// Arguments in call order; the call reverses them as the platform does.
HRESULT invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               UINT* argError = nullptr, bool namedPut = false) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{reversed.empty() ? nullptr : reversed.data(), namedPut ? &put : nullptr,
                 static_cast<UINT>(reversed.size()), namedPut ? 1u : 0u};
    UINT ignored = 0;
    EXCEPINFO e{};
    if (result)
        VariantClear(result); // a caller gives back what an earlier call left in its result
    const HRESULT hr =
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, result, &e, argError ? argError : &ignored);
    SysFreeString(e.bstrSource);
    SysFreeString(e.bstrDescription);
    SysFreeString(e.bstrHelpFile);
    return hr;
}

VARIANT i2(short v) {
    VARIANT x;
    VariantInit(&x);
    x.vt = VT_I2, x.iVal = v;
    return x;
}
VARIANT i4(LONG v) {
    VARIANT x;
    VariantInit(&x);
    x.vt = VT_I4, x.lVal = v;
    return x;
}
// Borrowed text: the caller keeps the Variant alive for the call.
Variant text(const wchar_t* s) {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(s);
    return v;
}

TEST_F(OleTest, MembersHaveTheirPositionAsDispidAndAreFoundByNameWithoutCase) {
    Counter* c = new Counter;
    IDispatch* d = c->GetIDispatch(FALSE);
    ASSERT_NE(d, nullptr);
    const struct {
        const wchar_t* name;
        DISPID id;
    } cases[] = {
        {L"Add", kAdd},
        {L"aDD", kAdd},
        {L"STEP", kStep},
        {L"name", kName},
        {L"Version", kVersion},
        // The base class's map: its position, and one map above it.
        {L"ping", MAKELONG(1, 1)},
    };
    for (const auto& k : cases) {
        HRESULT hr = E_FAIL;
        EXPECT_EQ(idOf(d, k.name, &hr), k.id) << k.name;
        EXPECT_EQ(hr, S_OK) << k.name;
    }
    HRESULT hr = S_OK;
    EXPECT_EQ(idOf(d, L"Addd", &hr), DISPID_UNKNOWN);
    EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);

    Variant r;
    ASSERT_EQ(invoke(d, MAKELONG(1, 1), DISPATCH_METHOD, {}, &r), S_OK);
    EXPECT_EQ(r.lVal, 7);
    for (DISPID missing :
         {DISPID(0), DISPID(-5), DISPID(kVersion + 1), DISPID(MAKELONG(2, 1)), DISPID(MAKELONG(1, 3))})
        EXPECT_EQ(invoke(d, missing, DISPATCH_METHOD, {}, &r), DISP_E_MEMBERNOTFOUND) << missing;
    c->InternalRelease();
}

TEST_F(OleTest, ArgumentsAreConvertedToTheMembersTypesOrRefusedWithTheirPosition) {
    Counter* c = new Counter;
    IDispatch* d = c->GetIDispatch(FALSE);
    Variant seven = text(L"7"), word = text(L"много"), half = text(L"0.5");
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR, missing.scode = DISP_E_PARAMNOTFOUND;
    VARIANT big = i4(100000); // does not fit a 16-bit parameter

    const struct {
        const char* what;
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT hr;
        std::optional<UINT> argError; // counted last argument first
        LONG sum;
    } cases[] = {
        {"exact types", kAdd, {i2(2), i4(40)}, S_OK, {}, 42},
        {"numbers in text convert", kAdd, {seven, i2(3)}, S_OK, {}, 10},
        {"a word is no number", kAdd, {i2(1), word}, DISP_E_TYPEMISMATCH, 0u, 0},
        {"the first argument is the last one counted", kAdd, {word, i2(1)}, DISP_E_TYPEMISMATCH, 1u, 0},
        {"too large for a short", kAdd, {big, i2(1)}, DISP_E_OVERFLOW, 1u, 0},
        {"one too many", kAdd, {i2(1), i2(2), i2(3)}, DISP_E_BADPARAMCOUNT, {}, 0},
        {"one too few", kAdd, {i2(1)}, DISP_E_PARAMNOTOPTIONAL, {}, 0},
        {"none", kAdd, {}, DISP_E_PARAMNOTOPTIONAL, {}, 0},
        {"an argument left out", kAdd, {missing, i2(1)}, DISP_E_PARAMNOTOPTIONAL, {}, 0},
        {"a by-value short where a reference is wanted", kStep, {i2(1)}, DISP_E_TYPEMISMATCH, 0u, 0},
        {"an object where a number is wanted",
         kNegate,
         {[&] {
             VARIANT v;
             VariantInit(&v);
             v.vt = VT_DISPATCH, v.pdispVal = nullptr;
             return v;
         }()},
         DISP_E_TYPEMISMATCH,
         0u,
         0},
    };
    for (const auto& k : cases) {
        Variant r;
        UINT argError = 99;
        EXPECT_EQ(invoke(d, k.id, DISPATCH_METHOD, k.args, &r, &argError), k.hr) << k.what;
        if (k.argError) {
            EXPECT_EQ(argError, *k.argError) << k.what;
        }
        if (k.hr == S_OK && k.id == kAdd) {
            EXPECT_EQ(r.vt, VT_I4) << k.what;
            EXPECT_EQ(r.lVal, k.sum) << k.what;
        }
    }

    // Conversions into every parameter type, and results of every type.
    Variant r;
    ASSERT_EQ(invoke(d, kScale, DISPATCH_METHOD, {seven, half}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_R8);
    EXPECT_EQ(r.dblVal, 3.5);
    ASSERT_EQ(invoke(d, kNegate, DISPATCH_METHOD, {i2(0)}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);
    ASSERT_EQ(invoke(d, kEcho, DISPATCH_METHOD, {i4(-12)}, &r), S_OK);
    EXPECT_STREQ(r.bstrVal, L"-12");
    ASSERT_EQ(invoke(d, kKind, DISPATCH_METHOD, {}, &r), S_OK) << "a VARIANT parameter is optional";
    EXPECT_EQ(r.iVal, VT_ERROR);
    ASSERT_EQ(invoke(d, kKind, DISPATCH_METHOD, {half}, &r), S_OK);
    EXPECT_EQ(r.iVal, VT_BSTR);
    // Methods may be read like properties, as some clients call them.
    ASSERT_EQ(invoke(d, kPair, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BSTR);
    EXPECT_STREQ(r.bstrVal, L"пара");
    // No result wanted: what the member returned is freed (the leak checker would tell).
    EXPECT_EQ(invoke(d, kEcho, DISPATCH_METHOD, {seven}, nullptr), S_OK);
    EXPECT_EQ(invoke(d, kAdd, DISPATCH_PROPERTYPUT, {i2(1)}, nullptr, nullptr, true), DISP_E_MEMBERNOTFOUND)
        << "a method is not a property";
    c->InternalRelease();
}

TEST_F(OleTest, PropertiesAreReadAndWrittenAndReadOnlyOnesRefuseWrites) {
    Counter* c = new Counter;
    IDispatch* d = c->GetIDispatch(FALSE);
    Variant r;
    ASSERT_EQ(invoke(d, kName, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_STREQ(r.bstrVal, L"счётчик");
    Variant value = text(L"Разраб");
    EXPECT_EQ(invoke(d, kName, DISPATCH_PROPERTYPUT, {value}, nullptr, nullptr, true), S_OK);
    EXPECT_EQ(c->name, L"Разраб");
    EXPECT_EQ(invoke(d, kName, DISPATCH_PROPERTYPUT, {value, value}, nullptr, nullptr, true),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(invoke(d, kName, DISPATCH_PROPERTYGET, {value}, &r), DISP_E_BADPARAMCOUNT);
    ASSERT_EQ(invoke(d, kVersion, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(r.lVal, 1800);
    EXPECT_EQ(invoke(d, kVersion, DISPATCH_PROPERTYPUT, {i4(1)}, nullptr, nullptr, true),
              DISP_E_MEMBERNOTFOUND);
    c->InternalRelease();
}

TEST_F(OleTest, ErrorsThrownByMembersReachTheCallerAsExceptionInformation) {
    Counter* c = new Counter;
    IDispatch* d = c->GetIDispatch(FALSE);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO e{};
    UINT argError = 0;
    ASSERT_EQ(d->Invoke(kFail, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &e, &argError),
              DISP_E_EXCEPTION);
    EXPECT_EQ(e.wCode, 1001);
    EXPECT_STREQ(e.bstrDescription, L"Ошибка сервера");
    SysFreeString(e.bstrSource), SysFreeString(e.bstrDescription), SysFreeString(e.bstrHelpFile);

    e = EXCEPINFO{};
    ASSERT_EQ(d->Invoke(kBroken, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &e, &argError),
              DISP_E_EXCEPTION);
    EXPECT_EQ(e.scode, E_OUTOFMEMORY);
    SysFreeString(e.bstrSource), SysFreeString(e.bstrDescription), SysFreeString(e.bstrHelpFile);

    // Through the driver: the member's error as a dispatch exception, the call's as an OLE one.
    COleDispatchDriver driver(d, FALSE);
    try {
        driver.InvokeHelper(kFail, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* x) {
        EXPECT_EQ(x->m_wCode, 1001);
        EXPECT_EQ(x->m_strDescription, L"Ошибка сервера");
        x->Delete();
    }
    try {
        driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I2 VTS_I2 VTS_I2, 1, 2, 3);
        ADD_FAILURE() << "no exception";
    } catch (COleException* x) {
        EXPECT_EQ(x->m_sc, DISP_E_BADPARAMCOUNT);
        x->Delete();
    }
    EXPECT_EQ(liveCounters, 1) << "the object goes on";
    driver.ReleaseDispatch();
    c->InternalRelease();
}

TEST_F(OleTest, DriverPassesEveryTypeAndTakesResultsAsAsked) {
    Counter* c = new Counter;
    COleDispatchDriver driver(c->GetIDispatch(TRUE));
    LONG sum = 0;
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_I2 VTS_I4, 2, 40);
    EXPECT_EQ(sum, 42);
    double scaled = 0;
    driver.InvokeHelper(kScale, DISPATCH_METHOD, VT_R8, &scaled, VTS_R8 VTS_R4, 1.5, 2.0f);
    EXPECT_EQ(scaled, 3.0);
    BOOL negated = TRUE;
    driver.InvokeHelper(kNegate, DISPATCH_METHOD, VT_BOOL, &negated, VTS_BOOL, TRUE);
    EXPECT_EQ(negated, FALSE);
    CString echoed;
    driver.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, VTS_BSTR, L"Н_контр «𝔇»");
    EXPECT_EQ(echoed, L"Н_контр «𝔇»");
    driver.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, VTS_BSTR, CString(L"строка"));
    EXPECT_EQ(echoed, L"строка");
    short position = 4, stepped = 0;
    static BYTE byRef[] = VTS_PI2;
    driver.InvokeHelper(kStep, DISPATCH_METHOD, VT_I2, &stepped, byRef, &position);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(stepped, 5);
    // A result converted to the type asked for.
    CString sumText;
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_BSTR, &sumText, VTS_I2 VTS_I4, 1, 2);
    EXPECT_EQ(sumText, L"3");
    LPDISPATCH self = nullptr;
    driver.InvokeHelper(kSelf, DISPATCH_METHOD, VT_DISPATCH, &self, VTS_NONE);
    EXPECT_EQ(self, c->GetIDispatch(FALSE));
    short kind = 0;
    driver.InvokeHelper(kKind, DISPATCH_METHOD, VT_I2, &kind, VTS_DISPATCH, self);
    EXPECT_EQ(kind, VT_DISPATCH);
    self->Release();
    VARIANT pair;
    VariantInit(&pair);
    driver.InvokeHelper(kPair, DISPATCH_METHOD, VT_VARIANT, &pair, VTS_NONE);
    EXPECT_STREQ(pair.bstrVal, L"пара");
    VariantClear(&pair);
    driver.InvokeHelper(kKind, DISPATCH_METHOD, VT_I2, &kind, VTS_VARIANT, &pair);
    EXPECT_EQ(kind, VT_EMPTY);

    driver.SetProperty(kName, VT_BSTR, L"Утверд");
    CString name;
    driver.GetProperty(kName, VT_BSTR, &name);
    EXPECT_EQ(name, L"Утверд");
    LONG version = 0;
    driver.GetProperty(kVersion, VT_I4, &version);
    EXPECT_EQ(version, 1800);

    // Arguments that do not fit the parameter string, and result pointers that do not fit
    // the result type, never reach the object.
    EXPECT_EQ(scodeOf([&] { driver.InvokeHelper(kNote, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_BSTR, 5); }),
              E_INVALIDARG);
    EXPECT_EQ(scodeOf([&] { driver.InvokeHelper(kNote, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_BSTR); }),
              E_INVALIDARG);
    EXPECT_EQ(
        scodeOf([&] { driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_BSTR, &sum, VTS_I2 VTS_I4, 1, 2); }),
        E_INVALIDARG);
    EXPECT_EQ(c->log, L"");

    EXPECT_EQ(c->m_dwRef, 2);
    driver.ReleaseDispatch();
    EXPECT_EQ(c->m_dwRef, 1);
    c->InternalRelease();
}

class Watched : public CCmdTarget {
public:
    explicit Watched(int& finals) : finals_(finals) {}
    void OnFinalRelease() override { ++finals_; }

private:
    int& finals_;
};

TEST_F(OleTest, TheLastReleaseRunsOnFinalReleaseWhichDeletesByDefault) {
    int finals = 0;
    Watched plain(finals);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(plain.GetIDispatch(TRUE), nullptr) << "no IDispatch before automation is enabled";
    EXPECT_EQ(plain.InternalQueryInterface(&IID_IDispatch, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    plain.EnableAutomation();
    ASSERT_EQ(plain.InternalQueryInterface(&IID_IUnknown, &p), S_OK);
    EXPECT_EQ(p, static_cast<void*>(plain.GetIDispatch(FALSE)));
    EXPECT_EQ(plain.m_dwRef, 2);
    EXPECT_EQ(plain.GetIDispatch(FALSE)->Release(), 1u);
    EXPECT_EQ(finals, 0);
    EXPECT_EQ(plain.InternalRelease(), 0u);
    EXPECT_EQ(finals, 1);

    Counter* c = new Counter;
    IDispatch* d = c->GetIDispatch(TRUE);
    c->InternalRelease();
    EXPECT_EQ(liveCounters, 1) << "the client's reference keeps it";
    d->Release();
    EXPECT_EQ(liveCounters, 0);
}

// Takes and drops a reference of its own while it is destroyed, as a destructor that hands
// its IDispatch to someone does.
class SelfHolding : public CCmdTarget {
public:
    explicit SelfHolding(int& finals) : finals_(finals) { EnableAutomation(); }
    ~SelfHolding() override { GetIDispatch(TRUE)->Release(); }
    void OnFinalRelease() override {
        ++finals_;
        CCmdTarget::OnFinalRelease();
    }

private:
    int& finals_;
};

TEST_F(OleTest, OnFinalReleaseRunsOnceAlsoWhenTheDestructorTakesAReference) {
    int finals = 0;
    IDispatch* d = (new SelfHolding(finals))->GetIDispatch(FALSE);
    EXPECT_EQ(d->Release(), 0u);
    EXPECT_EQ(finals, 1);
}

TEST_F(OleTest, ADriverAssignedACopyOwnsItsReferenceAlsoToTheObjectItHeld) {
    const int before = liveCounters;
    Counter* c = new Counter;
    COleDispatchDriver borrowed(c->GetIDispatch(FALSE), FALSE);
    COleDispatchDriver owner(borrowed);
    EXPECT_EQ(c->m_dwRef, 2);
    borrowed = owner;
    EXPECT_EQ(c->m_dwRef, 3);
    EXPECT_TRUE(borrowed.m_bAutoRelease);
    c->InternalRelease();
    owner.ReleaseDispatch();
    EXPECT_EQ(liveCounters, before + 1) << "the assigned driver still holds the object";
    LONG version = 0;
    borrowed.GetProperty(kVersion, VT_I4, &version);
    EXPECT_EQ(version, 1800);
    borrowed.ReleaseDispatch();
    EXPECT_EQ(liveCounters, before);
}

constexpr CLSID kCounterClass = {
    0x6A1D0E01, 0x31C2, 0x4B7E, {0x8F, 0x10, 0x22, 0x5B, 0x6C, 0x01, 0x02, 0x03}};
constexpr CLSID kDocumentClass = {
    0x6A1D0E02, 0x31C2, 0x4B7E, {0x8F, 0x10, 0x22, 0x5B, 0x6C, 0x01, 0x02, 0x03}};

using pal::test::classesDefault;

TEST_F(OleTest, FactoryCreatesItsClassForEachRequestAndWritesTheClassRegistry) {
    const int before = liveCounters;
    COleObjectFactory factory(kCounterClass, RUNTIME_CLASS(Counter), FALSE, L"DVMFC.COUNTER");
    EXPECT_FALSE(factory.IsRegistered());
    ASSERT_TRUE(COleObjectFactory::RegisterAll());
    EXPECT_TRUE(factory.IsRegistered());

    COleDispatchDriver first, second;
    ASSERT_TRUE(first.CreateDispatch(kCounterClass));
    ASSERT_TRUE(second.CreateDispatch(kCounterClass));
    EXPECT_NE(first.m_lpDispatch, second.m_lpDispatch) << "a new object for each request";
    EXPECT_EQ(liveCounters, before + 2);
    first.ReleaseDispatch();
    second.ReleaseDispatch();
    EXPECT_EQ(liveCounters, before);

    ASSERT_TRUE(factory.UpdateRegistry());
    const std::wstring id = pal::com::guidToString(kCounterClass);
    EXPECT_EQ(classesDefault(L"DVMFC.COUNTER\\CLSID"), id);
    EXPECT_EQ(classesDefault(L"CLSID\\" + id + L"\\ProgID"), L"DVMFC.COUNTER");
    EXPECT_EQ(classesDefault(L"CLSID\\" + id + L"\\LocalServer32"),
              L"\"" + pal::folders::programFile().wstring() + L"\"");
    COleDispatchDriver byName;
    EXPECT_TRUE(byName.CreateDispatch(L"DVMFC.COUNTER"));
    byName.ReleaseDispatch();

    ASSERT_TRUE(COleObjectFactory::UpdateRegistryAll(FALSE));
    EXPECT_EQ(classesDefault(L"DVMFC.COUNTER\\CLSID"), L"<missing>");
    EXPECT_EQ(classesDefault(L"CLSID\\" + id), L"<missing>");
    COleException error;
    EXPECT_FALSE(byName.CreateDispatch(L"DVMFC.COUNTER", &error));
    EXPECT_EQ(error.m_sc, REGDB_E_CLASSNOTREG);

    factory.Revoke();
    EXPECT_FALSE(factory.IsRegistered());
    EXPECT_FALSE(first.CreateDispatch(kCounterClass, &error)) << "nothing serves the class any more";
    EXPECT_EQ(error.m_sc, REGDB_E_CLASSNOTREG);
}

class ServedDocument : public CDocument {
public:
    ServedDocument() { EnableAutomation(); }
    LONG Ping() { return 11; }
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(ServedDocument, CDocument)
DISP_FUNCTION(ServedDocument, "Ping", Ping, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

class ServedTemplate : public CDocTemplate {
public:
    int opened = 0;
    CDocument* OpenDocumentFile(LPCWSTR path, BOOL visible) override {
        ++opened;
        EXPECT_EQ(path, nullptr);
        EXPECT_FALSE(visible);
        auto* doc = new ServedDocument;
        doc->m_pDocTemplate = this;
        return doc;
    }
};

TEST_F(OleTest, TemplateServerMakesANewDocumentForEachClient) {
    ServedTemplate docTemplate;
    COleTemplateServer server;
    server.ConnectTemplate(kDocumentClass, &docTemplate, FALSE);
    ASSERT_TRUE(server.Register());
    COleDispatchDriver doc;
    ASSERT_TRUE(doc.CreateDispatch(kDocumentClass));
    EXPECT_EQ(docTemplate.opened, 1);
    LONG ping = 0;
    doc.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &ping, VTS_NONE);
    EXPECT_EQ(ping, 11);
    doc.ReleaseDispatch();

    ASSERT_TRUE(server.UpdateRegistry(OAT_INPLACE_SERVER));
    const std::wstring id = pal::com::guidToString(kDocumentClass);
    EXPECT_EQ(classesDefault(L"CLSID\\" + id + L"\\LocalServer32"),
              L"\"" + pal::folders::programFile().wstring() + L"\"");
    ASSERT_TRUE(server.UpdateRegistry(FALSE));
    EXPECT_EQ(classesDefault(L"CLSID\\" + id), L"<missing>");
}

bool quitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT;
}

TEST_F(OleTest, TheLastUnlockEndsOnlyAProgramStartedForAClient) {
    ASSERT_TRUE(AfxOleCanExitApp());
    AfxOleLockApp();
    AfxOleLockApp();
    EXPECT_EQ(pal::mfc::oleLockCount(), 2);
    EXPECT_FALSE(AfxOleCanExitApp());
    AfxOleUnlockApp();
    AfxOleUnlockApp();
    EXPECT_FALSE(quitPosted()) << "under the user's control the program stays";

    AfxOleSetUserCtrl(FALSE);
    AfxOleLockApp();
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_FALSE(quitPosted());
    AfxOleUnlockApp();
    EXPECT_TRUE(quitPosted());
    EXPECT_TRUE(AfxOleGetUserCtrl()) << "the end is asked for once";

    AfxOleUnlockApp(); // one unlock too many
    EXPECT_EQ(pal::mfc::oleLockCount(), 0);
    AfxOleLockApp();
    EXPECT_FALSE(AfxOleCanExitApp());
    AfxOleUnlockApp();
}

} // namespace
