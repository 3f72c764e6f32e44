// "DVW32.SERVER" between real processes: this test is the client, the server a program that
// registers it as DravikCad's start-up does. What other programs rely on: the title-block
// variables committed as one undo step, the enumerations, the path forms, the version answers,
// commands to the main window, the lock, and a server that survives bad calls.
#include "app/DVServer.h"

#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/WorkSession.h"
#include "pal/com/dispatch.h"
#include "pal/com/variant.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "pal/text.h"
#include "win/com.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using pal::com::invoke;
using pal::com::invokeByName;
using pal::com::longArgument;
using pal::com::shortArgument;
using pal::com::textArgument;
using pal::com::Variant;
using pal::test::classesDefault;
using pal::test::eventually;
using pal::test::setClassesDefault;
namespace fs = std::filesystem;

// The DISPIDs clients bind to, by position in the server's map.
enum : DISPID {
    kOpenFile = 1,
    kFindFile = 2,
    kGetActiveFile = 3,
    kOpenLibraryConfiguration = 4,
    kCloseFile = 11,
    kOpenFileEx = 12,
    kGetFirstFile = 13,
    kGetNextFile = 14,
    kGetPreview = 16,
    kGetIcon = 17,
    kReleasePreview = 18,
    kReleaseIcon = 19,
    kSetCurrentFolder = 27,
    kExtractFileIcon = 28,
    kGetVersion = 30,
    kGetVersionType = 31,
    kGetVersionInfo = 32,
    kQuit = 33,
    kGetFirstFileEx = 34,
    kGetNextFileEx = 35,
    kProcessCommand = 36,
};

std::wstring textOf(const Variant& v) {
    return v.vt == VT_BSTR && v.bstrVal ? std::wstring(v.bstrVal) : std::wstring();
}

class Server : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        CoInitialize(nullptr);
        const std::string host = (binDir() / "dvserver_host").string();
        ASSERT_EQ(std::system(("\"" + host + "\" -RegServer").c_str()), 0);
    }
    void TearDown() override {
        for (IDispatch* d : held)
            d->Release();
        for (const auto& started : journal("dvserver.host")) {
            const bool ended = eventually([&] { return exitOf(started.pid) != nullptr; }, 60);
            if (!ended)
                killIfOurs(started.pid);
            EXPECT_TRUE(ended) << "a server that outlived its clients";
        }
        CoUninitialize();
        SandboxTest::TearDown();
    }

    // Starts the server with these arguments for the first client, and connects.
    IDispatch* start(const std::wstring& arguments = L"") {
        const std::wstring host = pal::text::fromUtf8((binDir() / "dvserver_host").string());
        setClassesDefault(L"CLSID\\" + pal::com::guidToString(kServerFactoryClsid) + L"\\LocalServer32",
                          L"\"" + host + L"\" " + arguments);
        return connect();
    }
    IDispatch* connect() {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(kServerProgId, &clsid), S_OK);
        IDispatch* app = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&app)),
                  S_OK);
        if (app)
            held.push_back(app);
        return app;
    }
    void release(IDispatch* d) {
        std::erase(held, d);
        d->Release();
    }
    std::wstring doc(const std::string& name) const { return pal::text::fromUtf8((root() / name).string()); }
    std::wstring docArgs(std::initializer_list<const char*> names, const char* flag = "--doc") const {
        std::wstring args;
        for (const char* n : names)
            args += pal::text::fromUtf8(flag) + L" \"" + doc(n) + L"\" ";
        return args;
    }
    const pal::journal::Entry* exitOf(long pid) {
        exits = journal("dvserver.host.exit");
        for (const auto& e : exits)
            if (e.pid == pid)
                return &e;
        return nullptr;
    }

    std::vector<IDispatch*> held;
    std::vector<pal::journal::Entry> exits;
};

TEST_F(Server, RegistersTheProgIdForTheApplicationsFactory) {
    EXPECT_EQ(classesDefault(std::wstring(kServerProgId) + L"\\CLSID"),
              pal::com::guidToString(kServerFactoryClsid));
    EXPECT_EQ(classesDefault(L"CLSID\\" + pal::com::guidToString(kServerFactoryClsid) + L"\\ProgID"),
              kServerProgId);
}

TEST_F(Server, TitleBlockVariablesAreReadWrittenAndCommittedAsOneUndoStep) {
    IDispatch* app = start(docArgs({"лист.dvd"}));
    ASSERT_NE(app, nullptr);
    Variant document, vars, value, ok;
    ASSERT_EQ(invokeByName(app, L"GetActiveFile", {}, &document), S_OK);
    ASSERT_EQ(document.vt, VT_DISPATCH);
    ASSERT_EQ(invokeByName(document.pdispVal, L"GetModelVars", {}, &vars), S_OK);
    ASSERT_EQ(vars.vt, VT_DISPATCH);
    ASSERT_EQ(invokeByName(vars.pdispVal, L"GetVarExpression", {textArgument(L"$razrab")}, &value), S_OK);
    EXPECT_EQ(textOf(value), L"\"Петров\"");
    ASSERT_EQ(invokeByName(vars.pdispVal, L"SetVarExpression",
                           {textArgument(L"$razrab"), textArgument(L"Иванов И.И.")}),
              S_OK);
    ASSERT_EQ(invokeByName(vars.pdispVal, L"OK", {textArgument(L"Редактирование форматки")}, &ok), S_OK);
    EXPECT_EQ(ok.boolVal, VARIANT_TRUE);
    Variant after;
    ASSERT_EQ(invokeByName(vars.pdispVal, L"GetVarExpression", {textArgument(L"$razrab")}, &after), S_OK);
    EXPECT_EQ(textOf(after), L"\"Иванов И.И.\"");

    // The same document object every time.
    Variant again;
    ASSERT_EQ(invoke(app, kGetActiveFile, {}, &again), S_OK);
    EXPECT_EQ(again.pdispVal, document.pdispVal);

    const long pid = journal("dvserver.host").at(0).pid;
    VariantClear(&vars);
    VariantClear(&document);
    VariantClear(&again);
    release(app);
    ASSERT_TRUE(eventually([&] { return exitOf(pid) != nullptr; }, 60));
    const auto* exit = exitOf(pid);
    EXPECT_EQ(exit->get("razrab"), "Иванов И.И.");
    EXPECT_EQ(exit->get("undo"), "1");
    EXPECT_EQ(exit->get("undoName"), "Редактирование форматки");
}

TEST_F(Server, GetFirstAndNextFileWalkTheOpenDocumentsInOrder) {
    IDispatch* app = start(docArgs({"a.dvd", "b.dvd", "c.dvd"}));
    ASSERT_NE(app, nullptr);
    short pos = 99;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &pos;
    std::vector<std::wstring> paths;
    std::vector<short> positions;
    Variant r;
    ASSERT_EQ(invoke(app, kGetFirstFile, {ref}, &r), S_OK);
    paths.push_back(textOf(r)), positions.push_back(pos);
    for (int i = 0; i < 3; ++i) {
        Variant n;
        ASSERT_EQ(invoke(app, kGetNextFile, {ref}, &n), S_OK);
        paths.push_back(textOf(n)), positions.push_back(pos);
    }
    EXPECT_EQ(paths, (std::vector<std::wstring>{doc("a.dvd"), doc("b.dvd"), doc("c.dvd"), L""}));
    EXPECT_EQ(positions, (std::vector<short>{0, 1, 2, -1}));

    // The Ex enumeration without a GetFirstFileEx starts at position 1.
    Variant ex;
    ASSERT_EQ(invoke(app, kGetNextFileEx, {}, &ex), S_OK);
    EXPECT_EQ(textOf(ex), doc("b.dvd"));
}

TEST_F(Server, WithoutDocumentsTheEnumerationsAnswerEmpty) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    short pos = 5;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &pos;
    Variant r, ex;
    ASSERT_EQ(invoke(app, kGetFirstFile, {ref}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BSTR);
    EXPECT_EQ(textOf(r), L"");
    EXPECT_EQ(pos, -1);
    ASSERT_EQ(invoke(app, kGetFirstFileEx, {}, &ex), S_OK);
    EXPECT_EQ(textOf(ex), L"");
}

TEST_F(Server, TwoClientsEnumerateAtOnceWithoutDisturbingEachOther) {
    IDispatch* first = start(docArgs({"a.dvd", "b.dvd", "c.dvd"}));
    ASSERT_NE(first, nullptr);
    IDispatch* second = connect();
    ASSERT_NE(second, nullptr);
    std::vector<std::wstring> seenFirst, seenSecond;
    // Each answer in a variant of its own: invoke writes over what it is given.
    auto ask = [](IDispatch* client, DISPID id, std::vector<std::wstring>& seen) {
        Variant r;
        ASSERT_EQ(invoke(client, id, {}, &r), S_OK);
        seen.push_back(textOf(r));
    };
    ask(first, kGetFirstFileEx, seenFirst);
    ask(second, kGetFirstFileEx, seenSecond);
    for (int i = 0; i < 3; ++i) {
        ask(first, kGetNextFileEx, seenFirst);
        ask(second, kGetNextFileEx, seenSecond);
    }
    const std::vector<std::wstring> all{doc("a.dvd"), doc("b.dvd"), doc("c.dvd"), L""};
    EXPECT_EQ(seenFirst, all);
    EXPECT_EQ(seenSecond, all);
}

TEST_F(Server, VersionsAndCommandsToTheMainWindow) {
    struct Case {
        std::wstring args;
        LONG type;
    };
    for (const Case& c : {Case{L"", 0}, Case{L"--3d 1", 4}, Case{L"--3d 2", 3}}) {
        IDispatch* app = start(c.args);
        ASSERT_NE(app, nullptr);
        Variant version, type, info;
        ASSERT_EQ(invoke(app, kGetVersion, {}, &version), S_OK);
        EXPECT_EQ(version.lVal, 1800);
        ASSERT_EQ(invoke(app, kGetVersionType, {}, &type), S_OK);
        EXPECT_EQ(type.lVal, c.type) << pal::text::toUtf8(c.args);
        ASSERT_EQ(invoke(app, kGetVersionInfo, {}, &info), S_OK);
        EXPECT_EQ(info.lVal, 1);
        release(app);
        const long pid = journal("dvserver.host").back().pid;
        ASSERT_TRUE(eventually([&] { return exitOf(pid) != nullptr; }, 60));
    }

    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    Variant sent;
    ASSERT_EQ(invoke(app, kProcessCommand, {shortArgument(-2)}, &sent), S_OK);
    EXPECT_EQ(sent.lVal, 1);
    ASSERT_EQ(invoke(app, kProcessCommand, {longArgument(40000)}, &sent), DISP_E_OVERFLOW)
        << "not a 16-bit id";
    const auto commands = journal("dvserver.command");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].get("wparam"), "fffffffffffffffe") << "the id widened with its sign";
}

TEST_F(Server, SetCurrentFolderStoresOnlyTheEighteenDialogsFolders) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    struct Case {
        LONG mask;
        short stored;
    };
    for (const Case& c : {Case{0, 0}, Case{1 << 18, 0}, Case{LONG(0xFFFC0000u), 0}, Case{1, 1},
                          Case{1 << 17, 1}, Case{LONG(0x80000001u), 1}}) {
        Variant r;
        ASSERT_EQ(invoke(app, kSetCurrentFolder, {textArgument(L"C:\\Проекты"), longArgument(c.mask)}, &r),
                  S_OK);
        EXPECT_EQ(r.iVal, c.stored) << std::hex << c.mask;
    }
    // Where the file dialogs look next time, as this user's settings keep it.
    DravikProfileManager::SetApplicationKey(L"Software\\Dravik\\DravikCad 18");
    EXPECT_EQ(CPathManager::GetPath(L"DialogOpen"), L"C:\\Проекты");
    EXPECT_EQ(CPathManager::GetPath(L"DialogSaveLibraries"), L"C:\\Проекты");
    EXPECT_EQ(CPathManager::GetPath(L"DialogExportPreview"), L"") << "bit 9 was never set";
}

TEST_F(Server, BothFactoriesServeTheApplicationObject) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    const CLSID staticClass = DVServer::guid;
    IDispatch* other = nullptr;
    ASSERT_EQ(CoCreateInstance(staticClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&other)),
              S_OK);
    held.push_back(other);
    Variant version;
    ASSERT_EQ(invoke(other, kGetVersion, {}, &version), S_OK);
    EXPECT_EQ(version.lVal, 1800);
}

// OpenFile opens as a person's open does; OpenFileEx goes to the document manager itself.
TEST_F(Server, OpenFileTakesTheApplicationsOpenRoadAndOpenFileExTheDocumentManagers) {
    fs::create_directories(root() / "lib");
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", root() / "lib" / "болт.grb");
    const std::wstring first = doc("first.grb"), second = doc("second.grb");
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", root() / "first.grb");
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", root() / "second.grb");
    std::wstring error;
    ASSERT_TRUE(Dravik::SaveWorkSession(doc("bench.grs"),
                                        Dravik::WorkSession{L"Стенд", {first, second}, 1, false}, &error))
        << pal::text::toUtf8(error);
    // The server is another process: the one message it shows is answered by a script.
    const fs::path script = writeFile("answers.txt", "1\n");
    setenv("DV_PAL_ANSWERS", script.c_str(), 1);
    IDispatch* app = start(L"--lib \"Крепёж=" + doc("lib") + L"\"");
    unsetenv("DV_PAL_ANSWERS");
    ASSERT_NE(app, nullptr);
    const auto opened = [&](DISPID id, std::vector<VARIANT> args) -> IDispatch* {
        Variant r;
        EXPECT_EQ(invoke(app, id, std::move(args), &r), S_OK);
        IDispatch* d = r.vt == VT_DISPATCH ? r.pdispVal : nullptr;
        if (d != nullptr)
            d->AddRef();
        return d;
    };
    const auto openFile = [&](const std::wstring& path) { return opened(kOpenFile, {textArgument(path)}); };

    IDispatch* bolt = openFile(L"<Крепёж>болт.grb");
    ASSERT_NE(bolt, nullptr);
    IDispatch* again = openFile(L"<Крепёж>болт.grb");
    EXPECT_EQ(again, bolt) << "found open, not opened twice";
    IDispatch* found = opened(kFindFile, {textArgument(doc("lib/болт.grb"))});
    EXPECT_EQ(found, bolt);

    // A work session opens its drawings and answers the one that was active.
    IDispatch* session = openFile(doc("bench.grs"));
    ASSERT_NE(session, nullptr);
    IDispatch* active = opened(kFindFile, {textArgument(second)});
    EXPECT_EQ(session, active);
    IDispatch* other = opened(kFindFile, {textArgument(first)});
    EXPECT_NE(other, nullptr) << "the session's other drawing is open as well";

    // A file that is not there: the person is told, and the client gets nothing.
    EXPECT_EQ(openFile(doc("missing.grb")), nullptr);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("kind"), "MessageBox");
    EXPECT_EQ(prompts[0].get("text"), "File not found");
    EXPECT_EQ(prompts[0].get("by"), "responder");

    // OpenFileEx answers the same objects, and a failure is the client's alone to see.
    IDispatch* boltEx =
        opened(kOpenFileEx, {textArgument(L"<Крепёж>болт.grb"), shortArgument(0), shortArgument(0)});
    EXPECT_EQ(boltEx, bolt);
    EXPECT_EQ(opened(kOpenFileEx, {textArgument(doc("missing.grb")), shortArgument(0), shortArgument(0)}),
              nullptr);
    EXPECT_EQ(journal("prompt").size(), 1u);
    for (IDispatch* d : {bolt, again, found, session, active, other, boltEx})
        if (d != nullptr)
            d->Release();
}

TEST_F(Server, TheLockKeepsTheServerWhileAClientHoldsItAndLetsItEndAfter) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    const long pid = journal("dvserver.host").at(0).pid;
    IDispatch* second = connect();
    ASSERT_NE(second, nullptr);
    release(app);
    EXPECT_FALSE(eventually([&] { return exitOf(pid) != nullptr; }, 3)) << "ended while a client held it";
    Variant version;
    ASSERT_EQ(invoke(second, kGetVersion, {}, &version), S_OK);
    release(second);
    ASSERT_TRUE(eventually([&] { return exitOf(pid) != nullptr; }, 60));
    EXPECT_EQ(exitOf(pid)->get("locks"), "0");
}

TEST_F(Server, QuitEndsTheProgramOnceAfterTheCallHasAnswered) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    const long pid = journal("dvserver.host").at(0).pid;
    Variant r;
    ASSERT_EQ(invoke(app, kQuit, {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 0);
    ASSERT_TRUE(eventually([&] { return exitOf(pid) != nullptr; }, 60));
    EXPECT_EQ(exitOf(pid)->get("exits"), "1");
    EXPECT_EQ(journal("dvserver.host.exit").size(), 1u) << "one shut-down";
}

TEST_F(Server, CloseFileKeepsAModifiedDocumentAndClosesOnlyTheVeryFile) {
    // Two drawings that differ only by case are two files here.
    IDispatch* app = start(docArgs({"plan.dvd", "Plan.dvd"}) + docArgs({"dirty.dvd"}, "--dirty"));
    ASSERT_NE(app, nullptr);
    auto openPaths = [&] {
        std::vector<std::wstring> paths;
        Variant r;
        EXPECT_EQ(invoke(app, kGetFirstFileEx, {}, &r), S_OK);
        for (std::wstring path = textOf(r); !path.empty();) {
            paths.push_back(path);
            Variant n;
            EXPECT_EQ(invoke(app, kGetNextFileEx, {}, &n), S_OK);
            path = textOf(n);
        }
        return paths;
    };
    struct Case {
        std::wstring path;
        short answer;
        std::vector<std::wstring> left;
    };
    const Case cases[] = {
        {doc("dirty.dvd"), 0, {doc("plan.dvd"), doc("Plan.dvd"), doc("dirty.dvd")}}, // its changes stay
        {doc("PLAN.DVD"), 0, {doc("plan.dvd"), doc("Plan.dvd"), doc("dirty.dvd")}},  // no such file
        {doc("sub/../Plan.dvd"), 1, {doc("plan.dvd"), doc("dirty.dvd")}},            // made full first
        {L"", 0, {doc("plan.dvd"), doc("dirty.dvd")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.path));
        Variant r;
        ASSERT_EQ(invoke(app, kCloseFile, {textArgument(c.path)}, &r), S_OK);
        EXPECT_EQ(r.iVal, c.answer);
        EXPECT_EQ(openPaths(), c.left);
    }
}

TEST_F(Server, AnUnknownLibraryInAPathOpensNothing) {
    IDispatch* app = start(docArgs({"a.dvd"}));
    ASSERT_NE(app, nullptr);
    for (const wchar_t* path : {L"<Нет такой>a.dvd", L"<Нет такой>"}) {
        Variant r;
        ASSERT_EQ(invoke(app, kOpenFile, {textArgument(path)}, &r), S_OK);
        EXPECT_TRUE(r.vt != VT_DISPATCH || r.pdispVal == nullptr) << pal::text::toUtf8(path);
    }
}

TEST_F(Server, BadArgumentsAreRefusedAndTheServerKeepsServing) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    struct Case {
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT expected;
    };
    const std::vector<Case> cases = {
        {kGetVersion, {longArgument(1)}, DISP_E_BADPARAMCOUNT},
        {kSetCurrentFolder, {textArgument(L"C:\\")}, DISP_E_PARAMNOTOPTIONAL},
        {kProcessCommand, {textArgument(L"не число")}, DISP_E_TYPEMISMATCH},
        {kCloseFile, {textArgument(L"a"), textArgument(L"b")}, DISP_E_BADPARAMCOUNT},
        {99, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases)
        EXPECT_EQ(invoke(app, c.id, c.args), c.expected) << c.id;
    Variant version;
    ASSERT_EQ(invoke(app, kGetVersion, {}, &version), S_OK);
    EXPECT_EQ(version.lVal, 1800);
}

TEST_F(Server, AClientKilledMidCallLeavesTheServerServingWithItsObjectsReleased) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    const long server = journal("dvserver.host").at(0).pid;
    const std::string program = (binDir() / "dvserver_client").string();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t client = 0;
    ASSERT_EQ(posix_spawn(&client, program.c_str(), nullptr, nullptr, argv, environ), 0);
    ASSERT_TRUE(eventually([&] { return !journal("dvserver.slow").empty(); }, 60))
        << "the client's long call";
    ::kill(client, SIGKILL);
    int status = 0;
    ::waitpid(client, &status, 0);

    Variant version;
    ASSERT_EQ(invoke(app, kGetVersion, {}, &version), S_OK) << "still serving";
    EXPECT_EQ(version.lVal, 1800);
    // The dead client's object went with it: the last living client's release ends the server.
    release(app);
    ASSERT_TRUE(eventually([&] { return exitOf(server) != nullptr; }, 60));
    EXPECT_EQ(exitOf(server)->get("locks"), "0");
}

TEST_F(Server, OpenLibraryConfigurationAsksThroughTheResponderForAMissingFile) {
    // The server is another process: its answers come from a script.
    const fs::path script = writeFile("answers.txt", (root() / "fresh").string() + "\n2\n");
    setenv("DV_PAL_ANSWERS", script.c_str(), 1);
    IDispatch* app = start();
    unsetenv("DV_PAL_ANSWERS");
    ASSERT_NE(app, nullptr);
    Variant r;
    ASSERT_EQ(invoke(app, kOpenLibraryConfiguration, {textArgument(doc("missing.tws"))}, &r), S_OK);
    EXPECT_EQ(r.iVal, 1);
    EXPECT_TRUE(fs::exists(root() / "fresh.tws")) << "made by the call, with the default extension";
    EXPECT_FALSE(fs::exists(root() / "missing.tws"));
    // Cancelled: nothing is made, and the unattended client is not kept waiting.
    ASSERT_EQ(invoke(app, kOpenLibraryConfiguration, {textArgument(doc("other.tws"))}, &r), S_OK);
    EXPECT_EQ(r.iVal, 0);
    EXPECT_FALSE(fs::exists(root() / "other.tws"));
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].get("kind"), "FileDialog");
    EXPECT_EQ(prompts[0].get("by"), "responder");
}

TEST_F(Server, PreviewsAndIconsComeFromTheDocumentFile) {
    const std::wstring path = doc("icon.dvd");
    {
        CDvw32Doc drawing;
        drawing.SetPicture(g_szDocIcon, Dravik::MakeIconPng(drawing));
        std::wstring error;
        ASSERT_TRUE(drawing.DoFileSave(path, &error)) << pal::text::toUtf8(error);
    }
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    struct Case {
        DISPID id;
        std::wstring file;
        short result;
    };
    for (const Case& c : {Case{kGetPreview, path, 1}, Case{kGetIcon, path, 1}, Case{kReleasePreview, L"", 0},
                          Case{kReleaseIcon, L"", 0}, Case{kGetIcon, doc("missing.dvd"), 0}}) {
        Variant r;
        std::vector<VARIANT> args;
        if (!c.file.empty())
            args.push_back(textArgument(c.file));
        ASSERT_EQ(invoke(app, c.id, std::move(args), &r), S_OK) << c.id;
        EXPECT_EQ(r.iVal, c.result) << c.id;
    }

    Variant r;
    ASSERT_EQ(invoke(app, kExtractFileIcon,
                     {textArgument(path), textArgument(doc("icon.bmp")), shortArgument(48), shortArgument(24),
                      longArgument(0)},
                     &r),
              S_OK);
    EXPECT_EQ(r.iVal, 1);
    const std::string bmp = pal::test::readFile(root() / "icon.bmp");
    ASSERT_EQ(bmp.size(), 54u + 48 * 24 * 4);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[18]), 48);
    EXPECT_EQ(static_cast<unsigned char>(bmp[22]), 24);
    ASSERT_EQ(invoke(app, kExtractFileIcon,
                     {textArgument(doc("missing.dvd")), textArgument(doc("none.bmp")), shortArgument(48),
                      shortArgument(24), longArgument(0)},
                     &r),
              S_OK);
    EXPECT_EQ(r.iVal, 0);
    EXPECT_FALSE(fs::exists(root() / "none.bmp"));
}

TEST_F(Server, LibrariesOfTheActiveConfiguration) {
    // Save As asks the person for the file: the server's answer comes from a script.
    const fs::path script = writeFile("answers.txt", (root() / "renamed").string() + "\n");
    setenv("DV_PAL_ANSWERS", script.c_str(), 1);
    IDispatch* app = start(L"--lib \"Крепёж=" + doc("lib") + L"\"");
    unsetenv("DV_PAL_ANSWERS");
    ASSERT_NE(app, nullptr);
    Variant count, name, path, set, made;
    ASSERT_EQ(invoke(app, 23, {}, &count), S_OK);
    EXPECT_EQ(count.iVal, 1);
    ASSERT_EQ(invoke(app, 24, {shortArgument(0)}, &name), S_OK);
    EXPECT_EQ(textOf(name), L"Крепёж");
    ASSERT_EQ(invoke(app, 25, {shortArgument(0)}, &path), S_OK);
    EXPECT_FALSE(textOf(path).empty());
    Variant missing;
    ASSERT_EQ(invoke(app, 24, {shortArgument(1)}, &missing), S_OK);
    EXPECT_EQ(textOf(missing), L"");
    ASSERT_EQ(invoke(app, 26, {textArgument(L"Нет такой"), textArgument(doc("x"))}, &set), S_OK);
    EXPECT_EQ(set.iVal, 0);
    ASSERT_EQ(invoke(app, 8,
                     {textArgument(L"Болты"), textArgument(doc("bolts")), textArgument(L"Петров"),
                      textArgument(L"Завод №3"), textArgument(L"Для сборки")},
                     &made),
              S_OK);
    EXPECT_EQ(made.iVal, 1);
    ASSERT_EQ(invoke(app, 23, {}, &count), S_OK);
    EXPECT_EQ(count.iVal, 2);

    // Saved as the file the person chose, the client's path unused, with every text of the
    // library made above.
    Variant saved;
    ASSERT_EQ(invoke(app, 7, {textArgument(doc("ignored.tws"))}, &saved), S_OK);
    EXPECT_EQ(saved.iVal, 1);
    EXPECT_FALSE(fs::exists(root() / "ignored.tws"));
    const std::string file = pal::test::readFile(root() / "renamed.tws");
    for (const char* text : {"Болты", "Петров", "Завод №3", "Для сборки"})
        EXPECT_NE(file.find(text), std::string::npos) << text << " in " << file;
}

TEST_F(Server, ShowApplicationAnswersThePreviousShowCommandAndLinkUpdateItsPreviousState) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    std::vector<short> previous;
    for (short show : {SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED, SW_RESTORE}) {
        Variant r;
        ASSERT_EQ(invoke(app, 10, {shortArgument(show)}, &r), S_OK);
        previous.push_back(r.iVal);
    }
    EXPECT_EQ(previous, (std::vector<short>{SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED}));

    std::vector<LONG> wasOn;
    for (LONG on : {0, 0, 1, 1}) {
        Variant r;
        ASSERT_EQ(invoke(app, 37, {longArgument(on)}, &r), S_OK);
        wasOn.push_back(r.lVal);
    }
    EXPECT_EQ(wasOn, (std::vector<LONG>{1, 0, 0, 1}));
}

TEST_F(Server, CreateNewFileMakesADocumentFromThePrototype) {
    IDispatch* app = start();
    ASSERT_NE(app, nullptr);
    Variant made;
    ASSERT_EQ(invoke(app, 29, {}, &made), S_OK);
    ASSERT_EQ(made.vt, VT_DISPATCH);
    ASSERT_NE(made.pdispVal, nullptr);
    short pos = 9;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &pos;
    Variant first;
    ASSERT_EQ(invoke(app, kGetFirstFile, {ref}, &first), S_OK);
    EXPECT_EQ(pos, 0) << "listed with the open documents";
}

// Path forms, in this process: the library comes from the active configuration.
TEST_F(Server, PathResolutionTable) {
    auto& group = DocumentsMenu::GlobalCfgGroup();
    group.Clear();
    auto configuration = DocumentsMenu::CreateConfiguration(L"Стенд", false);
    configuration->SetActive(true);
    auto library = DocumentsMenu::CreateLibrary(L"C:\\Библиотеки\\Крепёж");
    library->SetName(L"Крепёж");
    const std::wstring folder = DocumentsMenu::GetLibraryAbsolutePath(library.get());
    configuration->AddLibrary(std::move(library));
    group.Add(std::move(configuration));
    const std::wstring profiles = DVAppendProgramPath(L"profiles", 0, false);

    struct Case {
        std::wstring path;
        std::optional<std::wstring> resolved;
    };
    const std::vector<Case> cases = {
        {L"C:\\a.dvd", L"C:\\a.dvd"},
        {L"<Крепёж>", L""},
        {L"<Крепёж>болт.dvd", folder + L"болт.dvd"},
        {L"x:<Крепёж>болт.dvd", L"x:" + folder + L"болт.dvd"},
        {L"<@Стандарт>рамка.dvd", profiles + L"\\Стандарт\\рамка.dvd"},
        {L"<Нет такой>болт.dvd", std::nullopt},
        {L"a>b<c", L"a>b<c"},
        {L"<без конца", L"<без конца"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveServerPath(c.path), c.resolved) << pal::text::toUtf8(c.path);
    group.Clear();
}

} // namespace
