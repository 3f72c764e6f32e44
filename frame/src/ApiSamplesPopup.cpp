#include "frame/ApiSamplesPopup.h"

#include "DravikKernel/KernelServices.h"
#include "XTToolkitPro.h"

#include <cwctype>
#include <string_view>

namespace dvframe {

namespace {

bool IsApiSamples(CXTPControl* control) {
    const CString text = control->GetParameter();
    const std::wstring_view parameter(text);
    const std::wstring_view wanted(kApiSamplesParameter);
    if (parameter.size() != wanted.size())
        return false;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (std::towlower(parameter[i]) != std::towlower(wanted[i]))
            return false;
    return true;
}

CXTPCommandBar* FindIn(CXTPControls* controls, int depth) {
    if (controls == nullptr || depth > 16)
        return nullptr;
    for (int i = 0; i < controls->GetCount(); ++i) {
        auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, controls->GetAt(i));
        if (popup == nullptr || popup->GetCommandBar() == nullptr)
            continue;
        if (IsApiSamples(popup))
            return popup->GetCommandBar();
        if (CXTPCommandBar* found = FindIn(popup->GetCommandBar()->GetControls(), depth + 1))
            return found;
    }
    return nullptr;
}

} // namespace

CXTPCommandBar* FindApiSamplesPopup(CXTPControls* controls, CXTPMenuBar* mainMenuBar, bool create) {
    if (CXTPCommandBar* found = FindIn(controls, 0))
        return found;
    if (!create || mainMenuBar == nullptr)
        return nullptr;
    CXTPControl* anchor =
        mainMenuBar->GetControls()->FindControl(xtpControlError, kApiSamplesAnchorCommand, FALSE, TRUE);
    if (anchor == nullptr || anchor->GetParent() == nullptr)
        return nullptr;
    CXTPControl* made = anchor->GetParent()->GetControls()->Add(xtpControlPopup, 0, kApiSamplesParameter);
    auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, made);
    if (popup == nullptr)
        return nullptr;
    popup->SetCaption(DVLoadString(kApiSamplesCaptionId).c_str());
    if (popup->GetCommandBar() == nullptr) {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(mainMenuBar->GetCommandBars());
        popup->SetCommandBar(bar);
        bar->InternalRelease();
    }
    return popup->GetCommandBar();
}

} // namespace dvframe
