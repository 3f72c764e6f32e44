// A drawing's pages as tabs: the sample drawing with a model page and a second sheet added, in
// a document window of an MDI frame.
#include "DravikUI/ChildFrame.h"
#include "DravikUI/TabView.h"

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/View.h"
#include "pal/path.h"
#include "pal/test/mfc_app.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kDrawingResource = 420;
constexpr UINT kAppResource = 421;
const AFX_STRING_RESOURCE kStrings[] = {{kDrawingResource, L"\nDrawing\nDrawing\nDrawings (*.grb)\n.grb"},
                                        {kAppResource, L"Dravik"}};
AFX_STRING_TABLE(kStrings);

std::filesystem::path samplePath;

class ShellApp : public CWinApp {
public:
    CDVDocTemplate* drawings = nullptr;
    BOOL InitInstance() override {
        // The program's main document template: kernel documents in the UI library's child
        // frames, shown by tab views.
        drawings =
            CDVDocTemplate::Create(kDrawingResource, RUNTIME_CLASS(CDvw32Doc),
                                   RUNTIME_CLASS(Dravik::UI::MdiChildFrame), RUNTIME_CLASS(CDVTabView));
        AddDocTemplate(drawings);
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
        ASSERT_TRUE(run.init());
        auto* document = dynamic_cast<CDvw32Doc*>(
            app.drawings->OpenDocumentFile(pal::path::fromNative(samplePath).c_str()));
        ASSERT_NE(document, nullptr);
        // A model page and a second, unnamed sheet after the sample's sheet.
        auto pages = document->Cont2D()->GetPages();
        ASSERT_EQ(pages.size(), 1u);
        pages.push_back(Dravik::Page{Dravik::PageKind::Model, 420, 297, L""});
        pages.push_back(Dravik::Page{Dravik::PageKind::Sheet, 297, 210, L""});
        document->Cont2D()->SetPages(pages);
        document->UpdateAllViews(nullptr);
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
    auto* drawing = dynamic_cast<CDvw32Doc*>(tabView->GetDocument());
    const std::wstring sheetName = drawing->Cont2D()->GetPages()[0].name;
    EXPECT_EQ(tabs.GetItemText(0), sheetName.empty() ? L"Sheet 1" : sheetName);
    EXPECT_EQ(tabs.GetItemText(1), L"Model");
    EXPECT_EQ(tabs.GetItemText(2), L"Sheet 2") << "sheets without a name are numbered among the sheets";
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(dynamic_cast<CDVView*>(tabView->GetPageView(page))->GetParentPage(), page);

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

    ASSERT_TRUE(pal::test::keepSnapshot(app.m_pMainWnd->m_hWnd, "tab-view-sample-drawing"));
    // The drawing's paper in the page view, the strip below it.
    const auto picture = pal::test::snapshot(tabView->m_hWnd, true);
    CRect view, strip;
    tabView->GetPageView(0)->GetWindowRect(&view);
    tabs.GetWindowRect(&strip);
    tabView->ScreenToClient(&view);
    tabView->ScreenToClient(&strip);
    EXPECT_EQ(strip.top, view.bottom) << "the tabs lie under the page";
    EXPECT_EQ(picture.pixel(view.CenterPoint().x, view.CenterPoint().y), RGB(255, 255, 255));
}

TEST_F(TabViewTest, TheStripMovesAndHidesWithTheProgramsSettings) {
    CDVTabCtrl::SetDefaults({true, true});
    CDVTabView::UpdateAllTabViews();
    CRect view, strip;
    tabView->GetPageView(0)->GetWindowRect(&view);
    tabView->GetTabCtrl().GetWindowRect(&strip);
    EXPECT_EQ(strip.bottom, view.top) << "on top";

    // A drawing of one page shows no strip when the settings say so.
    auto* drawing = dynamic_cast<CDvw32Doc*>(tabView->GetDocument());
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

namespace {

TEST_F(TabViewTest, RulersFrameThePagesAndThePageTabsCanBeHidden) {
    CDVTabCtrl::SetDefaults({false, false});
    CDVTabView::UpdateAllTabViews();
    auto pageRect = [&] {
        CRect view;
        tabView->GetPageView(tabView->GetActivePage())->GetWindowRect(&view);
        tabView->ScreenToClient(&view);
        return view;
    };
    CRect client;
    tabView->GetClientRect(&client);
    const CRect plain = pageRect();
    const int ruler = CDVTabView::GetRulerSize();

    struct Case {
        bool rulers;
        bool tabs;
        CRect pages;
    };
    const int strip = client.bottom - plain.bottom;
    ASSERT_GT(strip, 0);
    const Case cases[] = {
        {false, true, plain},
        {true, true, CRect(plain.left + ruler, plain.top + ruler, plain.right, plain.bottom)},
        {true, false, CRect(client.left + ruler, client.top + ruler, client.right, client.bottom)},
        {false, false, client},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rulers) + std::to_string(c.tabs));
        tabView->ShowRulers(c.rulers);
        tabView->ShowPageTabs(c.tabs);
        run.pump();
        EXPECT_EQ(tabView->AreRulersShown(), c.rulers);
        EXPECT_EQ(tabView->ArePageTabsShown(), c.tabs);
        EXPECT_EQ(pageRect(), c.pages);
        EXPECT_EQ(tabView->GetTabCtrl().IsWindowVisible() != FALSE, c.tabs);
    }
    tabView->ShowRulers(true);
    tabView->ShowPageTabs(true);
    tabView->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    run.pump();
    ASSERT_TRUE(pal::test::keepSnapshot(app.m_pMainWnd->m_hWnd, "tab-view-rulers"));
    // The rulers' band is painted, the corner too.
    const auto picture = pal::test::snapshot(tabView->m_hWnd, true);
    EXPECT_NE(picture.pixel(ruler / 2, ruler / 2), RGB(255, 255, 255));
    tabView->ShowRulers(false);
}

} // namespace
