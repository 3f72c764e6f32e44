// The window list of the MDI frame: it lists the document windows and acts on the chosen ones.
#include "bars_fixture.h"

namespace bars_test {
namespace {

class WindowListTest : public BarsTest {};

TEST_F(WindowListTest, ListsTheDocumentWindowsActiveFirstAndActivatesTheChosenOne) {
    App app;
    pal::test::AppRun run(app);
    ASSERT_TRUE(run.init());
    std::vector<CMDIChildWnd*> children;
    for (const wchar_t* title : {L"Sheet 1", L"Sheet 2", L"Sheet 3"}) {
        auto* child = new CMDIChildWnd;
        ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, &app.frame));
        children.push_back(child);
    }
    app.frame.MDIActivate(children[2]);
    run.pump();
    ASSERT_EQ(app.frame.MDIGetActive(), children[2]);

    CXTPWindowList list(&app.frame);
    std::vector<std::wstring> shown;
    bool activateEnabled = false, tileEnabled = true;
    app.frame.whenIdle.push_back([&](HWND dialog) {
        const HWND box = ::GetDlgItem(dialog, XTP_IDC_WINDOWLIST_LIST);
        for (int i = 0; i < list.m_lbWindows.GetCount(); ++i) {
            CString text;
            list.m_lbWindows.GetText(i, text);
            shown.emplace_back(text.GetString());
        }
        activateEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, XTP_IDC_WINDOWLIST_ACTIVATE));
        tileEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, XTP_IDC_WINDOWLIST_TILEVERT));
        // Choose Sheet 1 alone, then Activate.
        list.m_lbWindows.SetSel(-1, FALSE);
        list.m_lbWindows.SetSel(2, TRUE);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(box));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(XTP_IDC_WINDOWLIST_ACTIVATE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, XTP_IDC_WINDOWLIST_ACTIVATE)));
    });
    EXPECT_EQ(list.DoModal(), IDOK);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Sheet 3", L"Sheet 1", L"Sheet 2"}));
    EXPECT_TRUE(activateEnabled) << "one window chosen";
    EXPECT_FALSE(tileEnabled) << "tiling needs two";
    EXPECT_EQ(app.frame.MDIGetActive(), children[1]);
}

} // namespace
} // namespace bars_test
