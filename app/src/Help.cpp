// Help: the help-context stack that dialogs push and pop, and the routes from a help request to
// the compiled help file, to a listener that shows help itself, or to the online pages.
#include "app/Dvw32App.h"
#include "app/HelpPath.h"
#include "app/HtmlHelp.h"
#include "app/HtmlLinks.h"
#include "app/ServerAppProxy.h"

#include "DVDiagnostics/DVLog.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/HelpWindowArgs.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/KernelServices.h"
#include "windows.h"

#include <cwchar>

namespace {

constexpr UINT kFirstApplicationCommand = 17000;
constexpr UINT kLastApplicationCommand = 32000;
constexpr UINT kTutorialsMessage = 41960;
constexpr wchar_t kPolishHelpFile[] = L"VIRELOFORM3D.chm";

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool SameNameNoCase(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// The help file an add-on brings for its own commands.
std::wstring AddOnHelpFile(const IApplicationCommand& command) {
    if (const auto* classic = dynamic_cast<const CDVAppCommand*>(&command)) {
        if (CDVBaseApplication* addOn =
                CDVApplicationManager::Instance().GetApplication(classic->GetAddOnName().c_str()))
            return addOn->GetHelpFile();
    }
    return {};
}

} // namespace

UINT CDvw32App::SetHelpContext(UINT helpId, const wchar_t* helpFile, int delta) {
    const UINT previous = m_helpContextId;
    if (delta < 0 && m_helpContextNesting + delta < 0) {
        // A pop without its push: the count stays at 0, so the next dialog still sets its context.
        DVLog_Write(DVLogWarning, "Help context popped %d time(s) more than pushed",
                    -(m_helpContextNesting + delta));
        m_helpContextNesting = 0;
        return previous;
    }
    if ((delta >= 0 && m_helpContextNesting == 0) || (delta < 0 && m_helpContextNesting + delta == 0)) {
        m_helpContextId = helpId;
        m_helpContextFile = helpFile ? helpFile : L"";
    }
    m_helpContextNesting += delta;
    return previous;
}

bool CDvw32App::ShowContextHelp() {
    // The running command's own help id comes first once the UI module reports running commands.
    return ShowHelpTopic(m_helpContextId);
}

void CDvw32App::OnContextHelpCommand() {
    ShowContextHelp();
}

bool CDvw32App::ShowHelpTopic(UINT helpId) {
    const std::wstring contextFile =
        m_helpContextFile.empty() ? std::wstring() : DVAppendProgramPath(m_helpContextFile.c_str(), 0, false);
    return RouteHelp(helpId, HELP_CONTEXT, contextFile);
}

void CDvw32App::InvokeWinHelp(UINT helpId) {
    CWinApp::WinHelpInternal(helpId, HELP_CONTEXT);
}

void CDvw32App::WinHelpInternal(DWORD_PTR data, UINT command) {
    RouteHelp(data, command, m_helpContextFile);
}

bool CDvw32App::RouteHelp(DWORD_PTR data, UINT command, const std::wstring& contextFile) {
    HelpWindowArgs args(contextFile, command == HELP_CONTEXT ? static_cast<int>(data) : -1, L"");
    int topic = args.TopicId;
    if (topic >= static_cast<int>(kFirstApplicationCommand) &&
        topic <= static_cast<int>(kLastApplicationCommand)) {
        if (const IApplicationCommand* applicationCommand = GetApplicationCommand(static_cast<UINT>(topic))) {
            args.HelpFile = AddOnHelpFile(*applicationCommand);
            topic = applicationCommand->GetInternalID();
            args.TopicId = topic;
        }
    }
    if (args.HelpFile.empty()) {
        if (topic >= 1)
            args.HelpFile = CDVApplicationManager::Instance().GetHelpFileOfTopic(topic);
        if (args.HelpFile.empty())
            args.HelpFile = m_helpFilePath;
    }

    ApplicationEventManager::runEvent(HelpWindowArgs::kEvent, args);
    if (args.Handled)
        return true;

    // The name decides the online route, not the resolved path: a missing file resolves to
    // nothing, and the online pages stand in for exactly that case.
    const std::wstring requested = args.HelpFile;
    const std::wstring helpFile = ResolveHelpFilePath(requested);
    if (helpFile.empty()) {
        if (!SameNameNoCase(FileNamePart(requested), dvapp::kHelpFileName))
            return false;
        if (topic < 2 && GetServerAppProxy().IsOfflineMode())
            return false;
        wchar_t url[2048];
        const std::wstring format = Dravik::I18n::Translate("commands.HelpContents.context_url");
        if (std::swprintf(url, std::size(url), format.c_str(), topic) < 0)
            return false;
        return HandleHtmlLink(url);
    }
    return topic >= 0 ? dvapp::OpenHtmlHelp(helpFile.c_str(), HH_HELP_CONTEXT, static_cast<DWORD_PTR>(topic))
                      : dvapp::OpenHtmlHelp(helpFile.c_str(), HH_DISPLAY_TOC, 0);
}

std::wstring CDvw32App::ResolveHelpFilePath(const std::wstring& fileName) {
    if (!fileName.empty()) {
        const std::wstring path = DVAppendProgramPath(fileName.c_str(), 0, false);
        if (IsExistingFile(path))
            return path;
    }
    // The Polish forms help of the other brand lies where that brand's set-up put it.
    if (COUNTRY != Polish || GlobalContainer::Instance().IsVirelo() ||
        !SameNameNoCase(FileNamePart(fileName), kPolishHelpFile))
        return {};
    const CDvw32App* app = GetDvw32App();
    const std::wstring company = app != nullptr ? app->GetStartupSettings().Company : std::wstring();
    std::wstring folder;
    Dravik::RegistryKey::Open(HKEY_LOCAL_MACHINE,
                              (L"SOFTWARE\\" + company + L"\\VIRELO CAD 3D 18\\Pol").c_str(), KEY_READ)
        .GetStringValue(L"SetupHelpPath", folder);
    if (folder.empty())
        return {};
    const std::wstring path = dvapp::HelpFileIn(folder, kPolishHelpFile);
    return IsExistingFile(path) ? path : std::wstring();
}

bool CDvw32App::ShowHelpFileTopic(const wchar_t* topic) {
    const std::wstring target = m_helpFilePath + L"::/" + (topic != nullptr ? topic : L"");
    return dvapp::OpenHtmlHelp(target.c_str(), HH_DISPLAY_TOPIC, 0);
}

void CDvw32App::OnTutorials() {
    const std::wstring folder = GetTutorialsFolder();
    if (!folder.empty()) {
        if (!m_startup.TutorHTM.empty())
            OpenInTutorialDocument((folder + m_startup.TutorHTM).c_str());
        else
            OpenInTutorialDocument((L"mk:@MSITStore:" + folder + m_startup.Tutor).c_str());
        return;
    }
    const std::wstring question = DVLoadString(kTutorialsMessage);
    if (!m_startup.TutorDownloadUri.empty()) {
        if (DVMessageBox::Show(question.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
            CWnd* main = GetMainWnd();
            ShellExecuteW(main != nullptr ? main->GetSafeHwnd() : nullptr, nullptr,
                          m_startup.TutorDownloadUri.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
        return;
    }
    DVMessageBox::Show(question.c_str(), MB_OK | MB_ICONINFORMATION);
}
