#include "frame/ToolBarList.h"

#include "win/user/menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A menu written as text: ids, "-" for a separator, "(...)" for a submenu; "a(1,2),-,3".
HMENU buildMenu(const std::string& text, std::size_t& at) {
    HMENU menu = CreatePopupMenu();
    while (at < text.size() && text[at] != ')') {
        if (text[at] == ',') {
            ++at;
        } else if (text[at] == '-') {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ++at;
        } else if (text[at] == '(') {
            ++at;
            HMENU sub = buildMenu(text, at);
            ++at; // ')'
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
        } else {
            std::size_t end = at;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(std::stoul(text.substr(at, end - at))),
                        L"item");
            at = end;
        }
    }
    return menu;
}

HMENU buildMenu(const std::string& text) {
    std::size_t at = 0;
    return buildMenu(text, at);
}

std::string describe(HMENU menu) {
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (i > 0)
            out += ',';
        if (HMENU sub = GetSubMenu(menu, i))
            out += "(" + describe(sub) + ")";
        else if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            out += '-';
        else
            out += std::to_string(GetMenuItemID(menu, i));
    }
    return out;
}

struct PruneCase {
    const char* before;
    const char* after;
};

TEST(ToolBarList, PruneMenuLeavesNoStraySeparators) {
    const UINT ids[] = {787, 788, 798};
    const PruneCase cases[] = {
        {"1,2,3", "1,2,3"},
        {"787,-,1", "1"},
        {"1,-,787,-,2", "1,-,2"},
        {"1,-,-,2", "1,-,2"},
        {"-,1,-", "1"},
        {"1,(787,788),2", "1,2"},
        {"1,(-,787,-,5,-),2", "1,(5),2"},
        {"(1,(787),-,798)", "(1)"},
        {"787,788,798", ""},
        {"", ""},
    };
    for (const PruneCase& c : cases) {
        HMENU menu = buildMenu(c.before);
        PruneMenu(menu, ids);
        EXPECT_EQ(describe(menu), c.after) << c.before;
        DestroyMenu(menu);
    }
}

TEST(ToolBarList, WithoutTheWorkMixEveryPdmPaneToggleIsPruned) {
    HMENU menu = buildMenu("((0),781,787,788,789,-,791,814,798,819,825,-,790,826)");
    PruneMenu(menu, PdmPaneToggleCommands());
    EXPECT_EQ(describe(menu), "((0),781,-,790,826)");
    DestroyMenu(menu);
}

struct ListedCase {
    const char* what;
    ToolBarTraits bar;
    bool pdm;
    bool listed;
};

ToolBarTraits bar(std::wstring title) {
    ToolBarTraits traits;
    traits.id = 59392;
    traits.title = std::move(title);
    return traits;
}

template <class F> ToolBarTraits with(ToolBarTraits traits, F change) {
    change(traits);
    return traits;
}

TEST(ToolBarList, WhichBarsAreListed) {
    const ListedCase cases[] = {
        {"ordinary", bar(L"Draw"), false, true},
        {"menu bar", with(bar(L"Menu"), [](auto& t) { t.menuBar = true; }), false, false},
        {"not in context menus", with(bar(L"Ribbon"), [](auto& t) { t.contextMenuPresent = false; }), false,
         false},
        {"second option off", with(bar(L"X"), [](auto& t) { t.closeable = false; }), false, false},
        {"id 1001", with(bar(L"X"), [](auto& t) { t.id = 1001; }), false, false},
        {"id 1002", with(bar(L"X"), [](auto& t) { t.id = 1002; }), false, false},
        {"no window", with(bar(L"X"), [](auto& t) { t.hasWindow = false; }), false, false},
        {"no title", bar(L""), false, false},
        {"work-mix bar hidden", with(bar(L"PDM"), [](auto& t) { t.visible = false; }), false, false},
        {"work-mix bar shown", bar(L"PDM"), false, true},
        {"work-mix bar hidden, work mix on", with(bar(L"PDM"), [](auto& t) { t.visible = false; }), true,
         true},
        {"hidden ordinary", with(bar(L"Draw"), [](auto& t) { t.visible = false; }), false, true},
    };
    for (const ListedCase& c : cases)
        EXPECT_EQ(IsToolBarListed(c.bar, c.pdm, L"PDM"), c.listed) << c.what;
}

TEST(ToolBarList, EntriesAreGroupedAndSortedWithSeparators) {
    std::vector<ToolBarListEntry> entries = {
        {2, 9, L"Zeta app", true}, {0, 1, L"B", true}, {2, 8, L"Alpha app", false}, {0, 2, L"A", false}};
    SortToolBarList(entries);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].title, L"A");
    EXPECT_EQ(entries[1].title, L"B");
    EXPECT_EQ(entries[2].title, L"Alpha app");
    EXPECT_EQ(entries[3].title, L"Zeta app");

    HMENU menu = buildMenu("(0),781,782");
    FillToolBarListMenu(menu, entries);
    EXPECT_EQ(describe(menu), "(700,701,-,702,703),781,782");
    HMENU list = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuState(list, 700, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(list, 701, MF_BYCOMMAND) & MF_CHECKED, 0u);
    DestroyMenu(menu);

    EXPECT_EQ(ToolBarListCommandBar(entries, 700), 2u);
    EXPECT_EQ(ToolBarListCommandBar(entries, 703), 9u);
    EXPECT_EQ(ToolBarListCommandBar(entries, 704), 0u);
    EXPECT_EQ(ToolBarListCommandBar(entries, 699), 0u);
}

TEST(ToolBarList, WithoutListedBarsTheSubmenuGoes) {
    HMENU menu = buildMenu("(0),781,782");
    FillToolBarListMenu(menu, {});
    EXPECT_EQ(describe(menu), "781,782");
    DestroyMenu(menu);
}

} // namespace
