// Simulated mouse and keyboard: the window under the point, mouse activation, double
// clicks, the wheel and the key-state tables.
#include "recorder.h"

#include <gtest/gtest.h>

namespace usertest {
namespace {

using Seq = std::vector<std::string>;

class InputTest : public RecordedTest {
protected:
    void SetUp() override {
        RecordedTest::SetUp();
        back = create("back", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 400, 400});
        view = create("view", WS_CHILD | WS_VISIBLE, back, {10, 10, 210, 210}, 1);
        front = create("front", WS_POPUP | WS_VISIBLE, nullptr, {500, 0, 700, 200});
        pal::test::pump();
        take();
    }
    HWND back = nullptr, view = nullptr, front = nullptr;
};

TEST_F(InputTest, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
    POINT origin{0, 0};
    ClientToScreen(back, &origin);
    const POINT inView{origin.x + 20, origin.y + 20};
    EXPECT_EQ(WindowFromPoint(inView), view);
    EXPECT_EQ(WindowFromPoint(POINT{550, 50}), front);
    EXPECT_EQ(WindowFromPoint(POINT{1500, 900}), nullptr);
    EnableWindow(view, FALSE);
    EXPECT_EQ(WindowFromPoint(inView), back) << "a disabled child leaves the point to its parent";
    ShowWindow(view, SW_HIDE);
    EnableWindow(view, TRUE);
    EXPECT_EQ(WindowFromPoint(inView), back);
}

TEST_F(InputTest, AClickInAnInactiveWindowAsksMouseActivationThenActivates) {
    ASSERT_EQ(GetActiveWindow(), front);
    POINT p{0, 0};
    ClientToScreen(view, &p);
    p.x += 5;
    p.y += 7;
    LPARAM down = 0;
    recorder.hook = [&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_LBUTTONDOWN)
            down = l;
        return false;
    };
    pal::test::click(p);
    pal::test::pump();
    EXPECT_EQ(GET_X_LPARAM(down), 5);
    EXPECT_EQ(GET_Y_LPARAM(down), 7);
    EXPECT_EQ(GetActiveWindow(), back);
    EXPECT_EQ(GetForegroundWindow(), back);
    EXPECT_EQ(take(), (Seq{"view:WM_MOUSEACTIVATE", "back:WM_MOUSEACTIVATE", "front:WM_NCACTIVATE",
                           "front:WM_ACTIVATE", "back:WM_WINDOWPOSCHANGING", "back:WM_WINDOWPOSCHANGED",
                           "back:WM_NCACTIVATE", "back:WM_ACTIVATE", "front:WM_KILLFOCUS", "back:WM_SETFOCUS",
                           "view:WM_LBUTTONDOWN", "view:WM_LBUTTONUP"}));
}

TEST_F(InputTest, NoActivateAndEatKeepsActivationAndSwallowsTheClick) {
    recorder.hook = [this](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == view && m == WM_MOUSEACTIVATE) {
            r = MA_NOACTIVATEANDEAT;
            return true;
        }
        return false;
    };
    POINT p{1, 1};
    ClientToScreen(view, &p);
    pal::test::click(p);
    pal::test::pump();
    EXPECT_EQ(GetActiveWindow(), front);
    EXPECT_EQ(take(), (Seq{"view:WM_MOUSEACTIVATE", "view:WM_LBUTTONUP"}));
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyle) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Recorder::proc;
    wc.lpszClassName = L"NoDouble";
    RegisterClassExW(&wc);
    HWND plain = CreateWindowExW(0, L"NoDouble", L"", WS_POPUP | WS_VISIBLE, 800, 0, 100, 100, nullptr,
                                 nullptr, nullptr, const_cast<char*>("plain"));
    pal::test::pump();
    take();
    pal::test::doubleClick(POINT{550, 50});
    pal::test::doubleClick(POINT{850, 50});
    pal::test::pump();
    Seq clicks;
    for (const auto& e : take()) {
        if (e.find("BUTTON") != std::string::npos)
            clicks.push_back(e);
    }
    EXPECT_EQ(clicks, (Seq{"front:WM_LBUTTONDOWN", "front:WM_LBUTTONUP", "front:WM_LBUTTONDBLCLK",
                           "front:WM_LBUTTONUP", "plain:WM_LBUTTONDOWN", "plain:WM_LBUTTONUP",
                           "plain:WM_LBUTTONDOWN", "plain:WM_LBUTTONUP"}));
    DestroyWindow(plain);
}

TEST_F(InputTest, ALeaveTrackedWindowHearsWmMouseLeaveOnceWhenThePointerGoes) {
    std::vector<HWND> left;
    recorder.hook = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_MOUSELEAVE)
            left.push_back(h);
        return false;
    };
    POINT inView{5, 5};
    ClientToScreen(view, &inView);
    pal::test::mouseMove(inView);
    pal::test::pump();
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, view, 0};
    ASSERT_TRUE(TrackMouseEvent(&track));
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, view);
    EXPECT_EQ(query.dwFlags, TME_LEAVE);
    // Moving within the window keeps the tracking; moving onto its parent ends it, once.
    pal::test::mouseMove(POINT{inView.x + 10, inView.y + 10});
    pal::test::pump();
    EXPECT_TRUE(left.empty());
    POINT onBack{300, 300};
    ClientToScreen(back, &onBack);
    pal::test::mouseMove(onBack);
    pal::test::mouseMove(POINT{onBack.x + 1, onBack.y});
    pal::test::pump();
    EXPECT_EQ(left, std::vector<HWND>{view});
    // Asked while the pointer is elsewhere, the window hears at once that it left.
    track.hwndTrack = front;
    ASSERT_TRUE(TrackMouseEvent(&track));
    pal::test::pump();
    EXPECT_EQ(left, (std::vector<HWND>{view, front}));
}

TEST_F(InputTest, TheWheelGoesToTheWindowUnderThePointAndUpToItsParent) {
    POINT p{3, 3};
    ClientToScreen(view, &p);
    WPARAM seen = 0;
    recorder.hook = [&](HWND h, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (h == back && m == WM_MOUSEWHEEL)
            seen = w;
        return false;
    };
    pal::test::keyDown(VK_CONTROL);
    pal::test::wheel(p, -WHEEL_DELTA);
    pal::test::keyUp(VK_CONTROL);
    pal::test::pump();
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(seen), -WHEEL_DELTA);
    EXPECT_EQ(GET_KEYSTATE_WPARAM(seen), MK_CONTROL);
    const Seq log = take();
    EXPECT_NE(std::find(log.begin(), log.end(), "view:WM_MOUSEWHEEL"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "back:WM_MOUSEWHEEL"), log.end());
}

TEST_F(InputTest, KeyStatesFollowTheMessagesTakenAndTheAsyncTableFollowsTheKeys) {
    SHORT ctrl = 0, shift = 0, alt = 0;
    recorder.hook = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT&) {
        if (m == WM_KEYDOWN && w == 'A') {
            ctrl = GetKeyState(VK_CONTROL);
            shift = GetKeyState(VK_SHIFT);
            alt = GetKeyState(VK_MENU);
        }
        return false;
    };
    pal::test::keyDown(VK_CONTROL);
    pal::test::keyDown(VK_SHIFT);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "not yet taken from the queue";
    pal::test::pressKey('A');
    pal::test::keyUp(VK_SHIFT);
    pal::test::keyUp(VK_CONTROL);
    pal::test::pump();
    EXPECT_LT(ctrl, 0);
    EXPECT_LT(shift, 0);
    EXPECT_GE(alt, 0);
    EXPECT_GE(GetAsyncKeyState(VK_CONTROL), 0);
    pal::test::pressKey(VK_CAPITAL);
    pal::test::pump();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1) << "a press toggles";
}

TEST_F(InputTest, AltTurnsKeysIntoSystemKeys) {
    pal::test::pressKey(VK_F4, {VK_MENU});
    pal::test::pump();
    Seq keys;
    for (const auto& e : take()) {
        if (e.find("KEY") != std::string::npos)
            keys.push_back(e);
    }
    EXPECT_EQ(keys,
              (Seq{"front:WM_SYSKEYDOWN", "front:WM_SYSKEYDOWN", "front:WM_SYSKEYUP", "front:WM_SYSKEYUP"}));
}

} // namespace
} // namespace usertest
