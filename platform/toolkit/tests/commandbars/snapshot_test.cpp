// Pictures of the bars: every theme paints the menu bar, the tool bars and an open menu in its
// own colours. The pictures are kept for a person to look at.
#include "bars_fixture.h"

#include "pal/test/snapshot.h"

#include <cstdlib>

namespace bars_test {
namespace {

void save(HWND hwnd, const std::string& name) {
    ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
}

// How many pixels of a rectangle (window coordinates) have the colour, or nearly (text is
// smoothed at its edges).
int count(const pal::gdi::Surface& picture, CRect rc, COLORREF colour, int tolerance = 0) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF p = picture.pixel(x, y);
            n += std::abs(GetRValue(p) - GetRValue(colour)) <= tolerance &&
                 std::abs(GetGValue(p) - GetGValue(colour)) <= tolerance &&
                 std::abs(GetBValue(p) - GetBValue(colour)) <= tolerance;
        }
    }
    return n;
}

class ThemeSnapshots : public BarsTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(ThemeSnapshots, EveryThemePaintsBarsAndMenusInItsColours) {
    const std::wstring theme = GetParam();
    CXTPPaintManager* pm = CXTPPaintManager::GetInstanceAddRef();
    ASSERT_TRUE(pm->SetTheme(theme.c_str()));
    const XTP_THEME_COLORS& colours = pm->GetColors();
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    app.frame.saveEnabled = false; // one disabled button in the picture
    app.frame.PostMessage(WM_NULL);
    run.pump();
    // An open menu with the pointer on its second item, a checked control and a hot button.
    CXTPMenuBar* menu = app.frame.GetCommandBars()->GetMenuBar();
    CXTPControl* cut = app.frame.edit->FindControl(kCut);
    cut->SetFlags(xtpFlagManualUpdate);
    cut->SetChecked(TRUE);
    pal::test::click(at(menu->GetControl(1)));
    run.pump();
    CXTPPopupBar* popup = openPopup(menu->GetControl(1));
    ASSERT_NE(popup, nullptr);
    pal::test::mouseMove(at(popup->GetControl(1)));
    popup->GetControl(0)->SetFlags(xtpFlagManualUpdate);
    popup->GetControl(0)->SetChecked(TRUE);
    popup->GetControl(1)->SetShortcutText(L"Ctrl+C");
    run.pump();

    const std::string name(theme.begin(), theme.end());
    save(app.frame.m_hWnd, "bars-" + name);
    save(popup->m_hWnd, "menu-" + name);

    const auto frame = pal::test::snapshot(app.frame.m_hWnd, true);
    CRect bar;
    app.frame.standard->GetWindowRect(&bar);
    app.frame.ScreenToClient(&bar);
    EXPECT_GT(count(frame, bar, colours.clrBarFace), bar.Width() * bar.Height() / 2) << "the bar's ground";
    EXPECT_GT(count(frame, bar, colours.clrText, 24), 10) << "captions in the text colour";
    EXPECT_GT(count(frame, bar, colours.clrTextDisabled, 24), 10) << "the disabled Save";
    CRect checked = cut->GetRect();
    app.frame.edit->ClientToScreen(&checked);
    app.frame.ScreenToClient(&checked);
    EXPECT_GT(count(frame, checked, colours.clrCheckedFace), 20);

    const auto menuPicture = pal::test::snapshot(popup->m_hWnd);
    CRect item = popup->GetControl(1)->GetRect();
    EXPECT_GT(count(menuPicture, item, colours.clrHotFace), item.Width() * item.Height() / 2)
        << "the hot item";
    CRect first = popup->GetControl(0)->GetRect();
    EXPECT_GT(count(menuPicture, first, colours.clrPopupFace) +
                  count(menuPicture, first, colours.clrPopupGutter),
              first.Width() * first.Height() / 2);
    pm->SetTheme(L"office2013light"); // the theme is the process's: the next test starts from the default
    CXTPPaintManager::ReleaseInstance();
}

INSTANTIATE_TEST_SUITE_P(Themes, ThemeSnapshots,
                         testing::Values(L"office2010black", L"office2013light", L"office2013dark",
                                         L"office2016black", L"office2016dark", L"office2016white",
                                         L"msvs2015light", L"msvs2015dark"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring w(info.param);
                             return std::string(w.begin(), w.end());
                         });

} // namespace
} // namespace bars_test

namespace bars_test {
namespace {

TEST_F(BarsTest, ChangingTheThemeRepaintsTheOpenBars) {
    CXTPPaintManager* pm = CXTPPaintManager::GetInstanceAddRef();
    ASSERT_TRUE(pm->SetTheme(L"office2013light"));
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    run.pump();
    CRect bar;
    app.frame.standard->GetWindowRect(&bar);
    app.frame.ScreenToClient(&bar);
    const CPoint ground(bar.right - 3, bar.top + 3);
    EXPECT_EQ(pal::test::snapshot(app.frame.m_hWnd, true).pixel(ground.x, ground.y), RGB(255, 255, 255));
    ASSERT_TRUE(pm->SetTheme(L"msvs2015dark"));
    run.pump();
    EXPECT_EQ(pal::test::snapshot(app.frame.m_hWnd, true).pixel(ground.x, ground.y), RGB(45, 45, 48));
    pm->SetTheme(L"office2013light");
    CXTPPaintManager::ReleaseInstance();
}

} // namespace
} // namespace bars_test
