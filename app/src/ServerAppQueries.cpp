// What the kernel asks of the application object itself: its identity, documents, help,
// commands and the values it keeps. Rows whose machinery the program does not have yet answer
// neutrally through DV_NOT_BUILT_YET.
#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"
#include "app/GenerateDumpFileAppContext.h"
#include "app/KernelCommandIdentifiers.h"
#include "app/RecentFileList.h"
#include "frame/MainFrame.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/UniqueIdentifier.h"
#include "DravikUI/XML.h"
#include "win/gdi/icon.h"

#include <utility>

// --- identity ---

// The three unnamed yes/no questions of the kernel are answered from the application's ribbon
// mode, its save-at-exit flag and whether it runs as an automation server.
bool ServerAppProxy::IsRibbonApplication() {
    return app_.GetRibbonMode();
}

bool ServerAppProxy::IsSavingStateAtExit() {
    return app_.GetSaveAtExit();
}

bool ServerAppProxy::IsServerMode() {
    return app_.IsServerMode();
}

HICON ServerAppProxy::GetApplicationIcon() {
    const UINT id = app_.GetDocTemplateResourceId();
    return id != 0 ? ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)) : nullptr;
}

UINT ServerAppProxy::GetDocTemplateResourceId() {
    return app_.GetDocTemplateResourceId();
}

UINT ServerAppProxy::SetDocTemplateResourceId(UINT id) {
    return app_.SetDocTemplateResourceId(id);
}

UINT ServerAppProxy::GetTitleStringId() {
    return app_.GetTitleStringId();
}

UINT ServerAppProxy::SetTitleStringId(UINT id) {
    return app_.SetTitleStringId(id);
}

GenerateDumpFileContextBase* ServerAppProxy::GetDumpFileContext() {
    static GenerateDumpFileAppContext context;
    return &context;
}

std::wstring ServerAppProxy::GetProductName() {
    return Dravik::UI::XML::GetProductName();
}

std::wstring ServerAppProxy::GetApplicationTitle() {
    return std::wstring(app_.GetApplicationTitle().GetString());
}

// --- documents ---

CDvw32Doc* ServerAppProxy::GetActiveDocument() {
    return app_.GetActiveDocument();
}

void ServerAppProxy::OnChangeDocumentState(CDvw32Doc* document) {
    app_.OnChangeDocumentState(document);
}

void ServerAppProxy::BlockPaintAllDocuments(bool block) {
    CDvw32App::BlockPaintAllDocuments(block);
}

void ServerAppProxy::RepaintAllDocuments() {
    app_.RepaintMarkedDocuments();
}

bool ServerAppProxy::DropOnLibraries(const std::vector<std::wstring>&, DWORD) {
    DV_NOT_BUILT_YET("the libraries clipboard of the documents menu");
    return false;
}

DWORD ServerAppProxy::GetLibrariesDropEffect(const std::vector<std::wstring>&, DWORD) {
    DV_NOT_BUILT_YET("the libraries clipboard of the documents menu");
    return 0;
}

CDocument* ServerAppProxy::CreateImageDocument(const wchar_t*) {
    DV_NOT_BUILT_YET("picture documents");
    return nullptr;
}

bool ServerAppProxy::ShowImageDocument(CDocument*) {
    DV_NOT_BUILT_YET("picture documents");
    return false;
}

// No document of the program is a picture document yet, so none has bits to give.
const void* ServerAppProxy::GetImageDocumentDib(CDocument*) {
    return nullptr;
}

bool ServerAppProxy::ShowSketchSetGlobalDialog(void*) {
    DV_NOT_BUILT_YET("the sketch set's global values dialog");
    return false;
}

void ServerAppProxy::ShowSelectionInTree(CDvw32Doc*) {
    DV_NOT_BUILT_YET("the model tree's selection");
}

// The frame opens the technical-requirements pane (command 823); its leaders command comes
// with that pane.
void ServerAppProxy::StartTechRequirementLeaders() {
    if (CMainFrame* frame = GetMainFrame())
        frame->PostMessage(WM_COMMAND, 823, 0);
    DV_NOT_BUILT_YET("the leaders command of the technical requirements");
}

CDocTemplate* ServerAppProxy::FindDocTemplate() {
    for (CDocTemplate* docTemplate : app_.GetDocTemplates())
        if (dynamic_cast<CDVDocTemplate*>(docTemplate) != nullptr)
            return docTemplate;
    return nullptr;
}

void ServerAppProxy::AutoSaveDocuments() {
    app_.AutoSaveDocuments();
}

// --- help ---

UINT ServerAppProxy::GetHelpContextId() {
    return app_.GetHelpContextId();
}

bool ServerAppProxy::ShowHelpPage(const wchar_t* topic) {
    return app_.ShowHelpFileTopic(topic);
}

void ServerAppProxy::ShowCurrentHelpTopic() {
    app_.ShowHelpTopic(app_.GetHelpContextId());
}

void ServerAppProxy::ShowCurrentHelp() {
    app_.WinHelpInternal(app_.GetHelpContextId(), 1);
}

bool ServerAppProxy::ShowEmbeddedHelp(const wchar_t* topic, DWORD navigation) {
    CMainFrame* frame = GetMainFrame();
    return frame != nullptr && frame->ShowEmbeddedHelp(topic != nullptr ? topic : L"", navigation);
}

void ServerAppProxy::HideEmbeddedHelp() {
    if (CMainFrame* frame = GetMainFrame())
        frame->ShowEmbeddedHelp(nullptr, 0);
}

// --- commands and add-ons ---

void ServerAppProxy::OnUpdateApplicationCommand(CCmdUI* ui) {
    if (ui != nullptr)
        ui->Enable(app_.GetApplicationCommand(ui->m_nID) != nullptr);
}

UINT ServerAppProxy::FindApplicationCommandByKey(const Dravik::UniqueIdentifier& key, int internalId) {
    return app_.FindApplicationCommandId(key, internalId);
}

UINT ServerAppProxy::FindApplicationCommandByKeyText(const wchar_t* key, int internalId) {
    if (key == nullptr || *key == L'\0')
        return 0;
    const auto parsed = Dravik::UniqueIdentifier::TryParse(key);
    return parsed ? app_.FindApplicationCommandId(*parsed, internalId) : 0;
}

std::wstring ServerAppProxy::GetCommandName(UINT id) {
    const wchar_t* name = ::GetCommandName(id);
    return name != nullptr ? name : L"";
}

bool ServerAppProxy::BrowseText(int, const wchar_t*) {
    DV_NOT_BUILT_YET("the text browsers");
    return false;
}

void ServerAppProxy::SetTextBrowserEdit(HWND) {
    DV_NOT_BUILT_YET("the text browsers");
}

bool ServerAppProxy::BrowseTextByKey(const wchar_t*, const wchar_t*) {
    DV_NOT_BUILT_YET("the text browsers");
    return false;
}

std::vector<std::wstring> ServerAppProxy::GetTextBrowserNames(bool) {
    DV_NOT_BUILT_YET("the text browsers");
    return {};
}

// --- what the application keeps ---

bool ServerAppProxy::IsApplicationFlagB() {
    return app_.HasApplicationState(2);
}

bool ServerAppProxy::IsApplicationFlagA() {
    return app_.HasApplicationState(1);
}

void ServerAppProxy::SetApplicationFlagA() {
    app_.SetApplicationState(1);
}

// The values A and B are the fixed main-window size, E the theme's command.
std::int32_t ServerAppProxy::GetApplicationValueA() {
    return app_.GetFixedMainWindowSize().cx;
}

std::int32_t ServerAppProxy::GetApplicationValueB() {
    return app_.GetFixedMainWindowSize().cy;
}

std::int32_t ServerAppProxy::GetApplicationValueE() {
    return static_cast<std::int32_t>(app_.GetThemeCommand());
}

// The strings A, B and C are the theme's name, the help file and the tutorials' folder.
std::wstring ServerAppProxy::GetApplicationStringA() {
    return app_.GetThemeName();
}

std::wstring ServerAppProxy::GetApplicationStringB() {
    return app_.GetHelpFilePath();
}

std::wstring ServerAppProxy::GetApplicationStringC() {
    return app_.GetTutorialsFolder();
}

// A recent entry that failed to open is kept in the list when the kernel asks so.
void ServerAppProxy::MarkRecentFileList() {
    if (!app_.IsOpeningRecentFile())
        return;
    if (CDVRecentFileList* list = app_.GetRecentFileList())
        list->SetKeepMark(true);
}

void ServerAppProxy::ReportCriticalError(const std::wstring& text) {
    app_.ReportCriticalError(text);
}
