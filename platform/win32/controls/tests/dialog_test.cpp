// Dialogs: templates in dialog units, WM_INITDIALOG, the dialog keyboard (Tab, arrows, mnemonics,
// Enter and Escape), the default button, and the modal loop.
#include "notifications.h"

#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

enum : WORD { kName = 101, kCount, kFlag, kRadioA, kRadioB, kRadioC, kList, kCombo, kLabel, kApply };

const pal::win::DialogItem kItems[] = {
    {L"Static", L"&Name:", kLabel, SS_LEFT, 7, 9, 40, 8},
    {L"Edit", L"Sheet", kName, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 50, 7, 100, 14},
    {L"Edit", L"3", kCount, WS_TABSTOP | WS_BORDER | ES_NUMBER, 50, 25, 40, 14},
    {L"Button", L"&Flag", kFlag, WS_TABSTOP | BS_AUTOCHECKBOX, 7, 43, 60, 10},
    {L"Button", L"Mode", 0, BS_GROUPBOX, 7, 56, 150, 40},
    {L"Button", L"&A", kRadioA, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 14, 66, 40, 10},
    {L"Button", L"&B", kRadioB, BS_AUTORADIOBUTTON, 14, 78, 40, 10},
    {L"Button", L"&C", kRadioC, BS_AUTORADIOBUTTON, 60, 66, 40, 10},
    {L"ListBox", L"", kList, WS_GROUP | WS_TABSTOP | WS_BORDER | LBS_NOTIFY, 7, 100, 70, 40},
    {L"ComboBox", L"", kCombo, WS_TABSTOP | CBS_DROPDOWNLIST, 85, 100, 70, 60},
    {L"Button", L"Apply", kApply, WS_TABSTOP | BS_PUSHBUTTON, 7, 150, 50, 14},
    {L"Button", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 60, 150, 50, 14},
    {L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 113, 150, 50, 14},
};

constexpr WORD kDialogId = 300;
const pal::win::DialogTemplate kTemplates[] = {
    {kDialogId, L"Settings", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 10, 10, 170,
     170, kItems, std::size(kItems), L"MS Shell Dlg", 8},
};
const pal::win::DialogTemplateSet registered(kTemplates, std::size(kTemplates));

struct Heard {
    std::vector<std::string> log;
    LPARAM initParam = 0;
    bool focusByDialog = true;
    // The font the dialog was given, whether it came before WM_INITDIALOG, and how many controls
    // answered it to WM_GETFONT by then.
    HFONT font = nullptr;
    bool fontBeforeInit = false;
    size_t controlsWithFont = 0;
    // The part of the name's text the dialog selects when the name gets the focus.
    bool selectOnFocus = false;
};
Heard* heard = nullptr;

INT_PTR settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT:
        heard->font = reinterpret_cast<HFONT>(wParam);
        return FALSE;
    case WM_INITDIALOG:
        heard->fontBeforeInit = heard->font != nullptr;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            heard->controlsWithFont +=
                reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)) == heard->font ? 1 : 0;
        heard->initParam = lParam;
        heard->log.push_back("WM_INITDIALOG focus=" +
                             std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))));
        return heard->focusByDialog;
    case WM_COMMAND:
        if (LOWORD(wParam) == kName && HIWORD(wParam) == EN_SETFOCUS && heard->selectOnFocus) {
            SendMessageW(reinterpret_cast<HWND>(lParam), EM_SETSEL, 1, 3);
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL ||
                                             LOWORD(wParam) == kApply || LOWORD(wParam) == kFlag)) {
            heard->log.push_back("command " + std::to_string(LOWORD(wParam)));
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class DialogTest : public ControlTest {
public:
    void SetUp() override {
        ControlTest::SetUp();
        heard = &heardHere;
    }
    void TearDown() override {
        heard = nullptr;
        ControlTest::TearDown();
    }
    HWND open() {
        const HWND dialog =
            CreateDialogParamW(nullptr, MAKEINTRESOURCEW(kDialogId), parent, &settingsProc, 42);
        EXPECT_TRUE(dialog);
        ShowWindow(dialog, SW_SHOW);
        SetForegroundWindow(dialog);
        keys(dialog);
        return dialog;
    }
    // The keyboard as a modeless dialog's loop gives it: through IsDialogMessageW.
    void keys(HWND dialog) {
        pal::test::PumpOptions o;
        o.preTranslate = [dialog](MSG& msg) { return IsDialogMessageW(dialog, &msg) != FALSE; };
        pal::test::pump(o);
    }
    void key(HWND dialog, int vk, std::initializer_list<int> modifiers = {}) {
        pal::test::pressKey(vk, modifiers);
        keys(dialog);
    }
    int focusId() { return GetDlgCtrlID(GetFocus()); }

    Heard heardHere;
};

TEST_F(DialogTest, TemplateInDialogUnitsGivesWindowsInPixelsOfTheDialogFont) {
    const HWND dialog = open();
    EXPECT_EQ(heardHere.initParam, 42);
    EXPECT_EQ(heardHere.log.front(), "WM_INITDIALOG focus=" + std::to_string(kName));
    const SIZE base = pal::win::dialogBaseUnits(dialog);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, (170 * base.cx + 2) / 4);
    EXPECT_EQ(client.bottom, (170 * base.cy + 4) / 8);
    RECT units{50, 7, 150, 21};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    RECT edit{};
    GetWindowRect(GetDlgItem(dialog, kName), &edit);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_EQ(edit.left, units.left);
    EXPECT_EQ(edit.top, units.top);
    EXPECT_EQ(edit.right, units.right);
    EXPECT_EQ(edit.bottom, units.bottom);
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
}

TEST_F(DialogTest, TheTemplatesFontReachesTheDialogAndEveryControlBeforeInitDialogAndGoesWithIt) {
    const HWND dialog = open();
    ASSERT_NE(heardHere.font, nullptr);
    EXPECT_TRUE(heardHere.fontBeforeInit);
    EXPECT_EQ(heardHere.controlsWithFont, std::size(kItems));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), heardHere.font);
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(heardHere.font, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg");
    EXPECT_EQ(font.lfHeight, -11) << "8 points at 96 dots per inch";
    DestroyWindow(dialog);
    EXPECT_EQ(GetObjectW(heardHere.font, sizeof font, &font), 0) << "the dialog's font goes with it";
}

// The controls were given the template's font and keep drawing with it, so a later font given to
// the dialog changes what the dialog answers, not the life of the font its controls hold.
TEST_F(DialogTest, AnotherFontGivenToTheDialogLeavesItsControlsTheTemplatesFontUntilTheDialogGoes) {
    const HWND dialog = open();
    const HFONT made = heardHere.font;
    ASSERT_NE(made, nullptr);
    const HFONT other =
        CreateFontW(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(other), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), other);
    const HWND label = GetDlgItem(dialog, kLabel);
    ASSERT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), made);
    LOGFONTW font{};
    EXPECT_EQ(GetObjectW(made, sizeof font, &font), static_cast<int>(sizeof font))
        << "the label's font is still alive";
    UpdateWindow(dialog);
    DestroyWindow(dialog);
    EXPECT_EQ(GetObjectW(made, sizeof font, &font), 0) << "the template's font goes with the dialog";
    EXPECT_EQ(GetObjectW(other, sizeof font, &font), static_cast<int>(sizeof font))
        << "the font the caller gave stays the caller's";
    DeleteObject(other);
}

TEST_F(DialogTest, TheFirstFocusSelectsTheEditsTextBeforeTheEditHearsOfIt) {
    heardHere.selectOnFocus = true;
    const HWND dialog = open();
    EXPECT_EQ(focusId(), kName);
    DWORD from = 0, to = 0;
    SendDlgItemMessageW(dialog, kName, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                        reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u) << "the selection the dialog made on EN_SETFOCUS stands";
    EXPECT_EQ(to, 3u);
}

// The rows of `control` in which some pixel of the picture differs from the colour `ground`.
int inkedRows(const pal::gdi::Surface& picture, HWND dialog, HWND control, COLORREF ground) {
    RECT r{};
    GetWindowRect(control, &r);
    RECT window{};
    GetWindowRect(dialog, &window);
    OffsetRect(&r, -window.left, -window.top);
    int rows = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        bool ink = false;
        for (int x = r.left; x < r.right && !ink; ++x)
            ink = picture.pixel(x, y) != ground;
        rows += ink;
    }
    return rows;
}

TEST_F(DialogTest, TheOpenedDialogShowsItsTemplatesFontAndItsFirstFocusWithTheTextSelected) {
    const HWND dialog = open();
    ASSERT_EQ(focusId(), kName);
    pump();
    const auto picture = pal::test::snapshot(dialog);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(pal::test::keepSnapshot(picture, "dialog-font-first-focus.png"));

    // The first tab stop shows its whole text selected, as the focus arrived with it.
    RECT r{};
    const HWND name = GetDlgItem(dialog, kName);
    GetWindowRect(name, &r);
    RECT window{};
    GetWindowRect(dialog, &window);
    int selected = 0;
    for (int y = r.top - window.top; y < r.bottom - window.top; ++y)
        for (int x = r.left - window.left; x < r.right - window.left; ++x)
            selected += picture.pixel(x, y) == GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_GE(selected, 40) << "the selected text of the name";
    // The label is written in the template's 8 points (11 pixels with its descent), not in the
    // system font's 16.
    const int rows = inkedRows(picture, dialog, GetDlgItem(dialog, kLabel), GetSysColor(COLOR_3DFACE));
    EXPECT_GE(rows, 6);
    EXPECT_LE(rows, 11);
}

TEST_F(DialogTest, TabAndShiftTabVisitTheTabStopsInOrderAndArrowsStayInTheGroup) {
    const HWND dialog = open();
    EXPECT_EQ(focusId(), kName);
    DWORD from = 0, to = 0;
    SendDlgItemMessageW(dialog, kName, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                        reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(to, 5u) << "an edit reached by the dialog has its text selected";
    const struct {
        int key;
        std::initializer_list<int> modifiers;
        int focus;
    } steps[] = {
        {VK_TAB, {}, kCount},       {VK_TAB, {}, kFlag},
        {VK_TAB, {}, kRadioA},      {VK_DOWN, {}, kRadioB},
        {VK_DOWN, {}, kRadioC},     {VK_DOWN, {}, kRadioA},
        {VK_UP, {}, kRadioC},       {VK_TAB, {}, kList},
        {VK_TAB, {}, kCombo},       {VK_TAB, {}, kApply},
        {VK_TAB, {}, IDOK},         {VK_TAB, {}, IDCANCEL},
        {VK_TAB, {}, kName},        {VK_TAB, {VK_SHIFT}, IDCANCEL},
        {VK_TAB, {VK_SHIFT}, IDOK},
    };
    for (const auto& s : steps) {
        key(dialog, s.key, s.modifiers);
        EXPECT_EQ(focusId(), s.focus) << "after key " << s.key;
    }
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioC), BST_CHECKED) << "arrows check automatic radio buttons";
    EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), BST_UNCHECKED);
}

TEST_F(DialogTest, TabReachesTheCheckedRadioButtonOnly) {
    const HWND dialog = open();
    CheckDlgButton(dialog, kRadioA, BST_UNCHECKED);
    CheckDlgButton(dialog, kRadioB, BST_CHECKED);
    SetFocus(GetDlgItem(dialog, kFlag));
    key(dialog, VK_TAB);
    EXPECT_EQ(focusId(), kRadioB);
}

TEST_F(DialogTest, MnemonicsPressButtonsAndLabelsPassTheFocusOn) {
    const HWND dialog = open();
    SetFocus(GetDlgItem(dialog, kApply));
    keys(dialog);
    heardHere.log.clear();
    const struct {
        wchar_t key;
        bool alt;
        int focus;
        bool flag;
    } steps[] = {
        {L'f', false, kFlag, true}, // a letter on a button is a mnemonic
        {L'n', false, kName, true}, // the label hands the focus to the edit after it
        {L'f', false, kName, true}, // in an edit a letter is typed
        {L'F', true, kFlag, false}, // with Alt it is a mnemonic again
    };
    for (const auto& s : steps) {
        PostMessageW(GetFocus(), s.alt ? WM_SYSCHAR : WM_CHAR, s.key, 0);
        keys(dialog);
        EXPECT_EQ(focusId(), s.focus) << static_cast<char>(s.key);
        EXPECT_EQ(IsDlgButtonChecked(dialog, kFlag), s.flag ? BST_CHECKED : BST_UNCHECKED)
            << static_cast<char>(s.key);
    }
    EXPECT_EQ(textOf(GetDlgItem(dialog, kName)), L"f");
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonOrTheFocusedOneAndEscapeCancels) {
    const struct {
        const char* name;
        std::function<void(DialogTest&, HWND)> setup;
        int key;
        std::string command;
    } cases[] = {
        {"enter in an edit", [](DialogTest&, HWND) {}, VK_RETURN, "command 1"},
        {"escape", [](DialogTest&, HWND) {}, VK_ESCAPE, "command 2"},
        {"enter on a focused push button",
         [](DialogTest& t, HWND d) {
             SetFocus(GetDlgItem(d, kApply));
             t.keys(d);
         },
         VK_RETURN, "command " + std::to_string(kApply)},
        {"another default button", [](DialogTest&, HWND d) { SendMessageW(d, DM_SETDEFID, kApply, 0); },
         VK_RETURN, "command " + std::to_string(kApply)},
    };
    for (const auto& c : cases) {
        const HWND dialog = open();
        c.setup(*this, dialog);
        heardHere.log.clear();
        key(dialog, c.key);
        EXPECT_EQ(heardHere.log, std::vector<std::string>{c.command}) << c.name;
        DestroyWindow(dialog);
    }
}

TEST_F(DialogTest, TheDefaultFrameFollowsTheFocusAmongPushButtons) {
    const HWND dialog = open();
    const auto isDefault = [&](int id) {
        return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    EXPECT_TRUE(isDefault(IDOK));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kApply)), TRUE);
    EXPECT_TRUE(isDefault(kApply));
    EXPECT_FALSE(isDefault(IDOK));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kName)), TRUE);
    EXPECT_TRUE(isDefault(IDOK));
    EXPECT_FALSE(isDefault(kApply));
    SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
    EXPECT_TRUE(isDefault(IDCANCEL));
    EXPECT_FALSE(isDefault(IDOK));
}

TEST_F(DialogTest, ModalDialogRunsUntilEndDialogAndGivesItsResult) {
    // The owner, told the dialog is idle, closes it with the keyboard as a person would.
    int idle = 0;
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_ENTERIDLE && idle++ == 0) {
            EXPECT_FALSE(IsWindowEnabled(parent)) << "the owner is disabled while the dialog runs";
            EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(lParam)));
            pal::test::pressKey(VK_ESCAPE);
        }
        return false;
    };
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialogId), parent, &settingsProc, 0), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), parent, &settingsProc, 0), -1);
}

// However a modal dialog ends, its owner is enabled while the dialog still shows, so that the
// activation the closing dialog passes on reaches the owner, and the control that had the focus
// before the dialog opened has it again: keys go on where they went.
TEST_F(DialogTest, AModalDialogGivesActivationAndTheFocusBackToItsOwner) {
    const struct {
        const char* name;
        std::function<void(HWND owner)> run;
        int key;
    } cases[] = {
        {"a dialog box closed by Escape",
         [](HWND owner) { DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialogId), owner, &settingsProc, 0); },
         VK_ESCAPE},
        {"a dialog box closed by Enter",
         [](HWND owner) { DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialogId), owner, &settingsProc, 0); },
         VK_RETURN},
        {"a message box", [](HWND owner) { MessageBoxW(owner, L"Replace?", L"DravikCad", MB_OKCANCEL); },
         VK_ESCAPE},
    };
    const HWND edit = make(L"Edit", L"typed", WS_BORDER, {10, 10, 110, 30}, 900);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetFocus(edit);
        Log order;
        HWND dialog = nullptr;
        answer = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
            if (message == WM_ENTERIDLE && !dialog) {
                dialog = reinterpret_cast<HWND>(lParam);
                pal::test::pressKey(c.key);
            } else if (message == WM_ENABLE && wParam) {
                order.push_back(IsWindowVisible(dialog) ? "owner enabled, dialog shown"
                                                        : "owner enabled late");
            } else if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
                order.push_back("owner activated");
            }
            return false;
        };
        c.run(parent);
        answer = nullptr;
        EXPECT_EQ(order, (Log{"owner enabled, dialog shown", "owner activated"}));
        EXPECT_EQ(GetActiveWindow(), parent);
        EXPECT_EQ(GetFocus(), edit);
    }
}

TEST_F(DialogTest, CloseBoxAsksForCancel) {
    const HWND dialog = open();
    heardHere.log.clear();
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    keys(dialog);
    EXPECT_EQ(heardHere.log, std::vector<std::string>{"command 2"});
}

TEST_F(DialogTest, NumbersInControls) {
    const HWND dialog = open();
    const struct {
        const wchar_t* text;
        BOOL isSigned;
        BOOL ok;
        UINT value;
    } cases[] = {
        {L"42", FALSE, TRUE, 42},
        {L"  -7 ", TRUE, TRUE, static_cast<UINT>(-7)},
        {L"-7", FALSE, FALSE, 0},
        {L"4x", TRUE, FALSE, 0},
        {L"", TRUE, FALSE, 0},
        {L"4294967295", FALSE, TRUE, 4294967295u},
        {L"4294967296", FALSE, FALSE, 0},
        {L"2147483648", TRUE, FALSE, 0},
    };
    for (const auto& c : cases) {
        SetDlgItemTextW(dialog, kName, c.text);
        BOOL ok = 2;
        EXPECT_EQ(GetDlgItemInt(dialog, kName, &ok, c.isSigned), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
    BOOL ok = TRUE;
    EXPECT_EQ(GetDlgItemInt(dialog, 9999, &ok, TRUE), 0u);
    EXPECT_FALSE(ok);
}

TEST_F(DialogTest, ControlColoursComeFromTheParentOrTheSystem) {
    const HWND dialog = open();
    const HWND edit = GetDlgItem(dialog, kName);
    const auto brush = SendMessageW(dialog, WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(edit));
    const auto face =
        SendMessageW(dialog, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(GetDlgItem(dialog, kLabel)));
    EXPECT_NE(brush, 0);
    EXPECT_NE(face, 0);
    EXPECT_NE(brush, face) << "edits take the window colour, labels the face colour";
}

} // namespace
} // namespace controlstest
