// The application's profile in the registry: HKEY_CURRENT_USER\Software\<key>\<profile>\<section>.
#include "afx/app.h"
#include "afx/recent.h"
#include "afxres.h"
#include "pal/registry.h"

#include <algorithm>

#include <cstring>
#include <vector>

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    replace(m_pszRegistryKey, lpszRegistryKey);
    // The profile is named after the application until someone names it otherwise.
    replace(m_pszProfileName, m_pszAppName ? m_pszAppName : L"");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    const CString path = CString(L"Software\\") + m_pszRegistryKey + L"\\" + m_pszProfileName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCWSTR lpszSection) {
    if (lpszSection == nullptr)
        return nullptr;
    HKEY app = GetAppRegistryKey();
    if (app == nullptr)
        return nullptr;
    HKEY section = nullptr;
    DWORD disposition = 0;
    const LSTATUS status = RegCreateKeyExW(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_WRITE | KEY_READ, nullptr, &section, &disposition);
    RegCloseKey(app);
    return status == ERROR_SUCCESS ? section : nullptr;
}

namespace {

// Closes a key on every path out of a function.
struct Key {
    HKEY h;
    ~Key() {
        if (h != nullptr)
            RegCloseKey(h);
    }
};

// The section's key for a read: a section never written is absent, and reading it makes none
// (each key made is a write the disk must sync).
HKEY sectionForReading(const CWinApp& app, LPCWSTR section) {
    if (section == nullptr || app.m_pszRegistryKey == nullptr || app.m_pszProfileName == nullptr)
        return nullptr;
    const CString path =
        CString(L"Software\\") + app.m_pszRegistryKey + L"\\" + app.m_pszProfileName + L"\\" + section;
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

// Whether the entry holds these bytes of this type already: writing them again would change
// nothing but cost a sync of the disk.
bool holds(const CWinApp& app, LPCWSTR section, LPCWSTR entry, DWORD type, const void* data, DWORD size) {
    Key key{sectionForReading(app, section)};
    if (key.h == nullptr)
        return false;
    std::vector<BYTE> present(size + 1);
    DWORD presentType = 0, presentSize = static_cast<DWORD>(present.size());
    return RegQueryValueExW(key.h, entry, nullptr, &presentType, present.data(), &presentSize) ==
               ERROR_SUCCESS &&
           presentType == type && presentSize == size &&
           (size == 0 || std::memcmp(present.data(), data, size) == 0);
}

} // namespace

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
    Key section{sectionForReading(*this, lpszSection)};
    if (section.h == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(section.h, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return static_cast<UINT>(nDefault);
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    const DWORD value = static_cast<DWORD>(nValue);
    if (holds(*this, lpszSection, lpszEntry, REG_DWORD, &value, sizeof value))
        return TRUE;
    pal::reg::Batch batch; // the keys made on the way and the value: one change
    Key section{GetSectionKey(lpszSection)};
    if (section.h == nullptr)
        return FALSE;
    const bool written = RegSetValueExW(section.h, lpszEntry, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    return batch.commit() && written;
}

CString CWinApp::GetProfileStringW(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    const CString fallback(lpszDefault);
    Key section{sectionForReading(*this, lpszSection)};
    if (section.h == nullptr)
        return fallback;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(section.h, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(section.h, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()),
                         &bytes) != ERROR_SUCCESS)
        return fallback;
    text.back() = L'\0';
    return CString(text.data());
}

BOOL CWinApp::WriteProfileStringW(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    if (lpszSection == nullptr)
        return FALSE;
    const DWORD bytes =
        lpszValue != nullptr ? static_cast<DWORD>((std::wcslen(lpszValue) + 1) * sizeof(wchar_t)) : 0;
    if (lpszEntry != nullptr && lpszValue != nullptr &&
        holds(*this, lpszSection, lpszEntry, REG_SZ, lpszValue, bytes))
        return TRUE;
    pal::reg::Batch batch; // the keys made on the way and the value: one change
    if (lpszEntry == nullptr) {
        Key app{GetAppRegistryKey()};
        if (app.h == nullptr)
            return FALSE;
        const LSTATUS status = RegDeleteTreeW(app.h, lpszSection);
        return batch.commit() && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
    }
    Key section{GetSectionKey(lpszSection)};
    if (section.h == nullptr)
        return FALSE;
    if (lpszValue == nullptr) {
        const LSTATUS status = RegDeleteValueW(section.h, lpszEntry);
        return batch.commit() && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
    }
    const bool written = RegSetValueExW(section.h, lpszEntry, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(lpszValue), bytes) == ERROR_SUCCESS;
    return batch.commit() && written;
}

BOOL CWinApp::GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    if (ppData == nullptr || pBytes == nullptr)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    Key section{sectionForReading(*this, lpszSection)};
    if (section.h == nullptr)
        return FALSE;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(section.h, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return FALSE;
    auto* data = new BYTE[size ? size : 1];
    if (RegQueryValueExW(section.h, lpszEntry, nullptr, &type, data, &size) != ERROR_SUCCESS) {
        delete[] data;
        return FALSE;
    }
    *ppData = data;
    *pBytes = size;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    if (pData == nullptr && nBytes != 0)
        return FALSE;
    if (holds(*this, lpszSection, lpszEntry, REG_BINARY, pData, nBytes))
        return TRUE;
    pal::reg::Batch batch; // the keys made on the way and the value: one change
    Key section{GetSectionKey(lpszSection)};
    if (section.h == nullptr)
        return FALSE;
    const bool written = RegSetValueExW(section.h, lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
    return batch.commit() && written;
}

// The recent-file list is the application's own; here only the print-preview page count.
void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU != 0) {
        delete m_pRecentFileList;
        m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d",
                                                static_cast<int>(std::min(nMaxMRU, 16u)));
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}
