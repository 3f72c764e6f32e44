// The form pane: one form of the kernel at a time in a floating docking pane of the main frame,
// placed inside the frame's lower right corner and sized to what the form needs.
#include "app/Dvw32App.h"
#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"

#include "DravikKernel/PaneForm.h"
#include "XTToolkitPro.h"

#include <algorithm>

namespace {

constexpr int kFormPane = 1016;
// Where a new pane floats: this far inside the frame's right and bottom edges.
constexpr int kRightInset = 30;
constexpr int kBottomInset = 50;

CXTPDockingPaneMiniWnd* FloatingFrameOf(CXTPDockingPane* pane) {
    CXTPDockingPaneTabbedContainer* tabs = pane->GetTabbedContainer();
    return tabs != nullptr ? dynamic_cast<CXTPDockingPaneMiniWnd*>(tabs->GetContainer()) : nullptr;
}

} // namespace

void ServerAppProxy::AttachFormPane(DVPaneForm* form) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || form == nullptr || form->GetFormWindow() == nullptr)
        return;
    auto& manager = frame->GetPaneManager();
    CXTPDockingPane* pane = manager.FindPane(kFormPane);
    const bool created = pane == nullptr;
    const SIZE minimum = form->GetFormMinSize();
    if (created) {
        pane = manager.CreatePane(kFormPane, CRect(0, 0, 200, 120), xtpPaneDockLeft);
        if (pane == nullptr)
            return;
    }
    manager.BlockInvalidatePane(true);
    if (const UINT iconId = form->GetFormIconId(); iconId != 0)
        if (CXTPCommandBars* bars = frame->GetCommandBars())
            if (CXTPImageManagerIcon* icon = bars->GetImageManager()->GetImage(iconId, 16))
                bars->GetImageManager()->SetIcon(icon->GetIcon(), kFormPane, CSize(16, 16));
    const std::wstring title = form->GetFormTitle();
    pane->SetTitle(title.c_str());
    pane->SetTabCaption(title.c_str());
    pane->Attach(form->GetFormWindow());
    paneForm_ = form;
    manager.BlockInvalidatePane(false);
    if (created) {
        CRect outer;
        ::GetWindowRect(frame->GetSafeHwnd(), outer);
        const CRect place(outer.right - kRightInset - minimum.cx, outer.bottom - kBottomInset - minimum.cy,
                          outer.right - kRightInset, outer.bottom - kBottomInset);
        manager.FloatPane(pane, place);
    }
    manager.ShowPane(pane, FALSE);
    frame->RecalcLayout();
    FitFormPane();
}

void ServerAppProxy::FitFormPane() {
    CMainFrame* frame = GetMainFrame();
    CXTPDockingPane* pane = frame != nullptr ? frame->GetPaneManager().FindPane(kFormPane) : nullptr;
    if (pane == nullptr || paneForm_ == nullptr || !pane->IsFloating())
        return;
    CXTPDockingPaneMiniWnd* floating = FloatingFrameOf(pane);
    if (floating == nullptr || floating->GetSafeHwnd() == nullptr)
        return;
    const SIZE minimum = paneForm_->GetFormMinSize();
    pane->SetMinTrackSize(CSize(minimum.cx, minimum.cy));
    CRect rect;
    floating->GetWindowRect(rect);
    CSize size = rect.Size();
    if (!paneForm_->HasFillingChild()) {
        size.cx = std::max<int>(size.cx, minimum.cx);
        size.cy = std::max<int>(size.cy, minimum.cy + 2);
    }
    MINMAXINFO limits{};
    floating->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    size.cx = std::max<int>(size.cx, limits.ptMinTrackSize.x);
    size.cy = std::max<int>(size.cy, limits.ptMinTrackSize.y);
    floating->MoveWindow(rect.left, rect.top, size.cx, size.cy, TRUE);
}

void ServerAppProxy::DetachFormPane() {
    CMainFrame* frame = GetMainFrame();
    CXTPDockingPane* pane = frame != nullptr ? frame->GetPaneManager().FindPane(kFormPane) : nullptr;
    if (pane == nullptr)
        return;
    if (paneForm_ != nullptr)
        paneForm_->OnLeavePane();
    pane->Detach();
    paneForm_ = nullptr;
    frame->GetPaneManager().DestroyPane(pane);
}
