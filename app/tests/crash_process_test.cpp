// A fault on DravikCad's main thread, sent to the running program as a real process: the report
// is kept, the question is asked without the program's own windows (whose locks the fault may
// hold), and the program ends or restarts; it never stays on the screen, frozen.
#include "pal/test/eventually.h"
#include "pal/test/sandbox_test.h"

// Xlib's names come after the window layer's.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Fault {
    const char* name;
    int signal;
};
const Fault kFaults[] = {{"SIGSEGV", SIGSEGV}, {"SIGBUS", SIGBUS}, {"SIGABRT", SIGABRT}};

// Where the main thread is when the fault comes: waiting on its loop for messages, or inside a
// window procedure's paint with the paint's device context taken (the window layer raises it
// there when asked by DV_PAL_FAULT_IN_PAINT).
enum class When { Idle, Painting };
const char* describe(When when) {
    return when == When::Idle ? "idle on the loop" : "during a paint";
}

class CrashProcess : public pal::test::SandboxTest {
protected:
    void TearDown() override {
        for (pid_t pid : started_) {
            if (::waitpid(pid, nullptr, WNOHANG) == 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        SandboxTest::TearDown();
    }

    // Starts DravikCad with `args`, the environment changed by `environment`, its standard error
    // kept in `errFile`.
    pid_t start(const std::vector<std::string>& args,
                const std::vector<std::pair<std::string, std::optional<std::string>>>& environment,
                const fs::path& errFile) {
        std::vector<std::string> argv{(binDir() / "DravikCad").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            bool replaced = false;
            for (const auto& [name, value] : environment)
                replaced = replaced || entry.rfind(name + "=", 0) == 0;
            if (!replaced)
                env.push_back(entry);
        }
        for (const auto& [name, value] : environment)
            if (value)
                env.push_back(name + "=" + *value);
        std::vector<char*> rawArgs, rawEnv;
        for (auto& a : argv)
            rawArgs.push_back(a.data());
        rawArgs.push_back(nullptr);
        for (auto& e : env)
            rawEnv.push_back(e.data());
        rawEnv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // Not the test's own output: a copy left running would hold it open, and the test's runner
        // would wait on it until its time ran out.
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, rawArgs[0], &actions, nullptr, rawArgs.data(), rawEnv.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return 0;
        started_.push_back(pid);
        return pid;
    }

    // The log of the run, once start-up has written its time: the program is on its loop then.
    bool startedUp() const {
        std::error_code ec;
        const fs::path logs = root() / "drive_c/Users/tester/AppData/Local/Dravik/Logs";
        for (fs::directory_iterator it(logs, ec), end; !ec && it != end; it.increment(ec))
            if (pal::test::readFile(it->path()).find("Initialized in") != std::string::npos)
                return true;
        return false;
    }

    // The report files written in the sandbox.
    std::vector<fs::path> reports() const {
        std::vector<fs::path> found;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root(), ec), end; !ec && it != end; it.increment(ec))
            if (it->path().filename() == "report.txt")
                found.push_back(it->path());
        return found;
    }

    // Waits for `pid` to end; its status, or none when it is still running after a minute.
    static std::optional<int> ending(pid_t pid) {
        int status = 0;
        const bool ended = pal::test::eventually([&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
        return ended ? std::optional<int>(status) : std::nullopt;
    }

    // The DravikCad processes of this test's sandbox other than `pid`.
    std::vector<long> running(pid_t pid) const {
        std::vector<long> pids;
        std::error_code ec;
        for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos || std::stol(name) == pid)
                continue;
            if (pal::test::readFile(it->path() / "comm") == "DravikCad\n" && killable(std::stol(name)))
                pids.push_back(std::stol(name));
        }
        return pids;
    }
    bool killable(long pid) const {
        const std::string environment = pal::test::readFile("/proc/" + std::to_string(pid) + "/environ");
        return environment.find("DV_PAL_ROOT=" + root().string() + '\0') != std::string::npos;
    }

    // The fault as the processor would raise it: to the main thread itself.
    static void fault(pid_t pid, int signal) { ::syscall(SYS_tgkill, pid, pid, signal); }

    // Starts DravikCad for a fault `when`, with `args` and `environment`, and brings the fault
    // about: a paint's fault is raised by the program's first paint on its loop, an idle one is
    // sent once start-up is over. False when the program did not come that far.
    bool startAndFault(const Fault& f, When when, std::vector<std::string> args,
                       std::vector<std::pair<std::string, std::optional<std::string>>> environment,
                       const fs::path& err, pid_t& pid) {
        if (when == When::Painting)
            environment.emplace_back("DV_PAL_FAULT_IN_PAINT", std::to_string(f.signal));
        else
            args.insert(args.begin(), extraIdleArgs_.begin(), extraIdleArgs_.end());
        pid = start(args, environment, err);
        if (pid <= 0)
            return false;
        if (when == When::Painting)
            return true;
        if (!pal::test::eventually([&] { return startedUp(); }))
            return false;
        fault(pid, f.signal);
        return true;
    }

    std::vector<std::string> extraIdleArgs_;

    std::vector<pid_t> started_;
};

// With nobody at a display the question takes its default: the program ends, its report kept.
TEST_F(CrashProcess, OnTheNullDisplayAFaultOnTheLoopEndsTheProgramWithItsReportKept) {
    allowUnansweredPrompts = true;
    // Idle, the program is kept on its loop as an automation server is; a paint's fault comes
    // from the run of a person's copy, before it would end by itself.
    extraIdleArgs_ = {"-Embedding"};
    for (When when : {When::Idle, When::Painting}) {
        for (const Fault& f : kFaults) {
            SCOPED_TRACE(std::string(f.name) + " " + describe(when));
            fs::remove_all(root() / "drive_c");
            const fs::path err = root() / (std::string(f.name) + ".err");
            pid_t pid = 0;
            ASSERT_TRUE(
                startAndFault(f, when, {}, {{"DV_PAL_DISPLAY", "null"}, {"USER", "tester"}}, err, pid))
                << pal::test::readFile(err);
            const std::optional<int> status = ending(pid);
            ASSERT_TRUE(status) << "the program is still running after the fault: "
                                << pal::test::readFile(err);
            EXPECT_TRUE(WIFEXITED(*status)) << "it ends by itself, not by the signal";
            EXPECT_NE(WEXITSTATUS(*status), 0);
            const auto written = reports();
            ASSERT_EQ(written.size(), 1u) << pal::test::readFile(err);
            const std::string report = pal::test::readFile(written.front());
            EXPECT_NE(report.find(f.name), std::string::npos) << report;
            if (when == When::Painting) {
                EXPECT_NE(report.find("BeginPaint"), std::string::npos) << report;
            }
            const std::string said = pal::test::readFile(err);
            EXPECT_NE(said.find("Restart the program and recover the documents?"), std::string::npos) << said;
        }
    }
}

class CrashProcessOnX11 : public CrashProcess {
protected:
    void SetUp() override {
        CrashProcess::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = pal::test::openLooker(server_);
        ASSERT_NE(observer_, nullptr);
    }
    void TearDown() override {
        if (observer_)
            XCloseDisplay(observer_);
        CrashProcess::TearDown();
        server_.stop();
    }
    // The question of a program after a fault: a viewable dialog (a window of class "#32770", the
    // instance of its X11 class) titled with the program's name, among the windows below `under`.
    Window question(Window under, int depth) {
        Window root = 0, parent = 0, *children = nullptr, found = 0;
        unsigned count = 0;
        if (!XQueryTree(observer_, under, &root, &parent, &children, &count))
            return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            XClassHint hint{};
            XWindowAttributes a{};
            char* name = nullptr;
            if (XGetClassHint(observer_, children[i], &hint) && XFetchName(observer_, children[i], &name)) {
                if (hint.res_name && std::string(hint.res_name) == "#32770" && name &&
                    std::string(name) == "DRAVIK CAD 3D" &&
                    XGetWindowAttributes(observer_, children[i], &a) && a.map_state == IsViewable)
                    found = children[i];
            }
            if (name)
                XFree(name);
            if (hint.res_name)
                XFree(hint.res_name);
            if (hint.res_class)
                XFree(hint.res_class);
            if (!found && depth > 1)
                found = question(children[i], depth - 1);
        }
        if (children)
            XFree(children);
        return found;
    }

    pal::test::Xvfb server_;
    Display* observer_ = nullptr;
};

// A person at the display: the question is a window of its own while the program's windows may
// be stuck, and its answer ends the program (No) or starts a fresh copy (Yes).
TEST_F(CrashProcessOnX11, AFaultOnTheLoopAsksInAWindowOfItsOwnAndTheAnswerEndsOrRestarts) {
    const struct {
        Fault fault;
        When when;
        KeySym key;
        bool restarts;
    } cases[] = {
        {kFaults[0], When::Idle, XK_n, false},     {kFaults[1], When::Idle, XK_n, false},
        {kFaults[2], When::Idle, XK_y, true},      {kFaults[0], When::Painting, XK_y, true},
        {kFaults[1], When::Painting, XK_n, false}, {kFaults[2], When::Painting, XK_n, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault.name) + " " + describe(c.when));
        fs::remove_all(root() / "drive_c");
        const fs::path err = root() / (std::string(c.fault.name) + ".err");
        // A person's run: not under the test fixture, so the program shows its windows to them.
        pid_t pid = 0;
        ASSERT_TRUE(startAndFault(c.fault, c.when, {},
                                  {{"DV_PAL_DISPLAY", "x11"},
                                   {"DV_PAL_TEST", std::nullopt},
                                   {"USER", "tester"},
                                   {"DISPLAY", server_.name()}},
                                  err, pid))
            << pal::test::readFile(err);
        Window box = 0;
        ASSERT_TRUE(pal::test::eventually([&] {
            return (box = question(DefaultRootWindow(observer_), 2)) != 0;
        })) << "no question on the display: "
            << pal::test::readFile(err);
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, box, &a);
        Window child = 0;
        int x = 0, y = 0;
        XTranslateCoordinates(observer_, box, DefaultRootWindow(observer_), a.width / 2, a.height / 2, &x, &y,
                              &child);
        XTestFakeMotionEvent(observer_, 0, x, y, CurrentTime);
        pal::test::tapKey(observer_, XKeysymToKeycode(observer_, c.key));
        XFlush(observer_);
        const std::optional<int> status = ending(pid);
        ASSERT_TRUE(status) << "the program is still running after the answer: " << pal::test::readFile(err);
        EXPECT_EQ(reports().size(), 1u);
        // A fresh copy comes up on the display for a restart; this test ends it.
        bool fresh = false;
        for (long copy : running(pid))
            fresh = killIfOurs(copy) || fresh;
        EXPECT_EQ(fresh, c.restarts);
    }
}

} // namespace
