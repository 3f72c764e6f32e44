// DravikCad as the automation server other programs drive: a start registers "DVW32.SERVER" for
// the program itself, and a client in a process of its own then reaches a DravikCad that COM
// starts for it, edits the title block of a drawing through it, and lets it end. And the ends a
// client can bring: Quit, and a client killed in the middle of a call.
#include "app/DVServer.h"

#include "DravikKernel/DocumentFile.h"
#include "pal/com/dispatch.h"
#include "pal/com/variant.h"
#include "pal/journal.h"
#include "pal/path.h"
#include "pal/test/classes_root.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"
#include "win/com.h"
#include "win/system.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using pal::test::classesDefault;
namespace fs = std::filesystem;

class ProgramServer : public pal::test::SandboxTest {
protected:
    pal::test::ProgramEnding run(const fs::path& program, const std::vector<std::string>& args) {
        return pal::test::runProgram(program, args, root() / (program.filename().string() + ".err"),
                                     {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
    }

    // This test as DravikCad's client: the name registered as a start registers it, and COM
    // starts the program, which answers prompts from `answers` and writes its last words to a
    // file of its own.
    IDispatch* startDravikCad(const std::string& answers) {
        return startDravikCadAnsweringFrom(writeFile("answers.txt", answers));
    }
    // The server reads a person's answers from `script` at its first question.
    IDispatch* startDravikCadAnsweringFrom(const fs::path& script) {
        const std::wstring program = pal::text::fromUtf8((binDir() / "DravikCad").string());
        const std::wstring clsid = pal::com::guidToString(kServerFactoryClsid);
        pal::test::setClassesDefault(std::wstring(kServerProgId) + L"\\CLSID", clsid);
        pal::test::setClassesDefault(L"CLSID\\" + clsid + L"\\LocalServer32", L"\"" + program + L"\"");
        ::setenv("DV_PAL_ANSWERS", script.c_str(), 1);
        ::setenv("DV_PAL_DISPLAY", "null", 1);
        const char* snapshots = std::getenv("DV_PAL_SNAPSHOTS");
        const std::optional<std::string> keptSnapshots =
            snapshots != nullptr ? std::optional<std::string>(snapshots) : std::nullopt;
        ::unsetenv("DV_PAL_SNAPSHOTS");
        // The server takes this process's standard error as it starts.
        const int saved = ::dup(2);
        const int err = ::open((root() / "DravikCad.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
        ::close(err);
        CLSID id{};
        IDispatch* app = nullptr;
        if (SUCCEEDED(CLSIDFromProgID(kServerProgId, &id)))
            CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&app));
        ::dup2(saved, 2);
        ::close(saved);
        ::unsetenv("DV_PAL_ANSWERS");
        if (keptSnapshots)
            ::setenv("DV_PAL_SNAPSHOTS", keptSnapshots->c_str(), 1);
        return app;
    }

    // The log of the DravikCad this test started, once it has ended; empty when it did not end.
    std::string logOnceEnded() {
        std::smatch match;
        std::string err;
        const bool ended = pal::test::eventually(
            [&] {
                err = pal::test::readFile(root() / "DravikCad.err");
                return std::regex_search(err, match,
                                         std::regex("DravikCad: the log of this run is ([^\n]+)"));
            },
            60);
        return ended ? pal::test::readFile(match[1].str()) : std::string();
    }

    static size_t count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    void SetUp() override {
        SandboxTest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        SandboxTest::TearDown();
    }
};

TEST_F(ProgramServer, AStartRegistersTheServerAndAClientEditsATitleBlockThroughTheDravikCadItStarts) {
    // An ordinary start, with nobody at a display, registers the server for this program.
    const pal::test::ProgramEnding first = run(binDir() / "DravikCad", {});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // Both of the program's factories serve the name; it is kept by one of them.
    const std::wstring clsid = classesDefault(std::wstring(kServerProgId) + L"\\CLSID");
    EXPECT_TRUE(clsid == pal::com::guidToString(kServerFactoryClsid) ||
                clsid == pal::com::guidToString(CLSID{DV_SERVER_STATIC_CLSID}))
        << pal::text::toUtf8(clsid);
    const std::wstring server = classesDefault(L"CLSID\\" + clsid + L"\\LocalServer32");
    EXPECT_NE(server.find(L"DravikCad"), std::wstring::npos) << pal::text::toUtf8(server);

    // A client: COM starts DravikCad for it, and it ends once the client lets it go.
    const fs::path drawing = root() / "лист.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const pal::test::ProgramEnding client =
        run(binDir() / "dvserver_client", {"--title-block", drawing.string()});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    const auto answers = journal("dvserver.client.answers");
    ASSERT_EQ(answers.size(), 1u);
    const auto& a = answers.front();
    EXPECT_EQ(a.get("version"), "1800");
    EXPECT_EQ(a.get("opened"), "1");
    EXPECT_EQ(a.get("active"), "1");
    EXPECT_FALSE(a.get("before").empty()) << "the sample's title block names its designer";
    EXPECT_EQ(a.get("committed"), "1");
    EXPECT_EQ(a.get("after"), "\"Сидоров\"");

    // The DravikCad that served it shares the client's standard error: its last words there say
    // that it has ended, and where its log is.
    std::string err;
    std::smatch match;
    const bool ended = pal::test::eventually(
        [&] {
            err = pal::test::readFile(root() / "dvserver_client.err");
            return std::regex_search(err, match, std::regex("DravikCad: the log of this run is ([^\n]+)"));
        },
        60);
    ASSERT_TRUE(ended) << "DravikCad outlived its only client";
    const std::string log = pal::test::readFile(match[1].str());
    EXPECT_NE(log.find("> Initialized in "), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
}

TEST_F(ProgramServer, QuitEndsDravikCadOnceAfterTheCallHasAnswered) {
    IDispatch* app = startDravikCad("");
    ASSERT_NE(app, nullptr);
    pal::com::Variant result;
    ASSERT_EQ(pal::com::invokeByName(app, L"Quit", {}, &result), S_OK) << "answered before the end";
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 0);
    const std::string log = logOnceEnded();
    ASSERT_FALSE(log.empty()) << "DravikCad did not end";
    EXPECT_EQ(count(log, "> Initialized in "), 1u) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
    EXPECT_EQ(count(pal::test::readFile(root() / "DravikCad.err"), "the log of this run is"), 1u);
    app->Release();
}

// Commands whose dialogs ask a person: over automation, with nobody at a display, each call ends
// with the dialog's default, told on standard error, and DravikCad goes on serving.
TEST_F(ProgramServer, ACommandWhoseDialogNobodyCanAnswerEndsTheCallWithTheDefault) {
    allowUnansweredPrompts = true; // the point: nobody answers them
    IDispatch* app = startDravikCad("");
    ASSERT_NE(app, nullptr);
    for (const short command : {short{1215}, short{-7872} /* 57664 */, short{-4319} /* 61217 */}) {
        SCOPED_TRACE(static_cast<unsigned short>(command));
        VARIANT id{};
        id.vt = VT_I2;
        id.iVal = command;
        pal::com::Variant result;
        EXPECT_EQ(pal::com::invokeByName(app, L"ProcessCommand", {id}, &result), S_OK);
    }
    pal::com::Variant version;
    EXPECT_EQ(pal::com::invokeByName(app, L"GetVersion", {}, &version), S_OK) << "still serving";
    pal::com::Variant ignored;
    ASSERT_EQ(pal::com::invokeByName(app, L"Quit", {}, &ignored), S_OK);
    const std::string log = logOnceEnded();
    ASSERT_FALSE(log.empty()) << "DravikCad did not end";
    const std::string err = pal::test::readFile(root() / "DravikCad.err");
    EXPECT_GE(count(err, "(no answer given; taking"), 3u) << err;
    app->Release();
}

// The configurations installed beside the program open in the DravikCad a client started, and
// their library shows the sample drawings' folder.
TEST_F(ProgramServer, TheInstalledSamplesConfigurationOpensInTheRunningProgram) {
    IDispatch* app = startDravikCad("");
    ASSERT_NE(app, nullptr);
    const std::wstring samples = pal::text::fromUtf8((binDir() / "Configurations" / "Samples.tws").string());
    pal::com::Variant opened, count, name, path;
    ASSERT_EQ(
        pal::com::invokeByName(app, L"OpenLibraryConfiguration", {pal::com::textArgument(samples)}, &opened),
        S_OK);
    EXPECT_EQ(opened.iVal, 1);
    ASSERT_EQ(pal::com::invokeByName(app, L"GetLibraryCount", {}, &count), S_OK);
    EXPECT_EQ(count.iVal, 1);
    VARIANT first{};
    first.vt = VT_I2;
    first.iVal = 0;
    ASSERT_EQ(pal::com::invokeByName(app, L"GetLibraryName", {first}, &name), S_OK);
    ASSERT_EQ(name.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(name.bstrVal), L"Sample drawings");
    ASSERT_EQ(pal::com::invokeByName(app, L"GetLibraryPath", {first}, &path), S_OK);
    ASSERT_EQ(path.vt, VT_BSTR);
    const fs::path folder = pal::text::toUtf8(path.bstrVal);
    EXPECT_TRUE(fs::is_regular_file(folder / "sample-a3.grb")) << folder;
    ASSERT_EQ(pal::com::invokeByName(app, L"Quit", {}, nullptr), S_OK);
    EXPECT_EQ(pal::test::readFile(binDir() / "Configurations" / "Samples.tws"),
              pal::test::readFile(sourcePath("outside/DravikKernel/documents/Configurations/Samples.tws")))
        << "the installed file is read, not rewritten";
    app->Release();
    ASSERT_FALSE(logOnceEnded().empty()) << "DravikCad did not end";
}

// A configuration open when DravikCad ends is open again at its next start: opened by a client,
// which then quits the program, and there again in an ordinary start after it.
TEST_F(ProgramServer, AConfigurationOpenAtTheEndIsOpenAgainAtTheNextStart) {
    IDispatch* app = startDravikCad("");
    ASSERT_NE(app, nullptr);
    const std::wstring samples = pal::text::fromUtf8((binDir() / "Configurations" / "Samples.tws").string());
    pal::com::Variant opened;
    ASSERT_EQ(
        pal::com::invokeByName(app, L"OpenLibraryConfiguration", {pal::com::textArgument(samples)}, &opened),
        S_OK);
    EXPECT_EQ(opened.iVal, 1);
    ASSERT_EQ(pal::com::invokeByName(app, L"Quit", {}, nullptr), S_OK);
    app->Release();
    ASSERT_FALSE(logOnceEnded().empty()) << "DravikCad did not end";

    const pal::test::ProgramEnding next = run(binDir() / "DravikCad", {});
    ASSERT_EQ(next.exitCode, 0) << next.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(next.err, match, std::regex("the log of this run is ([^\n]+)")))
        << next.err;
    const std::string log = pal::test::readFile(match[1].str());
    EXPECT_NE(log.find("Reopened the library configuration " + pal::text::toUtf8(samples)), std::string::npos)
        << log;
    EXPECT_EQ(log.find("is not opened again"), std::string::npos) << log;
    // The main window's picture, with the pane that shows it, for a person to look at.
    if (const char* kept = std::getenv("DV_PAL_SNAPSHOTS"); kept != nullptr && fs::is_directory(kept))
        for (const auto& entry : fs::directory_iterator(root() / "snapshots"))
            if (entry.path().extension() == ".png")
                fs::copy_file(entry.path(), fs::path(kept) / ("reopened_" + entry.path().filename().string()),
                              fs::copy_options::overwrite_existing);
}

TEST_F(ProgramServer, AClientKilledMidCallLeavesDravikCadServingAndItEndsWithTheLastClient) {
    // The file the client opens is no drawing, so the person is told; the answer, OK, arrives
    // only when the test says, which keeps DravikCad inside the client's call till then.
    const fs::path notADrawing = writeFile("plate.dvd", "not a drawing\n");
    const fs::path answers = root() / "answers";
    ASSERT_EQ(::mkfifo(answers.c_str(), 0644), 0);
    IDispatch* app = startDravikCadAnsweringFrom(answers);
    ASSERT_NE(app, nullptr);

    const std::string program = (binDir() / "dvserver_client").string();
    const std::string path = notADrawing.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--open"),
                    const_cast<char*>(path.c_str()), nullptr};
    pid_t client = 0;
    ASSERT_EQ(posix_spawn(&client, program.c_str(), nullptr, nullptr, argv, environ), 0);
    // DravikCad is inside the client's call once it waits for the answer.
    int writer = -1;
    ASSERT_TRUE(pal::test::eventually(
        [&] {
            writer = ::open(answers.c_str(), O_WRONLY | O_NONBLOCK);
            return writer >= 0;
        },
        60))
        << "DravikCad never asked during the client's open";
    ::kill(client, SIGKILL);
    int status = 0;
    ::waitpid(client, &status, 0);
    ASSERT_EQ(::write(writer, "1\n", 2), 2);
    ::close(writer);

    pal::com::Variant version;
    ASSERT_EQ(pal::com::invokeByName(app, L"GetVersion", {}, &version), S_OK) << "still serving";
    EXPECT_EQ(version.lVal, 1800);
    // The dead client's object went with it: the last living client's release ends the program.
    app->Release();
    const std::string log = logOnceEnded();
    ASSERT_FALSE(log.empty()) << "DravikCad outlived its last client";
    EXPECT_EQ(count(log, "> Initialized in "), 1u) << log;
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("by"), "responder");
}

TEST_F(ProgramServer, AClientOpensSavesSavesAsClosesAndReopensThroughTheServersOwnFileCommands) {
    // The server's own dialogs pick the files, from the answers a person would type.
    const fs::path first = root() / "опора.grb";
    const fs::path copy = root() / "опора-2.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", first);
    const std::string bundled = pal::test::readFile(binDir() / "Samples" / "sample-a3.grb");
    const fs::path answers = writeFile("answers.txt", first.string() + "\n" + copy.string() + "\n");
    const std::wstring program = pal::text::fromUtf8((binDir() / "DravikCad").string());
    const std::wstring clsid = pal::com::guidToString(kServerFactoryClsid);
    pal::test::setClassesDefault(std::wstring(kServerProgId) + L"\\CLSID", clsid);
    pal::test::setClassesDefault(L"CLSID\\" + clsid + L"\\LocalServer32", L"\"" + program + L"\"");

    const pal::test::ProgramEnding client =
        pal::test::runProgram(binDir() / "dvserver_client", {"--file-road"}, root() / "dvserver_client.err",
                              {{"DV_PAL_DISPLAY", "null"},
                               {"DV_PAL_SNAPSHOTS", std::nullopt},
                               {"DV_PAL_ANSWERS", answers.string()}});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    const auto road = journal("dvserver.client.road");
    ASSERT_EQ(road.size(), 1u);
    EXPECT_EQ(road[0].get("first"), "1");
    EXPECT_EQ(road[0].get("second"), "1");
    EXPECT_EQ(road[0].get("closed"), "1");
    EXPECT_EQ(road[0].get("reopened"), "\"Петров\"") << "the recent list's first entry is the copy";

    // The saved file has the first change, the copy the second; the bundled drawing is as it was.
    std::wstring error;
    for (const auto& [file, designer] : {std::pair{first, L"Сидоров"}, std::pair{copy, L"Петров"}}) {
        auto document = Dravik::grb::LoadFile(pal::path::fromNative(file), &error);
        ASSERT_NE(document, nullptr) << pal::text::toUtf8(error);
        EXPECT_EQ(document->Cont2D()->GetTextValue(L"$razrab"), designer) << file;
    }
    EXPECT_EQ(pal::test::readFile(binDir() / "Samples" / "sample-a3.grb"), bundled);
    const auto prompts = journal("prompt");
    EXPECT_EQ(prompts.size(), 2u) << "the two file dialogs, and nothing else asked";
}

// The kernel's save-as prompt is the program's document dialog: a new drawing is offered the name
// the naming rules give, and the rules' button, once they are accepted, offers the next one.
TEST_F(ProgramServer, ANewDrawingSavedAsIsNamedByTheNamingRulesAndTheirButtonGivesTheNextName) {
    const fs::path answers = writeFile("answers.txt", "10000\n1\n1\n"); // the rules, accepted, Save
    // The dialog opens in the folder the program last chose a file in.
    const fs::path drawings = pal::folders::documents() / "Drawings";
    fs::create_directories(drawings);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dravik\\Platform\\File dialog\\Last folders", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring folder = pal::path::fromNative(drawings);
    RegSetValueExW(key, L"DravikCad", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    const std::wstring program = pal::text::fromUtf8((binDir() / "DravikCad").string());
    const std::wstring clsid = pal::com::guidToString(kServerFactoryClsid);
    pal::test::setClassesDefault(std::wstring(kServerProgId) + L"\\CLSID", clsid);
    pal::test::setClassesDefault(L"CLSID\\" + clsid + L"\\LocalServer32", L"\"" + program + L"\"");

    const pal::test::ProgramEnding client = pal::test::runProgram(
        binDir() / "dvserver_client", {"--save-new-as"}, root() / "dvserver_client.err",
        {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", "1"}, {"DV_PAL_ANSWERS", answers.string()}});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    ASSERT_EQ(journal("dvserver.client.saved").size(), 1u);

    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 3u) << "the dialog's button, the rules, the dialog's Save";
    EXPECT_EQ(prompts[0].get("kind"), "FileDialog");
    EXPECT_EQ(prompts[0].get("answer"), "Naming rules...");
    const std::string offered = prompts[0].get("text");
    ASSERT_GT(offered.size(), 4u);
    EXPECT_EQ(offered.substr(offered.size() - 4), "-001") << "the first name by the rules: " << offered;
    EXPECT_EQ(prompts[1].get("kind"), "MessageBox");
    EXPECT_EQ(prompts[1].get("caption"), "Naming rules");
    EXPECT_EQ(prompts[2].get("kind"), "FileDialog");
    const std::string saved = prompts[2].get("answer");
    const std::string next = offered.substr(0, offered.size() - 4) + "-002.grb";
    ASSERT_GE(saved.size(), next.size());
    EXPECT_EQ(saved.substr(saved.size() - next.size()), next) << saved;
    EXPECT_TRUE(fs::is_regular_file(drawings / fs::path(next))) << saved;
    size_t pictures = 0;
    for (const auto& entry : fs::directory_iterator(root() / "snapshots"))
        pictures += entry.path().extension() == ".png";
    EXPECT_EQ(pictures, 2u) << "the dialog and the rules, pictured as they closed";
}

} // namespace
