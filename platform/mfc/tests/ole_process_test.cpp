// Automation between processes through the class library: the test server program registers
// itself, is started from the registry for its first client, serves calls by DISPID and by
// name, answers bad calls with dispatch errors, stays locked while clients hold objects (also
// clients that die) and ends when the last one lets go.
#include "afxdisp.h"
#include "ole_scode.h"
#include "ole_test_ids.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "win/system.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

using namespace oletest;
namespace fs = std::filesystem;

using pal::test::eventually;

using pal::test::classesDefault;

// Runs a program of the build and waits for it; its standard output and exit code.
struct ProgramRun {
    std::string out;
    int code = -1;
};
ProgramRun runProgram(const std::string& program, const std::string& argument) {
    ProgramRun r;
    FILE* p = ::popen(("\"" + program + "\" " + argument).c_str(), "r");
    if (!p)
        return r;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, p))
        r.out.append(buffer, n);
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class OleProcess : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        CoInitialize(nullptr);
        ASSERT_EQ(runProgram(server(), "-RegServer").code, 0);
        ASSERT_EQ(CLSIDFromString(kOleTestClassText, &clsid), S_OK);
    }
    void TearDown() override {
        app.ReleaseDispatch();
        // A server ends with its last client; one that does not is stopped here.
        for (const auto& started : journal("oletest.server")) {
            const bool ended = eventually(
                [&] {
                    for (const auto& e : journal("oletest.server.exit"))
                        if (e.pid == started.pid)
                            return true;
                    return false;
                },
                60);
            if (!ended)
                killIfOurs(started.pid);
            EXPECT_TRUE(ended) << "a server that outlived its clients";
        }
        CoUninitialize();
        SandboxTest::TearDown();
    }

    static std::string server() { return (binDir() / "dvmfc_ole_test_server").string(); }
    static std::string client() { return (binDir() / "dvmfc_ole_test_client").string(); }

    LONG lockCount() {
        LONG n = -1;
        app.InvokeHelper(kLockCount, DISPATCH_METHOD, VT_I4, &n, VTS_NONE);
        return n;
    }

    CLSID clsid{};
    COleDispatchDriver app;
};

TEST_F(OleProcess, RegistrationWritesTheClassAndTheCommandLineOfItsServer) {
    EXPECT_EQ(classesDefault(L"DVMFC.OLETEST\\CLSID"), kOleTestClassText);
    EXPECT_EQ(classesDefault(L"CLSID\\" + std::wstring(kOleTestClassText) + L"\\ProgID"), L"DVMFC.OLETEST");
    const std::wstring command =
        classesDefault(L"CLSID\\" + std::wstring(kOleTestClassText) + L"\\LocalServer32");
    ASSERT_GE(command.size(), 2u);
    ASSERT_EQ(command.front(), L'"');
    ASSERT_EQ(command.back(), L'"');
    EXPECT_TRUE(fs::equivalent(fs::path(command.substr(1, command.size() - 2)), server()));

    ASSERT_EQ(runProgram(server(), "-UnregServer").code, 0);
    EXPECT_EQ(classesDefault(L"DVMFC.OLETEST"), L"<missing>");
    EXPECT_EQ(classesDefault(L"CLSID\\" + std::wstring(kOleTestClassText)), L"<missing>");
    EXPECT_TRUE(journal("oletest.server").empty()) << "registration runs serve nothing";
}

TEST_F(OleProcess, ClientStartsTheServerFromTheRegistryWhichEndsWithItsLastClient) {
    ASSERT_TRUE(journal("oletest.server").empty());
    const ProgramRun editor = runProgram(client(), "editor");
    EXPECT_EQ(editor.code, 0);
    EXPECT_EQ(editor.out, "\"Петров\"\n");
    ASSERT_EQ(journal("oletest.server").size(), 1u);
    ASSERT_EQ(journal("oletest.commit").size(), 1u);
    EXPECT_EQ(journal("oletest.commit")[0].get("undo"), "Редактирование форматки");
    EXPECT_EQ(journal("oletest.commit")[0].get("razrab"), "Иванов И.И.");
    EXPECT_EQ(journal("oletest.focus").size(), 1u);

    ASSERT_TRUE(eventually([&] { return !journal("oletest.server.exit").empty(); }))
        << "the server started for the client ends once the client has let go";
    EXPECT_EQ(journal("oletest.server.exit")[0].get("locks"), "0");

    // The next client starts a new one.
    EXPECT_EQ(runProgram(client(), "editor").code, 0);
    EXPECT_EQ(journal("oletest.server").size(), 2u);
}

TEST_F(OleProcess, CallsByDispidAndByNameCarryEveryTypeAndReachNestedObjects) {
    ASSERT_TRUE(app.CreateDispatch(clsid));

    CString echoed;
    app.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, VTS_BSTR, L"Дата: 2024 — «Утверд» 𝔇");
    EXPECT_EQ(echoed, L"Дата: 2024 — «Утверд» 𝔇");
    LONG sum = 0;
    app.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_I2 VTS_I4, -2, 2000000000);
    EXPECT_EQ(sum, 1999999998);
    double scaled = 0;
    app.InvokeHelper(kScale, DISPATCH_METHOD, VT_R8, &scaled, VTS_R8 VTS_R4, 2.5, 0.5f);
    EXPECT_EQ(scaled, 1.25);
    BOOL negated = FALSE;
    app.InvokeHelper(kNegate, DISPATCH_METHOD, VT_BOOL, &negated, VTS_BOOL, FALSE);
    EXPECT_EQ(negated, TRUE);
    short position = -1;
    CString first;
    app.InvokeHelper(kGetFirstFile, DISPATCH_METHOD, VT_BSTR, &first, VTS_PI2, &position);
    EXPECT_EQ(position, 0) << "a by-reference argument comes back";
    EXPECT_EQ(first, L"C:\\Чертежи\\деталь.dvd");
    app.SetProperty(kName, VT_BSTR, L"Сервер");
    CString name;
    app.GetProperty(kName, VT_BSTR, &name);
    EXPECT_EQ(name, L"Сервер");
    LONG version = 0;
    app.GetProperty(kVersion, VT_I4, &version);
    EXPECT_EQ(version, 1800);

    // Names, without case, give the positions in the server's maps.
    const auto idOf = [](COleDispatchDriver& d, const wchar_t* name) {
        std::wstring n = name;
        LPOLESTR names[1] = {n.data()};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(d.m_lpDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << n;
        return id;
    };
    EXPECT_EQ(idOf(app, L"getactivefile"), kGetActiveFile);
    EXPECT_EQ(idOf(app, L"VERSION"), kVersion);

    // Application, document, variables.
    COleDispatchDriver document, variables;
    LPDISPATCH object = nullptr;
    app.InvokeHelper(idOf(app, L"GetActiveFile"), DISPATCH_METHOD, VT_DISPATCH, &object, VTS_NONE);
    ASSERT_NE(object, nullptr);
    document.AttachDispatch(object);
    CString path;
    document.GetProperty(idOf(document, L"Path"), VT_BSTR, &path);
    EXPECT_EQ(path, L"C:\\Чертежи\\деталь.dvd");
    object = nullptr;
    document.InvokeHelper(kGetModelVars, DISPATCH_METHOD, VT_DISPATCH, &object, VTS_NONE);
    ASSERT_NE(object, nullptr);
    variables.AttachDispatch(object);
    CString value;
    variables.InvokeHelper(idOf(variables, L"getvarexpression"), DISPATCH_METHOD, VT_BSTR, &value, VTS_BSTR,
                           L"$razrab");
    EXPECT_EQ(value, L"\"Петров\"");
    variables.InvokeHelper(kGetVarExpression, DISPATCH_METHOD, VT_BSTR, &value, VTS_BSTR, L"$oboznach");
    EXPECT_EQ(value, L"\"\"");
}

TEST_F(OleProcess, WrongCallsComeBackAsDispatchErrorsAndTheServerGoesOn) {
    ASSERT_TRUE(app.CreateDispatch(kOleTestProgId));
    LONG sum = 0;
    CString text;
    const struct {
        const char* what;
        std::function<void()> call;
        SCODE sc;
    } cases[] = {
        {"a word for a number",
         [&] { app.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_BSTR VTS_I4, L"много", 1); },
         DISP_E_TYPEMISMATCH},
        {"too many arguments",
         [&] { app.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_I2 VTS_I4 VTS_I4, 1, 2, 3); },
         DISP_E_BADPARAMCOUNT},
        {"too few arguments", [&] { app.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_I2, 1); },
         DISP_E_PARAMNOTOPTIONAL},
        {"a value where a reference is wanted",
         [&] { app.InvokeHelper(kGetFirstFile, DISPATCH_METHOD, VT_BSTR, &text, VTS_I2, 1); },
         DISP_E_TYPEMISMATCH},
        {"an unknown DISPID", [&] { app.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE); },
         DISP_E_MEMBERNOTFOUND},
        {"a read-only property written", [&] { app.SetProperty(kVersion, VT_I4, 1); }, DISP_E_MEMBERNOTFOUND},
        {"a number that converts",
         [&] { app.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, VTS_BSTR VTS_I4, L"40", 2); }, S_OK},
    };
    for (const auto& k : cases)
        EXPECT_EQ(scodeOf(k.call), k.sc) << k.what;
    EXPECT_EQ(sum, 42);

    std::wstring unknown = L"NoSuchMember";
    LPOLESTR names[1] = {unknown.data()};
    DISPID id = 0;
    EXPECT_EQ(app.m_lpDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    // The position of a bad argument travels back, counted from the last.
    VARIANT args[2];
    VariantInit(&args[0]), VariantInit(&args[1]);
    args[0].vt = VT_I4, args[0].lVal = 1;
    args[1].vt = VT_BSTR, args[1].bstrVal = SysAllocString(L"много");
    DISPPARAMS params{args, nullptr, 2, 0};
    UINT argError = 99;
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(app.m_lpDispatch->Invoke(kAdd, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                       nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    VariantClear(&args[1]);

    // An error the member reports itself.
    try {
        app.InvokeHelper(kFail, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(e->m_wCode, 7);
        EXPECT_EQ(e->m_strDescription, L"Ошибка сервера");
        e->Delete();
    }
    EXPECT_EQ(lockCount(), 1) << "the server still serves";
}

TEST_F(OleProcess, LockCountComesBackAfterClientsReleaseOrAreKilled) {
    ASSERT_TRUE(app.CreateDispatch(clsid));
    const LONG before = lockCount();
    EXPECT_EQ(before, 1);
    {
        COleDispatchDriver second;
        ASSERT_TRUE(second.CreateDispatch(kOleTestProgId));
        EXPECT_EQ(lockCount(), before + 1) << "every client has its own application object";
        COleDispatchDriver copy(second);
        second.ReleaseDispatch();
        EXPECT_EQ(lockCount(), before + 1) << "the copy still holds it";
    }
    // The release travels on the other client's own link, so it may arrive after a call on ours.
    EXPECT_TRUE(eventually([&] { return lockCount() == before; }));

    pid_t pid = 0;
    const std::string program = client();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("hold"), nullptr};
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    ASSERT_TRUE(eventually([&] { return !journal("oletest.slow").empty(); }))
        << "the client reached its call";
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(eventually([&] { return lockCount() == before; })) << lockCount() << " vs " << before;
    EXPECT_EQ(journal("oletest.server").size(), 1u) << "one server served both";
}

} // namespace
