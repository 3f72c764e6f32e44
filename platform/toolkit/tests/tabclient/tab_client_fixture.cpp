#include "tab_client_fixture.h"

#include "pal/test/user_hooks.h"

namespace toolkit_test {

namespace {

const AFX_STRING_RESOURCE kStrings[] = {
    {kSheetResource, L"\nSheet\nSheet\nSheets (*.sht)\n.sht"},
    {kAppResource, L"Dravik"},
};
const pal::mfc::StringTable kTable(&kStrings, kStrings, sizeof kStrings / sizeof kStrings[0]);

} // namespace

IMPLEMENT_DYNCREATE(Sheet, CDocument)
IMPLEMENT_DYNCREATE(SheetView, CView)
IMPLEMENT_DYNCREATE(SheetFrame, CMDIChildWnd)

COLORREF SheetView::paper = RGB(255, 255, 255);

void SheetView::OnDraw(CDC* dc) {
    CRect r;
    GetClientRect(&r);
    dc->FillSolidRect(&r, paper);
    CGdiObject* old = dc->SelectStockObject(DEFAULT_GUI_FONT);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(20, 40, 120));
    const CString name = GetDocument() ? GetDocument()->GetTitle() : CString();
    dc->DrawText(name, name.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SelectObject(old);
}

BOOL ShellApp::InitInstance() {
    SetRegistryKey(L"Dravik Tests");
    AddDocTemplate(new CMultiDocTemplate(kSheetResource, RUNTIME_CLASS(Sheet), RUNTIME_CLASS(SheetFrame),
                                         RUNTIME_CLASS(SheetView)));
    auto* frame = new CMDIFrameWnd;
    if (!frame->LoadFrame(kAppResource))
        return FALSE;
    m_pMainWnd = frame;
    frame->MoveWindow(40, 40, 720, 480);
    frame->ShowWindow(SW_SHOW);
    return TRUE;
}

void TabClientTest::SetUp() {
    SandboxTest::SetUp();
    ASSERT_TRUE(run.init());
    main = static_cast<CMDIFrameWnd*>(app.m_pMainWnd);
    ASSERT_TRUE(tabs.Attach(main));
}

void TabClientTest::TearDown() {
    tabs.Detach();
    SandboxTest::TearDown();
}

void TabClientTest::open(int n) {
    for (int i = 0; i < n; ++i)
        app.OnFileNew();
    run.pump();
}

void TabClientTest::drag(CPoint from, CPoint to) {
    pal::test::mouseDown(from);
    run.pump();
    pal::test::mouseMove(to);
    run.pump();
    pal::test::mouseUp(to);
    run.pump();
}

HWND TabClientTest::activeChild() const {
    CMDIChildWnd* child = main->MDIGetActive();
    return child ? child->m_hWnd : nullptr;
}

Layout TabClientTest::layout() const {
    Layout result;
    for (int i = 0; i < tabs.GetWorkspaceCount(); ++i) {
        std::vector<std::wstring> captions;
        CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(i);
        for (int k = 0; k < ws->GetItemCount(); ++k)
            captions.emplace_back(ws->GetItem(k)->GetCaption());
        result.push_back(captions);
    }
    return result;
}

void TabClientTest::writeState(const std::wstring& horizontal, const std::vector<std::wstring>& groups,
                               int count) {
    app.WriteProfileInt(L"TabClient", L"Groups", count < 0 ? static_cast<int>(groups.size()) : count);
    app.WriteProfileInt(L"TabClient", L"Horizontal", horizontal == L"1" ? 1 : 0);
    for (size_t i = 0; i < groups.size(); ++i) {
        CString entry;
        entry.Format(L"Group%d", static_cast<int>(i));
        app.WriteProfileString(L"TabClient", entry, groups[i].c_str());
    }
}

} // namespace toolkit_test
