// Exceptions of automation: a failed call (COleException, its status code) and an error that
// an automation member reports to its caller (COleDispatchException, the EXCEPINFO of the
// call). Thrown as pointers like every exception of the class library.
#pragma once

#include "afx/except.h"
#include "afxstr.h"
#include "pal/visibility.h"
#include "win/com.h"

DV_EXPORTS_BEGIN

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
    SCODE m_sc;

    // The status code that stands for any exception: its own for these two kinds, E_OUTOFMEMORY
    // for a memory exception, E_UNEXPECTED otherwise.
    static SCODE Process(const CException* pAnyException);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCWSTR lpszDescription, UINT nHelpID, WORD wCode)
        : m_wCode(wCode), m_dwHelpContext(nHelpID),
          m_strDescription(lpszDescription ? lpszDescription : L"") {}

    WORD m_wCode = 0;
    SCODE m_scError = S_OK;
    DWORD m_dwHelpContext = 0;
    CString m_strHelpFile;
    CString m_strDescription;
    CString m_strSource;

    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCWSTR lpszDescription, UINT nHelpID = 0);

namespace pal::mfc {

// Fills the exception information of a call from an exception a member threw: the
// description and source of a dispatch exception, or the status code of any other.
void fillExcepInfo(const CException* e, EXCEPINFO* info);
// The exception that a call answered with DISP_E_EXCEPTION stands for; frees the strings of
// `info`.
COleDispatchException* dispatchExceptionFrom(EXCEPINFO& info);

} // namespace pal::mfc

DV_EXPORTS_END
