// Documents as tabs over the background picture: captions, the switch lock, the new-window tab,
// the tab menu and the fixed tab width, on the null display.
#include "frame/MainFrame.h"
#include "frame/MdiClient.h"

#include "frame/FrameState.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "afxres.h"
#include "frame_fixtures.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "ribbon/FrameToolsApplication.h"
#include "win/ole/clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using frame_test::fixture;
using frame_test::loadState;
namespace XML = Dravik::UI::XML;

constexpr UINT kDrawingResource = 420;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"}};
AFX_STRING_TABLE(kStrings);

CWinApp application(L"Dravik");

// A plain sheet with the document's title, so that a person can tell the documents apart.
class SheetView : public CView {
    DECLARE_DYNCREATE(SheetView)
public:
    void OnDraw(CDC* dc) override {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, RGB(255, 255, 255));
        const CString title = GetDocument()->GetTitle();
        dc->TextOut(20, 20, title, title.GetLength());
    }
};
IMPLEMENT_DYNCREATE(SheetView, CView)

class Application : public FrameToolsApplication, public MainFrameApplication {
public:
    size_t GetMainFrameCount() const override { return UIModuleProxy::Instance().GetMainFrames().size(); }
};

class TabClientTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({{RECT{0, 0, 1280, 800}, RECT{0, 0, 1280, 760}, 96}});
        app = std::make_unique<Application>();
        XML::Document document;
        ASSERT_TRUE(document.loadFile(fixture("main_frame.xml")));
        frame =
            CMainFrame::Create(*LoadMainFrameState(document.root(), XML::FormatVersion, nullptr), true, true);
        ASSERT_NE(frame, nullptr);
        frame->MoveWindow(0, 0, 1000, 640);
        frame->ShowFirstTime();
        application.m_pMainWnd = frame;
        drawings = std::make_unique<CMultiDocTemplate>(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                                                       RUNTIME_CLASS(Dravik::UI::MdiChildFrame),
                                                       RUNTIME_CLASS(SheetView));
        pal::test::pump();
    }
    void TearDown() override {
        for (CFrameWnd* main : UIModuleProxy::Instance().GetMainFrames())
            if (::IsWindow(main->m_hWnd))
                main->DestroyWindow();
        pal::test::pump();
        application.m_pMainWnd = nullptr;
        drawings.reset();
        app.reset();
        pal::test::resetMonitors();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    CDvw32Doc* open(const wchar_t* title, const wchar_t* path = L"") {
        auto* document = static_cast<CDvw32Doc*>(drawings->CreateNewDocument());
        document->m_bAutoDelete = TRUE;
        CFrameWnd* child = drawings->CreateNewFrame(document, nullptr);
        if (child == nullptr)
            return nullptr;
        document->SetTitle(title);
        if (*path != 0)
            document->SetPathName(path, FALSE);
        drawings->InitialUpdateFrame(child, document, TRUE);
        pal::test::pump();
        return document;
    }
    CMDIChildWnd* newWindow(CDvw32Doc* document) {
        CFrameWnd* child = drawings->CreateNewFrame(document, frame->MDIGetActive());
        drawings->InitialUpdateFrame(child, document, TRUE);
        pal::test::pump();
        return static_cast<CMDIChildWnd*>(child);
    }
    CDVTabClientWnd& tabs() { return *frame->GetTabClient(); }
    CXTPTabClientWnd::CWorkspace& workspace() { return *tabs().GetWorkspace(0); }
    CXTPTabManagerItem* tabOf(CDocument* document) {
        for (int i = 0; i < workspace().GetItemCount(); ++i) {
            auto* child =
                dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(workspace().GetItem(i)->GetHandle()));
            if (child != nullptr && child->GetActiveDocument() == document)
                return workspace().GetItem(i);
        }
        return nullptr;
    }

    std::unique_ptr<Application> app;
    std::unique_ptr<CMultiDocTemplate> drawings;
    CMainFrame* frame = nullptr;
};

TEST_F(TabClientTest, ATabShowsTheShortTitleOrTheFramesOwnCaption) {
    struct Case {
        const wchar_t* title;
        const wchar_t* tabCaption;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Bracket.grb", L"", L"Bracket"},
        {L"Plate", L"", L"Plate"},
        {L"Gear.v2.grb", L"", L"Gear.v2"},
        {L"Shaft.grb", L"Shaft (checked out)", L"Shaft (checked out)"},
    };
    ASSERT_TRUE(frame->IsWorkbookMode());
    for (const Case& c : cases) {
        CDvw32Doc* document = open(c.title);
        ASSERT_NE(document, nullptr);
        auto* child = dynamic_cast<Dravik::UI::GenericChildFrame*>(frame->MDIGetActive());
        ASSERT_NE(child, nullptr);
        child->SetTabCaption(c.tabCaption);
        EXPECT_EQ(std::wstring(tabs().GetItemText(child).GetString()), c.expected);
    }
}

TEST_F(TabClientTest, ABusyDocumentKeepsItsTabButLetsItsOwnSecondWindowBeChosen) {
    CDvw32Doc* other = open(L"Other.grb");
    CDvw32Doc* busy = open(L"Busy.grb");
    ASSERT_NE(other, nullptr);
    ASSERT_NE(busy, nullptr);
    CMDIChildWnd* second = newWindow(busy);
    frame->MDIActivate(busy->FindFrame());
    pal::test::pump();
    busy->SetFlag(Dravik::UI::MdiChildFrame::kBusyFlag);
    EXPECT_FALSE(workspace().OnBeforeItemClick(tabOf(other)));
    EXPECT_TRUE(workspace().OnBeforeItemClick(workspace().FindItem(second->m_hWnd)));
    // Outside workbook mode the MDI client refuses the activation itself.
    CWnd* otherFrame = other->FindFrame();
    frame->SetWorkbookMode(false);
    frame->MDIActivate(busy->FindFrame());
    frame->MDIActivate(otherFrame);
    pal::test::pump();
    EXPECT_EQ(frame->MDIGetActive()->GetActiveDocument(), busy);
    frame->MDIActivate(second);
    EXPECT_EQ(frame->MDIGetActive(), second);

    busy->SetFlag(Dravik::UI::MdiChildFrame::kBusyFlag, false);
    frame->MDIActivate(otherFrame);
    EXPECT_EQ(frame->MDIGetActive()->GetActiveDocument(), other);
}

// Selecting the new-window tab, through the workspace's own selection as the tool kit calls it,
// selects the tab before it; a click on it asks for a new drawing and selects nothing.
TEST_F(TabClientTest, TheNewWindowTabSelectsTheTabBeforeIt) {
    tabs().EnableNewWindowTab(TRUE);
    for (const wchar_t* title : {L"First.grb", L"Second.grb"}) {
        SCOPED_TRACE(pal::text::toUtf8(title));
        open(title);
        tabs().UpdateContents();
        CXTPTabClientWnd::CWorkspace& ws = workspace();
        const int count = ws.GetItemCount();
        ASSERT_GE(count, 2) << "the drawings and the new-window tab";
        CXTPTabManagerItem* last = ws.GetItem(count - 1);
        ASSERT_TRUE(tabs().IsNewWindowTab(last));
        ws.GetItem(0)->Select();
        CXTPTabManager& manager = ws;
        manager.SetSelectedItem(last);
        EXPECT_EQ(ws.GetSelectedItem(), ws.GetItem(count - 2));
        EXPECT_FALSE(tabs().IsNewWindowTab(ws.GetSelectedItem()));

        MSG stray;
        while (::PeekMessageW(&stray, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        }
        CXTPTabManagerItem* before = ws.GetSelectedItem();
        EXPECT_FALSE(manager.OnBeforeItemClick(last)) << "a click on it selects nothing";
        EXPECT_EQ(ws.GetSelectedItem(), before);
        MSG posted{};
        ASSERT_TRUE(::PeekMessageW(&posted, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
        EXPECT_EQ(LOWORD(posted.wParam), ID_FILE_NEW);
    }
}

TEST_F(TabClientTest, TheTabMenuGreysTheFileItemsOfADocumentWithoutAPath) {
    struct Case {
        const wchar_t* title;
        const wchar_t* path;
        bool fileItems;
    };
    const std::wstring saved = (root() / "Saved.grb").wstring();
    {
        std::FILE* f = std::fopen((root() / "Saved.grb").c_str(), "w");
        if (f)
            std::fclose(f);
    }
    const Case cases[] = {{L"Unsaved", L"", false}, {L"Saved.grb", saved.c_str(), true}};
    for (const Case& c : cases) {
        CDvw32Doc* document = open(c.title, c.path);
        ASSERT_NE(document, nullptr);
        HMENU menu = tabs().BuildTabMenu(tabOf(document));
        for (UINT id : {CDVTabClientWnd::kOpenFolder, CDVTabClientWnd::kCopyPath})
            EXPECT_EQ((::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0, c.fileItems)
                << pal::text::toUtf8(c.title) << " item " << id;
        EXPECT_NE(::GetMenuState(menu, CDVTabClientWnd::kNewWindow, MF_BYCOMMAND), UINT(-1));
        ::DestroyMenu(menu);
    }
}

TEST_F(TabClientTest, FixedWidthTabsAreAllOneWidthWhateverTheirTitles) {
    open(L"A.grb");
    open(L"A rather long drawing title.grb");
    tabs().UpdateContents();
    auto widths = [&] {
        std::set<int> all;
        for (int i = 0; i < workspace().GetItemCount(); ++i)
            all.insert(workspace().GetItem(i)->GetRect().Width());
        return all;
    };
    EXPECT_GT(widths().size(), 1u) << "automatic widths follow the titles";
    CDVTabClientWnd::SetFixedWidthTabs(true);
    const int width = tabs().ApplyTabLayout();
    tabs().Refresh();
    EXPECT_GT(width, 100);
    EXPECT_EQ(widths(), std::set<int>{width});
    EXPECT_EQ(tabs().GetPaintManager()->GetLayout(), xtpTabLayoutFixed);
    // The tabs show close buttons, and each fixed tab keeps room for its own.
    const DWORD flags = tabs().GetFlags();
    ASSERT_NE(flags & xtpWorkspaceShowCloseTab, 0u);
    const int closeButton = tabs().GetPaintManager()->m_nCloseButtonSize;
    ASSERT_GT(closeButton, 0);
    tabs().SetFlags(flags & ~DWORD(xtpWorkspaceShowCloseTab | xtpWorkspaceShowCloseSelectedTab));
    EXPECT_EQ(tabs().ApplyTabLayout(), width - closeButton) << "without close buttons";
    tabs().SetFlags(flags);
    EXPECT_EQ(tabs().ApplyTabLayout(), width);
    CDVTabClientWnd::SetFixedWidthTabs(false);
    tabs().ApplyTabLayout();
    EXPECT_EQ(tabs().GetPaintManager()->GetLayout(), xtpTabLayoutAutoSize);
}

TEST_F(TabClientTest, ThePictureIsDrawnUnscaledFromItsCornerOrCentredAndAMissingOneOnlyFills) {
    struct Case {
        const char* file;
        CPoint corner; // where the picture's red corner lands; (-1, -1) for no picture
        size_t warnings;
    };
    const Case cases[] = {
        {"background_large.png", {15, 10}, 0},
        {"background_small.png", {80, 40}, 0},
        {"background_broken.png", {-1, -1}, 1},
        {"no_such_picture.png", {-1, -1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        dvlog::test::clearCapture();
        CMDIClientWndBackground background(fixture(c.file).wstring());
        EXPECT_EQ(dvlog::test::capturedAt(6).size(), c.warnings);
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 200, 100);
        CBitmap* old = dc.SelectObject(&bitmap);
        EXPECT_EQ(background.Paint(&dc, CRect(0, 0, 200, 100)), c.corner.x >= 0);
        if (c.corner.x >= 0) {
            EXPECT_EQ(dc.GetPixel(c.corner), RGB(255, 0, 0));
            EXPECT_EQ(dc.GetPixel(c.corner.x - 1, c.corner.y - 1), CMDIClientWndBackground::kFillColor);
            EXPECT_EQ(dc.GetPixel(199, 99),
                      c.corner.y == 10 ? RGB(0, 0, 200) : CMDIClientWndBackground::kFillColor)
                << "a large picture is clipped, not scaled";
        } else {
            EXPECT_EQ(dc.GetPixel(100, 50), CMDIClientWndBackground::kFillColor);
        }
        dc.SelectObject(old);
        ::ReleaseDC(nullptr, screen.Detach());
    }
}

// The configured picture, taken when the first client window is made.
class TabClientPictureTest : public TabClientTest {
protected:
    void SetUp() override {
        CMDIClientWndBackground::SetPicturePath(fixture("background_large.png").wstring());
        TabClientTest::SetUp();
    }
    void TearDown() override {
        TabClientTest::TearDown();
        CMDIClientWndBackground::SetPicturePath(L"");
    }
};

TEST_F(TabClientPictureTest, OutsideWorkbookModeAMaximisedDocumentHidesThePicture) {
    frame->SetWorkbookMode(false);
    open(L"Sheet.grb");
    auto client = [&] { return pal::test::snapshot(frame->m_hWndMDIClient, true); };
    frame->MDIRestore(frame->MDIGetActive());
    frame->MDIGetActive()->MoveWindow(0, 0, 10, 10);
    ::RedrawWindow(frame->m_hWndMDIClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pal::test::pump();
    CRect area;
    ::GetClientRect(frame->m_hWndMDIClient, &area);
    const CPoint corner(std::max(15, (area.Width() - 400) / 2), std::max(10, (area.Height() - 300) / 2));
    EXPECT_EQ(client().pixel(corner.x, corner.y), RGB(255, 0, 0)) << "the picture behind a restored document";
    frame->MDIMaximize(frame->MDIGetActive());
    ::RedrawWindow(frame->m_hWndMDIClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pal::test::pump();
    EXPECT_NE(client().pixel(corner.x, corner.y), RGB(255, 0, 0));
    EXPECT_NE(client().pixel(corner.x, corner.y), CMDIClientWndBackground::kFillColor);
}

// The menu's choices that act on the tabs themselves, and the middle button.
TEST_F(TabClientTest, TheTabMenusChoicesAndTheMiddleButtonActOnTheTab) {
    {
        std::FILE* f = std::fopen((root() / "Kept.grb").c_str(), "w");
        if (f)
            std::fclose(f);
    }
    const std::wstring path = (root() / "Kept.grb").wstring();
    CDvw32Doc* kept = open(L"Kept.grb", path.c_str());
    CDvw32Doc* closing = open(L"Closing.grb");
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(closing, nullptr);

    tabs().RunTabCommand(CDVTabClientWnd::kTabsOnBottom, tabOf(kept));
    EXPECT_EQ(tabs().GetTabPosition(), xtpTabPositionBottom);
    tabs().RunTabCommand(CDVTabClientWnd::kTabsOnTop, tabOf(kept));
    EXPECT_EQ(tabs().GetTabPosition(), xtpTabPositionTop);

    const bool fixed = CDVTabClientWnd::IsFixedWidthTabs();
    tabs().RunTabCommand(CDVTabClientWnd::kFixedWidthTabs, tabOf(kept));
    EXPECT_NE(CDVTabClientWnd::IsFixedWidthTabs(), fixed);
    tabs().RunTabCommand(CDVTabClientWnd::kFixedWidthTabs, tabOf(kept));
    EXPECT_EQ(CDVTabClientWnd::IsFixedWidthTabs(), fixed);

    tabs().RunTabCommand(CDVTabClientWnd::kCopyPath, tabOf(kept));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE text = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(pal::text::fromUtf16(static_cast<const char16_t*>(::GlobalLock(text))),
              std::wstring(kept->GetPathName()));
    ::GlobalUnlock(text);
    ::CloseClipboard();

    // The middle button closes a tab only while tabs may be grouped.
    CXTPTabManagerItem* item = tabOf(closing);
    const CPoint at = item->GetRect().CenterPoint();
    const HWND window = item->GetHandle();
    tabs().SendMessage(WM_MBUTTONDOWN, 0, MAKELPARAM(at.x, at.y));
    pal::test::pump();
    EXPECT_TRUE(::IsWindow(window));
    tabs().EnableGroups(TRUE);
    tabs().SendMessage(WM_MBUTTONDOWN, 0, MAKELPARAM(at.x, at.y));
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(tabOf(closing), nullptr);

    // Close: the tab's window is asked to close.
    const HWND keptWindow = tabOf(kept)->GetHandle();
    tabs().RunTabCommand(CDVTabClientWnd::kCloseTab, tabOf(kept));
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(keptWindow));
}

TEST_F(TabClientTest, WorkbookModeGivesTheDocumentsTabsOrTheirOwnFramesBack) {
    open(L"One.grb");
    open(L"Two.grb");
    auto captions = [&] {
        std::vector<bool> all;
        for (HWND h = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); h != nullptr;
             h = ::GetWindow(h, GW_HWNDNEXT))
            all.push_back((::GetWindowLongW(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
        return all;
    };
    struct Step {
        bool on, previous, attached, caption;
    };
    const Step steps[] = {{false, true, false, true},
                          {false, false, false, true},
                          {true, false, true, false},
                          {true, true, true, false}};
    for (const Step& s : steps) {
        bool previous = !s.previous;
        frame->SetWorkbookMode(s.on, &previous);
        pal::test::pump();
        EXPECT_EQ(previous, s.previous);
        EXPECT_EQ(frame->IsWorkbookMode(), s.on);
        EXPECT_EQ(tabs().IsAttached() != FALSE, s.attached);
        EXPECT_EQ(captions(), std::vector<bool>(2, s.caption));
    }
}

// Moving a document to another main window is not built yet: the choices only log it, and a
// listed window past the frames there are does nothing.
TEST_F(TabClientTest, TheMoveChoicesReachTheFramesMoveAndNothingBeyondTheList) {
    CDvw32Doc* document = open(L"Moved.grb");
    ASSERT_NE(document, nullptr);
    struct Case {
        UINT command;
        size_t lines;
    };
    for (const Case& c : {Case{CDVTabClientWnd::kMoveToMainWindowFirst, 1},
                          Case{CDVTabClientWnd::kMoveToMainWindowFirst + 1, 0},
                          Case{CDVTabClientWnd::kMoveToMainWindowLast, 0}}) {
        dvlog::test::clearCapture();
        tabs().RunTabCommand(c.command, tabOf(document));
        EXPECT_EQ(dvlog::test::capturedAt(5).size(), c.lines) << c.command;
    }
    EXPECT_EQ(frame->MDIGetActive()->GetActiveDocument(), document);
}

// The view-type bits a group needs: 4 (a sheet view), 64 (a document with flag 0x10000) and
// 16 (a model page, not a 2D document's sheet). A view that turns to another page tells its frame.
TEST_F(TabClientTest, ARibbonGroupShowsOnlyForTheViewsItNeeds) {
    CMultiDocTemplate sheets(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                             RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVView));
    CXTPRibbonBar* ribbon = frame->GetRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    auto* group =
        dynamic_cast<Dravik::UI::RibbonGroup*>(ribbon->AddTab(L"Sheet")->AddGroup(L"Marked sheets"));
    ASSERT_NE(group, nullptr);
    group->SetViewTypeRequirement(4 | 64 | 1);

    auto* document = static_cast<CDvw32Doc*>(sheets.OpenDocumentFile(nullptr));
    ASSERT_NE(document, nullptr);
    pal::test::pump();
    auto* view = dynamic_cast<CDVView*>(document->GetActiveView());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetViewKind(), 1);
    frame->SetActiveView(view, true);
    EXPECT_FALSE(group->IsVisible()) << "a sheet view of a document without flag 0x10000";
    document->SetFlag(0x10000);
    frame->UpdateViewDependentRibbonGroups();
    EXPECT_TRUE(group->IsVisible());
    frame->SetActiveView(nullptr, true);
    EXPECT_FALSE(group->IsVisible()) << "no view at all";

    // The same view again without force changes nothing the view decides.
    frame->SetActiveView(view, true);
    group->SetVisible(FALSE);
    frame->SetActiveView(view, false);
    EXPECT_FALSE(group->IsVisible());
    frame->SetActiveView(view, true);
    EXPECT_TRUE(group->IsVisible());

    auto* model = dynamic_cast<Dravik::UI::RibbonGroup*>(
        ribbon->GetTab(ribbon->GetTabCount() - 1)->AddGroup(L"Model only"));
    ASSERT_NE(model, nullptr);
    model->SetViewTypeRequirement(16 | 1);
    auto pages = document->Cont2D()->GetPages();
    pages.push_back(Dravik::Page{Dravik::PageKind::Model, 420, 297, L""});
    document->Cont2D()->SetPages(pages);
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    frame->UpdateViewDependentRibbonGroups();
    EXPECT_FALSE(model->IsVisible()) << "a sheet";
    struct Case {
        int page;
        bool sheetGroup;
        bool modelGroup;
        bool moduleTold;
    };
    for (const Case& c : {Case{1, false, true, true}, Case{0, true, false, false}}) {
        SCOPED_TRACE(c.page);
        dvtrace::test::clear();
        view->SetParentPage(c.page);
        EXPECT_EQ(group->IsVisible() != FALSE, c.sheetGroup);
        EXPECT_EQ(model->IsVisible() != FALSE, c.modelGroup);
        const auto calls = dvtrace::test::callsOf("DravikKernel");
        const bool told = std::any_of(calls.begin(), calls.end(), [](const std::string& call) {
            return call.rfind("CDVCom_Is3D::SetActiveDocument(", 0) == 0 &&
                   call.find("none") == std::string::npos;
        });
        EXPECT_EQ(told, c.moduleTold) << "the 3D module works on a model page";
    }
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
    document->OnCloseDocument();
    pal::test::pump();
}

// The active view brings its ribbon tab (back, even when the person hid it), the 3D tab follows a
// document the 3D module works on, the tool kit's contextual tabs step aside, and the tagged tabs
// follow the active document's keywords.
TEST_F(TabClientTest, TheActiveViewBringsItsTabsAndTheDocumentItsContextualTabs) {
    CMultiDocTemplate sheets(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                             RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVView));
    DVRibbonBar* ribbon = frame->GetDVRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    auto tab = [&](const wchar_t* caption, std::vector<std::wstring> guids, std::vector<std::wstring> tags) {
        auto* made = dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->AddTab(caption));
        made->SetGUIDs(std::move(guids));
        made->SetTags(std::move(tags));
        return made;
    };
    const GUID sheetGuid = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
    Dravik::UI::RibbonTab* sheet = tab(L"Sheet", {L"{11111111-2222-3333-0102-030405060708}"}, {});
    Dravik::UI::RibbonTab* model = tab(L"3D", {L"{7EB4FAE1-C764-4869-906D-97BF25A7BC14}"}, {});
    Dravik::UI::RibbonTab* metal = tab(L"Sheet metal", {}, {L"sheetmetal"});
    CXTPRibbonTab* picture = ribbon->AddTab(L"Picture");
    picture->SetContextTab(xtpRibbonTabContextColorBlue, L"Picture tools");
    ASSERT_TRUE(sheet != nullptr && model != nullptr && metal != nullptr);

    auto* bracket = static_cast<CDvw32Doc*>(sheets.OpenDocumentFile(nullptr));
    auto* plate = static_cast<CDvw32Doc*>(sheets.OpenDocumentFile(nullptr));
    ASSERT_TRUE(bracket != nullptr && plate != nullptr);
    pal::test::pump();
    auto* bracketView = dynamic_cast<CDVView*>(bracket->GetActiveView());
    auto* plateView = dynamic_cast<CDVView*>(plate->GetActiveView());
    ASSERT_TRUE(bracketView != nullptr && plateView != nullptr);
    bracketView->SetRibbonGUID(sheetGuid);
    bracket->SetKeywordList({L"Welded", L"SheetMetal"});
    ASSERT_EQ(ribbon->GetPrintPage(false), nullptr) << "the print page is made only on request";
    DVRibbonBackstagePrintPage* page = ribbon->GetPrintPage(true);
    ASSERT_NE(page, nullptr);

    sheet->SetDisabledByUser(true);
    model->SetVisible(FALSE);
    frame->SetActiveView(plateView, true);
    frame->SetActiveView(bracketView, true);
    EXPECT_TRUE(sheet->IsVisible());
    EXPECT_FALSE(sheet->IsDisabledByUser());
    EXPECT_EQ(ribbon->GetSelectedTab(), sheet) << "the view's own tab, hidden before, is selected";
    EXPECT_FALSE(model->IsVisible()) << "no 3D module: no 3D tab";
    EXPECT_FALSE(picture->IsVisible());
    EXPECT_TRUE(metal->IsVisible()) << "a keyword in another letter case matches the tag";
    EXPECT_EQ(page->GetDocument(), bracket);

    // A view without a tab of its own is no view for the ribbon; twice in a row changes nothing.
    CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
    dvtrace::test::clear();
    frame->SetActiveView(plateView, true);
    EXPECT_FALSE(metal->IsVisible()) << "the plate has no keywords";
    EXPECT_EQ(page->GetDocument(), plate);
    const auto calls = dvtrace::test::callsOf("DravikKernel");
    EXPECT_NE(std::find_if(calls.begin(), calls.end(),
                           [](const std::string& call) {
                               return call.rfind("CDVCom_Is3D::SetActiveDocument(", 0) == 0 &&
                                      call.find("none") == std::string::npos;
                           }),
              calls.end())
        << "the 3D module learns the active document";
    EXPECT_NE(std::find(calls.begin(), calls.end(), "CDVBasicEditEx::ChangePage()"), calls.end());
    picture->SetVisible(TRUE);
    const GUID none[3] = {};
    ribbon->UpdateViewTabs(none, true, plate);
    EXPECT_TRUE(picture->IsVisible());

    // With the 3D module at work on a document, the 3D tab shows.
    frame->SetActiveView(bracketView, true);
    EXPECT_TRUE(model->IsVisible());
    CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);

    // A document's state changes: only the active one re-decides the contextual tabs.
    plate->SetKeywordList({L"sheetmetal"});
    bracket->SetKeywordList({});
    frame->OnChangeDocumentState(plate);
    EXPECT_TRUE(metal->IsVisible()) << "the plate is not the active document";
    frame->OnChangeDocumentState(bracket);
    EXPECT_FALSE(metal->IsVisible());

    bracket->OnCloseDocument();
    plate->OnCloseDocument();
    pal::test::pump();
}

// Another document's tab is chosen: the views of the one stepping back learn the view that
// takes over.
TEST_F(TabClientTest, TheViewsOfTheDocumentSteppingBackLearnTheViewThatTakesOver) {
    CMultiDocTemplate sheets(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                             RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVView));
    auto* first = static_cast<CDvw32Doc*>(sheets.OpenDocumentFile(nullptr));
    auto* second = static_cast<CDvw32Doc*>(sheets.OpenDocumentFile(nullptr));
    ASSERT_TRUE(first != nullptr && second != nullptr);
    pal::test::pump();
    auto* leaving = dynamic_cast<CDVView*>(second->GetActiveView());
    auto* arriving = dynamic_cast<CDVView*>(first->GetActiveView());
    ASSERT_TRUE(leaving != nullptr && arriving != nullptr);
    ASSERT_EQ(frame->MDIGetActive()->GetActiveDocument(), second);
    tabs().UpdateContents();
    ASSERT_NE(tabOf(first), nullptr);
    workspace().SetSelectedItem(tabOf(first));
    pal::test::pump();
    EXPECT_EQ(frame->MDIGetActive()->GetActiveDocument(), first);
    EXPECT_EQ(leaving->GetNextActiveView(), arriving);
    EXPECT_EQ(arriving->GetNextActiveView(), nullptr) << "the arriving document's views are not told";
    first->OnCloseDocument();
    second->OnCloseDocument();
    pal::test::pump();
}

// The UI module's pictures for the new-window and close buttons of the tabs replace the tool kit's.
TEST_F(TabClientTest, TheTabsTakeTheUiModulesNewWindowAndCloseButtons) {
    // The UI module as it is, with two pictures of its own.
    class IconModule : public UIModuleProxy::Module {
    public:
        explicit IconModule(UIModuleProxy::Module* inner) : inner_(inner) {}
        std::vector<UIModuleProxy::ThemeDescription> GetThemes() const override {
            return inner_->GetThemes();
        }
        std::wstring GetDefaultThemeName() const override { return inner_->GetDefaultThemeName(); }
        bool ApplyTheme(int number) override { return inner_->ApplyTheme(number); }
        CFrameWnd* GetMainFrameOfWindow(HWND window) const override {
            return inner_->GetMainFrameOfWindow(window);
        }
        CFrameWnd* GetChildFrameOwner(CFrameWnd* child) const override {
            return inner_->GetChildFrameOwner(child);
        }
        void SetCommandBarsIconSizes(CXTPCommandBars* bars, SIZE normal, SIZE large, SIZE popup,
                                     bool largeIcons) override {
            inner_->SetCommandBarsIconSizes(bars, normal, large, popup, largeIcons);
        }
        SIZE ScaleIconSize(SIZE size) const override { return inner_->ScaleIconSize(size); }
        StatusLineProxy* GetStatusLine(CFrameWnd* frame) const override {
            return inner_->GetStatusLine(frame);
        }
        int ShowSettingsDialog(HWND owner, unsigned caption,
                               std::vector<UIModuleProxy::SettingsEntry>& entries) override {
            return inner_->ShowSettingsDialog(owner, caption, entries);
        }
        HICON LoadIcon(int id, bool large) override {
            asked.push_back({id, large});
            if (id != 487 && id != 501)
                return nullptr;
            const int side = 16;
            std::vector<DWORD> bits(side * side, id == 487 ? 0xFF00A000u : 0xFFC00000u);
            HBITMAP colour = ::CreateBitmap(side, side, 1, 32, bits.data());
            HBITMAP mask = ::CreateBitmap(side, side, 1, 1, nullptr);
            ICONINFO info{TRUE, 0, 0, mask, colour};
            HICON icon = ::CreateIconIndirect(&info);
            ::DeleteObject(colour);
            ::DeleteObject(mask);
            return icon;
        }
        std::vector<std::pair<int, bool>> asked;

    private:
        UIModuleProxy::Module* inner_;
    };
    UIModuleProxy::Module* installed = UIModuleProxy::Instance().GetModule();
    ASSERT_NE(installed, nullptr);
    IconModule module(installed);
    UIModuleProxy::Instance().SetModule(&module);
    {
        CDVTabClientWnd client;
        UIModuleProxy::Instance().SetModule(installed);
        EXPECT_EQ(module.asked, (std::vector<std::pair<int, bool>>{{487, true}, {501, true}}));
        for (const UINT id : {9157u, 9158u}) {
            CXTPImageManagerIcon* image = XTPImageManager()->GetImage(id, 16);
            EXPECT_NE(image, nullptr) << id;
        }
    }
}

// The drawing's window is a child of the main frame: closing the frame closes the drawing, so the
// person is asked about its changes, and a cancel keeps everything.
TEST_F(TabClientTest, ClosingTheMainFrameAsksAboutItsChangedDrawing) {
    CDvw32Doc* document = open(L"Changed");
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(TRUE);
    answer(IDCANCEL);
    frame->SendMessage(WM_CLOSE);
    pal::test::pump();
    ASSERT_TRUE(::IsWindow(frame->m_hWnd)) << "a cancel keeps the frame";
    EXPECT_TRUE(document->IsModified());
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts.back().get("text").find("Changed"), std::string::npos);

    // Shown by a second main frame too, the drawing stays open and is not asked about.
    CMainFrame* second = CMainFrame::Create(*loadState("main_frame.xml"), true, true);
    ASSERT_NE(second, nullptr);
    application.m_pMainWnd = second; // new document windows go into the application's main window
    CFrameWnd* child = drawings->CreateNewFrame(document, nullptr);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->GetParentFrame(), second);
    drawings->InitialUpdateFrame(child, document, TRUE);
    const HWND first = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE);
    pal::test::pump();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(journal("prompt").size(), 1u) << "nothing more was asked";
    EXPECT_TRUE(document->IsModified()) << "kept for the frame that closes it later";
}

// The message bars of the active document show; those of the others hide.
TEST_F(TabClientTest, MessageBarsFollowTheActiveDocument) {
    CDvw32Doc* first = open(L"First.grb");
    CDvw32Doc* second = open(L"Second.grb");
    const auto of = [](CDvw32Doc* d) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(d));
    };
    frame->ShowMessageBar(0, L"First", L"was recovered", of(first), {}, nullptr, false);
    frame->ShowMessageBar(0, L"Second", L"is read-only", of(second), {}, nullptr, false);
    frame->ShowMessageBar(0, L"Everyone", L"sees this", 0, {}, nullptr, false);
    struct Case {
        CDvw32Doc* active;
        bool first, second;
    };
    for (const Case& c : {Case{first, true, false}, Case{second, false, true}, Case{nullptr, false, false}}) {
        frame->SetActiveView(c.active != nullptr ? c.active->GetActiveView() : nullptr, true);
        std::vector<bool> shown;
        std::function<void(HWND)> walk = [&](HWND parent) {
            for (HWND h = ::GetWindow(parent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
                if (dynamic_cast<Dravik::UI::MessageBar*>(CWnd::FromHandlePermanent(h)) != nullptr)
                    shown.push_back(::IsWindowVisible(h) != FALSE);
                walk(h);
            }
        };
        walk(frame->m_hWnd);
        EXPECT_EQ(shown, (std::vector<bool>{c.first, c.second, true}));
    }
}

// A read-only document's tab makes room for the padlock beside its icon: the icon's size and two
// pixels more; other tabs keep their icon's room.
TEST_F(TabClientTest, AReadOnlyTabGrowsByItsIconsSizeAndTwoPixels) {
    CDvw32Doc* plain = open(L"Bracket.grb");
    CDvw32Doc* locked = open(L"Cover plate.grb");
    locked->SetReadOnly(true);
    CClientDC dc(frame);
    for (const int icon : {16, 24}) {
        SCOPED_TRACE(icon);
        CSize room(icon, icon);
        workspace().DrawIcon(&dc, CPoint(0, 0), tabOf(locked), FALSE, room);
        EXPECT_EQ(room.cx, icon + icon + 2);
        CSize own(icon, icon);
        workspace().DrawIcon(&dc, CPoint(0, 0), tabOf(plain), FALSE, own);
        EXPECT_EQ(own.cx, icon);
    }
}

// For a person to look at: three documents, the last read-only, and the same frame in the
// clean screen.
TEST_F(TabClientTest, ThreeTabsOneReadOnlyAndTheCleanScreenForAPersonToSee) {
    open(L"Bracket.grb");
    open(L"Housing.grb");
    CDvw32Doc* locked = open(L"Cover plate.grb");
    locked->SetReadOnly(true);
    tabs().Refresh();
    frame->RecalcLayout();
    pal::test::pump();
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "document-tabs"));
    ASSERT_TRUE(frame->SetScreenMode(2));
    pal::test::pump();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pal::test::pump();
    ASSERT_TRUE(pal::test::keepSnapshot(frame->m_hWnd, "clean-screen"));
    EXPECT_TRUE(tabs().AreTabsHidden());
    ASSERT_TRUE(frame->SetScreenMode(0));
}

} // namespace
