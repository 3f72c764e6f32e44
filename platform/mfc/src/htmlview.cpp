// Navigation runs in two steps so that an owner sees a navigation begin before anything
// changes, and can stop it: OnBeforeNavigate2 at once, the load when the view's next message
// arrives. A page is loaded into a new engine page and only shown when it loaded, so a failed
// navigation leaves the page on screen as it was.
#include "afx/htmlview.h"

#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/wndmsg.h"
#include "afxres.h"
#include "pal/clipboard_text.h"
#include "pal/html.h"
#include "pal/text.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

IMPLEMENT_DYNCREATE(CHtmlView, CView)

namespace {

constexpr int kLine = 20;        // pixels a line of scrolling moves
constexpr int kWheelLines = 3;   // lines a notch of the wheel moves
constexpr size_t kHistory = 100; // pages kept for going back
constexpr int kDragDistance = 3; // pixels the mouse moves before a press becomes a selection

const UINT kLoadMessage = RegisterWindowMessageW(L"DravikHtmlViewLoad");

bool startsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && pal::text::equalsNoCase(s.substr(0, prefix.size()), prefix);
}

// Pages of the person's own programs: never fetched here.
bool isExternal(std::wstring_view url) {
    return startsWithNoCase(url, L"http:") || startsWithNoCase(url, L"https:") ||
           startsWithNoCase(url, L"mailto:");
}

bool isBlank(std::wstring_view url) {
    return pal::text::equalsNoCase(url.substr(0, url.find(L'#')), L"about:blank");
}

// "about:" followed by anything but "blank" is a page given as its HTML text.
bool isText(std::wstring_view url) {
    return startsWithNoCase(url, L"about:") && !isBlank(url);
}

std::wstring withoutFragment(std::wstring_view url) {
    return std::wstring(url.substr(0, url.find(L'#')));
}

std::string escaped(std::wstring_view text) {
    std::string out;
    for (const char c : pal::text::toUtf8(text)) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string errorPage(std::wstring_view url, HRESULT error) {
    const char* why = "The page could not be read.";
    switch (error) {
    case INET_E_SECURITY_PROBLEM:
        why = "Only pages in the program folder or in the program's own data can be shown.";
        break;
    case INET_E_OBJECT_NOT_FOUND:
        why = "There is no such page.";
        break;
    case INET_E_DOWNLOAD_FAILURE:
        why = "The page is too large or too deeply nested to be shown.";
        break;
    case INET_E_UNKNOWN_PROTOCOL:
        why = "Pages of this kind cannot be shown here.";
        break;
    case INET_E_RESOURCE_NOT_FOUND:
        why = "No program could open the page.";
        break;
    default:
        break;
    }
    return "<html><head><title>The page cannot be shown</title></head>"
           "<body style='font-family:sans-serif;margin:24px'><h2 style='color:#7a1c1c'>The page cannot be "
           "shown</h2><p>" +
           std::string(why) + "</p><p style='color:#555555'>" + escaped(url) + "</p></body></html>";
}

HRESULT errorOf(pal::html::Load load) {
    switch (load) {
    case pal::html::Load::Outside:
        return INET_E_SECURITY_PROBLEM;
    case pal::html::Load::NotFound:
        return INET_E_OBJECT_NOT_FOUND;
    case pal::html::Load::TooLarge:
    case pal::html::Load::TooComplex:
        return INET_E_DOWNLOAD_FAILURE;
    case pal::html::Load::Ok:
        break;
    }
    return S_OK;
}

} // namespace

struct CHtmlView::State {
    // The view as an automation object: only its identity is used (OnNewWindow2).
    struct Application final : IDispatch {
        CHtmlView* view = nullptr;
        HRESULT QueryInterface(REFIID iid, void** object) override {
            if (!object)
                return E_POINTER;
            *object = iid == IID_IUnknown || iid == IID_IDispatch ? this : nullptr;
            return *object ? S_OK : E_NOINTERFACE;
        }
        // The view owns it.
        ULONG AddRef() override { return 1; }
        ULONG Release() override { return 1; }
        HRESULT GetTypeInfoCount(UINT* count) override {
            if (count)
                *count = 0;
            return count ? S_OK : E_POINTER;
        }
        HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
        HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
        HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
            return E_NOTIMPL;
        }
    };

    // The view's own drop target: pages take nothing dropped on them.
    struct RefusingDropTarget final : IDropTarget {
        HRESULT QueryInterface(REFIID iid, void** object) override {
            if (!object)
                return E_POINTER;
            *object = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
            return *object ? S_OK : E_NOINTERFACE;
        }
        ULONG AddRef() override { return 1; }
        ULONG Release() override { return 1; }
        static HRESULT none(DWORD* effect) {
            if (!effect)
                return E_INVALIDARG;
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return none(effect); }
        HRESULT DragOver(DWORD, POINTL, DWORD* effect) override { return none(effect); }
        HRESULT DragLeave() override { return S_OK; }
        HRESULT Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { return none(effect); }
    };

    std::unique_ptr<pal::html::Page> page = std::make_unique<pal::html::Page>();
    std::wstring location = L"about:blank";
    std::vector<std::wstring> history;
    size_t at = 0; // the entry shown, when there is one
    std::optional<Pending> pending;
    WPARAM serial = 0;
    CPoint scroll;
    bool settingBars = false;

    bool pressed = false, dragging = false;
    CPoint pressedAt; // page coordinates
    std::wstring pressedLink;

    Application application;
    RefusingDropTarget refusing;
    LPDROPTARGET dropTarget = nullptr; // registered with the window
    bool takesDrops = true;

    // Cleared when the view goes, so that code after an event handler that destroyed the view
    // can tell.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

BEGIN_MESSAGE_MAP(CHtmlView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_SETCURSOR()
ON_COMMAND(ID_EDIT_COPY, &CHtmlView::OnEditCopy)
ON_COMMAND(ID_EDIT_SELECT_ALL, &CHtmlView::OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CHtmlView::OnUpdateEditCopy)
ON_REGISTERED_MESSAGE(kLoadMessage, &CHtmlView::OnLoadPending)
END_MESSAGE_MAP()

CHtmlView::CHtmlView() : state_(std::make_unique<State>()) {
    state_->application.view = this;
}

CHtmlView::~CHtmlView() {
    *state_->alive = false;
}

BOOL CHtmlView::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CView::Create(lpszClassName, lpszWindowName, dwStyle | WS_VSCROLL, rect, pParentWnd, nID,
                         pContext);
}

int CHtmlView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    SetRegisterAsDropTarget(state_->takesDrops);
    // A navigation asked for before the window existed loads now.
    if (state_->pending)
        PostMessage(kLoadMessage, state_->pending->serial);
    return 0;
}

void CHtmlView::OnDestroy() {
    state_->pending.reset();
    if (state_->dropTarget) {
        ::RevokeDragDrop(m_hWnd);
        state_->dropTarget->Release();
        state_->dropTarget = nullptr;
    }
    CView::OnDestroy();
}

// Navigation ----------------------------------------------------------------------------------

void CHtmlView::Navigate(LPCWSTR lpszURL, DWORD dwFlags, LPCWSTR lpszTargetFrameName, LPCWSTR lpszHeaders,
                         LPVOID lpvPostData, DWORD dwPostDataLen) {
    Navigate2(lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData, dwPostDataLen);
}

void CHtmlView::Navigate2(LPCWSTR lpszURL, DWORD dwFlags, LPCWSTR lpszTargetFrameName, LPCWSTR lpszHeaders,
                          LPVOID lpvPostData, DWORD dwPostDataLen) {
    if (lpszURL == nullptr || *lpszURL == 0)
        return;
    const std::wstring url = isText(lpszURL) ? std::wstring(lpszURL) : pal::html::toUrl(lpszURL);
    const std::wstring target = lpszTargetFrameName ? lpszTargetFrameName : L"";
    if ((dwFlags & navOpenInNewWindow) || target == L"_blank") {
        // A window of its own: the owner refuses it, sends it to another view, or lets it come here.
        LPDISPATCH other = nullptr;
        BOOL cancel = FALSE;
        const auto alive = state_->alive;
        OnNewWindow2(&other, &cancel);
        if (!*alive)
            return;
        auto* application = dynamic_cast<State::Application*>(other);
        if (other)
            other->Release();
        if (cancel)
            return;
        if (application && application->view != this) {
            application->view->Navigate2(url.c_str(), dwFlags & ~navOpenInNewWindow, nullptr, lpszHeaders,
                                         lpvPostData, dwPostDataLen);
            return;
        }
        dwFlags &= ~navOpenInNewWindow;
    }
    CByteArray posted;
    if (lpvPostData != nullptr) {
        posted.SetSize(dwPostDataLen);
        std::copy_n(static_cast<const BYTE*>(lpvPostData), dwPostDataLen, posted.GetData());
    }
    BOOL cancel = FALSE;
    const auto alive = state_->alive;
    OnBeforeNavigate2(url.c_str(), dwFlags, target.c_str(), posted, lpszHeaders ? lpszHeaders : L"", &cancel);
    if (!*alive || cancel)
        return;
    Queue(url, Kind::New, dwFlags);
}

void CHtmlView::Queue(const std::wstring& url, Kind kind, DWORD flags) {
    const WPARAM serial = ++state_->serial;
    state_->pending = Pending{url, kind, flags, serial};
    if (m_hWnd != nullptr)
        PostMessage(kLoadMessage, serial);
}

void CHtmlView::GoBack() {
    if (!state_->history.empty() && state_->at > 0)
        Travel(Kind::Back);
}

void CHtmlView::GoForward() {
    if (state_->at + 1 < state_->history.size())
        Travel(Kind::Forward);
}

// A step through the history is a navigation the owner may cancel like any other.
void CHtmlView::Travel(Kind kind) {
    const std::wstring url = state_->history[kind == Kind::Back ? state_->at - 1 : state_->at + 1];
    CByteArray posted;
    BOOL cancel = FALSE;
    const auto alive = state_->alive;
    OnBeforeNavigate2(url.c_str(), 0, L"", posted, L"", &cancel);
    if (*alive && !cancel)
        Queue(url, kind, 0);
}

void CHtmlView::Refresh() {
    if (state_->history.empty())
        return;
    Queue(state_->location, Kind::Refresh, 0);
}

void CHtmlView::Stop() {
    state_->pending.reset();
}

BOOL CHtmlView::GetBusy() const {
    return state_->pending.has_value();
}

CString CHtmlView::GetLocationURL() const {
    return CString(state_->location.c_str());
}

CString CHtmlView::GetLocationName() const {
    const std::wstring& title = state_->page->title();
    return CString(title.empty() ? state_->location.c_str() : title.c_str());
}

LPDISPATCH CHtmlView::GetApplication() const {
    return &state_->application;
}

LRESULT CHtmlView::OnLoadPending(WPARAM wParam, LPARAM) {
    State& s = *state_;
    if (!s.pending || s.pending->serial != wParam)
        return 0; // stopped, or overtaken by a later navigation
    const Pending p = *s.pending;
    s.pending.reset();
    const std::wstring& url = p.url;

    // Only a new navigation reaches the shell: going back to the page that stood in for an
    // outside page that could not be opened must not open it.
    if (p.kind == Kind::New && isExternal(url)) {
        CWnd* top = GetTopLevelParent();
        const HINSTANCE opened = ::ShellExecuteW(top ? top->m_hWnd : m_hWnd, L"open", url.c_str(), nullptr,
                                                 nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(opened) <= 32)
            ShowError(url, INET_E_RESOURCE_NOT_FOUND, p);
        return 0;
    }

    // Within the page shown: only the place on the page moves.
    const size_t hash = url.find(L'#');
    if (p.kind != Kind::Refresh && !isText(url) && hash != std::wstring::npos &&
        withoutFragment(url) == withoutFragment(s.location) && !isBlank(url)) {
        s.location = url;
        Remember(url, p.kind, p.flags);
        ScrollToFragment();
        OnNavigateComplete2(url.c_str());
        return 0;
    }

    auto page = std::make_unique<pal::html::Page>();
    pal::html::Load load = pal::html::Load::Ok;
    if (isText(url))
        load = page->loadHtml(pal::text::toUtf8(std::wstring_view(url).substr(6)), L"about:blank");
    else if (pal::html::isLocalUrl(url))
        load = page->navigate(url);
    else {
        ShowError(url, INET_E_UNKNOWN_PROTOCOL, p);
        return 0;
    }
    if (load != pal::html::Load::Ok) {
        ShowError(url, errorOf(load), p);
        return 0;
    }
    Show(std::move(page), p);
    return 0;
}

void CHtmlView::ShowError(const std::wstring& url, HRESULT error, const Pending& pending) {
    BOOL cancel = FALSE;
    const auto alive = state_->alive;
    OnNavigateError(url.c_str(), L"", static_cast<DWORD>(error), &cancel);
    if (!*alive || cancel)
        return;
    auto page = std::make_unique<pal::html::Page>();
    page->loadHtml(errorPage(url, error), L"about:blank");
    Show(std::move(page), pending);
}

void CHtmlView::Show(std::unique_ptr<pal::html::Page> page, const Pending& pending) {
    State& s = *state_;
    const std::wstring& url = pending.url;
    const bool refresh = pending.kind == Kind::Refresh;
    const CPoint keep = s.scroll;
    s.page = std::move(page);
    s.location = url;
    s.pressed = s.dragging = false;
    Remember(url, pending.kind, pending.flags);
    s.scroll = CPoint(0, 0);
    Relayout();
    if (refresh)
        ScrollTo(keep);
    else
        ScrollToFragment();
    Invalidate(FALSE);
    if (refresh)
        return;
    const auto alive = s.alive;
    OnNavigateComplete2(url.c_str());
    if (!*alive)
        return;
    const std::wstring title = s.page->title().empty() ? url : s.page->title();
    OnTitleChange(title.c_str());
    if (!*alive)
        return;
    OnDocumentComplete(url.c_str());
}

void CHtmlView::Remember(const std::wstring& url, Kind kind, DWORD flags) {
    State& s = *state_;
    switch (kind) {
    case Kind::Refresh:
        return;
    case Kind::Back:
        s.at = std::min(s.at > 0 ? s.at - 1 : 0, s.history.size() - 1);
        s.history[s.at] = url;
        return;
    case Kind::Forward:
        s.at = std::min(s.at + 1, s.history.size() - 1);
        s.history[s.at] = url;
        return;
    case Kind::New:
        if (!s.history.empty() && (flags & navNoHistory)) {
            s.history[s.at] = url;
            return;
        }
        if (!s.history.empty())
            s.history.resize(s.at + 1);
        s.history.push_back(url);
        if (s.history.size() > kHistory)
            s.history.erase(s.history.begin());
        s.at = s.history.size() - 1;
        return;
    }
}

void CHtmlView::ScrollToFragment() {
    const size_t hash = state_->location.find(L'#');
    int top = 0;
    if (hash != std::wstring::npos && !isText(state_->location))
        top = std::max(0, state_->page->anchorTop(std::wstring_view(state_->location).substr(hash + 1)));
    ScrollTo(CPoint(0, top));
}

// Drawing and scrolling ------------------------------------------------------------------------

void CHtmlView::Relayout() {
    CRect client;
    GetClientRect(&client);
    state_->page->layout(client.Width(), client.Height());
    UpdateBars();
}

// Showing or hiding the horizontal bar changes the client area, which lays the page out again
// (OnSize) and so may change what the bars must show: a second pass settles it.
void CHtmlView::UpdateBars() {
    State& s = *state_;
    if (s.settingBars)
        return;
    s.settingBars = true;
    for (int pass = 0; pass < 2; ++pass) {
        CRect client;
        GetClientRect(&client);
        const SIZE extent = s.page->extent();
        s.scroll.x = std::clamp(s.scroll.x, LONG{0}, std::max(LONG{0}, extent.cx - client.Width()));
        s.scroll.y = std::clamp(s.scroll.y, LONG{0}, std::max(LONG{0}, extent.cy - client.Height()));
        SCROLLINFO vertical{sizeof vertical,
                            SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                            0,
                            std::max(0, static_cast<int>(extent.cy) - 1),
                            static_cast<UINT>(client.Height()),
                            static_cast<int>(s.scroll.y),
                            0};
        ::SetScrollInfo(m_hWnd, SB_VERT, &vertical, TRUE);
        SCROLLINFO horizontal{sizeof horizontal,
                              SIF_RANGE | SIF_PAGE | SIF_POS,
                              0,
                              std::max(0, static_cast<int>(extent.cx) - 1),
                              static_cast<UINT>(client.Width()),
                              static_cast<int>(s.scroll.x),
                              0};
        ::SetScrollInfo(m_hWnd, SB_HORZ, &horizontal, TRUE);
        CRect after;
        GetClientRect(&after);
        if (after == client)
            break;
        s.page->layout(after.Width(), after.Height());
    }
    s.settingBars = false;
}

void CHtmlView::ScrollTo(CPoint to) {
    State& s = *state_;
    CRect client;
    GetClientRect(&client);
    const SIZE extent = s.page->extent();
    to.x = std::clamp(to.x, LONG{0}, std::max(LONG{0}, extent.cx - client.Width()));
    to.y = std::clamp(to.y, LONG{0}, std::max(LONG{0}, extent.cy - client.Height()));
    if (to == s.scroll)
        return;
    s.scroll = to;
    ::SetScrollPos(m_hWnd, SB_HORZ, to.x, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, to.y, TRUE);
    Invalidate(FALSE);
}

void CHtmlView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    if (state_->settingBars)
        state_->page->layout(cx, cy);
    else
        Relayout();
    Invalidate(FALSE);
}

BOOL CHtmlView::OnEraseBkgnd(CDC*) {
    return TRUE; // the page paints every pixel
}

// Drawn off screen first, so that a person never sees the page's background before its text.
void CHtmlView::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    HDC target = pDC->GetSafeHdc();
    HDC memory = ::CreateCompatibleDC(target);
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, client.Width(), client.Height());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    state_->page->draw(memory, RECT{0, 0, client.Width(), client.Height()}, state_->scroll);
    ::BitBlt(target, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

// Where one scroll-bar code takes a position along one axis; the codes of the two bars share
// their numbers (line, page, ends, thumb). Nothing for a code that does not move.
std::optional<LONG> CHtmlView::scrolledTo(UINT code, int bar, LONG at, LONG page, LONG end) const {
    SCROLLINFO track{sizeof track, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    switch (code) {
    case SB_LINEUP:
        return at - kLine;
    case SB_LINEDOWN:
        return at + kLine;
    case SB_PAGEUP:
        return at - page;
    case SB_PAGEDOWN:
        return at + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return end;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if (::GetScrollInfo(m_hWnd, bar, &track))
            return track.nTrackPos;
        return at;
    default:
        return std::nullopt;
    }
}

void CHtmlView::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
    CRect client;
    GetClientRect(&client);
    CPoint to = state_->scroll;
    const auto y = scrolledTo(nSBCode, SB_VERT, to.y, std::max(kLine, client.Height() - kLine),
                              state_->page->extent().cy);
    if (!y)
        return;
    to.y = *y;
    ScrollTo(to);
}

void CHtmlView::OnHScroll(UINT nSBCode, UINT, CScrollBar*) {
    CRect client;
    GetClientRect(&client);
    CPoint to = state_->scroll;
    const auto x = scrolledTo(nSBCode, SB_HORZ, to.x, std::max(kLine, client.Width() - kLine),
                              state_->page->extent().cx);
    if (!x)
        return;
    to.x = *x;
    ScrollTo(to);
}

BOOL CHtmlView::OnMouseWheel(UINT, short zDelta, CPoint) {
    ScrollTo(state_->scroll + CPoint(0, -zDelta * kWheelLines * kLine / WHEEL_DELTA));
    return TRUE;
}

// Input --------------------------------------------------------------------------------------

void CHtmlView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (control && (nChar == 'C' || nChar == VK_INSERT)) {
        OnEditCopy();
        return;
    }
    if (control && nChar == 'A') {
        OnEditSelectAll();
        return;
    }
    CRect client;
    GetClientRect(&client);
    const LONG page = std::max(kLine, client.Height() - kLine);
    const CPoint at = state_->scroll;
    switch (nChar) {
    case VK_UP:
        ScrollTo(at + CPoint(0, -kLine));
        return;
    case VK_DOWN:
        ScrollTo(at + CPoint(0, kLine));
        return;
    case VK_LEFT:
        ScrollTo(at + CPoint(-kLine, 0));
        return;
    case VK_RIGHT:
        ScrollTo(at + CPoint(kLine, 0));
        return;
    case VK_PRIOR:
        ScrollTo(at + CPoint(0, -page));
        return;
    case VK_NEXT:
        ScrollTo(at + CPoint(0, page));
        return;
    case VK_SPACE:
        ScrollTo(at + CPoint(0, shift ? -page : page));
        return;
    case VK_HOME:
        ScrollTo(CPoint(at.x, 0));
        return;
    case VK_END:
        ScrollTo(CPoint(at.x, state_->page->extent().cy));
        return;
    default:
        CView::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

// A press starts a selection, which a drag extends; a click (press and release on the same
// link, without a drag) follows the link.
void CHtmlView::OnLButtonDown(UINT, CPoint point) {
    State& s = *state_;
    SetFocus();
    ::SetCapture(m_hWnd);
    s.pressed = true;
    s.dragging = false;
    s.pressedAt = point + s.scroll;
    s.pressedLink = s.page->linkAt(s.pressedAt.x, s.pressedAt.y);
    if (!s.page->selectedText().empty()) {
        s.page->clearSelection();
        Invalidate(FALSE);
    }
}

void CHtmlView::OnMouseMove(UINT, CPoint point) {
    State& s = *state_;
    if (!s.pressed)
        return;
    const CPoint at = point + s.scroll;
    if (!s.dragging && std::abs(at.x - s.pressedAt.x) <= kDragDistance &&
        std::abs(at.y - s.pressedAt.y) <= kDragDistance)
        return;
    s.dragging = true;
    // Past the top or bottom edge, the page follows the mouse.
    CRect client;
    GetClientRect(&client);
    if (point.y < 0)
        ScrollTo(s.scroll + CPoint(0, -kLine));
    else if (point.y >= client.bottom)
        ScrollTo(s.scroll + CPoint(0, kLine));
    s.page->select(s.pressedAt, point + s.scroll);
    Invalidate(FALSE);
}

void CHtmlView::OnLButtonUp(UINT, CPoint point) {
    State& s = *state_;
    if (!s.pressed)
        return;
    s.pressed = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (s.dragging) {
        s.dragging = false;
        return;
    }
    const CPoint at = point + s.scroll;
    const std::wstring link = s.page->linkAt(at.x, at.y);
    if (link.empty() || link != s.pressedLink || startsWithNoCase(link, L"javascript:"))
        return;
    const std::wstring target = s.page->linkTargetAt(at.x, at.y);
    const bool ownWindow = ::GetKeyState(VK_SHIFT) < 0 || (!target.empty() && target != L"_self" &&
                                                           target != L"_top" && target != L"_parent");
    Navigate2(link.c_str(), ownWindow ? navOpenInNewWindow : 0);
}

BOOL CHtmlView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest != HTCLIENT)
        return CView::OnSetCursor(pWnd, nHitTest, message);
    POINT p{};
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    ::SetCursor(
        ::LoadCursorW(nullptr, state_->page->cursorAt(p.x + state_->scroll.x, p.y + state_->scroll.y)));
    return TRUE;
}

// The selection ----------------------------------------------------------------------------

CString CHtmlView::GetSelectedText() const {
    return CString(state_->page->selectedText().c_str());
}

void CHtmlView::OnEditCopy() {
    const std::wstring text = state_->page->selectedText();
    if (!text.empty())
        pal::ctl::putClipboardText(m_hWnd, text);
}

void CHtmlView::OnEditSelectAll() {
    state_->page->selectAll();
    Invalidate(FALSE);
}

void CHtmlView::OnUpdateEditCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!state_->page->selectedText().empty());
}

// Drops --------------------------------------------------------------------------------------

void CHtmlView::SetRegisterAsDropTarget(BOOL bNewValue) {
    State& s = *state_;
    s.takesDrops = bNewValue != FALSE;
    if (m_hWnd == nullptr)
        return;
    if (s.dropTarget) {
        ::RevokeDragDrop(m_hWnd);
        s.dropTarget->Release();
        s.dropTarget = nullptr;
    }
    if (!s.takesDrops)
        return;
    LPDROPTARGET replacement = nullptr;
    s.dropTarget =
        OnGetDropTarget(&s.refusing, &replacement) == S_OK && replacement ? replacement : &s.refusing;
    if (FAILED(::RegisterDragDrop(m_hWnd, s.dropTarget))) {
        s.dropTarget->Release();
        s.dropTarget = nullptr;
    }
}

BOOL CHtmlView::GetRegisterAsDropTarget() const {
    return state_->takesDrops;
}

// Events: nothing of their own.

void CHtmlView::OnBeforeNavigate2(LPCWSTR, DWORD, LPCWSTR, CByteArray&, LPCWSTR, BOOL*) {}
void CHtmlView::OnNavigateComplete2(LPCWSTR) {}
void CHtmlView::OnDocumentComplete(LPCWSTR) {}
void CHtmlView::OnTitleChange(LPCWSTR) {}
void CHtmlView::OnNewWindow2(LPDISPATCH*, BOOL*) {}
void CHtmlView::OnNavigateError(LPCWSTR, LPCWSTR, DWORD, BOOL*) {}
HRESULT CHtmlView::OnGetDropTarget(LPDROPTARGET, LPDROPTARGET*) {
    return E_NOTIMPL;
}
