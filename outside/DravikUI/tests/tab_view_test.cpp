// A drawing's pages as tabs: the sample drawing with a model page and a second sheet added, in
// a document window of an MDI frame.
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"

#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/PageRender.h"
#include "pal/test/mfc_app.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"
#include "snapshot_path.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr UINT kDrawingResource = 420;
constexpr UINT kAppResource = 421;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"},
                                        {kAppResource, L"Dravik"}};
AFX_STRING_TABLE(kStrings);

std::filesystem::path samplePath;

// The sample drawing, with a model page and a second, unnamed sheet after its sheet.
class Drawing : public CDocument, public Dravik::DravikDocument2 {
    DECLARE_DYNCREATE(Drawing)
public:
    BOOL OnNewDocument() override {
        if (!CDocument::OnNewDocument())
            return FALSE;
        std::ifstream in(samplePath, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::wstring error;
        if (!Dravik::grb::Decode(bytes.str(), *this, &error))
            return FALSE;
        auto pages = Cont2D()->GetPages();
        pages.push_back(Dravik::Page{Dravik::PageKind::Model, 420, 297, L""});
        pages.push_back(Dravik::Page{Dravik::PageKind::Sheet, 297, 210, L""});
        Cont2D()->SetPages(pages);
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(Drawing, CDocument)

// Draws its page of the drawing, fitted to the window.
class PageView : public CView, public CDVTabView::PageView {
    DECLARE_DYNCREATE(PageView)
public:
    int page = -1;
    void SetPageIndex(int index) override { page = index; }
    void OnDraw(CDC* dc) override {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(&client, RGB(128, 128, 128));
        auto* drawing = dynamic_cast<Drawing*>(GetDocument());
        const auto& pages = drawing->Cont2D()->GetPages();
        Dravik::DrawPage(dc->GetSafeHdc(), *drawing->Cont2D(), page,
                         Dravik::FitPage(pages[static_cast<size_t>(page)], client));
    }
};
IMPLEMENT_DYNCREATE(PageView, CView)

class ShellApp : public CWinApp {
public:
    BOOL InitInstance() override {
        AddDocTemplate(new CMultiDocTemplate(kDrawingResource, RUNTIME_CLASS(Drawing),
                                             RUNTIME_CLASS(Dravik::UI::MdiChildFrame),
                                             RUNTIME_CLASS(CDVTabView)));
        auto* main = new CMDIFrameWnd;
        if (!main->LoadFrame(kAppResource))
            return FALSE;
        m_pMainWnd = main;
        main->MoveWindow(20, 20, 900, 640);
        main->ShowWindow(SW_SHOW);
        return TRUE;
    }
};

class TabViewTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        samplePath = binDir() / "Samples" / "sample-a3.grb";
        saved = CDVTabCtrl::GetDefaults();
        CDVTabView::SetPageViewClass(RUNTIME_CLASS(PageView));
        ASSERT_TRUE(run.init());
        app.OnFileNew();
        run.pump();
        auto* main = static_cast<CMDIFrameWnd*>(app.m_pMainWnd);
        child = main->MDIGetActive();
        ASSERT_NE(child, nullptr);
        main->MDIMaximize(child);
        run.pump();
        tabView = dynamic_cast<CDVTabView*>(child->GetDlgItem(AFX_IDW_PANE_FIRST));
        if (!tabView) {
            auto* frame = dynamic_cast<Dravik::UI::MdiChildFrame*>(child);
            ASSERT_NE(frame, nullptr);
            ASSERT_NE(frame->GetSplitter(), nullptr);
            tabView = dynamic_cast<CDVTabView*>(frame->GetSplitter()->GetPaneView(0));
        }
        ASSERT_NE(tabView, nullptr);
    }
    void TearDown() override {
        CDVTabCtrl::SetDefaults(saved);
        CDVTabView::SetPageViewClass(nullptr);
        UserTest::TearDown();
    }
    ShellApp app;
    pal::test::AppRun run{app};
    CMDIChildWnd* child = nullptr;
    CDVTabView* tabView = nullptr;
    CDVTabCtrl::Defaults saved;
};

TEST_F(TabViewTest, EachPageOfTheDrawingIsATabAndTheChosenOnesViewIsActive) {
    ASSERT_EQ(tabView->GetPageCount(), 3);
    auto& tabs = tabView->GetTabCtrl();
    const auto* drawing = dynamic_cast<Drawing*>(tabView->GetDocument());
    const std::wstring sheetName = drawing->Cont2D()->GetPages()[0].name;
    EXPECT_EQ(tabs.GetItemText(0), sheetName.empty() ? L"Sheet 1" : sheetName);
    EXPECT_EQ(tabs.GetItemText(1), L"Model");
    EXPECT_EQ(tabs.GetItemText(2), L"Sheet 2") << "sheets without a name are numbered among the sheets";
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(dynamic_cast<PageView*>(tabView->GetPageView(page))->page, page);

    // From the last page, the sheet of the sample is chosen with the mouse, as a person would.
    ASSERT_TRUE(tabView->SelectPage(2));
    EXPECT_FALSE(tabView->SelectPage(3));
    CPoint at = tabs.GetItemRect(0).CenterPoint();
    tabs.ClientToScreen(&at);
    pal::test::click(at);
    run.pump();
    EXPECT_EQ(tabView->GetActivePage(), 0);
    EXPECT_EQ(drawing->Cont2D()->GetCurrentPage(), 0);
    EXPECT_EQ(child->GetActiveView(), tabView->GetPageView(0)) << "commands go to the page that shows";
    EXPECT_TRUE(tabView->GetPageView(0)->IsWindowVisible());
    EXPECT_FALSE(tabView->GetPageView(2)->IsWindowVisible());

    const auto png = dvui::test::snapshotPath("tab-view-sample-drawing");
    ASSERT_TRUE(pal::test::saveSnapshot(app.m_pMainWnd->m_hWnd, png));
    // Paper where the sheet lies, the strip below it.
    const auto picture = pal::test::snapshot(tabView->m_hWnd, true);
    CRect view, strip;
    tabView->GetPageView(0)->GetWindowRect(&view);
    tabs.GetWindowRect(&strip);
    tabView->ScreenToClient(&view);
    tabView->ScreenToClient(&strip);
    EXPECT_EQ(strip.top, view.bottom) << "the tabs lie under the page";
    EXPECT_EQ(picture.pixel(view.CenterPoint().x, view.top + 2), RGB(128, 128, 128));
}

TEST_F(TabViewTest, TheStripMovesAndHidesWithTheProgramsSettings) {
    CDVTabCtrl::SetDefaults({true, true});
    CDVTabView::UpdateAllTabViews();
    CRect view, strip;
    tabView->GetPageView(0)->GetWindowRect(&view);
    tabView->GetTabCtrl().GetWindowRect(&strip);
    EXPECT_EQ(strip.bottom, view.top) << "on top";

    // A drawing of one page shows no strip when the settings say so.
    auto* drawing = dynamic_cast<Drawing*>(tabView->GetDocument());
    drawing->Cont2D()->SetPages({drawing->Cont2D()->GetPages()[0]});
    CDVTabCtrl::SetDefaults({false, false});
    drawing->UpdateAllViews(nullptr);
    run.pump();
    EXPECT_EQ(tabView->GetPageCount(), 1);
    EXPECT_FALSE(tabView->GetTabCtrl().IsWindowVisible());
    CRect client;
    tabView->GetClientRect(&client);
    tabView->GetPageView(0)->GetWindowRect(&view);
    EXPECT_EQ(view.Height(), client.Height()) << "the page takes the whole view";
}

} // namespace
