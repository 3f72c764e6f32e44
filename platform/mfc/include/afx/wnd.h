// CWnd: a C++ object attached to a window of the substitute. Messages for an attached window
// go through WindowProc into the message map and, when no entry handles them, on to the
// window's default procedure.
#pragma once

#include "afx/geometry.h"
#include "afx/msgmap.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDC;
class CFrameWnd;
class CMenu;
class CRgn;
class CScrollBar;
struct CCreateContext;
struct TTTOOLINFOW;

// Messages of the class library itself.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
constexpr UINT WM_KICKIDLE = 0x036A;
constexpr UINT WM_COMMANDHELP = 0x0365;
constexpr UINT WM_SETMESSAGESTRING = 0x0362;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd); // attaches for the life of the object
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window: FromHandlePermanent only finds objects made by the
    // program; FromHandle also wraps other windows in a temporary object that lives until
    // the thread's next idle time.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches and routes the window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow() {}
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window is gone (WM_NCDESTROY); windows that delete themselves do it here.
    virtual void PostNcDestroy() {}
    // The tooltip tool under `point` (client coordinates): its id, with `pTI` filled (window,
    // id, rectangle, and a text from malloc that the asker frees, or none); -1 when no tool is
    // there. A window without tools of its own has none.
    virtual INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW* pTI) const;
    // The message being handled, passed on to the default procedure.
    LRESULT Default();

    // Offers pMsg to PreTranslateMessage of its window and each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Member forms of the window functions.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE) const;
    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void SetWindowText(LPCWSTR lpszString);
    int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    void SetDlgItemText(int nID, LPCWSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPRECT lpRect) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();
    void BringWindowToTop();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN prgnUpdate = nullptr, UINT flags = 0);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    // A DC on the client area (or the whole window) until ReleaseDC; a temporary object.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption = nullptr, UINT nType = MB_OK);
    // The window's menu bar and its window menu, as temporary objects.
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetSystemMenu(BOOL bRevert) const;
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Whether the window takes files dropped on it (WM_DROPFILES).
    void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }
    virtual void DoDataExchange(class CDataExchange* pDX) {}

    // Handlers of the message map: each runs the default procedure.
    int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnEnable(BOOL bEnable);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // From a window's own scroll bars pScrollBar is null.
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    LRESULT OnNcHitTest(CPoint point);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    void OnChildActivate();
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);
    void OnDropFiles(HDROP hDropInfo);

protected:
    WNDPROC m_pfnSuper = nullptr; // the procedure a subclassed window had before
    // Makes the window for CreateEx; windows made by another window (document windows made by
    // their client) override it.
    virtual HWND CreateHandle(CREATESTRUCTW& cs);

    DECLARE_MESSAGE_MAP()

    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

private:
    bool temporary_ = false; // made by FromHandle: never destroys the window it wraps
};

// The procedure of every window class the class library registers.
LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// A class with the given style and the class library's procedure; the name is made from the
// arguments, so equal arguments give the same class.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
// The message being handled on this thread.
MSG* AfxGetCurrentMessage();

namespace pal::mfc {

// Class names the library registers on first use.
extern const wchar_t* const kWndClass;
extern const wchar_t* const kFrameClass;
extern const wchar_t* const kDialogClass;
void registerLibraryClasses();
// Frees the temporary objects of FromHandle made on this thread.
void deleteTemporaryWindows();

} // namespace pal::mfc

DV_EXPORTS_END
