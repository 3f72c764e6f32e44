// Scroll bars: the range, page and position kept consistent, and the codes a scroll bar control
// sends its parent for mouse and keys.
#include "notifications.h"

#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

using ScrollTest = ControlTest;

TEST_F(ScrollTest, InfoIsKeptWithinTheRangeLessAPage) {
    const HWND window = make(L"Static", L"", WS_VSCROLL, {10, 10, 210, 110}, 3);
    const struct {
        const char* name;
        SCROLLINFO set;
        int pos;
        UINT page;
    } cases[] = {
        {"range and page", {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0}, 0, 10},
        {"position in range", {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 50, 0}, 50, 10},
        {"position past the last page", {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 95, 0}, 90, 10},
        {"negative position", {sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, -4, 0}, 0, 10},
        {"page larger than the range", {sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 500, 0, 0}, 0, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SetScrollInfo(window, SB_VERT, &c.set, TRUE), c.pos) << c.name;
        SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &got));
        EXPECT_EQ(got.nPos, c.pos) << c.name;
        EXPECT_EQ(got.nPage, c.page) << c.name;
    }
    EXPECT_EQ(SetScrollPos(window, SB_VERT, 3, TRUE), 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0) << "nothing to scroll while the page holds everything";
}

TEST_F(ScrollTest, AWindowBarShowsWhenThereIsSomethingToScrollAndGoesWhenThereIsNot) {
    const HWND window = make(L"Static", L"", 0, {10, 10, 210, 110}, 3);
    SCROLLINFO none{sizeof none, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(window, SB_HORZ, &none)) << "a window without a bar has no info";
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 199, 50, 0, 0};
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL);
    si.nPage = 200;
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL);
    si.fMask |= SIF_DISABLENOSCROLL;
    ShowScrollBar(window, SB_HORZ, TRUE);
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL) << "kept, disabled, on request";
}

TEST_F(ScrollTest, ControlTellsItsParentAndLeavesThePositionToIt) {
    const HWND bar = make(L"ScrollBar", L"", SBS_VERT, {10, 10, 27, 210}, 6);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 40, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    take();
    const struct {
        const char* name;
        std::function<void(ScrollTest&)> act;
        Log heard;
    } cases[] = {
        {"down arrow",
         [&](ScrollTest& t) { t.clickAt(bar, 8, 195); },
         {"6:WM_VSCROLL SB_LINEDOWN", "6:WM_VSCROLL SB_ENDSCROLL"}},
        {"up arrow",
         [&](ScrollTest& t) { t.clickAt(bar, 8, 3); },
         {"6:WM_VSCROLL SB_LINEUP", "6:WM_VSCROLL SB_ENDSCROLL"}},
        {"page below the thumb",
         [&](ScrollTest& t) { t.clickAt(bar, 8, 180); },
         {"6:WM_VSCROLL SB_PAGEDOWN", "6:WM_VSCROLL SB_ENDSCROLL"}},
        {"keys",
         [&](ScrollTest& t) {
             SetFocus(bar);
             t.press(VK_HOME);
             t.press(VK_NEXT);
         },
         {"6:WM_VSCROLL SB_TOP", "6:WM_VSCROLL SB_ENDSCROLL", "6:WM_VSCROLL SB_PAGEDOWN",
          "6:WM_VSCROLL SB_ENDSCROLL"}},
    };
    for (const auto& c : cases) {
        c.act(*this);
        EXPECT_EQ(take(), c.heard) << c.name;
    }
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40);
}

TEST_F(ScrollTest, DraggingTheThumbTracksThenSetsThePosition) {
    const HWND bar = make(L"ScrollBar", L"", SBS_HORZ, {10, 10, 210, 27}, 6);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    take();
    POINT start{20, 8}, end{120, 8};
    ClientToScreen(bar, &start);
    ClientToScreen(bar, &end);
    pal::test::mouseDown(start);
    pal::test::mouseMove(end);
    pal::test::mouseUp(end);
    const Log heard = take();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].rfind("6:WM_HSCROLL SB_THUMBTRACK ", 0), 0u);
    EXPECT_EQ(heard[1].rfind("6:WM_HSCROLL SB_THUMBPOSITION ", 0), 0u);
    EXPECT_EQ(heard[2], "6:WM_HSCROLL SB_ENDSCROLL");
    const int tracked = std::stoi(heard[0].substr(heard[0].rfind(' ') + 1));
    EXPECT_GT(tracked, 40);
    EXPECT_LE(tracked, 90);
    SCROLLINFO track{sizeof track, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &track);
    EXPECT_EQ(track.nTrackPos, tracked);
}

TEST_F(ScrollTest, AWindowBarShowsItsThumbWhereThePositionIs) {
    const HWND window = make(L"Static", L"", WS_VSCROLL | SS_WHITERECT, {10, 10, 210, 210}, 3);
    const auto thumbEdge = [&](int pos) {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 10, pos, 0};
        SetScrollInfo(window, SB_VERT, &si, TRUE);
        pump();
        const auto picture = pal::test::snapshot(window);
        RECT client{};
        GetClientRect(window, &client);
        const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
        // The thumb's dark lower edge, between the arrows (the track has no edges).
        for (int y = GetSystemMetrics(SM_CYVSCROLL); y < client.bottom - GetSystemMetrics(SM_CYVSCROLL);
             ++y) {
            if (picture.pixel(x, y) == GetSysColor(COLOR_3DDKSHADOW))
                return y;
        }
        return -1;
    };
    const int top = thumbEdge(0), middle = thumbEdge(45), bottom = thumbEdge(90);
    ASSERT_GT(top, 0) << "the thumb is drawn";
    EXPECT_LT(top, middle);
    EXPECT_LT(middle, bottom);
    EXPECT_NEAR(middle - top, bottom - middle, 3);
}

TEST_F(ScrollTest, PressesOnAWindowsOwnBarAskItToScroll) {
    std::vector<std::string> heard;
    answer = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_VSCROLL && lParam == 0)
            heard.push_back(std::to_string(LOWORD(wParam)));
        return false;
    };
    // The parent's own bar: its client area is what is left of it.
    ShowScrollBar(parent, SB_VERT, TRUE);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 10, 0, 0};
    SetScrollInfo(parent, SB_VERT, &si, TRUE);
    RECT client{};
    GetClientRect(parent, &client);
    const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
    const struct {
        const char* name;
        int y;
        std::vector<std::string> heard;
    } presses[] = {
        {"the up arrow", 3, {"0", "8"}},
        {"the down arrow", client.bottom - 3, {"1", "8"}},
        {"below the thumb", client.bottom / 2, {"3", "8"}},
    };
    for (const auto& p : presses) {
        heard.clear();
        clickAt(parent, x, p.y);
        EXPECT_EQ(heard, p.heard) << p.name;
    }
    si.fMask = SIF_POS;
    si.nPos = 90;
    SetScrollInfo(parent, SB_VERT, &si, TRUE);
    heard.clear();
    clickAt(parent, x, GetSystemMetrics(SM_CYVSCROLL) + 5);
    EXPECT_EQ(heard, (std::vector<std::string>{"2", "8"})) << "above the thumb";
}

} // namespace
} // namespace controlstest
