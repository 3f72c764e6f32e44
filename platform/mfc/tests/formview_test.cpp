// Form views: the controls of a dialog template inside a frame, commands from them routed
// through the view to its document, and a template that does not exist. Scroll views: the
// position stays within the total size and moves the drawing.
#include "afxwin.h"
#include "pal/test/sandbox_test.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kForm = 500;
constexpr UINT kApply = 501;
constexpr UINT kName = 502;
constexpr UINT kMissingForm = 599;

const AFX_DLGITEM kItems[] = {
    {L"Edit", L"", kName, WS_BORDER | WS_TABSTOP, 7, 7, 120, 14},
    {L"Button", L"Apply", kApply, BS_PUSHBUTTON | WS_TABSTOP, 7, 28, 50, 14},
};
const AFX_DLGTEMPLATE kTemplates[] = {{kForm, L"ignored", WS_POPUP | WS_CAPTION, 0, 0, 200, 150, kItems, 2}};
AFX_DIALOG_TEMPLATES(kTemplates);

std::vector<std::string> heard;

class FormDoc : public CDocument {
public:
    CString name = L"Plan";
    void OnApply() { heard.push_back("document applies"); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FormDoc, CDocument)
ON_COMMAND(kApply, &FormDoc::OnApply)
END_MESSAGE_MAP()

class Form : public CFormView {
    DECLARE_DYNCREATE(Form)
public:
    Form() : CFormView(kForm) {}
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kName, static_cast<FormDoc*>(GetDocument())->name);
    }
};
IMPLEMENT_DYNCREATE(Form, CFormView)

class MissingForm : public CFormView {
    DECLARE_DYNCREATE(MissingForm)
public:
    MissingForm() : CFormView(kMissingForm) {}
};
IMPLEMENT_DYNCREATE(MissingForm, CFormView)

class FormViewTest : public pal::test::SandboxTest {
protected:
    CFrameWnd* make(CRuntimeClass* view) {
        CCreateContext context;
        context.m_pNewViewClass = view;
        context.m_pCurrentDoc = &document;
        auto* frame = new CFrameWnd;
        if (!frame->Create(nullptr, L"Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr,
                           nullptr, 0, &context))
            return nullptr;
        frame->InitialUpdateFrame(&document, TRUE);
        return frame;
    }
    FormDoc document;
};

TEST_F(FormViewTest, TheTemplatesControlsFillTheViewAndTheirCommandsReachTheDocument) {
    heard.clear();
    CFrameWnd* frame = make(RUNTIME_CLASS(Form));
    ASSERT_NE(frame, nullptr);
    auto* form = dynamic_cast<Form*>(frame->GetActiveView());
    ASSERT_NE(form, nullptr);
    CWnd* edit = form->GetDlgItem(kName);
    CWnd* apply = form->GetDlgItem(kApply);
    ASSERT_TRUE(edit && apply);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, L"Plan") << "the initial update fills the controls";
    const LONG units = ::GetDialogBaseUnits();
    EXPECT_EQ(form->GetTotalSize(), CSize(200 * LOWORD(units) / 4, 150 * HIWORD(units) / 8));
    EXPECT_EQ(form->GetStyle() & WS_CAPTION, 0u) << "the template's frame is not the view's";

    form->SendMessage(WM_COMMAND, MAKEWPARAM(kApply, BN_CLICKED), reinterpret_cast<LPARAM>(apply->m_hWnd));
    EXPECT_EQ(heard, std::vector<std::string>{"document applies"});

    edit->SetWindowText(L"Section");
    EXPECT_TRUE(form->UpdateData(TRUE));
    EXPECT_EQ(document.name, L"Section");
    frame->DestroyWindow();
}

TEST_F(FormViewTest, AMissingTemplateFailsTheFrame) {
    EXPECT_EQ(make(RUNTIME_CLASS(MissingForm)), nullptr);
}

class Scrolled : public CScrollView {
    DECLARE_DYNCREATE(Scrolled)
};
IMPLEMENT_DYNCREATE(Scrolled, CScrollView)

TEST_F(FormViewTest, AScrollViewKeepsItsPositionWithinTheTotalAndDrawsFromIt) {
    CFrameWnd* frame = make(RUNTIME_CLASS(Scrolled));
    ASSERT_NE(frame, nullptr);
    auto* view = static_cast<Scrolled*>(frame->GetActiveView());
    view->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    CRect client;
    view->GetClientRect(&client);
    struct Case {
        POINT asked;
        POINT got;
    };
    const Case cases[] = {
        {{100, 50}, {100, 50}},
        {{-5, -5}, {0, 0}},
        {{5000, 5000}, {1000 - client.Width(), 800 - client.Height()}},
    };
    for (const Case& c : cases) {
        view->ScrollToPosition(c.asked);
        EXPECT_EQ(view->GetScrollPosition(), CPoint(c.got));
    }
    view->ScrollToPosition(CPoint(100, 50));
    CClientDC dc(view);
    view->OnPrepareDC(&dc);
    POINT origin{};
    ::GetViewportOrgEx(dc.m_hDC, &origin);
    EXPECT_EQ(CPoint(origin), CPoint(-100, -50));
    frame->DestroyWindow();
}

} // namespace
