// A tab of the ribbon: a tab of its tab strip that holds groups; a contextual tab carries a
// colour and a caption that it shares with its contextual neighbours.
#pragma once

#include "pal/visibility.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonPaintManager.h"
#include "xtp/TabManager.h"

DV_EXPORTS_BEGIN

class CXTPRibbonTab : public CXTPTabManagerItem {
    friend class CXTPRibbonBar;
    friend class CXTPRibbonTabPopupToolBar;

public:
    CXTPRibbonTab();
    ~CXTPRibbonTab() override;

    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    CXTPRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }

    CXTPRibbonGroups* GetGroups() const { return m_pGroups.get(); }
    CXTPRibbonGroup* AddGroup(LPCWSTR lpszCaption) { return m_pGroups->Add(lpszCaption); }
    CXTPRibbonGroup* AddGroup(int nId);
    CXTPRibbonGroup* FindGroup(int nId) const { return m_pGroups->FindGroup(nId); }

    void SetContextTab(XTPRibbonTabContextColor color, LPCWSTR lpszContextCaption = nullptr);
    XTPRibbonTabContextColor GetContextColor() const { return m_contextColor; }
    CString GetContextCaption() const { return m_strContextCaption; }

    // The letters a key tip shows for the tab; from the caption's mnemonic when empty.
    void SetKeyboardTip(LPCWSTR lpszKeyTip) { m_strKeyTip = lpszKeyTip; }
    CString GetKeyboardTip() const { return m_strKeyTip; }

    // Takes the other tab's state (not its groups): a ribbon's copy calls it for every tab, so
    // that a tab of an application's kind copies what it adds.
    virtual void Copy(const CXTPRibbonTab* pSource);

protected:
    int m_nId = 0;
    CXTPRibbonBar* m_pRibbonBar = nullptr;
    std::unique_ptr<CXTPRibbonGroups> m_pGroups;
    XTPRibbonTabContextColor m_contextColor = xtpRibbonTabContextColorNone;
    CString m_strContextCaption;
    CString m_strKeyTip;
};

DV_EXPORTS_END
