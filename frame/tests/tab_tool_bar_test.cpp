#include "frame/TabToolBar.h"

#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

namespace {

using Dravik::UniqueIdentifier;

UniqueIdentifier idOf(const wchar_t* text) {
    return UniqueIdentifier::TryParse(text).value();
}

const UniqueIdentifier kDraw = idOf(L"{11111111-0000-0000-0000-000000000001}");
const UniqueIdentifier kEdit = idOf(L"{11111111-0000-0000-0000-000000000002}");
const UniqueIdentifier kView = idOf(L"{11111111-0000-0000-0000-000000000003}");

std::vector<std::wstring> captions(const CommandSetTabs& tabs) {
    std::vector<std::wstring> out;
    for (const auto& tab : tabs.tabs)
        out.push_back(tab.caption);
    return out;
}

TEST(TabToolBar, ANewTabGetsTheTabListAndTheStandardCommands) {
    const UINT ids[] = {1300, 1301};
    EXPECT_EQ(TabCommandIds(ids, false), (std::vector<UINT>{1075, 0, 1300, 1301}));
    EXPECT_EQ(TabCommandIds(ids, true), (std::vector<UINT>{1075, 0, 1065, 1064, 1072, 0, 1001, 1029, 1027, 0,
                                                           1115, 1117, 0, 1300, 1301}));
    EXPECT_EQ(TabCommandIds({}, false), (std::vector<UINT>{1075, 0}));
}

TEST(TabToolBar, TabsGoBeforeTheNamedTabOrAtTheEnd) {
    CommandSetTabs tabs;
    tabs.showTabs = true;
    std::vector<UINT> commands;
    EXPECT_EQ(tabs.AddTab(L"Draw", {}, kDraw, L"", std::nullopt, true, true, commands), 0u);
    EXPECT_EQ(tabs.AddTab(L"View", {}, kView, L"", kDraw, true, false, commands), 0u);
    EXPECT_EQ(tabs.AddTab(L"Edit", {}, kEdit, L"App", idOf(L"{99999999-0000-0000-0000-000000000000}"), false,
                          false, commands),
              2u);
    EXPECT_EQ(captions(tabs), (std::vector<std::wstring>{L"View", L"Draw", L"Edit"}));
    EXPECT_EQ(tabs.RecordOf(0)->id, kView);
    EXPECT_EQ(tabs.RecordOf(2)->appKey, L"App");
    EXPECT_FALSE(tabs.tabs[2].shown); // not visible
    EXPECT_TRUE(tabs.tabs[0].shown);
    EXPECT_FALSE(tabs.RecordOf(1)->user);

    const std::size_t user = tabs.AddUserTab(L"Mine");
    EXPECT_EQ(user, 3u);
    EXPECT_TRUE(tabs.RecordOf(user)->user);
    EXPECT_NE(tabs.RecordOf(user)->id, UniqueIdentifier{});
    EXPECT_NE(GenerateUniqueIdentifier(), GenerateUniqueIdentifier());
}

TEST(TabToolBar, UniqueIdentifiersAsText) {
    EXPECT_EQ(UniqueIdentifierToString(kDraw), L"{11111111-0000-0000-0000-000000000001}");
    EXPECT_EQ(UniqueIdentifier::TryParse(UniqueIdentifierToString(GenerateUniqueIdentifier())).has_value(),
              true);
}

CommandSetTabs sampleTabs() {
    CommandSetTabs tabs;
    tabs.showTabs = true;
    tabs.largeIcons = true;
    tabs.defaultState = kEdit;
    std::vector<UINT> commands;
    tabs.AddTab(L"Draw", {}, kDraw, L"", std::nullopt, true, true, commands);
    tabs.AddTab(L"Edit", {}, kEdit, L"Vendor.App", std::nullopt, false, true, commands);
    tabs.records[1].accelModifiers = 8;
    tabs.records[1].accelKey = 0x45;
    tabs.AddUserTab(L"Mine");
    return tabs;
}

std::wstring store(CommandSetTabs& tabs) {
    CXTPPropExchangeXMLNode exchange(FALSE, nullptr, L"Bar");
    tabs.DoPropExchange(&exchange);
    return exchange.GetXML().GetString();
}

void load(CommandSetTabs& tabs, const std::wstring& xml) {
    CXTPPropExchangeXMLNode exchange(TRUE, nullptr, L"Bar");
    ASSERT_TRUE(exchange.LoadFromString(xml.c_str()));
    tabs.DoPropExchange(&exchange);
}

TEST(TabToolBar, TheCommandSetsComeBackFromTheLayout) {
    CommandSetTabs tabs = sampleTabs();
    const std::wstring xml = store(tabs);
    CommandSetTabs back;
    load(back, xml);
    EXPECT_TRUE(back.showTabs);
    EXPECT_TRUE(back.largeIcons);
    EXPECT_FALSE(back.locked);
    EXPECT_EQ(back.defaultState, kEdit);
    EXPECT_EQ(back.records, tabs.records);
    EXPECT_EQ(captions(back), captions(tabs));

    // Loading again replaces the tabs instead of adding to them.
    load(back, xml);
    EXPECT_EQ(back.tabs.size(), 3u);
    EXPECT_EQ(back.records.size(), 3u);
    EXPECT_EQ(store(back), xml);
}

TEST(TabToolBar, UnreadableValuesKeepTheirDefaults) {
    CommandSetTabs tabs;
    tabs.defaultState = kView;
    load(tabs, LR"(<Bar DefaultState="not an id" TabCount="2">
        <CommandSet TabName="A" ID="{bad}"/>
        <CommandSet TabName="B" ID="{11111111-0000-0000-0000-000000000002}" Visible="0" User="1" AccelKey="7"/>
        </Bar>)");
    EXPECT_EQ(tabs.defaultState, kView);
    ASSERT_EQ(tabs.records.size(), 2u);
    EXPECT_EQ(tabs.records[0].id, UniqueIdentifier{});
    EXPECT_TRUE(tabs.records[0].visible);
    EXPECT_FALSE(tabs.records[0].user);
    EXPECT_EQ(tabs.records[1].id, kEdit);
    EXPECT_FALSE(tabs.records[1].visible);
    EXPECT_TRUE(tabs.records[1].user);
    EXPECT_EQ(tabs.records[1].accelKey, 7);
    EXPECT_EQ(captions(tabs), (std::vector<std::wstring>{L"A", L"B"}));
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
