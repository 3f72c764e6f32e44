// Property sheets: the order in which pages hear of a page change, Apply, OK and Cancel; and
// dialog data exchange with the standard controls.
#include "afxcmn.h"
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <functional>

namespace {

constexpr UINT IDD_PAGE_ONE = 310;
constexpr UINT IDD_PAGE_TWO = 311;
constexpr UINT IDD_EXCHANGE = 312;
constexpr UINT IDC_TITLE = 1001;
constexpr UINT IDC_SCALE = 1002;
constexpr UINT IDC_A = 1003, IDC_B = 1004, IDC_C = 1005;
constexpr UINT IDC_FORMAT = 1006, IDC_FONTS = 1007, IDC_PAPER = 1008, IDC_PROGRESS = 1009;

const AFX_DLGITEM kPageOne[] = {
    {L"Edit", L"", IDC_TITLE, WS_TABSTOP | WS_BORDER, 7, 7, 100, 12},
};
const AFX_DLGITEM kPageTwo[] = {
    {L"Edit", L"", IDC_SCALE, WS_TABSTOP | WS_BORDER, 7, 7, 60, 12},
};
const AFX_DLGITEM kExchange[] = {
    {L"Button", L"A", IDC_A, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 7, 7, 40, 10},
    {L"Button", L"B", IDC_B, BS_AUTORADIOBUTTON, 7, 19, 40, 10},
    {L"Button", L"C", IDC_C, BS_AUTORADIOBUTTON, 7, 31, 40, 10},
    {L"ComboBox", L"", IDC_FORMAT, WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST, 60, 7, 80, 60},
    {L"ListBox", L"", IDC_FONTS, WS_TABSTOP | WS_BORDER, 60, 24, 80, 40},
    {L"ComboBox", L"", IDC_PAPER, WS_TABSTOP | CBS_DROPDOWN, 60, 70, 80, 60},
    {L"msctls_progress32", L"", IDC_PROGRESS, 0, 7, 90, 130, 8},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {IDD_PAGE_ONE, L"General", WS_POPUP | WS_CAPTION, 0, 0, 160, 80, kPageOne, std::size(kPageOne)},
    {IDD_PAGE_TWO, L"Scale", WS_POPUP | WS_CAPTION, 0, 0, 120, 100, kPageTwo, std::size(kPageTwo)},
    {IDD_EXCHANGE, L"Exchange", WS_POPUP | WS_CAPTION, 0, 0, 150, 110, kExchange, std::size(kExchange)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

using Log = std::vector<std::string>;

class Page : public CPropertyPage {
public:
    Page(UINT id, const char* name, Log& log) : CPropertyPage(id), name_(name), log_(log) {}
    bool refuseLeaving = false;
    bool refuseApply = false;
    bool refuseCancel = false;
    BOOL OnInitDialog() override {
        log_.push_back(name_ + ":OnInitDialog");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        log_.push_back(name_ + ":OnSetActive");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        log_.push_back(name_ + ":OnKillActive");
        return refuseLeaving ? FALSE : CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override {
        log_.push_back(name_ + ":OnApply");
        return refuseApply ? FALSE : CPropertyPage::OnApply();
    }
    void OnOK() override { log_.push_back(name_ + ":OnOK"); }
    void OnCancel() override { log_.push_back(name_ + ":OnCancel"); }
    BOOL OnQueryCancel() override {
        log_.push_back(name_ + ":OnQueryCancel");
        return refuseCancel ? FALSE : TRUE;
    }

private:
    std::string name_;
    Log& log_;
};

class PropertySheetTest : public pal::test::SandboxTest {
protected:
    CWinApp app{L"Sheets"};
    CWnd owner;
    Log log;
    Page one{IDD_PAGE_ONE, "one", log};
    Page two{IDD_PAGE_TWO, "two", log};
    CPropertySheet sheet{L"Settings"};
    void SetUp() override {
        SandboxTest::SetUp();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr));
        app.m_pMainWnd = &owner;
        sheet.AddPage(&one);
        sheet.AddPage(&two);
    }
    void TearDown() override {
        if (sheet.m_hWnd)
            sheet.DestroyWindow();
        app.m_pMainWnd = nullptr;
        owner.DestroyWindow();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SandboxTest::TearDown();
    }
    Log take() {
        Log out;
        out.swap(log);
        return out;
    }
    bool applyEnabled() { return ::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)) != FALSE; }
};

TEST_F(PropertySheetTest, PagesAreMadeWhenFirstShownAndAskedBeforeTheyAreLeft) {
    ASSERT_TRUE(sheet.Create(&owner));
    EXPECT_EQ(take(), (Log{"one:OnInitDialog", "one:OnSetActive"}));
    EXPECT_EQ(two.m_hWnd, nullptr) << "a page is made when it is first shown";
    const struct {
        const char* name;
        std::function<void()> act;
        Log heard;
        int active;
    } steps[] = {
        {"to the second page",
         [&] { sheet.SetActivePage(1); },
         {"one:OnKillActive", "two:OnInitDialog", "two:OnSetActive"},
         1},
        {"back by PSM_SETCURSEL",
         [&] { ::SendMessageW(sheet.m_hWnd, PSM_SETCURSEL, 0, 0); },
         {"two:OnKillActive", "one:OnSetActive"},
         0},
        {"a page that refuses to be left",
         [&] {
             one.refuseLeaving = true;
             sheet.SetActivePage(1);
             one.refuseLeaving = false;
         },
         {"one:OnKillActive"},
         0},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(take(), s.heard) << s.name;
        EXPECT_EQ(sheet.GetActiveIndex(), s.active) << s.name;
        EXPECT_EQ((one.GetStyle() & WS_VISIBLE) != 0, s.active == 0) << s.name;
    }
}

TEST_F(PropertySheetTest, ApplyAsksEveryMadePageAndOkClosesTheSheet) {
    ASSERT_TRUE(sheet.Create(&owner));
    sheet.SetActivePage(1);
    take();
    EXPECT_FALSE(applyEnabled());
    two.SetModified();
    EXPECT_TRUE(applyEnabled());
    ::SendMessageW(sheet.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)));
    EXPECT_EQ(take(), (Log{"two:OnKillActive", "one:OnApply", "one:OnOK", "two:OnApply", "two:OnOK"}));
    EXPECT_FALSE(applyEnabled()) << "applied: nothing left to apply";
    one.refuseApply = true;
    sheet.PressButton(PSBTN_OK);
    EXPECT_EQ(take(), (Log{"two:OnKillActive", "one:OnApply", "two:OnKillActive", "one:OnSetActive"}));
    EXPECT_EQ(sheet.GetActiveIndex(), 0) << "the page that refused is shown";
    EXPECT_EQ(sheet.m_nResult, -1);
    one.refuseApply = false;
    sheet.PressButton(PSBTN_OK);
    EXPECT_EQ(take(), (Log{"one:OnKillActive", "one:OnApply", "one:OnOK", "two:OnApply", "two:OnOK"}));
    EXPECT_EQ(sheet.m_nResult, IDOK);
}

TEST_F(PropertySheetTest, CancelAsksTheActivePageThenResetsEveryMadePage) {
    ASSERT_TRUE(sheet.Create(&owner));
    take();
    one.refuseCancel = true;
    sheet.PressButton(PSBTN_CANCEL);
    EXPECT_EQ(take(), Log{"one:OnQueryCancel"});
    EXPECT_EQ(sheet.m_nResult, -1);
    one.refuseCancel = false;
    sheet.PressButton(PSBTN_CANCEL);
    EXPECT_EQ(take(), (Log{"one:OnQueryCancel", "one:OnCancel"}));
    EXPECT_EQ(sheet.m_nResult, IDCANCEL);
}

// The owner presses a key (Enter: OK) on the modal sheet the first time the sheet's loop goes idle.
class IdleOwner : public CWnd {
public:
    int idle = 0;
    int key = VK_RETURN;
    LRESULT OnEnterIdle(WPARAM, LPARAM lParam) {
        if (idle++ == 0)
            ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, key, 0);
        return 0;
    }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(IdleOwner, CWnd)
ON_MESSAGE(WM_ENTERIDLE, &IdleOwner::OnEnterIdle)
END_MESSAGE_MAP()

TEST_F(PropertySheetTest, ModalSheetRunsItsLoopAndEnterPressesOk) {
    IdleOwner idleOwner;
    ASSERT_TRUE(idleOwner.CreateEx(0, nullptr, L"idle owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                   200, nullptr, nullptr));
    CPropertySheet modal(L"Modal", &idleOwner);
    Page page{IDD_PAGE_ONE, "modal", log};
    modal.AddPage(&page);
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_EQ(take(), (Log{"modal:OnInitDialog", "modal:OnSetActive", "modal:OnKillActive", "modal:OnApply",
                           "modal:OnOK"}));
    EXPECT_EQ(modal.m_hWnd, nullptr);
    EXPECT_TRUE(idleOwner.IsWindowEnabled());
    idleOwner.DestroyWindow();
}

// However the modal sheet ends, its owner is enabled before the sheet hides, so activation and the
// focus go back to the owner's control that had them, not to another window of the program (the
// fixture's owner, below).
TEST_F(PropertySheetTest, AModalSheetGivesActivationAndTheFocusBackToItsOwner) {
    IdleOwner idleOwner;
    ASSERT_TRUE(idleOwner.CreateEx(0, nullptr, L"idle owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                   200, nullptr, nullptr));
    const HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20,
                                        idleOwner.m_hWnd, nullptr, nullptr, nullptr);
    const struct {
        const char* name;
        int key;
        INT_PTR result;
    } endings[] = {{"Enter", VK_RETURN, IDOK}, {"Escape", VK_ESCAPE, IDCANCEL}};
    for (const auto& end : endings) {
        SCOPED_TRACE(end.name);
        ::SetActiveWindow(idleOwner.m_hWnd);
        ::SetFocus(edit);
        idleOwner.idle = 0;
        idleOwner.key = end.key;
        CPropertySheet modal(L"Modal", &idleOwner);
        Page page{IDD_PAGE_ONE, "modal", log};
        modal.AddPage(&page);
        EXPECT_EQ(modal.DoModal(), end.result);
        EXPECT_EQ(::GetActiveWindow(), idleOwner.m_hWnd);
        EXPECT_EQ(::GetFocus(), edit);
    }
    idleOwner.DestroyWindow();
}

class Exchange : public CDialog {
public:
    Exchange() : CDialog(IDD_EXCHANGE) {}
    int radio = 1;
    int format = 2;
    int font = 0;
    CString paper = L"A3";
    CListBox fonts;
    CProgressCtrl progress;
    BOOL OnInitDialog() override {
        for (const wchar_t* f : {L"A4 portrait", L"A3", L"A2"}) {
            ::SendDlgItemMessageW(m_hWnd, IDC_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
            ::SendDlgItemMessageW(m_hWnd, IDC_PAPER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
            ::SendDlgItemMessageW(m_hWnd, IDC_FONTS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
        }
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_FONTS, fonts);
        DDX_Control(pDX, IDC_PROGRESS, progress);
        DDX_Radio(pDX, IDC_A, radio);
        DDX_CBIndex(pDX, IDC_FORMAT, format);
        DDX_LBIndex(pDX, IDC_FONTS, font);
        DDX_CBString(pDX, IDC_PAPER, paper);
    }
};

using ExchangeTest = PropertySheetTest;

TEST_F(ExchangeTest, MembersReachTheControlsAndComeBack) {
    Exchange dialog;
    ASSERT_TRUE(dialog.Create(IDD_EXCHANGE, &owner));
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_B), BST_CHECKED);
    EXPECT_EQ(::SendDlgItemMessageW(dialog.m_hWnd, IDC_FORMAT, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(dialog.fonts.GetCurSel(), 0) << "DDX_Control attached the list";
    CString text;
    dialog.fonts.GetText(5, text);
    EXPECT_TRUE(text.IsEmpty()) << "an index that is not there leaves the string alone";
    dialog.progress.SetRange32(0, 10);
    EXPECT_EQ(dialog.progress.SetPos(4), 0);
    CString paper;
    dialog.GetDlgItemText(IDC_PAPER, paper);
    EXPECT_EQ(paper, L"A3");
    dialog.CheckDlgButton(IDC_B, BST_UNCHECKED);
    dialog.CheckDlgButton(IDC_C, BST_CHECKED);
    ::SendDlgItemMessageW(dialog.m_hWnd, IDC_FORMAT, CB_SETCURSEL, 0, 0);
    dialog.fonts.SetCurSel(2);
    dialog.SetDlgItemText(IDC_PAPER, L"Custom 300x200");
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.radio, 2);
    EXPECT_EQ(dialog.format, 0);
    EXPECT_EQ(dialog.font, 2);
    EXPECT_EQ(dialog.paper, L"Custom 300x200");
    dialog.CheckDlgButton(IDC_C, BST_UNCHECKED);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.radio, -1) << "no button of the group is checked";
    dialog.DestroyWindow();
}

} // namespace
