// The find-command pane: its list follows the search box key by key, folds a burst of new
// commands into one rebuild, runs and offers commands only where they are enabled, acts on the
// frame that shows it, and opens the help of the card under the pointer.
#include "ribbon/FindCommandWnd.h"

#include "ribbon/ExtendedToolTip.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "afxwin.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

// Frames are plain windows the test names; commands in `disabled` are off everywhere.
class RecordingHost : public FindCommandHost {
public:
    CWnd* GetFrameOfWindow(CWnd* window) override {
        for (HWND h = window != nullptr ? window->m_hWnd : nullptr; h != nullptr; h = ::GetParent(h))
            for (CWnd* frame : frames)
                if (frame->m_hWnd == h)
                    return frame;
        return nullptr;
    }
    bool IsCommandEnabled(int id, CWnd*, CWnd*) override { return disabled.count(id) == 0; }
    CXTPImageManagerIcon* GetCommandIcon(int) override { return nullptr; }
    bool IsRibbonMode(CWnd*) override { return ribbonMode; }
    void FindInToolBars(CWnd* frame, int id) override { actions.push_back({"locate", frame, id}); }
    bool AddToRibbon(CWnd* frame, int id) override {
        actions.push_back({"add", frame, id});
        return true;
    }
    void ShowHelpTopic(UINT helpId) override {
        actions.push_back({"help", nullptr, static_cast<int>(helpId)});
    }
    bool ShowContextHelp(UINT helpId) override {
        actions.push_back({"context help", nullptr, static_cast<int>(helpId)});
        return true;
    }
    void RunCommand(CWnd* frame, int id) override { actions.push_back({"run", frame, id}); }

    struct Action {
        std::string what;
        CWnd* frame;
        int id;
        bool operator==(const Action& o) const { return what == o.what && frame == o.frame && id == o.id; }
    };
    std::vector<CWnd*> frames;
    std::set<int> disabled;
    bool ribbonMode = true;
    std::vector<Action> actions;
};

void PrintTo(const RecordingHost::Action& a, std::ostream* os) {
    *os << a.what << " " << a.frame << " " << a.id;
}

class FindCommandPaneTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::resetUserState();
        ASSERT_TRUE(Dravik::I18n::LoadLanguage(L"Eng"));
        GetOptions().findBySynonyms = 0;
        previous = FindCommandHost::Install(&host);
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(frames[i].CreateEx(0, L"STATIC", L"frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                           40 + 420 * i, 40, 400, 500, nullptr, nullptr));
            host.frames.push_back(&frames[i]);
            ASSERT_TRUE(panes[i].Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 500),
                                        &frames[i], 1028));
        }
        describe(15101, L"Zigzag line", L"");
        describe(15102, L"Zigzag arc", L"Draws an arc in steps");
        host.disabled.insert(15102);
        pal::test::pump();
    }
    void TearDown() override {
        for (int i = 0; i < 2; ++i) {
            panes[i].DestroyWindow();
            frames[i].DestroyWindow();
        }
        FindCommandHost::Install(previous);
        GetOptions().findBySynonyms = 0;
        pal::test::resetUserState();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }

    static void describe(UINT id, const std::wstring& caption, const std::wstring& description,
                         const std::wstring& name = {}) {
        DVCommandContainer::Instance().RegisterCommand(
            id, name.empty() ? L"PaneTest." + std::to_wstring(id) : name, DVCommandFlags());
        UIModuleProxy::CommandStrings strings;
        strings.Caption = strings.Title = caption;
        strings.Description = description.empty() ? caption : description;
        UIModuleProxy::Instance().SetCommandStrings(id, strings);
    }

    FindCommandDialog& dialog(int i = 0) { return *panes[i].GetDialog(); }
    CCommandList& list(int i = 0) { return dialog(i).GetList(); }

    std::vector<int> listedIds(int i = 0) {
        std::vector<int> ids;
        for (int row = 0; row < list(i).GetItemCount(); ++row)
            ids.push_back(static_cast<int>(list(i).GetItemData(row)));
        return ids;
    }

    void type(const std::wstring& text, int i = 0) {
        CFindCommandComboBox& box = dialog(i).GetSearchBox();
        box.SetWindowText(text.c_str());
        dialog(i).SendMessage(WM_COMMAND, MAKEWPARAM(FindCommandDialog::kSearchBoxId, CBN_EDITCHANGE),
                              reinterpret_cast<LPARAM>(box.m_hWnd));
    }

    void select(int row, int i = 0) {
        list(i).SetItemState(-1, 0, LVIS_SELECTED);
        if (row >= 0)
            list(i).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    std::vector<UINT> menuIds(int i = 0) {
        HMENU menu = list(i).BuildContextMenu(host.GetFrameOfWindow(&list(i)));
        std::vector<UINT> ids;
        for (int k = 0; k < ::GetMenuItemCount(menu); ++k)
            ids.push_back(::GetMenuItemID(menu, k));
        ::DestroyMenu(menu);
        return ids;
    }

    RecordingHost host;
    FindCommandHost* previous = nullptr;
    CWnd frames[2];
    CFindCommandWnd panes[2];
};

TEST_F(FindCommandPaneTest, TheListFollowsEachKeyAndEnterKeepsTheTrimmedTextOnce) {
    const struct {
        const wchar_t* typed;
        std::vector<int> listed;
    } steps[] = {
        {L"zigz", {15102, 15101}}, {L"zigzag l", {15101}}, {L"zigzag li", {15101}},
        {L"zigzag lix", {}},       {L"15102", {15102}},
    };
    for (const auto& step : steps) {
        type(step.typed);
        EXPECT_EQ(listedIds(), step.listed) << pal::text::toUtf8(step.typed);
        EXPECT_TRUE(dialog().IsListCurrent());
    }
    // Enter keeps the text without its spaces, once; choosing it again from the list filters.
    CFindCommandComboBox& box = dialog().GetSearchBox();
    for (int i = 0; i < 2; ++i) {
        box.SetWindowText(L"  zigzag a  ");
        MSG enter{box.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        box.PreTranslateMessage(&enter);
    }
    ASSERT_EQ(box.GetCount(), 1);
    CString kept;
    box.GetLBText(0, kept);
    EXPECT_EQ(std::wstring(kept.GetString()), L"zigzag a");
    type(L"nothing at all");
    box.SetCurSel(0);
    dialog().SendMessage(WM_COMMAND, MAKEWPARAM(FindCommandDialog::kSearchBoxId, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(box.m_hWnd));
    EXPECT_EQ(listedIds(), std::vector<int>{15102});
    EXPECT_EQ(dialog().GetTypedFilter(), L"zigzag a");
}

TEST_F(FindCommandPaneTest, TheMenuOffersWhatTheSelectionAndTheFrameAllow) {
    type(L"zigzag");
    ASSERT_EQ(listedIds(), (std::vector<int>{15102, 15101}));
    const std::vector<UINT> all{ID_FINDCOMMAND_RUN, ID_FINDCOMMAND_FIND_IN_TOOLBARS,
                                ID_FINDCOMMAND_ADD_TO_RIBBON, ID_FINDCOMMAND_HELP,
                                ID_FINDCOMMAND_BY_SYNONYMS};
    const struct {
        const char* name;
        int row;
        bool ribbon;
        bool inFrame;
        std::vector<UINT> items;
    } cases[] = {
        {"no row", -1, true, true, {ID_FINDCOMMAND_BY_SYNONYMS}},
        {"enabled row", 1, true, true, all},
        {"disabled row: not run",
         0,
         true,
         true,
         {ID_FINDCOMMAND_FIND_IN_TOOLBARS, ID_FINDCOMMAND_ADD_TO_RIBBON, ID_FINDCOMMAND_HELP,
          ID_FINDCOMMAND_BY_SYNONYMS}},
        {"no ribbon",
         1,
         false,
         true,
         {ID_FINDCOMMAND_RUN, ID_FINDCOMMAND_FIND_IN_TOOLBARS, ID_FINDCOMMAND_HELP,
          ID_FINDCOMMAND_BY_SYNONYMS}},
        {"no frame", 1, true, false, {ID_FINDCOMMAND_HELP, ID_FINDCOMMAND_BY_SYNONYMS}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.row);
        host.ribbonMode = c.ribbon;
        host.frames = c.inFrame ? std::vector<CWnd*>{&frames[0], &frames[1]} : std::vector<CWnd*>{};
        EXPECT_EQ(menuIds(), c.items);
    }
    // Run is the menu's default item.
    host.frames = {&frames[0], &frames[1]};
    select(1);
    HMENU menu = list().BuildContextMenu(&frames[0]);
    EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), ID_FINDCOMMAND_RUN);
    ::DestroyMenu(menu);
}

TEST_F(FindCommandPaneTest, TheSynonymsItemTogglesTheOptionRefreshesAndFlipsItsCheck) {
    type(L"zigzag");
    const auto checked = [&] {
        HMENU menu = list().BuildContextMenu(&frames[0]);
        const UINT state = ::GetMenuState(menu, ID_FINDCOMMAND_BY_SYNONYMS, MF_BYCOMMAND);
        ::DestroyMenu(menu);
        return (state & MF_CHECKED) != 0;
    };
    EXPECT_FALSE(checked());
    describe(15103, L"Zigzag spline", L"");
    dialog().MarkListStale();
    list().OnContextMenuCommand(ID_FINDCOMMAND_BY_SYNONYMS, &frames[0]);
    EXPECT_EQ(GetOptions().findBySynonyms, 1);
    EXPECT_TRUE(checked());
    EXPECT_TRUE(dialog().IsListCurrent());
    EXPECT_EQ(listedIds().size(), 3u) << "refreshed at once";
    list().OnContextMenuCommand(ID_FINDCOMMAND_BY_SYNONYMS, &frames[0]);
    EXPECT_EQ(GetOptions().findBySynonyms, 0);
    EXPECT_FALSE(checked());
}

// Each pane's menu and double click act on the frame that shows that pane, not on a main frame
// elsewhere.
TEST_F(FindCommandPaneTest, EachPaneActsOnItsOwnFrameAndRunsOnlyEnabledCommands) {
    for (int i = 0; i < 2; ++i) {
        type(L"zigzag", i);
        select(1, i);
        for (UINT command : {ID_FINDCOMMAND_RUN, ID_FINDCOMMAND_FIND_IN_TOOLBARS,
                             ID_FINDCOMMAND_ADD_TO_RIBBON, ID_FINDCOMMAND_HELP})
            list(i).OnContextMenuCommand(command, host.GetFrameOfWindow(&list(i)));
        dialog(i).RunRow(1);
        dialog(i).RunRow(0); // disabled
        dialog(i).RunRow(7); // no such row
    }
    using A = RecordingHost::Action;
    const std::vector<A> expected{
        {"run", &frames[0], 15101},    {"locate", &frames[0], 15101}, {"add", &frames[0], 15101},
        {"help", nullptr, 1510100},    {"run", &frames[0], 15101},    {"run", &frames[1], 15101},
        {"locate", &frames[1], 15101}, {"add", &frames[1], 15101},    {"help", nullptr, 1510100},
        {"run", &frames[1], 15101},
    };
    EXPECT_EQ(host.actions, expected);

    // The real menu, opened by the context-menu message and answered with the keyboard.
    host.actions.clear();
    select(1, 1);
    pal::test::pressKey(VK_DOWN);
    pal::test::pressKey(VK_RETURN);
    CRect row;
    list(1).GetItemRect(1, &row, LVIR_BOUNDS);
    list(1).ClientToScreen(&row);
    list(1).SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list(1).m_hWnd),
                        MAKELPARAM(row.CenterPoint().x, row.CenterPoint().y));
    EXPECT_EQ(host.actions, (std::vector<A>{{"run", &frames[1], 15101}}));
}

TEST_F(FindCommandPaneTest, TenRegistrationsCauseOneRebuildAndAHiddenPaneCatchesUpWhenShown) {
    type(L"zigzag");
    ASSERT_TRUE(dialog().IsListCurrent());
    for (int i = 0; i < 10; ++i) {
        describe(15110 + i, L"Zigzag " + std::to_wstring(i), L"");
        panes[0].OnCommandRegistered(15110 + i);
    }
    EXPECT_FALSE(dialog().IsListCurrent());
    int posted = 0;
    MSG msg;
    while (::PeekMessageW(&msg, dialog().m_hWnd, WM_USER, WM_USER, PM_REMOVE)) {
        ++posted;
        ::DispatchMessageW(&msg);
    }
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(listedIds().size(), 12u);

    // A command without a caption, or registered while the list is stale, posts nothing more.
    DVCommandContainer::Instance().RegisterCommand(15130, L"PaneTest.Nameless", DVCommandFlags());
    panes[0].OnCommandRegistered(15130);
    EXPECT_FALSE(::PeekMessageW(&msg, dialog().m_hWnd, WM_USER, WM_USER, PM_NOREMOVE));

    // Hidden: the message finds the dialog hidden; showing the pane lists the new command.
    panes[0].ShowWindow(SW_HIDE);
    describe(15131, L"Zigzag hidden", L"");
    panes[0].OnCommandRegistered(15131);
    pal::test::pump();
    EXPECT_FALSE(dialog().IsListCurrent());
    panes[0].ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog().IsListCurrent());
    const std::vector<int> ids = listedIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), 15131), ids.end());
}

TEST_F(FindCommandPaneTest, HelpFollowsTheCardUnderThePointerAndOtherwiseLeavesF1ToTheFrame) {
    // A command with a card of its own.
    describe(15140, L"Zigzag card", L"", L"CardTest.TwoParts");
    type(L"zigzag card");
    ASSERT_EQ(listedIds(), std::vector<int>{15140});
    EXPECT_FALSE(panes[0].ShowToolTipHelp()) << "no card yet";
    CRect row;
    list().GetItemRect(0, &row, LVIR_BOUNDS);
    const CPoint inside = row.CenterPoint();
    POINT screen = inside;
    list().ClientToScreen(&screen);
    pal::test::mouseMove(screen);
    pal::test::pump();
    advance(::GetDoubleClickTime());
    pal::test::pump();
    CDVToolTipContext* context = list().GetToolTipContext();
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(context->GetToolTip()->IsWindowVisible());
    EXPECT_TRUE(panes[0].ShowToolTipHelp());
    EXPECT_EQ(host.actions, (std::vector<RecordingHost::Action>{{"context help", nullptr, 1514000}}));
    context->CancelToolTips();
    EXPECT_FALSE(panes[0].ShowToolTipHelp());
}

TEST_F(FindCommandPaneTest, OddFiltersListNothingAndBreakNothing) {
    const std::wstring filters[] = {
        std::wstring(10000, L'z'),
        std::wstring(L"\x01\x02\t\r\n\x1b\x7f", 7),
    };
    for (const std::wstring& filter : filters) {
        type(filter);
        EXPECT_TRUE(listedIds().empty());
        EXPECT_TRUE(dialog().IsListCurrent());
    }
    type(L"");
    EXPECT_GE(listedIds().size(), 2u);
}

} // namespace
