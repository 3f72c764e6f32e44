// The rows as a person sees them: a configuration, its group, libraries and drawings, an
// excluded library in grey, with the Path and Author columns shown.
#include "rows_fixture.h"

#include "docbrowser/BrowserIcons.h"

#include "pal/test/snapshot.h"

namespace rows_test {
namespace {

using RowsPicture = RowsTest;

TEST_F(RowsPicture, ConfigurationGroupLibrariesAndDrawings) {
    DocumentsMenuDlg panel;
    panel.SetShowExcluded(true);
    boltsLibrary->SetAuthor(L"Design office");
    nutsLibrary->SetAuthor(L"Design office");
    fastenersGroup->SetAuthor(L"Standards group");
    worksConfiguration->SetActive(true);
    makeTree(&panel);
    LoadBrowserIcons(*tree->GetImageManager());
    tree->FindColumn(L"Path")->SetVisible(TRUE);
    tree->FindColumn(L"Author")->SetVisible(TRUE);
    expand(L"Works");
    expand(L"Fasteners");
    expand(L"Bolts");
    tree->SelectRow(row(L"a.grb"));
    ASSERT_NE(row(L"Old"), nullptr);
    tree->UpdateWindow();
    const pal::gdi::Surface shot = pal::test::snapshot(tree->GetSafeHwnd());
    pal::test::keepSnapshot(shot, "documents_browser_rows");

    // Every row's name shows an icon: the cell's first pixels are not the window's colour.
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    for (const wchar_t* name : {L"Works", L"Fasteners", L"Bolts", L"_frame.grb", L"Old"}) {
        const CRect cell = tree->GetItemRect(row(name), tree->FindColumn(L"Name"));
        int inked = 0;
        for (int y = cell.top + 2; y < cell.bottom - 2; ++y)
            for (int x = cell.left + 3; x < cell.left + 19; ++x)
                inked += shot.pixel(x, y) != window;
        EXPECT_GT(inked, 20) << pal::text::toUtf8(name);
    }
    // The drawing's Author comes from its file.
    EXPECT_EQ(std::wstring(row(L"a.grb")->GetRecord()->GetItem(2)->GetCaption(nullptr)), L"Anna Berg");
}

} // namespace
} // namespace rows_test
