// The picture of an MDI main frame: a tool bar, a status bar and two tiled document windows
// whose views draw their document's name.
#include "afxwin.h"
#include "pal/sandbox.h"
#include "pal/test/hooks.h"
#include "pal/test/mfc_app.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"

#include <vector>

namespace {

constexpr UINT kSheetResource = 400;
constexpr UINT kAppResource = 401;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(20, 40, 120);

const AFX_STRING_RESOURCE kStrings[] = {
    {kSheetResource, L"\nSheet\nSheet\nSheets (*.sht)\n.sht"},
    {kAppResource, L"Dravik"},
    {AFX_IDS_IDLEMESSAGE, L"Ready"},
    {ID_INDICATOR_CAPS, L"CAP"},
    {ID_FILE_NEW, L"Makes a new sheet\nNew Sheet"},
};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

class Sheet : public CDocument {
    DECLARE_DYNCREATE(Sheet)
};
IMPLEMENT_DYNCREATE(Sheet, CDocument)

// White paper with the document's name in the middle and a frame line around it.
class SheetView : public CView {
    DECLARE_DYNCREATE(SheetView)
public:
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, kPaper);
        CRect inner = r;
        inner.DeflateRect(8, 8);
        dc->Draw3dRect(&inner, kInk, kInk);
        CGdiObject* old = dc->SelectStockObject(DEFAULT_GUI_FONT);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(kInk);
        const CString name = GetDocument() ? GetDocument()->GetTitle() : CString();
        dc->DrawText(name, name.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->SelectObject(old);
    }
};
IMPLEMENT_DYNCREATE(SheetView, CView)

class SheetFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(SheetFrame)
};
IMPLEMENT_DYNCREATE(SheetFrame, CMDIChildWnd)

// A strip of four coloured 16x15 squares with a dark edge.
HBITMAP makeStrip() {
    constexpr int kW = 64, kH = 15;
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 60), RGB(40, 80, 200),
                                       RGB(220, 170, 30)};
    std::vector<DWORD> bits(kW * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool edge = x % 16 == 1 || x % 16 == 14 || y == 1 || y == kH - 2;
            const bool outside = x % 16 == 0 || x % 16 == 15 || y == 0 || y == kH - 1;
            const COLORREF c = outside ? ::GetSysColor(COLOR_BTNFACE)
                               : edge  ? RGB(60, 60, 60)
                                       : colours[x / 16];
            bits[static_cast<size_t>(y * kW + x)] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return ::CreateBitmap(kW, kH, 1, 32, bits.data());
}

class ShellFrame : public CMDIFrameWnd {
public:
    CToolBar tools;
    CStatusBar status;
    HBITMAP strip = nullptr;
    ~ShellFrame() override {
        if (strip != nullptr)
            ::DeleteObject(strip);
    }
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CMDIFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_SEPARATOR, ID_FILE_SAVE, ID_FILE_PRINT};
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        strip = makeStrip();
        if (!tools.CreateEx(this, TBSTYLE_FLAT,
                            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY) ||
            !tools.SetButtons(buttons, 5) || !tools.SetBitmap(strip))
            return -1;
        if (!status.Create(this) || !status.SetIndicators(indicators, 2))
            return -1;
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ShellFrame, CMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class ShellApp : public CWinApp {
public:
    BOOL InitInstance() override {
        AddDocTemplate(new CMultiDocTemplate(kSheetResource, RUNTIME_CLASS(Sheet), RUNTIME_CLASS(SheetFrame),
                                             RUNTIME_CLASS(SheetView)));
        auto* main = new ShellFrame;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        main->MoveWindow(40, 40, 640, 420);
        main->ShowWindow(SW_SHOW);
        return TRUE;
    }
};

class MdiSnapshotTest : public pal::test::SandboxTest {};

TEST_F(MdiSnapshotTest, ToolBarStatusBarAndTwoTiledDocuments) {
    ShellApp app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    auto* main = static_cast<ShellFrame*>(app.m_pMainWnd);
    app.OnFileNew();
    app.OnFileNew();
    main->MDITile(MDITILE_VERTICAL);
    main->SetMessageText(AFX_IDS_IDLEMESSAGE);
    pal::test::pressKey(VK_CAPITAL); // the CAP indicator follows at idle time
    run.pump();
    pal::test::pump();

    const auto png = pal::sandbox::root() / "mdi-frame.png";
    ASSERT_TRUE(pal::test::saveSnapshot(main->m_hWnd, png));
    const auto picture = pal::test::snapshot(main->m_hWnd, true);

    // The bars along the edges, the client between them, and the two documents side by side.
    CRect client, bar, status, mdi;
    main->GetClientRect(&client);
    main->tools.GetWindowRect(&bar);
    main->status.GetWindowRect(&status);
    ::GetWindowRect(main->m_hWndMDIClient, &mdi);
    main->ScreenToClient(&bar);
    main->ScreenToClient(&status);
    main->ScreenToClient(&mdi);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(mdi.top, bar.bottom);
    EXPECT_EQ(mdi.bottom, status.top);

    std::vector<CRect> views;
    for (HWND child = ::GetWindow(main->m_hWndMDIClient, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
        ASSERT_NE(frame, nullptr);
        CRect r;
        frame->GetActiveView()->GetWindowRect(&r);
        main->ScreenToClient(&r);
        views.push_back(r);
    }
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0].top, views[1].top) << "tiled side by side";
    EXPECT_NE(views[0].left, views[1].left);
    for (const CRect& v : views) {
        // Paper at the corner, ink in the middle where the name is.
        EXPECT_EQ(picture.pixel(v.left + 3, v.top + 3), kPaper);
        bool ink = false;
        for (int x = v.CenterPoint().x - 30; x < v.CenterPoint().x + 30 && !ink; ++x) {
            for (int y = v.CenterPoint().y - 6; y < v.CenterPoint().y + 6 && !ink; ++y)
                ink = picture.pixel(x, y) != kPaper;
        }
        EXPECT_TRUE(ink) << "the document's name is drawn";
    }
    // The first button shows the first square of the strip.
    CRect first;
    main->tools.GetItemRect(0, &first);
    EXPECT_EQ(picture.pixel(bar.left + first.CenterPoint().x, bar.top + first.CenterPoint().y),
              RGB(200, 40, 40));
    EXPECT_EQ(main->status.GetPaneText(0), L"Ready");
    // The main caption carries its title ("Dravik - Sheet2") in the caption text colour.
    const auto whole = pal::test::snapshot(main->m_hWnd);
    int titlePixels = 0;
    for (int x = 4; x < 200; ++x) {
        for (int y = 4; y < 4 + ::GetSystemMetrics(SM_CYCAPTION) - 2; ++y)
            titlePixels += whole.pixel(x, y) == ::GetSysColor(COLOR_CAPTIONTEXT);
    }
    EXPECT_GT(titlePixels, 20);
    UINT id = 0, style = 0;
    int width = 0;
    main->status.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(id, ID_INDICATOR_CAPS);
    EXPECT_FALSE(style & SBPS_DISABLED) << "caps lock is on";
}

class MdiFrameTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(run.init());
        main = static_cast<ShellFrame*>(app.m_pMainWnd);
    }
    CString caption(CWnd* w) const {
        CString text;
        w->GetWindowText(text);
        return text;
    }
    ShellApp app;
    pal::test::AppRun run{app};
    ShellFrame* main = nullptr;
};

TEST_F(MdiFrameTest, AMaximisedDocumentWindowSharesTheMainCaption) {
    app.OnFileNew();
    app.OnFileNew();
    CMDIChildWnd* second = main->MDIGetActive();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(caption(main), L"Dravik - Sheet2");
    main->MDIMaximize(second);
    BOOL maximised = FALSE;
    EXPECT_EQ(main->MDIGetActive(&maximised), second);
    EXPECT_TRUE(maximised);
    EXPECT_EQ(caption(main), L"Dravik - [Sheet2]");
    main->MDINext();
    CMDIChildWnd* first = main->MDIGetActive(&maximised);
    EXPECT_NE(first, second);
    EXPECT_TRUE(maximised) << "the maximised state moves to the window that becomes active";
    EXPECT_EQ(caption(main), L"Dravik - [Sheet1]");
    main->MDIRestore(first);
    EXPECT_EQ(caption(main), L"Dravik - Sheet1");
}

TEST_F(MdiFrameTest, TheWindowMenuListsTheDocumentsAndItsEntriesActivateThem) {
    CMenu bar, window;
    ASSERT_TRUE(bar.CreateMenu() && window.CreatePopupMenu());
    window.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, L"&Cascade");
    window.AppendMenu(MF_STRING, ID_WINDOW_TILE_VERT, L"&Tile");
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(window.m_hMenu), L"&Window");
    main->SetMenu(&bar);
    ASSERT_EQ(CMDIFrameWnd::GetWindowMenuPopup(bar.m_hMenu), window.m_hMenu);
    main->MDISetMenu(nullptr, &window);
    app.OnFileNew();
    app.OnFileNew();
    ASSERT_EQ(window.GetMenuItemCount(), 5u);
    CString text;
    window.GetMenuString(3, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"&1 Sheet1");
    window.GetMenuString(4, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"&2 Sheet2");
    EXPECT_TRUE(window.GetMenuState(4, MF_BYPOSITION) & MF_CHECKED);
    main->SendMessage(WM_COMMAND, MAKEWPARAM(AFX_IDM_FIRST_MDICHILD, 0), 0);
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument()->GetTitle(), L"Sheet1");
    EXPECT_TRUE(window.GetMenuState(3, MF_BYPOSITION) & MF_CHECKED);
    main->SetMenu(nullptr);
    window.Detach(); // the bar destroys its popup
}

TEST_F(MdiFrameTest, HidingABarGivesItsRoomToTheClient) {
    CRect before, after;
    ::GetWindowRect(main->m_hWndMDIClient, &before);
    main->ShowControlBar(&main->tools, FALSE, FALSE);
    ::GetWindowRect(main->m_hWndMDIClient, &after);
    CRect bar;
    main->tools.GetWindowRect(&bar);
    EXPECT_FALSE(main->tools.IsWindowVisible());
    EXPECT_EQ(after.top, before.top - bar.Height());
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(main->GetControlBar(AFX_IDW_TOOLBAR), &main->tools);
    EXPECT_EQ(main->GetControlBar(AFX_IDW_STATUS_BAR), &main->status);
    main->ShowControlBar(&main->tools, TRUE, FALSE);
    ::GetWindowRect(main->m_hWndMDIClient, &after);
    EXPECT_EQ(after, before);
}

TEST_F(MdiFrameTest, AToolBarClickIsTheButtonsCommandAndItsPromptShowsWhileThePointerIsOver) {
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    CRect button;
    main->tools.GetItemRect(0, &button);
    CPoint centre = button.CenterPoint();
    main->tools.ClientToScreen(&centre);
    pal::test::mouseMove(centre);
    run.pump();
    EXPECT_EQ(main->m_nIDLastMessage, ID_FILE_NEW);
    pal::test::click(centre);
    run.pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 1) << "ID_FILE_NEW reached the application";
    // A press that leaves the button before it comes up is no click.
    pal::test::mouseDown(centre);
    pal::test::mouseMove(CPoint(centre.x + 200, centre.y));
    pal::test::mouseUp(CPoint(centre.x + 200, centre.y));
    run.pump();
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
}

TEST_F(MdiFrameTest, AButtonShowsItsTipAfterThePointerRestsOnIt) {
    pal::test::setManualClock(true);
    const HWND tips = main->tools.GetToolTips();
    ASSERT_NE(tips, nullptr);
    CRect button;
    main->tools.GetItemRect(0, &button);
    CPoint centre = button.CenterPoint();
    main->tools.ClientToScreen(&centre);
    pal::test::mouseMove(centre);
    run.pump();
    EXPECT_FALSE(::IsWindowVisible(tips));
    advance(::GetDoubleClickTime());
    run.pump();
    ASSERT_TRUE(::IsWindowVisible(tips));
    wchar_t text[80] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.lpszText = text;
    ::SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(ti.uId, 1u) << "the first button";
    // The text the tip asked for: the part of the command's string after the prompt.
    NMTTDISPINFOW info{};
    info.hdr = NMHDR{tips, 1, TTN_GETDISPINFOW};
    main->tools.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, L"New Sheet");
    info = NMTTDISPINFOW{};
    info.hdr = NMHDR{tips, 3, TTN_GETDISPINFOW}; // ID_FILE_SAVE has no string
    main->tools.SendMessage(WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, L"");
    pal::test::click(centre);
    run.pump();
    EXPECT_FALSE(::IsWindowVisible(tips)) << "a click takes the tip away";
}

TEST_F(MdiFrameTest, ButtonsMayTakeTheirImagesFromAnImageList) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 15, ILC_COLOR32 | ILC_MASK, 4, 0));
    CBitmap strip;
    strip.Attach(makeStrip());
    ASSERT_EQ(images.Add(&strip, ::GetSysColor(COLOR_BTNFACE)), 0);
    ASSERT_EQ(images.GetImageCount(), 4);
    main->tools.SetBitmap(nullptr);
    main->tools.SetImageList(images.m_hImageList);
    main->tools.UpdateWindow();
    const auto picture = pal::test::snapshot(main->tools.m_hWnd, true);
    CRect third; // the third button (after a separator) shows the third image
    main->tools.GetItemRect(3, &third);
    EXPECT_EQ(picture.pixel(third.CenterPoint().x, third.CenterPoint().y), RGB(40, 80, 200));
    main->tools.SetImageList(nullptr);
}

TEST_F(MdiFrameTest, ModalStateDisablesTheFrameUntilTheLastEnd) {
    main->BeginModalState();
    main->BeginModalState();
    EXPECT_TRUE(main->InModalState());
    EXPECT_FALSE(main->IsWindowEnabled());
    main->EndModalState();
    EXPECT_FALSE(main->IsWindowEnabled());
    main->EndModalState();
    EXPECT_TRUE(main->IsWindowEnabled());
    main->EndModalState(); // one too many changes nothing
    EXPECT_TRUE(main->IsWindowEnabled());
    EXPECT_FALSE(main->InModalState());
}

} // namespace
