#include "frame/TabToolBar.h"

#include "xtp/PropExchange.h"

#include <memory>

#include <gtest/gtest.h>

namespace {

using Dravik::UniqueIdentifier;

UniqueIdentifier idOf(const wchar_t* text) {
    return UniqueIdentifier::TryParse(text).value();
}

const UniqueIdentifier kDraw = idOf(L"{11111111-0000-0000-0000-000000000001}");
const UniqueIdentifier kEdit = idOf(L"{11111111-0000-0000-0000-000000000002}");
const UniqueIdentifier kView = idOf(L"{11111111-0000-0000-0000-000000000003}");

std::vector<std::wstring> captions(const CDVTabToolBar& bar) {
    std::vector<std::wstring> out;
    for (int i = 0; i < bar.GetTabManager()->GetItemCount(); ++i)
        out.push_back(bar.GetTabManager()->GetItem(i)->GetCaption().GetString());
    return out;
}

CommandSetRecord recordAt(const CDVTabToolBar& bar, int index) {
    return bar.RecordOf(bar.GetTabManager()->GetItem(index)).value_or(CommandSetRecord{});
}

TEST(TabToolBar, ANewTabGetsTheTabListAndTheStandardCommands) {
    const UINT ids[] = {1300, 1301};
    EXPECT_EQ(TabCommandIds(ids, false), (std::vector<UINT>{1075, 0, 1300, 1301}));
    EXPECT_EQ(TabCommandIds(ids, true), (std::vector<UINT>{1075, 0, 1065, 1064, 1072, 0, 1001, 1029, 1027, 0,
                                                           1115, 1117, 0, 1300, 1301}));
    EXPECT_EQ(TabCommandIds({}, false), (std::vector<UINT>{1075, 0}));
}

TEST(TabToolBar, TabsGoBeforeTheNamedTabOrAtTheEnd) {
    CDVTabToolBar bar;
    const UINT ids[] = {1300};
    ASSERT_NE(bar.AddTab(L"Draw", ids, 1, kDraw, L"", std::nullopt, true, true), nullptr);
    bar.AddTab(L"View", nullptr, 0, kView, L"", kDraw, true, false);
    bar.AddTab(L"Edit", nullptr, 0, kEdit, L"App", idOf(L"{99999999-0000-0000-0000-000000000000}"), false,
               false);
    EXPECT_EQ(captions(bar), (std::vector<std::wstring>{L"View", L"Draw", L"Edit"}));
    EXPECT_EQ(recordAt(bar, 0).id, kView);
    EXPECT_EQ(recordAt(bar, 2).appKey, L"App");
    EXPECT_FALSE(bar.GetTabManager()->GetItem(2)->IsVisible()); // not visible
    EXPECT_TRUE(bar.GetTabManager()->GetItem(0)->IsVisible());
    EXPECT_FALSE(recordAt(bar, 1).user);
    // A tab marked hidden that is the current tab stays shown, or no tab would show its commands.
    CDVTabToolBar alone;
    CXTPTabManagerItem* only = alone.AddTab(L"Only", ids, 1, kEdit, L"", std::nullopt, false, false);
    ASSERT_NE(only, nullptr);
    ASSERT_TRUE(only->IsSelected());
    EXPECT_TRUE(only->IsVisible());
    EXPECT_FALSE(alone.AddTab(L"Next", ids, 1, kView, L"", std::nullopt, false, false)->IsVisible());
    // The tab's key is the UI library's tab key.
    EXPECT_EQ(bar.FindTab(UniqueIdentifierToGuid(kDraw)), bar.GetTabManager()->GetItem(1));

    // Each tab starts with the tab list, which opens the tabs as a menu.
    auto* list = dynamic_cast<CXTPControlPopup*>(bar.GetControls()->GetAt(0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetID(), 1075);
    EXPECT_EQ(list->GetCategory(), L"Draw");
    ASSERT_NE(list->GetCommandBar(), nullptr);
    EXPECT_EQ(list->GetCommandBar()->GetControls()->GetCount(), 2); // the hidden tab is not offered

    const UINT mine[] = {1300, 0, 1301};
    CXTPTabManagerItem* user = bar.AddUserTab(L"Mine", mine, 3);
    ASSERT_EQ(user, bar.GetTabManager()->GetItem(3));
    EXPECT_TRUE(bar.RecordOf(user)->user);
    EXPECT_NE(bar.RecordOf(user)->id, UniqueIdentifier{});
    EXPECT_NE(GenerateUniqueIdentifier(), GenerateUniqueIdentifier());

    bar.RenameTab(L"Mine", L"Ours");
    EXPECT_EQ(captions(bar).back(), L"Ours");
    EXPECT_EQ(bar.GetControls()->FindControl(1301)->GetCategory(), L"Ours");
}

TEST(TabToolBar, UniqueIdentifiersAsText) {
    EXPECT_EQ(UniqueIdentifierToString(kDraw), L"{11111111-0000-0000-0000-000000000001}");
    EXPECT_EQ(UniqueIdentifier::TryParse(UniqueIdentifierToString(GenerateUniqueIdentifier())).has_value(),
              true);
    const UniqueIdentifier id = GenerateUniqueIdentifier();
    EXPECT_EQ(GuidToUniqueIdentifier(UniqueIdentifierToGuid(id)), id);
}

void fill(CDVTabToolBar& tabs) {
    tabs.ShowTabs(TRUE);
    tabs.SetLargeIcons(true);
    tabs.SetDefaultState(kEdit);
    const UINT ids[] = {1300, 1301};
    tabs.AddTab(L"Draw", ids, 2, kDraw, L"", std::nullopt, true, true);
    CXTPTabManagerItem* edit =
        tabs.AddTab(L"Edit", nullptr, 0, kEdit, L"Vendor.App", std::nullopt, false, true);
    tabs.SetAccel(edit, 0x45, 8);
    tabs.AddUserTab(L"Mine", ids, 2);
}

std::wstring store(CDVTabToolBar& tabs) {
    CXTPPropExchangeXMLNode exchange(FALSE, nullptr, L"Bar");
    tabs.DoPropExchange(&exchange);
    return exchange.GetXML().GetString();
}

void load(CDVTabToolBar& tabs, const std::wstring& xml) {
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Bar");
    ASSERT_TRUE(exchange.LoadFromString(xml.c_str()));
    tabs.DoPropExchange(&exchange);
}

TEST(TabToolBar, TheCommandSetsComeBackFromTheLayout) {
    CDVTabToolBar tabs;
    fill(tabs);
    const std::wstring xml = store(tabs);
    CDVTabToolBar back;
    load(back, xml);
    EXPECT_TRUE(back.IsTabsVisible());
    EXPECT_TRUE(back.IsLargeIcons());
    EXPECT_FALSE(back.IsLocked());
    EXPECT_EQ(back.GetDefaultState(), kEdit);
    ASSERT_EQ(captions(back), captions(tabs));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(recordAt(back, i), recordAt(tabs, i)) << i;
    EXPECT_EQ(recordAt(back, 1).accelKey, 0x45);

    // Loading again, or over a bar that has its tabs already, replaces the tabs.
    load(back, xml);
    load(tabs, xml);
    for (CDVTabToolBar* bar : {&back, &tabs}) {
        EXPECT_EQ(captions(*bar), (std::vector<std::wstring>{L"Draw", L"Edit", L"Mine"}));
        EXPECT_EQ(store(*bar), xml);
    }
}

TEST(TabToolBar, UnreadableValuesKeepTheirDefaults) {
    CDVTabToolBar tabs;
    tabs.SetDefaultState(kView);
    load(tabs, LR"(<Bar DefaultState="not an id" TabCount="2">
        <CommandSet TabName="A" ID="{bad}"/>
        <CommandSet TabName="B" ID="{11111111-0000-0000-0000-000000000002}" Visible="0" User="1" AccelKey="7"/>
        <CommandSet TabName="B"/>
        <CommandSet TabName=""/>
        </Bar>)");
    EXPECT_EQ(tabs.GetDefaultState(), kView);
    EXPECT_FALSE(tabs.IsTabsVisible()); // a layout without the flag shows no tabs
    ASSERT_EQ(captions(tabs), (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(recordAt(tabs, 0).id, UniqueIdentifier{});
    EXPECT_TRUE(recordAt(tabs, 0).visible);
    EXPECT_FALSE(recordAt(tabs, 0).user);
    EXPECT_EQ(recordAt(tabs, 1).id, kEdit);
    EXPECT_FALSE(recordAt(tabs, 1).visible);
    EXPECT_TRUE(recordAt(tabs, 1).user);
    EXPECT_EQ(recordAt(tabs, 1).accelKey, 7);
}

TEST(TabToolBar, AnApplicationsCommandsTakeTheirNamesOnLoading) {
    CDVTabToolBar tabs;
    const UINT ids[] = {17001, 17002, 17003};
    tabs.AddTab(L"App", ids, 3, kDraw, L"Vendor.App", std::nullopt, true, false);
    for (int id : {17001, 17002, 17003}) {
        tabs.GetControls()->FindControl(id)->SetTooltip(L"old");
        tabs.GetControls()->FindControl(id)->SetCaption(L"old");
    }
    const std::wstring xml = store(tabs);
    SetApplicationCommandNameSource([](UINT id) -> std::optional<std::wstring> {
        if (id == 17001)
            return L"Check";
        if (id == 17002)
            return L"";
        return std::nullopt;
    });
    load(tabs, xml);
    SetApplicationCommandNameSource(nullptr);
    EXPECT_EQ(tabs.GetControls()->FindControl(17001)->GetCaption(), L"Check");
    EXPECT_EQ(tabs.GetControls()->FindControl(17001)->GetPrompt(), L"Check");
    EXPECT_EQ(tabs.GetControls()->FindControl(17002)->GetPrompt(), L"");
    EXPECT_EQ(tabs.GetControls()->FindControl(17002)->GetCaption(), L"old");
    EXPECT_EQ(tabs.GetControls()->FindControl(17003)->GetTooltip(), L"old");
}

TEST(TabToolBar, AClonedBarKeepsItsCommandSets) {
    CDVTabToolBar tabs;
    fill(tabs);
    std::unique_ptr<CXTPCommandBar> copy(tabs.Clone());
    auto* clone = dynamic_cast<CDVTabToolBar*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(captions(*clone), captions(tabs));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(recordAt(*clone, i), recordAt(tabs, i)) << i;
    EXPECT_EQ(clone->GetDefaultState(), kEdit);
}

std::vector<TabControl> systemTab(const std::wstring& caption) {
    std::vector<TabControl> controls;
    const UINT ids[] = {1300, 1301};
    bool group = false;
    for (const UINT id : TabCommandIds(ids, true)) {
        if (id == 0) {
            group = true; // the bar marks the control after a separator
            continue;
        }
        controls.push_back({static_cast<int>(id), caption, group});
        group = false;
    }
    controls.push_back({1400, L"Other tab", false});
    return controls;
}

TEST(TabToolBar, ATabsCommandsWithAndWithoutTheStandardOnes) {
    const auto controls = systemTab(L"Draw");
    EXPECT_EQ(CollectTabCommands(controls, L"Draw", false), (std::vector<UINT>{1300, 1301}));
    const auto all = CollectTabCommands(controls, L"Draw", true);
    EXPECT_EQ(all, (std::vector<UINT>{1065, 1064, 1072, 0, 1001, 1029, 1027, 0, 1115, 1117, 0, 1300, 1301}));

    // A person's tab without the standard commands keeps everything.
    const std::vector<TabControl> mine = {
        {1075, L"Mine"}, {1300, L"Mine", true}, {1301, L"Mine"}, {1302, L"Mine", true}};
    EXPECT_EQ(CollectTabCommands(mine, L"Mine", false), (std::vector<UINT>{1300, 1301, 0, 1302}));
}

} // namespace
