#include "afx/tabctrl.h"

#include <iterator>

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES};
    InitCommonControlsEx(&init);
    return CWnd::Create(WC_TABCONTROLW, L"", dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(nItem, &item);
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
    SendMessage(TCM_SETIMAGELIST, 0,
                reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr));
    CImageList* old = imageList_;
    imageList_ = pImageList;
    return old;
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

// A tool without an id is the window itself; with one, a rectangle of its parent.
TTTOOLINFOW CToolTipCtrl::toolInfo(CWnd* pWnd, UINT_PTR nIDTool) const {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    const HWND window = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (nIDTool == 0) {
        ti.hwnd = window ? ::GetParent(window) : nullptr;
        if (!ti.hwnd)
            ti.hwnd = window;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(window);
    } else {
        ti.hwnd = window;
        ti.uId = nIDTool;
    }
    return ti;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (!pWnd || (nIDTool != 0 && !lpRectTool))
        return FALSE;
    TTTOOLINFOW ti = toolInfo(pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TTTOOLINFOW ti = toolInfo(pWnd, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TTTOOLINFOW ti = toolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    TTTOOLINFOW ti = toolInfo(pWnd, nIDTool);
    wchar_t buffer[1024] = {};
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&ti));
    str = buffer;
}

BOOL CToolTipCtrl::GetToolInfo(TTTOOLINFOW& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    ToolInfo = toolInfo(pWnd, nIDTool);
    return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ToolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    if (!lpRect)
        return;
    TTTOOLINFOW ti = toolInfo(pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}
