// The page tabs: drawn in the theme, chosen with the mouse, placed by the program's settings.
#include "DravikUI/TabCtrl.h"

#include "pal/test/snapshot.h"
#include "pal/test/user_test.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

namespace {

class Host : public CWnd {
public:
    std::vector<int> chosen;
    CDVTabCtrl tabs;

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
        const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
        if (nm->code == TCN_SELCHANGE && nm->hwndFrom == tabs.m_hWnd)
            chosen.push_back(tabs.GetCurSel());
        return TRUE;
    }
};

class TabCtrlTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        saved = CDVTabCtrl::GetDefaults();
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"Pages", WS_POPUP | WS_VISIBLE, 100, 100, 420, 60, nullptr, nullptr));
        ASSERT_TRUE(host.tabs.Create(CRect(0, 0, 420, CDVTabCtrl::GetStripHeight()), &host, 7));
        for (const wchar_t* page : {L"Model", L"Sheet 1", L"Sheet 2"})
            host.tabs.InsertItem(host.tabs.GetItemCount(), page);
    }
    void TearDown() override {
        CDVTabCtrl::SetDefaults(saved);
        CXTPPaintManager::Current()->SetTheme(L"office2013light");
        UserTest::TearDown();
    }
    CDVTabCtrl::Defaults saved;
    Host host;
};

TEST_F(TabCtrlTest, AClickChoosesATabAndTellsTheParentOnce) {
    EXPECT_EQ(host.tabs.GetCurSel(), 0) << "the first page is chosen when tabs come";
    const CRect second = host.tabs.GetItemRect(1);
    CPoint at = second.CenterPoint();
    host.tabs.ClientToScreen(&at);
    pal::test::click(at);
    pal::test::click(at);
    pal::test::pump();
    EXPECT_EQ(host.tabs.GetCurSel(), 1);
    EXPECT_EQ(host.chosen, (std::vector<int>{1})) << "choosing the chosen tab again tells nothing";
    EXPECT_FALSE(host.tabs.SetCurSel(3));
    EXPECT_EQ(host.tabs.HitTest(CPoint(415, 5)), -1);
}

// Looked at: light and dark strips, the chosen tab open towards the views.
TEST_F(TabCtrlTest, TheStripIsDrawnInTheThemeWithTheChosenTabOpen) {
    host.tabs.SetCurSel(1);
    for (const wchar_t* theme : {L"office2013light", L"office2016black"}) {
        ASSERT_TRUE(CXTPPaintManager::Current()->SetTheme(theme));
        host.tabs.Invalidate();
        ASSERT_TRUE(pal::test::keepSnapshot(host.tabs.m_hWnd, "page-tabs-" + pal::text::toUtf8(theme)));
        const auto picture = pal::test::snapshot(host.tabs.m_hWnd, true);
        const XTP_THEME_COLORS& colors = CXTPPaintManager::Current()->GetColors();
        const CRect chosen = host.tabs.GetItemRect(1);
        EXPECT_EQ(picture.pixel(chosen.left + 3, chosen.top + 1), colors.clrWindow) << "the open edge";
        EXPECT_EQ(picture.pixel(chosen.left, chosen.CenterPoint().y), colors.clrBarBorder);
        EXPECT_EQ(picture.pixel(410, 10), colors.clrBarFace);
        int ink = 0;
        for (int x = chosen.left + 2; x < chosen.right - 2; ++x)
            ink += picture.pixel(x, chosen.CenterPoint().y) != colors.clrWindow ? 1 : 0;
        EXPECT_GT(ink, 0) << "the page's name is written";
    }
}

TEST_F(TabCtrlTest, TheSettingsGoToThePagesTabCtrlKeyAndComeBack) {
    HKEY section = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dravik\\Test\\Default", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &section, nullptr),
              ERROR_SUCCESS);
    EXPECT_FALSE(CDVTabCtrl::ReadDefaults(section)) << "nothing saved yet";
    CDVTabCtrl::SetDefaults({true, false});
    ASSERT_TRUE(CDVTabCtrl::SaveDefaults(section));
    CDVTabCtrl::SetDefaults({});
    ASSERT_TRUE(CDVTabCtrl::ReadDefaults(section));
    EXPECT_TRUE(CDVTabCtrl::GetDefaults().OnTop);
    EXPECT_FALSE(CDVTabCtrl::GetDefaults().ShowSingleTab);

    // A value of another type keeps what was there.
    HKEY sub = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(section, L"PagesTabCtrl", 0, KEY_WRITE, &sub), ERROR_SUCCESS);
    ::RegSetValueExW(sub, L"Position", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"0"), 4);
    ::RegCloseKey(sub);
    ASSERT_TRUE(CDVTabCtrl::ReadDefaults(section));
    EXPECT_TRUE(CDVTabCtrl::GetDefaults().OnTop);
    EXPECT_FALSE(CDVTabCtrl::ReadDefaults(nullptr));
    ::RegCloseKey(section);
}

} // namespace
