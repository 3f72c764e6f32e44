// An edit field in a command bar. The text lives in the control; while the bar shows, a real
// edit window over the control's rectangle takes the keys. Each change of the text reaches the
// frame as EN_CHANGE with the control's id; Enter executes the control.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

class CXTPControlEdit;

// The edit window of an edit control (or of a combo box's edit part).
class CXTPControlEditCtrl : public CEdit {
    DECLARE_DYNAMIC(CXTPControlEditCtrl)
public:
    explicit CXTPControlEditCtrl(CXTPControl* pControl = nullptr) : m_pControl(pControl) {}
    CXTPControl* GetControl() const { return m_pControl; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CXTPControl* m_pControl;
};

class CXTPControlEdit : public CXTPControl {
    DECLARE_DYNCREATE(CXTPControlEdit)
public:
    CXTPControlEdit();
    ~CXTPControlEdit() override;

    CString GetEditText() const;
    void SetEditText(LPCWSTR lpszText);
    // The label drawn before the field (the caption) shows when set.
    void ShowLabel(BOOL bShow) { m_bShowLabel = bShow; }
    BOOL IsLabelShown() const { return m_bShowLabel; }
    void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    CXTPControlEditCtrl* GetEditCtrl() const { return m_pEdit; }

    // A key in the edit window before the window handles it; true swallows it. By default
    // Enter executes, Esc gives the focus back to the frame.
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    // The text changed (from the window or from SetEditText): the frame hears EN_CHANGE.
    virtual void OnEditChanged();
    // The edit window took the keyboard focus from `hwndOld` (may be null).
    virtual void OnSetFocus(HWND hwndOld) {}

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnShowWindow(BOOL bShow) override;
    void OnEnabledChanged() override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    // Where the field is inside the control's rectangle.
    virtual CRect GetEditRect() const;
    // Keeps the edit window over the field after a layout.
    void PlaceEditWindow();

protected:
    friend class CXTPControlEditCtrl;
    friend class CXTPCommandBar;
    virtual CXTPControlEditCtrl* CreateEditCtrl() { return new CXTPControlEditCtrl(this); }
    void textFromWindow();
    CString m_strEditText;
    BOOL m_bShowLabel = FALSE;
    BOOL m_bReadOnly = FALSE;
    CXTPControlEditCtrl* m_pEdit = nullptr;
    BOOL m_bSettingText = FALSE;
};

DV_EXPORTS_END
