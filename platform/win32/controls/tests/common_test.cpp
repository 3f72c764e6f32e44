// The common controls: registered by InitCommonControlsEx; the progress bar's range and steps, the
// month calendar's picks, and the link control's links.
#include "notifications.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

class CommonTest : public ControlTest {
public:
    void SetUp() override {
        ControlTest::SetUp();
        const INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_LINK_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&init));
    }
};

using CommonRegistration = ControlTest;

TEST_F(CommonRegistration, CommonClassesWaitForInitCommonControlsEx) {
    WNDCLASSEXW wc{};
    EXPECT_TRUE(GetClassInfoExW(nullptr, L"ListBox", &wc)) << "standard classes are always there";
    EXPECT_FALSE(GetClassInfoExW(nullptr, L"SysLink", &wc));
    const INITCOMMONCONTROLSEX wrongSize{sizeof(INITCOMMONCONTROLSEX) + 4, ICC_LINK_CLASS};
    EXPECT_FALSE(InitCommonControlsEx(&wrongSize));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    const INITCOMMONCONTROLSEX link{sizeof link, ICC_LINK_CLASS};
    EXPECT_TRUE(InitCommonControlsEx(&link));
    EXPECT_TRUE(GetClassInfoExW(nullptr, L"SysLink", &wc));
    EXPECT_FALSE(GetClassInfoExW(nullptr, MONTHCAL_CLASSW, &wc));
}

using ProgressTest = CommonTest;

TEST_F(ProgressTest, PositionStaysInTheRangeAndStepsStartOverPastTheEnd) {
    const HWND bar = make(PROGRESS_CLASSW, L"", 0, {10, 10, 210, 30}, 2);
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
        int pos;
    } steps[] = {
        {"range", PBM_SETRANGE32, 0, 50, MAKELONG(0, 100), 0},
        {"position", PBM_SETPOS, 20, 0, 0, 20},
        {"past the end", PBM_SETPOS, 80, 0, 20, 50},
        {"below the start", PBM_DELTAPOS, static_cast<WPARAM>(-90), 0, 50, 0},
        {"step", PBM_SETSTEP, 30, 0, 10, 0},
        {"step it", PBM_STEPIT, 0, 0, 0, 30},
        {"step past the end starts over", PBM_STEPIT, 0, 0, 30, 10},
        {"old range", PBM_SETRANGE, 0, MAKELPARAM(5, 15), MAKELONG(0, 50), 10},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(SendMessageW(bar, s.message, s.wParam, s.lParam), s.answer) << s.name;
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), s.pos) << s.name;
    }
    PBRANGE range{};
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 5);
    EXPECT_EQ(range.iHigh, 15);
}

TEST_F(ProgressTest, MarqueeNeedsItsStyleAndRunsOnATimer) {
    const HWND plain = make(PROGRESS_CLASSW, L"", 0, {10, 10, 210, 30}, 2);
    const HWND marquee = make(PROGRESS_CLASSW, L"", PBS_MARQUEE, {10, 40, 210, 60}, 3);
    EXPECT_FALSE(SendMessageW(plain, PBM_SETMARQUEE, TRUE, 30));
    EXPECT_TRUE(SendMessageW(marquee, PBM_SETMARQUEE, TRUE, 30));
    EXPECT_TRUE(KillTimer(marquee, 1)) << "the marquee's timer runs";
}

using CalendarTest = CommonTest;

SYSTEMTIME day(int y, int m, int d) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(m);
    t.wDay = static_cast<WORD>(d);
    return t;
}

SYSTEMTIME selected(HWND cal) {
    SYSTEMTIME t{};
    SendMessageW(cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

TEST_F(CalendarTest, PickingADayTellsSelChangeThenSelect) {
    const HWND cal = make(MONTHCAL_CLASSW, L"", 0, {10, 10, 250, 200}, 8);
    SYSTEMTIME start = day(2025, 3, 10);
    ASSERT_TRUE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&start)));
    SendMessageW(cal, MCM_SETFIRSTDAYOFWEEK, 0, 0); // Monday
    take();
    // March 2025 starts on a Saturday: with weeks from Monday the 1st is in the first row's sixth cell.
    MCHITTESTINFO hit{sizeof hit, {}, 0, {}};
    bool found = false;
    for (int y = 0; y < 190 && !found; y += 3) {
        for (int x = 0; x < 240 && !found; x += 3) {
            hit.pt = POINT{x, y};
            SendMessageW(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            found = hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == 20;
        }
    }
    ASSERT_TRUE(found);
    clickAt(cal, hit.pt.x, hit.pt.y);
    EXPECT_EQ(take(), (Log{"8:MCN_SELCHANGE", "8:MCN_SELECT"}));
    EXPECT_EQ(selected(cal).wDay, 20);
    EXPECT_EQ(selected(cal).wDayOfWeek, 4) << "20 March 2025 is a Thursday";
    const struct {
        int key;
        int y, m, d;
    } keys[] = {{VK_RIGHT, 2025, 3, 21},
                {VK_DOWN, 2025, 3, 28},
                {VK_DOWN, 2025, 4, 4},
                {VK_PRIOR, 2025, 3, 4},
                {VK_END, 2025, 3, 31}};
    for (const auto& k : keys) {
        press(k.key);
        const SYSTEMTIME t = selected(cal);
        EXPECT_EQ(std::make_tuple(int(t.wYear), int(t.wMonth), int(t.wDay)), std::make_tuple(k.y, k.m, k.d));
        EXPECT_EQ(take(), Log{"8:MCN_SELCHANGE"}) << "keys move the selection without a pick";
    }
}

TEST_F(CalendarTest, DatesOutsideTheCalendarOrItsRangeAreRefused) {
    const HWND cal = make(MONTHCAL_CLASSW, L"", 0, {10, 10, 250, 200}, 8);
    SYSTEMTIME range[2] = {day(2024, 1, 1), day(2024, 12, 31)};
    EXPECT_TRUE(SendMessageW(cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    for (SYSTEMTIME bad :
         {day(2024, 2, 30), day(2024, 13, 1), day(2023, 12, 31), day(2025, 1, 1), day(2024, 0, 5)}) {
        EXPECT_FALSE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&bad)))
            << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
    }
    SYSTEMTIME leap = day(2024, 2, 29);
    EXPECT_TRUE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&leap)));
    SYSTEMTIME reversed[2] = {day(2024, 12, 31), day(2024, 1, 1)};
    EXPECT_FALSE(SendMessageW(cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(reversed)));
    EXPECT_FALSE(SendMessageW(cal, MCM_GETCURSEL, 0, 0));
}

using LinkTest = CommonTest;

TEST_F(LinkTest, ClickAndReturnTellTheLinksIdAndUrl) {
    std::vector<std::string> heard;
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_NOTIFY) {
            const auto* n = reinterpret_cast<const NMLINK*>(lParam);
            std::string url, id;
            for (const wchar_t* p = n->item.szUrl; *p; ++p)
                url += static_cast<char>(*p);
            for (const wchar_t* p = n->item.szID; *p; ++p)
                id += static_cast<char>(*p);
            heard.push_back(std::to_string(n->hdr.code == NM_CLICK) + " " + std::to_string(n->item.iLink) +
                            " " + id + " " + url);
        }
        return false;
    };
    const HWND link = make(WC_LINK,
                           L"Write to <A HREF=\"mailto:help@example.org\">help@example.org</A> or see "
                           L"<a id=site href='http://www.example.org'>www.example.org</a>",
                           WS_TABSTOP, {10, 10, 590, 30}, 5555);
    LHITTESTINFO hit{};
    for (hit.pt = POINT{0, 4}; hit.pt.x < 580; ++hit.pt.x) {
        if (SendMessageW(link, LM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))
            break;
    }
    ASSERT_EQ(hit.item.iLink, 0);
    clickAt(link, hit.pt.x, hit.pt.y);
    SetFocus(link);
    press(VK_TAB);
    press(VK_RETURN);
    EXPECT_EQ(heard,
              (std::vector<std::string>{"1 0  mailto:help@example.org", "0 1 site http://www.example.org"}));
    EXPECT_EQ(textOf(link).substr(0, 12), L"Write to <A ");
    LITEM item{};
    item.mask = LIF_ITEMID | LIF_URL;
    std::wcscpy(item.szID, L"site");
    ASSERT_TRUE(SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::wstring(item.szUrl), L"http://www.example.org");
    item.mask = LIF_ITEMINDEX;
    item.iLink = 2;
    EXPECT_FALSE(SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
}

TEST_F(LinkTest, MalformedMarkupIsShownAsItIs) {
    const HWND link = make(WC_LINK, L"a <a href=\"x\">open b <b>c</b> <a", 0, {10, 10, 590, 30}, 1);
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_URL;
    item.iLink = 0;
    EXPECT_FALSE(SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)))
        << "an unclosed link is text";
}

} // namespace
} // namespace controlstest
