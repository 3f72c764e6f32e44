#include "afx/object.h"
#include "afx/except.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace pal::mfc {

void assertionFailed(const char* expression, const char* file, int line) {
    std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", expression, file, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace pal::mfc

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->GetBaseClass()) {
        if (c == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CObject::GetThisClass() {
    static CRuntimeClass runtimeClass{"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
    return &runtimeClass;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

namespace {

BOOL copyMessage(const wchar_t* text, LPWSTR out, UINT size, UINT* helpContext) {
    if (helpContext)
        *helpContext = 0;
    if (out == nullptr || size == 0)
        return FALSE;
    std::swprintf(out, size, L"%ls", text);
    return TRUE;
}

} // namespace

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = 0;
    return FALSE;
}
BOOL CMemoryException::GetErrorMessage(LPWSTR out, UINT n, UINT* help) const {
    return copyMessage(L"Out of memory.", out, n, help);
}
BOOL CInvalidArgException::GetErrorMessage(LPWSTR out, UINT n, UINT* help) const {
    return copyMessage(L"Invalid argument.", out, n, help);
}
BOOL CResourceException::GetErrorMessage(LPWSTR out, UINT n, UINT* help) const {
    return copyMessage(L"A required resource was unavailable.", out, n, help);
}

void AfxThrowMemoryException() {
    throw new CMemoryException;
}
void AfxThrowInvalidArgException() {
    throw new CInvalidArgException;
}
void AfxThrowResourceException() {
    throw new CResourceException;
}
