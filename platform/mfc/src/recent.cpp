#include "afx/recent.h"
#include "afx/app.h"
#include "afx/cmdtarget.h"
#include "afx/menu.h"
#include "pal/registry.h"

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

// In a menu the first entry's item becomes the list: "&1 name", "&2 name", ... in its place;
// with no files it keeps its own text, disabled. Elsewhere the command is enabled while the
// list has files.
void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    if (pCmdUI == nullptr)
        return;
    CMenu* menu = pCmdUI->m_pMenu;
    if (menu == nullptr) {
        pCmdUI->Enable(GetCount() > 0);
        return;
    }
    if (!m_originalKnown) {
        menu->GetMenuString(m_nStart, m_strOriginal, MF_BYCOMMAND);
        m_originalKnown = true;
    }
    for (int i = 1; i < m_nSize; ++i)
        menu->DeleteMenu(m_nStart + static_cast<UINT>(i), MF_BYCOMMAND);
    if (GetCount() == 0) {
        ::ModifyMenuW(menu->m_hMenu, pCmdUI->m_nIndex, MF_BYPOSITION | MF_STRING, m_nStart, m_strOriginal);
        pCmdUI->Enable(FALSE);
    } else {
        for (int i = 0; i < GetCount(); ++i) {
            CString name, text;
            GetDisplayName(name, i, nullptr, 0);
            text.Format(L"&%d %s", i + 1, static_cast<LPCWSTR>(name));
            const UINT position = pCmdUI->m_nIndex + static_cast<UINT>(i);
            if (i == 0)
                ::ModifyMenuW(menu->m_hMenu, position, MF_BYPOSITION | MF_STRING, m_nStart, text);
            else
                ::InsertMenuW(menu->m_hMenu, position, MF_BYPOSITION | MF_STRING,
                              m_nStart + static_cast<UINT>(i), text);
        }
        pCmdUI->Enable(TRUE);
        // The caller's walk over the menu goes on after the list.
        pCmdUI->m_nIndex += static_cast<UINT>(GetCount() - 1);
    }
    pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
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
    pal::reg::Batch batch; // the list replaced whole
    app->WriteProfileStringW(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetCount(); ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        app->WriteProfileStringW(m_strSectionName, entry, m_arrNames[static_cast<size_t>(i)]);
    }
}
