// CWinApp: the application object, its command line, its profile in the registry and its
// message boxes.
#pragma once

#include "afx/cmdline.h"
#include "afx/thread.h"
#include "pal/visibility.h"
#include "win/system/help.h"

#include <vector>

DV_EXPORTS_BEGIN

class CDocument;
class CDocTemplate;
class CDocManager;
class CRecentFileList;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Strings owned by the application and allocated with malloc: code that replaces one frees
    // the old string with free() and stores a copy made with wcsdup().
    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszExeName = nullptr;
    LPCWSTR m_pszHelpFilePath = nullptr;
    LPCWSTR m_pszRegistryKey = nullptr;
    LPCWSTR m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // Set while a command given on the command line (a print request) is carried out.
    CCommandLineInfo* m_pCmdInfo = nullptr;

    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL InitApplication() { return TRUE; }

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual BOOL OnDDECommand(LPWSTR lpszCommand);

    // The profile lives under HKEY_CURRENT_USER\Software\<registry key>\<profile name>.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR lpszSection);
    UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    CString GetProfileStringW(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // A null entry removes the section, a null value removes the entry.
    BOOL WriteProfileStringW(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
    // The bytes are allocated with new[]; the caller frees them with delete[].
    BOOL GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes);
    CString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR def = nullptr) {
        return GetProfileStringW(section, entry, def);
    }
    BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
        return WriteProfileStringW(section, entry, value);
    }
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    UINT m_nNumPreviewPages = 0;

    // Documents. The application owns the templates it is given, through its document manager.
    void AddDocTemplate(CDocTemplate* pTemplate);
    const std::vector<CDocTemplate*>& GetDocTemplates() const;
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName, BOOL bAddToMRU);
    // Asks each modified document once; FALSE as soon as one is cancelled.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount() const;
    // Asks for a file name through the document manager's open or save dialog; FALSE when none
    // was chosen.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    CDocManager* m_pDocManager = nullptr;

    // The recent-file list, made by LoadStdProfileSettings and saved by SaveStdProfileSettings.
    virtual void AddToRecentFileList(LPCWSTR lpszPathName);
    void SaveStdProfileSettings();
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    CRecentFileList* m_pRecentFileList = nullptr;

    // Every message box of the application: the application's name as the caption and the
    // main window as the owner; a box without an icon gets the one that fits its buttons.
    virtual int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // Help for the application's help file: a context id (HELP_CONTEXT) or the contents (any
    // other command) with the HTML help viewer. Nothing without a help file.
    virtual void WinHelpInternal(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    // The printer set-up; this platform has no printers, so the request is only journaled.
    void OnFilePrintSetup();

    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

protected:
    DECLARE_MESSAGE_MAP()

private:
    static void replace(LPCWSTR& field, LPCWSTR value);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCWSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
// Sets up the application's handles and names; AfxWinMain calls it before InitInstance.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
// InitInstance, then Run (or ExitInstance when InitInstance fails); the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

namespace pal::mfc {

// A program's main(): records the arguments and runs AfxWinMain for the application object.
int winMain(int argc, char** argv);

} // namespace pal::mfc

DV_EXPORTS_END
