// A 1920x1080 window repainted in full and presented to Xvfb through the display driver, against
// the least that showing those pixels costs: XPutImage of a buffer of the same size on a
// connection of its own. Both run in one process against one server, alternating, and the best
// of several runs of each is compared. Target: presenting reaches at least 0.8 of the frames per
// second of XPutImage alone.
#include "pal/detail/user_control.h"
#include "win/user.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 100;
constexpr int kRuns = 5;

pid_t startXvfb(std::string& display) {
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {"Xvfb", "-displayfd",   fd,          "-screen",
                                     "0",    "1920x1080x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return 0;
    close(fds[1]);
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    std::string number;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    display = ":" + number;
    return number.empty() ? 0 : pid;
}

LRESULT paintNothing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps{};
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void drain() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// Frames per second of full repaints shown through the driver.
double throughDriver(HWND hwnd, Display* observer) {
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        drain(); // going idle presents what was painted
    }
    XSync(observer, False);
    return kFrames / std::chrono::duration<double>(Clock::now() - start).count();
}

// Frames per second of XPutImage of the same pixels alone.
double putImageAlone(Display* dpy, Window w, XImage* image) {
    GC gc = XCreateGC(dpy, w, 0, nullptr);
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
        XPutImage(dpy, w, gc, image, 0, 0, 0, 0, kWidth, kHeight);
        XFlush(dpy);
    }
    XSync(dpy, False);
    const double fps = kFrames / std::chrono::duration<double>(Clock::now() - start).count();
    XFreeGC(dpy, gc);
    return fps;
}

} // namespace

int main() {
    std::string display;
    const pid_t server = startXvfb(display);
    if (!server) {
        std::fprintf(stderr, "present bench: Xvfb could not be started\n");
        return 1;
    }
    int rc = 0;
    if (!pal::detail::useDisplay("x11:" + display)) {
        rc = 1;
    } else if (Display* dpy = XOpenDisplay(display.c_str())) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = paintNothing;
        wc.lpszClassName = L"PresentBench";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, L"PresentBench", L"Present", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                                    nullptr, nullptr, nullptr);
        ShowWindow(hwnd, SW_SHOW);
        drain();
        Window reference = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, kWidth, kHeight, 0, 0, 0);
        XMapWindow(dpy, reference);
        std::vector<char> pixels(static_cast<size_t>(kWidth) * kHeight * 4, 0x40);
        XImage* image = XCreateImage(dpy, DefaultVisual(dpy, DefaultScreen(dpy)), 24, ZPixmap, 0,
                                     pixels.data(), kWidth, kHeight, 32, kWidth * 4);
        double best = 0, bestReference = 0;
        // Each side draws on a window that can be seen: the server skips what is covered.
        for (int run = 0; run < kRuns; ++run) {
            XLowerWindow(dpy, reference);
            XSync(dpy, False);
            best = std::max(best, throughDriver(hwnd, dpy));
            XRaiseWindow(dpy, reference);
            XSync(dpy, False);
            bestReference = std::max(bestReference, putImageAlone(dpy, reference, image));
        }
        image->data = nullptr;
        XDestroyImage(image);
        std::printf("present bench: %dx%d, %d frames, best of %d runs\n", kWidth, kHeight, kFrames, kRuns);
        std::printf("  through the display driver  %8.1f frames/s\n", best);
        std::printf("  XPutImage alone             %8.1f frames/s\n", bestReference);
        std::printf("  ratio                       %8.2f (target >= 0.80)\n", best / bestReference);
        DestroyWindow(hwnd);
        XCloseDisplay(dpy);
        pal::detail::useDisplay("null");
    } else {
        rc = 1;
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return rc;
}
