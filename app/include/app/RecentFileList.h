// The application's recent-file list: the tool kit's list with pins, plus names in angle
// brackets (entries that are not files), a keep mark that holds the list still while a failed
// entry the person chose to keep is being "removed", and notices to the start-page views.
#pragma once

#include "xtp/RecentFileList.h"

#include "afx/except.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// Thrown (as a pointer, deleted by whoever catches it) for a path the list cannot take.
class CDVRecentFileBadPathException : public CException {
public:
    explicit CDVRecentFileBadPathException(CString path) : m_strFileName(std::move(path)) {}
    CString m_strFileName;
};

// What a start page is told about the list.
class IRecentFileListView {
public:
    virtual ~IRecentFileListView() = default;
    virtual void OnRecentFileAdded(int index) = 0;
    virtual void OnRecentFileRemoved(int index) = 0;
    virtual void OnRecentFilePinStateChanged(int index) = 0;
};

class CDVRecentFileList : public CXTPRecentFileList {
public:
    static constexpr int kMaxPath = 260;

    CDVRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                      int nMaxDispLen = 0);

    // A bracketed name replaces the entry with the same bracketed prefix (case aside); a file
    // path goes to the top. Pinned entries are never pushed out. Throws
    // CDVRecentFileBadPathException* for a path of kMaxPath characters or more.
    void Add(LPCWSTR lpszPathName) override;
    // The same, with every exception caught and logged.
    void Add(LPCWSTR lpszPathName, LPCWSTR lpszAppID);
    void Remove(int nIndex) override;
    // Tells the views about a pin change; a negative index means every entry.
    void OnPinStateChanged(int nIndex);
    bool Contains(LPCWSTR lpszPathName) const;

    bool GetKeepMark() const { return m_keep; }
    void SetKeepMark(bool keep) { m_keep = keep; }

    // The start-page views that hear of changes (every view of every start page).
    static void AddView(IRecentFileListView* view);
    static void RemoveView(IRecentFileListView* view);

private:
    void addBracketed(const CString& path, int prefixLength);
    bool m_keep = false;
};

DV_EXPORTS_END
