// Exceptions of the class library. They are thrown as pointers and deleted by whoever catches
// them (catch (CException* e) { ...; e->Delete(); }).
#pragma once

#include "afx/object.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // Frees the exception; call it in place of delete.
    void Delete() { delete this; }
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
};

class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowResourceException();

DV_EXPORTS_END
