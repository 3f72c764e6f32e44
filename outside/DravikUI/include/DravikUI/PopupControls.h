// Popup controls of the UI library: the main menu as one popup (for the ribbon and the tool
// bars), the list of docking panes, and the popup that can stand for the item chosen from it.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

class CXTPDockingPaneManager;
class CXTPMenuBar;

namespace Dravik::UI {

// The main menu bar's menus as the items of one popup. The items are copied from the menu bar
// each time the popup opens (UpdateControls), so they always show the menus as they are.
class PseudoMenuBar : public CXTPControlPopup {
    DECLARE_DYNCREATE(PseudoMenuBar)
public:
    PseudoMenuBar() = default;
    PseudoMenuBar(CXTPMenuBar* menuBar, LPCWSTR caption, int iconId);

    CXTPMenuBar* GetMenuBar() const { return menuBar_; }
    void UpdateControls();
    BOOL OnSetPopup(BOOL bPopup) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

    // Whether opening the popup fills it anew (so by default). A search that walks the items it
    // filled itself turns this off for its time, so that opening the popup to show an item found
    // keeps that item alive.
    bool IsPendingFill() const { return pendingFill_; }
    void SetPendingFill(bool pending) { pendingFill_ = pending; }

private:
    CXTPMenuBar* menuBar_ = nullptr;
    bool pendingFill_ = true;
};

// One check item per docking pane of a manager that has a title (by title; checked while the
// pane is open), rebuilt each time the popup opens. Choosing an item opens its pane, or closes it
// when it is open.
class DockingPanesPopup : public CXTPControlPopup {
    DECLARE_DYNCREATE(DockingPanesPopup)
public:
    // Made with its (empty) list, which it fills each time it opens; a search of the bars thus
    // counts it among the popups like any other.
    DockingPanesPopup();
    explicit DockingPanesPopup(CXTPDockingPaneManager* manager);

    void UpdateControls();
    BOOL OnSetPopup(BOOL bPopup) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

    // Whether opening the popup fills it anew, as for the pseudo menu bar.
    bool IsPendingFill() const { return pendingFill_; }
    void SetPendingFill(bool pending) { pendingFill_ = pending; }

private:
    CXTPDockingPaneManager* manager_ = nullptr;
    bool pendingFill_ = true;
};

// A popup (usually a split button) that can take over the id, icon and texts of the item last
// chosen from it, so that clicking it again repeats that command.
class AutoPopup : public CXTPControlPopup {
    DECLARE_DYNCREATE(AutoPopup)
public:
    AutoPopup() = default;

    // Take over the chosen item (mirror), and with it its caption too.
    void SetMirrorChosenItem(bool mirror) { mirror_ = mirror; }
    bool GetMirrorChosenItem() const { return mirror_; }
    void SetTakeCaption(bool take) { takeCaption_ = take; }
    bool GetTakeCaption() const { return takeCaption_; }

    // Takes over the chosen control's id, icon, checked state, tooltip, description, shortcut
    // text and (with the take-caption flag) caption. Nothing without the mirror flag.
    void TakeOver(CXTPControl* chosen);
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

private:
    bool mirror_ = false;
    bool takeCaption_ = false;
};

} // namespace Dravik::UI

DV_EXPORTS_END
