#include "xtp/RecentFileList.h"

#include <algorithm>

namespace {

constexpr const wchar_t* kPinnedFormat = L"Pinned%d";

} // namespace

void CXTPRecentFileListItem::SetPinned(BOOL bPinned) {
    if (pinned_ == bPinned)
        return;
    // Taken out and put back at the edge between the two groups.
    auto& items = list_->items_;
    const auto it =
        std::find_if(items.begin(), items.end(), [this](const auto& p) { return p.get() == this; });
    if (it == items.end()) {
        pinned_ = bPinned;
        return;
    }
    std::unique_ptr<CXTPRecentFileListItem> self = std::move(*it);
    items.erase(it);
    pinned_ = bPinned;
    const int edge = list_->GetPinnedCount();
    items.insert(items.begin() + edge, std::move(self));
    list_->arrange();
}

CXTPRecentFileList::CXTPRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize,
                                       int nMaxDispLen)
    : CRecentFileList(nStart, lpszSection, lpszEntryFormat, nSize, nMaxDispLen) {}

CXTPRecentFileList::~CXTPRecentFileList() = default;

void CXTPRecentFileList::arrange() {
    std::stable_partition(items_.begin(), items_.end(),
                          [](const auto& item) { return item->pinned_ != FALSE; });
    m_arrNames.clear();
    for (const auto& item : items_)
        m_arrNames.push_back(item->path_);
}

int CXTPRecentFileList::GetPinnedCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const auto& item) { return item->pinned_ != FALSE; }));
}

void CXTPRecentFileList::Add(LPCWSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == 0 || m_nSize <= 0)
        return;
    const CString path(lpszPathName);
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& item) { return item->path_.CompareNoCase(path) == 0; });
    std::unique_ptr<CXTPRecentFileListItem> item;
    if (it != items_.end()) {
        item = std::move(*it);
        items_.erase(it);
        item->path_ = path;
    } else {
        if (static_cast<int>(items_.size()) >= m_nSize) {
            // The oldest unpinned entry makes room; with none, the path stays out.
            const auto last = std::find_if(items_.rbegin(), items_.rend(),
                                           [](const auto& entry) { return !entry->pinned_; });
            if (last == items_.rend())
                return;
            items_.erase(std::next(last).base());
        }
        item = std::make_unique<CXTPRecentFileListItem>(this, path);
    }
    const int at = item->pinned_ ? 0 : GetPinnedCount();
    items_.insert(items_.begin() + at, std::move(item));
    arrange();
}

void CXTPRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(items_.size()))
        return;
    items_.erase(items_.begin() + nIndex);
    arrange();
}

void CXTPRecentFileList::RemoveAll() {
    items_.clear();
    arrange();
}

CXTPRecentFileListItem* CXTPRecentFileList::GetItem(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(nIndex)].get()
                                                                   : nullptr;
}

CXTPRecentFileListItem* CXTPRecentFileList::FindItem(LPCWSTR lpszPathName) const {
    if (lpszPathName == nullptr)
        return nullptr;
    for (const auto& item : items_) {
        if (item->path_.CompareNoCase(lpszPathName) == 0)
            return item.get();
    }
    return nullptr;
}

void CXTPRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    items_.clear();
    for (int i = 0; i < m_nSize; ++i) {
        CString entry, pinned;
        entry.Format(m_strEntryFormat, i + 1);
        pinned.Format(kPinnedFormat, i + 1);
        const CString name = app->GetProfileStringW(m_strSectionName, entry, L"");
        // A name twice in a damaged profile counts once.
        if (name.IsEmpty() || FindItem(name) != nullptr)
            continue;
        auto item = std::make_unique<CXTPRecentFileListItem>(this, name);
        item->pinned_ = app->GetProfileInt(m_strSectionName, pinned, 0) != 0;
        items_.push_back(std::move(item));
    }
    arrange();
}

void CXTPRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    CRecentFileList::WriteList();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (!items_[static_cast<size_t>(i)]->pinned_)
            continue;
        CString pinned;
        pinned.Format(kPinnedFormat, i + 1);
        app->WriteProfileInt(m_strSectionName, pinned, 1);
    }
}
