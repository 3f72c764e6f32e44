// The kernel's requests to the main frames: a frame it names (another window counts as none)
// or the application's main frame; its bars, message bars, backstage and customise sheet.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "frame/MainFrame.h"
#include "frame/TabToolBar.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/MessageBar.h"
#include "DravikUI/TabbableToolBar.h"
#include "XTToolkitPro.h"
#include "panels/DataExchange.h"
#include "panels/StatusLine.h"
#include "ribbon/RibbonBackstage.h"
#include "ribbon/RibbonBar.h"

#include <utility>

namespace {

// The backstage tab that holds the print page (its page is given to it when the backstage
// first opens, so the tab is found by its id alone).
constexpr UINT kPrintBackstageTab = 57607;

// The frame a request names: the window as a main frame (null for another window), or the
// application's main frame when no window is given.
CMainFrame* FrameOrMain(CWnd* window) {
    return window != nullptr ? DYNAMIC_DOWNCAST(CMainFrame, window) : GetMainFrame();
}

// The ribbon of a main frame in ribbon mode; null otherwise.
DVRibbonBar* RibbonOf(CWnd* window) {
    CMainFrame* frame = FrameOrMain(window);
    if (frame == nullptr || !frame->IsRibbonMode())
        return nullptr;
    return frame->GetDVRibbonBar();
}

} // namespace

// --- the system panel ---

// The selected object's id lies in control 2041; the document's 3D objects come with the 3D
// model, so an id that names one still finds none.
void* ServerAppProxy::GetSyspanelSelected3DObject() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return nullptr;
    const std::optional<SysPanelValue> value = frame->GetSyspanelControlValue(2041);
    if (!value || value->Integer == 0 || value->Integer == -1)
        return nullptr;
    DV_NOT_BUILT_YET("the active document's 3D objects");
    return nullptr;
}

std::int32_t ServerAppProxy::GetSyspanelControl2042() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return 2;
    const std::optional<SysPanelValue> value = frame->GetSyspanelControlValue(2042);
    return value ? value->Integer : 2;
}

// --- the frames ---

CXTPRibbonBar* ServerAppProxy::GetFrameRibbonBar(CWnd* window) {
    CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, window);
    return frame != nullptr ? frame->GetRibbonBar() : nullptr;
}

StatusLineProxy* ServerAppProxy::GetFrameStatusLine(CWnd* window) {
    CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, window);
    return frame != nullptr ? frame->GetStatusLine() : nullptr;
}

StatusLineProxy* ServerAppProxy::GetStatusLine() {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr ? frame->GetStatusLine() : nullptr;
}

CXTPCommandBars* ServerAppProxy::GetFrameCommandBars(CWnd* window) {
    CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, window);
    return frame != nullptr ? frame->GetCommandBars() : nullptr;
}

// The part of the main window the kernel asks for is the frame it shows active.
CWnd* ServerAppProxy::GetMainWindowPart() {
    auto* main = DYNAMIC_DOWNCAST(CFrameWnd, UIModuleProxy::Instance().GetMainWindow());
    return main != nullptr ? main->GetActiveFrame() : nullptr;
}

void* ServerAppProxy::GetFrameObjectA() {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr ? frame->GetManipPanel(1) : nullptr;
}

void* ServerAppProxy::GetFrameObjectB() {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr ? frame->GetManipPanel(2) : nullptr;
}

CWnd* ServerAppProxy::NewMainFrame() {
    app_.BeginWaitCursor();
    CMainFrame* current = GetMainFrame();
    CMainFrame* made =
        current != nullptr ? current->Clone() : CMainFrame::CreateFromState(nullptr, true, true);
    if (made != nullptr) {
        made->ShowFirstTime();
        made->ActivateFrame();
    }
    app_.EndWaitCursor();
    return made;
}

bool ServerAppProxy::SetAnalysisMode(CWnd* window, int mode) {
    CMainFrame* frame = FrameOrMain(window);
    return frame != nullptr && frame->SetAnalysisMode(mode, false);
}

bool ServerAppProxy::GetFrameInterfaceSettings(CWnd* window, FrameInterfaceSettings& settings) {
    CMainFrame* frame = FrameOrMain(window);
    if (frame == nullptr)
        return false;
    settings.analysisMode = frame->GetAnalysisMode();
    settings.ribbonMinimizedWindowed = frame->IsRibbonMinimizedInWindowedMode() ? 1 : 0;
    settings.ribbonMinimizedFullScreen = frame->IsRibbonMinimizedInFullscreenMode() ? 1 : 0;
    return true;
}

// --- bars ---

void ServerAppProxy::SetDefaultSystemToolbar(int kind, const Dravik::UniqueIdentifier& tab) {
    Dravik::UI::TabbableToolBar::SetDefaultSystemToolbar(kind, UniqueIdentifierToGuid(tab));
}

void ServerAppProxy::RedrawCommandBars() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->GetCommandBars() == nullptr)
        return;
    frame->GetCommandBars()->RecalcFrameLayout();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ServerAppProxy::SetCameras(const std::vector<std::wstring>&) {
    if (GetMainFrame() != nullptr)
        DV_NOT_BUILT_YET("the camera controls of the command bars");
}

void ServerAppProxy::UpdateCommandBarControls(std::int64_t) {
    if (GetMainFrame() != nullptr)
        DV_NOT_BUILT_YET("the controls that take a value from the kernel");
}

// The kernel's request opens the ribbon page with the item it names selected.
void ServerAppProxy::ShowCustomizeDialog(int kind, void* item, bool flag, CWnd* window) {
    constexpr int kRibbonPage = 2;
    if (CMainFrame* frame = FrameOrMain(window))
        frame->ShowCustomizeDialog(kRibbonPage, CFrameToolsEngine::CustomizeTarget{kind, item, flag});
}

// --- message bars ---

Dravik::UI::MessageBar* ServerAppProxy::ShowMessageBar(int imageId, const std::wstring& title,
                                                       const std::wstring& text, std::uint64_t value) {
    return ShowMessageBarWithButtons(imageId, title, text, value, {}, {});
}

Dravik::UI::MessageBar*
ServerAppProxy::ShowMessageBarWithButtons(int imageId, const std::wstring& title, const std::wstring& text,
                                          std::uint64_t value, const std::vector<MessageBarButton>& buttons,
                                          std::function<void(UINT)> pressed) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return nullptr;
    std::vector<Dravik::UI::MessageBar::Button> own;
    own.reserve(buttons.size());
    for (const MessageBarButton& button : buttons)
        own.push_back({button.id, button.caption, button.toolTip});
    Dravik::UI::MessageBar::Callback callback;
    if (pressed)
        callback = [pressed = std::move(pressed)](Dravik::UI::MessageBar&, UINT id) { pressed(id); };
    const unsigned id = frame->ShowMessageBar(imageId, title, text, value, own, std::move(callback), true);
    return id != 0 ? frame->FindMessageBar(id) : nullptr;
}

bool ServerAppProxy::IsValidMessageBar(const Dravik::UI::MessageBar* bar) {
    if (bar == nullptr)
        return false;
    for (CMainFrame* frame : CDvw32App::GetMainFrames())
        if (frame->IsValidMessageBar(bar))
            return true;
    return false;
}

unsigned ServerAppProxy::GetMessageBarId(const Dravik::UI::MessageBar* bar) {
    return bar != nullptr ? bar->GetId() : 0;
}

std::uint64_t ServerAppProxy::GetMessageBarUserData(const Dravik::UI::MessageBar* bar) {
    return IsValidMessageBar(bar) ? bar->GetValue() : 0;
}

void ServerAppProxy::CloseMessageBar(unsigned id) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->CloseMessageBar(id); });
}

void ServerAppProxy::CloseMessageBarObject(Dravik::UI::MessageBar* bar) {
    if (IsValidMessageBar(bar))
        bar->Close();
}

// --- PDM ---

void ServerAppProxy::ShowOrsaWindows(bool show) {
    CDvw32App::ForEachMainFrame([&](CMainFrame* frame) { frame->ShowOrsaWindows(show); });
}

// --- the backstage ---

int ServerAppProxy::GetActiveBackstageTab(CWnd* window) {
    DVRibbonBar* ribbon = RibbonOf(window);
    CXTPRibbonBackstageTab* tab = ribbon != nullptr ? ribbon->GetActiveBackstageTab() : nullptr;
    return tab != nullptr ? tab->GetID() : -1;
}

bool ServerAppProxy::ShowBackstageTab(CWnd* window, UINT id) {
    DVRibbonBar* ribbon = RibbonOf(window);
    return ribbon != nullptr && ribbon->ShowBackstageTab(id, nullptr);
}

void ServerAppProxy::CloseBackstage(CWnd* window) {
    if (DVRibbonBar* ribbon = RibbonOf(window))
        ribbon->CloseBackstage();
}

bool ServerAppProxy::ShowRibbonBackstagePrintPage(
    CWnd* window, std::shared_ptr<Dravik::Print::PrintDrawingContext> context) {
    DVRibbonBar* ribbon = RibbonOf(window);
    DVRibbonBackstagePrintPage* page = ribbon != nullptr ? ribbon->GetPrintPage(true) : nullptr;
    if (page == nullptr)
        return false;
    page->SetDrawingContext(std::move(context));
    return ribbon->ShowBackstageTab(kPrintBackstageTab, nullptr);
}

bool ServerAppProxy::ShowRibbonBackstagePrintPage(CWnd* window, CDvw32Doc* document) {
    DVRibbonBar* ribbon = RibbonOf(window);

    DVRibbonBackstagePrintPage* page = ribbon != nullptr ? ribbon->GetPrintPage(true) : nullptr;
    if (page == nullptr)
        return false;
    page->SetDocument(document);
    return ribbon->ShowBackstageTab(kPrintBackstageTab, nullptr);
}
