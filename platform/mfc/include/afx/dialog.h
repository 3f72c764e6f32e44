// Dialogs: modal (DoModal runs its own message loop until EndDialog) and modeless (Create),
// built from dialog templates that each module declares in code, and dialog data exchange.
#pragma once

#include "afx/except.h"
#include "afx/wnd.h"
#include "pal/visibility.h"
#include "windows.h"

#include <iterator>

DV_EXPORTS_BEGIN

// Dialog templates are the Windows layer's, declared in code in dialog units.
using AFX_DLGITEM = pal::win::DialogItem;
using AFX_DLGTEMPLATE = pal::win::DialogTemplate;

// Registers a module's dialog templates while it is loaded: AFX_DIALOG_TEMPLATES(kDialogs);
#define AFX_DIALOG_TEMPLATES(templates)                                                                      \
    static const ::pal::win::DialogTemplateSet dvDialogTemplates_##templates((templates),                    \
                                                                             std::size(templates))

// Thrown by dialog data exchange after the user has been told what is wrong.
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
};
[[noreturn]] void AfxThrowUserException();

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    // The control's window; a missing control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Puts the focus on the last prepared control and ends the exchange.
    [[noreturn]] void Fail();

private:
    HWND lastControl_ = nullptr;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Attaches the control with the id to `control` the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
// The index of the checked radio button in the group that starts at nIDC; -1 when none is.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// A combo box's text: the selected item of a drop-down list, the edit's text otherwise. Loading
// selects the first item that starts with the value.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modeless: creates the dialog and returns; the dialog stays until it is destroyed.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Modal: disables the owner, runs the dialog's loop until EndDialog, destroys the dialog and
    // returns the result given to EndDialog; -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);
    int RunModalLoop(DWORD dwFlags = 0);
    void EndModalLoop(int nResult);
    virtual BOOL ContinueModal() { return continueModal_; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void OnClose();
    DECLARE_MESSAGE_MAP()

    // Makes the window from the template: a popup owned by hWndOwner, or (child) a control
    // parent inside it, as a property page is.
    BOOL createFromTemplate(HWND hWndOwner, bool visible, bool child = false);

private:
    friend class CPropertySheet;
    friend INT_PTR dialogProcOfClassLibrary(HWND, UINT, WPARAM, LPARAM);
    int m_nModalResult = -1;
    bool continueModal_ = false;
    bool inModalLoop_ = false;
};

DV_EXPORTS_END
