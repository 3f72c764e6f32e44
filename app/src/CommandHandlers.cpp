#include "app/CommandHandlers.h"

#include "app/DocumentPipeline.h"
#include "app/Dvw32App.h"
#include "app/HtmlHelp.h"
#include "app/SupportRequest.h"
#include "docbrowser/DocumentsMenuDlg.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Module.h"
#include "DVDiagnostics/NotBuiltYet.h"
#include "DVPDMProxy/WorkMix.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"

#include "windows.h"

namespace dvapp::handlers {
namespace {

constexpr UINT kDocumentOpenHelp = 100100;
constexpr UINT kApiReferenceFailedString = 61703;
constexpr UINT kWindowShowMaterials = 794;

// Prototype kinds of the new-document commands.
constexpr int kDrawingPrototype = 0;
constexpr int kPartPrototype = 1;
constexpr int kAssemblyDrawingPrototype = 3;
constexpr int kAssemblyPrototype = 4;
constexpr int kSheetMetalPrototype = 5;

// The product the update page is asked about, and where the pages live.
constexpr const wchar_t* kProductCode = L"DravikCad";
constexpr const wchar_t* kUpdateHost = L"https://updates.dravik.example";
constexpr const wchar_t* kOstrelHomePage = L"https://www.ostrel.example";

// The MDI client of a main frame, found by its window class.
HWND mdiClientOf(CMainFrame& frame) {
    for (HWND child = ::GetWindow(frame.m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        if (::GetClassNameW(child, name, static_cast<int>(std::size(name))) > 0 &&
            lstrcmpiW(name, L"MDICLIENT") == 0)
            return child;
    }
    return nullptr;
}

int arrangeWindows(UINT message, WPARAM how) {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return 1;
    // The workbook mode (the tab client attached) is switched off first once the tab client
    // exists; without an MDI client there is nothing to arrange.
    if (HWND client = mdiClientOf(*frame))
        ::SendMessageW(client, message, how, 0);
    return 1;
}

int newDocument(int prototypeKind) {
    return CreateDocumentFromPrototype(prototypeKind) != nullptr ? 1 : 0;
}

// Sets the help file for the time of one context-help request.
void showHelpFile(const wchar_t* helpFile) {
    CDvw32App* app = GetDvw32App();
    if (app == nullptr)
        return;
    const std::wstring previousFile = app->GetHelpContextFile();
    const UINT previous = app->SetHelpContext(app->GetHelpContextId(), helpFile, 1);
    app->ShowContextHelp();
    app->SetHelpContext(previous, previousFile.c_str(), -1);
}

bool helpFileExists(const wchar_t* helpFile) {
    const std::wstring path = DVAppendProgramPath(helpFile, 0, false);
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void enable(CCmdUI* cmdUI, bool on) {
    if (cmdUI != nullptr)
        cmdUI->Enable(on ? TRUE : FALSE);
}

// Every PDM command follows the work mix.
bool isWorkMixEnabled() {
    return DVPDMWorkMix::Instance().IsEnabled();
}

} // namespace

// System commands --------------------------------------------------------------------------

int TechnicalSupport(std::int64_t) {
    return SendSupportRequest();
}

int DocumentSaveAll(std::int64_t) {
    // Every document is held for the whole loop, so that none closes under a later save.
    const std::vector<CDvw32Doc*> documents = DocumentManager::Instance().GetDocuments();
    for (CDvw32Doc* document : documents)
        document->AddHold();
    for (CDvw32Doc* document : documents)
        SaveDocument(document);
    for (CDvw32Doc* document : documents)
        document->ReleaseHold();
    return 1;
}

int Quit(std::int64_t) {
    CDvw32App* app = GetDvw32App();
    return app != nullptr ? app->OnExitCommand() : 0;
}

int WindowTileHorizontal(std::int64_t) {
    return arrangeWindows(WM_MDITILE, MDITILE_HORIZONTAL);
}

int WindowCascade(std::int64_t) {
    return arrangeWindows(WM_MDICASCADE, 0);
}

int WindowArrangeIcons(std::int64_t) {
    return arrangeWindows(WM_MDIICONARRANGE, 0);
}

int WindowTileVertical(std::int64_t) {
    return arrangeWindows(WM_MDITILE, MDITILE_VERTICAL);
}

int WindowCloseAll(std::int64_t) {
    CDvw32App* app = GetDvw32App();
    return app != nullptr ? app->OnCloseAllCommand() : 0;
}

int NewMainWindow(std::int64_t) {
    // A new main window is made from the current window's state by the callback object; until
    // frames can be built from a state, none is made.
    DV_NOT_BUILT_YET("NewMainWindow: main windows cannot be created from a state");
    return 0;
}

int DocumentNew(std::int64_t) {
    return newDocument(kDrawingPrototype);
}

int DocumentNewAssembly(std::int64_t) {
    return newDocument(kAssemblyDrawingPrototype);
}

int DocumentNew3D(std::int64_t) {
    return newDocument(kPartPrototype);
}

int DocumentNew3DAssembly(std::int64_t) {
    return newDocument(kAssemblyPrototype);
}

int DocumentNewSheetPart(std::int64_t) {
    return newDocument(kSheetMetalPrototype);
}

int DocumentNewFrom(std::int64_t) {
    // The managed new-document dialog is loaded on first use; without it nothing is chosen.
    DV_NOT_BUILT_YET("DocumentNewFrom: the managed new-document dialog");
    return 1;
}

int DocumentOpen(std::int64_t) {
    CDvw32App* app = GetDvw32App();
    if (app == nullptr || app->m_pDocManager == nullptr)
        return 0;
    const std::wstring file = app->GetHelpContextFile();
    const UINT previous = app->SetHelpContext(kDocumentOpenHelp, file.c_str(), 1);
    app->m_pDocManager->OnFileOpen();
    app->SetHelpContext(previous, file.c_str(), -1);
    return 1;
}

int Settings(std::int64_t) {
    // The customise sheet belongs to the main frame's frame tools.
    DV_NOT_BUILT_YET("Settings: the customise sheet of the frame tools");
    return 1;
}

int APIReference(std::int64_t) {
    const std::wstring path = DVAppendProgramPath(L"dravikapi.chm", 0, false);
    if (!OpenHtmlHelp(path.c_str(), kHelpDisplayTopic, 0))
        DVMessageBox::Show(DVLoadString(kApiReferenceFailedString).c_str(), MB_OK | MB_ICONERROR);
    return 1;
}

int DocumentSetAccess(std::int64_t) {
    if (IsDocumentProtectionDisabled())
        return 0;
    // From the program folder only: a bare name would also be looked for in the system folder.
    const std::wstring path = DVAppendProgramPath(L"DVDocAccess.dll", 0, false);
    HMODULE module = Dravik::Module::loadMfcAndInitialize(path.c_str(), 0);
    using Wizard = int (*)(HWND);
    const auto wizard =
        module ? reinterpret_cast<Wizard>(GetProcAddress(module, "ShowDocAccessWizard")) : nullptr;
    int result = 0;
    if (wizard != nullptr) {
        GlobalContainer::Instance().RestoreSessionLanguage();
        const CMainFrame* frame = GetMainFrame();
        result = wizard(frame != nullptr ? frame->m_hWnd : nullptr);
    } else {
        DVMessageBox::Show(L"Cannot load module DVDocAccess.dll", MB_ICONERROR);
    }
    if (module != nullptr)
        Dravik::Module::shutdownAndUnloadMfc(module);
    return result;
}

void UpdateDocumentSetAccess(CCmdUI* cmdUI) {
    enable(cmdUI, !IsDocumentProtectionDisabled());
}

int LibraryConfigurationNew(std::int64_t) {
    return DocumentsMenu::CreateNewConfiguration(DocumentsMenu::GlobalCfgGroup()) != nullptr ? 1 : 0;
}

int LibraryConfigurationOpen(std::int64_t) {
    DocumentsMenu::OpenConfiguration(DocumentsMenu::GlobalCfgGroup());
    return 1;
}

int WindowOpenLibraryOrsa(std::int64_t) {
    return isWorkMixEnabled() ? 1 : 0;
}

int ManageApplications(std::int64_t) {
    if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
        proxy->TerminateAllCommands(nullptr, true);
    // The applications dialog runs here under help context 125800 once it exists.
    DV_NOT_BUILT_YET("ManageApplications: the applications dialog");
    return 1;
}

int EditMacros(std::int64_t) {
    if (!EditModuleProxy::Instance().IsLoaded())
        return 0;
    // The macro manager's window is shown when the kernel has a macro manager.
    DV_NOT_BUILT_YET("EditMacros: the macro manager's window");
    return 1;
}

int EditMaterials(std::int64_t) {
    if (CMainFrame* frame = GetMainFrame(); frame != nullptr && frame->m_hWnd != nullptr)
        frame->SendMessage(WM_COMMAND, kWindowShowMaterials, 0);
    return 1;
}

int LibraryConfigurationSaveAll(std::int64_t) {
    DocumentsMenu::SaveAllConfigurations(DocumentsMenu::GlobalCfgGroup());
    return 1;
}

int LibraryConfigurationCloseAll(std::int64_t) {
    DocumentsMenu::CloseAllConfigurations(DocumentsMenu::GlobalCfgGroup());
    return 1;
}

void UpdateLibraryConfigurations(CCmdUI* cmdUI) {
    enable(cmdUI, DocumentsMenu::GlobalCfgGroup().GetCount() > 0);
}

int FEAHelp(std::int64_t) {
    showHelpFile(L"FEA.chm");
    return 1;
}

void UpdateFEAHelp(CCmdUI* cmdUI) {
    enable(cmdUI, helpFileExists(L"FEA.chm"));
}

int DynamicsHelp(std::int64_t) {
    showHelpFile(L"DVDynamics.chm");
    return 1;
}

void UpdateDynamicsHelp(CCmdUI* cmdUI) {
    enable(cmdUI, helpFileExists(L"DVDynamics.chm"));
}

int LibraryConfigurationEdit(std::int64_t) {
    // The documents browser's pane comes forward showing the flat list of libraries.
    constexpr UINT kDocumentsPane = 1004;
    CMainFrame* frame = GetMainFrame();
    CXTPDockingPane* pane = frame != nullptr && frame->m_hWnd != nullptr
                                ? frame->GetPaneManager().FindPane(kDocumentsPane)
                                : nullptr;
    CDvw32App* app = GetDvw32App();
    if (pane == nullptr || app == nullptr)
        return 0;
    frame->GetPaneManager().ShowPane(pane);
    if (auto* panel = dynamic_cast<DocumentsMenu::DocumentsMenuDlg*>(app->GetDrawMenuWindow(true)))
        panel->ShowLibrariesList(true);
    return 1;
}

int WindowOpenLibrary(std::int64_t) {
    // The choose-library dialog offers the libraries of the documents browser.
    DV_NOT_BUILT_YET("WindowOpenLibrary: the choose-library dialog");
    return 1;
}

int OpenFolderWindow(std::int64_t) {
    // No folder chosen: nothing opens.
    DV_NOT_BUILT_YET("OpenFolderWindow: the folder chooser");
    return 0;
}

int WindowOpenOrsa(std::int64_t) {
    return isWorkMixEnabled() ? 1 : 0;
}

int EnableAutoParameterization(std::int64_t) {
    // Acts only on an active drawing view, which the kernel's views provide.
    DV_NOT_BUILT_YET("EnableAutoParameterization: the kernel's drawing views");
    return 1;
}

int EnableAutoDimensions(std::int64_t) {
    DV_NOT_BUILT_YET("EnableAutoDimensions: the kernel's drawing views");
    return 1;
}

void UpdateAutoDrawingCommand(CCmdUI* cmdUI) {
    // Without an active drawing view both commands are disabled.
    DV_NOT_BUILT_YET("UpdateAutoDrawingCommand: the kernel's drawing views");
    enable(cmdUI, false);
}

int WindowStartPage(std::int64_t) {
    DV_NOT_BUILT_YET("WindowStartPage: the start page");
    return 1;
}

int DoNothing(std::int64_t) {
    return 1;
}

std::wstring UpdatePageAddress(bool ostrel, const std::wstring& language, const std::wstring& product) {
    if (ostrel)
        return kOstrelHomePage;
    wchar_t address[1024];
    const int written = swprintf_s(
        address, std::size(address),
        L"%s/check_for_updates/index.php?major=%d&minor=%d&build=%d&revision=%d&lang=%s&product=%.*s"
        L"&platform=%s",
        kUpdateHost, 18, 0, 21, 0, language.c_str(), static_cast<int>(product.size()), product.data(),
        L"x64");
    return written < 0 ? std::wstring() : std::wstring(address, static_cast<size_t>(written));
}

int CheckForUpdates(std::int64_t) {
    GlobalContainer& kernel = GlobalContainer::Instance();
    const std::wstring address =
        UpdatePageAddress(kernel.IsOstrel(), kernel.GetLocaleAlpha2Code(), kProductCode);
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
    return 1;
}

// Document commands ------------------------------------------------------------------------
// The kernel runs these only with its active document. Those whose work is the kernel's own
// document operation answer 0 (not handled) while that operation is not available.

int WindowOpen(CDvw32Doc*) {
    DV_NOT_BUILT_YET("WindowOpen: the kernel's new-window operation");
    return 0;
}

int ViewPhoto(CDvw32Doc*) {
    DV_NOT_BUILT_YET("ViewPhoto: the photo view");
    return 0;
}

int PhotoProperties(CDvw32Doc*) {
    DV_NOT_BUILT_YET("PhotoProperties: the photo view");
    return 0;
}

int DocumentClose(CDvw32Doc* document) {
    if (document == nullptr || !document->SaveModified())
        return 0;
    document->OnCloseDocument();
    return 1;
}

int DocumentSaveAsPrototype(CDvw32Doc* document) {
    DV_NOT_BUILT_YET("DocumentSaveAsPrototype: the kernel's document class");
    return document != nullptr ? 1 : 0;
}

int DocumentSaveAs(CDvw32Doc* document) {
    return SaveDocumentAs(document);
}

int DocumentSaveCopy(CDvw32Doc* document) {
    return SaveDocumentCopy(document);
}

int DocumentSaveOrsa(CDvw32Doc* document) {
    return SaveDocumentToOrsa(document);
}

int DocumentSaveOrsaAssembly(CDvw32Doc* document) {
    return SaveDocumentVersionsToOrsa(document);
}

void UpdatePdmSave(CDvw32Doc* document, CCmdUI* cmdUI) {
    enable(cmdUI, document != nullptr && isWorkMixEnabled());
}

int DocumentSave(CDvw32Doc* document) {
    return SaveDocument(document);
}

int CheckDocumentLinks(CDvw32Doc*) {
    DV_NOT_BUILT_YET("CheckDocumentLinks: the kernel's document class");
    return 0;
}

int SelectOrsaMaterial(CDvw32Doc* document) {
    return document != nullptr && isWorkMixEnabled() ? 1 : 0;
}

void UpdateSelectOrsaMaterial(CDvw32Doc* document, CCmdUI* cmdUI) {
    enable(cmdUI, document != nullptr && isWorkMixEnabled());
}

int EditGlobalVariables(CDvw32Doc*) {
    DV_NOT_BUILT_YET("EditGlobalVariables: the kernel's variables editor");
    return 0;
}

} // namespace dvapp::handlers
