#include "xtp/ControlGallery.h"

#include "xtp/CommandBar.h"
#include "xtp/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPControlGalleryItem, CCmdTarget)
IMPLEMENT_DYNCREATE(CXTPControlGalleryItems, CCmdTarget)
IMPLEMENT_DYNCREATE(CXTPControlGallery, CXTPControl)

CSize CXTPControlGalleryItem::GetSize() {
    return m_pItems != nullptr ? m_pItems->GetItemSize() : CSize(CXTPDpi::ScaleX(80), CXTPDpi::ScaleY(24));
}

void CXTPControlGalleryItem::Draw(CDC* pDC, CXTPControlGallery*, CRect rcItem, BOOL bEnabled, BOOL bSelected,
                                  BOOL bPressed, BOOL bChecked) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    CRect face = rcItem;
    face.DeflateRect(1, 1);
    COLORREF ground = c.clrEditFace;
    if (m_bLabel)
        ground = c.clrPopupGutter;
    else if (bPressed)
        ground = c.clrPressedFace;
    else if (bSelected)
        ground = c.clrHotFace;
    else if (bChecked)
        ground = c.clrCheckedFace;
    pDC->FillSolidRect(&face, ground);
    if (bChecked && !m_bLabel)
        pDC->Draw3dRect(&face, c.clrCheckedBorder, c.clrCheckedBorder);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(bEnabled ? c.clrText : c.clrTextDisabled);
    CRect text = face;
    text.DeflateRect(CXTPDpi::ScaleX(4), 0);
    pDC->DrawText(m_strCaption, &text,
                  (m_bLabel ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS |
                      DT_NOPREFIX);
}

CXTPControlGalleryItems::CXTPControlGalleryItems() = default;

CXTPControlGalleryItems::~CXTPControlGalleryItems() {
    for (CXTPControlGalleryItem* item : m_arrItems)
        item->InternalRelease();
}

CXTPControlGalleryItem* CXTPControlGalleryItems::AddItem(int nId, LPCWSTR lpszCaption) {
    auto* item = new CXTPControlGalleryItem;
    item->SetCaption(lpszCaption);
    return AddItem(item, nId);
}

CXTPControlGalleryItem* CXTPControlGalleryItems::AddItem(CXTPControlGalleryItem* pItem, int nId) {
    return InsertItem(GetItemCount(), pItem, nId);
}

CXTPControlGalleryItem* CXTPControlGalleryItems::AddLabel(LPCWSTR lpszCaption) {
    CXTPControlGalleryItem* item = AddItem(-1, lpszCaption);
    item->m_bLabel = TRUE;
    return item;
}

CXTPControlGalleryItem* CXTPControlGalleryItems::InsertItem(int nIndex, CXTPControlGalleryItem* pItem,
                                                            int nId) {
    if (pItem == nullptr)
        return nullptr;
    if (nId != -1)
        pItem->m_nId = nId;
    pItem->m_pItems = this;
    nIndex = std::clamp(nIndex, 0, GetItemCount());
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    changed();
    return pItem;
}

void CXTPControlGalleryItems::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetItemCount())
        return;
    m_arrItems[static_cast<size_t>(nIndex)]->InternalRelease();
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    changed();
}

void CXTPControlGalleryItems::RemoveAll() {
    for (CXTPControlGalleryItem* item : m_arrItems)
        item->InternalRelease();
    m_arrItems.clear();
    changed();
}

CXTPControlGalleryItem* CXTPControlGalleryItems::GetItem(int nIndex) const {
    return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[static_cast<size_t>(nIndex)] : nullptr;
}

void CXTPControlGalleryItems::AddGallery(CXTPControlGallery* pGallery) {
    m_galleries.push_back(pGallery);
}

void CXTPControlGalleryItems::RemoveGallery(CXTPControlGallery* pGallery) {
    m_galleries.erase(std::remove(m_galleries.begin(), m_galleries.end(), pGallery), m_galleries.end());
}

void CXTPControlGalleryItems::changed() {
    for (size_t i = 0; i < m_arrItems.size(); ++i)
        m_arrItems[i]->m_nIndex = static_cast<int>(i);
    for (CXTPControlGallery* gallery : m_galleries)
        gallery->OnItemsChanged();
}

CXTPControlGallery::CXTPControlGallery() {
    m_controlType = xtpControlGallery;
}

CXTPControlGallery::~CXTPControlGallery() {
    SetItems(nullptr);
}

void CXTPControlGallery::SetItems(CXTPControlGalleryItems* pItems) {
    if (pItems == m_pItems)
        return;
    if (m_pItems != nullptr) {
        m_pItems->RemoveGallery(this);
        m_pItems->InternalRelease();
    }
    m_pItems = pItems;
    if (m_pItems != nullptr) {
        m_pItems->InternalAddRef();
        m_pItems->AddGallery(this);
    }
    OnItemsChanged();
}

int CXTPControlGallery::GetItemCount() const {
    return m_pItems != nullptr ? m_pItems->GetItemCount() : 0;
}

CXTPControlGalleryItem* CXTPControlGallery::GetItem(int nIndex) const {
    return m_pItems != nullptr ? m_pItems->GetItem(nIndex) : nullptr;
}

void CXTPControlGallery::SetSelectedItem(int nSelected) {
    m_nSelected = nSelected >= 0 && nSelected < GetItemCount() ? nSelected : -1;
    RedrawParent();
}

void CXTPControlGallery::SetCheckedItem(int nId) {
    m_nChecked = nId;
    RedrawParent();
}

void CXTPControlGallery::OnItemsChanged() {
    if (m_nSelected >= GetItemCount())
        m_nSelected = -1;
    m_nHot = -1;
    DelayLayoutParent();
}

CRect CXTPControlGallery::GetItemsRect() const {
    CRect rc = m_rcControl;
    rc.DeflateRect(2, 2);
    return rc;
}

void CXTPControlGallery::SetResizable(BOOL bResizeWidth, BOOL bResizeHeight) {
    m_bResizeWidth = bResizeWidth;
    m_bResizeHeight = bResizeHeight;
}

// Items flow left to right and wrap; a label takes a whole line.
CRect CXTPControlGallery::GetItemRect(int nIndex) const {
    const CRect area = GetItemsRect();
    int x = area.left;
    int y = area.top;
    int lineHeight = 0;
    for (int i = 0; i < GetItemCount(); ++i) {
        CXTPControlGalleryItem* item = GetItem(i);
        CSize size = item->GetSize();
        if (item->IsLabel())
            size.cx = area.Width();
        if (x > area.left && (x + size.cx > area.right || item->IsLabel())) {
            x = area.left;
            y += lineHeight;
            lineHeight = 0;
        }
        const CRect rc(x, y, x + size.cx, y + size.cy);
        if (i == nIndex)
            return rc;
        x += size.cx;
        lineHeight = std::max<int>(lineHeight, size.cy);
        if (item->IsLabel()) {
            x = area.left;
            y += lineHeight;
            lineHeight = 0;
        }
    }
    return CRect(0, 0, 0, 0);
}

int CXTPControlGallery::HitTestItem(CPoint point) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (!GetItem(i)->IsLabel() && GetItemRect(i).PtInRect(point))
            return i;
    }
    return -1;
}

CSize CXTPControlGallery::GetSize(CDC*) {
    if (m_szControl.cx > 0 && m_szControl.cy > 0)
        return m_szControl;
    const CSize item = m_pItems != nullptr ? m_pItems->GetItemSize() : CSize(80, 24);
    const int count = std::max(1, GetItemCount());
    const int columns = std::min(count, 4);
    const int rows = (count + columns - 1) / columns;
    int width = m_nWidth > 0 ? m_nWidth : columns * item.cx + 4;
    if (m_pParent != nullptr && m_pParent->IsPopupBar() && m_pParent->GetWidth() > 0)
        width = std::min(width, m_pParent->GetWidth());
    return CSize(width, rows * item.cy + 4);
}

void CXTPControlGallery::Draw(CDC* pDC) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    pDC->FillSolidRect(&m_rcControl, c.clrEditFace);
    pDC->Draw3dRect(&m_rcControl, c.clrEditBorder, c.clrEditBorder);
    for (int i = 0; i < GetItemCount(); ++i) {
        CXTPControlGalleryItem* item = GetItem(i);
        item->Draw(pDC, this, GetItemRect(i), m_bEnabled, i == m_nHot, FALSE,
                   item->GetID() == m_nChecked && m_nChecked != 0);
    }
}

void CXTPControlGallery::OnClick(BOOL bKeyboard, CPoint pt) {
    const int hit = bKeyboard ? m_nHot : HitTestItem(pt);
    if (hit < 0 || !m_bEnabled)
        return;
    m_nSelected = hit;
    RedrawParent();
    OnExecute();
}

void CXTPControlGallery::OnMouseMove(CPoint point) {
    const int hit = HitTestItem(point);
    if (hit != m_nHot) {
        m_nHot = hit;
        RedrawParent();
    }
}

BOOL CXTPControlGallery::OnHookKeyDown(UINT nChar, LPARAM) {
    const int count = GetItemCount();
    if (count == 0)
        return FALSE;
    if (nChar == VK_RIGHT || nChar == VK_LEFT) {
        int next = m_nHot;
        for (int step = 0; step < count; ++step) {
            next = (next + (nChar == VK_RIGHT ? 1 : count - 1)) % count;
            if (!GetItem(next)->IsLabel())
                break;
        }
        m_nHot = next;
        RedrawParent();
        return TRUE;
    }
    return FALSE;
}

BOOL CXTPControlGallery::OnSetSelected(int bSelected) {
    if (!bSelected)
        m_nHot = -1;
    return CXTPControl::OnSetSelected(bSelected);
}

void CXTPControlGallery::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControl::Copy(pControl, bRecursive);
    if (auto* other = dynamic_cast<CXTPControlGallery*>(pControl)) {
        SetItems(other->m_pItems);
        m_szControl = other->m_szControl;
        m_nChecked = other->m_nChecked;
    }
}
