#include "afx/app.h"
#include "afx/frame.h"
#include "afx/recent.h"
#include "afx/wndmsg.h"
#include "afxres.h"

#include "pal/journal.h"
#include "pal/path.h"
#include "pal/registry.h"
#include "pal/sandbox.h"

#include <cstdlib>
#include <cwchar>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* theApp = nullptr;

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    ASSERT(theApp == nullptr && "one application object per program");
    theApp = this;
    m_bAutoDelete = FALSE;
    if (lpszAppName != nullptr)
        replace(m_pszAppName, lpszAppName);
}

CWinApp::~CWinApp() {
    delete m_pDocManager;
    delete m_pRecentFileList;
    for (LPCWSTR* field :
         {&m_pszAppName, &m_pszExeName, &m_pszHelpFilePath, &m_pszRegistryKey, &m_pszProfileName})
        replace(*field, nullptr);
    if (theApp == this)
        theApp = nullptr;
}

void CWinApp::replace(LPCWSTR& field, LPCWSTR value) {
    std::free(const_cast<wchar_t*>(field));
    field = value ? wcsdup(value) : nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

// The recent-file list outlives the run in the profile.
int CWinApp::ExitInstance() {
    if (m_pRecentFileList != nullptr)
        SaveStdProfileSettings();
    return static_cast<int>(m_msgCur.wParam);
}

// Without a main window, an application that the user started has nothing to run.
int CWinApp::Run() {
    if (m_pMainWnd == nullptr && AfxOleGetUserCtrl())
        AfxPostQuitMessage(0);
    return CWinThread::Run();
}

// Count 0 updates the command states; count 1 frees temporary objects; then idle work ends.
BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount <= 0)
        CWinThread::OnIdle(lCount);
    else if (lCount == 1)
        CWinThread::OnIdle(lCount);
    return lCount < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    return CWinThread::PreTranslateMessage(pMsg);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    pal::mfc::parseArguments(rCmdInfo, pal::mfc::arguments());
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    BOOL result = TRUE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        if (m_pMainWnd == nullptr)
            result = FALSE;
        break;
    case CCommandLineInfo::FileOpen:
        if (OpenDocumentFile(rCmdInfo.m_strFileName) == nullptr)
            result = FALSE;
        break;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Print without showing anything, then end.
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr && m_pMainWnd != nullptr) {
            m_pCmdInfo = &rCmdInfo;
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
            m_pCmdInfo = nullptr;
        }
        result = FALSE;
        break;
    case CCommandLineInfo::FileDDE:
        // The command arrives later by DDE; the window stays hidden until then.
        m_nCmdShow = SW_HIDE;
        break;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        // Registration is all such a run does.
        result = FALSE;
        break;
    case CCommandLineInfo::FileNothing:
    default:
        break;
    }
    return result;
}

// Understands [open("path")]; anything else is not a command of the application.
BOOL CWinApp::OnDDECommand(LPWSTR lpszCommand) {
    CString command(lpszCommand);
    command.Trim();
    const CString prefix(L"[open(\"");
    if (command.GetLength() <= prefix.GetLength() + 4 ||
        command.Left(prefix.GetLength()).CompareNoCase(prefix) != 0 || command.Right(3) != L"\")]")
        return FALSE;
    const CString path = command.Mid(prefix.GetLength(), command.GetLength() - prefix.GetLength() - 3);
    OpenDocumentFile(path);
    if (m_pMainWnd != nullptr && !m_pMainWnd->IsWindowVisible())
        m_pMainWnd->ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate == nullptr)
        return;
    if (m_pDocManager == nullptr)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

const std::vector<CDocTemplate*>& CWinApp::GetDocTemplates() const {
    static const std::vector<CDocTemplate*> none;
    return m_pDocManager != nullptr ? m_pDocManager->templates() : none;
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    return OpenDocumentFile(lpszFileName, TRUE);
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU) {
    return m_pDocManager != nullptr ? m_pDocManager->OpenDocumentFile(lpszFileName, bAddToMRU) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    return m_pDocManager == nullptr || m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager != nullptr)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount() const {
    return m_pDocManager != nullptr ? m_pDocManager->GetOpenDocumentCount() : 0;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
    return m_pDocManager != nullptr &&
           m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::AddToRecentFileList(LPCWSTR lpszPathName) {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::SaveStdProfileSettings() {
    pal::reg::Batch batch;
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt(L"Settings", L"PreviewPages", static_cast<int>(m_nNumPreviewPages));
}

// Help goes to the application's help file; without one nothing is shown.
void CWinApp::WinHelpInternal(DWORD_PTR dwData, UINT nCmd) {
    if (m_pszHelpFilePath == nullptr || *m_pszHelpFilePath == L'\0')
        return;
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    if (nCmd == HELP_CONTEXT)
        HtmlHelpW(owner, m_pszHelpFilePath, HH_HELP_CONTEXT, dwData);
    else
        HtmlHelpW(owner, m_pszHelpFilePath, HH_DISPLAY_TOC, 0);
}

void CWinApp::OnFilePrintSetup() {
    pal::journal::record("PrintSetup");
}

// A recent file that no longer opens leaves the list.
BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (m_pRecentFileList == nullptr)
        return FALSE;
    const int index = static_cast<int>(nID) - static_cast<int>(ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetCount())
        return FALSE;
    const CString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path) == nullptr)
        m_pRecentFileList->Remove(index);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->UpdateMenu(pCmdUI);
    else if (pCmdUI != nullptr)
        pCmdUI->Enable(FALSE);
}

int CWinApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT) {
    constexpr UINT kIconMask = 0xF0;
    if ((nType & kIconMask) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    // The box belongs to the window the person works in: a dialog open over the main window
    // rather than the main window it disabled.
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (const HWND active = ::GetActiveWindow(); active != nullptr && ::IsWindowEnabled(active))
        owner = active;
    return ::MessageBoxW(owner, lpszPrompt, m_pszAppName, nType);
}

void CWinApp::OnFileNew() {
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
    CString name;
    if (DoPromptFileName(name, 0, 0, TRUE, nullptr))
        OpenDocumentFile(name);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}

// Globals -----------------------------------------------------------------------------------

CWinApp* AfxGetApp() {
    return theApp;
}

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

LPCWSTR AfxGetAppName() {
    return theApp ? theApp->m_pszAppName : L"";
}

HINSTANCE AfxGetInstanceHandle() {
    return theApp ? theApp->m_hInstance : nullptr;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return FALSE;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    // The program's own name, without folder or extension.
    std::wstring exe = pal::path::textOf(pal::folders::programFile().stem());
    if (exe.empty())
        exe = L"app";
    std::free(const_cast<wchar_t*>(app->m_pszExeName));
    app->m_pszExeName = wcsdup(exe.c_str());
    if (app->m_pszAppName == nullptr) {
        CString title;
        if (!title.LoadString(AFX_IDS_APP_TITLE))
            title = exe.c_str();
        app->m_pszAppName = wcsdup(title);
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) ||
        !app->InitApplication())
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp) {
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxW(nullptr, lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}

namespace pal::mfc {

int winMain(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(pal::text::fromUtf8(argv[i]));
    setArguments(args);
    std::wstring line;
    for (size_t i = 1; i < args.size(); ++i)
        line += (i > 1 ? L" " : L"") + args[i];
    static std::wstring commandLine;
    commandLine = line;
    return AfxWinMain(nullptr, nullptr, commandLine.data(), SW_SHOWNORMAL);
}

} // namespace pal::mfc
