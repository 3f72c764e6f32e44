// Edit boxes: typing and its notifications, the limit, styles that refuse input, selection by
// keys and messages, undo, and the line messages of multi-line boxes.
#include "notifications.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

using EditTest = ControlTest;

DWORD selection(HWND edit) {
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return MAKELONG(static_cast<WORD>(from), static_cast<WORD>(to));
}

TEST_F(EditTest, TypingTellsUpdateThenChangeForEachCharacter) {
    const HWND edit = make(L"Edit", L"", ES_AUTOHSCROLL, {10, 10, 210, 34}, 5);
    take();
    SetFocus(edit);
    type(L"ab");
    SetFocus(parent);
    EXPECT_EQ(take(), (Log{"5:EN_SETFOCUS", "5:EN_UPDATE", "5:EN_CHANGE", "5:EN_UPDATE", "5:EN_CHANGE",
                           "5:EN_KILLFOCUS"}));
    EXPECT_EQ(textOf(edit), L"ab");
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, SettingTheTextTellsTheParentOfASingleLineAndClearsTheModifiedFlag) {
    const struct {
        DWORD style;
        Log heard;
    } cases[] = {
        {0, {"5:EN_UPDATE", "5:EN_CHANGE"}},
        {ES_MULTILINE, {}}, // a multi-line edit tells only of what a person changes
    };
    for (const auto& c : cases) {
        const HWND edit = make(L"Edit", L"", c.style, {10, 10, 210, 34}, 5);
        SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
        take();
        SetWindowTextW(edit, L"new");
        EXPECT_EQ(take(), c.heard) << c.style;
        EXPECT_EQ(textOf(edit), L"new");
        EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
        EXPECT_EQ(selection(edit), MAKELONG(0, 0));
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, CyrillicTextIsTypedAsItIs) {
    const HWND edit = make(L"Edit", L"", 0, {10, 10, 210, 34}, 5);
    SetFocus(edit);
    type(L"Чертёж №1");
    EXPECT_EQ(textOf(edit), L"Чертёж №1");
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 9);
}

TEST_F(EditTest, TextPastTheLimitIsCutAndTheParentIsTold) {
    const HWND edit = make(L"Edit", L"", 0, {10, 10, 210, 34}, 5);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    SetFocus(edit);
    take();
    type(L"abcd");
    EXPECT_EQ(textOf(edit), L"abc");
    const Log log = take();
    EXPECT_EQ(log.back(), "5:EN_MAXTEXT");
    SendMessageW(edit, EM_SETSEL, 1, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"0123456789"));
    EXPECT_EQ(textOf(edit), L"abc") << "a replacement that does not fit is cut to nothing";
    SendMessageW(edit, EM_SETSEL, 0, 3);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"0123456789"));
    EXPECT_EQ(textOf(edit), L"012");
}

TEST_F(EditTest, StylesThatRefuseInput) {
    const struct {
        const char* name;
        DWORD style;
        std::wstring typed;
        std::wstring kept;
    } cases[] = {
        {"number", ES_NUMBER, L"1a2-3", L"123"},
        {"read-only", ES_READONLY, L"abc", L""},
        {"upper case", ES_UPPERCASE, L"abя", L"ABЯ"},
        {"lower case", ES_LOWERCASE, L"ABЯ", L"abя"},
        {"single line drops line breaks", 0, L"a\rb\tc", L"abc"},
    };
    for (const auto& c : cases) {
        const HWND edit = make(L"Edit", L"", c.style, {10, 10, 210, 34}, 5);
        SetFocus(edit);
        type(c.typed);
        EXPECT_EQ(textOf(edit), c.kept) << c.name;
        DestroyWindow(edit);
    }
    EXPECT_EQ(journal("sound").size(), 2u + 3u)
        << "each refused letter of the number and read-only boxes beeps";
}

TEST_F(EditTest, PasswordBoxKeepsItsTextButNeverCopiesIt) {
    const HWND edit = make(L"Edit", L"", ES_PASSWORD, {10, 10, 210, 34}, 5);
    SetFocus(edit);
    type(L"secret");
    EXPECT_EQ(textOf(edit), L"secret");
    EXPECT_NE(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CUT, 0, 0);
    EXPECT_EQ(textOf(edit), L"secret") << "a password cannot be cut";
}

TEST_F(EditTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
    const HWND edit = make(L"Edit", L"one two", 0, {10, 10, 210, 34}, 5);
    SetFocus(edit);
    const struct {
        int key;
        std::initializer_list<int> modifiers;
        DWORD sel;
    } steps[] = {
        {VK_END, {}, MAKELONG(7, 7)},
        {VK_LEFT, {VK_SHIFT}, MAKELONG(6, 7)},
        {VK_LEFT, {VK_CONTROL, VK_SHIFT}, MAKELONG(4, 7)},
        {VK_HOME, {VK_SHIFT}, MAKELONG(0, 7)},
        {VK_RIGHT, {}, MAKELONG(7, 7)},
        {VK_LEFT, {VK_CONTROL}, MAKELONG(4, 4)},
    };
    for (const auto& s : steps) {
        press(s.key, s.modifiers);
        EXPECT_EQ(selection(edit), s.sel) << "after key " << s.key;
    }
    press(VK_BACK);
    EXPECT_EQ(textOf(edit), L"onetwo");
    press(VK_DELETE);
    EXPECT_EQ(textOf(edit), L"onewo");
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(textOf(edit), L"onetwo");
}

TEST_F(EditTest, SelectionMessagesKeepToTheText) {
    const HWND edit = make(L"Edit", L"abcdef", 0, {10, 10, 210, 34}, 5);
    const struct {
        WPARAM from;
        LPARAM to;
        DWORD sel;
    } cases[] = {
        {1, 3, MAKELONG(1, 3)},
        {4, 2, MAKELONG(2, 4)},
        {0, -1, MAKELONG(0, 6)},
        {2, 100, MAKELONG(2, 6)},
        {static_cast<WPARAM>(-1), 0, MAKELONG(6, 6)},
    };
    for (const auto& c : cases) {
        SendMessageW(edit, EM_SETSEL, c.from, c.to);
        EXPECT_EQ(selection(edit), c.sel) << c.from << ".." << c.to;
    }
}

TEST_F(EditTest, MultiLineMessagesAnswerOutOfRangeAsThePlatformDoes) {
    const HWND edit =
        make(L"Edit", L"first\r\nsecond line\r\n", ES_MULTILINE | ES_AUTOVSCROLL, {10, 10, 210, 110}, 5);
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 1, 0), 7);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 3, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 8, 0), 11);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 8, 0), 1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 5000, 0), 2);
    wchar_t line[8] = {};
    line[0] = 4; // room for four characters, and no terminator when it is full
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 4);
    EXPECT_EQ(std::wstring(line, 4), L"seco");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 9, reinterpret_cast<LPARAM>(line)), 0);
    EXPECT_EQ(SendMessageW(edit, EM_POSFROMCHAR, 5000, 0), -1);
    SetFocus(edit);
    press(VK_END, {VK_CONTROL});
    type(L"x\ry");
    EXPECT_EQ(textOf(edit), L"first\r\nsecond line\r\nx\r\ny");
    EXPECT_TRUE(SendMessageW(edit, EM_SCROLLCARET, 0, 0));
}

TEST_F(EditTest, ReadOnlyCanBeSetAndTurnedOffByMessage) {
    const HWND edit = make(L"Edit", L"fixed", 0, {10, 10, 210, 34}, 5);
    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    SetFocus(edit);
    type(L"x");
    EXPECT_EQ(textOf(edit), L"fixed");
    SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    type(L"x");
    EXPECT_NE(textOf(edit), L"fixed");
}

TEST_F(EditTest, ClickPutsTheCaretAndFocusInTheBox) {
    const HWND edit = make(L"Edit", L"abc", 0, {10, 10, 210, 34}, 5);
    take();
    clickAt(edit, 190, 5);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(selection(edit), MAKELONG(3, 3));
    EXPECT_EQ(take(), Log{"5:EN_SETFOCUS"});
}

} // namespace
} // namespace controlstest

namespace controlstest {
namespace {

using EditClipboardTest = ControlTest;

TEST_F(EditClipboardTest, CutCopyAndPasteGoThroughTheClipboard) {
    const HWND from = make(L"Edit", L"Лист 2 of 5", 0, {10, 10, 210, 34}, 5);
    const HWND to = make(L"Edit", L"", 0, {10, 40, 210, 64}, 6);
    SendMessageW(to, EM_LIMITTEXT, 4, 0);
    SetFocus(from);
    SendMessageW(from, EM_SETSEL, 0, 6);
    press('C', {VK_CONTROL});
    EXPECT_EQ(textOf(from), L"Лист 2 of 5") << "copy leaves the text";
    SetFocus(to);
    take();
    press('V', {VK_CONTROL});
    EXPECT_EQ(textOf(to), L"Лист") << "pasted text is cut at the limit";
    EXPECT_EQ(take(), (Log{"6:EN_MAXTEXT", "6:EN_UPDATE", "6:EN_CHANGE"}));
    SetFocus(from);
    SendMessageW(from, EM_SETSEL, 6, -1);
    press('X', {VK_CONTROL});
    EXPECT_EQ(textOf(from), L"Лист 2");
    SendMessageW(to, EM_LIMITTEXT, 0, 0);
    SetFocus(to);
    press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(textOf(to), L"Лист of 5");
}

} // namespace
} // namespace controlstest

namespace controlstest {
namespace {

using EditWrapTest = ControlTest;

TEST_F(EditWrapTest, AMultiLineEditWithoutHorizontalScrollingWrapsAtWords) {
    const std::wstring text = L"Техническая документация на изделие\r\nshort";
    const HWND wrapped = make(L"Edit", text.c_str(), ES_MULTILINE, {10, 10, 110, 110}, 5);
    const HWND scrolled = make(L"Edit", text.c_str(), ES_MULTILINE | ES_AUTOHSCROLL, {120, 10, 220, 110}, 6);
    EXPECT_EQ(SendMessageW(scrolled, EM_GETLINECOUNT, 0, 0), 2);
    const auto lines = SendMessageW(wrapped, EM_GETLINECOUNT, 0, 0);
    ASSERT_GT(lines, 2);
    for (LRESULT line = 1; line < lines; ++line) {
        const auto start = SendMessageW(wrapped, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        ASSERT_GT(start, 0);
        const wchar_t before = text[static_cast<size_t>(start) - 1];
        EXPECT_TRUE(before == L' ' || before == L'\n')
            << "line " << line << " starts after a blank or a break";
    }
    EXPECT_EQ(SendMessageW(wrapped, EM_LINELENGTH, text.size() - 1, 0), 5) << "the last line is \"short\"";
    RECT r{};
    GetClientRect(wrapped, &r);
    for (LRESULT line = 0; line < lines; ++line) {
        const auto start = SendMessageW(wrapped, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        const auto length = SendMessageW(wrapped, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        const auto end =
            LOWORD(SendMessageW(wrapped, EM_POSFROMCHAR, static_cast<WPARAM>(start + length), 0));
        EXPECT_LE(end, r.right) << "line " << line << " fits";
    }
}

} // namespace
} // namespace controlstest
