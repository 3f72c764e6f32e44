#include "afx/listctrl.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

void needListClasses() {
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
}

} // namespace

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    needListClasses();
    return CWnd::Create(WC_HEADERW, L"", dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    needListClasses();
    return CWnd::Create(WC_LISTVIEWW, L"", dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem) {
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
    LVITEMW item{};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
    LVITEMW item{};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control answers how much it copied; a full buffer may mean more text.
    CString text;
    for (int size = 256;; size *= 4) {
        const int got = GetItemText(nItem, nSubItem, text.GetBuffer(size), size);
        text.ReleaseBuffer(got);
        if (got < size - 1 || size > (1 << 20))
            return text;
    }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const {
    if (!lpszText || nLen <= 0)
        return 0;
    lpszText[0] = L'\0';
    LVITEMW item{};
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    return static_cast<int>(
        SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText) {
    LVITEMW item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMW item{};
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

// A position is the index of the selected item plus one, so that no selection is a null one.
CListCtrl::POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    const int first = GetNextItem(-1, LVNI_SELECTED);
    return reinterpret_cast<POSITION>(static_cast<INT_PTR>(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    const int index = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
    const int next = index >= 0 ? GetNextItem(index, LVNI_SELECTED) : -1;
    pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(next + 1));
    return index;
}

CEdit* CListCtrl::EditLabel(int nItem) {
    const auto edit = reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELW, static_cast<WPARAM>(nItem)));
    // The edit box is the control's: the program gets an object that only looks at it.
    return edit ? edit_.over(edit) : nullptr;
}

CEdit* CListCtrl::GetEditControl() const {
    const auto edit = reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL));
    return edit ? edit_.over(edit) : nullptr;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
    if (!lpRect)
        return FALSE;
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
    ref.left = nArea;
    ref.top = iSubItem;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem),
                                         reinterpret_cast<LPARAM>(static_cast<RECT*>(&ref))));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    LVHITTESTINFO info{};
    info.pt = pt;
    const int index = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return index;
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPWSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    const auto header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header ? header_.over(header) : nullptr;
}

CImageList* CListCtrl::GetImageList(int nImageList) const {
    return nImageList >= 0 && nImageList < 3 ? imageLists_[nImageList] : nullptr;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    if (nImageListType < 0 || nImageListType >= 3)
        return nullptr;
    SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr));
    CImageList* old = imageLists_[nImageListType];
    imageLists_[nImageListType] = pImageList;
    return old;
}
