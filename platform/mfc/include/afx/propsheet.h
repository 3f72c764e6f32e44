// Property sheets: pages (child dialogs made when first shown) with OK, Cancel and Apply. The
// sheet tells its pages what happens through PSN_* notifications, which CPropertyPage turns into
// its virtual members: leaving a page asks it first (OnKillActive), Apply and OK ask every page
// that was made (OnApply), Cancel asks the active page (OnQueryCancel) and resets them all.
#pragma once

#include "afx/dialog.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // TRUE when the page may become active.
    virtual BOOL OnSetActive();
    // TRUE when the page may be left: its data are taken from its controls.
    virtual BOOL OnKillActive();
    // TRUE when the changes are applied; the default runs OnOK.
    virtual BOOL OnApply();
    void OnOK() override;
    void OnCancel() override;
    // Cancel of the sheet; the default runs OnCancel.
    virtual void OnReset();
    // TRUE when the sheet may be cancelled.
    virtual BOOL OnQueryCancel();
    // Marks the page changed (or not): the sheet's Apply button follows.
    void SetModified(BOOL bChanged = TRUE);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CPropertySheet* m_pSheet = nullptr;
    bool m_bModified = false;
    CString m_strCaption;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCWSTR pszCaption = L"", CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const { return GetPage(active_); }
    int GetActiveIndex() const { return active_; }
    int GetPageIndex(CPropertyPage* pPage) const;
    // FALSE when the active page refuses to be left, or the new one to become active. Every
    // change of page comes here (the keyboard's too), so a sheet can follow them.
    virtual BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    // Modeless: the sheet stays until it is destroyed.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    // Modal: IDOK or IDCANCEL; -1 when the sheet cannot be made.
    INT_PTR DoModal();
    // PSBTN_OK, PSBTN_CANCEL or PSBTN_APPLYNOW, as a click on the button.
    void PressButton(int nButton);
    void EndDialog(int nEndID);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Once the sheet's window and buttons exist, before its first page is made.
    virtual BOOL OnInitDialog() { return TRUE; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    int m_nResult = -1;

protected:
    // Adds a page at an index (past the end: at the end), for sheets that order their pages.
    void insertPage(CPropertyPage* pPage, int nIndex);

private:
    friend INT_PTR sheetProcOfClassLibrary(HWND, UINT, WPARAM, LPARAM);
    // Sends PSN_* to a page; its answer.
    LRESULT tell(CPropertyPage* page, UINT code, LPARAM lParam = 0);
    BOOL makePage(int index);
    // Apply for Apply Now (closing FALSE) and for OK (closing TRUE); FALSE when a page refused.
    bool apply(bool closing);
    void cancel();
    void updateApply();

    std::vector<CPropertyPage*> pages_;
    int active_ = -1;
    UINT startPage_ = 0;
    bool ended_ = false;
};

DV_EXPORTS_END
