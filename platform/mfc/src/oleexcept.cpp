#include "afx/oleexcept.h"

#include "afx/app.h"

#include <cwchar>
#include <string>

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

namespace {

BOOL copyMessage(const std::wstring& text, LPWSTR lpszError, UINT nMaxError) {
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    const size_t n = text.size() < nMaxError - 1 ? text.size() : nMaxError - 1;
    std::wmemcpy(lpszError, text.data(), n);
    lpszError[n] = 0;
    return TRUE;
}

BSTR bstrOf(const CString& s) {
    return s.IsEmpty() ? nullptr : SysAllocStringLen(s.GetString(), static_cast<UINT>(s.GetLength()));
}

CString textOf(BSTR s) {
    return s ? CString(s, static_cast<int>(SysStringLen(s))) : CString();
}

} // namespace

SCODE COleException::Process(const CException* pAnyException) {
    if (const auto* ole = DYNAMIC_DOWNCAST(COleException, pAnyException))
        return ole->m_sc;
    if (const auto* dispatch = DYNAMIC_DOWNCAST(COleDispatchException, pAnyException))
        return dispatch->m_scError != S_OK ? dispatch->m_scError : DISP_E_EXCEPTION;
    if (pAnyException != nullptr && pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext)
        *pnHelpContext = 0;
    wchar_t text[64];
    std::swprintf(text, 64, L"Automation error 0x%08X", static_cast<unsigned>(m_sc));
    return copyMessage(text, lpszError, nMaxError);
}

BOOL COleDispatchException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext)
        *pnHelpContext = m_dwHelpContext;
    return copyMessage(std::wstring(m_strDescription.GetString()), lpszError, nMaxError);
}

void AfxThrowOleException(SCODE sc) {
    throw new COleException(sc);
}

void AfxThrowOleDispatchException(WORD wCode, LPCWSTR lpszDescription, UINT nHelpID) {
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

namespace pal::mfc {

void fillExcepInfo(const CException* e, EXCEPINFO* info) {
    if (info == nullptr)
        return;
    *info = EXCEPINFO{};
    if (const auto* dispatch = DYNAMIC_DOWNCAST(COleDispatchException, e)) {
        info->wCode = dispatch->m_wCode;
        info->scode = dispatch->m_wCode != 0 ? 0 : COleException::Process(e);
        info->dwHelpContext = dispatch->m_dwHelpContext;
        info->bstrDescription = bstrOf(dispatch->m_strDescription);
        info->bstrHelpFile = bstrOf(dispatch->m_strHelpFile);
        info->bstrSource =
            bstrOf(dispatch->m_strSource.IsEmpty() ? CString(AfxGetAppName()) : dispatch->m_strSource);
        return;
    }
    info->scode = COleException::Process(e);
    wchar_t text[256];
    if (e != nullptr && e->GetErrorMessage(text, 256))
        info->bstrDescription = SysAllocString(text);
    info->bstrSource = bstrOf(CString(AfxGetAppName()));
}

COleDispatchException* dispatchExceptionFrom(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn != nullptr) {
        info.pfnDeferredFillIn(&info);
        info.pfnDeferredFillIn = nullptr;
    }
    auto* e = new COleDispatchException(nullptr, info.dwHelpContext, info.wCode);
    e->m_scError = info.wCode != 0 ? S_OK : info.scode;
    e->m_strDescription = textOf(info.bstrDescription);
    e->m_strSource = textOf(info.bstrSource);
    e->m_strHelpFile = textOf(info.bstrHelpFile);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;
    return e;
}

} // namespace pal::mfc
