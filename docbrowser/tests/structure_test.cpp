// The structure of the browser's pane over the model: drags keep their row by its record across
// the refills that happen meanwhile, and rows that refuse files say so to the file's source.
#include "rows_fixture.h"

#include "docbrowser/DocumentsStructure.h"
#include "docbrowser/FileClipboard.h"

#include "afxole.h"

namespace rows_test {
namespace {

class Structure : public RowsTest {
protected:
    void SetUp() override {
        RowsTest::SetUp();
        frame = new CFrameWnd;
        frame->Create(nullptr, L"Documents", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 400));
        ASSERT_TRUE(panel.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 360), frame, 1004));
    }
    void TearDown() override {
        panel.DestroyWindow();
        RowsTest::TearDown();
    }
    CXTPReportRow* treeRow(const std::wstring& name) {
        for (const auto& r : view().GetRows())
            if (CXTPReportRecordItem* item = r->GetRecord()->GetItem(0);
                item && item->GetCaption(nullptr) == name.c_str())
                return r.get();
        return nullptr;
    }
    CPoint over(const std::wstring& name) { return treeRow(name)->GetRect().CenterPoint(); }
    StructureView& view() { return panel.GetStructure().GetTree(); }

    DocumentsMenuDlg panel;
};

TEST_F(Structure, ADragsRowIsKeptByItsRecordAndForgottenWhenItsViewFillsAgain) {
    treeRow(L"Works")->SetExpanded(TRUE);
    treeRow(L"Fasteners")->SetExpanded(TRUE);
    ASSERT_TRUE(FileClipboard::Instance().Copy({bolts + L"a.grb"}));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());

    EXPECT_EQ(view().OnDragOver(&data, 0, over(L"Nuts"), 2), DROPEFFECT_COPY);
    EXPECT_TRUE(treeRow(L"Nuts")->IsSelected());
    EXPECT_EQ(LastDragRow().record, treeRow(L"Nuts")->GetRecord());
    // The rows are made again while the drag goes on: the same record stays the drag's row.
    view().Populate();
    view().ClearSelection();
    EXPECT_EQ(view().OnDragOver(&data, 0, over(L"Nuts"), 2), DROPEFFECT_COPY);
    EXPECT_FALSE(treeRow(L"Nuts")->IsSelected()) << "still the row it was";
    // A fill takes the records away, and the drag's row with them.
    view().Fill(std::wstring());
    EXPECT_EQ(LastDragRow().record, nullptr);
    EXPECT_EQ(LastDragRow().view, nullptr);
}

TEST_F(Structure, RowsThatRefuseFilesShowNoDropAndTheDropSaysNothingWasTaken) {
    GlobalCfgGroup().Add(std::make_unique<PdmConfiguration>(L"Archive"));
    ASSERT_NE(treeRow(L"Archive"), nullptr) << "a configuration added shows at once";
    ASSERT_TRUE(FileClipboard::Instance().Copy({bolts + L"a.grb"}));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    view().SelectRow(treeRow(L"Works"));
    EXPECT_EQ(view().OnDragOver(&data, 0, over(L"Archive"), 2), DROPEFFECT_NONE);
    EXPECT_TRUE(treeRow(L"Works")->IsSelected()) << "a row that refuses is not highlighted";
    view().SelectRow(treeRow(L"Archive"));
    EXPECT_FALSE(view().OnDrop(&data, DROPEFFECT_COPY, over(L"Archive")));
}

// The rows shown by a view, indented by depth.
std::vector<std::wstring> shownIn(const StructureView& view) {
    std::vector<std::wstring> out;
    for (const auto& row : view.GetRows())
        if (CXTPReportRecordItem* name = row->GetRecord()->GetItem(0))
            out.push_back(std::wstring(row->GetTreeDepth() * 2, L' ') +
                          name->GetCaption(nullptr).GetString());
    return out;
}

TEST_F(Structure, TheListShowsEveryLibraryAndTakesTheColumnsBothViewsHave) {
    LibrariesList& list = panel.GetStructure().GetList();
    EXPECT_EQ(shownIn(list), (std::vector<std::wstring>{L"Bolts", L"Nuts", L"Old"}))
        << "excluded libraries stay in the list";
    view().FindColumn(L"Path")->SetVisible(TRUE);
    view().FindColumn(L"Title")->SetVisible(TRUE);
    list.FindColumn(L"Configuration")->SetVisible(FALSE);
    EXPECT_TRUE(panel.ShowLibrariesList(true));
    EXPECT_FALSE(panel.ShowLibrariesList(true)) << "unchanged";
    EXPECT_TRUE(panel.IsLibrariesListShown());
    EXPECT_TRUE(list.IsWindowVisible());
    EXPECT_FALSE(view().IsWindowVisible());
    EXPECT_TRUE(list.FindColumn(L"Path")->IsVisible());
    EXPECT_FALSE(list.FindColumn(L"Configuration")->IsVisible()) << "the tree has none: its own stays";
    EXPECT_TRUE(panel.ShowLibrariesList(false));
    EXPECT_TRUE(view().FindColumn(L"Title")->IsVisible());
}

// The list's "Configuration" column shares its item with the tree's Title: a library and a
// drawing of the list both show their configuration there, the drawing its Title in the tree.
TEST_F(Structure, TheListsConfigurationColumnNamesTheConfigurationOfEachRow) {
    LibrariesList& list = panel.GetStructure().GetList();
    ASSERT_TRUE(panel.ShowLibrariesList(true));
    CXTPReportColumn* configuration = list.FindColumn(L"Configuration");
    const auto listRow = [&](const std::wstring& name) -> CXTPReportRow* {
        for (const auto& r : list.GetRows())
            if (CXTPReportRecordItem* item = r->GetRecord()->GetItem(0);
                item && item->GetCaption(nullptr) == name.c_str())
                return r.get();
        return nullptr;
    };
    const auto cell = [&](const std::wstring& name) -> std::wstring {
        CXTPReportRow* r = listRow(name);
        return r ? r->GetRecord()->GetItem(configuration)->GetCaption(configuration).GetString()
                 : L"(no row)";
    };
    ASSERT_NE(listRow(L"Bolts"), nullptr);
    listRow(L"Bolts")->SetExpanded(TRUE);
    EXPECT_EQ(cell(L"Bolts"), L"Works");
    EXPECT_EQ(cell(L"a.grb"), L"Works");
    ASSERT_TRUE(panel.ShowLibrariesList(false));
    treeRow(L"Works")->SetExpanded(TRUE);
    treeRow(L"Fasteners")->SetExpanded(TRUE);
    treeRow(L"Bolts")->SetExpanded(TRUE);
    CXTPReportColumn* title = view().FindColumn(L"Title");
    EXPECT_EQ(std::wstring(treeRow(L"a.grb")->GetRecord()->GetItem(title)->GetCaption(title)), L"a");
}

TEST_F(Structure, TheFindFilterAndTheExcludedSwitchDecideTheTreesRows) {
    struct Case {
        const wchar_t* filter;
        std::vector<std::wstring> rows;
    };
    const Case cases[] = {
        {L"", {L"Empty", L"Works"}},
        {L"zzz", {}},
        {L"M6", {L"Works", L"  Fasteners", L"    Nuts", L"      m6.grb"}},
        {L"work", {L"Works"}}, // its own name matches: its children come unfiltered, collapsed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(pal::text::toUtf8(c.filter));
        panel.GetStructure().SetFilter(c.filter);
        EXPECT_EQ(shownIn(view()), c.rows);
    }
    emptyConfiguration->SetExcluded(true);
    panel.GetStructure().SetFilter(L"");
    EXPECT_EQ(shownIn(view()), (std::vector<std::wstring>{L"Works"}));
    EXPECT_TRUE(panel.SetShowExcluded(true));
    EXPECT_EQ(treeRow(L"Empty")->GetRecord()->GetItem(0)->GetTextColor(), ::GetSysColor(COLOR_GRAYTEXT));
}

} // namespace
} // namespace rows_test
