// A command bar: a row (or a column) of controls, shown by a window of its own. Tool bars, the
// menu bar and popup bars are its kinds. The bar draws its controls through the paint manager,
// gives them the mouse and the keys, and lets the frame's command routing update them.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPropExchange;
class CXTPToolTipContext;

enum XTPBarPosition {
    xtpBarTop = 0,
    xtpBarBottom = 1,
    xtpBarLeft = 2,
    xtpBarRight = 3,
    xtpBarFloating = 4,
    xtpBarPopup = 5,
    xtpBarListBox = 6,
    xtpBarNone = 7,
};

enum XTPBarType {
    xtpBarTypeNormal = 0,
    xtpBarTypeMenuBar = 1,
    xtpBarTypePopup = 2,
    xtpBarTypeRibbon = 3,
};

// Bar flags (SetFlags).
enum XTPToolBarFlags {
    xtpFlagAlignTop = 0x1,
    xtpFlagAlignBottom = 0x2,
    xtpFlagAlignLeft = 0x4,
    xtpFlagAlignRight = 0x8,
    xtpFlagAlignAny = 0xF,
    xtpFlagFloating = 0x10,
    xtpFlagHideWrap = 0x20,
    xtpFlagStretched = 0x40, // takes a whole row
    xtpFlagSmartLayout = 0x100,
    xtpFlagHideMinimizeBox = 0x200,
    xtpFlagHideMaximizeBox = 0x400,
    xtpFlagIgnoreSetMenuMessage = 0x800,
    xtpFlagAddMDISysPopup = 0x1000,
    xtpFlagHideMDIButtons = 0x2000,
};

// The hook sink: a bar or a frame that sees the site frame's messages before the frame does.
class CXTPHookManagerHookAble {
public:
    virtual ~CXTPHookManagerHookAble() = default;
    // TRUE when the message is handled (lResult is then the answer).
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
        return FALSE;
    }
};

class CXTPCommandBar : public CWnd {
    DECLARE_DYNCREATE(CXTPCommandBar)
public:
    CXTPCommandBar();
    ~CXTPCommandBar() override;

    // --- the model ---
    CXTPControls* GetControls() const { return m_pControls; }
    // Replaces the controls (the bar takes them over).
    void SetControls(CXTPControls* pControls);
    CXTPControl* GetControl(int nIndex) const { return m_pControls->GetAt(nIndex); }
    int GetControlCount() const { return m_pControls->GetCount(); }
    CXTPControl* FindControl(int nId) const { return m_pControls->FindControl(nId); }
    CXTPControl* FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const {
        return m_pControls->FindControl(type, nId, bVisible, bRecursive);
    }

    XTPBarType GetType() const { return m_barType; }
    XTPBarPosition GetPosition() const { return m_barPosition; }
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCWSTR lpszTitle);
    UINT GetBarID() const { return m_nBarID; }
    void SetBarID(UINT nID) { m_nBarID = nID; }
    DWORD GetFlags() const { return m_dwFlags; }
    // Adds then removes flags.
    void SetFlags(DWORD dwFlagsAdd, DWORD dwFlagsRemove = 0);
    // A popup's fixed width (0: as wide as its widest control).
    void SetWidth(int nWidth);
    int GetWidth() const { return m_nMRUWidth; }
    // The size of the bar's own icons; 0 by 0 (the default) takes the command bars' options.
    void SetIconSize(CSize size) {
        m_szIcons = size;
        controlsChanged();
    }
    CSize GetIconSize() const { return m_szIcons; }
    virtual BOOL IsPopupBar() const { return FALSE; }
    virtual BOOL IsVisible() const;
    virtual void SetVisible(BOOL bVisible);
    BOOL IsCustomizable() const { return m_bCustomizable; }
    void EnableCustomization(BOOL bEnable = TRUE) { m_bCustomizable = bEnable; }

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    void SetCommandBars(CXTPCommandBars* pCommandBars);
    // The frame whose command routing the bar serves.
    CWnd* GetSite() const;
    void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    CWnd* GetOwnerSite() const { return m_pOwner; }
    // The control whose popup this bar is (null for a bar of its own).
    CXTPControlPopup* GetControlPopup() const { return m_pControlPopup; }
    // The bar at the root of this bar's chain of popups.
    CXTPCommandBar* GetRootParent() const;

    // --- selection and popups ---
    // The selected (hot) control's index, -1 for none.
    int GetSelected() const { return m_nSelected; }
    virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
    // Opens the popup of the control at nPopuped (-1 closes any open popup of this bar).
    virtual BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
    int GetPopuped() const { return m_nPopuped; }
    // Tracking mode: the bar takes the keys (menu bar after Alt, popups while open).
    virtual BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
    BOOL IsTrackingMode() const { return m_bTracking; }
    BOOL IsKeyboardCuesVisible() const;
    // A key for this bar in tracking mode; true when used.
    virtual BOOL OnHookKeyDown(UINT nChar, LPARAM lParam);
    // Moves the selection to the next (or previous) control the keyboard can reach.
    int GetNextFocusable(int nIndex, int nDirection) const;
    // The control at a point of the bar's client area, -1 for none.
    int HitTest(CPoint point) const;
    // The control whose caption has the accelerator letter, -1 for none.
    int FindAccel(WCHAR chAccel) const;

    // --- layout and painting ---
    BOOL IsHorizontal() const {
        return m_barPosition == xtpBarTop || m_barPosition == xtpBarBottom || m_barPosition == xtpBarFloating;
    }
    // The size the bar takes: nLength is the room along its direction (-1: unlimited).
    virtual CSize CalcDynamicSize(int nLength, DWORD dwMode);
    // Puts the controls in place inside the window.
    virtual void OnRecalcLayout();
    // Layout and paint at the next idle time rather than at once.
    void DelayLayout();
    void DelayRedraw() { Invalidate(FALSE); }
    BOOL IsLayoutPending() const { return m_bLayoutPending; }
    // While suppressed the bar paints nothing: whoever suppresses it paints it again at the end.
    void SuppressRedraw(BOOL bSuppress) { m_bRedrawSuppressed = bSuppress; }
    BOOL IsRedrawSuppressed() const { return m_bRedrawSuppressed; }
    // Paints the bar: the ground, the gripper, the controls and the separators.
    virtual void DrawCommandBar(CDC* pDC, CRect rcClipBox);
    // The rectangle the gripper takes (empty when the bar has none).
    virtual CRect GetGripperRect() const { return CRect(0, 0, 0, 0); }
    // Whether a control starting a group draws a line before it.
    BOOL IsSeparatorShown(int nIndex) const;

    // --- command update ---
    // Asks the site's command routing about every control (the idle update).
    virtual void OnUpdateCmdUI();
    // The whole update of WM_IDLEUPDATECMDUI.
    virtual void OnIdleUpdateCmdUI();

    // --- storage ---
    virtual void DoPropExchange(CXTPPropExchange* pPX);
    virtual void Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive = FALSE);
    virtual CXTPCommandBar* Clone(BOOL bRecursive = FALSE);

    // Reference counting: bars live while a popup control or the command bars hold them.
    DWORD InternalAddRef() { return ++m_dwRef; }
    DWORD InternalRelease();

    // --- window ---
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC) { return TRUE; }

protected:
    friend class CXTPCommandBars;
    friend class CXTPControl;
    friend class CXTPControlPopup;
    friend class CXTPControls;
    friend class CXTPPopupBar;
    friend class CXTPToolBar;

    // Makes the window when the bar has none yet (a child of the site when docked, a popup
    // otherwise).
    virtual BOOL EnsureWindow();
    void controlsChanged();
    CSize m_szIcons{0, 0};
    void applyPendingLayout();
    void updateToolTip(CPoint point);

    CXTPControls* m_pControls;
    CXTPCommandBars* m_pCommandBars = nullptr;
    CWnd* m_pOwner = nullptr;
    CXTPControlPopup* m_pControlPopup = nullptr;
    XTPBarType m_barType = xtpBarTypeNormal;
    XTPBarPosition m_barPosition = xtpBarTop;
    CString m_strTitle;
    UINT m_nBarID = 0;
    DWORD m_dwFlags = 0;
    int m_nMRUWidth = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bCustomizable = TRUE;
    int m_nSelected = -1;
    int m_nPopuped = -1;
    BOOL m_bTracking = FALSE;
    BOOL m_bKeyboardSelect = FALSE;
    BOOL m_bLayoutPending = FALSE;
    // The length a stretched bar is given along its row (0: as long as its controls); its
    // right-aligned controls end there.
    int m_nStretchedLength = 0;
    BOOL m_bRedrawSuppressed = FALSE;
    int m_nPressed = -1;
    int m_nToolTip = -1;
    LONG m_dwRef = 1;
};

DV_EXPORTS_END
