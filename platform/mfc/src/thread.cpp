#include "afx/app.h"
#include "afx/wnd.h"
#include "pal/registry.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* currentThread = nullptr;

} // namespace

// The entry of every thread started by CreateThread.
struct ThreadStart {
    static DWORD run(LPVOID param) {
        CWinThread* thread = static_cast<CWinThread*>(param);
        currentThread = thread;
        DWORD code = 0;
        if (thread->m_pfnThreadProc != nullptr) {
            code = thread->m_pfnThreadProc(thread->m_pThreadParams);
        } else if (thread->InitInstance()) {
            code = static_cast<DWORD>(thread->Run());
        } else {
            code = static_cast<DWORD>(thread->ExitInstance());
        }
        currentThread = nullptr;
        pal::mfc::deleteTemporaryWindows();
        thread->Delete();
        return code;
    }
};

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
    if (currentThread == this)
        currentThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    DWORD id = 0;
    // Always start suspended so that m_hThread is set before the thread can end and delete us.
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &ThreadStart::run, this,
                               dwCreateFlags | CREATE_SUSPENDED, &id);
    if (m_hThread == nullptr)
        return FALSE;
    m_nThreadID = id;
    if (priority_ != 0)
        ::SetThreadPriority(m_hThread, priority_);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        ::ResumeThread(m_hThread);
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority) {
    priority_ = nPriority;
    return m_hThread == nullptr || ::SetThreadPriority(m_hThread, nPriority);
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return static_cast<int>(m_msgCur.wParam);
}

CWnd* CWinThread::GetMainWnd() {
    return m_pActiveWnd != nullptr ? m_pActiveWnd : m_pMainWnd;
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    // The exception ends the message, not the program; a window that failed in WM_CREATE is
    // not created.
    const UINT message = pMsg ? pMsg->message : 0;
    e->Delete();
    return message == WM_CREATE ? -1 : 0;
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == nullptr && DispatchThreadMessageEx(pMsg))
        return TRUE;
    CWnd* main = AfxGetMainWnd();
    if (main == nullptr)
        return FALSE;
    if (CWnd::WalkPreTranslateTree(main->m_hWnd, pMsg))
        return TRUE;
    // A modeless window outside the main window's tree still gets the main window's keys; one
    // that the main window owns was already offered to it by the walk.
    if (pMsg->hwnd != nullptr && CWnd::FromHandle(pMsg->hwnd)->GetTopLevelParent() != main)
        return main->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* msg) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            const bool match =
                msg->message < 0xC000
                    ? e->nMessage == msg->message && e->nCode == 0 && e->nID == 0
                    : e->nMessage == 0xC000 && e->pRegistered && *e->pRegistered == msg->message;
            if (!match)
                continue;
            AFX_CALL call;
            call.message = msg->message;
            call.wParam = msg->wParam;
            call.lParam = msg->lParam;
            return e->pfn(*this, call) ? TRUE : FALSE;
        }
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        // Bars and frames bring their command states up to date.
        CWnd* main = m_pMainWnd;
        if (main != nullptr && main->m_hWnd != nullptr && main->IsWindowVisible()) {
            AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    } else {
        pal::mfc::deleteTemporaryWindows();
    }
    return lCount < 0;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (lastCursor_.x == pMsg->pt.x && lastCursor_.y == pMsg->pt.y && pMsg->message == lastMouseMessage_)
            return FALSE;
        lastCursor_ = pMsg->pt;
        lastMouseMessage_ = pMsg->message;
        return TRUE;
    }
    constexpr UINT kCaretTimer = 0x0118;
    return pMsg->message != WM_PAINT && pMsg->message != kCaretTimer;
}

namespace pal::mfc {

bool runMessageLoop(CWinThread& thread, LoopEnd end, LoopState& state) {
    size_t steps = 0;
    const auto spent = [&] { return end == LoopEnd::Idle && state.limit != 0 && ++steps > state.limit; };
    state.exhausted = false;
    MSG peek{};
    for (;;) {
        while (state.idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (spent()) {
                state.exhausted = true;
                return false;
            }
            if (!thread.OnIdle(state.idleCount++))
                state.idle = false;
        }
        if (end == LoopEnd::Idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE))
            return false;
        do {
            if (spent()) {
                state.exhausted = true;
                return false;
            }
            if (!thread.PumpMessage())
                return true;
            if (thread.IsIdleMessage(&thread.m_msgCur)) {
                state.idle = true;
                state.idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

} // namespace pal::mfc

int CWinThread::Run() {
    pal::mfc::LoopState state;
    pal::mfc::runMessageLoop(*this, pal::mfc::LoopEnd::Quit, state);
    // What a program saves as it ends (its settings, its lists) reaches the registry as one
    // change, with one sync of the disk.
    pal::reg::Batch batch;
    return ExitInstance();
}

CWinThread* AfxGetThread() {
    if (currentThread != nullptr)
        return currentThread;
    return AfxGetApp();
}

BOOL AfxPumpMessage() {
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr)
        return thread->PumpMessage();
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0))
        return FALSE;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return TRUE;
}

void AfxPostQuitMessage(int nExitCode) {
    ::PostQuitMessage(nExitCode);
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* thread = new CWinThread(pfnThreadProc, pParam);
    thread->SetThreadPriority(nPriority);
    if (!thread->CreateThread(dwCreateFlags, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    CObject* object = pThreadClass ? pThreadClass->CreateObject() : nullptr;
    CWinThread* thread = DYNAMIC_DOWNCAST(CWinThread, object);
    if (thread == nullptr) {
        delete object;
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!thread->CreateThread(dwCreateFlags, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    return thread;
}
