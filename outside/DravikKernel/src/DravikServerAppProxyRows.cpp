// What the kernel's callback base answers when no shell overrides an operation: the kernel's
// own services where it has them, neutral answers otherwise.
#include "DravikKernel/DravikServerAppProxy.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GenerateDumpFileContext.h"
#include "KernelState.h"

#include "DVDiagnostics/Trace.h"

bool DravikServerAppProxy::IsRibbonApplication() {
    return true;
}

bool DravikServerAppProxy::IsSavingStateAtExit() {
    return false;
}

bool DravikServerAppProxy::IsServerMode() {
    return false;
}

std::wstring DravikServerAppProxy::BuildDate() {
    const char* date = __DATE__;
    return std::wstring(date, date + std::char_traits<char>::length(date));
}

HICON DravikServerAppProxy::GetApplicationIcon() {
    return nullptr;
}

UINT DravikServerAppProxy::GetDocTemplateResourceId() {
    return 0;
}

UINT DravikServerAppProxy::SetDocTemplateResourceId(UINT) {
    return 0;
}

UINT DravikServerAppProxy::GetTitleStringId() {
    return 0;
}

UINT DravikServerAppProxy::SetTitleStringId(UINT) {
    return 0;
}

GenerateDumpFileContextBase* DravikServerAppProxy::GetDumpFileContext() {
    static GenerateDumpFileContext context;
    return &context;
}

std::wstring DravikServerAppProxy::GetProductName() {
    return GetDumpFileContext()->GetProductName();
}

std::wstring DravikServerAppProxy::GetApplicationTitle() {
    return GetProductName();
}

Dravik::DocumentManager* DravikServerAppProxy::GetDocumentManager() {
    return &Dravik::DocumentManager::Instance();
}

CDvw32Doc* DravikServerAppProxy::GetActiveDocument() {
    return nullptr;
}

void DravikServerAppProxy::OnChangeDocumentState(CDvw32Doc*) {}

void DravikServerAppProxy::BlockPaintAllDocuments(bool) {}

void DravikServerAppProxy::RepaintAllDocuments() {}

bool DravikServerAppProxy::DropOnLibraries(const std::vector<std::wstring>&, DWORD) {
    return false;
}

DWORD DravikServerAppProxy::GetLibrariesDropEffect(const std::vector<std::wstring>&, DWORD) {
    return 0;
}

CDocument* DravikServerAppProxy::CreateImageDocument(const wchar_t*) {
    return nullptr;
}

bool DravikServerAppProxy::ShowImageDocument(CDocument*) {
    return false;
}

const void* DravikServerAppProxy::GetImageDocumentDib(CDocument*) {
    return nullptr;
}

bool DravikServerAppProxy::ShowSketchSetGlobalDialog(void*) {
    return false;
}

void DravikServerAppProxy::ShowSelectionInTree(CDvw32Doc*) {}

void DravikServerAppProxy::StartTechRequirementLeaders() {}

CDocTemplate* DravikServerAppProxy::FindDocTemplate() {
    return nullptr;
}

void DravikServerAppProxy::AutoSaveDocuments() {}

void DravikServerAppProxy::UpdateMaterialWindow() {}

CWnd* DravikServerAppProxy::GetBirdsEyeView() {
    return nullptr;
}

void DravikServerAppProxy::SetBirdsEyeViewActiveView(CView*) {}

void DravikServerAppProxy::UpdateBirdsEyeViewArea() {}

void DravikServerAppProxy::RedrawBirdsEyeView() {}

CWnd* DravikServerAppProxy::GetConfigurationsControl() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetWeldTreeWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetMaterialWindow() {
    return nullptr;
}

void DravikServerAppProxy::ReloadMaterialWindow() {}

CWnd* DravikServerAppProxy::GetProductStructureWindow() {
    return nullptr;
}

bool DravikServerAppProxy::SelectWorkmixPosition(const std::function<bool(const std::wstring&)>&) {
    return false;
}

CWnd* DravikServerAppProxy::GetModelTreeWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetTaskWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetFeaResultParametersWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetNcWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetStructureElementsWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetCamWindow() {
    return nullptr;
}

void DravikServerAppProxy::SelectPaneForCommand790() {}

bool DravikServerAppProxy::IsPaneForCommand790Open() {
    return false;
}

void DravikServerAppProxy::SelectPaneForCommand826() {}

bool DravikServerAppProxy::IsPaneForCommand826Open() {
    return false;
}

CWnd* DravikServerAppProxy::GetErrorWindow() {
    return nullptr;
}

CWnd* DravikServerAppProxy::GetDiagnosticsWindow() {
    return nullptr;
}

UINT DravikServerAppProxy::GetHelpContextId() {
    return 0;
}

bool DravikServerAppProxy::ShowHelpPage(const wchar_t*) {
    return false;
}

void DravikServerAppProxy::ShowCurrentHelpTopic() {}

void DravikServerAppProxy::ShowCurrentHelp() {}

bool DravikServerAppProxy::ShowEmbeddedHelp(const wchar_t*, DWORD) {
    return false;
}

void DravikServerAppProxy::HideEmbeddedHelp() {}

void DravikServerAppProxy::TerminateCurrentCommand2D() {
    // No command of the stand-in ever runs; the request is recorded.
    dvtrace::record(dvkernel::kTraceName, "TerminateCurrentCommand2D");
}

void DravikServerAppProxy::OnUpdateApplicationCommand(CCmdUI*) {}

UINT DravikServerAppProxy::FindApplicationCommandByKey(const Dravik::UniqueIdentifier&, int) {
    return 0;
}

UINT DravikServerAppProxy::FindApplicationCommandByKeyText(const wchar_t*, int) {
    return 0;
}

std::wstring DravikServerAppProxy::GetCommandName(UINT) {
    return {};
}

std::optional<UINT> DravikServerAppProxy::SelectCommandId(CWnd*) {
    return std::nullopt;
}

bool DravikServerAppProxy::BrowseText(int, const wchar_t*) {
    return false;
}

void DravikServerAppProxy::SetTextBrowserEdit(HWND) {}

bool DravikServerAppProxy::BrowseTextByKey(const wchar_t*, const wchar_t*) {
    return false;
}

std::vector<std::wstring> DravikServerAppProxy::GetTextBrowserNames(bool) {
    return {};
}

bool DravikServerAppProxy::IsApplicationNameKnown(std::wstring) {
    return false;
}

void DravikServerAppProxy::AddApplicationName(const wchar_t*) {}

void* DravikServerAppProxy::GetSyspanelSelected3DObject() {
    return nullptr;
}

std::int32_t DravikServerAppProxy::GetSyspanelControl2042() {
    return 2;
}

CXTPRibbonBar* DravikServerAppProxy::GetFrameRibbonBar(CWnd*) {
    return nullptr;
}

StatusLineProxy* DravikServerAppProxy::GetFrameStatusLine(CWnd*) {
    return nullptr;
}

CXTPCommandBars* DravikServerAppProxy::GetFrameCommandBars(CWnd*) {
    return nullptr;
}

bool DravikServerAppProxy::IsApplicationFlagB() {
    return false;
}

bool DravikServerAppProxy::IsApplicationFlagA() {
    return false;
}

void DravikServerAppProxy::SetApplicationFlagA() {}

CWnd* DravikServerAppProxy::GetMainWindowPart() {
    return nullptr;
}

void* DravikServerAppProxy::GetFrameObjectA() {
    return nullptr;
}

void* DravikServerAppProxy::GetFrameObjectB() {
    return nullptr;
}

CWnd* DravikServerAppProxy::NewMainFrame() {
    return nullptr;
}

bool DravikServerAppProxy::SetAnalysisMode(CWnd*, int) {
    return false;
}

bool DravikServerAppProxy::GetFrameInterfaceSettings(CWnd*, FrameInterfaceSettings&) {
    return false;
}

std::int32_t DravikServerAppProxy::GetApplicationValueA() {
    return 0;
}

std::int32_t DravikServerAppProxy::GetApplicationValueB() {
    return 0;
}

std::int32_t DravikServerAppProxy::GetApplicationValueE() {
    return 0;
}

bool DravikServerAppProxy::IsApplicationStateClear() {
    return true;
}

void DravikServerAppProxy::SetProfileName(const wchar_t*) {}

std::wstring DravikServerAppProxy::GetApplicationStringA() {
    return {};
}

std::wstring DravikServerAppProxy::GetApplicationStringB() {
    return {};
}

std::wstring DravikServerAppProxy::GetApplicationStringC() {
    return {};
}

void DravikServerAppProxy::MarkRecentFileList() {}

void DravikServerAppProxy::SetDefaultSystemToolbar(int, const Dravik::UniqueIdentifier&) {}

void DravikServerAppProxy::RedrawCommandBars() {}

void DravikServerAppProxy::SetCameras(const std::vector<std::wstring>&) {}

void DravikServerAppProxy::UpdateCommandBarControls(std::int64_t) {}

void DravikServerAppProxy::ShowCustomizeDialog(int, void*, bool, CWnd*) {}

bool DravikServerAppProxy::ShowApplicationClipart(const std::wstring&, int, const std::wstring&) {
    return false;
}

bool DravikServerAppProxy::OpenModelTreeClipart(std::wstring) {
    return false;
}

bool DravikServerAppProxy::IsApplicationClipartVisible(const std::wstring&, int) {
    return false;
}

void DravikServerAppProxy::SetApplicationClipartVisible(const std::wstring&, int, bool) {}

void DravikServerAppProxy::SetApplicationClipartTitle(const std::wstring&, int, const std::wstring&) {}

void DravikServerAppProxy::SetApplicationClipartSvgIcon(const std::wstring&, int, const void*,
                                                        std::uint64_t) {}

void DravikServerAppProxy::SetApplicationClipartIconId(const std::wstring&, int, UINT) {}

void DravikServerAppProxy::SetApplicationClipartIcon(const std::wstring&, int, HICON) {}

void DravikServerAppProxy::MoveApplicationClipart(const std::wstring&, int, const RECT&) {}

bool DravikServerAppProxy::GetApplicationClipartRect(const std::wstring&, int, RECT&) {
    return false;
}

bool DravikServerAppProxy::IsClipartId(int) {
    return false;
}

bool DravikServerAppProxy::ShowExpandedFormClipart(DVPaneForm*) {
    return false;
}

void DravikServerAppProxy::CloseExpandedFormClipart(DVPaneForm*) {}

Dravik::UI::MessageBar* DravikServerAppProxy::ShowMessageBar(int, const std::wstring&, const std::wstring&,
                                                             std::uint64_t) {
    return nullptr;
}

Dravik::UI::MessageBar* DravikServerAppProxy::ShowMessageBarWithButtons(int, const std::wstring&,
                                                                        const std::wstring&, std::uint64_t,
                                                                        const std::vector<MessageBarButton>&,
                                                                        std::function<void(UINT)>) {
    return nullptr;
}

bool DravikServerAppProxy::IsValidMessageBar(const Dravik::UI::MessageBar*) {
    return false;
}

unsigned DravikServerAppProxy::GetMessageBarId(const Dravik::UI::MessageBar*) {
    return 0;
}

std::uint64_t DravikServerAppProxy::GetMessageBarUserData(const Dravik::UI::MessageBar*) {
    return 0;
}

void DravikServerAppProxy::CloseMessageBar(unsigned) {}

void DravikServerAppProxy::CloseMessageBarObject(Dravik::UI::MessageBar*) {}

void DravikServerAppProxy::ReportCriticalError(const std::wstring&) {
    dvtrace::record(dvkernel::kTraceName, "ReportCriticalError");
}

void DravikServerAppProxy::ShowOrsaWindows(bool) {}

void DravikServerAppProxy::OnChangeOrsaRepositoryItemStates(const std::vector<std::wstring>&) {}

void DravikServerAppProxy::OnChangeVisualItemStates(const std::vector<std::wstring>&) {}

void DravikServerAppProxy::NotifyOrsaExplorer(int) {}

int DravikServerAppProxy::GetActiveBackstageTab(CWnd*) {
    return -1;
}

bool DravikServerAppProxy::ShowBackstageTab(CWnd*, UINT) {
    return false;
}

void DravikServerAppProxy::CloseBackstage(CWnd*) {}

bool DravikServerAppProxy::ShowRibbonBackstagePrintPage(CWnd*,
                                                        std::shared_ptr<Dravik::Print::PrintDrawingContext>) {
    return false;
}

bool DravikServerAppProxy::ShowRibbonBackstagePrintPage(CWnd*, CDvw32Doc*) {
    return false;
}
