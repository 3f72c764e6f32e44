// The frame's command table: each row names an id range, its handler and its update handler.
// The table becomes the entries of the frame's routing map, so that the frame answers its
// commands where MFC's routing puts the frame: after the view and the document, before the
// application.
#include "frame/MainFrame.h"

#include "frame/CommandBars.h"
#include "frame/TabToolBar.h"

#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/View.h"
#include "DravikUI/AutoMenu.h"
#include "XTToolkitPro.h"
#include "afxres.h"
#include "panels/StatusLine.h"

#include <vector>

struct CMainFrame::CommandRow {
    UINT first;
    UINT last;
    void (CMainFrame::*run)(UINT);       // null: the row only updates
    void (CMainFrame::*update)(CCmdUI*); // null: MFC's rule (enabled while handled)
};

namespace {

constexpr UINT kFirstToolBarToggle = 700;
constexpr UINT kClassicAutoMenu = 800, kStatusLine = 801, kSystemPanel = 802, kRulers = 803, kPageTabs = 804;
constexpr UINT kWorkbook = 805, kRibbonMode = 806, kTabbedToolBar = 807, kLockPanes = 903;
constexpr UINT kShowTabs = 1067, kLockTabs = 1123, kShowPrompts = 1126, kLargeIcons = 1221;
constexpr UINT kUserTools = 1215, kFullScreen = 1254, kCleanScreen = 2814;
constexpr UINT kFirstMoveToFrame = 3450, kFirstTab = 7000, kCustomize = 35001, kCustomizeKeyboard = 9607;
constexpr UINT kFirstUserCommand = 37000, kLastUserCommand = 37999;
// The tabbed tool bar's two drawing tabs.
constexpr GUID kSheetDrawingTab = {
    0x921ACC19, 0x6449, 0x482A, {0x8E, 0x3E, 0xF5, 0xCF, 0xB8, 0x22, 0x5D, 0xAB}};
constexpr GUID kModelDrawingTab = {
    0x7E18D530, 0xB63A, 0x4B30, {0x90, 0xF7, 0x2A, 0xBE, 0xC8, 0x36, 0xDD, 0xD0}};
// Heard by whoever follows the docking panes' lock.
constexpr int kPanesLockChangedEvent = 1043;

} // namespace

std::span<const CMainFrame::CommandRow> CMainFrame::CommandTable() {
    // clang-format off
    static const CommandRow kCommandTable[] = {
        {700,   749,   &CMainFrame::ToggleToolBarAt,       &CMainFrame::OnUpdateToolBarAt},
        {781,   799,   &CMainFrame::OnPaneCommand,         &CMainFrame::OnUpdatePaneCommand},
        {811,   826,   &CMainFrame::OnPaneCommand,         &CMainFrame::OnUpdatePaneCommand},
        {800,   802,   &CMainFrame::OnFrameToggle,         &CMainFrame::OnUpdateFrameToggle},
        {803,   804,   &CMainFrame::OnFrameToolsCommand,   &CMainFrame::OnUpdateFrameToolsCommand},
        {805,   807,   &CMainFrame::OnFrameToggle,         &CMainFrame::OnUpdateFrameToggle},
        {903,   903,   &CMainFrame::OnFrameToggle,         &CMainFrame::OnUpdateFrameToggle},
        {1067,  1067,  &CMainFrame::OnTabToolBarOption,    &CMainFrame::OnUpdateTabToolBarOption},
        {1123,  1123,  &CMainFrame::OnTabToolBarOption,    &CMainFrame::OnUpdateTabToolBarOption},
        {1126,  1126,  &CMainFrame::OnTabToolBarOption,    &CMainFrame::OnUpdateTabToolBarOption},
        {1221,  1221,  &CMainFrame::OnTabToolBarOption,    &CMainFrame::OnUpdateTabToolBarOption},
        {1075,  1075,  &CMainFrame::OnNothing,             nullptr},
        {1122,  1122,  &CMainFrame::OnNothing,             nullptr},
        {2045,  2045,  &CMainFrame::OnNothing,             nullptr},
        {1202,  1202,  nullptr,                            &CMainFrame::OnUpdateEnabled},
        {1215,  1215,  &CMainFrame::OnFrameToolsCommand,   nullptr},
        {1254,  1254,  &CMainFrame::OnScreenModeCommand,   &CMainFrame::OnUpdateScreenModeCommand},
        {2814,  2814,  &CMainFrame::OnScreenModeCommand,   &CMainFrame::OnUpdateScreenModeCommand},
        {2929,  2930,  &CMainFrame::OnPdmCommand,          &CMainFrame::OnUpdatePdmCommand},
        {2938,  2938,  &CMainFrame::OnPdmCommand,          &CMainFrame::OnUpdatePdmCommand},
        {3450,  3499,  &CMainFrame::OnMoveToMainFrame,     nullptr},
        {7000,  7199,  &CMainFrame::OnSelectTab,           &CMainFrame::OnUpdateSelectTab},
        {1601,  1601,  &CMainFrame::OnHelpCommand,         nullptr},
        {9607,  9607,  &CMainFrame::OnFrameToolsCommand,   nullptr},
        {35001, 35001, &CMainFrame::OnFrameToolsCommand,   nullptr},
        {37000, 37999, &CMainFrame::OnFrameToolsCommand,   &CMainFrame::OnUpdateFrameToolsCommand},
        {57669, 57670, &CMainFrame::OnHelpCommand,         nullptr},
        {61217, 61217, &CMainFrame::OnWindowList,          nullptr},
        {65280, 65289, nullptr,                            &CMainFrame::OnUpdateWindowListItem},
    };
    // clang-format on
    return kCommandTable;
}

const CMainFrame::CommandRow* CMainFrame::FindCommandRow(UINT id, bool update) {
    for (const CommandRow& row : CommandTable())
        if (id >= row.first && id <= row.last && (update ? row.update != nullptr : row.run != nullptr))
            return &row;
    return nullptr;
}

namespace {

MainFrameApplication* application() {
    return MainFrameApplication::Instance();
}

// Shows or hides a tool bar of the frame and lays the frame out again.
void toggleBar(CXTPToolBar* bar) {
    if (bar == nullptr)
        return;
    bar->SetVisible(!bar->IsVisible());
    if (CFrameWnd* site =
            dynamic_cast<CFrameWnd*>(bar->GetCommandBars() ? bar->GetCommandBars()->GetSite() : nullptr))
        site->RecalcLayout();
}

// The frame's list of document windows. In workbook mode the tabs arrange the windows, so the
// buttons that cascade, tile and minimise them are not offered; only a document's window can be
// closed from the list.
class CDVWindowList : public CXTPWindowList {
public:
    CDVWindowList(CMDIFrameWnd* frame, bool workbook) : CXTPWindowList(frame), workbook_(workbook) {}

    BOOL OnInitDialog() override {
        const BOOL result = CXTPWindowList::OnInitDialog();
        if (workbook_)
            for (CButton* button : {&m_btnCascade, &m_btnTileHorz, &m_btnTileVert, &m_btnMinimize})
                if (::IsWindow(button->m_hWnd))
                    button->ShowWindow(SW_HIDE);
        UpdateButtons();
        return result;
    }
    void UpdateButtons() override {
        CXTPWindowList::UpdateButtons();
        bool document = false;
        for (HWND window : GetWindows())
            if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(window)))
                document = document || DYNAMIC_DOWNCAST(CDvw32Doc, frame->GetActiveDocument()) != nullptr;
        if (::IsWindow(m_btnClose.m_hWnd))
            m_btnClose.EnableWindow(document);
    }

private:
    bool workbook_;
};

} // namespace

const AFX_MSGMAP* CMainFrame::GetCommandTableMap() {
    using Row = CommandRow;
    static const std::vector<AFX_MSGMAP_ENTRY> entries = [] {
        std::vector<AFX_MSGMAP_ENTRY> out;
        for (const Row& row : CommandTable()) {
            if (row.run != nullptr)
                out.push_back(
                    {WM_COMMAND, CN_COMMAND, row.first, row.last, nullptr, &CMainFrame::RunCommandRow});
            if (row.update != nullptr)
                out.push_back({WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), row.first, row.last,
                               nullptr, &CMainFrame::UpdateCommandRow});
        }
        out.push_back({0, 0, 0, 0, nullptr, nullptr});
        return out;
    }();
    static const AFX_MSGMAP map = {&Dravik::UI::MdiMainFrame::GetThisMessageMap, entries.data()};
    return &map;
}

bool CMainFrame::RunCommandRow(CCmdTarget& target, AFX_CALL& call) {
    const CommandRow* row = FindCommandRow(call.nID, false);
    if (row == nullptr)
        return false;
    (static_cast<CMainFrame&>(target).*(row->run))(call.nID);
    return true;
}

bool CMainFrame::UpdateCommandRow(CCmdTarget& target, AFX_CALL& call) {
    const CommandRow* row = FindCommandRow(call.nID, true);
    auto* ui = static_cast<CCmdUI*>(call.pExtra);
    if (row == nullptr || ui == nullptr)
        return false;
    ui->m_bContinueRouting = FALSE;
    (static_cast<CMainFrame&>(target).*(row->update))(ui);
    const bool handled = !ui->m_bContinueRouting;
    ui->m_bContinueRouting = FALSE;
    return handled;
}

CDVTabToolBar* CMainFrame::GetTabToolBar() const {
    return m_tabbedBarAdapter ? m_tabbedBarAdapter->GetTabToolBar() : nullptr;
}

// 700-749: the bars the list popup showed, by their place in it.
void CMainFrame::ToggleToolBarAt(UINT id) {
    auto* bars = dynamic_cast<CDVCommandBars*>(GetCommandBars());
    const UINT barId = bars != nullptr ? bars->GetListedBarId(id) : 0;
    if (barId != 0)
        toggleBar(bars->GetToolBar(barId));
}

void CMainFrame::OnUpdateToolBarAt(CCmdUI* ui) {
    auto* bars = dynamic_cast<CDVCommandBars*>(GetCommandBars());
    const UINT barId = bars != nullptr ? bars->GetListedBarId(ui->m_nID) : 0;
    CXTPToolBar* bar = barId != 0 ? bars->GetToolBar(barId) : nullptr;
    ui->SetCheck(bar != nullptr && bar->IsVisible() ? 1 : 0);
}

void CMainFrame::OnPaneCommand(UINT id) {
    SelectPaneForCommand(id);
}

void CMainFrame::OnUpdatePaneCommand(CCmdUI* ui) {
    if (UpdatePdmPaneItem(ui))
        return;
    CXTPDockingPane* pane = FindPaneByCommand(ui->m_nID);
    ui->Enable(pane != nullptr);
    ui->SetCheck(pane != nullptr && !pane->IsClosed() ? 1 : 0);
}

void CMainFrame::OnFrameToggle(UINT id) {
    MainFrameApplication* app = application();
    switch (id) {
    case kClassicAutoMenu:
        if (!IsRibbonMode())
            toggleBar(GetAutoMenuToolBar());
        break;
    case kStatusLine:
        if (CStatusLine* status = GetStatusLine(); status != nullptr && ::IsWindow(status->m_hWnd))
            ShowControlBar(status, !status->IsVisible(), FALSE);
        break;
    case kSystemPanel:
        toggleBar(GetSystemPanelToolBar());
        break;
    case kWorkbook:
        if (GetScreenMode() != 2)
            SetWorkbookMode(!IsWorkbookMode());
        break;
    case kRibbonMode:
        if (app != nullptr)
            app->SetRibbonMode(!app->IsRibbonMode());
        break;
    case kTabbedToolBar:
        toggleBar(GetTabToolBar());
        break;
    case kLockPanes: {
        const NativeSettings::Settings before = GetSettings();
        GetSettings().lockDockingPanes = !GetSettings().lockDockingPanes;
        // The lock is the settings' own, so every main frame's panes follow it.
        UIModuleProxy::Instance().ForEachMainFrame([](CFrameWnd* frame) {
            if (auto* main = DYNAMIC_DOWNCAST(CMainFrame, frame))
                main->ApplyDockingPanesLock();
        });
        if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
            annotate->OnChangeSettings(before);
        ApplicationEventManager::runEvent(
            kPanesLockChangedEvent,
            ApplicationEventArgs(app != nullptr ? app->GetActiveDocument() : nullptr));
        break;
    }
    default:
        break;
    }
}

void CMainFrame::OnUpdateFrameToggle(CCmdUI* ui) {
    MainFrameApplication* app = application();
    const auto barState = [ui](CXTPToolBar* bar) {
        ui->Enable(bar != nullptr);
        ui->SetCheck(bar != nullptr && bar->IsVisible() ? 1 : 0);
    };
    switch (ui->m_nID) {
    case kClassicAutoMenu: {
        CXTPToolBar* bar = GetAutoMenuToolBar();
        ui->Enable(!IsRibbonMode() && bar != nullptr);
        ui->SetCheck(bar != nullptr && bar->IsVisible() ? 1 : 0);
        break;
    }
    case kStatusLine: {
        CStatusLine* status = GetStatusLine();
        const bool exists = status != nullptr && ::IsWindow(status->m_hWnd);
        ui->Enable(exists);
        ui->SetCheck(exists && status->IsVisible() ? 1 : 0);
        break;
    }
    case kSystemPanel:
        barState(GetSystemPanelToolBar());
        break;
    case kWorkbook:
        ui->Enable(GetScreenMode() != 2);
        ui->SetCheck(IsWorkbookMode() ? 1 : 0);
        break;
    case kRibbonMode:
        ui->SetCheck(app != nullptr && app->IsRibbonMode() ? 1 : 0);
        break;
    case kTabbedToolBar:
        barState(GetTabToolBar());
        break;
    case kLockPanes:
        ui->SetCheck(GetSettings().lockDockingPanes ? 1 : 0);
        break;
    default:
        break;
    }
}

void CMainFrame::OnTabToolBarOption(UINT id) {
    CDVTabToolBar* bar = GetTabToolBar();
    if (bar == nullptr)
        return;
    switch (id) {
    case kShowTabs:
        bar->ShowTabs(!bar->IsTabsVisible());
        break;
    case kLockTabs:
        bar->SetLocked(!bar->IsLocked());
        break;
    case kShowPrompts:
        bar->SetShowPrompts(!bar->IsShowPrompts());
        break;
    case kLargeIcons:
        bar->SetLargeIcons(!bar->IsLargeIcons());
        break;
    default:
        break;
    }
    if (id == kShowTabs || id == kShowPrompts)
        if (CXTPCommandBars* bars = GetCommandBars())
            bars->RecalcFrameLayout();
}

void CMainFrame::OnUpdateTabToolBarOption(CCmdUI* ui) {
    CDVTabToolBar* bar = GetTabToolBar();
    bool on = false;
    if (bar != nullptr)
        switch (ui->m_nID) {
        case kShowTabs:
            on = bar->IsTabsVisible() != FALSE;
            break;
        case kLockTabs:
            on = bar->IsLocked();
            break;
        case kShowPrompts:
            on = bar->IsShowPrompts();
            break;
        case kLargeIcons:
            on = bar->IsLargeIcons();
            break;
        default:
            break;
        }
    ui->SetCheck(on ? 1 : 0);
    if (ui->m_nID == kLargeIcons) {
        const CXTPCommandBars* bars = GetCommandBars();
        const CXTPCommandBarsOptions* options = bars != nullptr ? bars->GetCommandBarsOptions() : nullptr;
        ui->Enable(options != nullptr && options->bLargeIcons);
    }
}

void CMainFrame::OnUpdateEnabled(CCmdUI* ui) {
    ui->Enable(TRUE);
}

void CMainFrame::OnScreenModeCommand(UINT id) {
    const int mode = id == kFullScreen ? 1 : 2;
    SetScreenMode(GetScreenMode() == mode ? 0 : mode);
}

void CMainFrame::OnUpdateScreenModeCommand(CCmdUI* ui) {
    ui->SetCheck(GetScreenMode() == (ui->m_nID == kFullScreen ? 1 : 2) ? 1 : 0);
}

// 3450-3499: the active document window goes to the main frame of that place in the list.
void CMainFrame::OnMoveToMainFrame(UINT id) {
    std::vector<CMainFrame*> frames;
    for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
        if (auto* main = dynamic_cast<CMainFrame*>(frame))
            frames.push_back(main);
    const size_t index = id - kFirstMoveToFrame;
    if (index < frames.size())
        MoveChildFrameTo(frames[index], MDIGetActive());
}

// 7000-7199: a tab of the tabbed tool bar; without that bar or past its last tab nothing.
void CMainFrame::OnSelectTab(UINT id) {
    CDVTabToolBar* bar = GetTabToolBar();
    const int index = static_cast<int>(id - kFirstTab);
    if (bar == nullptr || index >= bar->GetCategoryCount())
        return;
    bar->SelectCategory(index);
    // Over a sheet the drawing tabs say how the kernel draws: the sheet's own tab or the
    // model's.
    auto* view = dynamic_cast<CDVView*>(GetActiveDravikView());
    if (view == nullptr || !view->QueryState(1))
        return;
    const GUID tab = bar->GetGUID(bar->GetTabManager()->GetItem(index));
    if (tab == kSheetDrawingTab)
        GetOptions().drawingTabMode = 0;
    else if (tab == kModelDrawingTab)
        GetOptions().drawingTabMode = 1;
}

void CMainFrame::OnUpdateSelectTab(CCmdUI* ui) {
    CDVTabToolBar* bar = GetTabToolBar();
    const int index = static_cast<int>(ui->m_nID - kFirstTab);
    const bool selected = bar != nullptr && index < bar->GetCategoryCount() &&
                          bar->GetSelectedCategory() != nullptr &&
                          bar->GetSelectedCategory()->GetIndex() == index;
    ui->SetCheck(selected ? 1 : 0);
}

void CMainFrame::OnWindowList(UINT) {
    CDVWindowList list(this, IsWorkbookMode());
    list.DoModal();
}

// Help (57670), context help (57669) and 1601 all show the help of where the person is.
void CMainFrame::OnHelpCommand(UINT) {
    if (MainFrameApplication* app = application())
        app->ShowContextHelp();
}

// An item of the window list keeps its text, written again as the part before its first
// space, one space and the rest.
void CMainFrame::OnUpdateWindowListItem(CCmdUI* ui) {
    if (ui->m_pMenu == nullptr)
        return;
    CString text;
    ui->m_pMenu->GetMenuString(ui->m_nIndex, text, MF_BYPOSITION);
    const int space = text.Find(L' ');
    if (text.IsEmpty() || space < 0)
        return;
    ui->SetText(text.Left(space) + L" " + text.Mid(space + 1));
}

void CMainFrame::OnFrameToolsCommand(UINT id) {
    if (id >= kFirstUserCommand && id <= kLastUserCommand)
        OnUserCommand(id);
    else if (id == kRulers)
        OnShowRulers();
    else if (id == kPageTabs)
        OnTabs();
    else if (id == kUserTools)
        OnUserTools();
    else if (id == kCustomize)
        ShowCustomizeDialog(0);
    else if (id == kCustomizeKeyboard)
        ShowCustomizeDialog(2);
}

void CMainFrame::OnUpdateFrameToolsCommand(CCmdUI* ui) {
    if (ui->m_nID == kRulers)
        OnUpdateShowRulers(ui);
    else if (ui->m_nID == kPageTabs)
        OnUpdateTabs(ui);
    else
        OnUpdateUserCommand(ui);
}
