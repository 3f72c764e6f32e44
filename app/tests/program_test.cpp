// The DravikCad program itself, as a person starts it.
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <regex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Program = pal::test::SandboxTest;

TEST_F(Program, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "DravikCad", {}, root() / "scratch");
}

// A program that cannot keep its log says so and ends before anything goes unrecorded.
TEST_F(Program, SaysWhyAndEndsWhenItsLogCannotBeMade) {
    const fs::path local = root() / "drive_c" / "Users" / "tester" / "AppData" / "Local";
    fs::create_directories(local);
    std::ofstream(local / "Dravik") << "in the way";
    const pal::test::ProgramEnding e = pal::test::runProgram(
        binDir() / "DravikCad", {}, root() / "stderr.txt",
        {{"USER", "tester"}, {"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
    EXPECT_EQ(e.signal, 0) << e.err;
    EXPECT_GT(e.exitCode, 0) << e.err;
    EXPECT_EQ(e.err.rfind("DravikCad: cannot create the log file '", 0), 0u) << e.err;
    EXPECT_EQ(e.err.find('\n'), e.err.size() - 1) << "one line, not " << e.err;
}

// The program in this test's sandbox, with nobody at a display, standard error kept.
pal::test::ProgramEnding run(const fs::path& program, const std::vector<std::string>& args,
                             const fs::path& errFile) {
    return pal::test::runProgram(program, args, errFile,
                                 {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
}

TEST_F(Program, WithNobodyAtADisplayItOpensTheDrawingKeepsItsWindowAsAPictureAndEnds) {
    const fs::path drawing = root() / "plate.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const pal::test::ProgramEnding e = run(binDir() / "DravikCad", {drawing.string()}, root() / "stderr.txt");
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_EQ(e.exitCode, 0) << e.err;

    const fs::path snapshots = root() / "snapshots";
    EXPECT_NE(e.err.find("pictures of its main windows are in " + snapshots.string()), std::string::npos)
        << e.err;
    std::vector<fs::path> pictures;
    if (fs::is_directory(snapshots))
        for (const auto& entry : fs::directory_iterator(snapshots))
            if (entry.path().extension() == ".png")
                pictures.push_back(entry.path());
    EXPECT_EQ(pictures.size(), 1u) << "the one main window";

    std::smatch match;
    ASSERT_TRUE(std::regex_search(e.err, match, std::regex("the log of this run is ([^\n]+)"))) << e.err;
    const std::string log = pal::test::readFile(match[1].str());
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("> Initialized in "), 1u) << log;
    EXPECT_EQ(count("> Closing main window "), 1u) << log;
    EXPECT_EQ(count("Failed"), 0u) << log;
}

// A FIFO named as the drawing would hold a reader until someone wrote to it: the program tells
// the drawing cannot be read and goes on to its end.
TEST_F(Program, AFifoGivenAsTheDrawingIsRefusedAtOnce) {
    const fs::path pipe = root() / "pipe.grb";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    allowUnansweredPrompts = true; // nobody is at a display to answer the notice
    const pal::test::ProgramEnding e = run(binDir() / "DravikCad", {pipe.string()}, root() / "stderr.txt");
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_EQ(e.exitCode, 0) << e.err;
    EXPECT_NE(e.err.find("MessageBox: DRAVIK CAD 3D: I/O error"), std::string::npos) << e.err;
}

// A display that takes the connection and never answers: start-up waits a bounded time for it,
// says so in one line, and the program goes on without a screen to its end.
TEST_F(Program, ADisplayThatNeverAnswersIsGivenUpAfterABoundedWaitInOneLine) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    int display = 100;
    for (; display < 1000; ++display) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<std::uint16_t>(6000 + display));
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0)
            break;
    }
    ASSERT_LT(display, 1000);
    // The kernel completes the connections; nobody ever reads or answers them.
    ASSERT_EQ(::listen(listener, 8), 0);
    const std::string name = "127.0.0.1:" + std::to_string(display);
    const pal::test::ProgramEnding e = pal::test::runProgram(
        binDir() / "DravikCad", {}, root() / "stderr.txt",
        {{"DV_PAL_DISPLAY", "x11"}, {"DISPLAY", name}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
    ::close(listener);
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_EQ(e.exitCode, 0) << e.err;
    const std::string line = "display: the X display " + name +
                             " took the connection and did not answer in 10 s; running without a screen\n";
    const size_t at = e.err.find(line);
    EXPECT_NE(at, std::string::npos) << e.err;
    EXPECT_EQ(e.err.find("display:", at + 1), std::string::npos) << "one line: " << e.err;
}

// Closing its last window keeps the application's commands and the frames' state, again at
// a start that found them.
TEST_F(Program, ItsStateIsKeptEachTimeItsLastWindowCloses) {
    const fs::path drawing = root() / "plate.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const auto kept = [&](const std::string& name) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(root()))
            if (entry.path().filename() == name)
                found.push_back(entry.path());
        return found;
    };
    std::string lastState;
    // Twenty sessions: a state that grows a little at each one shows only over many.
    for (int start = 1; start <= 20; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        const pal::test::ProgramEnding e =
            run(binDir() / "DravikCad", {drawing.string()}, root() / "stderr.txt");
        ASSERT_EQ(e.signal, 0) << e.err;
        EXPECT_EQ(e.exitCode, 0) << e.err;
        for (const char* name : {"state.xml", "application.xml"}) {
            const std::vector<fs::path> files = kept(name);
            ASSERT_EQ(files.size(), 1u) << name;
            const std::string text = pal::test::readFile(files.front());
            EXPECT_EQ(text.rfind("<?xml", 0), 0u) << name;
        }
        const std::string state = pal::test::readFile(kept("state.xml").front());
        EXPECT_NE(state.find("<mainWindow "), std::string::npos);
        // Nothing changed between the later starts, so nothing changes in what they keep; the
        // command popups once gained a copy of their buttons each time.
        if (start >= 3) {
            EXPECT_EQ(state.size(), lastState.size());
            EXPECT_TRUE(state == lastState) << "the state kept by a start with no change differs";
        }
        lastState = state;
    }
}

} // namespace
