// The DravikCad program itself, as a person starts it.
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Program = pal::test::SandboxTest;

TEST_F(Program, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "DravikCad", {}, root() / "scratch");
}

struct Ending {
    int exitCode = -1;
    int signal = 0;
    std::string err;
};

// The program in this test's sandbox, with nobody at a display, standard error kept.
Ending run(const fs::path& program, const std::vector<std::string>& args, const fs::path& errFile) {
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        ::setenv("DV_PAL_DISPLAY", "null", 1);
        ::unsetenv("DV_PAL_SNAPSHOTS");
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    Ending e;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status))
        e.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        e.signal = WTERMSIG(status);
    e.err = pal::test::readFile(errFile);
    return e;
}

TEST_F(Program, WithNobodyAtADisplayItOpensTheDrawingKeepsItsWindowAsAPictureAndEnds) {
    const fs::path drawing = root() / "plate.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawing);
    const Ending e = run(binDir() / "DravikCad", {drawing.string()}, root() / "stderr.txt");
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

} // namespace
