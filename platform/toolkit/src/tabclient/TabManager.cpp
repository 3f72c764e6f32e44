#include "xtp/TabManager.h"

#include <algorithm>

void CXTPTabManagerItem::SetCaption(LPCWSTR lpszCaption) {
    const CString caption = lpszCaption ? lpszCaption : L"";
    if (caption == m_strCaption)
        return;
    m_strCaption = caption;
    if (m_pTabManager)
        m_pTabManager->OnItemsChanged();
}

void CXTPTabManagerItem::SetVisible(BOOL bVisible) {
    if (!bVisible == !m_bVisible)
        return;
    m_bVisible = bVisible;
    if (!m_pTabManager)
        return;
    // A hidden tab cannot stay selected: its nearest visible neighbour takes over.
    if (!bVisible && m_pTabManager->GetSelectedItem() == this) {
        CXTPTabManagerItem* next = nullptr;
        for (int i = 1; i < m_pTabManager->GetItemCount() && !next; ++i) {
            for (int index : {m_nIndex + i, m_nIndex - i}) {
                CXTPTabManagerItem* candidate = m_pTabManager->GetItem(index);
                if (candidate && candidate->IsVisible()) {
                    next = candidate;
                    break;
                }
            }
        }
        m_pTabManager->SetSelectedItem(next);
    }
    m_pTabManager->OnItemsChanged();
}

BOOL CXTPTabManagerItem::IsSelected() const {
    return m_pTabManager && m_pTabManager->GetSelectedItem() == this;
}

void CXTPTabManagerItem::Select() {
    if (m_pTabManager)
        m_pTabManager->SetSelectedItem(this);
}

void CXTPTabManagerItem::Move(int nIndex) {
    if (m_pTabManager)
        m_pTabManager->MoveItem(this, nIndex);
}

void CXTPTabManagerItem::Remove() {
    if (m_pTabManager)
        m_pTabManager->DeleteItem(m_nIndex);
}

CXTPTabManager::CXTPTabManager() = default;
CXTPTabManager::~CXTPTabManager() = default;

CXTPTabManagerItem* CXTPTabManager::GetItem(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    return m_arrItems[static_cast<size_t>(nIndex)].get();
}

CXTPTabManagerItem* CXTPTabManager::FindItem(HWND hWnd) const {
    for (const auto& item : m_arrItems) {
        if (item->m_hWnd == hWnd)
            return item.get();
    }
    return nullptr;
}

void CXTPTabManager::Renumber() {
    for (size_t i = 0; i < m_arrItems.size(); ++i) {
        m_arrItems[i]->m_nIndex = static_cast<int>(i);
        m_arrItems[i]->m_pTabManager = this;
    }
}

CXTPTabManagerItem* CXTPTabManager::InsertItem(int nItem, LPCWSTR lpszCaption, HWND hWnd, HICON hIcon) {
    auto item = std::make_unique<CXTPTabManagerItem>();
    item->m_strCaption = lpszCaption ? lpszCaption : L"";
    item->m_hWnd = hWnd;
    item->m_hIcon = hIcon;
    return AttachItem(nItem, std::move(item));
}

CXTPTabManagerItem* CXTPTabManager::AttachItem(int nItem, std::unique_ptr<CXTPTabManagerItem> pItem) {
    nItem = std::clamp(nItem, 0, GetItemCount());
    CXTPTabManagerItem* item = pItem.get();
    m_arrItems.insert(m_arrItems.begin() + nItem, std::move(pItem));
    Renumber();
    OnItemsChanged();
    return item;
}

std::unique_ptr<CXTPTabManagerItem> CXTPTabManager::DetachItem(CXTPTabManagerItem* pItem) {
    auto it =
        std::find_if(m_arrItems.begin(), m_arrItems.end(), [&](const auto& p) { return p.get() == pItem; });
    if (it == m_arrItems.end())
        return nullptr;
    const int index = static_cast<int>(it - m_arrItems.begin());
    std::unique_ptr<CXTPTabManagerItem> taken = std::move(*it);
    m_arrItems.erase(it);
    if (m_pHighlighted == pItem)
        m_pHighlighted = nullptr;
    if (m_pSelected == pItem) {
        // The tab that slid into its place, else the one before it.
        m_pSelected = nullptr;
        CXTPTabManagerItem* next = nullptr;
        for (int i = index; i < GetItemCount() && !next; ++i)
            next = m_arrItems[static_cast<size_t>(i)]->m_bVisible ? m_arrItems[static_cast<size_t>(i)].get()
                                                                  : nullptr;
        for (int i = index - 1; i >= 0 && !next; --i)
            next = m_arrItems[static_cast<size_t>(i)]->m_bVisible ? m_arrItems[static_cast<size_t>(i)].get()
                                                                  : nullptr;
        Renumber();
        if (next)
            SetSelectedItem(next);
    }
    Renumber();
    taken->m_pTabManager = nullptr;
    taken->m_nIndex = -1;
    OnItemsChanged();
    return taken;
}

void CXTPTabManager::DeleteItem(int nItem) {
    if (CXTPTabManagerItem* item = GetItem(nItem))
        DetachItem(item);
}

void CXTPTabManager::DeleteAllItems() {
    m_pSelected = m_pHighlighted = nullptr;
    m_arrItems.clear();
    OnItemsChanged();
}

void CXTPTabManager::MoveItem(CXTPTabManagerItem* pItem, int nIndex) {
    if (!pItem || pItem->m_pTabManager != this)
        return;
    nIndex = std::clamp(nIndex, 0, GetItemCount() - 1);
    if (nIndex == pItem->m_nIndex)
        return;
    auto taken = std::move(m_arrItems[static_cast<size_t>(pItem->m_nIndex)]);
    m_arrItems.erase(m_arrItems.begin() + pItem->m_nIndex);
    m_arrItems.insert(m_arrItems.begin() + nIndex, std::move(taken));
    Renumber();
    OnItemsChanged();
}

int CXTPTabManager::GetCurSel() const {
    return m_pSelected ? m_pSelected->m_nIndex : -1;
}

void CXTPTabManager::SetCurSel(int nIndex) {
    SetSelectedItem(GetItem(nIndex));
}

void CXTPTabManager::SetSelectedItem(CXTPTabManagerItem* pItem) {
    if (pItem && pItem->m_pTabManager != this)
        return;
    if (m_pSelected == pItem)
        return;
    m_pSelected = pItem;
    Reposition();
    RedrawControl();
}

void CXTPTabManager::SetPosition(XTPTabPosition position) {
    if (m_position == position)
        return;
    m_position = position;
    OnItemsChanged();
}

void CXTPTabManager::SetControlRect(const CRect& rc) {
    m_rcControl = rc;
    Reposition();
}

BOOL CXTPTabManager::IsCloseButtonShown(const CXTPTabManagerItem* pItem) const {
    return m_bCloseOnAllTabs || (m_bCloseOnSelected && pItem == m_pSelected);
}

void CXTPTabManager::ShowCloseItemButton(BOOL bAll, BOOL bSelected) {
    m_bCloseOnAllTabs = bAll;
    m_bCloseOnSelected = bSelected;
    OnItemsChanged();
}

void CXTPTabManager::Reposition() {
    CXTPTabPaintManager* paint = GetPaintManager();
    CRect area = m_rcControl;
    area.DeflateRect(paint->m_rcControlMargin);
    const int header = std::min<int>(paint->GetHeaderHeight(), std::max(0, area.Height()));
    m_rcHeader = area;
    m_rcClient = area;
    if (m_position == xtpTabPositionBottom) {
        m_rcHeader.top = area.bottom - header;
        m_rcClient.bottom = m_rcHeader.top;
    } else {
        m_rcHeader.bottom = area.top + header;
        m_rcClient.top = m_rcHeader.bottom;
    }
    // Tabs one after the other from the left; a tab that does not fit is cut at the edge.
    CClientDC dc(CWnd::FromHandle(GetMeasureWindow()));
    int x = m_rcHeader.left + 2;
    for (const auto& item : m_arrItems) {
        if (!item->m_bVisible) {
            item->m_rcItem.SetRectEmpty();
            item->m_rcClose.SetRectEmpty();
            continue;
        }
        const int width = paint->GetItemWidth(&dc, this, item->m_nIndex);
        const int top = m_position == xtpTabPositionBottom ? m_rcHeader.top : m_rcHeader.top + 2;
        const int bottom = m_position == xtpTabPositionBottom ? m_rcHeader.bottom - 2 : m_rcHeader.bottom;
        item->m_rcItem.SetRect(x, top, std::min<int>(x + width, m_rcHeader.right), bottom);
        // The close button sits at the far end, its margin in from the edge, centred across.
        item->m_rcClose.SetRectEmpty();
        if (IsCloseButtonShown(item.get())) {
            const int size = paint->m_nCloseButtonSize;
            const int right = item->m_rcItem.right - 3;
            const int centre = (item->m_rcItem.top + item->m_rcItem.bottom) / 2;
            item->m_rcClose.SetRect(right - size, centre - size / 2, right, centre - size / 2 + size);
        }
        x += width + 1;
    }
}

CXTPTabManagerItem* CXTPTabManager::HitTest(CPoint point) const {
    if (!m_rcHeader.PtInRect(point))
        return nullptr;
    for (const auto& item : m_arrItems) {
        if (item->m_bVisible && item->m_rcItem.PtInRect(point))
            return item.get();
    }
    return nullptr;
}

BOOL CXTPTabManager::OnBeforeItemClick(CXTPTabManagerItem*) {
    return TRUE;
}

void CXTPTabManager::OnNavigateButtonClick(CXTPTabManagerItem*, UINT) {}

BOOL CXTPTabManager::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw,
                              CSize& szIcon) const {
    if (!pItem || !pItem->m_hIcon)
        return FALSE;
    if (bDraw)
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, pItem->m_hIcon, szIcon.cx, szIcon.cy, 0, nullptr,
                     DI_NORMAL);
    return TRUE;
}

void CXTPTabManager::OnItemsChanged() {
    Reposition();
    RedrawControl();
}

void CXTPTabManager::SetHighlightedItem(CXTPTabManagerItem* pItem) {
    if (m_pHighlighted == pItem)
        return;
    m_pHighlighted = pItem;
    RedrawControl();
}
