#include "xtp/ModuleHandle.h"

#include "win/system.h"

BOOL CXTPModuleHandle::Init(LPCWSTR lpszModuleName) {
    FreeLibrary();
    if (lpszModuleName == nullptr)
        return FALSE;
    module_ = ::GetModuleHandleW(lpszModuleName);
    if (module_ != nullptr)
        return TRUE;
    return LoadLibrary(lpszModuleName);
}

BOOL CXTPModuleHandle::LoadLibrary(LPCWSTR lpszModuleName) {
    FreeLibrary();
    if (lpszModuleName == nullptr)
        return FALSE;
    module_ = ::LoadLibraryW(lpszModuleName);
    owned_ = module_ != nullptr;
    return owned_;
}

BOOL CXTPModuleHandle::FreeLibrary() {
    const BOOL freed = owned_ && module_ != nullptr ? ::FreeLibrary(module_) : FALSE;
    module_ = nullptr;
    owned_ = FALSE;
    return freed;
}

FARPROC CXTPModuleHandle::procAddress(LPCSTR lpszProcName) const {
    return module_ != nullptr && lpszProcName != nullptr ? ::GetProcAddress(module_, lpszProcName) : nullptr;
}
