// The main-frame framework on the null display: a frame with command bars, a pane and frameless
// bars; its themes; two frames and which is active; the bars that follow the active view.
#include "DravikUI/ChildFrame.h"
#include "DravikUI/CommandBarsSite.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/MessageBar.h"
#include "DravikUI/TabView.h"
#include "DravikUI/ToolBars.h"
#include "DravikUI/Windows.h"

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/UIModule.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "pal/path.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/PaintManager.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kDrawingResource = 430;
constexpr UINT kStandardBar = 59392;
constexpr UINT kSheetBar = 3001, kModelBar = 3002;
constexpr int kVariablesPane = 1017;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"}};
AFX_STRING_TABLE(kStrings);

// The content of the variables pane: its name on the pane's ground, and the themes it heard.
class Variables : public Dravik::UI::DockingPaneChildWindow {
public:
    std::vector<int> themes;
    void SetTheme(int theme, CXTPDockingPane* pane) override {
        DockingPaneChildWindow::SetTheme(theme, pane);
        themes.push_back(theme);
    }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
        dc.FillSolidRect(&r, colors.clrWindow);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(colors.clrWindowText);
        CFont* old = dc.SelectObject(CXTPPaintManager::Current()->GetRegularFont());
        CRect line(r.left + 8, r.top + 6, r.right - 4, r.top + 24);
        for (const wchar_t* text : {L"Length = 120", L"Width = 80", L"Hole = 12"}) {
            dc.DrawText(text, -1, &line, DT_LEFT | DT_SINGLELINE);
            line.OffsetRect(0, 20);
        }
        dc.SelectObject(old);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Variables, Dravik::UI::DockingPaneChildWindow)
ON_WM_PAINT()
END_MESSAGE_MAP()

// What the program's main frame builds in its WM_CREATE, in little.
class TestFrame : public Dravik::UI::MdiMainFrame {
public:
    std::vector<unsigned> closedBars;
    std::vector<CFrameWnd*> activeHeard;
    void OnChangeActiveMainFrame(Dravik::UI::MainFrame* frame) override {
        activeHeard.push_back(frame->GetFrameWnd());
    }
    Dravik::UI::DockingPaneManager panes;
    // Pane windows are made under the hidden pane parent, held while they may live there.
    std::shared_ptr<CWnd> paneParent = Dravik::UI::GetDockingPaneDummyWindow(true);
    std::unique_ptr<Variables> variables = std::make_unique<Variables>();
    std::vector<int> themes;

    void SetTheme(int theme) override {
        themes.push_back(theme);
        MdiMainFrame::SetTheme(theme);
    }

protected:
    CWnd* GetDockingPaneWindow(CXTPDockingPane* pane) override {
        if (pane->GetID() != kVariablesPane)
            return nullptr;
        if (!::IsWindow(variables->m_hWnd))
            variables->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), paneParent.get(), kVariablesPane);
        return variables.get();
    }

    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (MdiMainFrame::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        CXTPCommandBars* bars = GetCommandBars();
        CMenu file, menu;
        file.CreatePopupMenu();
        file.AppendMenu(MF_STRING, ID_FILE_NEW, L"&New");
        file.AppendMenu(MF_STRING, ID_FILE_OPEN, L"&Open...");
        menu.CreateMenu();
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), L"&File");
        menu.AppendMenu(MF_STRING, ID_APP_ABOUT, L"&Help");
        bars->SetMenu(L"Menu Bar")->LoadMenu(&menu);
        menu.DestroyMenu();
        CXTPToolBar* standard = bars->Add(L"Standard", xtpBarTop);
        standard->SetBarID(kStandardBar);
        static const UINT buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_FILE_SAVE};
        standard->SetButtons(buttons, 4);
        for (auto [index, caption] : {std::pair{0, L"New"}, {1, L"Open"}, {2, L"Save"}})
            standard->GetControls()->GetAt(index)->SetCaption(caption);

        panes.InstallDockingPanes(this);
        panes.CreatePane(kVariablesPane, CRect(0, 0, 220, 200), xtpPaneDockLeft)->SetTitle(L"Variables");
        SetDockingPaneManager(&panes);
        panes.ShowPane(kVariablesPane, FALSE);

        if (!InitFramelessToolBars())
            return -1;
        auto* sheet =
            GetFramelessToolBars()->AddFramelessBar(L"Sheet", kSheetBar, 1, Dravik::UI::kViewTypeSheet, 1);
        auto* model =
            GetFramelessToolBars()->AddFramelessBar(L"Model", kModelBar, 2, Dravik::UI::kViewTypeModel, 2);
        static const UINT sheetButtons[] = {3101, 3102};
        static const UINT modelButtons[] = {3103};
        sheet->SetButtons(sheetButtons, 2);
        model->SetButtons(modelButtons, 1);
        sheet->GetControls()->GetAt(0)->SetCaption(L"Cut");
        sheet->GetControls()->GetAt(1)->SetCaption(L"Copy");
        model->GetControls()->GetAt(0)->SetCaption(L"Undo");
        return 0;
    }
    void OnDestroy() {
        DetachDockingPaneChildWindows();
        MdiMainFrame::OnDestroy();
    }
    // A closed message bar leaves the frame's list and goes.
    LRESULT OnMessageBarClosed(WPARAM, LPARAM lParam) {
        auto* bar = reinterpret_cast<Dravik::UI::MessageBar*>(lParam);
        closedBars.push_back(bar->GetId());
        bar->DestroyWindow();
        delete bar;
        RecalcLayout();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestFrame, Dravik::UI::MdiMainFrame)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_MESSAGE(Dravik::UI::MessageBar::kClosedMessage, &TestFrame::OnMessageBarClosed)
END_MESSAGE_MAP()

// The application whose main window new document windows go into.
CWinApp application(L"Dravik");

// Window classes that the tool kit registers by name stay registered between these tests, so the
// fixture keeps the classes (SandboxTest) and destroys its own windows.
class MainFrameTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(L"office2013light"));
    }
    void TearDown() override {
        for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
            frame->DestroyWindow();
        pal::test::pump();
        UIModuleProxy::Instance().SetTheme(L"office2013light");
        pal::test::resetMonitors();
        SandboxTest::TearDown();
    }
    TestFrame* makeFrame(const wchar_t* title, int x) {
        auto* frame = new TestFrame;
        if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(x, 30, x + 760, 560)))
            return nullptr;
        frame->RecalcLayout();
        pal::test::pump();
        return frame;
    }
    static COLORREF barFace() { return CXTPPaintManager::Current()->GetColors().clrBarFace; }
};

TEST_F(MainFrameTest, AFrameIsMadeWithItsCommandBarsAndPanesAndBecomesTheActiveOne) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    auto& ui = UIModuleProxy::Instance();
    EXPECT_EQ(ui.GetMainFrames(), (std::vector<CFrameWnd*>{frame}));
    EXPECT_EQ(ui.GetActiveMainFrame(), frame);
    EXPECT_EQ(ui.GetMainWindow(), static_cast<CWnd*>(frame));
    ASSERT_NE(frame->GetCommandBars(), nullptr);
    EXPECT_NE(frame->GetCommandBars()->GetMenuBar(), nullptr);
    EXPECT_NE(frame->GetCommandBars()->GetToolBar(kStandardBar), nullptr);
    CXTPDockingPane* pane = frame->panes.FindPane(kVariablesPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetChildHwnd(), frame->variables->m_hWnd) << "the frame gave the pane its content";
    EXPECT_EQ(frame->variables->GetPane(), pane);
    EXPECT_EQ(ui.GetMainFrameOfWindow(frame->variables->m_hWnd), frame);
    EXPECT_EQ(frame->GetVisibleFramelessToolBars(), 0u) << "no view, no frameless bar";
    EXPECT_EQ(ui.GetStatusLine(), nullptr) << "a frame without a status line";
    EXPECT_EQ(frame->GetPropertiesWindowPlaceholder(false), nullptr);
    CWnd* placeholder = frame->GetPropertiesWindowPlaceholder(true);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(frame->GetPropertiesWindowPlaceholder(false), placeholder) << "made once";
    EXPECT_EQ(placeholder->GetDlgCtrlID(), 1007);

    // The program's icon size reaches the frame's bars through the UI module.
    ui.SetCommandBarsIconSizes(frame->GetCommandBars(), SIZE{16, 16}, SIZE{24, 24}, SIZE{16, 16}, true);
    const CXTPCommandBarsOptions* options = frame->GetCommandBars()->GetCommandBarsOptions();
    EXPECT_EQ(options->szLargeIcons, CSize(24, 24));
    EXPECT_EQ(options->szIcons, CSize(16, 16));
    EXPECT_TRUE(options->bLargeIcons);
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "main-frame"));

    // Its layout waits while locked and is laid out once at the last unlock.
    frame->LockLayout();
    frame->LockLayout();
    frame->MoveWindow(40, 30, 900, 600);
    CRect bar;
    frame->GetCommandBars()->GetToolBar(kStandardBar)->GetWindowRect(&bar);
    frame->UnlockLayout();
    EXPECT_TRUE(frame->IsLayoutLocked());
    frame->UnlockLayout();
    EXPECT_FALSE(frame->IsLayoutLocked());

    frame->DestroyWindow();
    pal::test::pump();
    EXPECT_TRUE(ui.GetMainFrames().empty());
    EXPECT_EQ(ui.GetActiveMainFrame(), nullptr);
}

// Each theme name reaches the frame, repaints its bars in the theme's face and tells the pane's
// content. One picture per theme, looked at by a person.
TEST_F(MainFrameTest, EveryThemeNameRepaintsEveryBarAndThePanes) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    auto& ui = UIModuleProxy::Instance();
    CXTPToolBar* standard = frame->GetCommandBars()->GetToolBar(kStandardBar);
    std::vector<COLORREF> faces;
    for (const auto& theme : ui.GetThemes()) {
        ASSERT_TRUE(ui.SetTheme(theme.Name));
        EXPECT_EQ(frame->GetTheme(), theme.Number);
        pal::test::pump();
        ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "main-frame-" + pal::text::toUtf8(theme.Name)));
        CRect r;
        standard->GetClientRect(&r);
        const auto picture = pal::test::snapshot(standard->m_hWnd, true);
        EXPECT_EQ(picture.pixel(r.right - 2, r.bottom / 2), barFace()) << pal::text::toUtf8(theme.Name);
        faces.push_back(barFace());
        EXPECT_EQ(frame->variables->GetTheme(), theme.Number);
    }
    EXPECT_EQ(frame->themes.size(), ui.GetThemes().size());
    EXPECT_NE(faces.front(), faces[1]) << "a dark and a light theme look different";

    // An unknown name changes nothing.
    const auto before = frame->themes;
    EXPECT_FALSE(ui.SetTheme(L"office2099"));
    EXPECT_EQ(frame->themes, before);
}

TEST_F(MainFrameTest, OfTwoFramesTheOneLastMadeActiveIsActiveAndTheOtherTakesOverWhenItGoes) {
    TestFrame* first = makeFrame(L"First", 20);
    TestFrame* second = makeFrame(L"Second", 700);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    auto& ui = UIModuleProxy::Instance();
    EXPECT_EQ(ui.GetMainFrames(), (std::vector<CFrameWnd*>{first, second}));
    second->MakeActive();
    EXPECT_EQ(ui.GetActiveMainFrame(), second);
    first->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(ui.GetActiveMainFrame(), first) << "activating the window makes the frame active";
    {
        UIModule::FakeActiveMainFrameManager loading(second);
        EXPECT_EQ(ui.GetActiveMainFrame(), second);
    }
    EXPECT_EQ(ui.GetActiveMainFrame(), first);
    EXPECT_EQ(Dravik::UI::GetFirstMainFrame(), first);
    EXPECT_EQ(Dravik::UI::GetNextMainFrame(first), second);

    EXPECT_FALSE(first->MarkAsBeingDestroyed());
    EXPECT_TRUE(first->MarkAsBeingDestroyed()) << "the second mark reports the first";
    second->activeHeard.clear();
    first->DestroyWindow();
    pal::test::pump();
    EXPECT_EQ(ui.GetActiveMainFrame(), second);
    EXPECT_EQ(ui.GetMainWindow(), static_cast<CWnd*>(second));
    EXPECT_EQ(second->activeHeard, (std::vector<CFrameWnd*>{second})) << "the frame that takes over hears it";
    EXPECT_EQ(ui.GetMainFrames(), (std::vector<CFrameWnd*>{second}));
}

// A pane window shared by the frames moves into the frame that asks for it, and outlives the
// frame it leaves.
TEST_F(MainFrameTest, ASharedPaneWindowMovesBetweenTwoMainFrames) {
    TestFrame* first = makeFrame(L"First", 20);
    TestFrame* second = makeFrame(L"Second", 700);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    // The window is the application's, not a frame's.
    auto parent = Dravik::UI::GetDockingPaneDummyWindow(true);
    Variables application;
    Variables* shared = &application;
    ASSERT_TRUE(shared->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), parent.get(), kVariablesPane));
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(first->panes.FindPane(kVariablesPane), shared));

    CWnd* taken = first->DetachDockingPaneChildWindow(kVariablesPane, true);
    EXPECT_EQ(taken, static_cast<CWnd*>(shared));
    EXPECT_EQ(shared->GetPane(), nullptr);
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(second->panes.FindPane(kVariablesPane), shared));
    EXPECT_EQ(shared->GetPane(), second->panes.FindPane(kVariablesPane));
    EXPECT_EQ(UIModuleProxy::Instance().GetMainFrameOfWindow(shared->m_hWnd), second);
    EXPECT_EQ(first->panes.FindPane(kVariablesPane)->GetChildHwnd(), nullptr);

    // Straight from one frame's pane into the other's, and back.
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(first->panes.FindPane(kVariablesPane), shared));
    EXPECT_EQ(second->panes.FindPane(kVariablesPane)->GetChildHwnd(), nullptr);
    EXPECT_EQ(UIModuleProxy::Instance().GetMainFrameOfWindow(shared->m_hWnd), first);

    // The frame it is in goes: its panes give it up, parked, still a window.
    first->DestroyWindow();
    pal::test::pump();
    EXPECT_TRUE(::IsWindow(shared->m_hWnd));
    EXPECT_EQ(shared->GetPane(), nullptr);
    ASSERT_TRUE(Dravik::UI::AttachDockingPaneChild(second->panes.FindPane(kVariablesPane), shared));
    second->DestroyWindow();
    pal::test::pump();
}

TEST_F(MainFrameTest, TheFramelessBarsFollowTheActiveView) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    // The program's document template: kernel drawings in MdiChildFrames, shown by tab views.
    CDVDocTemplate* drawings =
        CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                               RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
    ASSERT_NE(drawings, nullptr);
    application.AddDocTemplate(drawings);
    application.m_pMainWnd = frame;
    const auto sample = pal::path::fromNative(binDir() / "Samples" / "sample-a3.grb");
    auto* drawing = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(sample.c_str()));
    ASSERT_NE(drawing, nullptr);
    auto pages = drawing->Cont2D()->GetPages();
    pages.push_back(Dravik::Page{Dravik::PageKind::Model, 420, 297, L""});
    drawing->Cont2D()->SetPages(pages);
    drawing->UpdateAllViews(nullptr);
    pal::test::pump();
    CMDIChildWnd* child = frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    auto* tabView = dynamic_cast<CDVTabView*>(
        dynamic_cast<Dravik::UI::MdiChildFrame*>(child)->GetSplitter()->GetPaneView(0));
    ASSERT_NE(tabView, nullptr);
    ASSERT_EQ(tabView->GetPageCount(), 2);
    Dravik::UI::FramelessToolBar* sheet = frame->GetFramelessToolBars()->GetFramelessBar(kSheetBar);
    Dravik::UI::FramelessToolBar* model = frame->GetFramelessToolBars()->GetFramelessBar(kModelBar);

    tabView->SelectPage(0);
    pal::test::pump();
    EXPECT_EQ(frame->GetActiveDravikView(), tabView->GetPageView(0));
    EXPECT_EQ(frame->GetVisibleFramelessToolBars(), 1u) << "the sheet's bar over a sheet";
    EXPECT_TRUE(sheet->IsVisible());
    EXPECT_FALSE(model->IsVisible());
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "frameless-sheet"));
    ASSERT_TRUE(pal::test::keepSnapshot(sheet->m_hWnd, "frameless-sheet-bar"));

    tabView->SelectPage(1);
    pal::test::pump();
    EXPECT_EQ(frame->GetActiveDravikView(), tabView->GetPageView(1));
    EXPECT_EQ(frame->GetVisibleFramelessToolBars(), 2u) << "the model's bar over the model";
    ASSERT_TRUE(pal::test::keepSnapshot(model->m_hWnd, "frameless-model-bar"));
    CRect view, bar;
    tabView->GetPageView(1)->GetWindowRect(&view);
    model->GetWindowRect(&bar);
    EXPECT_TRUE(CRect().IntersectRect(&view, &bar)) << "it stands over the view";

    // A bar locked off stays off; unlocked it follows the view again.
    model->LockVisibility(false);
    frame->UpdateViewDependentToolBars();
    EXPECT_FALSE(model->IsVisible());
    model->UnlockVisibility();
    frame->UpdateViewDependentToolBars();
    EXPECT_TRUE(model->IsVisible());

    // The window of the drawing belongs to this frame.
    EXPECT_EQ(UIModuleProxy::Instance().GetChildFrameOwner(child), frame);

    // Selection filters: a bar that shows while a command's filter set is active over the view,
    // its buttons set up in one configuration.
    Dravik::UI::FramelessToolBar* filters =
        frame->GetFramelessToolBars()->AddFramelessBar(L"Filters", 3003, 4, Dravik::UI::kViewTypesAll, 3);
    frame->SetSelectionFilterToolBar(filters);
    EXPECT_FALSE(filters->IsVisible()) << "no filter set, no filter bar";
    frame->BeginSelectionFilterConfiguration();
    frame->ShowSelectionFilterButton(2421, true);
    frame->SetSelectionFilterButtonProperties(2421, 0, std::wstring(L"Lines"), true, true);
    frame->ShowSelectionFilterButton(2422, true);
    frame->SetSelectionFilterButtonProperties(2422, 0, std::wstring(L"Circles"), false, false);
    EXPECT_EQ(filters->FindControl(2421), nullptr) << "shown once the configuration ends";
    frame->EndSelectionFilterConfiguration();
    frame->SetSelectionFilterSet(3);
    EXPECT_TRUE(filters->IsVisible());
    ASSERT_NE(filters->FindControl(2421), nullptr);
    EXPECT_TRUE(filters->FindControl(2421)->GetChecked());
    EXPECT_FALSE(filters->FindControl(2422)->GetEnabled());
    EXPECT_EQ(filters->FindControl(2422)->GetTooltip(), L"Circles");
    // The buttons are filter buttons that give back the icon and tip they were saved with.
    auto* circles = dynamic_cast<Dravik::UI::SelectionFilterButton*>(filters->FindControl(2422));
    ASSERT_NE(circles, nullptr);
    EXPECT_FALSE(circles->GetFlag());
    circles->SaveDefaultIconAndToolTip();
    circles->SetIconId(41064);
    circles->SetTooltip(L"Arcs");
    circles->ResetIconAndToolTip();
    EXPECT_EQ(circles->GetTooltip(), L"Circles");
    EXPECT_EQ(circles->GetIconId(), 2422);
    std::unique_ptr<CXTPControl> copy(circles->Clone());
    EXPECT_EQ(static_cast<Dravik::UI::SelectionFilterButton*>(copy.get())->GetDefaultToolTip(), L"Circles");
    ASSERT_TRUE(pal::test::keepSnapshot(filters->m_hWnd, "selection-filters-bar"));
    frame->HideAllSelectionFilterButtons();
    EXPECT_FALSE(filters->FindControl(2421)->IsVisible());
    frame->SetSelectionFilterSet(0);
    EXPECT_FALSE(filters->IsVisible());

    // The document closes: no view, no bar.
    drawing->OnCloseDocument();
    pal::test::pump();
    EXPECT_EQ(frame->GetActiveDravikView(), nullptr);
    EXPECT_EQ(frame->GetVisibleFramelessToolBars(), 0u);
    application.m_pMainWnd = nullptr;
}

// A view that goes while it is the active one (its sheet removed) reads as none afterwards, and
// its window's deactivation does not reach for it.
TEST_F(MainFrameTest, AnActiveViewThatGoesReadsAsNoneWhenAnotherWindowIsActivated) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    CDVDocTemplate* drawings =
        CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                               RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
    ASSERT_NE(drawings, nullptr);
    application.AddDocTemplate(drawings);
    application.m_pMainWnd = frame;
    const auto sample = pal::path::fromNative(binDir() / "Samples" / "sample-a3.grb");
    const auto copy = root() / "second.grb";
    std::filesystem::copy_file(binDir() / "Samples" / "sample-a3.grb", copy);
    auto* other = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(pal::path::fromNative(copy).c_str()));
    ASSERT_NE(other, nullptr);
    CMDIChildWnd* otherChild = frame->MDIGetActive();
    auto* drawing = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(sample.c_str()));
    ASSERT_NE(drawing, nullptr);
    const auto onePage = drawing->Cont2D()->GetPages();
    auto pages = onePage;
    pages.push_back(Dravik::Page{Dravik::PageKind::Model, 420, 297, L""});
    drawing->Cont2D()->SetPages(pages);
    drawing->UpdateAllViews(nullptr);
    pal::test::pump();
    auto* tabView = dynamic_cast<CDVTabView*>(
        dynamic_cast<Dravik::UI::MdiChildFrame*>(frame->MDIGetActive())->GetSplitter()->GetPaneView(0));
    ASSERT_NE(tabView, nullptr);
    tabView->SelectPage(1);
    pal::test::pump();
    CView* modelView = tabView->GetPageView(1);
    ASSERT_EQ(frame->GetActiveDravikView(), modelView);
    const HWND modelWindow = modelView->m_hWnd;

    // The model sheet goes, and its view with it. The sheet's new view may take the gone one's
    // memory: its window tells them apart.
    drawing->Cont2D()->SetPages(onePage);
    drawing->UpdateAllViews(nullptr);
    pal::test::pump();
    ASSERT_EQ(tabView->GetPageCount(), 1);
    CView* now = frame->GetActiveDravikView();
    EXPECT_TRUE(now == nullptr || now->m_hWnd != modelWindow);

    frame->MDIActivate(otherChild);
    pal::test::pump();
    EXPECT_EQ(frame->MDIGetActive(), otherChild);
    CView* otherView = frame->GetActiveDravikView();
    ASSERT_NE(otherView, nullptr);
    EXPECT_EQ(otherView->GetParentFrame(), otherChild);
    drawing->OnCloseDocument();
    other->OnCloseDocument();
    pal::test::pump();
    EXPECT_EQ(frame->GetActiveDravikView(), nullptr);
    application.m_pMainWnd = nullptr;
}

// The frame is given the view of a window in the background (as a document's tab or an add-on
// may give it); that window closes without a word to the frame, as only the active window speaks
// for its views. The view then reads as none, and the active window, deactivated as the last one
// goes, does not reach for it.
TEST_F(MainFrameTest, AViewOfAWindowInTheBackgroundReadsAsNoneOnceThatWindowCloses) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    CDVDocTemplate* drawings =
        CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                               RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
    ASSERT_NE(drawings, nullptr);
    application.AddDocTemplate(drawings);
    application.m_pMainWnd = frame;
    const auto copy = root() / "behind.grb";
    std::filesystem::copy_file(binDir() / "Samples" / "sample-a3.grb", copy);
    auto* behind = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(pal::path::fromNative(copy).c_str()));
    ASSERT_NE(behind, nullptr);
    CMDIChildWnd* behindChild = frame->MDIGetActive();
    const auto sample = pal::path::fromNative(binDir() / "Samples" / "sample-a3.grb");
    auto* front = dynamic_cast<CDvw32Doc*>(drawings->OpenDocumentFile(sample.c_str()));
    ASSERT_NE(front, nullptr);
    pal::test::pump();
    ASSERT_NE(frame->MDIGetActive(), behindChild);
    CView* behindView = behindChild->GetActiveView();
    ASSERT_NE(behindView, nullptr);
    frame->SetActiveView(behindView, true);
    ASSERT_EQ(frame->GetActiveDravikView(), behindView);

    behind->OnCloseDocument();
    pal::test::pump();
    ASSERT_EQ(frame->GetActiveDravikView(), nullptr) << "the view went with its window";
    front->OnCloseDocument();
    pal::test::pump();
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(frame->GetActiveDravikView(), nullptr);
    application.m_pMainWnd = nullptr;
}

TEST_F(MainFrameTest, AMessageBarRunsItsButtonsAndClosesThroughItsFrame) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    std::vector<std::pair<std::uint64_t, UINT>> pressed;
    auto* bar = new Dravik::UI::MessageBar(
        77, [&](Dravik::UI::MessageBar& b, UINT id) { pressed.emplace_back(b.GetValue(), id); }, false);
    ASSERT_TRUE(bar->Create(frame, 0x50002800, 59398));
    bar->EnableMarkup(TRUE);
    bar->SetMessage(
        L"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"*\"/></Grid.ColumnDefinitions>"
        L"<TextBlock Grid.Column=\"0\" VerticalAlignment=\"Center\" TextWrapping=\"Wrap\">"
        L"<Bold>The drawing was saved by a newer version.</Bold> It opens read-only.</TextBlock></Grid>");
    bar->SetButtons({{4101, L"Save a copy", L"Saves the drawing under a new name"}, {4102, L"Details", L""}});
    EXPECT_EQ(bar->GetButtonCount(), 2);
    EXPECT_NE(bar->FindButton(SC_CLOSE), nullptr) << "and the close button";
    auto* other = new Dravik::UI::MessageBar(0, nullptr, true);
    EXPECT_NE(other->GetId(), bar->GetId());
    delete other;
    frame->RecalcLayout();
    pal::test::pump();
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "message-bar"));

    auto clickOn = [&](UINT id) {
        CXTPMessageBarButton* button = bar->FindButton(id);
        ASSERT_NE(button, nullptr);
        CPoint at = button->m_rcButton.CenterPoint();
        bar->ClientToScreen(&at);
        pal::test::click(at);
        pal::test::pump();
    };
    clickOn(4102);
    EXPECT_EQ(pressed, (std::vector<std::pair<std::uint64_t, UINT>>{{77, 4102}}));
    EXPECT_FALSE(bar->IsClosed());
    const unsigned id = bar->GetId();
    clickOn(SC_CLOSE);
    EXPECT_EQ(frame->closedBars, (std::vector<unsigned>{id})) << "the frame heard once and deleted the bar";
}

TEST_F(MainFrameTest, ABarSiteInAPaneTakesTheActiveFramesOptions) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    Dravik::UI::CommandBarsSiteBase site;
    ASSERT_TRUE(site.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100),
                              frame->variables.get(), 1));
    ASSERT_TRUE(site.InitCommandBars());
    CXTPCommandBarsOptions* own = site.GetCommandBars()->GetCommandBarsOptions();
    CXTPCommandBarsOptions* main = frame->GetCommandBars()->GetCommandBarsOptions();
    main->bLargeIcons = TRUE;
    main->szLargeIcons = CSize(24, 24);
    main->bToolBarScreenTips = FALSE;
    main->ShowKeyboardCues(xtpKeyboardCuesShowNever);
    site.UpdateCommandBarsOptions();
    EXPECT_TRUE(own->bLargeIcons);
    EXPECT_EQ(own->szLargeIcons, CSize(24, 24));
    EXPECT_FALSE(own->bToolBarScreenTips);
    EXPECT_EQ(own->GetShowKeyboardCues(), xtpKeyboardCuesShowNever);

    // The main frame's own bars, and bars without an active frame, are left alone.
    Dravik::UI::CommandBarsSiteBase::UpdateCommandBarsOptions(frame, frame->GetCommandBars());
    Dravik::UI::CommandBarsSiteBase::UpdateCommandBarsOptions(&site, nullptr);
    site.DestroyWindow();
}

TEST_F(MainFrameTest, AFixableBarIsFixedInPlaceAndFreedAgain) {
    TestFrame* frame = makeFrame(L"Dravik", 40);
    ASSERT_NE(frame, nullptr);
    CXTPCommandBars* bars = frame->GetCommandBars();
    auto* fixable = dynamic_cast<Dravik::UI::FixableToolBar*>(
        bars->Add(L"Fixable", xtpBarTop, RUNTIME_CLASS(Dravik::UI::FixableToolBar)));
    ASSERT_NE(fixable, nullptr);
    static const UINT buttons[] = {ID_FILE_NEW};
    fixable->SetButtons(buttons, 1);
    CXTPToolBar* plain = bars->GetToolBar(kStandardBar);
    const DWORD docking = fixable->GetDockingFlags();

    EXPECT_TRUE(Dravik::UI::IsFixable(fixable));
    EXPECT_FALSE(Dravik::UI::IsFixable(plain));
    Dravik::UI::Fix(fixable, true);
    Dravik::UI::Fix(plain, true);
    EXPECT_TRUE(Dravik::UI::IsFixed(fixable));
    EXPECT_FALSE(Dravik::UI::IsFixed(plain)) << "a bar that cannot be fixed stays free";
    EXPECT_EQ(fixable->GetDockingFlags(), 0u);
    EXPECT_FALSE(fixable->IsShowGripper());
    Dravik::UI::Fix(fixable, false);
    EXPECT_FALSE(Dravik::UI::IsFixed(fixable));
    EXPECT_EQ(fixable->GetDockingFlags(), docking);
    EXPECT_TRUE(fixable->IsShowGripper());

    Dravik::UI::SetLeftPopups(plain, true);
    EXPECT_TRUE(plain->GetControl(0)->GetFlags() & xtpFlagLeftPopup);
    Dravik::UI::SetLeftPopups(plain, false);
    EXPECT_FALSE(plain->GetControl(0)->GetFlags() & xtpFlagLeftPopup);
    plain->GetControl(1)->SetFlags(xtpFlagRightAlign);
    EXPECT_TRUE(Dravik::UI::IsRibbonFreeControl(plain->GetControl(1)));
    EXPECT_FALSE(Dravik::UI::IsRibbonFreeControl(plain->GetControl(0)));
    EXPECT_FALSE(Dravik::UI::IsRibbonFreeControl(nullptr));
    Dravik::UI::UpdateToolBars(bars);
    Dravik::UI::UpdateToolBars(nullptr);
}

} // namespace
