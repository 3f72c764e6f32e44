#include "DravikKernel/PrintWindow.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/PageRender.h"

#include "afxwin.h"

namespace Dravik::Print {

namespace {

// The page on a grey desk, as it will come out of the printer.
class PrintPreviewWnd : public CWnd {
public:
    PrintPreviewWnd(CDvw32Doc* document, std::shared_ptr<PrintDrawingContext> context)
        : document_(document), context_(std::move(context)) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND)
            return 1;
        if (message != WM_PAINT)
            return CWnd::WindowProc(message, wParam, lParam);
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(200, 200, 200));
        CDvw32Doc* document = context_ ? context_->GetDocument() : document_;
        if (document == nullptr || document->Cont2D()->GetPages().empty()) {
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(60, 60, 60));
            dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
            dc.DrawText(L"Nothing to print", &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
            return 0;
        }
        const DVDocument& content = *document->Cont2D();
        const int page = content.GetCurrentPage();
        const PageView view = FitPage(content.GetPages()[static_cast<size_t>(page)], client, 24);
        DrawPage(dc.GetSafeHdc(), content, page, view);
        return 0;
    }
    void PostNcDestroy() override {}

private:
    CDvw32Doc* document_;
    std::shared_ptr<PrintDrawingContext> context_;
};

CWnd* create(CDvw32Doc* document, std::shared_ptr<PrintDrawingContext> context, CWnd* parent, DWORD style,
             const RECT& rect) {
    if (parent == nullptr || parent->m_hWnd == nullptr)
        return nullptr;
    auto* window = new PrintPreviewWnd(document, std::move(context));
    if (!window->Create(AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"Print preview", style,
                        CRect(rect), parent, 0)) {
        delete window;
        return nullptr;
    }
    return window;
}

} // namespace

CWnd* create_print_wnd(CDvw32Doc* document, CWnd* parent, DWORD style, const RECT& rect) {
    return create(document, nullptr, parent, style, rect);
}

CWnd* create_print_wnd(const std::shared_ptr<PrintDrawingContext>& context, CWnd* parent, DWORD style,
                       const RECT& rect) {
    return create(nullptr, context, parent, style, rect);
}

} // namespace Dravik::Print
