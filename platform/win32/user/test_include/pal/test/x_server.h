// An X server and a window manager of a test's own, for tests of windows on a real X11 display.
// Header-only: only tests that link Xlib include it.
#pragma once

#include "pal/detail/user_control.h"
#include "pal/test/eventually.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace pal::test {

// An Xvfb of the test's own, on a display number the server picks itself.
class Xvfb {
public:
    bool start(std::string& why) {
        int fds[2];
        if (pipe(fds) != 0) {
            why = "no pipe";
            return false;
        }
        const std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd",   fd,          "-screen",
                                         "0",    "1280x1024x24", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            close(fds[0]);
            pid_ = 0;
            why = "Xvfb is not installed (scripts/setup installs it)";
            return false;
        }
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty()) {
            why = "Xvfb did not start";
            stop();
            return false;
        }
        name_ = ":" + number;
        return true;
    }
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
    }
    ~Xvfb() { stop(); }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = 0;
    std::string name_;
};

// A connection of a test that looks at another process's windows: a window that process closes
// while the test walks the tree is no error of the test's, and Xlib's own handler would end the
// test at once, leaving the program it started running (and its test never ending).
inline Display* openLooker(const Xvfb& server) {
    Display* dpy = XOpenDisplay(server.name().c_str());
    if (dpy)
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return dpy;
}

// Puts the program's windows on the test's X server and opens a second connection that looks at
// them as another client would; null when either fails.
inline Display* showOn(const Xvfb& server) {
    if (!pal::detail::useDisplay("x11:" + server.name()))
        return nullptr;
    return XOpenDisplay(server.name().c_str());
}

// Closes the looking connection, gives the window layer back the null display, ends the server.
inline void closeOwnDisplay(Xvfb& server, Display*& observer) {
    if (observer)
        XCloseDisplay(observer);
    observer = nullptr;
    pal::detail::useDisplay("null");
    server.stop();
}

// A window manager on the test's display, ended with the test.
class WindowManager {
public:
    bool start(const std::string& display, Display* observer) {
        const std::string env = "DISPLAY=" + display;
        std::vector<std::string> args = {"openbox", "--sm-disable"};
        std::vector<char*> argv, envp;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::string home =
            std::string("HOME=") + (std::getenv("DV_PAL_ROOT") ? std::getenv("DV_PAL_ROOT") : "/tmp");
        envp.push_back(const_cast<char*>(env.c_str()));
        envp.push_back(home.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawnp(&pid_, "openbox", &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            pid_ = 0;
            return false;
        }
        // It is running once it frames a window (what it is asked before that may be lost).
        const Window root = DefaultRootWindow(observer);
        const Window probe = XCreateSimpleWindow(observer, root, 0, 0, 10, 10, 0, 0, 0);
        const bool framed = eventually([&] {
            XMapWindow(observer, probe);
            XSync(observer, False);
            Window r = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            XQueryTree(observer, probe, &r, &parent, &children, &count);
            if (children)
                XFree(children);
            return parent != root;
        });
        XDestroyWindow(observer, probe);
        XSync(observer, False);
        return framed;
    }
    ~WindowManager() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = 0;
};

// Another program of the tests on the display (a drag source, a drop target), ended with the
// test; its standard output is read as it comes.
class Peer {
public:
    Peer(const std::string& program, std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0)
            return;
        fcntl(out[0], F_SETFL, O_NONBLOCK);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        fd_ = out[0];
    }
    ~Peer() {
        if (fd_ >= 0)
            close(fd_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // What it printed so far.
    const std::string& heard() {
        read();
        return heard_;
    }
    // Whether it has ended (its output closed), or never started.
    bool ended() { return pid_ <= 0 || read() == 0; }

private:
    ssize_t read() {
        char buffer[256];
        ssize_t n = -1;
        while (fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0)
            heard_.append(buffer, static_cast<size_t>(n));
        return n;
    }
    pid_t pid_ = 0;
    int fd_ = -1;
    std::string heard_;
};

} // namespace pal::test
