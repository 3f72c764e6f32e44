#include "panels/DataExchange.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/Parameters.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "afxwin.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"

CFrameWnd* GetControlFrame(const CXTPControl* control) {
    if (control != nullptr && control->GetParent() != nullptr) {
        CWnd* site = control->GetParent()->GetSite();
        return site != nullptr ? UIModuleProxy::Instance().GetMainFrameOfWindow(site->GetSafeHwnd())
                               : nullptr;
    }
    return dynamic_cast<CFrameWnd*>(UIModuleProxy::Instance().GetMainWindow());
}

bool IsActiveDocumentOf(const CXTPControl* control, const Dravik::DVDocument* document) {
    CFrameWnd* frame = GetControlFrame(control);
    if (frame == nullptr || document == nullptr)
        return false;
    CDvw32Doc* active = DVGetActiveDoc(frame->GetSafeHwnd());
    return active != nullptr && active->Cont2D() == document;
}

CDvw32Doc* DocumentToFollow(const CXTPControl& control, ApplicationEventArgs& args) {
    if ((args.Flags & 0x20) != 0 || control.GetParent() == nullptr || args.Document == nullptr ||
        args.Document->IsInCommand())
        return nullptr;
    CView* view = args.View != nullptr ? args.View : args.Document->GetActiveView();
    if (view == nullptr)
        return nullptr;
    CFrameWnd* frame = UIModuleProxy::Instance().GetMainFrameOfWindow(view->GetSafeHwnd());
    return frame != nullptr && frame == GetControlFrame(&control) ? args.Document : nullptr;
}

bool IsOwnPropertiesChange(ApplicationEventArgs& args) {
    const auto* changed = dynamic_cast<ObjectsPropertiesChangedArgs*>(&args);
    return changed != nullptr && changed->Source == 0;
}

void ShareWithCopies(CXTPControl& control) {
    control.NotifySite(XTP_CN_EXECUTE);
}

namespace dvui {

template class SystemPanelControlBase<CXTPControlPopup>;
template class SystemPanelControlBase<CXTPControlComboBox>;
template class SystemPanelControlBase<CXTPControlEdit>;
template class SystemPanelControlBase<Dravik::UI::AutoPopup>;

} // namespace dvui
