// The tool kit's dialog helpers: anchored layouts, the window list of an MDI frame, themed trees,
// and modules loaded by name.
#include "../commandbars/bars_fixture.h"

#include <algorithm>

namespace bars_test {
namespace {

constexpr UINT kResizeDialog = 7100, kList = 7101, kNote = 7102, kCentre = 7103;

const AFX_DLGITEM kItems[] = {
    {L"ListBox", L"", kList, WS_BORDER, 7, 7, 100, 60},
    {L"Static", L"note", kNote, SS_LEFT, 7, 72, 100, 8},
    {L"Button", L"Mid", kCentre, BS_PUSHBUTTON, 115, 30, 40, 14},
    {L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON, 115, 66, 40, 14},
};
constexpr UINT kResizeForm = 7110;
const AFX_DLGITEM kFormItems[] = {
    {L"Edit", L"", kNote, WS_BORDER, 2, 2, 146, 12},
    {L"ListBox", L"", kList, WS_BORDER, 2, 18, 146, 180},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {kResizeDialog, L"Resize", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 0, 162, 86, kItems,
     std::size(kItems), L"MS Shell Dlg", 8},
    {kResizeForm, L"", WS_CHILD, 0, 0, 150, 200, kFormItems, std::size(kFormItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

class Resizing : public CXTPResizeDialog {
public:
    Resizing() : CXTPResizeDialog(kResizeDialog) {}
    BOOL OnInitDialog() override {
        CXTPResizeDialog::OnInitDialog();
        SetResize(kList, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
        SetResize(kNote, XTP_ANCHOR_BOTTOMLEFT, XTP_ANCHOR_BOTTOMRIGHT);
        SetResize(kCentre, XTP_ANCHOR_MIDDLERIGHT, XTP_ANCHOR_MIDDLERIGHT);
        SetResize(IDOK, XTP_ANCHOR_BOTTOMRIGHT, XTP_ANCHOR_BOTTOMRIGHT);
        return TRUE;
    }
};

// A form anchoring its controls once the tool kit has taken its template's size, as a pane's
// form does after it is made with no size at all.
class ResizingForm : public CXTPResizeFormView {
public:
    ResizingForm() : CXTPResizeFormView(kResizeForm) {}
    void OnInitialUpdate() override {
        CXTPResizeFormView::OnInitialUpdate();
        SetResize(kNote, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_TOPRIGHT);
        SetResize(kList, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    }

protected:
    void PostNcDestroy() override {}
};

CRect childRect(CWnd& parent, UINT id) {
    CRect r;
    parent.GetDlgItem(static_cast<int>(id))->GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

class DialogsTest : public BarsTest {};

TEST_F(DialogsTest, AnchoredControlsFollowTheDialogsGrowthAndItNeverShrinksBelowItsStart) {
    Resizing dialog;
    ASSERT_TRUE(dialog.Create(kResizeDialog));
    const CRect list = childRect(dialog, kList), note = childRect(dialog, kNote),
                mid = childRect(dialog, kCentre), ok = childRect(dialog, IDOK);
    CRect window;
    dialog.GetWindowRect(&window);
    dialog.SetWindowPos(nullptr, 0, 0, window.Width() + 60, window.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
    struct Case {
        const char* name;
        UINT id;
        CRect before;
        CSize topLeft, bottomRight;
    };
    const Case cases[] = {
        {"list grows both ways", kList, list, {0, 0}, {60, 40}},
        {"note follows the bottom and stretches", kNote, note, {0, 40}, {60, 40}},
        {"middle button follows the middle", kCentre, mid, {60, 20}, {60, 20}},
        {"OK follows the corner", IDOK, ok, {60, 40}, {60, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRect now = childRect(dialog, c.id);
        EXPECT_EQ(now.TopLeft(), c.before.TopLeft() + c.topLeft);
        EXPECT_EQ(now.BottomRight(), c.before.BottomRight() + c.bottomRight);
    }
    MINMAXINFO info{};
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, window.Width());
    EXPECT_EQ(info.ptMinTrackSize.y, window.Height());
    dialog.DestroyWindow();
}

TEST_F(DialogsTest, AFormMadeWithNoSizeKeepsItsControlsInsideAtEverySizeItTakes) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE,
                                CRect(0, 0, 900, 900), nullptr, 0));
    ResizingForm form;
    ASSERT_TRUE(form.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &parent, 1, nullptr));
    form.OnInitialUpdate();
    // The template's own layout, in pixels of the dialog units forms are laid out in.
    const LONG units = ::GetDialogBaseUnits();
    const auto px = [&](int l, int t, int r, int b) {
        return CRect(l * LOWORD(units) / 4, t * HIWORD(units) / 8, r * LOWORD(units) / 4,
                     b * HIWORD(units) / 8);
    };
    const CRect designed = px(0, 0, 150, 200), box = px(2, 2, 148, 14), list = px(2, 18, 148, 198);
    const CSize sizes[] = {{designed.Width(), designed.Height()}, {350, 660}, {200, 300}, {640, 800}};
    for (const CSize& size : sizes) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        form.MoveWindow(0, 0, size.cx, size.cy);
        const CSize grown(size.cx - designed.Width(), size.cy - designed.Height());
        EXPECT_EQ(childRect(form, kNote), CRect(box.left, box.top, box.right + grown.cx, box.bottom))
            << "the box keeps its top and its margins";
        EXPECT_EQ(childRect(form, kList),
                  CRect(list.left, list.top, list.right + grown.cx, list.bottom + grown.cy))
            << "the list keeps its margins";
    }
    form.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(DialogsTest, TheWindowListActivatesClosesAndArrangesTheFramesDocuments) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    std::vector<CMDIChildWnd*> children;
    for (const wchar_t* title : {L"Plan.dvd", L"Section.dvd", L"Detail.dvd"}) {
        auto* child = new CMDIChildWnd;
        ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CRect(0, 0, 200, 150), &app.frame));
        children.push_back(child);
    }
    app.frame.MDIActivate(children[1]);
    run.pump();
    CXTPWindowList list(&app.frame);
    ASSERT_TRUE(list.Create(XTP_IDD_WINDOWLIST, &app.frame));
    ASSERT_EQ(list.GetWindows().size(), 3u);
    // The active document is chosen; one choice activates.
    ASSERT_EQ(list.GetSelectedWindows().size(), 1u);
    EXPECT_EQ(list.GetSelectedWindows()[0], app.frame.MDIGetActive()->m_hWnd);
    auto* box = static_cast<CListBox*>(list.GetDlgItem(XTP_IDC_WINDOWLIST_LIST));
    const auto plan = std::find(list.GetWindows().begin(), list.GetWindows().end(), children[0]->m_hWnd);
    ASSERT_NE(plan, list.GetWindows().end());
    box->SetSel(-1, FALSE);
    box->SetSel(static_cast<int>(plan - list.GetWindows().begin()), TRUE);
    list.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box->m_hWnd));
    EXPECT_TRUE(list.GetDlgItem(XTP_IDC_WINDOWLIST_ACTIVATE)->IsWindowEnabled());
    list.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_ACTIVATE, BN_CLICKED), 0);
    run.pump();
    EXPECT_EQ(app.frame.MDIGetActive()->m_hWnd, children[0]->m_hWnd);
    list.DestroyWindow();

    // Two chosen: Activate is off, Close closes both.
    CXTPWindowList again(&app.frame);
    ASSERT_TRUE(again.Create(XTP_IDD_WINDOWLIST, &app.frame));
    box = static_cast<CListBox*>(again.GetDlgItem(XTP_IDC_WINDOWLIST_LIST));
    box->SetSel(-1, TRUE);
    box->SetSel(0, FALSE);
    again.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_LIST, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(box->m_hWnd));
    EXPECT_FALSE(again.GetDlgItem(XTP_IDC_WINDOWLIST_ACTIVATE)->IsWindowEnabled());
    again.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_CLOSE, BN_CLICKED), 0);
    run.pump();
    EXPECT_EQ(again.GetWindows().size(), 1u);
    again.DestroyWindow();
}

TEST_F(DialogsTest, ATreeTakesItsThemesColours) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 200), nullptr, 0));
    CXTPTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 150), &parent, 1));
    CXTPTreeBase& base = tree;
    base.SetTheme(xtpControlThemeVisualStudio2015);
    const XTP_CONTROL_THEME_COLORS dark = XTPGetControlThemeColors(xtpControlThemeVisualStudio2015);
    EXPECT_EQ(tree.GetBkColor(), dark.clrFace);
    EXPECT_EQ(tree.GetTextColor(), dark.clrText);
    base.SetTheme(xtpControlThemeDefault);
    EXPECT_EQ(tree.GetBkColor(), static_cast<COLORREF>(-1));
    parent.DestroyWindow();
}

TEST_F(DialogsTest, AModuleLoadedByNameGivesItsFunctionsOrSaysItHasNone) {
    CXTPModuleHandle missing;
    EXPECT_FALSE(missing.Init(L"no_such_module.dll"));
    void (*fn)() = nullptr;
    EXPECT_FALSE(missing.GetProcAddress(&fn, "Anything"));
    EXPECT_EQ(fn, nullptr);

    CXTPModuleHandle compression(L"Compression.dll");
    ASSERT_NE(compression.GetHandle(), nullptr);
    EXPECT_FALSE(compression.GetProcAddress(&fn, "NoSuchFunctionAnywhere"));
    EXPECT_TRUE(compression.FreeLibrary());
    EXPECT_EQ(compression.GetHandle(), nullptr);
}

} // namespace
} // namespace bars_test
