// The ribbon's own controls: the File button with its backstage, the tab strip, the popup of a
// collapsed tab, the PDM popup of the caption row with its settings entry, and the popup that
// lists the tabs a person may show or hide.
#pragma once

#include "XTToolkitPro.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class DVRibbonBar;
namespace Dravik::UI {
class RibbonTab;
}

// The entries the program makes on the fly for its own drop-downs and context menus carry the
// tool kit's run-time mark (never stored; customisation and command look-ups leave them alone)
// and are updated by hand.
void MarkTransient(CXTPControl* control);

class RibbonSystemButton : public CXTPRibbonControlSystemButton {
    DECLARE_DYNCREATE(RibbonSystemButton)
public:
    // Captioned "main_menu.file", opening a backstage view of its own.
    RibbonSystemButton();
    // A new File button with a new backstage view (which the copy does not share).
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
};

class RibbonTabControl : public CXTPRibbonControlTab {
    DECLARE_DYNCREATE(RibbonTabControl)
public:
    // A tab's tooltip: its own, else its caption, without mnemonics either way.
    static CString GetTabToolTip(CXTPTabManagerItem* tab);
};

class RibbonTabPopupToolBar : public CXTPRibbonTabPopupToolBar {
    DECLARE_DYNCREATE(RibbonTabPopupToolBar)
public:
    RibbonTabPopupToolBar() = default;
    explicit RibbonTabPopupToolBar(CXTPRibbonTab* tab) : CXTPRibbonTabPopupToolBar(tab) {}
};

class OrsaSettingsButton : public CXTPControlButton {
    DECLARE_DYNCREATE(OrsaSettingsButton)
public:
    static constexpr int kId = 1203;
    OrsaSettingsButton();
    // Closes the popups and opens the annotate module's "Orsa" settings page.
    void OnExecute() override;
};

class OrsaPopup : public CXTPControlPopup {
    DECLARE_DYNCREATE(OrsaPopup)
public:
    static constexpr int kId = 0x10000;
    static constexpr int kIconResource = 610;
    OrsaPopup() = default;
    // Connect (2074), disconnect (2075) and the settings entry, its icon loaded for its id.
    explicit OrsaPopup(CXTPCommandBars* bars);
};

class RibbonTabsPopup : public CXTPControlPopup {
    DECLARE_DYNCREATE(RibbonTabsPopup)
public:
    RibbonTabsPopup() = default;
    explicit RibbonTabsPopup(DVRibbonBar* ribbon);
    DVRibbonBar* GetRibbon() const { return m_ribbon; }
    // Refills its entries (one per tab the person may hide, then the customise entry) when it
    // opens; refuses to open in customise mode.
    BOOL OnSetPopup(BOOL bPopup) override;
    CSize GetSize(CDC* pDC) override;
    // The size for a ribbon edit height.
    static CSize SizeForEditHeight(int editHeight) { return CSize(editHeight * 13 / 22, editHeight); }
    void Draw(CDC* pDC) override;
    CXTPControl* Clone(BOOL bRecursive = FALSE) override;

private:
    void Refill();
    DVRibbonBar* m_ribbon = nullptr;
};

class TabButton : public CXTPControlButton {
public:
    explicit TabButton(Dravik::UI::RibbonTab* tab);
    Dravik::UI::RibbonTab* GetTab() const { return m_tab; }
    // Shows the tab the person hid, or hides it.
    void OnExecute() override;

private:
    Dravik::UI::RibbonTab* m_tab;
};

DV_EXPORTS_END
