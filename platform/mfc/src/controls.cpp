// The control wrappers: creation under the control's class name, and the members that read
// text or several values back.
#include "afx/controls.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CMonthCalCtrl, CWnd)
IMPLEMENT_DYNAMIC(CLinkCtrl, CWnd)

namespace {

// The common controls are registered on first use, as the class library does.
void needCommon(DWORD classes) {
    const INITCOMMONCONTROLSEX init{sizeof init, classes};
    InitCommonControlsEx(&init);
}

// A list's item text, asked for its length first; `rString` is left alone for a missing item
// (both lists answer -1, LB_ERR and CB_ERR alike).
void itemText(HWND list, UINT lengthMessage, UINT textMessage, int index, CString& rString) {
    const auto length = static_cast<int>(SendMessageW(list, lengthMessage, static_cast<WPARAM>(index), 0));
    if (length < 0)
        return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    rString = text.c_str();
}

} // namespace

BOOL CButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_BUTTONW, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

HICON CButton::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}

HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

BOOL CStatic::Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_STATICW, lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_EDITW, L"", dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD from = 0, to = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    nStartChar = static_cast<int>(from);
    nEndChar = static_cast<int>(to);
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_LISTBOXW, L"", dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const {
    itemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_COMBOBOXW, L"", dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    itemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_SCROLLBARW, L"", dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) const {
    if (!lpScrollInfo)
        return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    needCommon(ICC_PROGRESS_CLASS);
    return CWnd::Create(PROGRESS_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    PBRANGE range{};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}

BOOL CMonthCalCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    needCommon(ICC_DATE_CLASSES);
    return CWnd::Create(MONTHCAL_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

BOOL CMonthCalCtrl::SetRange(const SYSTEMTIME* pMinRange, const SYSTEMTIME* pMaxRange) {
    SYSTEMTIME range[2] = {};
    WPARAM flags = 0;
    if (pMinRange) {
        range[0] = *pMinRange;
        flags |= GDTR_MIN;
    }
    if (pMaxRange) {
        range[1] = *pMaxRange;
        flags |= GDTR_MAX;
    }
    return static_cast<BOOL>(SendMessage(MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)));
}

DWORD CMonthCalCtrl::GetRange(SYSTEMTIME* pMinRange, SYSTEMTIME* pMaxRange) const {
    SYSTEMTIME range[2] = {};
    const auto flags = static_cast<DWORD>(SendMessage(MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    if (pMinRange)
        *pMinRange = range[0];
    if (pMaxRange)
        *pMaxRange = range[1];
    return flags;
}

int CMonthCalCtrl::SetFirstDayOfWeek(int iDay, int* lpnOld) {
    const LRESULT old = SendMessage(MCM_SETFIRSTDAYOFWEEK, 0, iDay);
    if (lpnOld)
        *lpnOld = LOWORD(old);
    return HIWORD(old);
}

BOOL CLinkCtrl::Create(LPCWSTR lpszLinkMarkup, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    needCommon(ICC_LINK_CLASS);
    return CWnd::Create(WC_LINK, lpszLinkMarkup, dwStyle, rect, pParentWnd, nID);
}

BOOL CLinkCtrl::GetItemUrl(int iLink, CString& strUrl) const {
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_URL;
    item.iLink = iLink;
    if (!GetItem(&item))
        return FALSE;
    strUrl = item.szUrl;
    return TRUE;
}

BOOL CLinkCtrl::GetItemID(int iLink, CString& strID) const {
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_ITEMID;
    item.iLink = iLink;
    if (!GetItem(&item))
        return FALSE;
    strID = item.szID;
    return TRUE;
}
