// Tooltips: a tip shows after the initial delay of the clock, goes at a click or when its delay
// runs out, asks the tool's window for text it does not keep, and breaks lines when given a width.
#include "item_log.h"

#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

class ToolTipTest : public ItemControlTest {
public:
    void SetUp() override {
        ItemControlTest::SetUp();
        pal::test::setManualClock(true);
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                              parent, nullptr, nullptr, nullptr);
        ASSERT_TRUE(tip);
    }
    // A tool over a rectangle of the parent's client area.
    void addTool(UINT_PTR id, RECT r, LPCWSTR text) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = parent;
        ti.uId = id;
        ti.rect = r;
        ti.lpszText = const_cast<LPWSTR>(text);
        ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    void relay(UINT message, int x, int y) {
        MSG msg{};
        msg.hwnd = parent;
        msg.message = message;
        msg.lParam = MAKELPARAM(x, y);
        SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    void wait(int ms) {
        pal::test::advanceClock(static_cast<std::uint64_t>(ms));
        pump();
    }
    bool shown() { return IsWindowVisible(tip) != 0; }
    std::wstring current() {
        wchar_t text[80] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = text;
        return SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) ? text : L"-";
    }
    HWND tip = nullptr;
};

TEST_F(ToolTipTest, ShowsAfterTheDelayAndGoesAtAClick) {
    addTool(1, {10, 10, 110, 40}, L"Save the drawing");
    const int initial = static_cast<int>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(initial, static_cast<int>(GetDoubleClickTime()));
    struct Step {
        const char* what;
        std::function<void(ToolTipTest&)> act;
        bool shown;
        Log told;
    } steps[] = {
        {"the pointer comes to rest on the tool",
         [](ToolTipTest& t) { t.relay(WM_MOUSEMOVE, 20, 20); },
         false,
         {}},
        {"just before the delay", [&](ToolTipTest& t) { t.wait(initial - 1); }, false, {}},
        {"the delay has passed", [](ToolTipTest& t) { t.wait(1); }, true, {"TTN_SHOW"}},
        {"moving within the tool keeps it", [](ToolTipTest& t) { t.relay(WM_MOUSEMOVE, 60, 30); }, true, {}},
        {"a click hides it", [](ToolTipTest& t) { t.relay(WM_LBUTTONDOWN, 60, 30); }, false, {"TTN_POP"}},
        {"and it stays hidden over the same tool",
         [&](ToolTipTest& t) {
             t.relay(WM_MOUSEMOVE, 61, 30);
             t.wait(initial * 2);
         },
         false,
         {}},
        {"leaving and coming back shows it again",
         [&](ToolTipTest& t) {
             t.relay(WM_MOUSEMOVE, 200, 200);
             t.wait(1000);
             t.relay(WM_MOUSEMOVE, 20, 20);
             t.wait(initial);
         },
         true,
         {"TTN_SHOW"}},
        {"it goes by itself after the automatic delay",
         [&](ToolTipTest& t) { t.wait(initial * 10); },
         false,
         {"TTN_POP"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(*this);
        EXPECT_EQ(shown(), s.shown);
        EXPECT_EQ(take(), s.told);
    }
}

TEST_F(ToolTipTest, TextComesFromTheToolsWindowWhenNotKept) {
    addTool(7, {0, 0, 50, 50}, LPSTR_TEXTCALLBACKW);
    int asked = 0;
    onNotify = [&](const NMHDR* h) {
        if (h->code != TTN_GETDISPINFOW)
            return;
        ++asked;
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(h));
        wcscpy(di->szText, L"Zoom to fit");
    };
    relay(WM_MOUSEMOVE, 5, 5);
    wait(1000);
    EXPECT_TRUE(shown());
    EXPECT_EQ(take(), (Log{"TTN_GETDISPINFOW 7", "TTN_SHOW"}));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(current(), L"") << "the tool keeps no text of its own";
    SendMessageW(tip, TTM_POP, 0, 0);
    EXPECT_FALSE(shown());
    EXPECT_EQ(take(), Log{"TTN_POP"});
}

TEST_F(ToolTipTest, ANewToolSoonAfterAShownTipWaitsOnlyTheReshowDelay) {
    addTool(1, {0, 0, 50, 50}, L"Line");
    addTool(2, {50, 0, 100, 50}, L"Circle");
    relay(WM_MOUSEMOVE, 10, 10);
    wait(500);
    ASSERT_TRUE(shown());
    relay(WM_MOUSEMOVE, 60, 10);
    EXPECT_FALSE(shown());
    wait(static_cast<int>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0)));
    EXPECT_TRUE(shown());
    EXPECT_EQ(current(), L"Circle");
}

TEST_F(ToolTipTest, DeletingTheShownToolHidesItsTip) {
    addTool(1, {0, 0, 50, 50}, L"Line");
    addTool(2, {50, 0, 100, 50}, L"Circle");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    relay(WM_MOUSEMOVE, 10, 10);
    wait(500);
    ASSERT_TRUE(shown());
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = parent;
    ti.uId = 1;
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(shown());
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    // Tools that are not there, and structures of no known size, change nothing.
    ti.uId = 99;
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    ti.cbSize = 3;
    ti.uId = 2;
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    SendMessageW(tip, TTM_DELTOOLW, 0, 0);
    SendMessageW(tip, TTM_RELAYEVENT, 0, 0);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(ToolTipTest, AGivenWidthBreaksTheTipIntoLines) {
    addTool(1, {0, 0, 50, 50}, L"Extrude\r\nPulls a closed outline into a solid of the given depth");
    relay(WM_MOUSEMOVE, 10, 10);
    wait(500);
    RECT one{};
    GetWindowRect(tip, &one);
    SendMessageW(tip, TTM_POP, 0, 0);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 150);
    relay(WM_MOUSEMOVE, 200, 200);
    relay(WM_MOUSEMOVE, 10, 10);
    wait(500);
    RECT several{};
    GetWindowRect(tip, &several);
    const auto picture = pal::test::snapshot(tip);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(pal::test::keepSnapshot(picture, "tooltip.png"));
    EXPECT_EQ(picture.pixel(3, 2), GetSysColor(COLOR_INFOBK)) << "the tip's background";
    EXPECT_LE(several.right - several.left, 150 + 16);
    EXPECT_GE(several.bottom - several.top, 3 * (one.bottom - one.top) - 20) << "at least three lines";
    EXPECT_GT(one.right - one.left, several.right - several.left);
}

} // namespace
} // namespace controlstest
