// The backstage view: what the ribbon's File button opens over the frame. A menu down its left
// side lists commands (run and close the view) and tabs (each shows its page beside the menu);
// Esc, the back button and OnCancel close it.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBar.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPControlPopup;

// A command of the menu: runs its id and closes the view.
class CXTPRibbonBackstageCommand : public CXTPControlButton {
    DECLARE_DYNCREATE(CXTPRibbonBackstageCommand)
};

// A tab of the menu: shows its page (any window, most often a property page) beside the menu.
class CXTPRibbonBackstageTab : public CXTPControl {
    DECLARE_DYNCREATE(CXTPRibbonBackstageTab)
public:
    CWnd* GetControlPane() const { return m_pPane; }
    void SetControlPane(CWnd* pPane) { m_pPane = pPane; }
    void OnExecute() override;

protected:
    CWnd* m_pPane = nullptr;
};

class CXTPRibbonBackstageView : public CXTPCommandBar {
    DECLARE_DYNCREATE(CXTPRibbonBackstageView)
public:
    CXTPRibbonBackstageView();
    ~CXTPRibbonBackstageView() override;

    // A new view for the command bars; the caller holds the one reference.
    static CXTPRibbonBackstageView* CreateBackstageView(CXTPCommandBars* pCommandBars);

    CXTPRibbonBackstageCommand* AddCommand(UINT nID, LPCWSTR lpszCaption = nullptr);
    // A tab with its page; the page window becomes a child of the view while it shows.
    CXTPRibbonBackstageTab* AddTab(CWnd* pPane, UINT nID, LPCWSTR lpszCaption = nullptr);
    void SetActiveTab(CXTPRibbonBackstageTab* pTab);
    CXTPRibbonBackstageTab* GetActiveTab() const { return m_pActiveTab; }

    // Opens over the frame of the File button's ribbon, below its caption row.
    virtual BOOL Popup(CXTPControlPopup* pSystemButton);
    BOOL IsOpen() const;
    // Closes the view (Esc, the back button, or a command that ran).
    virtual void OnCancel();

    void SetTheme(int nTheme);
    int GetTheme() const { return m_nTheme; }
    CRect GetMenuRect() const { return m_rcMenu; }
    CRect GetBackButtonRect() const { return m_rcBack; }
    CRect GetPaneRect() const { return m_rcPane; }

    void OnRecalcLayout() override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL EnsureWindow() override;
    void ShowActivePane();

    CXTPRibbonBackstageTab* m_pActiveTab = nullptr;
    CXTPControlPopup* m_pSystemButton = nullptr;
    int m_nTheme = 0;
    int m_nHot = -1;
    CRect m_rcMenu, m_rcBack, m_rcPane;
};

DV_EXPORTS_END
