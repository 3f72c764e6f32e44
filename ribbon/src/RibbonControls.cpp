#include "ribbon/RibbonControls.h"

#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/Ribbon.h"

namespace {

constexpr UINT kOrsaConnect = 2074;
constexpr UINT kOrsaDisconnect = 2075;
constexpr int kCustomizeCommand = 9607;

} // namespace

void MarkTransient(CXTPControl* control) {
    control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    control->SetTemporary(TRUE);
}

// ---- the File button --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(RibbonSystemButton, CXTPRibbonControlSystemButton)

RibbonSystemButton::RibbonSystemButton() {
    SetCaption(Dravik::I18n::Translate(L"main_menu.file").c_str());
    SetStyle(xtpButtonCaption);
    auto* view = new RibbonBackstageView;
    SetCommandBar(view);
    view->InternalRelease();
}

void RibbonSystemButton::Copy(CXTPControl* pControl, BOOL bRecursive) {
    // Every File button opens a backstage of its own: the copy keeps the view it was made with.
    CXTPControl::Copy(pControl, bRecursive);
}

// ---- the tab strip ----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(RibbonTabControl, CXTPRibbonControlTab)

CString RibbonTabControl::GetTabToolTip(CXTPTabManagerItem* tab) {
    if (tab == nullptr)
        return CString();
    const CString own = tab->GetTooltip();
    return CXTPDrawHelpers::StripMnemonics(own.IsEmpty() ? tab->GetCaption() : own);
}

IMPLEMENT_DYNCREATE(RibbonTabPopupToolBar, CXTPRibbonTabPopupToolBar)

// ---- the PDM popup ----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(OrsaSettingsButton, CXTPControlButton)

OrsaSettingsButton::OrsaSettingsButton() {
    m_nId = kId;
    // The entry acts by itself, not through the frame's command routing, which has no handler
    // for its id and would disable it at every idle update.
    m_dwFlags |= xtpFlagManualUpdate;
}

void OrsaSettingsButton::OnExecute() {
    CXTPCommandBar* bar = GetParent();
    if (bar == nullptr)
        return;
    InternalAddRef();
    const bool inPopup = bar->IsPopupBar() != FALSE;
    ::MessageBeep(MB_OK);
    if (CXTPCommandBars* bars = GetCommandBars(); inPopup && bars != nullptr)
        bars->ClosePopups();
    if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
        annotate->OpenSettingsPage(L"Orsa");
    if (!inPopup) {
        bar->SetTrackingMode(FALSE);
        bar->Invalidate(FALSE);
    }
    InternalRelease();
}

IMPLEMENT_DYNCREATE(OrsaPopup, CXTPControlPopup)

OrsaPopup::OrsaPopup(CXTPCommandBars* bars) {
    m_nId = kId;
    m_controlType = xtpControlPopup;
    m_dwFlags |= xtpFlagManualUpdate;
    SetCaption(L"DRAVIK Orsa");
    if (bars != nullptr && bars->GetImageManager() != nullptr)
        if (HICON icon = UIModuleProxy::Instance().LoadIcon(kIconResource, false))
            bars->GetImageManager()->SetIcon(icon, kId);
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(bars);
    for (UINT id : {kOrsaConnect, kOrsaDisconnect}) {
        CXTPControl* item = bar->GetControls()->Add(xtpControlButton, static_cast<int>(id));
        item->SetFlags(item->GetFlags() | xtpFlagManualUpdate);
    }
    bar->GetControls()->Add(new OrsaSettingsButton, OrsaSettingsButton::kId)->SetBeginGroup(TRUE);
    SetCommandBar(bar);
    bar->InternalRelease();
}

// ---- the tabs popup ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(RibbonTabsPopup, CXTPControlPopup)

RibbonTabsPopup::RibbonTabsPopup(DVRibbonBar* ribbon) : m_ribbon(ribbon) {
    m_controlType = xtpControlPopup;
    const std::wstring caption = Dravik::I18n::Translate(L"panels.ribbon.tabs_popup");
    SetCaption(caption.c_str());
    SetDescription(CXTPDrawHelpers::StripMnemonics(caption.c_str()));
    m_dwFlags |= xtpFlagManualUpdate;
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(ribbon != nullptr ? ribbon->GetCommandBars() : nullptr);
    SetCommandBar(bar);
    bar->InternalRelease();
}

void RibbonTabsPopup::Refill() {
    CXTPControls* entries = GetCommandBar()->GetControls();
    entries->RemoveAll();
    for (int i = 0; m_ribbon != nullptr && i < m_ribbon->GetTabCount(); ++i) {
        auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(m_ribbon->GetTab(i));
        if (tab == nullptr || tab->GetContextColor() != xtpRibbonTabContextColorNone ||
            !tab->CanBeHiddenByUser())
            continue;
        auto* entry = new TabButton(tab);
        entries->Add(entry, 0);
        MarkTransient(entry);
    }
    CXTPControl* customize = entries->Add(xtpControlButton, kCustomizeCommand);
    customize->SetCaption(Dravik::I18n::Translate(L"panels.ribbon.customize").c_str());
    customize->SetBeginGroup(TRUE);
    customize->SetFlags(customize->GetFlags() | xtpFlagManualUpdate);
}

BOOL RibbonTabsPopup::OnSetPopup(BOOL bPopup) {
    if (bPopup && GetCommandBar() != nullptr) {
        if (CXTPCommandBars* bars = GetCommandBars(); bars != nullptr && bars->IsCustomizeMode())
            return TRUE;
        Refill();
    }
    return CXTPControlPopup::OnSetPopup(bPopup);
}

CSize RibbonTabsPopup::GetSize(CDC*) {
    return SizeForEditHeight(CXTPRibbonPaintManager::Current()->GetEditHeight());
}

void RibbonTabsPopup::Draw(CDC* pDC) {
    // In a quick access bar above the ribbon it stands on the caption.
    const auto* ribbon = dynamic_cast<CXTPRibbonBar*>(GetParent());
    const BOOL onCaption = ribbon != nullptr && !ribbon->IsQuickAccessBelowRibbon();
    const int state = GetPopuped() ? xtpRibbonButtonPressed : GetSelected() ? xtpRibbonButtonHot : 0;
    CXTPRibbonPaintManager::Current()->DrawQuickAccessCustomize(pDC, GetRect(), state, onCaption);
}

CXTPControl* RibbonTabsPopup::Clone(BOOL bRecursive) {
    auto* copy = new RibbonTabsPopup;
    copy->CXTPControl::Copy(this, bRecursive);
    return copy;
}

// ---- a tab's entry ----------------------------------------------------------------------------

TabButton::TabButton(Dravik::UI::RibbonTab* tab) : m_tab(tab) {
    SetCaption(tab->GetCaption());
    SetChecked(!tab->IsDisabledByUser());
}

void TabButton::OnExecute() {
    m_tab->SetDisabledByUser(!m_tab->IsDisabledByUser());
    const BOOL shown = !m_tab->IsDisabledByUser();
    if (GetChecked() != shown) {
        SetChecked(shown);
        RedrawParent();
    }
}
