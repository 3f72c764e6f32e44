// The kernel's tool windows and the add-ons' cliparts: the application's pane windows (made on
// demand unless the row says otherwise) and the panes of the main frame that show them. Pane
// classes the program does not have yet answer neutrally through DV_NOT_BUILT_YET.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "frame/MainFrame.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/GlobalContainer.h"
#include "XTToolkitPro.h"
#include "docbrowser/Clipart.h"

namespace {

// The pane of the main frame that shows an add-on's clipart; null when there is none.
CXTPDockingPane* ClipartPane(const std::wstring& key, int id) {
    ApplicationClipart* clipart = FindApplicationClipart(key, id);
    return clipart != nullptr ? CMainFrame::FindPaneShowing(clipart, nullptr) : nullptr;
}

CWnd* FloatingFrameOf(CXTPDockingPane* pane) {
    if (pane == nullptr || !pane->IsFloating())
        return nullptr;
    CXTPDockingPaneTabbedContainer* tabs = pane->GetTabbedContainer();
    return tabs != nullptr ? dynamic_cast<CXTPDockingPaneMiniWnd*>(tabs->GetContainer()) : nullptr;
}

// Whether the main frame's pane of a command exists and is open.
bool IsPaneOfCommandOpen(UINT command) {
    CMainFrame* frame = GetMainFrame();
    CXTPDockingPane* pane = frame != nullptr ? frame->FindPaneByCommand(command) : nullptr;
    return pane != nullptr && !pane->IsClosed();
}

} // namespace

// --- the application's pane windows ---

void ServerAppProxy::UpdateMaterialWindow() {
    if (CWnd* window = app_.GetMaterialWindow(false))
        window->Invalidate();
}

// The overview's view is the window of its pane until the overview has a view class of its own.
CWnd* ServerAppProxy::GetBirdsEyeView() {
    return app_.GetBirdsEyeViewWindow(true);
}

void ServerAppProxy::SetBirdsEyeViewActiveView(CView*) {
    app_.GetBirdsEyeViewWindow(true);
    DV_NOT_BUILT_YET("the overview pane's view");
}

void ServerAppProxy::UpdateBirdsEyeViewArea() {
    app_.GetBirdsEyeViewWindow(true);
    DV_NOT_BUILT_YET("the overview pane's view");
}

// Only an overview that exists and whose pane is open is redrawn; none is made for it.
void ServerAppProxy::RedrawBirdsEyeView() {
    CWnd* window = app_.GetBirdsEyeViewWindow(false);
    if (window == nullptr)
        return;
    CXTPDockingPane* pane = CMainFrame::FindPaneShowing(window, nullptr);
    if (pane == nullptr || !pane->IsClosed())
        window->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

CWnd* ServerAppProxy::GetConfigurationsControl() {
    return app_.GetConfigurationsWindow(true);
}

CWnd* ServerAppProxy::GetWeldTreeWindow() {
    return app_.GetWeldTreeWindow(true);
}

CWnd* ServerAppProxy::GetMaterialWindow() {
    return app_.GetMaterialWindow(true);
}

void ServerAppProxy::ReloadMaterialWindow() {
    if (CWnd* window = app_.GetMaterialWindow(true))
        window->Invalidate();
}

CWnd* ServerAppProxy::GetProductStructureWindow() {
    return app_.GetProductStructureWindow(true);
}

bool ServerAppProxy::SelectWorkmixPosition(const std::function<bool(const std::wstring&)>&) {
    if (app_.GetOrsaAssemblyWindow(false, true) == nullptr)
        return false;
    DV_NOT_BUILT_YET("choosing a position of the work mix");
    return false;
}

CWnd* ServerAppProxy::GetModelTreeWindow() {
    return app_.GetModelTreeWindow(true);
}

CWnd* ServerAppProxy::GetTaskWindow() {
    return app_.GetTaskWindow(true);
}

CWnd* ServerAppProxy::GetFeaResultParametersWindow() {
    return app_.GetFeaResultParametersWindow(true);
}

CWnd* ServerAppProxy::GetNcWindow() {
    return app_.GetNcWindow(true);
}

CWnd* ServerAppProxy::GetStructureElementsWindow() {
    return app_.GetStructureElementsWindow(true);
}

CWnd* ServerAppProxy::GetCamWindow() {
    return app_.GetCamWindow(true);
}

void ServerAppProxy::SelectPaneForCommand790() {
    if (CMainFrame* frame = GetMainFrame())
        frame->SelectPaneForCommand(790);
}

bool ServerAppProxy::IsPaneForCommand790Open() {
    return IsPaneOfCommandOpen(790);
}

void ServerAppProxy::SelectPaneForCommand826() {
    if (CMainFrame* frame = GetMainFrame())
        frame->SelectPaneForCommand(826);
}

bool ServerAppProxy::IsPaneForCommand826Open() {
    return IsPaneOfCommandOpen(826);
}

CWnd* ServerAppProxy::GetErrorWindow() {
    return app_.GetErrorWindow(false);
}

CWnd* ServerAppProxy::GetDiagnosticsWindow() {
    DV_NOT_BUILT_YET("the diagnostics window");
    return nullptr;
}

// --- PDM panes ---

void ServerAppProxy::OnChangeOrsaRepositoryItemStates(const std::vector<std::wstring>&) {
    if (app_.GetAssemblyStructureWindow(false) != nullptr)
        DV_NOT_BUILT_YET("the assembly structure's item states");
}

void ServerAppProxy::OnChangeVisualItemStates(const std::vector<std::wstring>&) {
    if (app_.GetAssemblyStructureWindow(false) != nullptr || app_.GetModelElementsWindow(false) != nullptr)
        DV_NOT_BUILT_YET("the assembly structure's and model elements' item states");
}

void ServerAppProxy::NotifyOrsaExplorer(int) {
    if (app_.GetOrsaArchivesWindow(false, true) != nullptr)
        DV_NOT_BUILT_YET("the PDM archives' explorer");
}

// --- add-ons' cliparts ---

// Only while the add-on makes its tools; a clipart the add-on has not got yet comes with the
// clipart machinery of add-ons.
bool ServerAppProxy::ShowApplicationClipart(const std::wstring& key, int id, const std::wstring&) {
    if (!GlobalContainer::Instance().InAppCreateToolsMode())
        return false;
    CXTPDockingPane* pane = ClipartPane(key, id);
    if (pane == nullptr) {
        DV_NOT_BUILT_YET("making an add-on's clipart");
        return false;
    }
    pane->Select();
    return true;
}

bool ServerAppProxy::OpenModelTreeClipart(std::wstring name) {
    const std::wstring consumed = std::move(name);
    DV_NOT_BUILT_YET("the model tree's clipart");
    return false;
}

bool ServerAppProxy::IsApplicationClipartVisible(const std::wstring& key, int id) {
    CXTPDockingPane* pane = ClipartPane(key, id);
    return pane != nullptr && !pane->IsClosed() && !pane->IsHidden();
}

void ServerAppProxy::SetApplicationClipartVisible(const std::wstring& key, int id, bool show) {
    CXTPDockingPane* pane = ClipartPane(key, id);
    if (pane == nullptr)
        return;
    if (show)
        pane->Select();
    else if (!pane->IsClosed())
        pane->Close();
    DV_NOT_BUILT_YET("storing the cliparts' view state");
}

void ServerAppProxy::SetApplicationClipartTitle(const std::wstring& key, int id, const std::wstring& title) {
    if (CXTPDockingPane* pane = ClipartPane(key, id)) {
        pane->SetTitle(title.c_str());
        pane->SetTabCaption(title.c_str());
    }
}

void ServerAppProxy::SetApplicationClipartSvgIcon(const std::wstring& key, int id, const void*,
                                                  std::uint64_t) {
    if (ClipartPane(key, id) != nullptr)
        DV_NOT_BUILT_YET("an add-on clipart's icon");
}

void ServerAppProxy::SetApplicationClipartIconId(const std::wstring& key, int id, UINT iconId) {
    if (CXTPDockingPane* pane = ClipartPane(key, id))
        pane->SetIconID(static_cast<int>(iconId));
}

void ServerAppProxy::SetApplicationClipartIcon(const std::wstring& key, int id, HICON) {
    if (ClipartPane(key, id) != nullptr)
        DV_NOT_BUILT_YET("an add-on clipart's icon");
}

// Only a floating clipart moves, and only its rectangle is answered.
void ServerAppProxy::MoveApplicationClipart(const std::wstring& key, int id, const RECT& rect) {
    if (CWnd* floating = FloatingFrameOf(ClipartPane(key, id)))
        floating->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

bool ServerAppProxy::GetApplicationClipartRect(const std::wstring& key, int id, RECT& rect) {
    CWnd* floating = FloatingFrameOf(ClipartPane(key, id));
    if (floating == nullptr)
        return false;
    CRect window;
    floating->GetWindowRect(window);
    rect = window;
    return true;
}

bool ServerAppProxy::IsClipartId(int id) {
    if (id < 11000 || id > 20999)
        return false;
    CClipartView* clipart = FindClipartById(id);
    return clipart != nullptr && clipart->IsApplicationClipart();
}

bool ServerAppProxy::ShowExpandedFormClipart(DVPaneForm*) {
    DV_NOT_BUILT_YET("the expanded form's clipart");
    return false;
}

void ServerAppProxy::CloseExpandedFormClipart(DVPaneForm*) {
    DV_NOT_BUILT_YET("the expanded form's clipart");
}
