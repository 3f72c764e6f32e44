// The frame's entry points for messages: the order a command is offered to its listeners, the
// keys kept from the shortcuts while an edit box or a running command needs them, and the
// guard the command and window procedures run in.
#include "frame/MainFrameRouting.h"
#include "frame/MainFrame.h"

#include "app/CrashGuard.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GenerateDumpFileContext.h"
#include "DravikKernel/Settings.h"
#include "XTToolkitPro.h"
#include "afxres.h"

namespace {

constexpr UINT kFirstAutoMenuCommand = 6001;
constexpr UINT kLastAutoMenuCommand = 6999;

MainFrameApplication* application() {
    return MainFrameApplication::Instance();
}

std::unique_ptr<GenerateDumpFileContextBase> crashContext() {
    MainFrameApplication* app = application();
    return app != nullptr ? app->CreateCrashContext() : std::make_unique<GenerateDumpFileContext>();
}

bool isKeyboardMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool isFunctionKey(WPARAM key) {
    return key >= VK_F1 && key <= VK_F24;
}

// Ctrl counts as held only while its key is down (the high bit); the low bit is the toggle
// that every press flips and says nothing about now.
bool isControlHeld() {
    return ::GetKeyState(VK_CONTROL) < 0;
}

// The keys a shortcut would take from an edit box: with Ctrl held only the function keys,
// otherwise digits, letters and function keys too.
bool keyTestSilences(WPARAM key) {
    if (isControlHeld())
        return isFunctionKey(key);
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || isFunctionKey(key);
}

// The frame's shortcut managers stay disabled from the decision to the end of the call,
// whatever way the call ends.
class ShortcutSilence {
public:
    explicit ShortcutSilence(CMainFrame& frame) : frame_(frame) {}
    ~ShortcutSilence() {
        if (engaged_)
            set(FALSE);
    }
    ShortcutSilence(const ShortcutSilence&) = delete;
    ShortcutSilence& operator=(const ShortcutSilence&) = delete;
    void engage() {
        engaged_ = true;
        set(TRUE);
    }

private:
    void set(BOOL disable) {
        for (CXTPCommandBars* bars : {static_cast<CXTPCommandBars*>(frame_.GetCommandBars()),
                                      static_cast<CXTPCommandBars*>(frame_.GetFramelessToolBars())})
            if (bars != nullptr)
                if (CXTPShortcutManager* shortcuts = bars->GetShortcutManager())
                    shortcuts->DisableShortcuts(disable);
    }
    CMainFrame& frame_;
    bool engaged_ = false;
};

// The kernel's settings byte of the direct-print path, given back whatever way the call ends.
class DirectPrintMark {
public:
    DirectPrintMark() : previous_(GetSettings().directPrint) { GetSettings().directPrint = true; }
    ~DirectPrintMark() { GetSettings().directPrint = previous_; }
    DirectPrintMark(const DirectPrintMark&) = delete;
    DirectPrintMark& operator=(const DirectPrintMark&) = delete;

private:
    bool previous_;
};

} // namespace

std::unique_ptr<GenerateDumpFileContextBase> MainFrameApplication::CreateCrashContext() {
    return std::make_unique<GenerateDumpFileContext>();
}

BOOL CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    MainFrameRouting& routing = MainFrameRouting::Instance();
    LRESULT scratch = 0;
    LRESULT* result = pResult != nullptr ? pResult : &scratch;
    MainFrameApplication* app = application();

    if (message == WM_COMMAND) {
        const UINT id = LOWORD(wParam);
        CDvw32Doc* document = app != nullptr ? app->GetActiveDocument() : nullptr;
        if (document != nullptr) {
            std::wstring hint;
            if (id >= kFirstAutoMenuCommand && id <= kLastAutoMenuCommand)
                hint = routing.GetAutoMenuHint(id);
            routing.PushCommandAction(*document, id, hint);
        }
        if (routing.OfferToModuleProxy(id, document)) {
            *result = TRUE;
            return TRUE;
        }
    }
    if (routing.OfferToAddOns(message, wParam, lParam, result))
        return TRUE;
    if (CXTPCommandBars* bars = GetAutoMenuCommandBars();
        bars != nullptr &&
        routing.OfferToBars(MainFrameRouting::Bars::AutoMenu, *bars, message, wParam, lParam, result))
        return TRUE;
    if (CXTPCommandBars* bars = GetFramelessToolBars();
        bars != nullptr &&
        routing.OfferToBars(MainFrameRouting::Bars::Frameless, *bars, message, wParam, lParam, result))
        return TRUE;
    if (GetCommandBars() != nullptr && message == WM_COMMAND && LOWORD(wParam) == ID_HELP && app != nullptr)
        if (CWnd* find = app->GetFindCommandWindow();
            find != nullptr && routing.ShowFindCommandToolTipHelp(find))
            return TRUE;
    return MdiMainFrame::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    MainFrameApplication* app = application();
    CDvw32Doc* document = app != nullptr ? app->GetActiveDocument() : DVGetActiveDoc(m_hWnd);
    if (MainFrameRouting::Instance().OfferToKernelCommands(nID, nCode, pExtra, pHandlerInfo, document))
        return TRUE;
    return MdiMainFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    const std::unique_ptr<GenerateDumpFileContextBase> context = crashContext();
    return dvapp::RunGuarded(context.get(), FALSE, [&] { return DoOnCommand(wParam, lParam); });
}

BOOL CMainFrame::DoOnCommand(WPARAM wParam, LPARAM lParam) {
    MainFrameApplication* app = application();
    std::optional<DirectPrintMark> printing;
    if (LOWORD(wParam) == ID_FILE_PRINT_DIRECT && app != nullptr && app->HasCommandLineInfo()) {
        // What waits in the queue runs first, so that the print sees the state it asked for.
        MSG waiting;
        while (::PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!AfxPumpMessage()) {
                // The quit belongs to the loop that ends the program: it is posted again.
                CWinThread* thread = AfxGetThread();
                AfxPostQuitMessage(thread != nullptr ? static_cast<int>(thread->m_msgCur.wParam) : 0);
                return 0;
            }
        }
        app->OnIdle(0);
        printing.emplace();
    }
    return MdiMainFrame::OnCommand(wParam, lParam);
}

bool CMainFrame::MustSilenceShortcuts(const MSG& msg) {
    MainFrameRouting& routing = MainFrameRouting::Instance();
    if (CView* view = GetActiveDravikView()) {
        if (routing.SuppressAccelerators(view))
            return true;
        if (HWND input = routing.GetInputWindow())
            return msg.hwnd == input || keyTestSilences(msg.wParam);
        if (routing.HasVisibleManipulatorEdit(*this))
            return keyTestSilences(msg.wParam);
    }
    return routing.IsEditBox(msg.hwnd);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (pMsg == nullptr)
        return FALSE;
    MainFrameRouting& routing = MainFrameRouting::Instance();
    const UINT message = pMsg->message;

    if (message == WM_MOUSEWHEEL) {
        const POINT at{GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
        if (HWND under = ::WindowFromPoint(at);
            under != nullptr && routing.OfferWheel(under, pMsg->wParam, pMsg->lParam))
            return TRUE;
    }
    if (const UINT spaceMouse = routing.GetSpaceMouseMessage(); spaceMouse != 0 && message == spaceMouse) {
        // A click or key that waits comes first; the device sends its state again soon.
        MSG waiting;
        if (::PeekMessageW(&waiting, nullptr, WM_LBUTTONDOWN, WM_MOUSEHWHEEL, PM_NOREMOVE) ||
            ::PeekMessageW(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE))
            return TRUE;
    }
    if (message == WM_SYSKEYDOWN && pMsg->wParam == VK_MENU && routing.IsAltMode()) {
        routing.SetAltMode(0);
        return TRUE;
    }

    ShortcutSilence silence(*this);
    if (isKeyboardMessage(message)) {
        if (pMsg->wParam == VK_ESCAPE && GetScreenMode() == 2) {
            SetScreenMode(0);
            return TRUE;
        }
        if (MustSilenceShortcuts(*pMsg))
            silence.engage();
    }
    if (MdiMainFrame::PreTranslateMessage(pMsg))
        return TRUE;
    if (CXTPCommandBars* bars = GetAutoMenuCommandBars();
        bars != nullptr && routing.PreTranslateForBars(MainFrameRouting::Bars::AutoMenu, *bars, *pMsg))
        return TRUE;
    if (CXTPCommandBars* bars = GetFramelessToolBars();
        bars != nullptr && routing.PreTranslateForBars(MainFrameRouting::Bars::Frameless, *bars, *pMsg))
        return TRUE;
    if (message == WM_KEYDOWN && !routing.IsEditBox(pMsg->hwnd))
        return OnTypedCommandKey(static_cast<UINT>(pMsg->wParam)) ? TRUE : FALSE;
    return FALSE;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::unique_ptr<GenerateDumpFileContextBase> context = crashContext();
    return dvapp::RunGuarded(context.get(), LRESULT{0},
                             [&] { return MdiMainFrame::WindowProc(message, wParam, lParam); });
}

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const {
    std::wstring text;
    if (CFrameToolsEngine::GetMessageString(nID, text)) {
        rMessage = text.c_str();
        return;
    }
    MdiMainFrame::GetMessageString(nID, rMessage);
}

int CMainFrame::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
    try {
        return MdiMainFrame::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    } catch (CResourceException* e) {
        // A bar that could not get a window or drawing resource must not end the message loop.
        MainFrameRouting::Instance().ResourceNotAvailable();
        e->Delete();
        return 0;
    }
}

void CMainFrame::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    if (CXTPCommandBars* bars = GetAutoMenuCommandBars())
        bars->OnSetPreviewMode(bPreview);
    if (CXTPCommandBars* bars = GetFramelessToolBars())
        bars->OnSetPreviewMode(bPreview);
    MdiMainFrame::OnSetPreviewMode(bPreview, pState);
}
