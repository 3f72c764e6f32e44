// A dialog holding every kind of control, drawn so that a person recognises each: checked boxes
// checked, the focus rectangle where the focus is, the selected combo item in its field.
#include "notifications.h"

#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

enum : WORD {
    kLabel = 200,
    kEdit,
    kPassword,
    kNotes,
    kCheck,
    kThird,
    kGroup,
    kRadioA,
    kRadioB,
    kList,
    kCombo,
    kDrop,
    kScroll,
    kProgress,
    kCalendar,
    kLink,
    kEtched,
    kIcon,
    kIconButton,
    kOwnerDrawn
};

const pal::win::DialogItem kAll[] = {
    {L"Static", L"&Title:", kLabel, SS_LEFT, 7, 9, 30, 8},
    {L"Edit", L"Чертёж 1", kEdit, WS_TABSTOP, 40, 7, 90, 12, WS_EX_CLIENTEDGE},
    {L"Edit", L"secret", kPassword, WS_TABSTOP | ES_PASSWORD, 40, 22, 90, 12, WS_EX_CLIENTEDGE},
    {L"Edit", L"Read-only notes\r\nsecond line", kNotes, ES_MULTILINE | ES_READONLY, 7, 38, 123, 22,
     WS_EX_CLIENTEDGE},
    {L"Button", L"&Checked box", kCheck, WS_TABSTOP | BS_AUTOCHECKBOX, 7, 64, 70, 10},
    {L"Button", L"Third state", kThird, WS_TABSTOP | BS_AUTO3STATE, 80, 64, 60, 10},
    {L"Button", L"Sheet", kGroup, BS_GROUPBOX, 7, 76, 123, 30},
    {L"Button", L"A&3", kRadioA, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 14, 88, 40, 10},
    {L"Button", L"A&4", kRadioB, BS_AUTORADIOBUTTON, 60, 88, 40, 10},
    {L"ListBox", L"", kList, WS_GROUP | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 7, 110, 60, 40,
     WS_EX_CLIENTEDGE},
    {L"ComboBox", L"", kCombo, WS_TABSTOP | CBS_DROPDOWNLIST, 72, 110, 58, 60},
    {L"ComboBox", L"", kDrop, WS_TABSTOP | CBS_DROPDOWN, 72, 127, 58, 60},
    {L"ScrollBar", L"", kScroll, SBS_HORZ, 72, 143, 58, 9},
    {L"msctls_progress32", L"", kProgress, 0, 7, 155, 123, 9},
    {L"Static", L"", kEtched, SS_ETCHEDHORZ, 7, 168, 250, 1},
    {L"SysMonthCal32", L"", kCalendar, WS_TABSTOP, 137, 7, 120, 100},
    {L"SysLink", L"Help: <a href=\"http://www.example.org\">www.example.org</a>", kLink, WS_TABSTOP, 137, 112,
     120, 10},
    {L"Static", L"", kIcon, SS_ICON, 137, 128, 20, 20},
    {L"Button", L"", kIconButton, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, 7, 175, 20, 14},
    {L"Button", L"", kOwnerDrawn, WS_TABSTOP | BS_OWNERDRAW, 32, 175, 40, 14},
    {L"Button", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 150, 175, 50, 14},
    {L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 207, 175, 50, 14},
};
const pal::win::DialogTemplate kDialog{900,
                                       L"Every control",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                       0,
                                       0,
                                       264,
                                       196,
                                       kAll,
                                       std::size(kAll),
                                       L"MS Shell Dlg",
                                       8};

// The dialog draws its owner-drawn button in green.
INT_PTR drawingProc(HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM)
        return FALSE;
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    FillRect(d->hDC, &d->rcItem, green);
    DeleteObject(green);
    return TRUE;
}

class SnapshotTest : public ControlTest {
public:
    void SetUp() override {
        ControlTest::SetUp();
        const INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_LINK_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&init));
    }
};

// Where a control's client point lies in the window's picture.
POINT inPicture(HWND dialog, HWND control, POINT p) {
    ClientToScreen(control, &p);
    RECT window{};
    GetWindowRect(dialog, &window);
    return POINT{p.x - window.left, p.y - window.top};
}

TEST_F(SnapshotTest, EveryControlIsDrawnSoThatAPersonRecognisesIt) {
    const HWND dialog = pal::win::createDialog(kDialog, parent, &drawingProc, 0);
    ASSERT_TRUE(dialog);
    const auto item = [&](int id) { return GetDlgItem(dialog, id); };
    for (const wchar_t* name : {L"GOST type A", L"GOST type B", L"Arial", L"Times New Roman"}) {
        SendMessageW(item(kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendMessageW(item(kCombo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendMessageW(item(kDrop), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageW(item(kList), LB_SETCURSEL, 1, 0);
    SendMessageW(item(kCombo), CB_SETCURSEL, 2, 0);
    SendMessageW(item(kDrop), CB_SETCURSEL, 0, 0);
    CheckDlgButton(dialog, kCheck, BST_CHECKED);
    CheckDlgButton(dialog, kThird, BST_INDETERMINATE);
    CheckDlgButton(dialog, kRadioB, BST_CHECKED);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 20, 40, 0};
    SetScrollInfo(item(kScroll), SB_CTL, &si, TRUE);
    SendMessageW(item(kProgress), PBM_SETPOS, 60, 0);
    SYSTEMTIME day{2025, 3, 0, 20, 0, 0, 0, 0};
    SendMessageW(item(kCalendar), MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&day));
    SendMessageW(item(kCalendar), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    SendMessageW(item(kIcon), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
    const HICON small = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, 16, 16, 0));
    SendMessageW(item(kIconButton), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(small));
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(kCheck)), TRUE);
    pump();

    const auto picture = pal::test::snapshot(dialog);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(pal::test::keepSnapshot(picture, "controls.png"));

    const auto at = [&](int id, int x, int y) {
        const POINT p = inPicture(dialog, item(id), POINT{x, y});
        return picture.pixel(p.x, p.y);
    };
    RECT r{};
    // The checked box: a dark tick inside the white box.
    GetClientRect(item(kCheck), &r);
    const int boxTop = (r.bottom - 13) / 2;
    int dark = 0;
    for (int y = boxTop + 2; y < boxTop + 11; ++y) {
        for (int x = 2; x < 11; ++x)
            dark += at(kCheck, x, y) == GetSysColor(COLOR_WINDOWTEXT);
    }
    EXPECT_GE(dark, 10) << "the tick of the checked box";
    EXPECT_EQ(at(kCheck, 2, boxTop + 2), GetSysColor(COLOR_WINDOW)) << "inside the box, away from the tick";
    // The focus is on the check box: its text has the dotted focus rectangle.
    GetClientRect(item(kCheck), &r);
    int dots = 0;
    for (int x = 16; x < r.right; ++x) {
        for (int y = 0; y < r.bottom; ++y)
            dots += at(kCheck, x, y) == RGB(0, 0, 0) && at(kCheck, x + 1, y) != RGB(0, 0, 0);
    }
    EXPECT_GE(dots, 20) << "the dotted focus rectangle";
    // The drop-down list shows its selected item's text in its field.
    GetClientRect(item(kCombo), &r);
    int ink = 0;
    for (int x = 3; x < r.right - GetSystemMetrics(SM_CXVSCROLL) - 2; ++x) {
        for (int y = 3; y < r.bottom - 3; ++y)
            ink += at(kCombo, x, y) != GetSysColor(COLOR_WINDOW);
    }
    EXPECT_GT(ink, 20) << "the selected item's text";
    EXPECT_LT(r.bottom, 30) << "a drop-down box is as tall as its field";
    // The list shows its selected item in the selection colour.
    RECT second{};
    SendMessageW(item(kList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(at(kList, second.right - 3, (second.top + second.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
    // The progress bar is filled to 60 %.
    GetClientRect(item(kProgress), &r);
    EXPECT_EQ(at(kProgress, r.right / 4, r.bottom / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(at(kProgress, r.right * 9 / 10, r.bottom / 2), GetSysColor(COLOR_3DFACE));
    // The owner-drawn button is what its dialog drew; the icon button shows its icon.
    GetClientRect(item(kOwnerDrawn), &r);
    EXPECT_EQ(at(kOwnerDrawn, r.right / 2, r.bottom / 2), RGB(0, 160, 0));
    GetClientRect(item(kIconButton), &r);
    int icon = 0;
    for (int x = 4; x < r.right - 4; ++x) {
        for (int y = 3; y < r.bottom - 3; ++y)
            icon += at(kIconButton, x, y) != GetSysColor(COLOR_3DFACE);
    }
    EXPECT_GT(icon, 20) << "the icon inside the button";
    // The default button has its dark frame.
    EXPECT_EQ(at(IDOK, 0, 5), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(SnapshotTest, ControlsTakeTheColoursTheirParentAnswers) {
    const HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    answer = [&](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT)
            return false;
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        result = reinterpret_cast<LRESULT>(yellow);
        return true;
    };
    const HWND label = make(L"Static", L"Label", SS_LEFT, {10, 10, 110, 30}, 1);
    const HWND edit = make(L"Edit", L"WWW", 0, {10, 40, 110, 60}, 2);
    pump();
    const auto picture = pal::test::snapshot(parent, true);
    const auto at = [&](HWND hwnd, int x, int y) {
        POINT p{x, y};
        MapWindowPoints(hwnd, parent, &p, 1);
        return picture.pixel(p.x, p.y);
    };
    EXPECT_EQ(at(label, 95, 15), RGB(255, 255, 0)) << "the label's background";
    EXPECT_EQ(at(edit, 95, 15), RGB(255, 255, 0)) << "the edit's background";
    int blue = 0;
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 16; ++y)
            blue += GetBValue(at(edit, x, y)) > GetRValue(at(edit, x, y)) + 60; // text is smoothed
    }
    EXPECT_GT(blue, 10) << "the edit's text in the parent's colour";
    DeleteObject(yellow);
}

} // namespace
} // namespace controlstest
