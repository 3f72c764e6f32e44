#include "DravikUI/PopupControls.h"

#include "xtp/CommandBar.h"
#include "xtp/CommandBars.h"
#include "xtp/DockingPaneManager.h"
#include "xtp/MenuBar.h"
#include "xtp/PopupBar.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(Dravik::UI::PseudoMenuBar, CXTPControlPopup)
IMPLEMENT_DYNCREATE(Dravik::UI::DockingPanesPopup, CXTPControlPopup)
IMPLEMENT_DYNCREATE(Dravik::UI::AutoPopup, CXTPControlPopup)

namespace Dravik::UI {
namespace {

// The popup bar of a control, made on first use.
CXTPCommandBar* ensurePopupBar(CXTPControlPopup* popup) {
    if (popup->GetCommandBar() == nullptr) {
        CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(popup->GetCommandBars());
        popup->SetCommandBar(bar);
        bar->InternalRelease();
    }
    return popup->GetCommandBar();
}

// An item of the pane list: opens its pane, or closes it when it is open.
class PaneItem : public CXTPControlButton {
public:
    PaneItem(CXTPDockingPaneManager* manager, int paneId) : manager_(manager), paneId_(paneId) {}
    void OnExecute() override {
        CXTPDockingPaneManager* manager = manager_;
        const int paneId = paneId_;
        // The list closes first, as it does for any item chosen, so that the pane opened takes
        // the keyboard from the list rather than giving it back to the list's frame.
        if (CXTPCommandBars* bars = GetCommandBars())
            bars->ClosePopups();
        CXTPDockingPane* pane = manager->FindPane(paneId);
        if (pane == nullptr)
            return;
        if (pane->IsClosed())
            manager->ShowPane(pane);
        else
            manager->ClosePane(pane);
    }

private:
    CXTPDockingPaneManager* manager_;
    int paneId_;
};

} // namespace

PseudoMenuBar::PseudoMenuBar(CXTPMenuBar* menuBar, LPCWSTR caption, int iconId) : menuBar_(menuBar) {
    SetCaption(caption);
    SetIconId(iconId);
}

void PseudoMenuBar::UpdateControls() {
    CXTPCommandBar* popup = ensurePopupBar(this);
    CXTPControls* controls = popup->GetControls();
    controls->RemoveAll();
    if (menuBar_ == nullptr)
        return;
    for (CXTPControl* control : *menuBar_->GetControls())
        if (control->IsVisible() && !control->IsTemporary())
            controls->AddClone(control, -1, TRUE);
}

BOOL PseudoMenuBar::OnSetPopup(BOOL bPopup) {
    if (bPopup && pendingFill_)
        UpdateControls();
    return CXTPControlPopup::OnSetPopup(bPopup);
}

void PseudoMenuBar::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlPopup::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<PseudoMenuBar*>(pControl))
        menuBar_ = other->menuBar_;
}

DockingPanesPopup::DockingPanesPopup() {
    ensurePopupBar(this);
}

DockingPanesPopup::DockingPanesPopup(CXTPDockingPaneManager* manager) : manager_(manager) {
    ensurePopupBar(this);
}

void DockingPanesPopup::UpdateControls() {
    CXTPCommandBar* popup = ensurePopupBar(this);
    CXTPControls* controls = popup->GetControls();
    controls->RemoveAll();
    if (manager_ == nullptr)
        return;
    std::vector<CXTPDockingPane*> panes = manager_->GetPaneList();
    std::stable_sort(panes.begin(), panes.end(), [](CXTPDockingPane* a, CXTPDockingPane* b) {
        return a->GetTitle().Compare(b->GetTitle()) < 0;
    });
    for (CXTPDockingPane* pane : panes) {
        if (pane->GetTitle().IsEmpty())
            continue;
        CXTPControl* item =
            controls->Add(new PaneItem(manager_, pane->GetID()), pane->GetID(), L"", -1, TRUE);
        item->SetCaption(pane->GetTitle());
        item->SetChecked(!pane->IsClosed());
        item->SetFlags(item->GetFlags() | xtpFlagManualUpdate);
    }
}

BOOL DockingPanesPopup::OnSetPopup(BOOL bPopup) {
    if (bPopup && pendingFill_)
        UpdateControls();
    return CXTPControlPopup::OnSetPopup(bPopup);
}

void DockingPanesPopup::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlPopup::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<DockingPanesPopup*>(pControl))
        manager_ = other->manager_;
}

void AutoPopup::TakeOver(CXTPControl* chosen) {
    if (!mirror_ || chosen == nullptr || chosen == this)
        return;
    SetID(chosen->GetID());
    SetIconId(chosen->GetIconId());
    SetChecked(chosen->GetChecked());
    SetTooltip(chosen->GetTooltip());
    SetDescription(chosen->GetDescription());
    SetShortcutText(chosen->GetShortcutText());
    if (takeCaption_)
        SetCaption(chosen->GetCaption());
    RedrawParent(FALSE);
}

void AutoPopup::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlPopup::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<AutoPopup*>(pControl)) {
        mirror_ = other->mirror_;
        takeCaption_ = other->takeCaption_;
    }
}

} // namespace Dravik::UI
