// Automation between real processes: the test server started from the class registry, the
// test client killed in the middle of a call, and hostile bytes on the server's socket.
#include "test_objects.h"

#include "pal/com/link.h"
#include "pal/com/wire.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "win/com.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using pal::test::setClassesDefault;
using namespace comtest;
using pal::com::Variant;
namespace fs = std::filesystem;

// Registers a class the way a server's registration does: ProgID and LocalServer32.
void registerClass(REFCLSID clsid, const std::wstring& progId, const std::wstring& command) {
    const std::wstring id = pal::com::guidToString(clsid);
    setClassesDefault(progId + L"\\CLSID", id);
    setClassesDefault(L"CLSID\\" + id + L"\\ProgID", progId);
    setClassesDefault(L"CLSID\\" + id + L"\\LocalServer32", command);
}

using pal::test::eventually;

class Automation : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        CoInitialize(nullptr);
        registerClass(kTestClass, kTestProgId, L"\"" + binDir().wstring() + L"/dvpal_com_test_server\"");
    }
    void TearDown() override {
        if (app) {
            std::vector<Variant> none;
            callByName(app, L"Quit", DISPATCH_METHOD, none, nullptr);
            app->Release();
        }
        // Whatever server a test left running ends with it.
        for (const auto& e : journal("comtest.server"))
            killIfOurs(e.pid);
        CoUninitialize();
        SandboxTest::TearDown();
    }

    void start() {
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(kTestProgId, &clsid), S_OK);
        ASSERT_TRUE(clsid == kTestClass);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&app)),
                  S_OK);
        ASSERT_NE(app, nullptr);
    }

    HRESULT invoke(IDispatch* on, DISPID id, WORD flags, std::vector<VARIANT> reversedArgs, Variant* result,
                   UINT* argError = nullptr, EXCEPINFO* exception = nullptr) {
        DISPPARAMS params{reversedArgs.empty() ? nullptr : reversedArgs.data(), nullptr,
                          static_cast<UINT>(reversedArgs.size()), 0};
        UINT err = 0;
        return on->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                          argError ? argError : &err);
    }

    LONG lockCount() {
        Variant r;
        EXPECT_EQ(invoke(app, kLockCount, DISPATCH_PROPERTYGET, {}, &r), S_OK);
        return r.lVal;
    }

    IDispatch* app = nullptr;
};

// One argument of each type, compared after a round trip through Echo.
std::vector<Variant> everyType() {
    std::vector<Variant> v(10);
    v[0].vt = VT_EMPTY;
    v[1].vt = VT_NULL;
    v[2].vt = VT_I2, v[2].iVal = -12345;
    v[3].vt = VT_I4, v[3].lVal = -2000000000;
    v[4].vt = VT_R4, v[4].fltVal = 3.5f;
    v[5].vt = VT_R8, v[5].dblVal = 2.718281828459045;
    v[6].vt = VT_BOOL, v[6].boolVal = VARIANT_TRUE;
    v[7] = text(L"Дата: 2024 — «Утверд» 𝔇");
    v[8].vt = VT_ARRAY | VT_I2;
    v[8].parray = SafeArrayCreateVector(VT_I2, 1, 3);
    static_cast<SHORT*>(v[8].parray->pvData)[2] = -7;
    v[9].vt = VT_ARRAY | VT_BSTR;
    v[9].parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG at = 0;
    BSTR s = SysAllocString(L"Н_контр");
    SafeArrayPutElement(v[9].parray, &at, s);
    SysFreeString(s);
    return v;
}

void expectSame(const VARIANT& a, const VARIANT& b) {
    ASSERT_EQ(a.vt, b.vt);
    if (a.vt & VT_ARRAY) {
        VARTYPE vt;
        SafeArrayGetVartype(a.parray, &vt);
        LONG lo1, lo2, hi1, hi2;
        SafeArrayGetLBound(a.parray, 1, &lo1), SafeArrayGetLBound(b.parray, 1, &lo2);
        SafeArrayGetUBound(a.parray, 1, &hi1), SafeArrayGetUBound(b.parray, 1, &hi2);
        EXPECT_EQ(lo1, lo2);
        EXPECT_EQ(hi1, hi2);
        for (LONG i = lo1; i <= hi1; ++i) {
            Variant x, y;
            x.vt = y.vt = vt;
            SafeArrayGetElement(a.parray, &i, &x.iVal);
            SafeArrayGetElement(b.parray, &i, &y.iVal);
            expectSame(x, y);
        }
        return;
    }
    switch (a.vt) {
    case VT_I2:
    case VT_BOOL:
        EXPECT_EQ(a.iVal, b.iVal);
        break;
    case VT_I4:
        EXPECT_EQ(a.lVal, b.lVal);
        break;
    case VT_R4:
        EXPECT_EQ(a.fltVal, b.fltVal);
        break;
    case VT_R8:
        EXPECT_EQ(a.dblVal, b.dblVal);
        break;
    case VT_BSTR:
        EXPECT_EQ(textOf(a), textOf(b));
        break;
    default:
        break;
    }
}

TEST_F(Automation, ServerStartsFromTheRegistryAndCarriesEveryType) {
    ASSERT_TRUE(journal("comtest.server").empty());
    start();
    ASSERT_EQ(journal("comtest.server").size(), 1u);

    // By DISPID.
    for (auto& arg : everyType()) {
        Variant back;
        ASSERT_EQ(invoke(app, kEcho, DISPATCH_METHOD, {arg}, &back), S_OK) << arg.vt;
        expectSame(arg, back);
    }
    // By name, the way late-bound clients call.
    for (auto& arg : everyType()) {
        std::vector<Variant> args;
        args.emplace_back();
        VariantCopy(&args[0], &arg);
        Variant back;
        ASSERT_EQ(callByName(app, L"echo", DISPATCH_METHOD, args, &back), S_OK);
        expectSame(arg, back);
    }

    SHORT counter = 41;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &counter;
    Variant bumped;
    ASSERT_EQ(invoke(app, kBump, DISPATCH_METHOD, {ref}, &bumped), S_OK);
    EXPECT_EQ(counter, 42) << "by-reference arguments come back";
    EXPECT_EQ(bumped.iVal, 42);

    std::vector<Variant> put;
    put.push_back(text(L"Сервер"));
    ASSERT_EQ(callByName(app, L"Name", DISPATCH_PROPERTYPUT, put, nullptr), S_OK);
    Variant name;
    ASSERT_EQ(invoke(app, kName, DISPATCH_PROPERTYGET, {}, &name), S_OK);
    EXPECT_EQ(textOf(name), L"Сервер");

    Variant onUi;
    ASSERT_EQ(invoke(app, kOnUiThread, DISPATCH_METHOD, {}, &onUi), S_OK);
    EXPECT_EQ(onUi.boolVal, VARIANT_TRUE) << "calls run on the server's user-interface thread";

    Variant sumArg;
    sumArg.vt = VT_ARRAY | VT_R8;
    sumArg.parray = SafeArrayCreateVector(VT_R8, 0, 3);
    for (int i = 0; i < 3; ++i)
        static_cast<double*>(sumArg.parray->pvData)[i] = 0.5 * (i + 1);
    Variant sum;
    ASSERT_EQ(invoke(app, kSum, DISPATCH_METHOD, {sumArg}, &sum), S_OK);
    EXPECT_EQ(sum.dblVal, 3.0);
}

TEST_F(Automation, MethodsReturnObjectsThatKeepTheirIdentity) {
    start();
    Variant doc, again, vars;
    ASSERT_EQ(invoke(app, kGetActiveFile, DISPATCH_METHOD, {}, &doc), S_OK);
    ASSERT_EQ(doc.vt, VT_DISPATCH);
    ASSERT_EQ(invoke(app, kGetActiveFile, DISPATCH_METHOD, {}, &again), S_OK);
    EXPECT_EQ(doc.pdispVal, again.pdispVal) << "the same server object has one proxy";
    Variant same;
    ASSERT_EQ(invoke(app, kSame, DISPATCH_METHOD, {doc}, &same), S_OK);
    EXPECT_EQ(same.boolVal, VARIANT_TRUE) << "an object passed back is the server's own";

    std::vector<Variant> none;
    ASSERT_EQ(callByName(doc.pdispVal, L"GetModelVars", DISPATCH_METHOD, none, &vars), S_OK);
    std::vector<Variant> key;
    key.push_back(text(L"$razrab"));
    Variant value;
    ASSERT_EQ(callByName(vars.pdispVal, L"GetVarExpression", DISPATCH_METHOD, key, &value), S_OK);
    EXPECT_EQ(textOf(value), L"\"Петров\"");
    Variant path;
    ASSERT_EQ(callByName(doc.pdispVal, L"Path", DISPATCH_PROPERTYGET, none, &path), S_OK);
    EXPECT_EQ(textOf(path), L"C:\\Чертежи\\деталь.dvd");
}

TEST_F(Automation, FailuresComeBackAsDispatchErrors) {
    start();
    std::vector<Variant> none;
    Variant r;
    EXPECT_EQ(callByName(app, L"NoSuchMember", DISPATCH_METHOD, none, &r), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(invoke(app, 999, DISPATCH_METHOD, {}, &r), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(invoke(app, kEcho, DISPATCH_METHOD, {}, &r), DISP_E_BADPARAMCOUNT);

    Variant word = text(L"много"), two;
    two.vt = VT_I2, two.iVal = 2;
    UINT argError = 99;
    EXPECT_EQ(invoke(app, kAdd, DISPATCH_METHOD, {word, two}, &r, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u) << "the second argument, counted from the last";
    Variant three = text(L"3");
    ASSERT_EQ(invoke(app, kAdd, DISPATCH_METHOD, {three, two}, &r), S_OK);
    EXPECT_EQ(r.lVal, 5) << "the server converts what it can";

    EXCEPINFO e{};
    EXPECT_EQ(invoke(app, kFail, DISPATCH_METHOD, {}, &r, nullptr, &e), DISP_E_EXCEPTION);
    EXPECT_EQ(std::wstring(e.bstrDescription), L"Ошибка сервера");
    EXPECT_EQ(e.scode, E_FAIL);
    SysFreeString(e.bstrSource);
    SysFreeString(e.bstrDescription);
    SysFreeString(e.bstrHelpFile);

    EXPECT_EQ(invoke(app, kThrow, DISPATCH_METHOD, {}, &r), RPC_E_SERVERFAULT);

    // Values that cannot travel never leave this process.
    Variant unknown;
    unknown.vt = VT_UNKNOWN;
    EXPECT_EQ(invoke(app, kEcho, DISPATCH_METHOD, {unknown}, &r), DISP_E_BADVARTYPE);
    TableObject* local = new TableObject({});
    Variant mine;
    mine.vt = VT_DISPATCH;
    mine.pdispVal = local;
    EXPECT_EQ(invoke(app, kEcho, DISPATCH_METHOD, {mine}, &r), DISP_E_TYPEMISMATCH);

    Variant ok;
    EXPECT_EQ(invoke(app, kLockCount, DISPATCH_PROPERTYGET, {}, &ok), S_OK) << "the server still serves";
}

TEST_F(Automation, KilledClientLeavesTheServerServingWithItsObjectsReleased) {
    start();
    const LONG before = lockCount();

    pid_t pid = 0;
    const std::string client = (binDir() / "dvpal_com_test_client").string();
    char* argv[] = {const_cast<char*>(client.c_str()), const_cast<char*>("hold"), nullptr};
    ASSERT_EQ(posix_spawn(&pid, client.c_str(), nullptr, nullptr, argv, environ), 0);
    ASSERT_TRUE(eventually([&] { return !journal("comtest.slow").empty(); }))
        << "the client reached its call";
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);

    // Once the server has finished the call it was in, it drops that client's application,
    // document and variables.
    EXPECT_TRUE(eventually([&] { return lockCount() == before; })) << lockCount() << " vs " << before;
    Variant onUi;
    EXPECT_EQ(invoke(app, kOnUiThread, DISPATCH_METHOD, {}, &onUi), S_OK);
}

TEST_F(Automation, ClientProgramTalksToTheRunningServerByName) {
    start();
    const std::string client = (binDir() / "dvpal_com_test_client").string();
    std::string out;
    {
        FILE* p = ::popen((client + " editor").c_str(), "r");
        ASSERT_NE(p, nullptr);
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        EXPECT_EQ(::pclose(p), 0);
    }
    EXPECT_EQ(out, "\"Петров\"\n");
    EXPECT_EQ(journal("comtest.server").size(), 1u) << "the running server served it";
    ASSERT_EQ(journal("comtest.commit").size(), 1u);
    EXPECT_EQ(journal("comtest.commit")[0].get("undo"), "Редактирование форматки");
}

TEST_F(Automation, ActiveObjectIsFoundOnlyWhileItsServerRuns) {
    IUnknown* none = nullptr;
    EXPECT_EQ(GetActiveObject(kTestClass, nullptr, &none), MK_E_UNAVAILABLE);
    EXPECT_TRUE(journal("comtest.server").empty()) << "looking for it starts nothing";
    start();
    IUnknown* active = nullptr;
    ASSERT_EQ(GetActiveObject(kTestClass, nullptr, &active), S_OK);
    IDispatch* d = nullptr;
    ASSERT_EQ(active->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
    Variant r;
    EXPECT_EQ(invoke(d, kLockCount, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    d->Release();
    active->Release();
}

TEST_F(Automation, UnregisteredOrFailingServersAreReportedInBoundedTime) {
    constexpr CLSID missing = {0x5EC0B001, 0x2A9E, 0x4C11, {0x9D, 0x31, 0x6A, 0x22, 0x10, 0x0C, 0x0D, 0x02}};
    constexpr CLSID broken = {0x5EC0B001, 0x2A9E, 0x4C11, {0x9D, 0x31, 0x6A, 0x22, 0x10, 0x0C, 0x0D, 0x03}};
    void* o = nullptr;
    EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, &o),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &o),
              REGDB_E_CLASSNOTREG);
    CLSID c{};
    EXPECT_EQ(CLSIDFromProgID(L"DVPAL.NOSUCH", &c), REGDB_E_CLASSNOTREG);
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kTestClass, &progId), S_OK);
    EXPECT_STREQ(progId, kTestProgId);
    CoTaskMemFree(progId);

    // A server that ends without registering fails the creation as soon as it ends.
    registerClass(broken, L"DVPAL.BROKEN", L"/bin/false");
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(CoCreateInstance(broken, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, &o),
              CO_E_SERVER_EXEC_FAILURE);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10));
    EXPECT_EQ(o, nullptr);
}

TEST_F(Automation, CallsAfterTheServerEndsFailAsDisconnected) {
    start();
    Variant r;
    ASSERT_EQ(invoke(app, kQuit, DISPATCH_METHOD, {}, &r), S_OK);
    ASSERT_TRUE(eventually([&] { return invoke(app, kLockCount, DISPATCH_PROPERTYGET, {}, &r) != S_OK; }));
    EXPECT_EQ(invoke(app, kLockCount, DISPATCH_PROPERTYGET, {}, &r), RPC_E_DISCONNECTED);
    app->Release(); // the last proxy goes without a server to tell
    app = nullptr;
}

// Raw bytes to the server's socket: each connection is ended, and the server goes on.
TEST_F(Automation, MalformedFramesEndOnlyTheirConnection) {
    start();
    const LONG before = lockCount();
    auto put = [](std::string& s, std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto frame = [&](const std::string& body) {
        std::string f;
        put(f, body.size(), 4);
        return f + body;
    };
    std::string create;
    pal::com::wire::encode(1, pal::com::wire::CreateRequest{kTestClass}, pal::com::wire::Kind::CreateInstance,
                           create);
    std::string unknownObject;
    put(unknownObject, 1, 1), put(unknownObject, 4, 1), put(unknownObject, 2, 4), put(unknownObject, 777, 8);
    put(unknownObject, 1, 4), put(unknownObject, 0, 4), put(unknownObject, 1, 2), put(unknownObject, 1, 1);
    put(unknownObject, 0, 4), put(unknownObject, 0, 4);
    std::string releaseTooMany;
    put(releaseTooMany, 1, 1), put(releaseTooMany, 5, 1), put(releaseTooMany, 0, 4);
    put(releaseTooMany, 1, 8), put(releaseTooMany, 2, 4);
    const std::string cases[] = {
        frame("garbage!"),
        frame(std::string("\x02\x01\x01\x00\x00\x00", 6)), // another version
        std::string("\xFF\xFF\xFF\x7F", 4),                // a length over the cap
        create + frame(unknownObject),                     // an object id it was never given
        create + frame(releaseTooMany),                    // more references back than it was given
    };
    for (const auto& bytes : cases) {
        pal::com::link::Fd s = pal::com::link::connectTo(pal::com::link::classSocketPath(kTestClass));
        ASSERT_TRUE(s);
        ASSERT_TRUE(pal::com::link::sendAll(s.get(), bytes));
        // The server ends the connection: whatever it answered first, the stream then closes.
        std::string body;
        pal::com::link::ReadResult r;
        do
            r = pal::com::link::readFrame(s.get(), body);
        while (r == pal::com::link::ReadResult::Frame);
        EXPECT_EQ(r, pal::com::link::ReadResult::Closed);
    }
    // A frame cut short by a client that goes away.
    {
        pal::com::link::Fd s = pal::com::link::connectTo(pal::com::link::classSocketPath(kTestClass));
        ASSERT_TRUE(s);
        pal::com::link::sendAll(s.get(), create.substr(0, create.size() - 3));
    }
    EXPECT_TRUE(eventually([&] { return lockCount() == before; }))
        << "objects of ended connections are released";
}

// A client that keeps sending while the server is busy is read only a few frames ahead: the
// rest waits in the socket, not in the server's memory.
TEST_F(Automation, BusyServerReadsOnlyAFewFramesAhead) {
    start();
    std::thread busy([this] {
        Variant ms, r;
        ms.vt = VT_I4, ms.lVal = 2000;
        invoke(app, kSlow, DISPATCH_METHOD, {ms}, &r);
    });
    pal::com::link::Fd s;
    if (eventually([&] { return !journal("comtest.slow").empty(); }))
        s = pal::com::link::connectTo(pal::com::link::classSocketPath(kTestClass));
    if (!s) {
        busy.join();
        FAIL() << "the server never got busy, or refused the second client";
    }
    std::string frame(4 + pal::com::wire::kMaxFrame, '\x7F');
    for (int i = 0; i < 4; ++i)
        frame[i] = static_cast<char>((pal::com::wire::kMaxFrame >> (8 * i)) & 0xFF);
    constexpr size_t kFrames = 32;
    size_t accepted = 0;
    for (size_t sent = 0; accepted < kFrames * frame.size();) {
        const ssize_t n =
            ::send(s.get(), frame.data() + sent, frame.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            accepted += static_cast<size_t>(n);
            sent = (sent + static_cast<size_t>(n)) % frame.size();
            continue;
        }
        if (n < 0 && errno != EAGAIN)
            break;
        pollfd p{s.get(), POLLOUT, 0};
        if (::poll(&p, 1, 300) <= 0)
            break; // the server has stopped reading
    }
    busy.join();
    EXPECT_LT(accepted, 8 * frame.size()) << "frames taken in while the server was busy";
}

} // namespace
