// The status bar: pane layout at several widths, hidden panes, hosted controls that follow
// their panes and pass their commands on, and its picture.
#include "XTToolkitPro.h"
#include "common/toolkit_test.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using dv::toolkit::test::ToolkitTest;

class StatusBarTest : public ToolkitTest {};

// A frame that records the commands that reach it.
class Frame : public CFrameWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

HICON squareIcon(int side, COLORREF colour) {
    std::vector<DWORD> bits(static_cast<size_t>(side * side), 0xFF000000u | (GetRValue(colour) << 16) |
                                                                  (GetGValue(colour) << 8) |
                                                                  GetBValue(colour));
    HBITMAP colourBits = ::CreateBitmap(side, side, 1, 32, bits.data());
    HBITMAP mask = ::CreateBitmap(side, side, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colourBits};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colourBits);
    ::DeleteObject(mask);
    return icon;
}

struct Sized {
    Frame* frame;
    CXTPStatusBar* bar;
};

// A frame with a status bar of the given width: messages (stretch 100), prompt (stretch 300),
// two fixed pop-out panes of 70.
Sized makeBar(int width) {
    auto* frame = new Frame;
    frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, width + 40, 200));
    auto* bar = new CXTPStatusBar;
    bar->Create(frame);
    const UINT ids[] = {ID_SEPARATOR, 104, 105, 106};
    bar->SetIndicators(ids, 4);
    bar->SetPaneInfo(0, 0, SBPS_STRETCH, 100);
    bar->SetPaneInfo(1, 104, SBPS_STRETCH, 300);
    bar->SetPaneInfo(2, 105, SBPS_POPOUT, 70);
    bar->SetPaneInfo(3, 106, SBPS_POPOUT, 70);
    bar->MoveWindow(0, 100, width, 24);
    return {frame, bar};
}

TEST_F(StatusBarTest, PanesLayOutForThreeWidths) {
    struct Case {
        const char* name;
        int width;
        CRect panes[4];
    };
    // Two pixels at each end and between panes; the stretching panes share what is left 1:3.
    const Case cases[] = {
        {"wide", 800, {{2, 3, 164, 22}, {166, 3, 654, 22}, {656, 3, 726, 22}, {728, 3, 798, 22}}},
        {"narrow", 400, {{2, 3, 64, 22}, {66, 3, 254, 22}, {256, 3, 326, 22}, {328, 3, 398, 22}}},
        // Too narrow for the fixed panes: the stretching ones vanish and the last is cut.
        {"too narrow", 100, {{2, 3, 2, 22}, {4, 3, 4, 22}, {6, 3, 76, 22}, {78, 3, 98, 22}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sized s = makeBar(c.width);
        for (int i = 0; i < 4; ++i) {
            CRect r;
            s.bar->GetItemRect(i, &r);
            EXPECT_EQ(r, c.panes[i]) << i;
        }
        s.frame->DestroyWindow();
        delete s.bar;
    }
}

TEST_F(StatusBarTest, AHiddenPaneTakesNoRoomAndTheFramePromptReachesTheFirstPane) {
    Sized s = makeBar(400);
    s.bar->GetPane(2)->SetVisible(FALSE);
    CRect hidden, last;
    s.bar->GetItemRect(2, &hidden);
    s.bar->GetItemRect(3, &last);
    EXPECT_TRUE(hidden.IsRectEmpty());
    EXPECT_EQ(last, CRect(328, 3, 398, 22));
    CRect prompt;
    s.bar->GetItemRect(1, &prompt);
    EXPECT_EQ(prompt.right, 326); // the freed room went to the stretching panes

    s.frame->SetMessageText(L"Select an edge");
    EXPECT_EQ(s.bar->GetPaneText(0), CString(L"Select an edge"));
    EXPECT_EQ(s.bar->CommandToIndex(106), 3);
    EXPECT_EQ(s.bar->FindPane(104), s.bar->GetPane(1));
    s.frame->DestroyWindow();
    delete s.bar;
}

TEST_F(StatusBarTest, HostedControlsFollowTheirPanesAndSendTheirCommandsToTheFrame) {
    Sized s = makeBar(500);
    auto* button = new CXTPButton;
    button->Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(0, 0, 22, 18), s.bar, 886);
    HICON icon = squareIcon(16, RGB(0, 120, 215));
    button->SetIcon(CSize(16, 16), icon);
    ::DestroyIcon(icon);
    CXTPStatusBarPane* pane = s.bar->AddControl(button, 886);
    ASSERT_NE(pane, nullptr);
    CRect paneRect, buttonRect;
    s.bar->GetItemRect(pane->GetIndex(), &paneRect);
    button->GetWindowRect(&buttonRect);
    s.bar->ScreenToClient(&buttonRect);
    EXPECT_EQ(buttonRect, paneRect);
    EXPECT_EQ(paneRect.Width(), 22);

    // Narrower: the pane moves and the button with it.
    s.bar->MoveWindow(0, 100, 300, 24);
    s.bar->GetItemRect(pane->GetIndex(), &paneRect);
    button->GetWindowRect(&buttonRect);
    s.bar->ScreenToClient(&buttonRect);
    EXPECT_EQ(buttonRect, paneRect);

    button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pal::test::pump();
    EXPECT_EQ(s.frame->commands, std::vector<UINT>{886});
    s.frame->DestroyWindow();
    delete s.bar; // the pane deletes the button it hosts
}

TEST_F(StatusBarTest, AButtonShowsAnImageManagersIconAtSixteenAndThirtyTwoAndKeepsItsCopy) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100),
                                nullptr, 0));
    CXTPImageManager images;
    HICON small = squareIcon(16, RGB(200, 0, 0)), large = squareIcon(32, RGB(0, 150, 0));
    images.SetIcon(small, 42);
    images.SetIcon(large, 42);
    ::DestroyIcon(small);
    ::DestroyIcon(large);
    for (int side : {16, 32}) {
        SCOPED_TRACE(side);
        CXTPButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(0, 0, 40, 40), &parent, 42));
        button.SetIcon(CSize(side, side), images.Lookup(42, side));
        const pal::gdi::Surface shot = pal::test::snapshot(button.m_hWnd, true);
        const COLORREF expected = side == 16 ? RGB(200, 0, 0) : RGB(0, 150, 0);
        const int left = (40 - 6 - side) / 2 + 3;
        EXPECT_EQ(shot.pixel(left, 20), expected);
        EXPECT_EQ(shot.pixel(left + side - 1, 20), expected);
        EXPECT_NE(shot.pixel(left - 1, 20), expected);
        EXPECT_NE(shot.pixel(left + side, 20), expected);
        button.DestroyWindow();
    }
    // The icon is the button's own: the manager may drop it.
    CXTPButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(0, 0, 40, 40), &parent, 43));
    button.SetIcon(CSize(16, 16), images.Lookup(42, 16));
    images.RemoveAll();
    EXPECT_EQ(pal::test::snapshot(button.m_hWnd, true).pixel(20, 20), RGB(200, 0, 0));
    button.DestroyWindow();
    parent.DestroyWindow();
}

// The status line of the program: messages, prompt, coordinates, a right-aligned note with an
// icon, a progress bar and a button in panes of their own.
TEST_F(StatusBarTest, Picture) {
    Sized s = makeBar(640);
    s.bar->SetPaneText(0, L">");
    s.bar->SetPaneText(1, L"Specify the first point:");
    s.bar->SetPaneText(2, L"X=120.5");
    s.bar->SetPaneText(3, L"Y=-34.25");
    CXTPStatusBarPane* note = s.bar->AddIndicator(107);
    note->SetWidth(120);
    note->SetText(L"3 tasks");
    note->SetTextAlignment(DT_RIGHT);
    HICON icon = squareIcon(16, RGB(230, 150, 0));
    note->SetIcon(icon);
    ::DestroyIcon(icon);
    auto* progress = new CProgressCtrl;
    progress->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 90, 16), s.bar, 8);
    progress->SetRange(0, 100);
    progress->SetPos(60);
    s.bar->AddControl(progress, 109);
    auto* button = new CXTPButton;
    button->Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(0, 0, 20, 18), s.bar, 723);
    HICON stop = squareIcon(16, RGB(200, 30, 30));
    button->SetIcon(CSize(12, 12), stop);
    ::DestroyIcon(stop);
    s.bar->AddControl(button, 110);

    const pal::gdi::Surface shot = picture(s.bar->m_hWnd, "status-bar.png");
    ASSERT_TRUE(shot);
    // The right-aligned note ends near its pane's right edge; the icon sits at its left.
    CRect noteRect;
    s.bar->GetItemRect(note->GetIndex(), &noteRect);
    EXPECT_EQ(shot.pixel(noteRect.left + 4 + 8, 12), RGB(230, 150, 0));
    bool inkNearRight = false;
    for (int x = noteRect.right - 12; x < noteRect.right - 3; ++x)
        for (int y = noteRect.top + 2; y < noteRect.bottom - 2; ++y)
            inkNearRight |= GetRValue(shot.pixel(x, y)) < 100;
    EXPECT_TRUE(inkNearRight);
    // The button's icon, scaled to 12, in the middle of its pane.
    CRect buttonPane;
    s.bar->GetItemRect(s.bar->CommandToIndex(110), &buttonPane);
    EXPECT_EQ(shot.pixel(buttonPane.CenterPoint().x, buttonPane.CenterPoint().y), RGB(200, 30, 30));
    s.frame->DestroyWindow();
    delete s.bar;
}

} // namespace
