// Dialogs: modal (DoModal runs its own message loop until EndDialog) and modeless (Create),
// built from dialog templates that each module declares in code, and dialog data exchange.
#pragma once

#include "afx/except.h"
#include "afx/wnd.h"
#include "pal/visibility.h"

#include <iterator>

DV_EXPORTS_BEGIN

// A control of a dialog template. Rectangles are in pixels of the dialog's client area.
struct AFX_DLGITEM {
    LPCWSTR lpszClass; // "Button", "Edit", "Static" or any registered class
    LPCWSTR lpszText;
    UINT nID;
    DWORD dwStyle; // WS_CHILD and WS_VISIBLE are added
    RECT rect;
};

struct AFX_DLGTEMPLATE {
    UINT nID;
    LPCWSTR lpszCaption;
    DWORD dwStyle;
    RECT rect;
    const AFX_DLGITEM* pItems;
    size_t nItems;
};

namespace pal::mfc {

class DialogTemplates {
public:
    DialogTemplates(const AFX_DLGTEMPLATE* templates, size_t count);
    ~DialogTemplates();
    DialogTemplates(const DialogTemplates&) = delete;
    DialogTemplates& operator=(const DialogTemplates&) = delete;

private:
    const AFX_DLGTEMPLATE* templates_;
};

const AFX_DLGTEMPLATE* findDialogTemplate(UINT id);

} // namespace pal::mfc

// Registers a module's dialog templates while it is loaded: AFX_DIALOG_TEMPLATES(kDialogs);
#define AFX_DIALOG_TEMPLATES(templates)                                                                      \
    static const ::pal::mfc::DialogTemplates dvDialogTemplates_##templates((templates), std::size(templates))

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

private:
    BOOL createFromTemplate(HWND hWndOwner, bool visible);
    int m_nModalResult = -1;
    bool continueModal_ = false;
    bool inModalLoop_ = false;
};

DV_EXPORTS_END
