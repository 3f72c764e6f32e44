// Dialogs run their real modal loop; the test drives the live dialog through ordinary
// messages from its owner, which the loop tells when it is idle (WM_ENTERIDLE).
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"

#include <functional>

namespace {

constexpr UINT IDD_SETTINGS = 200;
constexpr UINT IDC_NAME = 1001;
constexpr UINT IDC_COUNT = 1002;
constexpr UINT IDC_FLAG = 1003;

const AFX_DLGITEM kSettingsItems[] = {
    {L"Edit", L"", IDC_NAME, WS_TABSTOP, 7, 7, 120, 12},
    {L"Edit", L"", IDC_COUNT, WS_TABSTOP, 7, 24, 120, 12},
    {L"Button", L"Flag", IDC_FLAG, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 41, 120, 10},
    {L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 58, 50, 14},
    {L"Button", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 64, 58, 50, 14},
};
const AFX_DLGTEMPLATE kDialogs[] = {
    {IDD_SETTINGS, L"Settings", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 140, 80, kSettingsItems,
     std::size(kSettingsItems)},
};
AFX_DIALOG_TEMPLATES(kDialogs);

class SettingsDialog : public CDialog {
public:
    explicit SettingsDialog(CWnd* parent) : CDialog(IDD_SETTINGS, parent) {}
    CString name = L"initial";
    int count = 1;
    int flag = 0;
    int initCalls = 0;
    BOOL OnInitDialog() override {
        ++initCalls;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_NAME, name);
        DDX_Text(pDX, IDC_COUNT, count);
        DDX_Check(pDX, IDC_FLAG, flag);
    }
};

// The owner: each time the dialog goes idle it runs the next step of the test's script.
class Owner : public CWnd {
public:
    std::vector<std::function<void(HWND dialog)>> script;
    size_t next = 0;
    std::vector<std::wstring> shownOnEntry;
    LRESULT OnEnterIdle(WPARAM, LPARAM lParam) {
        const HWND dialog = reinterpret_cast<HWND>(lParam);
        if (next < script.size())
            script[next++](dialog);
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Owner, CWnd)
ON_MESSAGE(WM_ENTERIDLE, &Owner::OnEnterIdle)
END_MESSAGE_MAP()

std::wstring text(HWND dialog, UINT id) {
    wchar_t buffer[128] = {};
    ::GetWindowTextW(::GetDlgItem(dialog, static_cast<int>(id)), buffer, 128);
    return buffer;
}

void click(HWND dialog, UINT id) {
    ::SendMessageW(::GetDlgItem(dialog, static_cast<int>(id)), BM_CLICK, 0, 0);
}

class DialogTest : public pal::test::SandboxTest {
protected:
    CWinApp app{L"Dialogs"};
    Owner owner;
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr));
        app.m_pMainWnd = &owner;
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        owner.DestroyWindow();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SandboxTest::TearDown();
    }
};

TEST_F(DialogTest, ModalDialogReturnsOkWithTheTypedValues) {
    SettingsDialog dialog(&owner);
    bool ownerDisabled = false;
    owner.script = {
        [&](HWND d) {
            // The members reached the controls before the dialog showed.
            owner.shownOnEntry = {text(d, IDC_NAME), text(d, IDC_COUNT)};
            ownerDisabled = !::IsWindowEnabled(owner.m_hWnd);
            EXPECT_TRUE(::IsWindowVisible(d));
            ::SetWindowTextW(::GetDlgItem(d, IDC_NAME), L"Sheet 1");
            ::SetWindowTextW(::GetDlgItem(d, IDC_COUNT), L" 42 ");
            click(d, IDC_FLAG);
            click(d, IDOK);
        },
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(owner.shownOnEntry, (std::vector<std::wstring>{L"initial", L"1"}));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_EQ(dialog.name, L"Sheet 1");
    EXPECT_EQ(dialog.count, 42);
    EXPECT_EQ(dialog.flag, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, BadNumberIsRefusedUntilCorrected) {
    SettingsDialog dialog(&owner);
    owner.script = {
        [&](HWND d) {
            ::SetWindowTextW(::GetDlgItem(d, IDC_COUNT), L"many");
            answer(IDOK); // the message that asks for a number
            click(d, IDOK);
            ::PostMessageW(d, WM_USER, 0, 0); // go idle again for the next step
        },
        [&](HWND d) {
            EXPECT_TRUE(::IsWindowVisible(d)) << "the dialog stays after a refused OK";
            ::SetWindowTextW(::GetDlgItem(d, IDC_COUNT), L"-7");
            click(d, IDOK);
        },
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.count, -7);
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("text"), "Please enter an integer.");
}

TEST_F(DialogTest, EscapeAndCloseCancelWithoutTakingValues) {
    for (const bool useClose : {false, true}) {
        SettingsDialog dialog(&owner);
        owner.next = 0;
        owner.script = {
            [&](HWND d) {
                ::SetWindowTextW(::GetDlgItem(d, IDC_NAME), L"discarded");
                if (useClose) {
                    ::PostMessageW(d, WM_CLOSE, 0, 0);
                } else {
                    ::PostMessageW(::GetDlgItem(d, IDC_NAME), WM_KEYDOWN, VK_ESCAPE, 0);
                }
            },
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.name, L"initial");
    }
}

TEST_F(DialogTest, ReturnKeyPressesOk) {
    SettingsDialog dialog(&owner);
    owner.script = {[&](HWND d) { ::PostMessageW(::GetDlgItem(d, IDC_NAME), WM_KEYDOWN, VK_RETURN, 0); }};
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

// The owner is enabled before the ending dialog hides, so activation goes back to it and the
// control that had the focus takes the keys again, without a click.
TEST_F(DialogTest, AnEndedDialogGivesActivationAndTheFocusBackToTheOwner) {
    const HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, owner.m_hWnd,
                                        nullptr, nullptr, nullptr);
    // Another window of the program, which would take the activation from a dialog hiding while
    // its owner is still disabled.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 0, 200, 200,
                               nullptr, nullptr));
    const std::function<void(HWND)> endings[] = {
        [](HWND d) { ::PostMessageW(::GetDlgItem(d, IDC_NAME), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND d) { click(d, IDOK); },
    };
    for (const auto& end : endings) {
        ::SetActiveWindow(owner.m_hWnd);
        ::SetFocus(edit);
        SettingsDialog dialog(&owner);
        owner.next = 0;
        owner.script = {end};
        dialog.DoModal();
        EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
        EXPECT_EQ(::GetFocus(), edit);
    }
}

INT_PTR plainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// Nobody at a display and no script of the owner's: the loop that would wait for a person for
// ever asks the responder, as a message box does, whichever loop runs the dialog.
TEST_F(DialogTest, WithNobodyAtADisplayTheResponderAnswersTheModalLoop) {
    struct Loop {
        const char* name;
        std::function<INT_PTR()> run;
    };
    const Loop loops[] = {
        {"class library", [&] { return SettingsDialog(&owner).DoModal(); }},
        {"dialog manager",
         [&] {
             return ::DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), owner.m_hWnd, &plainDialogProc,
                                      0);
         }},
    };
    struct Case {
        const char* answer;
        std::function<void()> give;
        INT_PTR result;
        const char* journaled;
    };
    allowUnansweredPrompts = true;
    const Case cases[] = {
        {"a button's id", [&] { answer(IDOK); }, IDOK, "prompt"},
        {"a button's text", [&] { answer(std::wstring(L"cancel")); }, IDCANCEL, "prompt"},
        {"none", [] {}, IDCANCEL, "prompt.unanswered"},
    };
    for (const Loop& loop : loops) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(loop.name) + ", " + c.answer);
            const size_t before = journal(c.journaled).size();
            c.give();
            EXPECT_EQ(loop.run(), c.result);
            const auto prompts = journal(c.journaled);
            ASSERT_EQ(prompts.size(), before + 1);
            EXPECT_EQ(prompts.back().get("kind"), "Dialog");
            EXPECT_EQ(prompts.back().get("caption"), "Settings");
            EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        }
    }
}

TEST_F(DialogTest, MissingTemplateFailsWithoutALoop) {
    CDialog dialog(999, &owner);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
}

TEST_F(DialogTest, ModelessDialogStaysAfterCreate) {
    SettingsDialog dialog(&owner);
    dialog.name = L"modeless";
    ASSERT_TRUE(dialog.Create(IDD_SETTINGS, &owner));
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_EQ(text(dialog.m_hWnd, IDC_NAME), L"modeless");
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog.IsWindowVisible());
    ::SetWindowTextW(::GetDlgItem(dialog.m_hWnd, IDC_NAME), L"edited");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.name, L"edited");
    dialog.DestroyWindow();
}

} // namespace
