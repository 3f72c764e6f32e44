// A combo box in a command bar: an edit part (unless it is a drop-down list) and a list that
// drops down as a popup bar. A change of the edit text reaches the frame as CBN_EDITCHANGE, a
// chosen item as CBN_SELCHANGE followed by the control's command.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ControlEdit.h"
#include "xtp/PopupBar.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPControlComboBox;

class CXTPControlComboBoxEditCtrl : public CXTPControlEditCtrl {
    DECLARE_DYNAMIC(CXTPControlComboBoxEditCtrl)
public:
    explicit CXTPControlComboBoxEditCtrl(CXTPControl* pControl = nullptr) : CXTPControlEditCtrl(pControl) {}
};

// The dropped-down list: one row per item, the current one marked.
class CXTPControlComboBoxList : public CXTPPopupBar {
    DECLARE_DYNAMIC(CXTPControlComboBoxList)
public:
    explicit CXTPControlComboBoxList(CXTPControlComboBox* pCombo = nullptr);
    CXTPControlComboBox* GetComboBox() const { return m_pCombo; }
    // Fills the rows from the combo box's items.
    void Rebuild();

protected:
    CXTPControlComboBox* m_pCombo;
};

class CXTPControlComboBox : public CXTPControlEdit {
    DECLARE_DYNCREATE(CXTPControlComboBox)
public:
    CXTPControlComboBox();
    ~CXTPControlComboBox() override;

    int AddString(LPCWSTR lpszString);
    int InsertString(int nIndex, LPCWSTR lpszString);
    int DeleteString(int nIndex);
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    void GetLBText(int nIndex, CString& rString) const;
    CString GetLBText(int nIndex) const;
    int FindStringExact(int nStartAfter, LPCWSTR lpszString) const;
    // The first item that begins with the text, ignoring case: searched from after nStartAfter
    // to the end and on from the top, so that every item is looked at. CB_ERR when none.
    int FindString(int nStartAfter, LPCWSTR lpszString) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetCurSel() const { return m_nCurSel; }
    // Selects an item (-1: none); the edit part shows its text. No notification.
    int SetCurSel(int nSelect);

    // A drop-down list has no edit part: only the list chooses.
    void SetDropDownListStyle(BOOL bDropDownListStyle = TRUE);
    BOOL GetDropDownListStyle() const { return m_bDropDownList; }
    void SetDropDownWidth(int nWidth) { m_nDropDownWidth = nWidth; }

    CXTPControlComboBoxList* GetListBox() const { return m_pList; }
    BOOL GetDroppedState() const;
    // Opens or closes the list.
    virtual BOOL ShowDropDown(BOOL bShow = TRUE);
    // The user chose an item in the list.
    virtual void OnSelChanged(int nIndex);

    void OnEditChanged() override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnShowWindow(BOOL bShow) override;
    void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    CRect GetDropButtonRect() const;
    CRect GetEditRect() const override;

protected:
    CXTPControlEditCtrl* CreateEditCtrl() override { return new CXTPControlComboBoxEditCtrl(this); }
    void notify(UINT nCode);
    struct Item {
        CString text;
        DWORD_PTR data = 0;
    };
    std::vector<Item> m_items;
    int m_nCurSel = -1;
    BOOL m_bDropDownList = FALSE;
    int m_nDropDownWidth = 0;
    CXTPControlComboBoxList* m_pList = nullptr;
};

DV_EXPORTS_END
