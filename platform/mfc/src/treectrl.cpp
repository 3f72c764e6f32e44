#include "afx/treectrl.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    return CWnd::Create(WC_TREEVIEWW, L"", dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                      hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCWSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTW in{};
    in.hParent = hParent;
    in.hInsertAfter = hInsertAfter;
    in.item.mask = nMask;
    in.item.pszText = const_cast<LPWSTR>(lpszItem);
    in.item.iImage = nImage;
    in.item.iSelectedImage = nSelectedImage;
    in.item.state = nState;
    in.item.stateMask = nStateMask;
    in.item.lParam = lParam;
    return InsertItem(&in);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    CString text;
    for (int size = 256;; size *= 4) {
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = hItem;
        item.pszText = text.GetBuffer(size);
        item.cchTextMax = size;
        item.pszText[0] = L'\0';
        const BOOL ok = GetItem(&item);
        text.ReleaseBuffer();
        if (!ok || text.GetLength() < size - 1 || size > (1 << 20))
            return ok ? text : CString();
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCWSTR lpszItem) {
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    if (!GetItem(&item))
        return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    TVITEMW item{};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = hItem;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
    if (!lpRect)
        return FALSE;
    // The item goes in where the rectangle comes out.
    std::memcpy(lpRect, &hItem, sizeof hItem);
    return static_cast<BOOL>(
        SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM item = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return item;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
    const auto edit = reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(hItem)));
    return edit ? edit_.over(edit) : nullptr;
}

CEdit* CTreeCtrl::GetEditControl() const {
    const auto edit = reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL));
    return edit ? edit_.over(edit) : nullptr;
}

CImageList* CTreeCtrl::GetImageList(int nImageList) const {
    return nImageList >= 0 && nImageList < 3 ? imageLists_[nImageList] : nullptr;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    if (nImageListType != TVSIL_NORMAL && nImageListType != TVSIL_STATE)
        return nullptr;
    SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr));
    CImageList* old = imageLists_[nImageListType];
    imageLists_[nImageListType] = pImageList;
    return old;
}
