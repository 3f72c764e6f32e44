// The command line as the application reads it: the shell command, the file name and the
// embedding flags.
#pragma once

#include "afx/object.h"
#include "afxstr.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CCommandLineInfo : public CObject {
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1,
    };

    CCommandLineInfo() = default;

    // One parameter, with the flag marker ("/" or "-") already taken off; bLast is set on the
    // last parameter of the line.
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(const char* pszParam);
    void ParseParamNotFlag(const wchar_t* pszParam);
    void ParseLast(BOOL bLast);
};

// Whether the application is under the user's control (as opposed to started by COM or DDE).
void AfxOleSetUserCtrl(BOOL bUserCtrl);
BOOL AfxOleGetUserCtrl();

namespace pal::mfc {

// The process's arguments, program name first, as the application's ParseCommandLine reads
// them. A program's main() sets them before the application runs.
void setArguments(std::vector<std::wstring> arguments);
std::vector<std::wstring> arguments();
// Offers each argument after the program name to info.ParseParam, with the flag marker ("/"
// or "-") taken off and the last one marked; CWinApp::ParseCommandLine does this on arguments().
void parseArguments(CCommandLineInfo& info, const std::vector<std::wstring>& argv);

} // namespace pal::mfc

DV_EXPORTS_END
