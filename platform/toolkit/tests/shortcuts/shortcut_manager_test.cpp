// Shortcuts: names, assignments, the accelerator table and two-key sequences, the key-assign
// control, the options, and layouts that survive an exchange and skip what is damaged.
#include "XTToolkitPro.h"
#include "pal/notice.h"
#include "pal/test/user_hooks.h"
#include "pal/test/user_test.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Accel = CXTPShortcutManagerAccel;

class ShortcutTest : public pal::test::UserTest {};

// A top-level window that records the commands it receives.
class CommandSink : public CWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

MSG keyMessage(HWND hwnd, UINT vk) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = WM_KEYDOWN;
    m.wParam = vk;
    return m;
}

TEST_F(ShortcutTest, ShortcutsAreFormattedWithTheKeyNames) {
    CXTPShortcutManager manager;
    struct Case {
        const char* name;
        Accel accel;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"letter with ctrl", Accel(1, FCONTROL, 'S'), L"Ctrl+S"},
        {"all modifiers", Accel(1, FCONTROL | FSHIFT | FALT, VK_F5), L"Ctrl+Shift+Alt+F5"},
        {"named key", Accel(1, 0, VK_NEXT), L"Page Down"},
        {"numeric pad", Accel(1, FSHIFT, VK_NUMPAD7), L"Shift+Num 7"},
        {"two keys", Accel(1, FCONTROL, 'K', 0, 'C'), L"Ctrl+K, C"},
        {"punctuation", Accel(1, FCONTROL, 0xBB), L"Ctrl+="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(manager.Format(&c.accel), CString(c.text));
    }
    // The program's own names replace the defaults; an empty one gives the default back.
    manager.SetKeyNameText(VK_CONTROL, L"Strg");
    manager.SetKeyNameText(VK_NEXT, L"Bild ab");
    const Accel renamed(1, FCONTROL, VK_NEXT);
    EXPECT_EQ(CXTPShortcutManager::CKeyHelper(&renamed, &manager).Format(), CString(L"Strg+Bild ab"));
    manager.SetKeyNameText(VK_CONTROL, L"");
    EXPECT_EQ(manager.Format(&renamed), CString(L"Ctrl+Bild ab"));
}

TEST_F(ShortcutTest, AssignmentsMoveKeysBetweenCommandsAndResetRestoresThem) {
    CXTPShortcutManager manager;
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'S', 100}, {FVIRTKEY, VK_F2, 101}, {0, 'x', 102}};
    manager.SetAccelerators(table, 3);
    EXPECT_EQ(manager.GetAccels().size(), 2u); // the character accelerator has no key to show
    EXPECT_EQ(manager.FindCommand(Accel(0, FCONTROL, 'S')), 100);

    EXPECT_TRUE(manager.AddShortcut(Accel(101, FCONTROL, 'S')));
    EXPECT_EQ(manager.FindCommand(Accel(0, FCONTROL, 'S')), 101);
    EXPECT_TRUE(manager.FindShortcuts(100).empty());
    // The command's plainest shortcut comes first.
    const auto shortcuts = manager.FindShortcuts(101);
    ASSERT_EQ(shortcuts.size(), 2u);
    EXPECT_EQ(shortcuts[0].key[0].key, VK_F2);
    CString text;
    EXPECT_TRUE(manager.FindDefaultAccelerator(101, text));
    EXPECT_EQ(text, CString(L"F2"));
    EXPECT_FALSE(manager.AddShortcut(Accel(5, FCONTROL, VK_SHIFT))); // a modifier alone
    EXPECT_FALSE(manager.AddShortcut(Accel(0, FCONTROL, 'Q')));      // no command

    manager.Reset();
    EXPECT_EQ(manager.FindCommand(Accel(0, FCONTROL, 'S')), 100);
    EXPECT_FALSE(manager.FindDefaultAccelerator(102, text));
}

TEST_F(ShortcutTest, TheTableAndTwoKeySequencesSendTheirCommands) {
    CommandSink sink;
    ASSERT_TRUE(sink.CreateEx(0, nullptr, L"sink", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 100, 100),
                              nullptr, 0));
    CXTPShortcutManager manager;
    manager.AddShortcut(Accel(200, 0, VK_F7));
    manager.AddShortcut(Accel(201, FCONTROL, 'K', 0, 'C'));
    manager.AddShortcut(Accel(202, FCONTROL, 'K', 0, 'U'));

    // One-key shortcuts also form the platform table.
    HACCEL table = manager.GetDefaultAccelerator();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(::CopyAcceleratorTableW(table, nullptr, 0), 1);

    MSG f7 = keyMessage(sink.m_hWnd, VK_F7);
    EXPECT_TRUE(manager.TranslateAccelerator(sink.m_hWnd, &f7));
    pal::test::keyDown(VK_CONTROL);
    pal::test::pump();
    MSG k = keyMessage(sink.m_hWnd, 'K');
    EXPECT_TRUE(manager.TranslateAccelerator(sink.m_hWnd, &k)); // taken, waiting
    pal::test::keyUp(VK_CONTROL);
    pal::test::pump();
    MSG u = keyMessage(sink.m_hWnd, 'U');
    EXPECT_TRUE(manager.TranslateAccelerator(sink.m_hWnd, &u));
    MSG plainU = keyMessage(sink.m_hWnd, 'U');
    EXPECT_FALSE(manager.TranslateAccelerator(sink.m_hWnd, &plainU));
    EXPECT_EQ(sink.commands, (std::vector<UINT>{200, 202}));

    // Disabled, no key is taken and nothing is sent; enabled again, the same key runs.
    manager.DisableShortcuts(TRUE);
    MSG silenced = keyMessage(sink.m_hWnd, VK_F7);
    EXPECT_FALSE(manager.TranslateAccelerator(sink.m_hWnd, &silenced));
    manager.DisableShortcuts(FALSE);
    EXPECT_TRUE(manager.TranslateAccelerator(sink.m_hWnd, &silenced));
    EXPECT_EQ(sink.commands, (std::vector<UINT>{200, 202, 200}));
    sink.DestroyWindow();
}

TEST_F(ShortcutTest, TheKeyAssignControlShowsAndKeepsThePressedKeys) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 100),
                                nullptr, 0));
    CXTPShortcutManager manager;
    CXTPShortcutManager::CKeyAssign assign(&manager);
    ASSERT_TRUE(assign.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 32), &parent, 106));
    assign.SetFocus();

    pal::test::pressKey('S', {VK_CONTROL, VK_SHIFT});
    pal::test::pump();
    EXPECT_TRUE(assign.IsKeyDefined());
    CString shown;
    assign.GetWindowText(shown);
    EXPECT_EQ(shown, CString(L"Ctrl+Shift+S"));
    // A second key after a Ctrl key completes a two-key shortcut.
    pal::test::pressKey('D');
    pal::test::pump();
    assign.GetWindowText(shown);
    EXPECT_EQ(shown, CString(L"Ctrl+Shift+S, D"));
    EXPECT_TRUE(assign.GetAccel().IsChord());
    // The next key starts afresh; a plain key does not wait for a second.
    pal::test::pressKey(VK_F9);
    pal::test::pressKey(VK_F10);
    pal::test::pump();
    assign.GetWindowText(shown);
    EXPECT_EQ(shown, CString(L"F10"));
    assign.ResetKey();
    EXPECT_FALSE(assign.IsKeyDefined());
    parent.DestroyWindow();
}

std::vector<std::string> gNotices;
void keepNotice(const std::string& line) {
    gNotices.push_back(line);
}

TEST_F(ShortcutTest, ALayoutKeepsAssignmentsAndKeyNamesAndSkipsDamagedEntriesWhole) {
    CXTPShortcutManager saved;
    saved.AddShortcut(Accel(300, FCONTROL, 'P'));
    saved.AddShortcut(Accel(301, FCONTROL, 'K', FSHIFT, 'D'));
    saved.SetKeyNameText(VK_CONTROL, L"Strg");
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Settings");
    saved.DoPropExchange(&store);

    CXTPShortcutManager loaded;
    loaded.AddShortcut(Accel(999, 0, VK_F12));
    CXTPPropExchangeXMLNode load(TRUE, nullptr, nullptr);
    ASSERT_TRUE(load.LoadFromString(store.GetXML()));
    loaded.DoPropExchange(&load);
    EXPECT_EQ(loaded.FindCommand(Accel(0, FCONTROL, 'P')), 300);
    EXPECT_EQ(loaded.FindCommand(Accel(0, FCONTROL, 'K', FSHIFT, 'D')), 301);
    EXPECT_EQ(loaded.FindCommand(Accel(0, 0, VK_F12)), 0);
    EXPECT_EQ(loaded.GetKeyNameText(VK_CONTROL), CString(L"Strg"));

    // A damaged layout: a bad second key, a key out of range, an unreadable id and an empty
    // key name are skipped; the sound entries are taken.
    const wchar_t* damaged = LR"(<Settings>
  <Shortcuts>
    <Accel Id="400" Key="80" Virt="8"/>
    <Accel Id="401" Key="75" Virt="8" Key2="300" Virt2="0"/>
    <Accel Id="402" Key="16" Virt="8"/>
    <Accel Id="abc" Key="81" Virt="8"/>
    <Accel Id="403" Key="70" Virt="64"/>
  </Shortcuts>
  <KeyNames><Key Code="17" Name=""/><Key Code="34" Name="Bild ab"/></KeyNames>
</Settings>)";
    CXTPPropExchangeXMLNode bad(TRUE, nullptr, nullptr);
    ASSERT_TRUE(bad.LoadFromString(damaged));
    gNotices.clear();
    pal::notice::setSink(&keepNotice);
    CXTPShortcutManager partial;
    partial.DoPropExchange(&bad);
    pal::notice::setSink(nullptr);
    ASSERT_EQ(partial.GetAccels().size(), 1u);
    EXPECT_EQ(partial.GetAccels()[0].cmd, 400);
    EXPECT_TRUE(partial.FindShortcuts(401).empty()); // not half-applied with its first key
    EXPECT_EQ(partial.GetKeyNameText(VK_CONTROL), CString(L"Ctrl"));
    EXPECT_EQ(partial.GetKeyNameText(VK_NEXT), CString(L"Bild ab"));
    EXPECT_EQ(gNotices.size(), 1u);
}

TEST_F(ShortcutTest, OptionsSurviveAnExchangeAndUserOnlyLeavesTheRest) {
    CXTPCommandBarsOptions options;
    options.bLargeIcons = TRUE;
    options.bAlwaysShowFullMenus = FALSE;
    options.animateMenus = xtpAnimateFade;
    options.szLargeIcons = CSize(24, 24);
    options.ShowKeyboardCues(xtpKeyboardCuesShowWindowsDefault);
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Options");
    options.DoPropExchange(&store);
    CXTPPropExchangeXMLNode userOnly(FALSE, nullptr, L"Options");
    options.DoPropExchange(&userOnly, TRUE);

    CXTPCommandBarsOptions all;
    CXTPPropExchangeXMLNode load(TRUE, nullptr, nullptr);
    ASSERT_TRUE(load.LoadFromString(store.GetXML()));
    all.DoPropExchange(&load);
    EXPECT_TRUE(all.bLargeIcons);
    EXPECT_FALSE(all.bAlwaysShowFullMenus);
    EXPECT_EQ(all.animateMenus, xtpAnimateFade);
    EXPECT_EQ(all.szLargeIcons, CSize(24, 24));
    EXPECT_EQ(all.GetShowKeyboardCues(), xtpKeyboardCuesShowWindowsDefault);
    EXPECT_FALSE(all.IsKeyboardCuesVisible());

    CXTPCommandBarsOptions user;
    user.szLargeIcons = CSize(40, 40);
    CXTPPropExchangeXMLNode loadUser(TRUE, nullptr, nullptr);
    ASSERT_TRUE(loadUser.LoadFromString(userOnly.GetXML()));
    user.DoPropExchange(&loadUser, TRUE);
    EXPECT_TRUE(user.bLargeIcons);
    EXPECT_EQ(user.szLargeIcons, CSize(40, 40));

    // Unreadable values keep what the options had.
    CXTPPropExchangeXMLNode bad(TRUE, nullptr, nullptr);
    ASSERT_TRUE(
        bad.LoadFromString(L"<Options LargeIcons=\"perhaps\" Animation=\"77\" IconsSize=\"0, -3\"/>"));
    CXTPCommandBarsOptions kept;
    kept.DoPropExchange(&bad);
    EXPECT_FALSE(kept.bLargeIcons);
    EXPECT_EQ(kept.animateMenus, xtpAnimateWindowsDefault);
    EXPECT_EQ(kept.szIcons, CSize(16, 16));
}

} // namespace
