// A program that asks for its primary monitor before it makes any window, and prints it as
// "left top right bottom / work area", for the test that runs it on a screen of its own.
#include "win/user.h"

#include <cstdio>

int main() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info))
        return 1;
    std::printf("%d %d %d %d / %d %d %d %d\n", static_cast<int>(info.rcMonitor.left),
                static_cast<int>(info.rcMonitor.top), static_cast<int>(info.rcMonitor.right),
                static_cast<int>(info.rcMonitor.bottom), static_cast<int>(info.rcWork.left),
                static_cast<int>(info.rcWork.top), static_cast<int>(info.rcWork.right),
                static_cast<int>(info.rcWork.bottom));
    return 0;
}
