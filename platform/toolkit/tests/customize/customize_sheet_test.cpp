// The customise sheet and its keyboard page: a shortcut pressed and assigned there runs its
// command; keys are removed and reset; the tool kit's resources; the sheet's picture.
#include "XTToolkitPro.h"
#include "common/toolkit_test.h"
#include "pal/test/user_hooks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using dv::toolkit::test::ToolkitTest;
using Accel = CXTPShortcutManagerAccel;

constexpr UINT kNew = 57600, kOpen = 57601, kSave = 57603, kCopy = 57634, kPaste = 57637;

class Frame : public CFrameWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class CustomizeTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        frame = new Frame;
        ASSERT_TRUE(
            frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        ACCEL table[] = {{FVIRTKEY | FCONTROL, 'S', kSave}, {FVIRTKEY | FCONTROL, 'C', kCopy}};
        shortcuts.SetAccelerators(table, 2);
        sheet.SetShortcutManager(&shortcuts);
        const int file = keyboard.InsertCategory(L"File");
        keyboard.AddCommand(file, kNew, L"&New", L"Makes a new drawing");
        keyboard.AddCommand(file, kOpen, L"&Open...", L"Opens a drawing");
        keyboard.AddCommand(file, kSave, L"&Save", L"Saves the active drawing");
        const int edit = keyboard.InsertCategory(L"Edit");
        keyboard.AddCommand(edit, kCopy, L"&Copy", L"Copies the selection to the clipboard");
        keyboard.AddCommand(edit, kPaste, L"&Paste", L"Inserts the clipboard's contents");
        keyboard.AddCommand(edit, kPaste, L"Paste again"); // once only
        keyboard.AddCommand(edit, 999, L"");               // no caption: left out
        sheet.AddPage(&keyboard);
        ASSERT_TRUE(sheet.Create(frame));
        sheet.ShowWindow(SW_SHOW);
        ASSERT_EQ(sheet.GetPage(0), sheet.GetCommandsPage()); // the sheet's own page comes first
        ASSERT_TRUE(sheet.SetActivePage(&keyboard));
        pal::test::pump();
    }
    void TearDown() override {
        sheet.DestroyWindow();
        frame->DestroyWindow();
        ToolkitTest::TearDown();
    }
    std::vector<CString> keys() {
        std::vector<CString> out;
        auto* list = static_cast<CListBox*>(keyboard.GetDlgItem(XTP_IDC_LIST_KEYS));
        for (int i = 0; i < list->GetCount(); ++i) {
            CString s;
            list->GetText(i, s);
            out.push_back(s);
        }
        return out;
    }
    void click(UINT id) {
        CWnd* button = keyboard.GetDlgItem(static_cast<int>(id));
        ASSERT_TRUE(button->IsWindowEnabled()) << id;
        keyboard.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(button->m_hWnd));
    }
    CString text(UINT id) {
        CString s;
        keyboard.GetDlgItemText(static_cast<int>(id), s);
        return s;
    }

    Frame* frame = nullptr;
    CXTPShortcutManager shortcuts;
    CXTPCustomizeSheet sheet{nullptr};
    CXTPCustomizeKeyboardPage keyboard{&sheet};
};

TEST_F(CustomizeTest, AShortcutAssignedInTheKeyboardPageRunsItsCommand) {
    EXPECT_EQ(keyboard.GetCategories()[1].commands.size(), 2u);
    ASSERT_TRUE(keyboard.SelectCommand(kSave));
    EXPECT_EQ(keys(), std::vector<CString>{L"Ctrl+S"});
    EXPECT_EQ(text(XTP_IDC_TEXT_DESCRIPTION), CString(L"Saves the active drawing"));
    EXPECT_FALSE(keyboard.GetDlgItem(XTP_IDC_BUTTON_ASSIGN)->IsWindowEnabled());

    // A key already taken says by what.
    keyboard.GetKeyAssign().SetFocus();
    pal::test::pressKey('C', {VK_CONTROL});
    pal::test::pump();
    EXPECT_EQ(text(XTP_IDC_TEXT_ASSIGNMENTS), CString(L"Currently assigned to: Copy"));
    // A free one.
    pal::test::pressKey(VK_F12);
    pal::test::pressKey('S', {VK_CONTROL, VK_SHIFT});
    pal::test::pump();
    EXPECT_EQ(text(XTP_IDC_TEXT_ASSIGNMENTS), CString(L"Currently assigned to: [unassigned]"));
    click(XTP_IDC_BUTTON_ASSIGN);
    EXPECT_EQ(keys(), (std::vector<CString>{L"Ctrl+S", L"Ctrl+Shift+S"}));
    EXPECT_FALSE(keyboard.GetKeyAssign().IsKeyDefined());

    // The frame's keyboard now runs the command with it, and its text is the command's.
    frame->SetForegroundWindow();
    MSG key{frame->m_hWnd, WM_KEYDOWN, 'S', 0, 0, {}};
    pal::test::keyDown(VK_CONTROL);
    pal::test::keyDown(VK_SHIFT);
    pal::test::pump();
    EXPECT_TRUE(shortcuts.TranslateAccelerator(frame->m_hWnd, &key));
    pal::test::keyUp(VK_SHIFT);
    pal::test::keyUp(VK_CONTROL);
    EXPECT_EQ(frame->commands, std::vector<UINT>{kSave});
    const auto found = shortcuts.FindShortcuts(static_cast<int>(kSave));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(shortcuts.Format(&found[1]), CString(L"Ctrl+Shift+S"));
}

// The pages' lists and boxes are objects of their own classes, so that a call made on them as
// a list or a box is made on an object of that class and not on a bare window's.
TEST_F(CustomizeTest, ThePagesListsAndBoxesAreObjectsOfTheirClasses) {
    CXTPCustomizeCommandsPage* commands = sheet.GetCommandsPage();
    ASSERT_TRUE(sheet.SetActivePage(commands));
    pal::test::pump();
    ASSERT_TRUE(sheet.SetActivePage(&keyboard));
    pal::test::pump();
    const struct {
        CWnd* page;
        int id;
        bool box;
    } controls[] = {
        {commands, XTP_IDC_LIST_CATEGORIES, false},
        {&keyboard, XTP_IDC_COMBO_CATEGORY, true},
        {&keyboard, XTP_IDC_LIST_COMMANDS, false},
        {&keyboard, XTP_IDC_LIST_KEYS, false},
    };
    for (const auto& c : controls) {
        CWnd* control = c.page->GetDlgItem(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        if (c.box)
            EXPECT_NE(dynamic_cast<CComboBox*>(control), nullptr) << c.id;
        else
            EXPECT_NE(dynamic_cast<CListBox*>(control), nullptr) << c.id;
    }
}

TEST_F(CustomizeTest, KeysAreRemovedOneByOneAndResetAllRestoresTheOriginals) {
    keyboard.SelectCategory(1);
    ASSERT_TRUE(keyboard.SelectCommand(kCopy));
    auto* list = static_cast<CListBox*>(keyboard.GetDlgItem(XTP_IDC_LIST_KEYS));
    list->SetCurSel(0);
    keyboard.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_KEYS, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list->m_hWnd));
    click(XTP_IDC_BUTTON_REMOVE);
    EXPECT_TRUE(keys().empty());
    EXPECT_EQ(shortcuts.FindCommand(Accel(0, FCONTROL, 'C')), 0);

    answer(IDYES);
    click(XTP_IDC_BUTTON_RESETALL);
    EXPECT_EQ(keys(), std::vector<CString>{L"Ctrl+C"});
    EXPECT_EQ(shortcuts.FindCommand(Accel(0, FCONTROL, 'C')), static_cast<int>(kCopy));
}

TEST_F(CustomizeTest, TheToolKitsResourcesComeFirstWhileTheStateIsHeld) {
    const HINSTANCE before = AfxGetResourceHandle();
    {
        CXTPResourceManager::CManageState state;
        EXPECT_EQ(AfxGetResourceHandle(), XTPResourceManager()->GetResourceHandle());
        state.Undo();
        EXPECT_EQ(AfxGetResourceHandle(), before);
        state.Redo();
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_EQ(XTPResourceManager()->LoadString(XTP_IDS_ALLCOMMANDS), CString(L"All Commands"));
    for (UINT id = XTP_IDS_ANIMATION_SYSDEF; id <= XTP_IDS_ANIMATION_NONE; ++id)
        EXPECT_FALSE(XTPResourceManager()->LoadString(id).IsEmpty()) << id;
}

TEST_F(CustomizeTest, TheSheetGrowsButNeverShrinksBelowItsFirstSize) {
    CRect first;
    sheet.GetWindowRect(&first);
    MINMAXINFO info{};
    sheet.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, first.Width());
    EXPECT_EQ(info.ptMinTrackSize.y, first.Height());
    // Larger: the page fills the room and the commands list grows down with it.
    CRect list;
    keyboard.GetDlgItem(XTP_IDC_LIST_COMMANDS)->GetWindowRect(&list);
    sheet.SetWindowPos(nullptr, 0, 0, first.Width() + 100, first.Height() + 80, SWP_NOMOVE | SWP_NOZORDER);
    CRect grown;
    keyboard.GetDlgItem(XTP_IDC_LIST_COMMANDS)->GetWindowRect(&grown);
    EXPECT_EQ(grown.Height(), list.Height() + 80);
    EXPECT_EQ(grown.Width(), list.Width());
    CRect ok, client;
    sheet.GetDlgItem(IDOK)->GetWindowRect(&ok);
    sheet.ScreenToClient(&ok);
    sheet.GetClientRect(&client);
    EXPECT_LT(client.bottom - ok.bottom, 12);
}

TEST_F(CustomizeTest, TheOptionsPageTemplateHoldsEveryControlItsPageBindsAndTabsCanWrap) {
    CXTPPropertyPage options(XTP_IDD_PAGE_OPTIONS);
    sheet.AddPage(&options);
    auto* tabs = dynamic_cast<CXTPPropertyPageTabNavigator*>(sheet.GetNavigator());
    ASSERT_NE(tabs, nullptr);
    tabs->OnPageChanged();
    EXPECT_EQ(tabs->GetTabControl()->GetItemCount(), 3);
    ASSERT_TRUE(sheet.SetActivePage(&options));
    EXPECT_EQ(tabs->GetTabControl()->GetCurSel(), 2);
    for (UINT id : {100u, 101u, 102u, 806u, 1215u, 104u, 105u, 1134u, 1274u, 106u, 107u, 108u})
        EXPECT_NE(options.GetDlgItem(static_cast<int>(id)), nullptr) << id;
    // The page fills the room under the tabs.
    CRect page;
    options.GetWindowRect(&page);
    sheet.ScreenToClient(&page);
    EXPECT_EQ(page, sheet.GetPageRect());
    tabs->SetLayout(CXTPPropertyPageTabNavigator::kMultiRowLayout);
    EXPECT_TRUE(tabs->GetTabControl()->GetStyle() & TCS_MULTILINE);
    // A click on a tab changes the page.
    tabs->GetTabControl()->SetCurSel(1);
    NMHDR change{tabs->GetTabControl()->m_hWnd, 0x3020, TCN_SELCHANGE};
    sheet.SendMessage(WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(sheet.GetActivePage(), &keyboard);
    sheet.SetActivePage(&options);
    EXPECT_TRUE(picture(sheet.m_hWnd, "customize-options.png"));
}

TEST_F(CustomizeTest, Picture) {
    keyboard.SelectCategory(0);
    keyboard.SelectCommand(kSave);
    keyboard.GetKeyAssign().SetFocus();
    pal::test::pressKey('S', {VK_CONTROL, VK_SHIFT});
    pal::test::pump();
    const pal::gdi::Surface shot = picture(sheet.m_hWnd, "customize-sheet.png");
    ASSERT_TRUE(shot);
}

} // namespace
