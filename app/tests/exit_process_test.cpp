// Restart and the exit save with real processes: the restarted copy reads the state the old
// one saved, whole; a restart that cannot start leaves the program running; a kill at any
// point of the exit save leaves every file and value as it was or as it became, never torn.
#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"

#include "win/base.h"
#include "win/system/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class ExitProcess : public pal::test::SandboxTest {
protected:
    pal::test::ProgramEnding run(const std::string& mode, const std::vector<std::string>& args,
                                 const fs::path& program) {
        return pal::test::runProgram(program, args, root() / "stderr.txt",
                                     {{"DV_HOST_MODE", mode}, {"DV_PAL_DISPLAY", "null"}});
    }
    static std::string slurp(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Waits for a file another process writes whole (renamed into place).
    static bool appears(const fs::path& file) {
        return pal::test::eventually([&] { return fs::exists(file); });
    }
    // Waits until the restarted run whose "second.txt" was seen has ended: it holds
    // "running.lock" as long as its process lives, and its way out still writes the settings
    // that the next run must not find.
    bool restartedRunEnded() const {
        const int fd = ::open((root() / "running.lock").c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool ended = pal::test::eventually([&] { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; });
        ::close(fd);
        return ended;
    }
};

TEST_F(ExitProcess, TheRestartedCopyGetsTheQuotedProgramAndTheLineAndReadsTheStateSavedOnTheWayOut) {
    struct Case {
        std::string mode;
        std::vector<std::string> args;
        std::string tail;
        std::string style;
        std::string crashRestart;
    };
    const Case cases[] = {
        {"restart", {}, "", "set-by-the-first", "0"},
        {"restart", {"ini:my settings.ini", "-x"}, R"( "ini:my settings.ini" -x)", "set-by-the-first", "0"},
        // After a crash: the same command line, so the configuration named with "ini:" holds.
        {"crash-restart", {"ini:my settings.ini", "-x"}, R"( "ini:my settings.ini" -x)", "", "1"},
    };
    const fs::path program = binDir() / "exit_host";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode + c.tail);
        fs::remove(root() / "second.txt");
        // The registry is a database in write-ahead mode: its log files go with it, or the next
        // run would read the last one's settings back out of them.
        for (const char* file : {"registry.db", "registry.db-wal", "registry.db-shm"})
            fs::remove(root() / file);
        const auto e = run(c.mode, c.args, program);
        ASSERT_EQ(e.exitCode, 0) << e.err;
        ASSERT_TRUE(appears(root() / "second.txt")) << e.err;
        ASSERT_TRUE(restartedRunEnded());
        const std::string second = slurp(root() / "second.txt");
        const auto line = second.find('\n');
        const auto last = second.rfind('\n');
        ASSERT_NE(line, last) << second;
        EXPECT_EQ(second.substr(0, line), c.style) << "the copy waited for the slow save";
        EXPECT_EQ(second.substr(line + 1, last - line - 1), "\"" + program.string() + "\"" + c.tail);
        EXPECT_EQ(second.substr(last + 1), c.crashRestart);
    }
}

TEST_F(ExitProcess, ARestartThatCannotStartIsLoggedAndTheProgramGoesOn) {
    const fs::path copy = root() / "bin" / "exit_host";
    fs::create_directories(copy.parent_path());
    fs::copy_file(binDir() / "exit_host", copy);
    ::setenv("LD_LIBRARY_PATH", binDir().c_str(), 1);
    const auto e = run("restart-fail", {}, copy);
    ::unsetenv("LD_LIBRARY_PATH");
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_NE(e.err.find("went on"), std::string::npos) << e.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(e.err, match, std::regex("log: ([^\n]+)"))) << e.err;
    const std::string log = slurp(pal::path::toNative(pal::text::fromUtf8(match[1].str())));
    EXPECT_TRUE(
        std::regex_search(log, std::regex("<7> Failed to start \"[^\"]*exit_host[^\"]*\": 0x00000002\n")))
        << log;
    EXPECT_EQ(log.find("Restarted as PID"), std::string::npos);
}

TEST_F(ExitProcess, ACriticalErrorOffTheMainThreadStopsTheMainThreadAtItsNextMessageAndEndsWithOne) {
    const fs::path answers = writeFile("answers.txt", "7\n"); // IDNO: no restart
    const auto e = pal::test::runProgram(
        binDir() / "exit_host", {}, root() / "stderr.txt",
        {{"DV_HOST_MODE", "off-thread"}, {"DV_PAL_DISPLAY", "null"}, {"DV_PAL_ANSWERS", answers.string()}});
    ASSERT_EQ(e.signal, 0) << e.err;
    EXPECT_EQ(e.exitCode, 1) << e.err;
    const auto boxes = journal("prompt");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().get("text").find("a worker's failure"), std::string::npos);
    EXPECT_EQ(e.err.find("a message was handled after the stop"), std::string::npos) << e.err;
    EXPECT_EQ(e.err.find("did not stop"), std::string::npos) << e.err;
}

// A crash answered with a restart: the changed drawing is kept as a recovery copy beside its
// file and the unchanged one by its path; the restarted copy opens both, the changed one from
// its copy under its own name, and the list is used up.
TEST_F(ExitProcess, ACrashAnsweredWithARestartReopensTheChangedDrawingFromItsCopyAndTheOtherAsItWas) {
    const fs::path changed = root() / "changed.grb", kept = root() / "kept.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", changed);
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", kept);
    const std::string before = slurp(changed);
    const fs::path answers = writeFile("answers.txt", "6\n"); // IDYES: restart
    const auto e = pal::test::runProgram(binDir() / "exit_host", {}, root() / "stderr.txt",
                                         {{"DV_HOST_MODE", "crash-recover"},
                                          {"DV_PAL_DISPLAY", "null"},
                                          {"DV_PAL_ANSWERS", answers.string()}});
    ASSERT_EQ(e.signal, 0) << e.err;
    ASSERT_TRUE(appears(root() / "second.txt")) << e.err;
    ASSERT_TRUE(restartedRunEnded());
    const std::string second = slurp(root() / "second.txt");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = second.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(second.substr(at, end - at));
    ASSERT_EQ(lines.size(), 3u) << second << e.err;
    const auto named = [&](const fs::path& file) {
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(file.filename().string() + "|") != std::string::npos;
        });
        return it == lines.end() ? std::string() : *it;
    };
    const std::string recovered = named(changed), reopened = named(kept);
    EXPECT_NE(recovered.find("|1|\"before the crash\""), std::string::npos) << recovered;
    EXPECT_EQ(recovered.find(".err"), std::string::npos) << "it takes its original's name: " << recovered;
    EXPECT_NE(reopened.find("|0|"), std::string::npos) << reopened;
    EXPECT_EQ(lines.back(), "DocsCount 0");
    EXPECT_EQ(slurp(changed), before) << "the file itself waits for the person to save";
    EXPECT_FALSE(fs::exists(root() / "kept.grb.err"));
}

// The value of Settings\UIStyle of the host's registry key; empty when it cannot be read.
std::string readStyle() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Acme\\ExitHost\\Settings", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return "";
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG rc = RegQueryValueExW(key, L"UIStyle", nullptr, &type, reinterpret_cast<LPBYTE>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? pal::text::toUtf8(value) : "";
}

TEST_F(ExitProcess, AKillAnywhereInTheExitSaveLeavesTheOldOrTheNewStateNeverATornOne) {
    const fs::path program = binDir() / "exit_host";
    ASSERT_EQ(run("save", {"0"}, program).exitCode, 0);
    fs::path state, commands;
    for (const auto& entry : fs::recursive_directory_iterator(root()))
        if (entry.path().filename() == "state.xml")
            state = entry.path();
        else if (entry.path().filename() == "application.xml")
            commands = entry.path();
    ASSERT_FALSE(state.empty());
    ASSERT_FALSE(commands.empty());
    const auto stateOf = [&](int generation) {
        std::string text = slurp(state);
        return std::regex_replace(text, std::regex("generation=\"[0-9]+\""),
                                  "generation=\"" + std::to_string(generation) + "\"");
    };
    const std::string commandsText = slurp(commands);

    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delayUs(0, 6000);
    int previous = 0, previousStyle = 0;
    int killedInside = 0;
    for (int point = 1; point <= 50; ++point) {
        SCOPED_TRACE(point);
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        ::setenv("DV_HOST_MODE", "save", 1);
        const std::string generation = std::to_string(point);
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(generation.c_str()), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
        ::unsetenv("DV_HOST_MODE");
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        // Up to "saving", then a seeded moment inside the save.
        std::string seen;
        char buffer[256];
        while (seen.find("saving\n") == std::string::npos) {
            const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            seen.append(buffer, static_cast<size_t>(n));
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        close(pipeFds[0]);
        killedInside += WIFSIGNALED(status) ? 1 : 0;

        const std::string now = slurp(state);
        const bool newState = now == stateOf(point);
        EXPECT_TRUE(now == stateOf(previous) || newState) << now;
        EXPECT_EQ(slurp(commands), commandsText);
        const std::string style = readStyle();
        const bool newStyle = style == "gen-" + std::to_string(point);
        EXPECT_TRUE(style == "gen-" + std::to_string(previousStyle) || newStyle) << style;
        EXPECT_FALSE(newStyle && !newState) << "the settings were written before the frame state";
        // What the next run may find as the previous state.
        if (newState)
            previous = point;
        if (newStyle)
            previousStyle = point;
    }
    EXPECT_GT(killedInside, 0) << "no kill landed before the end";
}

} // namespace
