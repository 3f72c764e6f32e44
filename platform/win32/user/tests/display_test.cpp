// Virtual monitors, metrics and dots per inch.
#include "recorder.h"

#include <gtest/gtest.h>

#include <climits>

namespace usertest {
namespace {

class DisplayTest : public RecordedTest {};

TEST_F(DisplayTest, TheDefaultScreenIsOneFullHdMonitorAt96Dpi) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 23);
    EXPECT_EQ(GetSystemMetrics(SM_SHUTTINGDOWN), 0); // the display is there
    EXPECT_EQ(GetDpiForSystem(), 96u);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(info.rcWork.bottom, 1040);
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
}

TEST_F(DisplayTest, AMaximisedWindowFillsTheWorkAreaOfItsMonitor) {
    pal::test::setMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
                            {{1920, 0, 1920 + 2560, 1440}, {1920, 0, 1920 + 2560, 1400}, 144}});
    HWND w = create("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {2000, 100, 2800, 700});
    EXPECT_EQ(GetDpiForWindow(w), 144u);
    ShowWindow(w, SW_MAXIMIZE);
    RECT client{};
    GetClientRect(w, &client);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 1920);
    EXPECT_EQ(client.right, 2560);
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 2000);
    EXPECT_EQ(r.right, 2800);
}

TEST_F(DisplayTest, MonitorsAreFoundByPointRectangleAndWindowWithTheirFallbacks) {
    pal::test::setMonitors(
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, 96}});
    const HMONITOR primary = MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
    const HMONITOR second = MonitorFromPoint(POINT{2000, 10}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(primary, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(primary, second);
    EXPECT_EQ(MonitorFromPoint(POINT{5000, 10}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT{5000, 10}, MONITOR_DEFAULTTONEAREST), second);
    EXPECT_EQ(MonitorFromPoint(POINT{5000, 10}, MONITOR_DEFAULTTOPRIMARY), primary);
    RECT mostlyRight{1800, 0, 2400, 100};
    EXPECT_EQ(MonitorFromRect(&mostlyRight, MONITOR_DEFAULTTONULL), second);
    std::vector<RECT> seen;
    RECT clip{1900, 0, 1950, 10};
    EnumDisplayMonitors(
        nullptr, &clip,
        [](HMONITOR, HDC, LPRECT r, LPARAM p) {
            reinterpret_cast<std::vector<RECT>*>(p)->push_back(*r);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].left, 1920);
    EXPECT_EQ(seen[1].right, 1950);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3840);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 35) << "metrics scale with the primary monitor's dpi";
    MONITORINFOEXW ex{};
    ex.cbSize = sizeof ex;
    ASSERT_TRUE(GetMonitorInfoW(second, &ex));
    EXPECT_STREQ(ex.szDevice, L"\\\\.\\DISPLAY2");
    EXPECT_EQ(ex.dwFlags, 0u);
}

TEST_F(DisplayTest, EmptyRectanglesAndFarPointsStillFindTheirMonitor) {
    pal::test::setMonitors(
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, 96}});
    const HMONITOR primary = MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
    const HMONITOR second = MonitorFromPoint(POINT{2000, 10}, MONITOR_DEFAULTTONULL);
    struct Row {
        RECT rect;
        DWORD flags;
        HMONITOR expected;
    };
    const Row rows[] = {
        {{2000, 100, 2000, 100}, MONITOR_DEFAULTTONULL, second},       // no size: the monitor of its corner
        {{2000, 100, 2000, 900}, MONITOR_DEFAULTTOPRIMARY, second},    // no width
        {{5000, 100, 5000, 100}, MONITOR_DEFAULTTONULL, nullptr},      // no size, off every monitor
        {{INT_MIN, 0, INT_MIN, 0}, MONITOR_DEFAULTTONEAREST, primary}, // far left
        {{INT_MAX, 0, INT_MAX, 0}, MONITOR_DEFAULTTONEAREST, second},  // far right
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.rect.left << "," << row.rect.top << " flags " << row.flags);
        EXPECT_EQ(MonitorFromRect(&row.rect, row.flags), row.expected);
        if (IsRectEmpty(&row.rect)) {
            EXPECT_EQ(MonitorFromPoint(POINT{row.rect.left, row.rect.top}, row.flags), row.expected);
        }
    }
}

TEST_F(DisplayTest, AMinimisedWindowBelongsToTheMonitorItIsRestoredTo) {
    pal::test::setMonitors(
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, 144}});
    const HMONITOR second = MonitorFromPoint(POINT{2000, 10}, MONITOR_DEFAULTTONULL);
    HWND w = create("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {2000, 100, 2800, 700});
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w));
    EXPECT_EQ(MonitorFromWindow(w, MONITOR_DEFAULTTONULL), second);
    EXPECT_EQ(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), second);
    HWND empty = create("empty", WS_POPUP | WS_VISIBLE, nullptr, {2500, 300, 2500, 300});
    EXPECT_EQ(MonitorFromWindow(empty, MONITOR_DEFAULTTONULL), second) << "a window of no size";
}

} // namespace
} // namespace usertest
