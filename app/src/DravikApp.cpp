#include "app/DravikApp.h"

#include "app/CrashGuard.h"
#include "app/Editions.h"
#include "app/GenerateDumpFileAppContext.h"
#include "app/ServerAppProxy.h"
#include "app/Splash.h"
#include "app/StartupIni.h"
#include "docbrowser/Clipart.h"
#include "frame/MdiClient.h"

#include "Compression/SharedPathName.h"
#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/Module.h"
#include "DVDiagnostics/NotBuiltYet.h"
#include "DVDiagnostics/VersionNumber.h"
#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/ProfileManager.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikManagedUIProxy/DravikManagedUIProxy.h"
#include "DravikUI/ShellDDERespondWindow.h"
#include "DravikUI/XML.h"
#include "XTToolkitPro.h"
#include "afx/globaldata.h"
#include "afx/oledata.h"
#include "app/SystemCommands.h"
#include "ribbon/ApplicationMode.h"
#include "win/base.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(DravikApp, CDvw32App)

namespace {

using Dravik::VersionNumber;

// The program's own file version; the kernel and every edition module must carry it.
constexpr VersionNumber kProgramVersion(DV_PROGRAM_VERSION_MAJOR, DV_PROGRAM_VERSION_MINOR,
                                        DV_PROGRAM_VERSION_PATCH, DV_PROGRAM_VERSION_TWEAK);

constexpr const wchar_t* kSettings = L"SETTINGS";
constexpr const wchar_t* kDefaultCompany = L"Dravik";
constexpr const wchar_t* kDefaultRegistryName = L"DRAVIK CAD 18.0";
constexpr const wchar_t* kClearSettingsMutex = L"Global\\DravikCad_ClearSettingsMutex";
constexpr const wchar_t* kKernelModule = L"DravikKernel.dll";

std::string narrow(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

// The steady clock, in microseconds.
std::int64_t nowUs() {
    LARGE_INTEGER count{}, frequency{};
    if (!QueryPerformanceCounter(&count) || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
        return 0;
    return count.QuadPart / frequency.QuadPart * 1'000'000 +
           count.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

bool hiddenOrMinimised(int showCommand) {
    return showCommand == SW_HIDE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
           showCommand == SW_SHOWMINNOACTIVE;
}

void showStartupError(const std::wstring& text) {
    DVMessageBox::Show(text.c_str(), MB_OK | MB_ICONERROR);
}

// `kind` is "Kernel", "Mandatory" or "Optional".
void logIncompatible(int level, const char* kind, const wchar_t* module, const VersionNumber& version) {
    DVLog_Write(level, "%s module \"%s\" v%u.%u.%u.%u is incompatible with DRAVIK CAD v%u.%u.%u.%u", kind,
                narrow(module).c_str(), version.major(), version.minor(), version.build(), version.revision(),
                kProgramVersion.major(), kProgramVersion.minor(), kProgramVersion.build(),
                kProgramVersion.revision());
}

} // namespace

BOOL DravikApp::InitInstance() {
    // A copy started by a restart reads nothing before the copy that started it has saved.
    WaitForRestartingProcess();
    GenerateDumpFileAppContext context;
    return dvapp::RunGuarded(&context, FALSE, [this] { return DoInitInstance(); });
}

BOOL DravikApp::DoInitInstance() {
    const std::int64_t started = nowUs();
    // Main frames are drop targets and the automation server answers on this thread.
    m_oleInitialized = AfxOleInit() != FALSE;
    if (!m_oleInitialized)
        DVLog_Write(DVLogOptionalFailure,
                    "OLE could not be initialised: nothing can be dropped on the main frames");

    DVCommandLineInfo commandLine;
    ParseCommandLine(commandLine);

    dvapp::StartupIni ini;
    ini.Load(GetServerAppProxy().GetProductIniFileName(), commandLine.m_strConfigurationFile.GetString());
    const dvio::IniFile& product = ini.Product();
    const dvio::IniFile& effective = ini.Effective();

    m_clearSettingsMutex = CreateMutexW(nullptr, FALSE, kClearSettingsMutex);

    m_startup.Company = effective.GetString(kSettings, L"Company", kDefaultCompany);
    m_startup.RegistryName = effective.GetString(kSettings, L"RegistryName", kDefaultRegistryName);
    // The info tip reads its style here once the info tip exists.
    DV_NOT_BUILT_YET("start-up: the info tip's style");
    m_fixedSize.cx = effective.GetInt(L"FIXED_SIZE", L"CX", m_fixedSize.cx);
    m_fixedSize.cy = effective.GetInt(L"FIXED_SIZE", L"CY", m_fixedSize.cy);
    m_startup.Tutor = effective.GetString(kSettings, L"Tutor", L"");
    m_startup.TutorHTM = effective.GetString(kSettings, L"TutorHTM", L"index.htm");
    m_startup.TutorDownloadUri = effective.GetString(kSettings, L"TutorDownloadUri", L"");
    m_startup.VideoPlayer = effective.GetString(kSettings, L"VideoPlayer", L"Pathreel\\Pathreel.exe");
    m_startup.Language = product.GetString(kSettings, L"Language", L"Rus");

    const auto pathSetting = [&](const wchar_t* key) {
        return dvapp::GetIniPathSetting(ini, kSettings, key, L"");
    };
    m_startup.ApplicationsFile = pathSetting(L"ApplicationsFile");
    m_startup.DefaultStateFile = pathSetting(L"DefaultStateFile");
    m_startup.BackgroundImage = pathSetting(L"BackgroundImage");
    CMDIClientWndBackground::SetPicturePath(m_startup.BackgroundImage);
    m_startup.DefaultDynamicToolBarFile = pathSetting(L"DefaultDynamicToolBarFile");
    m_startup.DefaultContextMenuFile = pathSetting(L"DefaultContextMenuFile");
    m_startup.DefaultTemplateFolder = pathSetting(L"DefaultTemplateFolder");

    // German installations are Virelo unless the product INI says otherwise.
    const int vireloDefault = m_startup.Language == L"Ger" ? 1 : 0;
    m_brandCode = dvapp::BrandCode(product.GetInt(kSettings, L"IsVirelo", vireloDefault) != 0,
                                   product.GetInt(kSettings, L"IsMerrow", 0) != 0,
                                   product.GetInt(kSettings, L"IsOstrel", 0) != 0);
    m_startup.AppTitle = effective.GetString(kSettings, L"AppTitle", L"");

    GlobalContainer& kernel = GlobalContainer::Instance();
    kernel.EnableMacros(effective.GetInt(kSettings, L"Macros", 1) != 0);
    kernel.InitSessionLocale(m_startup.Language.c_str(), effective.GetInt(kSettings, L"Metric", 1) != 0,
                             m_brandCode);
    DravikManagedUIProxy::InitManagedResourcesWraps();

    const dvapp::Edition& edition = dvapp::SelectEdition(product.GetString(kSettings, L"Config", L""));
    m_editionMask = edition.mask;
    if (edition.uiProduct)
        Dravik::UI::XML::SetProduct(*edition.uiProduct);
    SetFixedEditionCode(edition.fixedCode);
    SetTitleStringId(dvapp::TitleStringId(m_editionMask, kernel));
    SetDocTemplateResourceId(dvapp::DocTemplateResourceId(m_editionMask, kernel));

    DVMessageBox::SetCaption(GetApplicationName());

    const VersionNumber kernelVersion = VersionNumber::fromFile(kKernelModule);
    if (kernelVersion != kProgramVersion) {
        logIncompatible(DVLogFailure, "Kernel", kKernelModule, kernelVersion);
        showStartupError(L"Fatal Error: Incorrect Version of DravikKernel.dll");
        return FALSE;
    }

    SetRegistryKey(m_startup.Company.c_str());
    SetRegistryProfileName(m_startup.RegistryName.c_str());

    m_ddeAppAtom = GlobalAddAtomW(L"dravik");
    m_ddeTopicAtom = GlobalAddAtomW(L"system");
    if (commandLine.m_nShellCommand == CCommandLineInfo::FileDDE)
        QueueDDECommand(ShellDDERespondWindow::GetShellCommand().c_str());

    bool wantSplash = commandLine.m_bShowSplash && effective.GetInt(kSettings, L"Splash", 1) != 0;
    m_startPage = effective.GetInt(kSettings, L"StartPage", 1) != 0;
    if (!commandLine.m_bRunEmbedded && hiddenOrMinimised(m_nCmdShow))
        wantSplash = false;

    SharedPathNameFlagsCacheBlock pathCache;
    if (!kernel.PreInitSession(1))
        return FALSE;
    m_sessionOpened = true;

    // An edition without a title string keeps the application name, so that no box of the
    // module loading below goes out without a caption.
    const std::wstring title = GetTitleStringId() != 0 ? DVLoadString(GetTitleStringId()) : std::wstring();
    DVMessageBox::SetCaption(title.empty() ? GetApplicationName() : CString(title.c_str()));

    if (wantSplash) {
        const bool drawTexts = m_editionMask != dvapp::EditionGS && m_editionMask != dvapp::EditionGS3D;
        auto* splash =
            new CSplashWnd(dvapp::GetIniPathSetting(ini, kSettings, L"SplashImage", L""), drawTexts);
        // Kept (not deleted when it ends) so that the program's end can wait for it.
        m_splashThread =
            AfxBeginThread(SplashThreadProc, splash, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        if (m_splashThread != nullptr) {
            m_splashThread->m_bAutoDelete = FALSE;
            m_splashThread->ResumeThread();
            m_splashStarted = true;
        } else {
            delete splash;
        }
    }

    LoadEditionModules();

    kernel.RestoreSessionLanguage();
    RegisterSystemCommands(m_editionMask);
    const bool sessionReady = kernel.PostInitSession();
    CXTPPaintManager::GetInstanceAddRef();
    m_paintManagerHeld = true;

    const bool initialised = sessionReady && InitInstance(commandLine, ini);
    SignalSplashClose();
    m_unattended = initialised && m_unattendedQuery && !commandLine.m_bRunEmbedded &&
                   !commandLine.m_bRunAutomated && m_unattendedQuery();

    if (sessionReady && initialised) {
        const std::vector<CMainFrame*> frames = GetMainFrames();
        for (auto it = frames.rbegin(); it != frames.rend(); ++it)
            (*it)->SetForegroundWindow();
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
            document->UpdateFrameCounts();
    }

    const std::int64_t elapsedUs = nowUs() - started;
    DVLog_Write(DVLogInfo, "Initialized in %lld.%03lld ms", static_cast<long long>(elapsedUs / 1000),
                static_cast<long long>(elapsedUs % 1000));
    ApplicationEventManager::runEvent(kStartedEvent, ApplicationEventArgs(), nullptr);

    return sessionReady && initialised ? TRUE : FALSE;
}

void DravikApp::LoadEditionModules() {
    for (const dvapp::ModuleRow& row : dvapp::kModuleTable) {
        if ((row.flags & m_editionMask) == 0)
            continue;
        const bool optional = (row.flags & dvapp::OptionalModule) != 0;
        const int level = optional ? DVLogOptionalFailure : DVLogFailure;
        const std::string name = narrow(row.name);
        const VersionNumber version = VersionNumber::fromFile(row.name);
        if (version != kProgramVersion) {
            logIncompatible(level, optional ? "Optional" : "Mandatory", row.name, version);
            showStartupError(Dravik::I18n::FormatTranslation(
                L"Incorrect version of \"%s\" (%u.%u.%u.%u)", row.name, unsigned(version.major()),
                unsigned(version.minor()), unsigned(version.build()), unsigned(version.revision())));
        } else {
            DVLog_Write(DVLogInfo, "Loading %s module \"%s\" v%u.%u.%u.%u...",
                        optional ? "optional" : "mandatory", name.c_str(), version.major(), version.minor(),
                        version.build(), version.revision());
            if (Dravik::Module::loadMfcAndInitialize(row.name, 0) != nullptr)
                continue;
            DVLog_Write(level, "Failed to load %s module \"%s\": 0x%08x", optional ? "optional" : "mandatory",
                        name.c_str(), static_cast<unsigned>(GetLastError()));
            showStartupError(Dravik::I18n::FormatTranslation(L"Cannot load module \"%s\"", row.name));
        }
        // Under one edition a missing mandatory module is fatal to what follows; the splash
        // must not hide the box that says so.
        if (!optional && m_editionMask < dvapp::EditionAny)
            SignalSplashClose();
    }
}

CDocument* DravikApp::OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) {
    BeginWaitCursor();
    InitializeMacroManager();
    CDocument* document = CDvw32App::OpenDocumentFile(lpszFileName, bAddToMRU);
    EndWaitCursor();
    return document;
}

BOOL DravikApp::OnIdle(LONG lCount) {
    const BOOL more = CDvw32App::OnIdle(lCount);
    if (lCount == 0)
        ForgetSavedRecoveryCopies();
    if (m_unattended && !m_closingUnattended && !more) {
        // Everything has painted: the frames close as a person would close them.
        m_closingUnattended = true;
        DVLog_Write(DVLogInfo, "Nobody is at a display: closing the main windows");
        for (CMainFrame* frame : GetMainFrames())
            frame->PostMessage(WM_CLOSE);
    }
    return more;
}

int DravikApp::ExitInstance() {
    // The Exit command, automation's Quit, a restart, the loop's end and a failed start-up all
    // come here: the work is done by the first of them.
    if (m_exited)
        return m_exitCode;
    m_exited = true;
    GenerateDumpFileAppContext context;
    m_exitCode = dvapp::RunGuarded(&context, 0, [this] { return DoExitInstance(); });
    return m_exitCode;
}

DravikApp::~DravikApp() {
    EndSplash();
}

void DravikApp::EndSplash() {
    if (m_splashThread == nullptr)
        return;
    SignalSplashClose();
    // What the splash sends to this thread's windows meanwhile is answered, or it could not end.
    HANDLE thread = m_splashThread->m_hThread;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    delete m_splashThread;
    m_splashThread = nullptr;
}

int DravikApp::DoExitInstance() {
    DV_NOT_BUILT_YET("ExitInstance: the forms toolkit's last idle call and the document manager's flag");
    EndSplash();
    // The display went away with the windows on it: nobody can be asked about changed drawings,
    // so they are kept as at a crash, and the next start opens them again.
    if (::GetSystemMetrics(SM_SHUTTINGDOWN) != 0) {
        DVLog_Write(DVLogFailure, "The display went away: the open documents are kept for the next start");
        GenerateDumpFileAppContext().KeepDocumentsForRecovery();
    }
    // An end without closing a window (an automation client's Quit) keeps them too; a start that
    // failed leaves the last list alone.
    if (m_saveAtExit)
        SaveOpenConfigurations();
    if (m_saveAtExit && NumMainFrames() > 0) {
        DravikProfileManager::SaveState();
        m_saveAtExit = false;
    }
    // Every frame the UI module still lists, whatever its class.
    for (;;) {
        const std::vector<CFrameWnd*> frames = UIModuleProxy::Instance().GetMainFrames();
        const auto live = std::find_if(frames.begin(), frames.end(),
                                       [](CFrameWnd* frame) { return frame->m_hWnd != nullptr; });
        if (live == frames.end())
            break;
        if (!(*live)->DestroyWindow())
            break;
    }
    ApplicationManager::Get().OnExitInstance();
    DestroyAllClipartViews();
    m_paneWindows->DestroyWindows();
    if (m_paintManagerHeld) {
        CXTPPaintManager::ReleaseInstance();
        m_paintManagerHeld = false;
    }
    GetGlobalData()->CleanUp();
    const int result = CDvw32App::ExitInstance();
    if (m_oleInitialized) {
        OleUninitialize();
        m_oleInitialized = false;
    }
    return result;
}

void DravikApp::CloseKernelSession() {
    if (m_sessionOpened) {
        GlobalContainer::Instance().DestroySession(0);
        m_sessionOpened = false;
    }
}

bool DravikApp::WantsStartPages() const {
    return m_startPage && GetSettings().startPageDisplayOption;
}
