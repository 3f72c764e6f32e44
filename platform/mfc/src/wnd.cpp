#include "afx/wnd.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/menu.h"
#include "afx/wndmsg.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

// Objects made by the program, for every thread: a window is looked up from any thread when
// a message is sent across threads.
struct PermanentMap {
    std::mutex mutex;
    std::unordered_map<HWND, CWnd*> map;
};
PermanentMap& permanent() {
    static PermanentMap* m = new PermanentMap;
    return *m;
}

thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> temporaries;
// The object whose window is being created on this thread: the first message of a window
// without an object attaches it.
thread_local CWnd* creating = nullptr;
thread_local MSG currentMessage{};

HMENU menuFromId(UINT id) {
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
}

} // namespace

namespace pal::mfc {

const wchar_t* const kWndClass = L"AfxWnd";
const wchar_t* const kFrameClass = L"AfxFrameOrView";
const wchar_t* const kDialogClass = L"#32770";

// Checked on every use rather than once: a class that was unregistered (the user layer reset
// between runs of an application object) is registered again.
void registerLibraryClasses() {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    struct Kind {
        const wchar_t* name;
        UINT style;
    };
    for (const Kind& k :
         {Kind{kWndClass, CS_DBLCLKS}, Kind{kFrameClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
          Kind{kDialogClass, CS_DBLCLKS | CS_SAVEBITS}}) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(nullptr, k.name, &wc))
            continue;
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = k.style;
        wc.lpfnWndProc = &AfxWndProc;
        wc.lpszClassName = k.name;
        RegisterClassExW(&wc);
    }
}

void deleteTemporaryWindows() {
    temporaries.clear();
    deleteTemporaryMenus();
    deleteTemporaryGdiObjects();
}

} // namespace pal::mfc

MSG* AfxGetCurrentMessage() {
    return &currentMessage;
}

// The name is kept for the process (callers hold on to it), but the class behind it is checked
// on every call, as the library's own classes are: the user layer may have been reset since.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::mutex mutex;
    static std::unordered_map<std::wstring, std::unique_ptr<std::wstring>> names;
    std::wstring name = pal::format(L"Afx:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                                    static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard lock(mutex);
    auto& slot = names[name];
    if (!slot)
        slot = std::make_unique<std::wstring>(std::move(name));
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(nullptr, slot->c_str(), &wc))
        return slot->c_str();
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = slot->c_str();
    return RegisterClassExW(&wc) ? slot->c_str() : nullptr;
}

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr && creating != nullptr) {
        wnd = creating;
        creating = nullptr;
        wnd->Attach(hWnd);
        wnd->PreSubclassWindow();
    }
    if (wnd == nullptr)
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(wnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    const MSG saved = currentMessage;
    currentMessage = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        CWinThread* thread = AfxGetThread();
        result = thread ? thread->ProcessWndProcException(e, &currentMessage) : 0;
        if (!thread)
            e->Delete();
    }
    // A window whose handler of WM_NCDESTROY did not let go of its object: let go now.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    currentMessage = saved;
    return result;
}

// CWnd --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWnd) {
    Attach(hWnd);
}

CWnd::~CWnd() {
    if (m_hWnd == nullptr || temporary_)
        return;
    if (FromHandlePermanent(m_hWnd) == this) {
        // Destroyed with its object still attached: the window goes too, but the object's
        // own destruction handlers can no longer run. Its class's own procedure is given back
        // first, so that the class still hears the window's end (a control frees its state).
        const HWND h = UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    auto& p = permanent();
    std::lock_guard lock(p.mutex);
    const auto it = p.map.find(hWnd);
    return it == p.map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd))
        return wnd;
    auto& slot = temporaries[hWnd];
    if (!slot || !::IsWindow(hWnd)) {
        slot = std::make_unique<CWnd>();
        slot->temporary_ = true;
        slot->m_hWnd = hWnd;
    }
    return slot.get();
}

BOOL CWnd::Attach(HWND hWndNew) {
    ASSERT(m_hWnd == nullptr);
    if (hWndNew == nullptr || m_hWnd != nullptr)
        return FALSE;
    auto& p = permanent();
    std::lock_guard lock(p.mutex);
    p.map[hWndNew] = this;
    m_hWnd = hWndNew;
    temporaries.erase(hWndNew);
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND h = m_hWnd;
    if (h != nullptr) {
        auto& p = permanent();
        std::lock_guard lock(p.mutex);
        const auto it = p.map.find(h);
        if (it != p.map.end() && it->second == this)
            p.map.erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    const HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return control != nullptr && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    ASSERT(pParentWnd != nullptr && "a child window needs its parent; top-level windows use CreateEx");
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    menuFromId(nID), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    menuFromId(nID), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* const outer = creating;
    creating = this;
    const HWND hWnd = CreateHandle(cs);
    const bool seen = creating != this;
    creating = outer;
    if (hWnd == nullptr) {
        if (!seen)
            PostNcDestroy();
        return FALSE;
    }
    // A class with a procedure of its own never called ours while it was created: route its
    // messages through this object from now on.
    if (!seen)
        SubclassWindow(hWnd);
    return TRUE;
}

HWND CWnd::CreateHandle(CREATESTRUCTW& cs) {
    return ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                             cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        pal::mfc::registerLibraryClasses();
        cs.lpszClass = pal::mfc::kWndClass;
    }
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    bool handled = false;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam) != FALSE;
        result = handled ? 1 : 0;
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        handled = header != nullptr && header->hwndFrom != nullptr && OnNotify(wParam, lParam, &result);
    } else {
        for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr && !handled;
             map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
                const bool match =
                    message < 0xC000
                        ? e->nMessage == message && e->nCode == 0 && e->nID == 0 && e->nLastID == 0
                        : e->nMessage == 0xC000 && e->pRegistered != nullptr && *e->pRegistered == message;
                if (!match)
                    continue;
                AFX_CALL call;
                call.message = message;
                call.wParam = wParam;
                call.lParam = lParam;
                handled = e->pfn(*this, call);
                result = call.result;
                break;
            }
        }
    }
    if (handled && pResult != nullptr)
        *pResult = result;
    return handled ? TRUE : FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& m = currentMessage;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

namespace {

// Asks the update handlers whether a command is enabled, without showing anything.
class EnabledQuery : public CCmdUI {
public:
    BOOL enabled = TRUE;
    void Enable(BOOL bOn) override {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (control == nullptr) {
        // A menu or accelerator command: zero ids are not commands, and a command that its
        // update handler disables is not carried out.
        if (id == 0)
            return FALSE;
        EnabledQuery query;
        query.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, static_cast<CCmdUI*>(&query), nullptr);
        if (!query.enabled)
            return TRUE;
        code = CN_COMMAND;
    } else if (id == 0) {
        return FALSE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

INT_PTR CWnd::OnToolHitTest(CPoint, TTTOOLINFOW*) const {
    return -1;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    const UINT id = static_cast<UINT>(header->idFrom);
    AFX_NOTIFY notify{pResult, header};
    return OnCmdMsg(id, static_cast<int>(MAKELONG(LOWORD(header->code), WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND h = pMsg->hwnd; h != nullptr; h = ::GetParent(h)) {
        if (CWnd* wnd = FromHandlePermanent(h); wnd != nullptr && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

// Member forms ------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) const {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* wnd = FromHandlePermanent(child))
                AfxCallWndProc(wnd, child, message, wParam, lParam);
        } else {
            ::SendMessageW(child, message, wParam, lParam);
        }
        if (bDeep)
            CWnd::FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}
void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsZoomed() const {
    return ::IsZoomed(m_hWnd);
}
void CWnd::SetWindowText(LPCWSTR lpszString) {
    ::SetWindowTextW(m_hWnd, lpszString);
}
int CWnd::GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthW(m_hWnd);
}
CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::GetOwner() const {
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}
// A child climbs to its parent and any other window to its owner, so that a dialog owned by
// the main window counts as the main window's.
CWnd* CWnd::GetTopLevelParent() const {
    HWND top = m_hWnd;
    while (top != nullptr) {
        const HWND next =
            (::GetWindowLongW(top, GWL_STYLE) & WS_CHILD) ? ::GetParent(top) : ::GetWindow(top, GW_OWNER);
        if (next == nullptr)
            break;
        top = next;
    }
    return FromHandle(top);
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h != nullptr; h = ::GetParent(h)) {
        if (CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, FromHandlePermanent(h)))
            return frame;
    }
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int nID) {
    return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
}
void CWnd::SetDlgItemText(int nID, LPCWSTR lpszString) {
    ::SetWindowTextW(::GetDlgItem(m_hWnd, nID), lpszString);
}
int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    const HWND item = ::GetDlgItem(m_hWnd, nID);
    if (item == nullptr)
        return 0;
    CWnd::FromHandle(item)->GetWindowText(rString);
    return rString.GetLength();
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    CString text;
    GetDlgItemText(nID, text);
    text.Trim();
    const std::wstring s = text.GetString();
    size_t used = 0;
    long long value = 0;
    bool ok = !s.empty();
    try {
        value = std::stoll(s, &used, 10);
    } catch (...) {
        ok = false;
    }
    ok = ok && used == s.size() &&
         (bSigned ? value >= INT32_MIN && value <= INT32_MAX : value >= 0 && value <= UINT32_MAX);
    if (lpTrans)
        *lpTrans = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(value) : 0;
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    SetDlgItemText(nID, bSigned ? pal::format(L"%d", static_cast<int>(nValue)).c_str()
                                : pal::format(L"%u", nValue).c_str());
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    ::SendMessageW(::GetDlgItem(m_hWnd, nIDButton), BM_SETCHECK, nCheck, 0);
}
UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return static_cast<UINT>(::SendMessageW(::GetDlgItem(m_hWnd, nIDButton), BM_GETCHECK, 0, 0));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}
DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {
BOOL modifyLong(HWND h, int index, DWORD remove, DWORD add, UINT flags) {
    const DWORD old = static_cast<DWORD>(::GetWindowLongW(h, index));
    const DWORD now = (old & ~remove) | add;
    if (old == now)
        return FALSE;
    ::SetWindowLongW(h, index, static_cast<LONG>(now));
    if (flags != 0)
        ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}
BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}
void CWnd::BringWindowToTop() {
    ::BringWindowToTop(m_hWnd);
}
void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN prgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate,
                          flags ? flags : RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
    ::InvalidateRgn(m_hWnd, pRgn ? static_cast<HRGN>(*pRgn) : nullptr, bErase);
}
void CWnd::ValidateRect(LPCRECT lpRect) {
    ::ValidateRect(m_hWnd, lpRect);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* pDC) {
    if (pDC == nullptr)
        return 0;
    return ::ReleaseDC(m_hWnd, pDC->m_hDC);
}
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND over = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (over == nullptr)
        over = ::GetParent(m_hWnd);
    if (over == nullptr && AfxGetMainWnd() != nullptr && AfxGetMainWnd()->m_hWnd != m_hWnd)
        over = AfxGetMainWnd()->m_hWnd;
    if (over == nullptr)
        return;
    CRect mine, theirs;
    ::GetWindowRect(m_hWnd, &mine);
    ::GetWindowRect(over, &theirs);
    POINT topLeft{theirs.left + (theirs.Width() - mine.Width()) / 2,
                  theirs.top + (theirs.Height() - mine.Height()) / 2};
    if (!(GetStyle() & WS_CHILD)) {
        // A top-level window stays on the work area of its owner's monitor.
        MONITORINFO info{sizeof info, {}, {}, 0};
        if (::GetMonitorInfoW(::MonitorFromWindow(over, MONITOR_DEFAULTTONEAREST), &info)) {
            const RECT& work = info.rcWork;
            topLeft.x = std::max<LONG>(work.left, std::min<LONG>(topLeft.x, work.right - mine.Width()));
            topLeft.y = std::max<LONG>(work.top, std::min<LONG>(topLeft.y, work.bottom - mine.Height()));
        }
    }
    if (GetStyle() & WS_CHILD)
        ::ScreenToClient(::GetParent(m_hWnd), &topLeft);
    ::SetWindowPos(m_hWnd, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

// Handlers -----------------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCTW) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}

// The thread's main window going away ends the thread's loop.
void CWnd::OnNcDestroy() {
    Default();
    if (CWinThread* thread = AfxGetThread(); thread != nullptr && thread->m_pMainWnd == this) {
        thread->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    if (CWinThread* thread = AfxGetThread(); thread != nullptr && thread->m_pActiveWnd == this)
        thread->m_pActiveWnd = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::OnClose() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnEnable(BOOL) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnActivateApp(BOOL, DWORD) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnNcPaint() {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*) {
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) {
    return static_cast<int>(Default());
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
BOOL CWnd::OnQueryEndSession() {
    return static_cast<BOOL>(Default());
}
void CWnd::OnEndSession(BOOL) {
    Default();
}
void CWnd::OnChildActivate() {
    Default();
}
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) {
    Default();
}
void CWnd::OnSettingChange(UINT, LPCWSTR) {
    Default();
}

void CWnd::OnDropFiles(HDROP) {
    Default();
}

// CCmdUI on a menu item changes the item; on a control the control shows the state itself.

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu != nullptr)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr)
        m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu != nullptr)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr)
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu != nullptr) {
        // A radio item shows a dot in place of the check mark.
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
        info.fType |= MFT_RADIOCHECK;
        m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pMenu != nullptr) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(lpszText ? lpszText : L"");
        m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
        m_pOther->SetWindowText(lpszText);
    }
}
