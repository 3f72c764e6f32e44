// CWinThread: a thread with a message loop (or a worker function), and the loop's idle rule.
#pragma once

#include "afx/msgmap.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CWnd;
class CException;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE; // the object deletes itself when its thread ends
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur{};

    operator HANDLE() const { return m_hThread; }

    // Starts the thread; with CREATE_SUSPENDED it waits for ResumeThread.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread();
    int GetThreadPriority() const { return priority_; }
    BOOL SetThreadPriority(int nPriority);

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: idle work with a rising count until OnIdle declines, then messages
    // until the queue is empty; an idle message starts the idle count again at 0.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Takes one message (waiting for it); FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    // Whether the message just handled starts idle work again: not WM_PAINT, not the caret
    // timer, not a mouse move that did not move.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd();
    virtual void Delete();
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    // Hands a message without a window to this thread's ON_THREAD_MESSAGE entries.
    BOOL DispatchThreadMessageEx(MSG* msg);

protected:
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    friend struct ThreadStart;
    POINT lastCursor_{-1, -1};
    UINT lastMouseMessage_ = 0;
    int priority_ = 0;
};

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = 0 /* normal */,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = 0 /* normal */, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// The CWinThread of the calling thread: the application object on the main thread.
CWinThread* AfxGetThread();
BOOL AfxPumpMessage();
void AfxPostQuitMessage(int nExitCode);

namespace pal::mfc {

enum class LoopEnd { Quit, Idle };
// Where the loop stands between messages: whether idle work is due, and its count.
struct LoopState {
    bool idle = true;
    LONG idleCount = 0;
    // With LoopEnd::Idle: the most messages and idle calls one run may take (0: no limit);
    // `exhausted` tells that a run stopped there rather than settled.
    size_t limit = 0;
    bool exhausted = false;
};
// The loop of Run. With LoopEnd::Idle it returns once the queue is empty and the idle work is
// done, keeping its place in `state` for the next call (for tests); the result says whether
// WM_QUIT arrived.
bool runMessageLoop(CWinThread& thread, LoopEnd end, LoopState& state);

} // namespace pal::mfc

DV_EXPORTS_END
