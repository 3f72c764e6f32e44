#include "DravikKernel/View.h"

#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/FragmentPath.h"

#include "DVDiagnostics/Trace.h"
#include "KernelState.h"

#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/wndmsg.h"

#include <algorithm>

namespace {

constexpr COLORREF kDesk = RGB(160, 164, 170);
// One wheel notch zooms by this factor.
constexpr double kWheelZoom = 1.25;

} // namespace

IMPLEMENT_DYNAMIC(CDVBaseView, CView)
IMPLEMENT_DYNCREATE(CDVView, CDVBaseView)

void CDVBaseView::OnControlNotify(int controlId) {
    notifiedControl_ = controlId;
    dvtrace::record(dvkernel::kTraceName, "CDVBaseView::OnControlNotify(" + std::to_string(controlId) + ")");
}

BEGIN_MESSAGE_MAP(CDVView, CView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_MBUTTONUP()
END_MESSAGE_MAP()

CDVView::~CDVView() = default;

CDvw32Doc* CDVView::GetDvwDocument() const {
    return dynamic_cast<CDvw32Doc*>(GetDocument());
}

const Dravik::Page* CDVView::page() const {
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !doc->Cont2D())
        return nullptr;
    const auto& pages = doc->Cont2D()->GetPages();
    return page_ >= 0 && page_ < static_cast<int>(pages.size()) ? &pages[page_] : &pages.front();
}

void CDVView::SetParentPage(int page) {
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !doc->Cont2D() || page < 0 || page >= static_cast<int>(doc->Cont2D()->GetPages().size()))
        return;
    const bool changed = page != page_;
    page_ = page;
    selection_.clear();
    ZoomAll();
    // Another page may be of another kind: the main window shows the bars and ribbon groups of
    // what the view shows now.
    if (changed && m_hWnd != nullptr)
        if (CWnd* top = GetTopLevelParent())
            top->SendMessage(kViewChangedMessage, 0, reinterpret_cast<LPARAM>(this));
}

int CDVView::GetViewKind() const {
    const Dravik::Page* p = page();
    if (!p)
        return 0;
    return p->kind == Dravik::PageKind::Sheet ? 1 : 2;
}

bool CDVView::QueryState(int query) const {
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc)
        return false;
    switch (query) {
    case 1:
        return doc->Is2D() && GetViewKind() == 1;
    case 2:
        return !selection_.empty();
    case 3:
        return doc->IsInCommand();
    default:
        return false;
    }
}

namespace {
// The application's overview pane follows the active view: the area it shows and its picture.
bool isActiveView(const CDVView* view) {
    return view != nullptr && DVGetActiveView() == view;
}
void tellViewArea(const CDVView* view) {
    if (DravikServerAppProxy* app = isActiveView(view) ? DravikServerAppProxy::Instance() : nullptr)
        app->UpdateBirdsEyeViewArea();
}
} // namespace

void CDVView::ZoomAll() {
    fitted_ = true;
    if (const Dravik::Page* p = page(); p && m_hWnd) {
        CRect client;
        GetClientRect(&client);
        if (!client.IsRectEmpty())
            view_ = Dravik::FitPage(*p, client);
    }
    if (m_hWnd)
        Invalidate(FALSE);
    tellViewArea(this);
}

void CDVView::ZoomAt(double factor, POINT client) {
    fitted_ = false;
    view_ = Dravik::ZoomAt(view_, factor, client);
    Invalidate(FALSE);
    tellViewArea(this);
}

void CDVView::PanBy(int dx, int dy) {
    fitted_ = false;
    view_ = Dravik::Pan(view_, dx, dy);
    Invalidate(FALSE);
    tellViewArea(this);
}

bool CDVView::SelectObject(const Dravik::Element* element) {
    ClearSelection();
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !element || !doc->Cont2D())
        return false;
    const auto& elements = doc->Cont2D()->GetElements();
    if (element < elements.data() || element >= elements.data() + elements.size() ||
        static_cast<int>(element->page) != page_)
        return false;
    selection_.push_back(static_cast<std::size_t>(element - elements.data()));
    Invalidate(FALSE);
    return true;
}

bool CDVView::HasProfiles() const {
    const CDVCom_Is3D* module = CDVCom_Is3D::Instance();
    return module != nullptr && module->HasProfiles(GetProfileObject());
}

void CDVView::ClearSelection() {
    if (selection_.empty())
        return;
    selection_.clear();
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CDVView::InsertFragment(CFragmentPath& fragment) {
    CDvw32Doc* doc = GetDvwDocument();
    const Dravik::Page* p = page();
    if (!doc || !p || !doc->IsEditable())
        return FALSE;
    std::wstring error;
    auto source = Dravik::grb::LoadFile(fragment.path, &error);
    if (!source || source->GetKind() != Dravik::DocumentKind::Fragment)
        return FALSE;
    double x = p->width / 2, y = p->height / 2;
    POINT drop = fragment.dropPoint;
    CRect client;
    GetClientRect(&client);
    ScreenToClient(&drop);
    if (client.PtInRect(drop))
        Dravik::DeviceToPage(view_, *p, drop, &x, &y);
    const std::size_t added = doc->Cont2D()->InsertFragment(
        *source->Cont2D(), static_cast<std::uint32_t>(page_), x, y, L"Insert fragment");
    if (added == 0)
        return FALSE;
    doc->UpdateAllViews(nullptr);
    return TRUE;
}

BOOL CDVView::OnObjectCommand(UINT id) {
    if (selection_.empty())
        return FALSE;
    return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

BOOL CDVView::TestTerminateCommand(int) {
    CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !doc->IsInCommand())
        return FALSE;
    if (!terminateRequested_ && !doc->IsReadOnly())
        return FALSE;
    terminateRequested_ = false;
    return doc->TerminateCommand();
}

void CDVView::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kDesk);
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !page())
        return;
    // Elements the undo history removed leave stale indexes behind; those are not drawn.
    std::vector<std::size_t> selection;
    for (std::size_t i : selection_)
        if (i < doc->Cont2D()->GetElements().size())
            selection.push_back(i);
    Dravik::DrawPage(pDC->GetSafeHdc(), *doc->Cont2D(), page_, view_, selection);
}

void CDVView::OnInitialUpdate() {
    if (const CDvw32Doc* doc = GetDvwDocument(); doc && doc->Cont2D())
        page_ = doc->Cont2D()->GetCurrentPage();
    selection_.clear();
    ZoomAll();
}

void CDVView::OnUpdate(CView*, LPARAM, CObject*) {
    const CDvw32Doc* doc = GetDvwDocument();
    if (doc && !doc->Cont2D())
        return; // nothing of it to show
    if (doc && page_ >= static_cast<int>(doc->Cont2D()->GetPages().size()))
        SetParentPage(0);
    std::erase_if(selection_,
                  [&](std::size_t i) { return !doc || i >= doc->Cont2D()->GetElements().size(); });
    if (m_hWnd)
        Invalidate(FALSE);
    if (DravikServerAppProxy* app = isActiveView(this) ? DravikServerAppProxy::Instance() : nullptr)
        app->RedrawBirdsEyeView();
}

void CDVView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    CDvw32Doc* doc = GetDvwDocument();
    if (bActivate && pActivateView == this && doc) {
        CWnd* main = GetTopLevelParent();
        Dravik::DocumentManager::Instance().SetActiveDocument(doc, main ? main->m_hWnd : nullptr);
        if (DravikServerAppProxy* app = DravikServerAppProxy::Instance())
            app->SetBirdsEyeViewActiveView(this);
    }
}

void CDVView::OnSize(UINT, int, int) {
    if (fitted_)
        ZoomAll();
}

BOOL CDVView::OnMouseWheel(UINT, short zDelta, CPoint pt) {
    ScreenToClient(&pt);
    const int notches = zDelta / 120;
    if (notches == 0)
        return FALSE;
    double factor = 1.0;
    for (int i = 0; i < std::abs(notches); ++i)
        factor *= kWheelZoom;
    ZoomAt(notches > 0 ? factor : 1.0 / factor, pt);
    return TRUE;
}

void CDVView::OnLButtonDown(UINT, CPoint point) {
    const CDvw32Doc* doc = GetDvwDocument();
    if (!doc || !doc->Cont2D())
        return;
    const int hit = Dravik::HitTest(*doc->Cont2D(), page_, view_, point);
    if (hit < 0)
        ClearSelection();
    else
        SelectObject(&doc->Cont2D()->GetElements()[static_cast<std::size_t>(hit)]);
}

void CDVView::OnMButtonDown(UINT, CPoint point) {
    panning_ = true;
    panFrom_ = point;
    ::SetCapture(m_hWnd);
}

void CDVView::OnMouseMove(UINT, CPoint point) {
    if (!panning_)
        return;
    PanBy(point.x - panFrom_.x, point.y - panFrom_.y);
    panFrom_ = point;
}

void CDVView::OnMButtonUp(UINT, CPoint) {
    if (!panning_)
        return;
    panning_ = false;
    ::ReleaseCapture();
}

CDVView* DVGetActiveView() {
    CDvw32Doc* doc = DVGetActiveDoc();
    return doc ? dynamic_cast<CDVView*>(doc->GetActiveView()) : nullptr;
}
