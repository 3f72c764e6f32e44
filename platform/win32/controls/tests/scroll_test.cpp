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
        {"wheel towards the person",
         [&](ScrollTest& t) {
             POINT at{8, 100};
             ClientToScreen(bar, &at);
             pal::test::wheel(at, -WHEEL_DELTA);
             t.pump();
         },
         {"6:WM_VSCROLL SB_LINEDOWN", "6:WM_VSCROLL SB_LINEDOWN", "6:WM_VSCROLL SB_LINEDOWN",
          "6:WM_VSCROLL SB_ENDSCROLL"}},
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

// A window's own bar under the mouse: the thumb follows a drag, held arrows and tracks repeat.
TEST_F(ScrollTest, AWindowsOwnBarIsDraggedAndRepeatsWhileHeld) {
    std::vector<std::string> heard;
    answer = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_VSCROLL && lParam == 0)
            heard.push_back(std::to_string(LOWORD(wParam)) +
                            (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION
                                 ? "@" + std::to_string(HIWORD(wParam))
                                 : ""));
        return false;
    };
    ShowScrollBar(parent, SB_VERT, TRUE);
    RECT client{};
    GetClientRect(parent, &client);
    const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    // The thumb is a tenth of the track (a page of 1,000 in 10,000).
    const int thumb = (client.bottom - 2 * arrow) / 10;
    const auto screen = [&](int y) {
        POINT p{x, y};
        ClientToScreen(parent, &p);
        return p;
    };
    const struct {
        const char* name;
        int from, to; // where pressed and where let go, along the bar
        int repeats;  // timer periods the button stays down: the delay, then the rate
        std::vector<std::string> heard;
    } cases[] = {
        // The thumb, at the top, taken by its middle and brought to the middle of the bar.
        {"thumb to the middle", arrow + thumb / 2, client.bottom / 2, 0, {"5@", "4@", "8"}},
        {"thumb past the end", arrow + thumb / 2, client.bottom + 200, 0, {"5@9000", "4@9000", "8"}},
        // A held arrow: once at the press, once after the delay, then at the repeat rate.
        {"held down arrow", client.bottom - 3, client.bottom - 3, 4, {"1", "1", "1", "1", "1", "8"}},
        {"held track below the thumb",
         client.bottom - arrow - 5,
         client.bottom - arrow - 5,
         1,
         {"3", "3", "8"}},
    };
    for (const auto& c : cases) {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 9999, 1000, 0, 0};
        SetScrollInfo(parent, SB_VERT, &si, TRUE);
        heard.clear();
        pal::test::mouseDown(screen(c.from));
        pump();
        for (int i = 0; i < c.repeats; ++i) {
            advance(i == 0 ? 400 : 50);
            pump();
        }
        pal::test::mouseMove(screen(c.to));
        pump();
        pal::test::mouseUp(screen(c.to));
        pump();
        ASSERT_EQ(heard.size(), c.heard.size()) << c.name;
        for (size_t i = 0; i < heard.size(); ++i) {
            // Track positions are checked below; the codes in their order here.
            EXPECT_EQ(heard[i].substr(0, c.heard[i].size()), c.heard[i]) << c.name << " " << i;
        }
        if (c.heard.front() == "5@") {
            const int pos = std::stoi(heard[0].substr(2));
            EXPECT_NEAR(pos, 9000 / 2, 60) << c.name << ": the middle of the range";
            SCROLLINFO track{sizeof track, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(parent, SB_VERT, &track);
            EXPECT_EQ(track.nTrackPos, pos);
        }
    }
}

// A list of 10,000 rows: the thumb dragged to the middle of its bar brings row 5,000 into view;
// the wheel moves it on by rows.
TEST_F(ScrollTest, AListOfTenThousandRowsScrolledByItsThumbShowsItsMiddle) {
    const HWND list = make(L"ListBox", L"", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {10, 10, 210, 310}, 7);
    for (int i = 0; i < 10000; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"Row " + std::to_wstring(i)).c_str()));
    pump();
    RECT client{};
    GetClientRect(list, &client);
    const int rows = client.bottom / static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    // Taken by the middle of its thumb, the least a thumb is long.
    const int length = std::max(8, (static_cast<int>(client.bottom) - 2 * arrow) * rows / 10000);
    POINT thumb{x, arrow + length / 2}, middle{x, client.bottom / 2};
    ClientToScreen(list, &thumb);
    ClientToScreen(list, &middle);
    pal::test::mouseDown(thumb);
    pal::test::mouseMove(middle);
    pump();
    const LRESULT whileDragging = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(whileDragging, 4000) << "the rows follow the thumb as it moves";
    pal::test::mouseUp(middle);
    pump();
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, 5000);
    EXPECT_GT(top + rows, 5000) << "row 5,000 is in view (rows " << top << " on)";
    EXPECT_EQ(GetScrollPos(list, SB_VERT), top);

    pal::test::wheel(middle, -WHEEL_DELTA);
    pump();
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top) << "the wheel turned towards the end";
}

} // namespace
} // namespace controlstest
