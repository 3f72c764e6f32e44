// CHtmlView: a view that shows HTML pages and tells its owner about each navigation.
//
// Pages come from local files inside the sandbox or the program folder, from about:blank, or
// from text (a URL of "about:" followed by the page's HTML). Nothing is fetched from a network:
// a navigation to an http, https or mailto URL that nobody cancels is handed to the shell
// (ShellExecuteW, which journals it and opens it with the person's own programs), and the
// view keeps its page.
//
// A navigation asks OnBeforeNavigate2 at once (it may cancel); the page is loaded when the
// thread next handles its messages, and then OnNavigateComplete2, OnTitleChange and
// OnDocumentComplete follow, in that order. A page that cannot be shown raises
// OnNavigateError; unless that cancels, an error page stands in for it. Stop drops a load that
// has not happened yet. A link that asks for a window of its own raises OnNewWindow2: cancelled,
// nothing happens; given another view's GetApplication(), that view navigates; otherwise this
// one does.
#pragma once

#include "afx/coll.h"
#include "afx/view.h"
#include "pal/visibility.h"
#include "windows.h"

#include <memory>
#include <optional>
#include <string>

namespace pal::html {
class Page;
}

DV_EXPORTS_BEGIN

// Navigation flags: a window of its own (OnNewWindow2 decides); the page takes the place of the
// one shown in the history instead of adding to it.
constexpr DWORD navOpenInNewWindow = 0x1;
constexpr DWORD navNoHistory = 0x2;

// What OnNavigateError reports.
constexpr HRESULT INET_E_INVALID_URL = static_cast<HRESULT>(0x800C0002);
constexpr HRESULT INET_E_RESOURCE_NOT_FOUND = static_cast<HRESULT>(0x800C0005);
constexpr HRESULT INET_E_OBJECT_NOT_FOUND = static_cast<HRESULT>(0x800C0006);
constexpr HRESULT INET_E_DOWNLOAD_FAILURE = static_cast<HRESULT>(0x800C0008);
constexpr HRESULT INET_E_UNKNOWN_PROTOCOL = static_cast<HRESULT>(0x800C000D);
constexpr HRESULT INET_E_SECURITY_PROBLEM = static_cast<HRESULT>(0x800C000E);

class CHtmlView : public CView {
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    // A view with both scroll bars (the vertical one always there, disabled when the page fits).
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // A URL, or a local path (taken as its file URL). Headers and posted data are handed to
    // OnBeforeNavigate2 and otherwise unused.
    void Navigate(LPCWSTR lpszURL, DWORD dwFlags = 0, LPCWSTR lpszTargetFrameName = nullptr,
                  LPCWSTR lpszHeaders = nullptr, LPVOID lpvPostData = nullptr, DWORD dwPostDataLen = 0);
    void Navigate2(LPCWSTR lpszURL, DWORD dwFlags = 0, LPCWSTR lpszTargetFrameName = nullptr,
                   LPCWSTR lpszHeaders = nullptr, LPVOID lpvPostData = nullptr, DWORD dwPostDataLen = 0);
    // Back and forward through the pages shown, each a navigation of its own; nothing at either end.
    void GoBack();
    void GoForward();
    // Reads the page shown again, keeping the scroll position; no navigation events.
    void Refresh();
    void Stop();
    BOOL GetBusy() const;
    // The URL of the page shown ("about:blank" before the first); its title, or the URL.
    CString GetLocationURL() const;
    CString GetLocationName() const;

    // Whether the view takes drops (through the target OnGetDropTarget hands back).
    void SetRegisterAsDropTarget(BOOL bNewValue);
    BOOL GetRegisterAsDropTarget() const;
    // The view as an automation object, for OnNewWindow2 of another view.
    LPDISPATCH GetApplication() const;

    // The selection: ID_EDIT_COPY puts the selected text on the clipboard, ID_EDIT_SELECT_ALL
    // selects the whole page (Ctrl+C, Ctrl+Insert and Ctrl+A do the same).
    CString GetSelectedText() const;

    virtual void OnBeforeNavigate2(LPCWSTR lpszURL, DWORD nFlags, LPCWSTR lpszTargetFrameName,
                                   CByteArray& baPostedData, LPCWSTR lpszHeaders, BOOL* pbCancel);
    virtual void OnNavigateComplete2(LPCWSTR strURL);
    virtual void OnDocumentComplete(LPCWSTR lpszURL);
    virtual void OnTitleChange(LPCWSTR lpszText);
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel);
    virtual void OnNavigateError(LPCWSTR lpszURL, LPCWSTR lpszFrame, DWORD dwError, BOOL* pbCancel);
    // The target the view registers for drops: pDropTarget (which takes nothing) unless this
    // answers S_OK with another in *ppDropTarget (AddRef'ed for the caller).
    virtual HRESULT OnGetDropTarget(LPDROPTARGET pDropTarget, LPDROPTARGET* ppDropTarget);

    void OnDraw(CDC* pDC) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnEditCopy();
    void OnEditSelectAll();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    LRESULT OnLoadPending(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct State;
    enum class Kind { New, Back, Forward, Refresh };
    void Travel(Kind kind);
    void Queue(const std::wstring& url, Kind kind, DWORD flags);
    struct Pending {
        std::wstring url;
        Kind kind = Kind::New;
        DWORD flags = 0;
        WPARAM serial = 0;
    };
    void ShowError(const std::wstring& url, HRESULT error, const Pending& pending);
    void Show(std::unique_ptr<pal::html::Page> page, const Pending& pending);
    void Remember(const std::wstring& url, Kind kind, DWORD flags);
    void ScrollToFragment();
    void ScrollTo(CPoint to);
    std::optional<LONG> scrolledTo(UINT code, int bar, LONG at, LONG page, LONG end) const;
    void Relayout();
    void UpdateBars();

    std::unique_ptr<State> state_;
};

DV_EXPORTS_END
