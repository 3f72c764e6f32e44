// How a main frame arranges itself: screen modes, workbook and ribbon modes, the analysis
// ribbon, and what follows the active view.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/ChildFrame.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"
#include "panels/DataExchange.h"
#include "panels/StatusLine.h"
#include "xtp/PropExchange.h"

#include <vector>

namespace {

namespace XML = Dravik::UI::XML;

constexpr DWORD kFrameEdges = WS_CAPTION | WS_THICKFRAME;
constexpr DWORD kChildFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT kStyleChange = SWP_FRAMECHANGED | SWP_NOREDRAW | SWP_DEFERERASE;

// The part of the ribbon that holds the analysis ribbons' elements.
// {034C0869-5691-4818-AF01-454EEB76F27E}
constexpr GUID kAnalysisRibbonPart = {
    0x034C0869, 0x5691, 0x4818, {0xAF, 0x01, 0x45, 0x4E, 0xEB, 0x76, 0xF2, 0x7E}};

// The document windows, from the last sibling of the active one backwards.
std::vector<HWND> childFrames(HWND client) {
    std::vector<HWND> children;
    if (client == nullptr)
        return children;
    for (HWND h = ::GetWindow(::GetWindow(client, GW_CHILD), GW_HWNDLAST); h != nullptr;
         h = ::GetWindow(h, GW_HWNDPREV))
        if (dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h)) != nullptr)
            children.push_back(h);
    return children;
}

void hideAllBars(CXTPCommandBars* bars) {
    if (bars == nullptr)
        return;
    for (int i = 0; i < bars->GetCount(); ++i)
        bars->GetAt(i)->SetVisible(FALSE);
}

} // namespace

std::shared_ptr<XML::Document> CMainFrame::MakeLayoutNode(const wchar_t* name) {
    auto node = std::make_shared<XML::Document>();
    node->resetRoot(name);
    return node;
}

void CMainFrame::SaveLayout(const XML::Document& node) {
    CXTPPropExchangeXMLNode exchange(FALSE, node.root());
    ExchangeLayout(&exchange, false, true);
}

void CMainFrame::LoadLayout(const XML::Document& node) {
    if (!node.root())
        return;
    CXTPPropExchangeXMLNode exchange(TRUE, node.root());
    ExchangeLayout(&exchange, false, true);
}

void CMainFrame::CoverMonitor() {
    const CRect area = CXTPMultiMonitor::GetScreenArea(this);
    SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOREDRAW);
}

bool CMainFrame::isStatusLineVisible() {
    return GetStatusLine() != nullptr && GetStatusLine()->m_hWnd != nullptr &&
           GetStatusLine()->IsWindowVisible();
}

void CMainFrame::showStatusLine(bool show) {
    if (GetStatusLine() != nullptr && GetStatusLine()->m_hWnd != nullptr)
        GetStatusLine()->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMainFrame::CloseAllPanes() {
    m_paneManager.CloseAll();
}

bool CMainFrame::SetScreenMode(int mode) {
    if (mode < 0 || mode > 2)
        return false;
    if (mode == m_screenMode)
        return true;
    Dravik::UI::LayoutLock lock(static_cast<Dravik::UI::MainFrame*>(this));

    // What the mode left keeps for its return.
    switch (m_screenMode) {
    case 0:
    case 1: {
        std::shared_ptr<XML::Document> node =
            MakeLayoutNode(m_screenMode == 0 ? L"normalLayout" : L"fullscreenLayout");
        if (!node)
            return false;
        SaveLayout(*node);
        // The status line is no bar of the layout: its state is kept beside it.
        (m_screenMode == 0 ? m_statusLineInWindow : m_statusLineInFullScreen) = isStatusLineVisible();
        if (m_screenMode == 0) {
            m_normalLayout = std::move(node);
            CWnd::GetWindowRect(&m_normalRect);
        } else {
            fullScreenLayout = std::move(node);
        }
        break;
    }
    case 2:
        if (CXTPRibbonBar* ribbon = GetRibbonBar())
            ribbon->SetVisible(IsRibbonMode());
        SetWorkbookMode(m_workbookBeforeCleanScreen, nullptr);
        if (m_tabClient)
            m_tabClient->SetTabsHidden(false);
        break;
    default:
        break;
    }

    const bool ribbonMode = IsRibbonMode();
    CXTPCommandBars* bars = GetCommandBars();
    switch (mode) {
    case 0:
        ModifyStyle(0, kFrameEdges, kStyleChange);
        if (!m_normalRect.IsRectEmpty())
            SetWindowPos(nullptr, m_normalRect.left, m_normalRect.top, m_normalRect.Width(),
                         m_normalRect.Height(), SWP_NOZORDER | SWP_NOREDRAW);
        if (m_normalLayout)
            LoadLayout(*m_normalLayout);
        SetRibbonMode(ribbonMode);
        showStatusLine(m_statusLineInWindow);
        break;
    case 1:
        ModifyStyle(kFrameEdges, 0, kStyleChange);
        if (fullScreenLayout && fullScreenLayout->root()) {
            LoadLayout(*fullScreenLayout);
            SetRibbonMode(ribbonMode);
            showStatusLine(m_statusLineInFullScreen);
        } else if (bars != nullptr) {
            // The first full screen keeps the menu (and outside ribbon mode the system panel
            // and the tabbed bar) and shows them, whichever mode hid them before.
            std::vector<CXTPToolBar*> kept{
                GetRibbonCommandBars() != nullptr ? GetRibbonCommandBars()->GetMenuBar() : nullptr};
            if (!ribbonMode) {
                kept.push_back(GetSystemPanelToolBar());
                if (TabbedMainToolBar* tabbed = GetTabbedMainToolBar())
                    kept.push_back(tabbed->GetToolBar());
            }
            for (int i = 0; i < bars->GetCount(); ++i) {
                CXTPToolBar* bar = bars->GetAt(i);
                bar->SetVisible(std::find(kept.begin(), kept.end(), bar) != kept.end());
            }
            CloseAllPanes();
            showStatusLine(false);
        }
        CoverMonitor();
        break;
    case 2:
        m_workbookBeforeCleanScreen = m_workbook;
        SetWorkbookMode(true, nullptr);
        if (m_tabClient)
            m_tabClient->SetTabsHidden(true);
        m_hidingBars = true;
        if (CXTPRibbonBar* ribbon = GetRibbonBar())
            ribbon->EnableFrameTheme(FALSE);
        hideAllBars(bars);
        hideAllBars(GetAutoMenuCommandBars());
        CloseAllPanes();
        showStatusLine(false);
        m_hidingBars = false;
        ModifyStyle(kFrameEdges, 0, kStyleChange);
        CoverMonitor();
        break;
    default:
        break;
    }

    if (isStatusLineVisible())
        GetStatusLine()->Invalidate();
    m_screenMode = mode;
    UpdateViewDependentToolBars();
    return true;
}

void CMainFrame::SetWorkbookMode(bool on, bool* previous) {
    if (previous != nullptr)
        *previous = m_workbook;
    if (on == m_workbook || m_hWnd == nullptr || m_hWndMDIClient == nullptr)
        return;
    // No document would mean every document's commands.
    auto* active = dynamic_cast<CDvw32Doc*>(GetActiveDocument());
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance(); proxy != nullptr && active != nullptr)
        proxy->TerminateAllCommands(active, true);
    const std::vector<HWND> children = childFrames(m_hWndMDIClient);
    if (!on) {
        if (m_tabClient)
            m_tabClient->Detach();
        for (HWND child : children) {
            CWnd* window = CWnd::FromHandle(child);
            window->ModifyStyle(0, kChildFrameStyles, SWP_FRAMECHANGED);
            window->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
            if (auto* frame = dynamic_cast<Dravik::UI::GenericChildFrame*>(window))
                if (Dravik::UI::Splitter* splitter = frame->GetSplitter();
                    splitter != nullptr && splitter->m_hWnd)
                    splitter->ShowWindow(SW_SHOW);
        }
        ::InvalidateRect(m_hWndMDIClient, nullptr, TRUE);
        for (HWND child : children)
            ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
        ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
        m_maximizeChildren = false;
        if (!m_mdiClient)
            m_mdiClient = std::make_unique<CDVMDIClientWnd>();
        if (m_mdiClient->m_hWnd == nullptr)
            m_mdiClient->SubclassWindow(m_hWndMDIClient);
    } else {
        if (m_mdiClient && m_mdiClient->m_hWnd != nullptr)
            m_mdiClient->UnsubclassWindow();
        CMDIChildWnd* activeChild = MDIGetActive();
        for (HWND child : children) {
            CWnd* window = CWnd::FromHandle(child);
            if (window->IsIconic())
                ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
            window->ModifyStyle(kChildFrameStyles, 0, 0);
            window->ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, 0, SWP_FRAMECHANGED);
            window->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (activeChild != nullptr)
            MDIRestore(activeChild);
        m_maximizeChildren = false;
        if (!m_tabClient)
            m_tabClient = std::make_unique<CDVTabClientWnd>();
        if (m_tabClient->Attach(this, TRUE))
            m_tabClient->SetUp();
    }
    m_workbook = on;
}

void CMainFrame::SetRibbonMode(bool on) {
    Dravik::UI::LayoutLock lock(static_cast<Dravik::UI::MainFrame*>(this));
    if (CDVRibbonCommandBars* bars = GetRibbonCommandBars())
        bars->SetRibbonMode(on);
    if (CXTPToolBar* autoMenu = GetAutoMenuToolBar())
        autoMenu->SetVisible(!on && showClassicAutoMenu);
    // The fixed bars take part in the classic layout only: outside ribbon mode a person may
    // close them and finds them in the bars' menu.
    for (CXTPToolBar* bar : fixedToolBars()) {
        if (bar == nullptr)
            continue;
        bar->SetCloseable(!on);
        bar->SetContextMenuPresent(!on);
    }
    if (CXTPToolBar* panel = GetSystemPanelToolBar())
        panel->SetVisible(!on);
    if (TabbedMainToolBar* tabbed = GetTabbedMainToolBar();
        tabbed != nullptr && tabbed->GetToolBar() != nullptr)
        tabbed->GetToolBar()->SetVisible(!on);
    UpdateViewDependentToolBars();
}

std::vector<CXTPToolBar*> CMainFrame::fixedToolBars() const {
    TabbedMainToolBar* tabbed = GetTabbedMainToolBar();
    return {GetSystemPanelToolBar(),    tabbed != nullptr ? tabbed->GetToolBar() : nullptr,
            GetRememberedToolBar(1065), GetRememberedToolBar(1070),
            GetRememberedToolBar(1063), GetRememberedToolBar(1071)};
}

void CMainFrame::RecalcLayout(BOOL bNotify) {
    if (!m_shown || IsLayoutLocked())
        return;
    MdiMainFrame::RecalcLayout(bNotify);
    // The bars' states follow the new layout. Their own layout is not asked again: it would
    // lay the frame out once more, and so on at every idle time.
    if (m_updatingBars)
        return;
    m_updatingBars = true;
    for (CXTPCommandBars* bars : {GetCommandBars(), GetAutoMenuCommandBars()})
        if (bars != nullptr)
            bars->UpdateCommandBars();
    m_updatingBars = false;
}

void CMainFrame::SetActiveView(CView* view, bool force) {
    CView* previous = GetActiveDravikView();
    CDocument* previousDocument = previous != nullptr ? previous->GetDocument() : nullptr;
    MdiMainFrame::SetActiveView(view, force);
    if (view == previous && !force)
        return;
    CDocument* document = view != nullptr ? view->GetDocument() : nullptr;
    DVRibbonBar* ribbon = GetDVRibbonBar();
    if (ribbon != nullptr) {
        GUID tabs[3] = {};
        DVRibbonBar::GetActiveViewRibbonTabs(view, tabs);
        ribbon->UpdateViewTabs(tabs, true, document);
    }
    UpdateViewDependentRibbonGroups();
    if (ribbon != nullptr)
        ribbon->ForEachControl(
            [view](CXTPControl* control) {
                if (auto* exchange = dynamic_cast<IDataExchange*>(control))
                    exchange->OnActiveViewChanged(view);
            },
            true);
    if (IsBeingDestroyed())
        return;
    auto* drawing = dynamic_cast<CDvw32Doc*>(document);
    if (ribbon != nullptr) {
        if (DVRibbonBackstagePrintPage* page = ribbon->GetPrintPage(false))
            page->SetDocument(drawing);
        if (document != previousDocument)
            ribbon->UpdateContextualTabs(document);
    }
    if (CDVCom_Is3D* module3D = CDVCom_Is3D::Instance())
        module3D->SetActiveDocument(drawing);
    ShowDocumentMessageBars();
    CDVBasicEditEx::ChangePage();
}

bool CMainFrame::SetAnalysisMode(int mode, bool force) {
    if (mode == analysisMode && !force)
        return false;
    if (mode != 1 && mode != 2)
        return false;
    Dravik::UI::LayoutLock lock(static_cast<Dravik::UI::MainFrame*>(this));
    UIModuleProxy::Instance().FilterRibbonPart(GetRibbonBar(), kAnalysisRibbonPart,
                                               [mode](AnalysisRibbonId id) { return id < 1 || id == mode; });
    analysisMode = mode;
    return true;
}

void CMainFrame::SwitchAnalysisMode(int mode) {
    if (!SetAnalysisMode(mode, true))
        analysisMode = mode;
}

DWORD CMainFrame::GetViewTypeMask() {
    DWORD mask = 0;
    CXTPToolBar* panel = GetSystemPanelToolBar();
    if (panel == nullptr || !panel->IsVisible())
        mask |= 2;
    CView* view = GetActiveDravikView();
    auto* drawing = dynamic_cast<CDVView*>(view);
    if (view == nullptr)
        mask |= 16;
    if (drawing != nullptr) {
        const int kind = drawing->GetViewKind();
        if (kind == 1 || drawing->QueryState(1))
            mask |= 4;
        if (drawing->QueryState(2))
            mask |= 8;
        if (kind == 2 && !drawing->QueryState(1))
            mask |= 16;
        if (drawing->QueryState(3))
            mask |= 32;
    }
    if (view != nullptr)
        if (const auto* document = dynamic_cast<const Dravik::DravikDocument2*>(view->GetDocument());
            document != nullptr && document->IsFlagSet(0x10000))
            mask |= 64;
    return mask;
}

void CMainFrame::UpdateViewDependentRibbonGroups() {
    DVRibbonBar* ribbon = GetDVRibbonBar();
    if (ribbon == nullptr)
        return;
    const DWORD mask = GetViewTypeMask();
    ribbon->ForEachGroup([mask](CXTPRibbonGroup* candidate) {
        auto* group = dynamic_cast<Dravik::UI::RibbonGroup*>(candidate);
        const DWORD required = group != nullptr ? group->GetViewTypeRequirement() & ~DWORD(1) : 0;
        if (required != 0)
            group->SetVisible((mask & required) == required);
    });
}

void CMainFrame::ShowDocumentMessageBars() {
    Dravik::UI::LayoutLock lock(static_cast<Dravik::UI::MainFrame*>(this));
    const auto active = reinterpret_cast<std::uint64_t>(
        GetActiveDravikView() != nullptr ? GetActiveDravikView()->GetDocument() : nullptr);
    for (const auto& bar : m_messageBars)
        if (bar->GetValue() != 0 && bar->m_hWnd != nullptr)
            bar->ShowWindow(bar->GetValue() == active ? SW_SHOW : SW_HIDE);
}

void CMainFrame::OnChangeDocumentState(CDocument* document) {
    CView* view = GetActiveDravikView();
    if (view == nullptr || document == nullptr || view->GetDocument() != document)
        return;
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->UpdateContextualTabs(document);
}

CXTPDockingPane* CMainFrame::FindPaneShowing(const CWnd* window, CMainFrame** frame) {
    if (frame != nullptr)
        *frame = nullptr;
    if (window == nullptr || window->m_hWnd == nullptr)
        return nullptr;
    for (CFrameWnd* candidate : UIModuleProxy::Instance().GetMainFrames()) {
        auto* main = dynamic_cast<CMainFrame*>(candidate);
        if (main == nullptr)
            continue;
        for (CXTPDockingPane* pane : main->GetPaneManager().GetPaneList())
            if (pane != nullptr && pane->GetChildHwnd() == window->m_hWnd) {
                if (frame != nullptr)
                    *frame = main;
                return pane;
            }
    }
    return nullptr;
}

void CMainFrame::AttachPaneWindow(CXTPDockingPane* pane) {
    if (pane == nullptr || UIModuleProxy::Instance().GetMainWindow() != this)
        return;
    const int id = pane->GetID();
    if (pane->GetChildHwnd() != nullptr) {
        // The properties pane gives its placeholder up for the real window.
        CWnd* placeholder = id == 1007 ? GetPropertiesWindowPlaceholder(false) : nullptr;
        if (placeholder == nullptr || pane->GetChildHwnd() != placeholder->m_hWnd)
            return;
    }
    CWnd* window = GetDockingPaneWindow(pane);
    if (window == nullptr)
        return;
    CMainFrame* holder = nullptr;
    if (FindPaneShowing(window, &holder) != nullptr && holder != nullptr)
        holder->DetachDockingPaneChildWindow(id, id != 1007);
    Dravik::UI::AttachDockingPaneChild(pane, window);
}
