// The command bars of one frame: its tool bars and menu bar, the popups they open, the options
// they share, the tooltips, and their stored layout. The frame (CXTPFrameWndBase) creates one set
// with InitCommandBars and hands it every message it sees first.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBar.h"
#include "xtp/CommandBarsOptions.h"
#include "xtp/Controls.h"
#include "xtp/MenuBar.h"
#include "xtp/PopupBar.h"
#include "xtp/ToolBar.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPImageManager;
class CXTPPropExchange;
class CXTPShortcutManager;
class CXTPToolTipContext;

// Notifications the command bars send to their site frame (through its message map).
constexpr UINT WM_XTP_TOOLBARVISIBLECHANGED = 0x2855; // wParam 0, lParam the CXTPToolBar*
constexpr UINT WM_XTP_INITCOMMANDSPOPUP = 0x285B;     // lParam the CXTPPopupBar* about to open
constexpr UINT WM_XTP_CREATECONTROL = 0x285E;         // lParam an XTP_COMMANDBARS_CREATECONTROL*
constexpr UINT WM_XTP_INITCONTROL = 0x285F;           // wParam the id, lParam the CXTPControl*
constexpr UINT WM_XTP_INITPOPUP = 0x2867;             // lParam the CXTPCommandBar* about to open

// A request to the frame to make the control of an id itself (result 1 when it did, with the
// control in pControl; 0 lets the command bars make the default one).
struct XTP_COMMANDBARS_CREATECONTROL {
    HWND hwndOwner = nullptr;
    CMenu* pMenu = nullptr; // the menu the control comes from, if any
    int nIndex = -1;        // its index there
    UINT nID = 0;
    CString strCaption;
    XTPControlType controlType = xtpControlButton;
    XTPButtonStyle buttonStyle = xtpButtonAutomatic;
    CXTPCommandBar* pCommandBar = nullptr; // the bar that will hold the control
    BOOL bToolBar = FALSE;                 // the control is for a tool bar (not a popup or menu)
    CXTPControl* pControl = nullptr;
};
using LPCREATECONTROLSTRUCT = XTP_COMMANDBARS_CREATECONTROL*;

// What the bars store: the bars, their places and visibility, and the controls of bars the user
// changed (or all controls, bSerializeControls).
struct XTP_COMMANDBARS_PROPEXCHANGE_PARAM {
    BOOL bSerializeControls = TRUE;
    BOOL bSaveOnlyCustomized = TRUE;
    BOOL bSerializeOptions = FALSE;
    BOOL bSerializeLayout = TRUE;
};

// Message-map entries of the site frame for the requests above.
namespace afx::thunk {
template <class T, auto Fn> bool xtpCreateControl(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<int (T::*)(LPCREATECONTROLSTRUCT), Fn>();
    c.result = (self<T>(t).*Fn)(reinterpret_cast<LPCREATECONTROLSTRUCT>(c.lParam));
    return true;
}
template <class T, auto Fn> bool xtpInitCommandsPopup(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<void (T::*)(CXTPPopupBar*), Fn>();
    (self<T>(t).*Fn)(reinterpret_cast<CXTPPopupBar*>(c.lParam));
    c.result = 0;
    return true;
}
} // namespace afx::thunk
#define ON_XTP_CREATECONTROL()                                                                               \
    DV_CMD_ENTRY(WM_XTP_CREATECONTROL, 0, 0, 0,                                                              \
                 (&::afx::thunk::xtpCreateControl<ThisClass, &ThisClass::OnCreateControl>))
#define ON_XTP_INITCOMMANDSPOPUP()                                                                           \
    DV_CMD_ENTRY(WM_XTP_INITCOMMANDSPOPUP, 0, 0, 0,                                                          \
                 (&::afx::thunk::xtpInitCommandsPopup<ThisClass, &ThisClass::OnInitCommandsPopup>))

class CXTPCommandBars : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPCommandBars)
public:
    CXTPCommandBars();
    ~CXTPCommandBars() override;

    // A new set of bars of a run-time class (CXTPCommandBars when null) for a frame.
    static CXTPCommandBars* CreateCommandBars(CRuntimeClass* pCommandBarsClass = nullptr);
    void SetSite(CWnd* pFrame);
    CWnd* GetSite() const { return m_pFrame; }

    // --- the bars ---
    // A new tool bar (of pToolbarClass, a CXTPToolBar kind) at a position; null when the class
    // is not one or its window cannot be made.
    CXTPToolBar* Add(LPCWSTR lpszName, XTPBarPosition xtpPosition, CRuntimeClass* pToolbarClass = nullptr);
    // Adds a bar the caller made (the bars take it over); false when it is null.
    BOOL Add(CXTPToolBar* pToolBar, LPCWSTR lpszName, XTPBarPosition xtpPosition);
    // Makes the menu bar (id 0xE81A unless given) from a menu resource of the program, or
    // empty for a menu built in code.
    CXTPMenuBar* SetMenu(LPCWSTR lpszName, UINT nID = 0);
    virtual CXTPMenuBar* GetMenuBar() const;
    // A bar the user makes (customisation); by default a tool bar like Add makes.
    virtual CXTPToolBar* AddCustomBar(LPCWSTR lpszName, UINT nID, BOOL bTearOffBar = FALSE);
    int GetCount() const { return static_cast<int>(m_arrBars.size()); }
    CXTPToolBar* GetAt(int nIndex) const;
    CXTPToolBar* GetToolBar(UINT nID) const;
    // Removes a bar (its window goes, OnToolBarRemoved hears of it, then it is released).
    void Remove(CXTPToolBar* pToolBar);
    void RemoveAll();
    virtual void OnToolBarRemoved(CXTPToolBar* pToolBar) {}
    // Docks a bar in the row of another, just right of it (below it on a side edge).
    void DockRightOf(CXTPToolBar* pBarToDock, CXTPToolBar* pBarOnLeft);
    // Lets the bars of this set dock along the site's edges (they do from the start). A further
    // set of a site that has its own (a frame's second command bars) is laid out with the
    // site's own from then on, inside the room they leave.
    void EnableDocking();
    // The further sets of a site, in the order they enabled docking.
    static std::vector<CXTPCommandBars*> GetDockingSetsOf(const CWnd* pSite);
    // Shows, hides or toggles a bar and lays the frame out again.
    void ToggleVisible(int nIndex);

    // --- controls ---
    // Asks the site to make the control of an id (XTP_COMMANDBARS_CREATECONTROL), else makes the
    // default control of the type; the site then hears WM_XTP_INITCONTROL.
    virtual CXTPControl* CreateControl(XTPControlType type, int nId, CXTPCommandBar* pBar,
                                       CMenu* pMenu = nullptr, int nIndex = -1,
                                       LPCWSTR lpszCaption = nullptr);
    // The first control with the id on any bar (visible bars first).
    CXTPControl* FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const;
    // Hidden commands do not show in menus (nor do they execute from a key).
    void HideCommands(const UINT* pCommands, int nCount);
    void HideCommand(UINT nCommand);
    BOOL IsControlHidden(CXTPControl* pControl) const;

    // --- the frame ---
    // Lays out the docked bars inside rcAvail (client coordinates of the site); returns what is
    // left for the client area.
    CRect LayoutDockedBars(CRect rcAvail);
    // Asks the site to lay out again, now or at the next idle time.
    void RecalcFrameLayout(BOOL bDelay = FALSE);
    void DelayLayout() { RecalcFrameLayout(TRUE); }
    // Every visible bar (and open popup) asks the site's routing about its controls.
    void UpdateCommandBars();
    // The site's messages, offered first; true when the bars handled one (pResult then holds
    // the answer).
    virtual BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Keys for bars: Alt and accelerator letters for the menu bar, everything while a bar
    // tracks. True when consumed.
    virtual BOOL PreTranslateFrameMessage(MSG* pMsg);
    // Print preview hides the bars and shows them again afterwards.
    virtual void OnSetPreviewMode(BOOL bPreview);
    BOOL IsPreviewMode() const { return m_bPreviewMode; }

    // --- popups ---
    // Tracks a popup made from a menu (or a popup bar) at a screen point. With TPM_RETURNCMD the
    // chosen id is returned and nothing is sent; otherwise the chosen command goes to pWnd (the
    // site when null) and the result is non-zero when one was chosen.
    int TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd = nullptr,
                       LPCRECT rcExclude = nullptr, CWnd* pWndOwner = nullptr);
    int TrackPopupMenu(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd = nullptr,
                       LPCRECT rcExclude = nullptr, CWnd* pWndOwner = nullptr);
    // Closes every open popup and leaves tracking mode.
    void ClosePopups();
    // The popup the keys go to (the deepest open one), or the bar in tracking mode.
    CXTPCommandBar* GetTrackingBar() const;
    // A bar entered or left tracking mode.
    virtual void OnTrackingModeChanged(CXTPCommandBar* pCommandBar, int bMode) {}
    // The right-click menu over the bars: the tool-bar list.
    virtual void ContextMenu(CXTPToolBar* pToolBar, CPoint point);
    // The popup listing the bars with a check for each visible one (ids from 0xE850).
    virtual CXTPPopupBar* GetToolbarsPopup();

    // --- shared parts ---
    CXTPCommandBarsOptions* GetCommandBarsOptions() const { return m_pOptions; }
    CXTPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    // The icons of the bars' controls: the bars' own manager when given, else the process's.
    CXTPImageManager* GetImageManager() const;
    void SetImageManager(CXTPImageManager* pImageManager); // the bars take it over
    // The bars' shortcuts, made on first use.
    CXTPShortcutManager* GetShortcutManager() const;
    void SetShortcutManager(CXTPShortcutManager* pShortcutManager); // the bars take it over
    // Replaces the tooltip context (the bars take the new one over).
    void SetToolTipContext(CXTPToolTipContext* pContext);
    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
    void SetCustomizeMode(BOOL bMode) { m_bCustomizeMode = bMode; }
    BOOL IsLayoutRTL() const { return m_bRightToLeft; }
    void SetLayoutRTL(BOOL bRightToLeft) { m_bRightToLeft = bRightToLeft; }
    // Whether accelerator letters are underlined (always, or only after Alt).
    void ShowKeyboardCues(BOOL bShow);
    BOOL IsKeyboardCuesVisible() const { return m_bKeyboardCues; }
    void EnableCustomization(BOOL bEnable) { m_bCustomization = bEnable; }

    // --- storage ---
    // Stores or loads the layout: every bar's id, title, position, row, offset, floating place
    // and visibility, and the controls of bars the user changed. Loading matches bars by id,
    // makes custom bars that are stored but missing, keeps defaults for what is absent or
    // unreadable, and never trusts a stored count.
    virtual void DoPropExchange(CXTPPropExchange* pPX, XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam = nullptr);

protected:
    friend class CXTPCommandBar;
    friend class CXTPPopupBar;
    friend class CXTPControl;
    void pushTracking(CXTPCommandBar* pBar);
    void popTracking(CXTPCommandBar* pBar);
    BOOL handleAltKey(MSG* pMsg);

    std::vector<CXTPToolBar*> m_arrBars;
    std::vector<UINT> m_hiddenCommands;
    std::vector<CXTPCommandBar*> m_tracking; // the bars that take keys, the root first
    CWnd* m_pFrame = nullptr;
    CXTPCommandBarsOptions* m_pOptions;
    CXTPToolTipContext* m_pToolTipContext;
    std::shared_ptr<CXTPImageManager> m_pImageManager;
    mutable std::shared_ptr<CXTPShortcutManager> m_pShortcutManager;
    BOOL m_bCustomizeMode = FALSE;
    BOOL m_bCustomization = TRUE;
    BOOL m_bRightToLeft = FALSE;
    BOOL m_bKeyboardCues = FALSE;
    BOOL m_bPreviewMode = FALSE;
    BOOL m_bAltPressed = FALSE; // Alt went down with nothing else since
    std::vector<CXTPToolBar*> m_hiddenForPreview;
    UINT m_nTrackedCommand = 0;
    BOOL m_bTrackingModal = FALSE;
    BOOL m_bDelayedLayout = FALSE;
    BOOL m_bDocking = TRUE;
};

DV_EXPORTS_END
