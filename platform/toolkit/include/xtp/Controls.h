// Controls of command bars: the buttons, popups, edits and the rest that a bar shows in a row
// (or a popup in a column), and the ordered list that holds them. A control is a model object:
// its bar window draws it and hands it the mouse and keys.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControls;
class CXTPImageManagerIcon;
class CXTPPropExchange;

enum XTPControlType {
    xtpControlError = 0,
    xtpControlButton = 1,
    xtpControlPopup = 2,
    xtpControlButtonPopup = 3,
    xtpControlSplitButtonPopup = 4,
    xtpControlComboBox = 5,
    xtpControlEdit = 6,
    xtpControlCustom = 7,
    xtpControlLabel = 8,
    xtpControlCheckBox = 9,
    xtpControlGallery = 10,
    xtpControlRadioButton = 11,
};

enum XTPButtonStyle {
    xtpButtonAutomatic = 0,
    xtpButtonCaption = 1,
    xtpButtonIcon = 2,
    xtpButtonIconAndCaption = 3,
    xtpButtonIconAndCaptionBelow = 4,
    xtpButtonCaptionAndDescription = 5,
};

// Control flags.
enum XTPControlFlags {
    xtpFlagRightAlign = 0x1,
    xtpFlagSkipFocus = 0x2,
    xtpFlagLeftPopup = 0x4,
    xtpFlagManualUpdate = 0x8, // the idle update leaves the control alone
    xtpFlagNoMovable = 0x10,   // customisation cannot move it
    xtpFlagControlStretched = 0x20,
    xtpFlagShowPopupBarTip = 0x40,
    xtpFlagWrapRow = 0x80, // starts a new row in a bar
};

// Why a control does not show; it shows when it has none. The generic reason is SetVisible's,
// the others belong to the bar that lays the control out.
enum XTPControlHideFlags {
    xtpHideGeneric = 0x1,
    xtpHideWrap = 0x20, // no room for it in this layout
};

class CXTPControl;

// A control's notification to the site window of its bar (WM_XTP_CONTROLNOTIFY, 0x2862): the
// header's code says what happened, idFrom is the control's id.
struct NMXTPCONTROL {
    NMHDR hdr;
    CXTPControl* pControl;
};
constexpr UINT WM_XTP_CONTROLNOTIFY = 0x2862; // wParam the id, lParam an NMXTPCONTROL*
constexpr UINT XTP_CN_EXECUTE = 100;          // the control was executed

// What a control can be asked to do by the bar that shows it.
class CXTPControl : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPControl)
public:
    CXTPControl();
    ~CXTPControl() override;

    // A control of a type (a button for the unknown ones); the caller owns it until it is added.
    static CXTPControl* CreateControl(XTPControlType type);

    // --- what the control is ---
    int GetID() const { return m_nId; }
    void SetID(int nId);
    XTPControlType GetType() const { return m_controlType; }
    void SetType(XTPControlType type) { m_controlType = type; }
    CString GetCaption() const { return m_strCaption; }
    virtual void SetCaption(LPCWSTR lpszCaption);
    CString GetDescription() const { return m_strDescription; }
    void SetDescription(LPCWSTR lpszDescription) { m_strDescription = lpszDescription; }
    // The tooltip: the control's own, else its caption without accelerator marks.
    CString GetTooltip() const;
    void SetTooltip(LPCWSTR lpszTooltip) { m_strTooltip = lpszTooltip; }
    // The text for the frame's status bar while the control is selected.
    CString GetPrompt() const { return m_strPrompt; }
    void SetPrompt(LPCWSTR lpszPrompt) { m_strPrompt = lpszPrompt; }
    // The key that runs the command, shown at the right of a menu item ("Ctrl+N").
    CString GetShortcutText() const { return m_strShortcutText; }
    void SetShortcutText(LPCWSTR lpszShortcut) {
        m_strShortcutText = lpszShortcut;
        DelayLayoutParent();
    }
    CString GetParameter() const { return m_strParameter; }
    void SetParameter(LPCWSTR lpszParameter) { m_strParameter = lpszParameter; }
    DWORD_PTR GetTag() const { return m_nTag; }
    void SetTag(DWORD_PTR nTag) { m_nTag = nTag; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    XTPButtonStyle GetStyle() const { return m_buttonStyle; }
    void SetStyle(XTPButtonStyle style);
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    void SetBeginGroup(BOOL bBeginGroup);
    BOOL IsVisible() const { return m_bVisible && m_dwHideFlags == 0; }
    void SetVisible(BOOL bVisible);
    DWORD GetHideFlags() const { return (m_bVisible ? 0 : DWORD(xtpHideGeneric)) | m_dwHideFlags; }
    // Adds or clears reasons (xtpHideGeneric is SetVisible's) without asking the bar for a new
    // layout: for a bar that lays its controls out.
    void SetHideFlag(DWORD dwFlag, BOOL bSet);
    BOOL GetEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    BOOL GetChecked() const { return m_bChecked; }
    void SetChecked(BOOL bChecked);
    CString GetCategory() const { return m_strCategory; }
    void SetCategory(LPCWSTR lpszCategory) { m_strCategory = lpszCategory; }
    // A fixed width (0: as wide as the content asks).
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int nWidth);
    int GetHeight() const { return m_nHeight; }
    void SetHeight(int nHeight);
    // The icon by id (0: the control's id). Icons come from the image manager; until one is
    // there, an icon-only control shows its caption.
    int GetIconId() const { return m_nIconId != 0 ? m_nIconId : m_nId; }
    void SetIconId(int nId) { m_nIconId = nId; }
    void SetIconSize(CSize size) { m_szIcon = size; }
    // The icon the control is drawn with at a width: by default its icon id's in the image
    // manager of its bars; a control that draws its own picture answers it here. Null: none.
    virtual CXTPImageManagerIcon* GetImage(int nWidth);
    CSize GetIconSize() const { return m_szIcon; }
    // A popup item that keeps its popup open when clicked.
    BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
    void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
    // A control made by the program at run time (not from the original bar): never stored.
    BOOL IsTemporary() const { return m_bTemporary; }
    void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
    BOOL IsDefaultItem() const { return m_bDefaultItem; }
    void SetItemDefault(BOOL bDefault) { m_bDefaultItem = bDefault; }

    // --- where it is ---
    CXTPCommandBar* GetParent() const { return m_pParent; }
    CXTPControls* GetControls() const { return m_pControls; }
    // The bars this control's bar belongs to (null for a control outside a bar).
    CXTPCommandBars* GetCommandBars() const;
    int GetIndex() const;
    CRect GetRect() const { return m_rcControl; }
    void SetRect(CRect rc) { m_rcControl = rc; }
    // Whether the pointer or the keyboard selects (hovers) it.
    BOOL GetSelected() const { return m_bSelected; }
    BOOL GetPressed() const { return m_bPressed; }
    void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }
    // Repaints the control in its bar.
    void RedrawParent(BOOL bAnimate = TRUE);
    // Asks the bar to lay out again at its next chance.
    void DelayLayoutParent();

    // --- its behaviour (the bar calls these) ---
    // The size the control asks for in its bar.
    virtual CSize GetSize(CDC* pDC);
    virtual void Draw(CDC* pDC);
    // A click (mouse or Enter); by default the control executes.
    virtual void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0));
    virtual void OnLButtonUp(CPoint point);
    // A double click on the control; true when it used it, else the bar takes it as a press.
    virtual BOOL OnLButtonDblClk(CPoint point) { return FALSE; }
    virtual void OnMouseMove(CPoint point) {}
    // A key while the control is selected in its bar; true when the control used it.
    virtual BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) { return FALSE; }
    // Carries out the control's command: closes its popups, tells the frame of its bars
    // (XTP_CN_EXECUTE) and, unless the frame acted on that itself, sends it WM_COMMAND with the id.
    virtual void OnExecute();
    // Tells the site window of the control's bar of something that happened to the control
    // (WM_XTP_CONTROLNOTIFY with an NMXTPCONTROL); the site's answer, 0 without a site.
    LRESULT NotifySite(UINT code);
    // The control becomes selected (bSelected non-zero) or not.
    virtual BOOL OnSetSelected(int bSelected);
    // A bar with a dynamic size tells its controls before laying them out.
    virtual void OnCalcDynamicSize(DWORD dwMode) {}
    // The control now shows in a bar window (or no longer does): controls with a window of
    // their own make or drop it.
    virtual void OnShowWindow(BOOL bShow) {}
    virtual void OnEnabledChanged() {}
    // Whether the control can be selected by the keyboard.
    virtual BOOL IsFocusable() const;
    // The idle update: asks the command routing of `pTarget` to enable, check and caption it.
    virtual void OnIdleUpdate(CCmdTarget* pTarget);

    // Copies the other control's state (and, when bRecursive, its popup's controls).
    virtual void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE);
    // A new control of the same run-time class with this one's state.
    virtual CXTPControl* Clone(BOOL bRecursive = FALSE);
    virtual void DoPropExchange(CXTPPropExchange* pPX);
    // Whether the control is the same (id, type, caption ...) as another: customised bars store
    // only what differs from their original controls.
    virtual BOOL Compare(CXTPControl* pOther);

    // Reference counting: the list holds one reference, popups opened on the control another.
    DWORD InternalAddRef() { return ++m_dwRef; }
    DWORD InternalRelease();

protected:
    friend class CXTPControls;
    friend class CXTPCommandBar;
    friend class CXTPCommandBars;
    friend class CXTPPopupBar;
    friend class CXTPToolBar;

    int m_nId = 0;
    XTPControlType m_controlType = xtpControlButton;
    CString m_strCaption;
    CString m_strDescription;
    CString m_strTooltip;
    CString m_strPrompt;
    CString m_strParameter;
    CString m_strShortcutText;
    DWORD_PTR m_nTag = 0;
    DWORD m_dwFlags = 0;
    XTPButtonStyle m_buttonStyle = xtpButtonAutomatic;
    BOOL m_bBeginGroup = FALSE;
    BOOL m_bVisible = TRUE;
    DWORD m_dwHideFlags = 0; // the reasons but the generic one
    BOOL m_bEnabled = TRUE;
    BOOL m_bChecked = FALSE;
    CString m_strCategory;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nIconId = 0;
    CSize m_szIcon{0, 0};
    BOOL m_bCloseSubMenuOnClick = TRUE;
    BOOL m_bTemporary = FALSE;
    BOOL m_bDefaultItem = FALSE;

    CXTPCommandBar* m_pParent = nullptr;
    CXTPControls* m_pControls = nullptr;
    CRect m_rcControl{0, 0, 0, 0};
    BOOL m_bSelected = FALSE;
    BOOL m_bPressed = FALSE;
    LONG m_dwRef = 1;
};

// A button: executes its command when clicked.
class CXTPControlButton : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlButton)
public:
    CXTPControlButton() { m_controlType = xtpControlButton; }
};

// A control that opens a popup bar: a menu item with a submenu (popup), a button with a
// drop-down arrow (button popup), or a button whose arrow part alone opens the popup (split
// button popup).
class CXTPControlPopup : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlPopup)
public:
    CXTPControlPopup();
    ~CXTPControlPopup() override;
    static CXTPControlPopup* CreateControlPopup(XTPControlType controlType);

    // The bar that opens; the control holds a reference on it.
    CXTPCommandBar* GetCommandBar() const { return m_pCommandBar; }
    void SetCommandBar(CXTPCommandBar* pBar);
    // A popup bar made from a menu.
    void SetCommandBar(CMenu* pMenu);

    // Opens (TRUE) or closes the popup; true when it changed.
    virtual BOOL OnSetPopup(BOOL bPopup);
    BOOL GetPopuped() const { return m_bPopup; }
    // Whether `point` (bar coordinates) is on the arrow of a split button.
    BOOL IsSplitArrow(CPoint point) const;

    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint point) override;
    void OnExecute() override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    BOOL Compare(CXTPControl* pOther) override;
    void OnIdleUpdate(CCmdTarget* pTarget) override;

protected:
    friend class CXTPCommandBar;
    friend class CXTPPopupBar;
    CXTPCommandBar* m_pCommandBar = nullptr;
    BOOL m_bPopup = FALSE;
};

// The ordered controls of one bar.
class CXTPControls : public CCmdTarget {
    DECLARE_DYNCREATE(CXTPControls)
public:
    CXTPControls();
    ~CXTPControls() override;

    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    CXTPControl* GetAt(int nIndex) const;
    int IndexOf(const CXTPControl* pControl) const;

    // Adds a control of a type, asking the frame first (XTP_COMMANDBARS_CREATECONTROL) whether
    // it wants to make the control for this id; at `nBefore` (-1: at the end).
    CXTPControl* Add(XTPControlType controlType, int nId, LPCWSTR lpszParameter = L"", int nBefore = -1,
                     BOOL bTemporary = FALSE);
    // Adds a control the caller made (the list takes it over).
    CXTPControl* Add(CXTPControl* pControl, int nId = 0, LPCWSTR lpszParameter = L"", int nBefore = -1,
                     BOOL bTemporary = FALSE);
    // A copy of the control, inserted.
    CXTPControl* AddClone(CXTPControl* pControl, int nBefore = -1, BOOL bRecursive = FALSE);
    // Builds the controls of a menu: items become buttons, submenus popups, separators begin
    // groups of the next item.
    BOOL LoadMenu(CMenu* pMenu);

    void Remove(CXTPControl* pControl);
    void Remove(int nIndex);
    void RemoveAll();
    // Moves a control to another index.
    void MoveBefore(CXTPControl* pControl, int nBefore);

    // The first control with the id, searched in this list and (when bRecursive) in the popups
    // of its controls; type xtpControlError matches every type; bVisible asks for a visible one.
    CXTPControl* FindControl(XTPControlType type, int nId, BOOL bVisible, BOOL bRecursive) const;
    CXTPControl* FindControl(int nId) const { return FindControl(xtpControlError, nId, FALSE, FALSE); }

    // The controls the bar had when it was built, kept to tell customisation from origin
    // (reset, and storing only the differences).
    void CreateOriginalControls();
    CXTPControls* GetOriginalControls() const { return m_pOriginalControls; }
    void ClearOriginalControls();

    void Copy(CXTPControls* pControls, BOOL bRecursive = FALSE);
    CXTPControls* Duplicate(BOOL bRecursive = FALSE);

    CXTPCommandBar* GetParent() const { return m_pParent; }
    void SetParent(CXTPCommandBar* pParent);
    CXTPCommandBars* GetCommandBars() const;
    void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }

    void DoPropExchange(CXTPPropExchange* pPX);

    // A control has just joined the list, or has just left it (still alive: the list's
    // reference is released after this).
    virtual void OnControlAdded(CXTPControl* pControl) {}
    virtual void OnControlRemoved(CXTPControl* pControl) {}

    std::vector<CXTPControl*>::const_iterator begin() const { return m_arrControls.begin(); }
    std::vector<CXTPControl*>::const_iterator end() const { return m_arrControls.end(); }

private:
    void attach(CXTPControl* pControl, int nBefore);
    void changed();
    std::vector<CXTPControl*> m_arrControls;
    CXTPCommandBar* m_pParent = nullptr;
    CXTPCommandBars* m_pCommandBars = nullptr;
    CXTPControls* m_pOriginalControls = nullptr;
};

DV_EXPORTS_END
