// The dialog manager's part of the platform's message order, as tables: the font before
// WM_INITDIALOG, the first focus after it with an edit's text selected first, the keys of the
// dialog keyboard, and how a modal dialog hands activation and the focus back to its owner.
// Only the messages the dialog manager is responsible for are compared; the window layer's own
// rows around them are proven in its tables.
#include "recorder.h"

#include "win/controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace controlstest {
namespace {

using usertest::optional;
using Seq = std::vector<std::string>;

enum : WORD { kName = 201, kCount };
constexpr WORD kTemplate = 310;

const pal::win::DialogItem kItems[] = {
    {L"OrderEdit", L"Sheet", kName, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 7, 7, 100, 14},
    {L"OrderEdit", L"3", kCount, WS_TABSTOP | WS_BORDER, 7, 25, 40, 14},
    {L"OrderButton", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 45, 50, 14},
    {L"OrderButton", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 60, 45, 50, 14},
};
const pal::win::DialogTemplate kTemplates[] = {
    {kTemplate, L"Order", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 10, 10, 120, 65,
     kItems, std::size(kItems), L"MS Shell Dlg", 8},
};
const pal::win::DialogTemplateSet registered(kTemplates, std::size(kTemplates));

std::string controlName(int id) {
    switch (id) {
    case kName:
        return "name";
    case kCount:
        return "count";
    case IDOK:
        return "ok";
    case IDCANCEL:
        return "cancel";
    default:
        return std::to_string(id);
    }
}

// The messages compared, by their names in the rows.
const std::map<UINT, std::string> kCompared = {
    {WM_SETFONT, "WM_SETFONT"},   {WM_INITDIALOG, "WM_INITDIALOG"}, {EM_SETSEL, "EM_SETSEL"},
    {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},   {DM_GETDEFID, "DM_GETDEFID"},
    {WM_ENABLE, "WM_ENABLE"},     {WM_ACTIVATE, "WM_ACTIVATE"},     {WM_DESTROY, "WM_DESTROY"},
};

std::string notificationName(WORD code) {
    switch (code) {
    case BN_CLICKED:
        return "BN_CLICKED";
    case EN_SETFOCUS:
        return "EN_SETFOCUS";
    case EN_KILLFOCUS:
        return "EN_KILLFOCUS";
    default:
        return std::to_string(code);
    }
}

// "who:WM_X", or for a command "who:WM_COMMAND(control,CODE)"; empty for a message not compared.
std::string row(const std::string& who, UINT message, WPARAM wParam) {
    if (message == WM_COMMAND)
        return who + ":WM_COMMAND(" + controlName(LOWORD(wParam)) + "," + notificationName(HIWORD(wParam)) +
               ")";
    auto it = kCompared.find(message);
    return it == kCompared.end() ? std::string() : who + ":" + it->second;
}

void note(const std::string& who, UINT message, WPARAM wParam) {
    auto* r = usertest::Recorder::current;
    const std::string line = row(who, message, wParam);
    if (r && r->recording && !line.empty())
        r->log.push_back(line);
}

// The edit and button classes with a procedure in front that writes down what they hear, so
// the controls the dialog manager makes are heard from their creation on.
std::map<std::wstring, WNDPROC> baseProcs;

LRESULT controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    note(controlName(GetDlgCtrlID(hwnd)), message, wParam);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    return CallWindowProcW(baseProcs[cls], hwnd, message, wParam, lParam);
}

void registerRecordingClass(LPCWSTR base, LPCWSTR name) {
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, base, &wc));
    baseProcs[name] = wc.lpfnWndProc;
    wc.lpfnWndProc = &controlProc;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassW(&wc), 0);
}

struct Heard {
    bool focusByDialog = true;
};
Heard heard;

INT_PTR orderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    note("dialog", message, wParam);
    if (message == WM_INITDIALOG)
        return heard.focusByDialog;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class DialogOrder : public usertest::RecordedTest {
public:
    // Made public so the table's lambdas can reach them.
    using RecordedTest::recorder;
    using RecordedTest::take;

    void SetUp() override {
        RecordedTest::SetUp();
        InitCommonControls();
        registerRecordingClass(L"Edit", L"OrderEdit");
        registerRecordingClass(L"Button", L"OrderButton");
        heard = Heard{};
        owner = create("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        SetFocus(create("typed", WS_CHILD | WS_VISIBLE, owner, {5, 5, 105, 25}, 7));
    }

    HWND makeDialog() {
        return CreateDialogParamW(nullptr, MAKEINTRESOURCEW(kTemplate), owner, &orderProc, 0);
    }

    // A modeless dialog, shown and active, whose keys go through IsDialogMessageW.
    HWND openDialog() {
        dialog = makeDialog();
        ShowWindow(dialog, SW_SHOW);
        keys();
        return dialog;
    }
    void keys() {
        pal::test::PumpOptions o;
        o.preTranslate = [this](MSG& msg) { return IsDialogMessageW(dialog, &msg) != FALSE; };
        pal::test::pump(o);
    }
    void key(int vk, std::initializer_list<int> modifiers = {}) {
        pal::test::pressKey(vk, modifiers);
        keys();
    }

    // The recorded rows of the compared messages: those written by the dialog's procedure and
    // its controls, and the owner's among the rest.
    Seq compared() {
        return usertest::keptRows(take(), [](const std::string&, const std::string& message) {
            return message.rfind("WM_COMMAND(", 0) == 0 ||
                   std::any_of(kCompared.begin(), kCompared.end(),
                               [&](const auto& c) { return c.second == message; });
        });
    }

    HWND owner = nullptr;
    HWND dialog = nullptr;
};

struct Case {
    const char* name;
    std::function<void(DialogOrder&)> setup; // not recorded
    std::function<void(DialogOrder&)> act;   // recorded
    Seq expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class DialogOrderTable : public DialogOrder, public ::testing::WithParamInterface<Case> {};

const Case kCases[] = {
    // The dialog and each control hear the template's font as they are made, before
    // WM_INITDIALOG; then the first tab stop gets the focus, an edit's text selected first.
    {"CreatingGivesTheFontFirstAndTheFocusAfterInitDialog",
     nullptr,
     [](DialogOrder& t) { t.dialog = t.makeDialog(); },
     {"dialog:WM_SETFONT", "name:WM_SETFONT", "count:WM_SETFONT", "ok:WM_SETFONT", "cancel:WM_SETFONT",
      "dialog:WM_INITDIALOG", "name:EM_SETSEL",
      // The focus may first activate the dialog, whose activation hands the focus on itself.
      optional("owner:WM_ACTIVATE"), optional("dialog:WM_ACTIVATE"), optional("name:EM_SETSEL"),
      "typed:WM_KILLFOCUS", "name:WM_SETFOCUS", "dialog:WM_COMMAND(name,EN_SETFOCUS)",
      optional("dialog:DM_GETDEFID"), optional("dialog:DM_GETDEFID")}},
    // A dialog that sets the focus itself and answers FALSE is left with the focus it chose.
    {"InitDialogAnsweringFalseKeepsTheFocusWhereItWas",
     [](DialogOrder&) { heard.focusByDialog = false; },
     [](DialogOrder& t) { t.dialog = t.makeDialog(); },
     {"dialog:WM_SETFONT", "name:WM_SETFONT", "count:WM_SETFONT", "ok:WM_SETFONT", "cancel:WM_SETFONT",
      "dialog:WM_INITDIALOG"}},
    {"TabSelectsTheNextEditsTextBeforeItGetsTheFocus",
     [](DialogOrder& t) { t.openDialog(); },
     [](DialogOrder& t) { t.key(VK_TAB); },
     {"count:EM_SETSEL", "name:WM_KILLFOCUS", "dialog:WM_COMMAND(name,EN_KILLFOCUS)", "count:WM_SETFOCUS",
      "dialog:WM_COMMAND(count,EN_SETFOCUS)", optional("dialog:DM_GETDEFID")}},
    {"EnterAsksForTheDefaultButtonAndCommandsIt",
     [](DialogOrder& t) { t.openDialog(); },
     [](DialogOrder& t) { t.key(VK_RETURN); },
     {"dialog:DM_GETDEFID", "dialog:WM_COMMAND(ok,BN_CLICKED)", "dialog:WM_ACTIVATE", "owner:WM_ACTIVATE",
      "name:WM_KILLFOCUS", "dialog:WM_COMMAND(name,EN_KILLFOCUS)", "typed:WM_SETFOCUS"}},
    // EndDialog hides a modeless dialog without destroying it, and the activation it passes on
    // gives the owner's control its focus back.
    {"EscapeCommandsCancelAndEndDialogHidesAModelessDialog",
     [](DialogOrder& t) { t.openDialog(); },
     [](DialogOrder& t) {
         t.key(VK_ESCAPE);
         EXPECT_TRUE(IsWindow(t.dialog));
         EXPECT_FALSE(IsWindowVisible(t.dialog));
     },
     {"dialog:WM_COMMAND(cancel,BN_CLICKED)", "dialog:WM_ACTIVATE", "owner:WM_ACTIVATE", "name:WM_KILLFOCUS",
      "dialog:WM_COMMAND(name,EN_KILLFOCUS)", "typed:WM_SETFOCUS"}},
    // The modal loop ends: the owner is enabled while the dialog still shows, the dialog hides
    // and is deactivated, the owner is activated and its control that had the focus has it back;
    // only then does the dialog go.
    {"AModalDialogEndsByEnablingItsOwnerWhichTakesActivationAndItsFocusBack",
     nullptr,
     [](DialogOrder& t) {
         t.recorder.recording = false;
         bool pressed = false;
         t.recorder.hook = [&t, &pressed](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
             if (hwnd == t.owner && message == WM_ENTERIDLE && !pressed) {
                 pressed = true;
                 t.recorder.log.clear();
                 t.recorder.recording = true;
                 pal::test::pressKey(VK_ESCAPE);
             }
             return false;
         };
         EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kTemplate), t.owner, &orderProc, 0), IDCANCEL);
         t.recorder.hook = nullptr;
     },
     {"dialog:WM_COMMAND(cancel,BN_CLICKED)", "owner:WM_ENABLE", "dialog:WM_ACTIVATE", "owner:WM_ACTIVATE",
      "name:WM_KILLFOCUS", optional("dialog:WM_COMMAND(name,EN_KILLFOCUS)"), "typed:WM_SETFOCUS",
      "dialog:WM_DESTROY", "name:WM_DESTROY", "count:WM_DESTROY", "ok:WM_DESTROY", "cancel:WM_DESTROY"}},
};

TEST_P(DialogOrderTable, MessagesArriveInThePlatformsOrder) {
    const Case& c = GetParam();
    if (c.setup)
        c.setup(*this);
    take();
    c.act(*this);
    const Seq got = compared();
    EXPECT_TRUE(usertest::sameOrder(got, c.expected)) << usertest::describeOrder(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DialogOrderTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

} // namespace
} // namespace controlstest
