#include "panels/DataExchange.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/UIModuleProxy.h"
#include "afxwin.h"
#include "xtp/CommandBar.h"

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

namespace dvui {

template class SystemPanelControlBase<CXTPControlPopup>;
template class SystemPanelControlBase<CXTPControlComboBox>;
template class SystemPanelControlBase<CXTPControlEdit>;
template class SystemPanelControlBase<Dravik::UI::AutoPopup>;

} // namespace dvui
