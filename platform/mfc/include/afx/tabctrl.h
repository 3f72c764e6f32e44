// The class library's tab control and tooltips: CTabCtrl and CToolTipCtrl send the controls'
// messages.
#pragma once

#include "afx/imagelist.h"
#include "afx/wnd.h"
#include "pal/visibility.h"
#include "windows.h"

DV_EXPORTS_BEGIN

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    LONG InsertItem(int nItem, TCITEMW* pTabCtrlItem) {
        return static_cast<LONG>(
            SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    LONG InsertItem(int nItem, LPCWSTR lpszItem);
    LONG InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
    BOOL GetItem(int nItem, TCITEMW* pTabCtrlItem) const {
        return static_cast<BOOL>(
            SendMessage(TCM_GETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    BOOL SetItem(int nItem, TCITEMW* pTabCtrlItem) {
        return static_cast<BOOL>(
            SendMessage(TCM_SETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    BOOL DeleteItem(int nItem) {
        return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem)));
    }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int nItem) {
        return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem)));
    }
    int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const {
        return static_cast<BOOL>(
            SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
    }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const {
        return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
    }
    void AdjustRect(BOOL bLarger, LPRECT lpRect) {
        SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), reinterpret_cast<LPARAM>(lpRect));
    }
    int GetRowCount() const { return static_cast<int>(SendMessage(TCM_GETROWCOUNT)); }
    CImageList* GetImageList() const { return imageList_; }
    CImageList* SetImageList(CImageList* pImageList);

private:
    CImageList* imageList_ = nullptr;
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A top-level tip window owned by the parent.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void Pop() { SendMessage(TTM_POP); }
    void Popup() { SendMessage(TTM_POPUP); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(TTTOOLINFOW& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTTTOOLINFOW lpToolInfo) {
        SendMessage(TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(lpToolInfo));
    }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    int GetDelayTime(DWORD dwDuration) const {
        return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
    }
    void SetDelayTime(DWORD dwDuration, int iTime) {
        SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
    }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    COLORREF GetTipBkColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR)); }
    COLORREF GetTipTextColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)); }
    void Update() { SendMessage(TTM_UPDATE); }

private:
    TTTOOLINFOW toolInfo(CWnd* pWnd, UINT_PTR nIDTool) const;
};

DV_EXPORTS_END
