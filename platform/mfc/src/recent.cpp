#include "afx/recent.h"
#include "afx/app.h"
#include "afx/cmdtarget.h"

#include <algorithm>

namespace {

const CString empty;

} // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nMaxDisplayLength(nMaxDispLen), m_nSize(std::max(nSize, 0)) {}

void CRecentFileList::Add(LPCWSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == 0 || m_nSize == 0)
        return;
    const CString path(lpszPathName);
    m_arrNames.erase(std::remove_if(m_arrNames.begin(), m_arrNames.end(),
                                    [&](const CString& name) { return name.CompareNoCase(path) == 0; }),
                     m_arrNames.end());
    m_arrNames.insert(m_arrNames.begin(), path);
    if (static_cast<int>(m_arrNames.size()) > m_nSize)
        m_arrNames.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < GetCount())
        m_arrNames.erase(m_arrNames.begin() + nIndex);
}

const CString& CRecentFileList::operator[](int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrNames[static_cast<size_t>(nIndex)] : empty;
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCWSTR, int, BOOL) const {
    strName.Empty();
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    const CString& path = m_arrNames[static_cast<size_t>(nIndex)];
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    strName = path.Mid(slash + 1);
    if (m_nMaxDisplayLength > 0 && path.GetLength() <= m_nMaxDisplayLength)
        strName = path;
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    if (pCmdUI != nullptr)
        pCmdUI->Enable(GetCount() > 0);
}

void CRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    m_arrNames.clear();
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        const CString name = app->GetProfileStringW(m_strSectionName, entry, L"");
        if (!name.IsEmpty())
            m_arrNames.push_back(name);
    }
}

// The section is written afresh, so entries that left the list leave the profile.
void CRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    app->WriteProfileStringW(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetCount(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        app->WriteProfileStringW(m_strSectionName, entry, m_arrNames[static_cast<size_t>(i)]);
    }
}
