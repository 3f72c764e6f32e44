// The tabbed tool bar on the test frame's command bars: categories as tabs over the bar, the
// controls of the selected one shown, switching by a click and by a call, its place in the bars'
// stored layout, and pictures of it in a light and a dark theme for a person to look at.
#include "commandbars/bars_fixture.h"

#include "pal/test/snapshot.h"

namespace bars_test {
namespace {

constexpr UINT kModesBar = 300;
constexpr UINT kDraw[] = {500, 501, 0, 502};
constexpr UINT kModify[] = {600, 601, 602, 603};
constexpr UINT kView[] = {700};

// The ids of the controls that show, in bar order.
std::string shown(CXTPToolBar* bar) {
    std::string out;
    for (CXTPControl* c : *bar->GetControls()) {
        if (c->IsVisible())
            out += (out.empty() ? "" : " ") + std::to_string(c->GetID());
    }
    return out;
}

class TabToolBarTest : public BarsTest {
protected:
    // A tabbed bar under the frame's other bars with three categories; each button is named
    // after its id.
    static CXTPTabToolBar* addModes(App& app, bool withCategories = true) {
        auto* bar = static_cast<CXTPTabToolBar*>(
            app.frame.GetCommandBars()->Add(L"Modes", xtpBarTop, RUNTIME_CLASS(CXTPTabToolBar)));
        bar->SetBarID(kModesBar);
        bar->SetDockPosition(xtpBarTop, 3, 0);
        if (withCategories) {
            bar->InsertCategory(-1, L"Draw", kDraw, 4);
            bar->InsertCategory(-1, L"View", kView, 1);
            bar->InsertCategory(1, L"Modify", kModify, 4); // between the other two
        }
        for (CXTPControl* c : *bar->GetControls())
            c->SetCaption((L"Cmd " + std::to_wstring(c->GetID())).c_str());
        return bar;
    }
    static POINT tabAt(CXTPTabToolBar* bar, int index) {
        CPoint p = bar->GetTabManager()->GetItem(index)->GetRect().CenterPoint();
        bar->ClientToScreen(&p);
        return p;
    }
    static void save(HWND hwnd, const std::string& name) { ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name)); }
};

TEST_F(TabToolBarTest, TheTabbedToolBarSwitchesCategories) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPTabToolBar* bar = addModes(app);
    run.pump();
    CXTPTabManager* tabs = bar->GetTabManager();
    ASSERT_EQ(tabs->GetItemCount(), 3);
    EXPECT_EQ(tabs->GetItem(1)->GetCaption(), L"Modify");
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"Draw") << "the first category shows at first";
    EXPECT_EQ(shown(bar), "500 501 502");
    EXPECT_TRUE(bar->FindControl(502)->GetBeginGroup()) << "a separator starts a group";
    EXPECT_EQ(bar->FindControl(600)->GetCategory(), L"Modify");

    // A click on a tab.
    ASSERT_FALSE(tabs->GetItem(2)->GetRect().IsRectEmpty());
    pal::test::click(tabAt(bar, 2));
    run.pump();
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"View");
    EXPECT_EQ(shown(bar), "700");
    EXPECT_TRUE(app.frame.log.empty()) << "a tab is no command";
    // The shown controls sit under the strip, where a click reaches them.
    EXPECT_GE(bar->FindControl(700)->GetRect().top, bar->GetTabsRect().bottom);
    pal::test::click(at(bar->FindControl(700)));
    run.pump();
    // (700 has no handler in the frame: the click reaches the bar, not the tabs.)
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"View");

    // A call.
    bar->SelectCategory(1);
    run.pump();
    EXPECT_EQ(shown(bar), "600 601 602 603");

    // A hidden tab cannot be chosen; hiding the selected one moves the selection on.
    tabs->GetItem(0)->SetVisible(FALSE);
    bar->SelectCategory(0);
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"Modify");
    tabs->GetItem(1)->SetVisible(FALSE);
    bar->UpdateTabs();
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"View");
    EXPECT_EQ(shown(bar), "700");

    // A control without a category shows under every tab; removing a category takes its controls.
    bar->GetControls()->Add(xtpControlButton, kNew);
    bar->UpdateTabs();
    EXPECT_EQ(shown(bar), "700 100");
    bar->RemoveCategory(bar->FindCategory(L"Modify"));
    EXPECT_EQ(bar->GetCategoryCount(), 2);
    EXPECT_EQ(bar->FindControl(600), nullptr);
}

TEST_F(TabToolBarTest, CategoriesThatCannotBeAddedAreRefused) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPTabToolBar* bar = addModes(app, false);
    EXPECT_EQ(bar->InsertCategory(-1, L"", kView, 1), nullptr);
    EXPECT_EQ(bar->InsertCategory(-1, nullptr, kView, 1), nullptr);
    EXPECT_EQ(bar->InsertCategory(-1, L"Draw", nullptr, 2), nullptr);
    EXPECT_EQ(bar->InsertCategory(-1, L"Draw", kView, -1), nullptr);
    EXPECT_EQ(bar->GetCategoryCount(), 0);
    EXPECT_EQ(bar->GetControlCount(), 0);
    // An empty category is a tab with nothing under it; a position past the end appends.
    ASSERT_NE(bar->InsertCategory(-1, L"Empty", nullptr, 0), nullptr);
    ASSERT_NE(bar->InsertCategory(99, L"Texts", kView, 1, FALSE), nullptr);
    EXPECT_EQ(bar->GetTabManager()->GetItem(1)->GetCaption(), L"Texts");
    EXPECT_EQ(bar->FindControl(700)->GetStyle(), xtpButtonCaption) << "without icons the caption shows";
}

TEST_F(TabToolBarTest, TheCategoriesAndTheSelectionSurviveTheStoredLayout) {
    CString xml;
    {
        App app;
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        CXTPTabToolBar* bar = addModes(app);
        bar->GetTabManager()->GetItem(0)->SetVisible(FALSE);
        bar->SelectCategory(2);
        run.pump();
        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"CommandBars");
        XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
        param.bSaveOnlyCustomized = FALSE;
        app.frame.GetCommandBars()->DoPropExchange(&px, &param);
        xml = px.GetXML();
    }
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    CXTPTabToolBar* bar = addModes(app, false);
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(px.LoadFromString(xml));
    app.frame.GetCommandBars()->DoPropExchange(&px);
    run.pump();
    ASSERT_EQ(bar->GetCategoryCount(), 3);
    EXPECT_EQ(bar->GetTabManager()->GetItem(1)->GetCaption(), L"Modify");
    EXPECT_FALSE(bar->GetTabManager()->GetItem(0)->IsVisible());
    ASSERT_NE(bar->GetSelectedCategory(), nullptr);
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"View");
    EXPECT_EQ(shown(bar), "700");
    EXPECT_EQ(bar->GetControlCount(), 8);
    bar->SelectCategory(1);
    EXPECT_EQ(shown(bar), "600 601 602 603") << "the controls came back in their categories";

    // A damaged layout: tabs without a caption or twice the same are dropped, a selection out of
    // range leaves the first visible tab selected.
    CXTPPropExchangeXMLNode damaged(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(damaged.LoadFromString(
        L"<CommandBars><Bar Id=\"300\" SelectedTab=\"7\"><Category Caption=\"Modify\"/><Category/>"
        L"<Category Caption=\"Modify\"/><Category Caption=\"View\"/></Bar></CommandBars>"));
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM layoutOnly;
    layoutOnly.bSerializeControls = FALSE;
    app.frame.GetCommandBars()->DoPropExchange(&damaged, &layoutOnly);
    ASSERT_EQ(bar->GetCategoryCount(), 2);
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"Modify");
    EXPECT_EQ(shown(bar), "600 601 602 603");
}

class TabToolBarThemes : public TabToolBarTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(TabToolBarThemes, TheStripIsPaintedInTheThemesColours) {
    const std::wstring theme = GetParam();
    CXTPPaintManager* pm = CXTPPaintManager::GetInstanceAddRef();
    ASSERT_TRUE(pm->SetTheme(theme.c_str()));
    {
        App app;
        pal::test::AppRun run(app);
        ASSERT_TRUE(run.init());
        CXTPTabToolBar* bar = addModes(app);
        for (CXTPControl* c : *bar->GetControls())
            c->SetFlags(xtpFlagManualUpdate); // enabled, as the program's commands would be
        bar->SelectCategory(1);
        run.pump();
        pal::test::mouseMove(tabAt(bar, 2)); // the pointer over another tab
        run.pump();
        const std::string name(theme.begin(), theme.end());
        save(app.frame.m_hWnd, "tab-toolbar-" + name);

        const XTP_TAB_COLORSET colours = CXTPTabPaintManager::ColorSetFromTheme(pm->GetColors());
        const auto picture = pal::test::snapshot(bar->m_hWnd);
        const CRect selected = bar->GetSelectedCategory()->GetRect();
        EXPECT_EQ(picture.pixel(selected.left + 3, selected.bottom - 3), colours.clrTabSelected);
        EXPECT_EQ(picture.pixel(selected.left + 3, selected.top), colours.clrAccent) << "the accent line";
        const CRect hot = bar->GetTabManager()->GetItem(2)->GetRect();
        EXPECT_EQ(picture.pixel(hot.left + 3, hot.bottom - 3), colours.clrTabHighlight);
        const CRect button = bar->FindControl(600)->GetRect();
        EXPECT_EQ(picture.pixel(button.left + 1, button.top + 1), pm->GetColors().clrBarFace);
    }
    pm->SetTheme(L"office2013light"); // the theme is the process's: the next test starts from the default
    CXTPPaintManager::ReleaseInstance();
}

INSTANTIATE_TEST_SUITE_P(Themes, TabToolBarThemes, testing::Values(L"office2013light", L"msvs2015dark"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring w(info.param);
                             return std::string(w.begin(), w.end());
                         });

} // namespace
} // namespace bars_test
