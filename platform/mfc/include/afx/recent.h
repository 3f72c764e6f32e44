// The list of recently used files: newest first, each file once (compared without case), no
// longer than its size, kept in the application's profile.
#pragma once

#include "afxstr.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CCmdUI;

class CRecentFileList {
public:
    // Entries are written as lpszEntryFormat with the 1-based number ("File%d") in section
    // lpszSection; menu items get the ids nStart, nStart + 1, ...
    CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = 0);
    virtual ~CRecentFileList() = default;

    virtual void Add(LPCWSTR lpszPathName);
    virtual void Remove(int nIndex);
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_arrNames.size()); }
    const CString& operator[](int nIndex) const;
    // The name shown in a menu: the file name alone, or the path shortened to nMaxDispLen.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCWSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Enables the first entry's command when the list has files and disables it otherwise.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

protected:
    int m_nSize;
    std::vector<CString> m_arrNames;
    CString m_strOriginal; // the menu item's own text, shown while the list is empty
    bool m_originalKnown = false;
};

DV_EXPORTS_END
