// The recent-file list with pinning: pinned entries stay at the top, in the order they were
// pinned, and no new entry pushes one out; the unpinned ones below run newest first.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <memory>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPRecentFileList;

class CXTPRecentFileListItem {
public:
    CXTPRecentFileListItem(CXTPRecentFileList* pList, LPCWSTR lpszPathName)
        : list_(pList), path_(lpszPathName) {}

    const CString& GetPathName() const { return path_; }
    BOOL IsPinned() const { return pinned_; }
    // Pinning moves the entry to the end of the pinned ones; unpinning to the top of the
    // others.
    void SetPinned(BOOL bPinned);
    // What a list shows for the entry instead of its name, when set.
    const CString& GetCaption() const { return caption_; }
    void SetCaption(LPCWSTR lpszCaption) { caption_ = lpszCaption != nullptr ? lpszCaption : L""; }
    int GetIconId() const { return iconId_; }
    void SetIconId(int nIconId) { iconId_ = nIconId; }
    CXTPRecentFileList* GetList() const { return list_; }

private:
    friend class CXTPRecentFileList;
    CXTPRecentFileList* list_;
    CString path_;
    BOOL pinned_ = FALSE;
    CString caption_;
    int iconId_ = 0;
};

class CXTPRecentFileList : public CRecentFileList {
public:
    CXTPRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                       int nMaxDispLen = 0);
    ~CXTPRecentFileList() override;

    // The path goes to the top of its group (pinned or not). A new path goes below the pinned
    // entries; when the list is full the oldest unpinned entry leaves, and when every entry is
    // pinned the path is not added.
    void Add(LPCWSTR lpszPathName) override;
    void Remove(int nIndex) override;
    void RemoveAll();
    // The names and, beside them, which are pinned ("Pinned%d" of the same number).
    void ReadList() override;
    void WriteList() override;

    CXTPRecentFileListItem* GetItem(int nIndex) const;
    CXTPRecentFileListItem* FindItem(LPCWSTR lpszPathName) const;
    int GetPinnedCount() const;

private:
    friend class CXTPRecentFileListItem;
    void arrange(); // pinned first, order kept; the names follow the items
    std::vector<std::unique_ptr<CXTPRecentFileListItem>> items_;
};

DV_EXPORTS_END
