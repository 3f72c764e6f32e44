// The picture of a main frame with a ribbon (its caption drawn by the ribbon, two tabs, three
// groups of large and small buttons) over document tabs in two groups, in a light and a dark
// theme.
#include "../ribbon/ribbon_fixture.h"

#include "afx/recent.h"
#include "pal/test/snapshot.h"

namespace {

using toolkit_test::RibbonTest;

void save(HWND hwnd, const std::string& name) {
    ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
}

struct Look {
    const char* name;
    LPCWSTR theme;
};

void PrintTo(const Look& l, std::ostream* os) {
    *os << l.name;
}

class FrameSnapshotTest : public RibbonTest, public ::testing::WithParamInterface<Look> {
protected:
    void TearDown() override {
        tabs.Detach();
        RibbonTest::TearDown();
    }
    CXTPTabClientWnd tabs;
};

TEST_P(FrameSnapshotTest, RibbonOverTwoGroupsOfDocuments) {
    const Look& look = GetParam();
    ASSERT_TRUE(CXTPPaintManager::Current()->SetTheme(look.theme));
    toolkit_test::SheetView::paper =
        CXTPPaintManager::Current()->IsDarkTheme() ? RGB(48, 50, 54) : RGB(255, 255, 255);
    ribbon->EnableFrameTheme();
    ASSERT_TRUE(tabs.Attach(frame));
    tabs.RefreshTheme();
    tabs.EnableGroups();
    tabs.SetFlags(xtpWorkspaceShowCloseSelectedTab);
    for (int i = 0; i < 4; ++i)
        app.OnFileNew();
    run.pump();
    ASSERT_TRUE(tabs.MoveToNewGroup(tabs.GetWorkspace(0)->GetItem(3), FALSE));
    tabs.MoveToWorkspace(tabs.GetWorkspace(0)->GetItem(2), tabs.GetWorkspace(1));
    run.pump();

    save(frame->m_hWnd, std::string("ribbon-frame-") + look.name);

    // The ribbon: the File button in the accent colour, the selected tab joined to the band of
    // groups, a large button's picture.
    const auto bar = pal::test::snapshot(ribbon->m_hWnd, true);
    CXTPRibbonPaintManager* paint = CXTPRibbonPaintManager::Current();
    const CRect file = ribbon->GetSystemButton()->GetRect();
    EXPECT_EQ(bar.pixel(file.left + 3, file.top + 3), CXTPPaintManager::Current()->GetColors().clrAccent);
    const CRect home = ribbon->GetTab(0)->GetRect();
    EXPECT_EQ(bar.pixel(home.left + 3, home.bottom - 1), paint->GetGroupsFace());
    const CRect paste = ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(0)->GetRect();
    EXPECT_EQ(bar.pixel(paste.CenterPoint().x - 8, paste.top + 3 + 8),
              toolkit_test::LoggingRibbon::IconColor(toolkit_test::ID_PASTE));
    EXPECT_EQ(bar.pixel(ribbon->GetCaptionRect().left + 1, ribbon->GetCaptionRect().top + 1),
              paint->GetCaptionFace());

    // The documents: each group's selected tab, its document, the splitter between them.
    const auto client = pal::test::snapshot(tabs.m_hWnd, true);
    const XTP_TAB_COLORSET& c = tabs.GetPaintManager()->m_clrSet;
    for (int g = 0; g < 2; ++g) {
        CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(g);
        const CRect selected = ws->GetSelectedItem()->GetRect();
        EXPECT_EQ(client.pixel(selected.left + 3, selected.CenterPoint().y),
                  g == 1 ? c.clrTabSelected : c.clrTabSelectedInactive);
        EXPECT_EQ(client.pixel(ws->GetClientRect().left + 4, ws->GetClientRect().top + 4),
                  toolkit_test::SheetView::paper);
    }
    const CRect splitter = tabs.GetWorkspace(0)->GetSplitterRect();
    EXPECT_EQ(client.pixel(splitter.CenterPoint().x, splitter.CenterPoint().y), c.clrBorder);
    toolkit_test::SheetView::paper = RGB(255, 255, 255);
}

const Look kLooks[] = {{"light", L"office2013light"}, {"dark", L"office2016black"}};
INSTANTIATE_TEST_SUITE_P(Themes, FrameSnapshotTest, ::testing::ValuesIn(kLooks));

} // namespace

namespace {

class BackstageSnapshotTest : public toolkit_test::RibbonTest {};

TEST_F(BackstageSnapshotTest, TheBackstageWithItsRecentFiles) {
    ribbon->EnableFrameTheme();
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    for (LPCWSTR path :
         {L"/home/drafts/bracket.dvd", L"/home/drafts/housing cover.dvd", L"/srv/pdm/gear train.dva"})
        list.Add(path);
    app.m_pRecentFileList = &list;
    CXTPRibbonBackstageView* view = CXTPRibbonBackstageView::CreateBackstageView(frame->GetCommandBars());
    CXTPRibbonBackstagePageRecent recent;
    ASSERT_TRUE(recent.Create(XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT, frame));
    recent.SetTheme(0);
    view->AddCommand(toolkit_test::ID_BACKSTAGE_SAVEAS, L"Save &As");
    view->AddTab(&recent, toolkit_test::ID_BACKSTAGE_RECENT, L"&Recent");
    ribbon->SetBackstageView(view);
    view->InternalRelease();
    ribbon->GetSystemButton()->OnClick();
    run.pump();
    ASSERT_TRUE(view->IsOpen());

    frame->UpdateWindow();
    save(frame->m_hWnd, "backstage");
    const auto picture = pal::test::snapshot(view->m_hWnd, true);
    const CRect menu = view->GetMenuRect();
    EXPECT_EQ(picture.pixel(menu.left + 2, menu.bottom - 3),
              CXTPPaintManager::Current()->GetColors().clrAccent);
    const CRect pane = view->GetPaneRect();
    EXPECT_EQ(picture.pixel(pane.right - 3, pane.bottom - 3), recent.GetBackColor());
    view->OnCancel();
    EXPECT_FALSE(frame->GetStyle() & WS_CLIPCHILDREN) << "the frame's style comes back";
    recent.DestroyWindow();
    app.m_pRecentFileList = nullptr;
}

} // namespace
