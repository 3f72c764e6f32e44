// A module loaded by name for the functions it may export: the one already loaded when there is
// one, else loaded (and freed again with the handle).
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPModuleHandle {
public:
    CXTPModuleHandle() = default;
    explicit CXTPModuleHandle(LPCWSTR lpszModuleName) { Init(lpszModuleName); }
    ~CXTPModuleHandle() { FreeLibrary(); }
    CXTPModuleHandle(const CXTPModuleHandle&) = delete;
    CXTPModuleHandle& operator=(const CXTPModuleHandle&) = delete;

    // The loaded module of the name, else the module loaded now; false when there is none.
    BOOL Init(LPCWSTR lpszModuleName);
    BOOL LoadLibrary(LPCWSTR lpszModuleName);
    // Frees the module when this handle loaded it.
    BOOL FreeLibrary();
    HMODULE GetHandle() const { return module_; }
    operator HMODULE() const { return module_; }

    // The exported function of the name into *ppFnPtr (null when missing); false when missing.
    template <class T> BOOL GetProcAddress(T* ppFnPtr, LPCSTR lpszProcName) const {
        if (ppFnPtr == nullptr)
            return FALSE;
        *ppFnPtr = reinterpret_cast<T>(procAddress(lpszProcName));
        return *ppFnPtr != nullptr;
    }

private:
    FARPROC procAddress(LPCSTR lpszProcName) const;
    HMODULE module_ = nullptr;
    BOOL owned_ = FALSE;
};

DV_EXPORTS_END
