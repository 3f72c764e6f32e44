#include "DravikUI/ChildFrame.h"

#include "DravikKernel/Document.h"
#include "DravikUI/GenericMainFrame.h"

namespace Dravik::UI {

IMPLEMENT_DYNAMIC(Splitter, CSplitterWnd)
IMPLEMENT_DYNCREATE(GenericChildFrame, CMDIChildWnd)
IMPLEMENT_DYNCREATE(MdiChildFrame, GenericChildFrame)

BEGIN_MESSAGE_MAP(GenericChildFrame, CMDIChildWnd)
ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(MdiChildFrame, GenericChildFrame)
ON_MESSAGE(WM_CHILDACTIVATE, &MdiChildFrame::OnChildActivateMessage)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace {

GenericMainFrame* mainFrameOf(CMDIChildWnd* child) {
    return dynamic_cast<GenericMainFrame*>(child->GetMDIFrame());
}

bool isActiveChild(CMDIChildWnd* child) {
    CMDIFrameWnd* frame = child->GetMDIFrame();
    return frame && frame->MDIGetActive() == child;
}

CDocument* documentOf(CWnd* frame) {
    auto* f = dynamic_cast<CFrameWnd*>(frame);
    return f ? f->GetActiveDocument() : nullptr;
}

bool isBusy(CDocument* document) {
    const auto* kernel = dynamic_cast<const Dravik::DravikDocument2*>(document);
    if (!kernel)
        return false;
    const auto* held = dynamic_cast<const CDvw32Doc*>(kernel);
    return kernel->IsFlagSet(MdiChildFrame::kBusyFlag) || (held && held->GetHoldCount() >= 1);
}

} // namespace

CView* Splitter::GetPaneView(int index) const {
    if (index < 0 || index >= GetNumPanes())
        return nullptr;
    return dynamic_cast<CView*>(GetPane(index / GetColumnCount(), index % GetColumnCount()));
}

Splitter* GenericChildFrame::GetSplitter() {
    return m_split && ::IsWindow(m_splitter.m_hWnd) ? &m_splitter : nullptr;
}

BOOL GenericChildFrame::OnCreateClient(LPCREATESTRUCTW, CCreateContext* pContext) {
    // Without a view to make there is nothing to split: the frame shows what its maker puts in.
    if (!pContext || !pContext->m_pNewViewClass)
        return TRUE;
    m_split = m_splitter.Create(this, 2, 2, CSize(30, 30), pContext) != FALSE;
    return m_split;
}

void GenericChildFrame::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CMDIChildWnd::SetActiveView(pViewNew, bNotify);
    if (GenericMainFrame* main = mainFrameOf(this); main && isActiveChild(this))
        main->ViewActivated(pViewNew);
}

void GenericChildFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    GenericMainFrame* main = mainFrameOf(this);
    if (!main)
        return;
    if (bActivate)
        main->ViewActivated(GetActiveView());
    else if (main->GetActiveDravikView() && main->GetActiveDravikView()->GetParentFrame() == this &&
             !pActivateWnd)
        main->SetActiveView(nullptr, false);
}

bool MdiChildFrame::OnChildActivate(CWnd* frame, CDocument* document) {
    if (!frame || !::IsWindow(frame->GetSafeHwnd()))
        return false;
    HWND client = ::GetParent(frame->GetSafeHwnd());
    auto* active = dynamic_cast<MdiChildFrame*>(
        CWnd::FromHandlePermanent(reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0))));
    if (!active || active == frame)
        return true;
    CDocument* busy = active->GetActiveDocument();
    if (!isBusy(busy))
        return true;
    if (!document)
        document = documentOf(frame);
    return document == busy;
}

bool MdiChildFrame::OnCloseCommand() {
    const auto* kernel = dynamic_cast<const CDvw32Doc*>(GetActiveDocument());
    return !kernel || !kernel->IsInCommand();
}

LRESULT MdiChildFrame::OnChildActivateMessage(WPARAM, LPARAM) {
    // Refused: the message is swallowed.
    return OnChildActivate(this, nullptr) ? Default() : 0;
}

int MdiChildFrame::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    if (!OnChildActivate(this, nullptr))
        return MA_NOACTIVATEANDEAT;
    return CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

} // namespace Dravik::UI
