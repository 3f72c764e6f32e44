// The library's tabbed main tool bar on a frame's command bars: tabs with keys and shortcuts,
// the tab menu, the tab a set-up starts on, fixing, and the keys kept in the stored layout.
#include "DravikUI/TabbableToolBar.h"
#include "DravikUI/ToolBars.h"

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

namespace {

using Dravik::UI::TabbableToolBar;

// {2557C777-3AA3-4DE3-9C16-108D2E13BB03} and two more keys.
constexpr GUID kDraw = {0x2557C777, 0x3AA3, 0x4DE3, {0x9C, 0x16, 0x10, 0x8D, 0x2E, 0x13, 0xBB, 0x03}};
constexpr GUID kModify = {0xD773CF70, 0x44FC, 0x4055, {0xAC, 0xC1, 0xFA, 0x1A, 0xB0, 0xFD, 0xB9, 0x5A}};
constexpr GUID kView = {0x84452293, 0x56D2, 0x4E91, {0xBF, 0x71, 0xBD, 0xD2, 0xEE, 0xD1, 0xB4, 0xD5}};
constexpr UINT kDrawIds[] = {500, 501}, kModifyIds[] = {600, 0, 601}, kViewIds[] = {700};
constexpr BYTE kCtrl = FCONTROL | FVIRTKEY; // 9

class Frame : public CXTPMDIFrameWnd {
public:
    int OnCreate(LPCREATESTRUCTW lpcs) {
        return CXTPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars() ? -1 : 0;
    }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Frame, CXTPMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

using App = pal::test::OneFrameApp<Frame>;

class TabbableToolBarTest : public pal::test::SandboxTest {
protected:
    App app{L"Tabs", CRect(40, 40, 700, 300)};
    std::unique_ptr<pal::test::AppRun> run;
    void SetUp() override {
        SandboxTest::SetUp();
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
    }
    void TearDown() override {
        run.reset();
        TabbableToolBar::SetDefaultSystemToolbar(2, GUID_NULL);
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    TabbableToolBar* addBar(bool withTabs = true) {
        auto* bar = static_cast<TabbableToolBar*>(
            app.frame.GetCommandBars()->Add(L"Modes", xtpBarTop, RUNTIME_CLASS(TabbableToolBar)));
        bar->SetBarID(1000);
        if (withTabs) {
            bar->AddOriginalTab(L"Draw", kDrawIds, 2, kDraw, true, false);
            bar->AddOriginalTab(L"Modify", kModifyIds, 3, kModify, true, false);
            bar->AddOriginalTab(L"View", kViewIds, 1, kView, false, false);
        }
        return bar;
    }
    static std::wstring menuText(HMENU menu, int position) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
        return text;
    }
};

TEST_F(TabbableToolBarTest, TabsCarryTheirKeysAndTheSetUpsTabIsCurrent) {
    TabbableToolBar::SetDefaultSystemToolbar(2, kModify);
    EXPECT_EQ(TabbableToolBar::GetDefaultSystemToolbar(2), kModify);
    EXPECT_EQ(TabbableToolBar::GetDefaultSystemToolbar(5), GUID_NULL);
    TabbableToolBar* bar = addBar();
    ASSERT_EQ(bar->GetCategoryCount(), 3);
    EXPECT_EQ(bar->GetSelectedCategory()->GetCaption(), L"Modify");
    EXPECT_EQ(bar->GetGUID(bar->GetTabManager()->GetItem(2)), kView);
    EXPECT_EQ(bar->FindTab(kDraw), bar->GetTabManager()->GetItem(0));
    EXPECT_EQ(bar->FindTab(GUID_NULL), nullptr);
    EXPECT_EQ(bar->GetGUID(nullptr), GUID_NULL);
    EXPECT_FALSE(bar->FindTab(kView)->IsVisible());
    EXPECT_TRUE(Dravik::UI::IsFixable(bar));
    Dravik::UI::Fix(bar, true);
    EXPECT_TRUE(Dravik::UI::IsFixed(bar));
}

TEST_F(TabbableToolBarTest, ShortcutsSelectTabsAndShowInTheTabMenu) {
    TabbableToolBar* bar = addBar();
    CXTPTabManagerItem* draw = bar->FindTab(kDraw);
    CXTPTabManagerItem* modify = bar->FindTab(kModify);
    bar->SetAccel(draw, '1', kCtrl);
    bar->SetAccel(modify, '2', kCtrl);
    bar->SetAccel(bar->FindTab(kView), '3', kCtrl);
    bar->SetAccel(modify, 0, kCtrl); // taken away again
    EXPECT_EQ(bar->GetAccelModifiers(modify), 0);
    bar->SetAccel(modify, '2', kCtrl);
    bar->UpdateAccelerators();
    EXPECT_EQ(bar->GetMenuString(draw), L"Draw\tCtrl+1");
    EXPECT_EQ(bar->GetAccelKey(draw), '1');
    EXPECT_EQ(bar->GetAccelModifiers(draw), kCtrl);

    ACCEL table[8] = {};
    ASSERT_NE(bar->GetAccelerators(), nullptr);
    ASSERT_EQ(::CopyAcceleratorTableW(bar->GetAccelerators(), table, 8), 3);
    EXPECT_EQ(table[1].key, '2');
    EXPECT_EQ(table[1].cmd, TabbableToolBar::TabCommandFirst + 1);

    // The menu: visible tabs only, the current one checked.
    bar->SelectCategory(modify);
    HMENU menu = bar->BuildPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 2);
    EXPECT_EQ(menuText(menu, 0), L"Draw\tCtrl+1");
    EXPECT_EQ(::GetMenuItemID(menu, 1), TabbableToolBar::TabCommandFirst + 1);
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
    ::DestroyMenu(menu);

    // Their command selects the tab; a hidden tab's or another command does nothing.
    EXPECT_TRUE(bar->OnTabCommand(TabbableToolBar::TabCommandFirst));
    EXPECT_EQ(bar->GetSelectedCategory(), draw);
    EXPECT_FALSE(bar->OnTabCommand(TabbableToolBar::TabCommandFirst + 2));
    EXPECT_FALSE(bar->OnTabCommand(TabbableToolBar::TabCommandFirst + 40));
    EXPECT_FALSE(bar->OnTabCommand(100));
    EXPECT_EQ(bar->GetSelectedCategory(), draw);
}

TEST_F(TabbableToolBarTest, KeysAndShortcutsSurviveTheStoredLayout) {
    TabbableToolBar* bar = addBar();
    bar->SetAccel(bar->FindTab(kModify), '2', kCtrl);
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"CommandBars");
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
    param.bSaveOnlyCustomized = FALSE;
    app.frame.GetCommandBars()->DoPropExchange(&px, &param);
    CString xml = px.GetXML();

    // A new bar in its place, as a frame made again has.
    app.frame.GetCommandBars()->Remove(bar);
    TabbableToolBar* loaded = addBar(false);
    CXTPPropExchangeXMLNode in(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(in.LoadFromString(xml));
    app.frame.GetCommandBars()->DoPropExchange(&in);
    ASSERT_EQ(loaded->GetCategoryCount(), 3);
    EXPECT_EQ(loaded->GetTabManager()->GetItem(1)->GetCaption(), L"Modify");
    EXPECT_EQ(loaded->GetGUID(loaded->GetTabManager()->GetItem(1)), kModify);
    EXPECT_EQ(loaded->GetMenuString(loaded->FindTab(kModify)), L"Modify\tCtrl+2")
        << "accelerators made on loading";
    EXPECT_EQ(loaded->GetControlCount(), 5);

    // A key that does not read leaves the tab without one; a shortcut out of range is dropped.
    xml.Replace(L"{D773CF70-44FC-4055-ACC1-FA1AB0FDB95A}", L"{not a key}");
    xml.Replace(L"AccelKey=\"50\"", L"AccelKey=\"70000\"");
    CXTPPropExchangeXMLNode damaged(TRUE, nullptr, L"CommandBars");
    ASSERT_TRUE(damaged.LoadFromString(xml));
    app.frame.GetCommandBars()->DoPropExchange(&damaged);
    EXPECT_EQ(loaded->GetGUID(loaded->GetTabManager()->GetItem(1)), GUID_NULL);
    EXPECT_EQ(loaded->GetAccelKey(loaded->GetTabManager()->GetItem(1)), 0);
    EXPECT_EQ(loaded->GetGUID(loaded->GetTabManager()->GetItem(0)), kDraw);
}

} // namespace
