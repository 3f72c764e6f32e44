// One docking pane: an id, a title, an icon, size limits and the window it shows.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/DockingPaneBase.h"

DV_EXPORTS_BEGIN

class CXTPPropExchange;

class CXTPDockingPane : public CXTPDockingPaneBase {
public:
    CXTPDockingPane(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPane() override;

    int GetID() const { return m_nID; }
    void SetID(int id) { m_nID = id; }
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCWSTR title);
    // The text of the pane's tab; the title when none was given.
    CString GetTabCaption() const { return m_strTabCaption.IsEmpty() ? m_strTitle : m_strTabCaption; }
    void SetTabCaption(LPCWSTR caption);
    int GetIconID() const { return m_nIconID; }
    void SetIconID(int id) { m_nIconID = id; }
    void SetMinTrackSize(CSize size) { m_szMin = size; }
    void SetMaxTrackSize(CSize size) { m_szMax = size; }
    CSize GetMinTrackSize() const { return m_szMin; }
    CSize GetMaxTrackSize() const { return m_szMax; }

    // Makes a window the pane's content: it becomes a child of the pane's container and fills
    // it. A window attached before is detached first.
    void Attach(CWnd* pWnd);
    void Attach(HWND hWnd);
    // Takes the content away: the window is hidden and has no parent any more. Returns it.
    CWnd* Detach();
    CWnd* GetChild() const;
    HWND GetChildHwnd() const { return m_hwndChild; }

    // Shows the pane (floating, docked or slid out from its side) with its tab selected and
    // the keyboard focus in its content.
    void Select();
    // Collapses the pane's container to an auto-hide side of the frame.
    void Hide();
    // Closes the pane (after asking the site); it keeps its place for when it is shown again.
    void Close();
    bool IsClosed() const { return m_bClosed; }
    // Collapsed to an auto-hide side.
    bool IsHidden() const;
    bool IsFloating() const;
    bool IsSelected() const;
    CXTPDockingPaneTabbedContainer* GetTabbedContainer() const;
    CRect GetPaneWindowRect() const override;
    bool IsVisibleInLayout() const override;

    // The pane's own state in a layout; a derived pane stores more. False when the pane cannot
    // be exchanged: a stored layout then leaves it out, and a loaded one skips it.
    virtual BOOL DoPropExchange(CXTPPropExchange* pPX);

protected:
    friend class CXTPDockingPaneManager;
    friend class CXTPDockingPaneLayout;
    friend struct CXTPDockingPaneLayoutExchange;
    friend class CXTPDockingPaneTabbedContainer;
    int m_nID = 0;
    CString m_strTitle;
    CString m_strTabCaption;
    int m_nIconID = -1;
    CSize m_szMin{0, 0};
    CSize m_szMax{32000, 32000};
    HWND m_hwndChild = nullptr;
    bool m_bClosed = false;
    // Where the pane lay when it was last docked, so that it can go back there: beside the pane
    // m_nDockedBeside, or at the frame's side (kDockedAtFrame), or beside the frame's client or
    // one of the nodes holding it (kDockedAtClient less the steps up from the client), on its
    // m_nDockedSide (a direction, or kDockedAsTab: one of that pane's tabs).
    static constexpr int kDockedAtFrame = 0;
    static constexpr int kDockedAtClient = -1;
    static constexpr int kDockedAsTab = 4;
    int m_nDockedBeside = kDockedAtFrame;
    int m_nDockedSide = 0;
    // Where it last floated (screen coordinates; empty when it never did).
    CRect m_rcLastFloat;
};

DV_EXPORTS_END
