// Backstage pages: their colours follow the theme, and the recent page lists and opens files.
#include "../tabclient/tab_client_fixture.h"

#include "afx/recent.h"
#include "pal/sandbox.h"
#include "pal/test/user_hooks.h"

#include <fstream>

namespace {

using toolkit_test::TabClientTest;

class BackstagePageTest : public TabClientTest {
protected:
    void TearDown() override {
        CXTPPaintManager::Current()->SetTheme(L"office2013light");
        TabClientTest::TearDown();
    }
};

TEST_F(BackstagePageTest, PageColoursComeFromTheThemeSettings) {
    const COLORREF fallback = RGB(1, 2, 3);
    EXPECT_EQ(XTPIniColor(L"CommandBars.Ribbon.Backstage", L"Unknown", fallback), fallback);
    EXPECT_EQ(XTPIniColor(L"Elsewhere", L"PageBackground", fallback), fallback);
    for (LPCWSTR theme : {L"office2013light", L"office2016black"}) {
        ASSERT_TRUE(CXTPPaintManager::Current()->SetTheme(theme));
        CXTPRibbonBackstagePageRecent page;
        page.SetTheme(3);
        EXPECT_EQ(page.GetTheme(), 3);
        EXPECT_EQ(page.GetBackColor(), CXTPPaintManager::Current()->GetColors().clrWindow);
        EXPECT_EQ(page.GetTextColor(), CXTPPaintManager::Current()->GetColors().clrWindowText);
    }
}

TEST_F(BackstagePageTest, TheRecentPageListsTheFilesAndAClickOpensOne) {
    std::vector<std::wstring> paths;
    for (const char* name : {"older.sht", "newer.sht"}) {
        const auto file = pal::sandbox::root() / name;
        std::ofstream(file) << "";
        paths.push_back(file.wstring());
    }
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    for (const auto& p : paths)
        list.Add(p.c_str());
    app.m_pRecentFileList = &list;

    CXTPRibbonBackstagePageRecent page;
    ASSERT_TRUE(page.Create(XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT, main));
    ::SetWindowPos(page.m_hWnd, HWND_TOP, 0, 0, 400, 300,
                   SWP_SHOWWINDOW); // over the client, as in the backstage
    ASSERT_EQ(page.GetItemCount(), 2);
    EXPECT_EQ(page.GetItemPath(0), paths[1].c_str()) << "newest first";
    EXPECT_EQ(page.GetItemPath(2), L"");
    EXPECT_EQ(page.HitTest(CPoint(5, 5)), -1);
    EXPECT_FALSE(page.OpenItem(5));

    CPoint second = page.GetItemRect(1).CenterPoint();
    page.ClientToScreen(&second);
    pal::test::click(second);
    run.pump();

    ASSERT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_EQ(main->MDIGetActive()->GetActiveDocument()->GetPathName(), paths[0].c_str());
    page.DestroyWindow();
    app.m_pRecentFileList = nullptr;
}

} // namespace
