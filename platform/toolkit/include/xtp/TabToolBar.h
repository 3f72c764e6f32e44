// A tool bar whose controls are grouped in categories, one tab each over the bar: the tab strip
// shows the categories, the row under it the controls of the selected one. A control belongs to
// the category its category text names; a control without one shows under every tab.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/TabManager.h"
#include "xtp/ToolBar.h"

#include <memory>

DV_EXPORTS_BEGIN

class CXTPTabToolBar : public CXTPToolBar {
    DECLARE_DYNCREATE(CXTPTabToolBar)
public:
    CXTPTabToolBar();
    ~CXTPTabToolBar() override;

    // Adds a category as a tab before nIndex (-1 or past the end appends) with a button per id,
    // ID_SEPARATOR (0) starting a group at the next one; the buttons take the caption as their
    // category and go after the bar's other controls. Without bLoadIcons the buttons show their
    // captions rather than icons. The new tab, or null for an empty caption or a bad id list.
    CXTPTabManagerItem* InsertCategory(int nIndex, LPCWSTR lpszCaption, const UINT* pIds, int nCount,
                                       BOOL bLoadIcons = TRUE);
    // The tab of a category, or null.
    CXTPTabManagerItem* FindCategory(LPCWSTR lpszCaption) const;
    // Takes a category's tab and its controls off the bar.
    void RemoveCategory(CXTPTabManagerItem* pItem);
    int GetCategoryCount() const { return m_pTabManager->GetItemCount(); }

    // The selected category; selecting shows its controls and hides those of the others.
    CXTPTabManagerItem* GetSelectedCategory() const { return m_pTabManager->GetSelectedItem(); }
    void SelectCategory(CXTPTabManagerItem* pItem);
    void SelectCategory(int nIndex) { SelectCategory(m_pTabManager->GetItem(nIndex)); }

    // Places the tabs again and shows the controls of the selected category (a visible one is
    // chosen when none is); for after tabs or controls changed behind the bar's back.
    void UpdateTabs();

    // Whether the strip shows; without it the bar shows the selected category's controls alone.
    void ShowTabs(BOOL bShow);
    BOOL IsTabsVisible() const { return m_bShowTabs; }

    CXTPTabManager* GetTabManager() const { return m_pTabManager.get(); }
    CXTPTabPaintManager* GetTabPaintManager() const { return m_pTabPaintManager.get(); }
    // Where the strip is, in the bar's client coordinates; empty when it does not show.
    CRect GetTabsRect() const;

    CSize CalcDynamicSize(int nLength, DWORD dwMode) override;
    void OnRecalcLayout() override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;

protected:
    // A category was selected (by a click or a call); the bar has shown its controls.
    virtual void OnCategoryChanged(CXTPTabManagerItem* pItem) {}

private:
    class CTabs;
    friend class CTabs;
    void showSelectedControls();
    int stripHeight() const;

    std::unique_ptr<CXTPTabPaintManager> m_pTabPaintManager;
    std::unique_ptr<CXTPTabManager> m_pTabManager;
    BOOL m_bShowTabs = TRUE;
};

DV_EXPORTS_END
