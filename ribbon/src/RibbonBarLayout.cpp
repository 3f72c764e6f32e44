// Where the ribbon puts what the tool kit does not lay out itself, the PDM popup of the caption
// row, and the ribbon's copies.
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "XTToolkitPro.h"

#include <algorithm>

namespace {

// The frame's caption buttons the PDM popup keeps clear of.
bool IsCaptionButton(UINT command) {
    switch (command) {
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_CLOSE:
    case SC_RESTORE:
    case SC_CONTEXTHELP:
        return true;
    default:
        return false;
    }
}

constexpr size_t kCaptionButtons = 5;

} // namespace

void DVRibbonBar::OnControlsChanged() {
    Dravik::UI::RibbonBar::OnControlsChanged();
    m_controlsChanged = true;
}

void DVRibbonBar::OnRecalcLayout() {
    CalcDockingLayout();
}

void DVRibbonBar::CalcDockingLayout() {
    if (m_controlsChanged) {
        m_controlsChanged = false;
        ForEachGroup([](CXTPRibbonGroup* group) {
            if (auto* own = dynamic_cast<Dravik::UI::RibbonGroup*>(group))
                own->UpdateOptionButton();
        });
    }
    CXTPControlPopup* popup = m_orsaPopup;
    const bool hidden = popup == nullptr || (popup->GetHideFlags() & xtpHideGeneric) != 0;
    {
        // The tool kit lays out the ribbon without the popup, which it would not know where to
        // put; the popup comes back whatever the layout does.
        struct HiddenWhileLaidOut {
            CXTPControl* control;
            ~HiddenWhileLaidOut() {
                if (control != nullptr)
                    control->SetHideFlag(xtpHideGeneric, FALSE);
            }
        } hide{hidden ? nullptr : popup};
        if (!hidden)
            popup->SetHideFlag(xtpHideGeneric, TRUE);
        Dravik::UI::RibbonBar::OnRecalcLayout();
    }
    if (hidden || m_hWnd == nullptr)
        return;

    // Its right edge keeps 16 pixels (at 96 dpi) left of the frame's caption buttons, of the
    // first five the caption row holds, or of the frame's right edge without them.
    CRect client;
    GetClientRect(&client);
    int edge = client.right;
    if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr) {
        CRect frame;
        site->GetWindowRect(&frame);
        ScreenToClient(&frame);
        edge = frame.right;
    }
    if (IsFrameThemeEnabled()) {
        size_t met = 0;
        for (const auto& [command, place] : m_captionButtons) {
            if (!IsCaptionButton(command))
                continue;
            if (met++ == kCaptionButtons)
                break;
            edge = std::min<int>(edge, place.left);
        }
    }
    const int right = edge - CXTPDpi::ScaleX(16);
    CClientDC dc(this);
    const CSize size = popup->GetSize(&dc);
    const CRect place(right - size.cx, m_rcTabs.top - size.cy, right, m_rcTabs.top);
    const bool quickAccessAbove =
        IsQuickAccessVisible() && !IsQuickAccessBelowRibbon() && GetQuickAccessControls()->GetCount() > 0;
    const int start = quickAccessAbove ? m_rcQuickAccess.right : m_rcCaption.left;
    // Without a caption row there is no place for it either.
    const bool fits = !m_rcCaption.IsRectEmpty() && place.left >= start;
    popup->SetHideFlag(xtpHideWrap, !fits);
    popup->SetRect(fits ? place : CRect());
    m_rcCaptionText.right = std::min<int>(m_rcCaptionText.right, fits ? place.left : right);
}

void DVRibbonBar::DrawQuickAccessControl(CDC* pDC, CXTPControl* control) {
    if (dynamic_cast<RibbonTabsPopup*>(control) != nullptr)
        control->Draw(pDC);
    else
        Dravik::UI::RibbonBar::DrawQuickAccessControl(pDC, control);
}

void DVRibbonBar::Copy(CXTPCommandBar* source, BOOL recursive) {
    const BOOL customizable = source != nullptr && source->IsCustomizable();
    if (source != nullptr)
        source->EnableCustomization(TRUE);
    Dravik::UI::RibbonBar::Copy(source, recursive);
    if (source != nullptr)
        source->EnableCustomization(customizable);
    m_orsaPopup = DYNAMIC_DOWNCAST(CXTPControlPopup, GetControls()->FindControl(kOrsaPopupId));
}

CXTPCommandBar* DVRibbonBar::Clone(BOOL recursive) {
    auto* copy = new DVRibbonBar;
    copy->SetCommandBars(GetCommandBars());
    copy->Copy(this, recursive);
    return copy;
}
