#include "app/RecentFileList.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/DocumentManager.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<IRecentFileListView*>& views() {
    static std::vector<IRecentFileListView*> list;
    return list;
}

template <class Notice> void tellViews(Notice notice) {
    // A view may leave while it is told; each is told from a copy of the list.
    const std::vector<IRecentFileListView*> copy = views();
    for (IRecentFileListView* view : copy)
        notice(*view);
}

// The length of a bracketed name's "<...>" (both brackets counted, from the "<"); 0 when the
// name has none. Entries are compared with the name over that many leading characters.
int bracketedPrefixLength(const CString& path) {
    const int open = path.Find(L'<');
    if (open < 0)
        return 0;
    const int close = path.Find(L'>', open + 1);
    return close < 0 ? 0 : close - open + 1;
}

} // namespace

CDVRecentFileList::CDVRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                                     int nMaxDispLen)
    : CXTPRecentFileList(nStart, lpszSection, lpszEntryFormat, nSize, nMaxDispLen) {}

void CDVRecentFileList::AddView(IRecentFileListView* view) {
    if (view != nullptr && std::find(views().begin(), views().end(), view) == views().end())
        views().push_back(view);
}

void CDVRecentFileList::RemoveView(IRecentFileListView* view) {
    std::erase(views(), view);
}

void CDVRecentFileList::Add(LPCWSTR lpszPathName) {
    if (m_keep)
        return;
    const CString path(lpszPathName != nullptr ? lpszPathName : L"");
    const int size = GetSize();
    if (size <= 0)
        return;
    if (const int prefix = bracketedPrefixLength(path); prefix > 0) {
        addBracketed(path, prefix);
        return;
    }
    if (path.IsEmpty() || path.GetLength() >= kMaxPath)
        throw new CDVRecentFileBadPathException(path);
    // One file named two ways ("/d/./a.dvd", a relative name) is one entry.
    const CString full(Dravik::DocumentManager::FullPath(path.GetString()).c_str());
    if (full.GetLength() >= kMaxPath)
        throw new CDVRecentFileBadPathException(path);
    int index = size - 1;
    for (int i = 0; i < GetCount() && i < size - 1; ++i) {
        if (m_arrNames[static_cast<size_t>(i)].CompareNoCase(full) == 0) {
            index = i;
            break;
        }
    }
    if (index == size - 1) {
        while (index >= 0 && GetItem(index) != nullptr && GetItem(index)->IsPinned())
            --index;
        if (index < 0)
            return;
    }
    CXTPRecentFileList::Add(full);
    tellViews([&](IRecentFileListView& view) { view.OnRecentFileAdded(index); });
}

// An entry with the same bracketed prefix is replaced in its group (a pinned one stays pinned,
// so its pin moves with it); otherwise the name joins like a new file, never past a pin.
void CDVRecentFileList::addBracketed(const CString& path, int prefixLength) {
    const int size = GetSize();
    const CString prefix = path.Left(prefixLength);
    int index = -1;
    for (int i = 0; i < GetCount() && i < size - 1; ++i) {
        const CString& entry = m_arrNames[static_cast<size_t>(i)];
        if (entry.GetLength() >= prefixLength && entry.Left(prefixLength).CompareNoCase(prefix) == 0) {
            index = i;
            break;
        }
    }
    if (index >= 0) {
        const bool pinned = GetItem(index)->IsPinned() != FALSE;
        CXTPRecentFileList::Remove(index);
        CXTPRecentFileList::Add(path);
        if (pinned)
            FindItem(path)->SetPinned(TRUE);
    } else {
        index = size - 1;
        while (index >= 0 && GetItem(index) != nullptr && GetItem(index)->IsPinned())
            --index;
        if (index < 0)
            return;
        CXTPRecentFileList::Add(path);
    }
    tellViews([&](IRecentFileListView& view) { view.OnRecentFileAdded(index); });
}

void CDVRecentFileList::Add(LPCWSTR lpszPathName, LPCWSTR) {
    if (m_keep)
        return;
    try {
        Add(lpszPathName);
    } catch (CInvalidArgException* e) {
        DVLog_Write(DVLogWarning, "Caught CInvalidArgException during add to recent file list");
        e->Delete();
    } catch (CException* e) {
        DVLog_Write(DVLogWarning, "Caught an exception during add to recent file list");
        e->Delete();
    } catch (...) {
        DVLog_Write(DVLogWarning, "Caught an exception during add to recent file list");
    }
}

void CDVRecentFileList::Remove(int nIndex) {
    if (m_keep)
        return;
    const int before = GetCount();
    CXTPRecentFileList::Remove(nIndex);
    if (GetCount() < before)
        tellViews([&](IRecentFileListView& view) { view.OnRecentFileRemoved(nIndex); });
}

void CDVRecentFileList::OnPinStateChanged(int nIndex) {
    if (m_keep)
        return;
    if (nIndex >= 0) {
        tellViews([&](IRecentFileListView& view) { view.OnRecentFilePinStateChanged(nIndex); });
        return;
    }
    for (int i = 0; i < GetCount(); ++i)
        tellViews([&](IRecentFileListView& view) { view.OnRecentFilePinStateChanged(i); });
}

bool CDVRecentFileList::Contains(LPCWSTR lpszPathName) const {
    if (GetSize() == 0 || lpszPathName == nullptr || *lpszPathName == 0)
        return false;
    const CString path(lpszPathName);
    return std::any_of(m_arrNames.begin(), m_arrNames.end(), [&](const CString& entry) {
        return entry.GetLength() == path.GetLength() && entry.CompareNoCase(path) == 0;
    });
}
