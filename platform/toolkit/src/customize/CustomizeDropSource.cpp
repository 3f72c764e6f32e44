#include "xtp/CommandBars.h"
#include "xtp/Customize.h"

namespace {

// One drag at a time: the pointer has one button.
struct Drag {
    CXTPControl* control = nullptr;
    CXTPCommandBar* source = nullptr;
} gDrag;

void relayout(CXTPCommandBar* bar) {
    if (bar == nullptr)
        return;
    if (bar->m_hWnd != nullptr) {
        bar->OnRecalcLayout();
        bar->Invalidate();
    }
    if (CXTPCommandBars* bars = bar->GetCommandBars())
        bars->RecalcFrameLayout();
}

} // namespace

BOOL CXTPCustomizeDropSource::DropControl(CXTPControl* pControl, CXTPCommandBar* pTarget, int nBefore,
                                          BOOL bCopy) {
    if (pControl == nullptr || pTarget == nullptr)
        return FALSE;
    CXTPCommandBar* source = pControl->GetParent();
    CXTPControls* target = pTarget->GetControls();
    if (nBefore < 0 || nBefore > target->GetCount())
        nBefore = -1;
    if (!bCopy && source == pTarget) {
        const int at = target->IndexOf(pControl);
        if (at == nBefore || (nBefore == at + 1) || (nBefore < 0 && at == target->GetCount() - 1))
            return FALSE;
        target->MoveBefore(pControl, nBefore);
    } else {
        target->AddClone(pControl, nBefore, TRUE);
        if (!bCopy && source != nullptr)
            source->GetControls()->Remove(pControl);
    }
    relayout(pTarget);
    if (source != pTarget)
        relayout(source);
    return TRUE;
}

BOOL CXTPCustomizeDropSource::RemoveControl(CXTPControl* pControl) {
    CXTPCommandBar* source = pControl != nullptr ? pControl->GetParent() : nullptr;
    if (source == nullptr)
        return FALSE;
    source->GetControls()->Remove(pControl);
    relayout(source);
    return TRUE;
}

int CXTPCustomizeDropSource::GetDropIndex(CXTPCommandBar* pTarget, CPoint point) {
    if (pTarget == nullptr)
        return -1;
    for (int i = 0; i < pTarget->GetControlCount(); ++i) {
        const CRect rc = pTarget->GetControl(i)->GetRect();
        if (!rc.PtInRect(point))
            continue;
        const bool trailing =
            pTarget->IsPopupBar() ? point.y >= rc.CenterPoint().y : point.x >= rc.CenterPoint().x;
        return trailing ? (i + 1 < pTarget->GetControlCount() ? i + 1 : -1) : i;
    }
    return -1;
}

CXTPControl* CXTPCustomizeDropSource::GetDraggedControl() {
    return gDrag.control;
}

BOOL CXTPCustomizeDropSource::OnBarMouse(CXTPCommandBar* pBar, UINT message, CPoint point) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int hit = pBar->HitTest(point);
        gDrag = {};
        // Off the controls (the gripper, the bar's edge) the bar keeps its own handling.
        if (hit < 0)
            return FALSE;
        gDrag = {pBar->GetControl(hit), pBar};
        ::SetCapture(pBar->m_hWnd);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        return gDrag.control != nullptr;
    case WM_LBUTTONUP: {
        // The capture brings the release to the source bar; any bar that gets it ends the drag.
        if (gDrag.control == nullptr)
            return FALSE;
        const Drag drag = gDrag;
        gDrag = {};
        ::ReleaseCapture();
        CPoint screen = point;
        pBar->ClientToScreen(&screen);
        CXTPCommandBar* target = nullptr;
        for (HWND h = ::WindowFromPoint(screen); h != nullptr && target == nullptr; h = ::GetParent(h))
            target = dynamic_cast<CXTPCommandBar*>(CWnd::FromHandlePermanent(h));
        if (target == nullptr) {
            RemoveControl(drag.control);
            return TRUE;
        }
        CPoint local = screen;
        target->ScreenToClient(&local);
        DropControl(drag.control, target, GetDropIndex(target, local), ::GetKeyState(VK_CONTROL) < 0);
        return TRUE;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return TRUE;
    default:
        return FALSE;
    }
}
