// The frame's answers to the messages its routing maps: help requests, shell (DDE) requests,
// pane and ribbon notifications, and the end of the session.
#include "frame/CommandBars.h"
#include "frame/MainFrame.h"
#include "frame/MainFrameRouting.h"
#include "frame/OpenDocumentFiles.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/View.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/PopupToolBar.h"
#include "DravikUI/Windows.h"
#include "XTToolkitPro.h"
#include "docbrowser/Clipart.h"
#include "win/global_memory.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kMessageBarClosed = 0x2869;
constexpr UINT kRibbonMinimized = 0x286D;
constexpr UINT kControlNotify = 0x2856;
constexpr UINT kTabsChanged = 0x2864;
constexpr UINT kRefresh3D = 0x4F1;
constexpr UINT kViewChanged = 0x523;
constexpr UINT kDocumentPath = 0x56B;
constexpr UINT kDdeAckPositive = 0x8000;
constexpr UINT kDdeAckNegative = 0;

constexpr LPARAM kFirstCommandHelp = 0x10000;
constexpr LPARAM kLastCommandHelp = 0x20000;

constexpr int kFirstClipartPane = 11000;
constexpr int kLastClipartPane = 20999;
constexpr int kUnlistedPdmPane = 1016;
constexpr UINT kClosePaneCommand = 40058;
// The document flag that tells the kernel the program came to the front.
constexpr std::uint64_t kDocFlagApplicationActivated = 0x20000;

MainFrameApplication* application() {
    return MainFrameApplication::Instance();
}

bool isClipartPane(int id) {
    return id >= kFirstClipartPane && id <= kLastClipartPane;
}

// The command text of a shell request, read no further than its block and stopped at its first
// terminator; empty (and false) when the block cannot be read.
bool readDdeCommand(HGLOBAL block, CString& text) {
    text.Empty();
    const SIZE_T bytes = block != nullptr ? ::GlobalSize(block) : 0;
    if (bytes < sizeof(wchar_t))
        return false;
    const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block));
    if (chars == nullptr)
        return false;
    const size_t count = bytes / sizeof(wchar_t);
    try {
        text = CString(chars, static_cast<int>(wcsnlen(chars, count)));
    } catch (CMemoryException* e) {
        e->Delete();
        text.Empty();
    }
    ::GlobalUnlock(block);
    return true;
}

// The close of a clipart pane: its view may refuse. True when the pane went.
bool closeClipartPane(CMainFrame& frame, int paneId) {
    CClipartView* view = FindClipartById(paneId);
    if (view == nullptr || !view->CanClose())
        return false;
    CXTPDockingPaneManager& manager = frame.GetPaneManager();
    if (CXTPDockingPane* pane = manager.FindPane(paneId))
        manager.DestroyPane(pane);
    if (::IsWindow(view->m_hWnd))
        view->DestroyWindow();
    delete view;
    return true;
}

// A menu bar shown over the ribbon floats just below it instead.
void keepBelowRibbon(CXTPToolBar& menu, CXTPRibbonBar* ribbon) {
    if (ribbon == nullptr || !::IsWindow(ribbon->m_hWnd) || !::IsWindow(menu.m_hWnd))
        return;
    CRect ribbonRect, menuRect;
    ribbon->GetWindowRect(&ribbonRect);
    menu.GetWindowRect(&menuRect);
    if (menuRect.top >= ribbonRect.bottom)
        return;
    menu.SetFloatingPosition(CPoint(menuRect.left, ribbonRect.bottom));
    menu.SetPosition(xtpBarFloating);
}

} // namespace

const AFX_MSGMAP* CMainFrame::GetRoutingMessageMap() {
    using ThisClass [[maybe_unused]] = CMainFrame;
    // clang-format off
    static const AFX_MSGMAP_ENTRY entries[] = {
        ON_MESSAGE(WM_COMMANDHELP, &CMainFrame::OnCommandHelp)
        ON_MESSAGE(WM_DDE_EXECUTE, &CMainFrame::OnDDEExecute)
        ON_MESSAGE(XTPWM_DOCKINGPANE_NOTIFY, &CMainFrame::OnDockingPaneNotify)
        ON_MESSAGE(WM_XTP_TOOLBARVISIBLECHANGED, &CMainFrame::OnToolBarVisibleChanged)
        ON_MESSAGE(kControlNotify, &CMainFrame::OnControlNotify)
        ON_XTP_INITCOMMANDSPOPUP()
        ON_XTP_CREATECONTROL()
        ON_MESSAGE(WM_XTP_INITCONTROL, &CMainFrame::OnInitControl)
        ON_MESSAGE(WM_XTP_CONTROLNOTIFY, &CMainFrame::OnControlExecute)
        ON_MESSAGE(kTabsChanged, &CMainFrame::OnTabsChanged)
        ON_MESSAGE(WM_XTP_INITPOPUP, &CMainFrame::OnInitPopup)
        ON_MESSAGE(kMessageBarClosed, &CMainFrame::OnMessageBarClosed)
        ON_MESSAGE(kRibbonMinimized, &CMainFrame::OnRibbonMinimized)
        ON_MESSAGE(kRefresh3D, &CMainFrame::On3DRefresh)
        ON_MESSAGE(kViewChanged, &CMainFrame::OnViewChanged)
        ON_MESSAGE(kDocumentPath, &CMainFrame::OnDocumentPathMessage)
        ON_MESSAGE(WM_QUERYENDSESSION, &CMainFrame::OnQueryEndSessionMessage)
        ON_MESSAGE(WM_ENDSESSION, &CMainFrame::OnEndSessionMessage)
        ON_MESSAGE(WM_ENABLE, &CMainFrame::OnEnableMessage)
        ON_MESSAGE(WM_SHOWWINDOW, &CMainFrame::OnShowWindowMessage)
        ON_WM_SIZE()
        ON_WM_MOVE()
        ON_WM_DROPFILES()
        ON_WM_ACTIVATEAPP()
        ON_WM_ACTIVATE()
        ON_REGISTERED_MESSAGE(AFX_WM_CHANGING_ACTIVE_TAB, &CMainFrame::OnChangingActiveTab)
        {0, 0, 0, 0, nullptr, nullptr}};
    // clang-format on
    static const AFX_MSGMAP map = {&CMainFrame::GetCommandTableMap, &entries[0]};
    return &map;
}

LRESULT CMainFrame::OnCommandHelp(WPARAM, LPARAM lParam) {
    MainFrameApplication* app = application();
    if (lParam >= kFirstCommandHelp && lParam <= kLastCommandHelp) {
        if (app != nullptr)
            app->ShowHelpTopic(static_cast<UINT>(lParam & 0xFFFF) * 100);
        return 1;
    }
    CXTPCommandBars* bars = GetCommandBars();
    CXTPToolTipContext* tips = bars != nullptr ? bars->GetToolTipContext() : nullptr;
    if (tips == nullptr) {
        if (app != nullptr)
            app->ShowContextHelp();
        return 0;
    }
    // The help of the command whose tooltip is showing, when one is.
    const UINT command = tips->GetToolTip()->GetToolId();
    if (command == 0) {
        if (app != nullptr)
            app->ShowContextHelp();
        return 1;
    }
    if (app != nullptr) {
        const UINT previous = app->SetHelpContext(command * 100);
        app->ShowContextHelp();
        app->SetHelpContext(previous);
    }
    return 1;
}

LRESULT CMainFrame::OnDDEExecute(WPARAM wParam, LPARAM lParam) {
    const auto sender = reinterpret_cast<HWND>(wParam);
    if (sender == nullptr || m_hWnd == nullptr)
        return 0;
    UINT_PTR unused = 0, handle = 0;
    ::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle);
    const auto block = reinterpret_cast<HGLOBAL>(handle);
    CString command;
    const bool readable = readDdeCommand(block, command);

    // The answer goes out before the command runs, so that a command that opens a modal loop
    // does not keep the sender waiting; it says yes only for a command that will run.
    MainFrameApplication* app = application();
    enum class Fate { Run, Queue, Drop } fate = Fate::Drop;
    if (readable && !command.IsEmpty() && app != nullptr)
        fate = IsWindowEnabled() ? Fate::Run : (InModalState() ? Fate::Queue : Fate::Drop);
    const UINT status = fate == Fate::Drop ? kDdeAckNegative : kDdeAckPositive;
    ::PostMessageW(sender, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, status, handle));
    if (fate == Fate::Run)
        app->OnDDECommand(command);
    else if (fate == Fate::Queue)
        app->QueueDDECommand(command);
    return 0;
}

LRESULT CMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam) {
    LRESULT handled = MdiMainFrame::OnDockingPaneNotify(wParam, lParam);
    if (wParam == XTP_DPN_SHOWWINDOW) {
        if (auto* pane = reinterpret_cast<CXTPDockingPane*>(lParam))
            pdmPanes |= PdmPaneBit(pane->GetID());
        return handled;
    }
    if (wParam != XTP_DPN_ACTION)
        return handled;
    auto* action = reinterpret_cast<XTP_DOCKINGPANE_ACTION*>(lParam);
    if (action == nullptr || action->action != xtpPaneActionClosed || action->pPane == nullptr)
        return handled;
    const int id = action->pPane->GetID();
    if (isClipartPane(id))
        return closeClipartPane(*this, id) ? 1 : handled;
    if (id != kUnlistedPdmPane)
        pdmPanes &= ~PdmPaneBit(id);
    return handled;
}

void CMainFrame::OnDockingPanePopupMenuCommand(UINT command, CXTPDockingPane* pane) {
    if (command == kClosePaneCommand && pane != nullptr && isClipartPane(pane->GetID()))
        closeClipartPane(*this, pane->GetID());
}

LRESULT CMainFrame::OnRibbonMinimized(WPARAM, LPARAM lParam) {
    // The frame minimises the ribbon itself as it lays its bars out for a screen mode: that is
    // what it read from the flags, not a choice to write back, perhaps into the other mode's.
    if (m_hidingBars)
        return 0;
    auto* ribbon = reinterpret_cast<CXTPRibbonBar*>(lParam);
    if (ribbon == nullptr)
        ribbon = GetRibbonBar();
    if (ribbon == nullptr)
        return 0;
    // The flags the frame's state saves and the bar layout applies; the clean screen hides the
    // ribbon, so what it does there is nobody's choice.
    if (GetScreenMode() == 0)
        minimizeRibbonInWindowedMode = ribbon->IsRibbonMinimized() != FALSE;
    else if (GetScreenMode() == 1)
        minimizeRibbonInFullScreenMode = ribbon->IsRibbonMinimized() != FALSE;
    return 0;
}

// The control that carried a command (wParam its id) is the active view's to read from.
LRESULT CMainFrame::OnControlNotify(WPARAM wParam, LPARAM) {
    const int id = static_cast<int>(wParam);
    if (id <= 0)
        return 0;
    if (auto* view = dynamic_cast<CDVBaseView*>(GetActiveDravikView()))
        view->OnControlNotify(id);
    return 0;
}

LRESULT CMainFrame::OnTabsChanged(WPARAM, LPARAM lParam) {
    if (auto* bar = dynamic_cast<CDVTabToolBar*>(reinterpret_cast<CXTPToolBar*>(lParam)))
        bar->UpdateTabs();
    return 0;
}

LRESULT CMainFrame::On3DRefresh(WPARAM, LPARAM) {
    if (CDVCom_Is3D* module = CDVCom_Is3D::Instance())
        module->RefreshWindows();
    return 0;
}

// A view shows something else (lParam the view). Only the active view, or a view it holds,
// changes what the frame shows; the pointer is compared, never followed, as a view of another
// frame may be gone by now.
LRESULT CMainFrame::OnViewChanged(WPARAM, LPARAM lParam) {
    CView* active = GetActiveDravikView();
    const auto* changed = reinterpret_cast<const CWnd*>(lParam);
    if (active == nullptr || changed == nullptr)
        return 0;
    bool concerns = changed == active;
    for (HWND child = ::GetWindow(active->m_hWnd, GW_CHILD); !concerns && child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        concerns = CWnd::FromHandlePermanent(child) == changed;
    if (!concerns)
        return 0;
    UpdateViewDependentRibbonGroups();
    UpdateViewDependentToolBars();
    CopySelectionModeControls();
    // A model page that is not a 2D document's sheet belongs to the 3D module.
    auto* drawing = dynamic_cast<CDVView*>(active);
    if (drawing != nullptr && drawing->GetViewKind() == 2 && !drawing->QueryState(1))
        if (CDVCom_Is3D* module = CDVCom_Is3D::Instance())
            module->SetActiveDocument(drawing->GetDvwDocument());
    return 0;
}

LRESULT CMainFrame::OnQueryEndSessionMessage(WPARAM, LPARAM) {
    // A running command holds its document open: it ends before the documents are looked at.
    CMDIChildWnd* active = m_hWndMDIClient != nullptr ? MDIGetActive() : nullptr;
    if (auto* document =
            DYNAMIC_DOWNCAST(CDvw32Doc, active != nullptr ? active->GetActiveDocument() : nullptr))
        if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
            proxy->TerminateAllCommands(document, true);
    HWND first = active != nullptr ? ::GetWindow(m_hWndMDIClient, GW_CHILD) : nullptr;
    if (first == nullptr)
        return 1;
    for (HWND child = ::GetWindow(first, GW_HWNDLAST); child != nullptr;
         child = ::GetWindow(child, GW_HWNDPREV)) {
        auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
        CDocument* document = frame != nullptr ? frame->GetActiveDocument() : nullptr;
        if (document != nullptr && document->IsModified()) {
            ::ShutdownBlockReasonCreate(m_hWnd, Dravik::I18n::Translate("unsaved_changes").c_str());
            return 0;
        }
    }
    return 1;
}

// The session really ends: the state is kept as at a last close, but the program is not marked
// safe to exit, so that a document still modified is asked about if the end is called off.
LRESULT CMainFrame::OnEndSessionMessage(WPARAM wParam, LPARAM) {
    MainFrameApplication* app = application();
    if (wParam == 0 || app == nullptr || !app->GetSaveAtExit())
        return 0;
    DravikProfileManager::SaveState();
    if (CDVTabClientWnd* tabs = GetTabClient())
        tabs->SaveState();
    app->SetSaveAtExit(false);
    return 0;
}

// A modal window of the shell disables the frame: the macros' windows and the 3D module's
// follow, and so does every other main frame.
LRESULT CMainFrame::OnEnableMessage(WPARAM wParam, LPARAM) {
    const bool enable = wParam != 0;
    if (IMacroManager* macros = MacroManagerInstance())
        macros->EnableWindows(enable);
    if (CDVCom_Is3D* module = CDVCom_Is3D::Instance())
        module->SetShellDisabled(!enable);
    if (MainFrameApplication* app = application())
        app->EnableMainFrames(enable);
    CWnd::OnEnable(static_cast<BOOL>(wParam));
    return 0;
}

// The frame's own activation: an inactive frame takes its pop-up bar away; an active one is the
// UI module's active frame (the base sees to that), shows its document's state, keeps its
// frameless bars above the views and tells the application's listener.
void CMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    MdiMainFrame::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE) {
        Dravik::UI::PopupToolBar::HidePopupToolBar();
        return;
    }
    if (IsBeingDestroyed())
        return;
    CView* view = GetActiveDravikView();
    if (view != nullptr)
        OnChangeDocumentState(view->GetDocument());
    if (Dravik::UI::FramelessToolBars* frameless = GetFramelessToolBars())
        for (int i = 0; i < frameless->GetCount(); ++i)
            if (CXTPToolBar* bar = frameless->GetAt(i); bar != nullptr && ::IsWindow(bar->m_hWnd))
                ::SetWindowPos(bar->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (MainFrameApplication* app = application())
        app->OnMainWindowActivated(this);
}

// The application comes to the front or goes behind another program.
void CMainFrame::OnActivateApp(BOOL active, DWORD threadId) {
    MainFrameApplication* app = application();
    if (active) {
        if (CDvw32Doc* document = app != nullptr ? app->GetActiveDocument() : nullptr)
            document->SetFlag(kDocFlagApplicationActivated);
    } else {
        // The Alt mode would otherwise wait for a key released in another program.
        MainFrameRouting::Instance().SetAltMode(0);
        if (app != nullptr)
            app->OnMainWindowActivated(nullptr);
    }
    // No space-mouse device manager is part of the program: there is none to switch.
    MdiMainFrame::OnActivateApp(active, threadId);
}

// Files dropped from the shell: the drop is released whatever becomes of the names. Dropped on
// a drawing view they would be inserted as fragments; anywhere else on the frame they open.
void CMainFrame::OnDropFiles(HDROP drop) {
    SetActiveWindow();
    POINT point{};
    ::DragQueryPoint(drop, &point);
    ClientToScreen(&point);
    std::vector<SharedPathName> names;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring name(length + 1, L'\0');
        name.resize(::DragQueryFileW(drop, i, name.data(), length + 1));
        names.emplace_back(name);
    }
    ::DragFinish(drop);
    if (names.empty())
        return;
    for (HWND window = ::WindowFromPoint(point); window != nullptr; window = ::GetParent(window))
        if (dynamic_cast<CDVView*>(CWnd::FromHandlePermanent(window)) != nullptr) {
            DV_NOT_BUILT_YET("dropped files are not inserted into a drawing as fragments");
            return;
        }
    DocInitParams options = DocumentManager::GetDefaultInitParams();
    OpenDocumentFiles(names, options);
}

LRESULT CMainFrame::OnShowWindowMessage(WPARAM, LPARAM) {
    return Default();
}

LRESULT CMainFrame::OnChangingActiveTab(WPARAM, LPARAM) {
    return 0;
}

// The embedded help stays beside the frame wherever the frame goes.
void CMainFrame::OnSize(UINT nType, int cx, int cy) {
    MdiMainFrame::OnSize(nType, cx, cy);
    OnPositionMessage(nType, MAKELPARAM(cx, cy));
}

void CMainFrame::OnMove(int x, int y) {
    MdiMainFrame::OnMove(x, y);
    CRect client;
    GetClientRect(&client);
    OnPositionMessage(IsIconic() ? SIZE_MINIMIZED : SIZE_RESTORED,
                      MAKELPARAM(client.Width(), client.Height()));
}

// Where the frame stands now (the size type and the client size): what keeps its place beside
// the frame, and whoever keeps the frame's placement, hear of it.
LRESULT CMainFrame::OnPositionMessage(WPARAM sizeType, LPARAM size) {
    UpdateEmbeddedHelpPosition(static_cast<UINT>(sizeType), LOWORD(size), HIWORD(size));
    if (MainFrameApplication* app = application())
        app->OnMainFramePlaced(*this);
    return 0;
}

LRESULT CMainFrame::OnToolBarVisibleChanged(WPARAM, LPARAM lParam) {
    auto* bar = reinterpret_cast<CXTPToolBar*>(lParam);
    // While the frame lays its bars out itself (a screen mode, the view's bars), what shows is
    // not the person's choice and is not remembered.
    if (bar == nullptr || m_hidingBars)
        return 0;
    if (Dravik::UI::FramelessToolBars* frameless = GetFramelessToolBars();
        frameless != nullptr && bar->GetCommandBars() == frameless) {
        MoveFramelessToolBars(GetActiveDravikView(), true);
        return 0;
    }
    const bool visible = bar->IsVisible() != FALSE;
    const bool ribbonMode = IsRibbonMode();
    if (!ribbonMode && bar == GetAutoMenuToolBar())
        showClassicAutoMenu = visible;
    if (visible)
        KeepFloatingBarOnScreen(bar);
    if (ribbonMode && visible)
        if (CXTPCommandBars* bars = GetCommandBars(); bars != nullptr && bar == bars->GetMenuBar())
            keepBelowRibbon(*bar, GetRibbonBar());
    UpdateViewDependentToolBars();
    return 0;
}
