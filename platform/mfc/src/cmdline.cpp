#include "afx/cmdline.h"

#include <atomic>
#include <cstring>
#include <cwchar>
#include <mutex>

namespace {

std::atomic<bool> userControl{true};

std::mutex& argumentsMutex() {
    static std::mutex m;
    return m;
}
std::vector<std::wstring>& argumentStore() {
    static std::vector<std::wstring> args;
    return args;
}

bool equalsNoCaseAscii(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        const char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

} // namespace

void AfxOleSetUserCtrl(BOOL bUserCtrl) {
    userControl = bUserCtrl != FALSE;
}
BOOL AfxOleGetUserCtrl() {
    return userControl ? TRUE : FALSE;
}

namespace pal::mfc {

void setArguments(std::vector<std::wstring> arguments) {
    std::lock_guard lock(argumentsMutex());
    argumentStore() = std::move(arguments);
}

std::vector<std::wstring> arguments() {
    std::lock_guard lock(argumentsMutex());
    return argumentStore();
}

void parseArguments(CCommandLineInfo& info, const std::vector<std::wstring>& argv) {
    for (size_t i = 1; i < argv.size(); ++i) {
        const wchar_t* param = argv[i].c_str();
        // A POSIX absolute path also begins with a slash; a switch never holds a second one.
        const bool path = param[0] == L'/' && std::wcschr(param + 1, L'/') != nullptr;
        const BOOL flag = !path && (param[0] == L'-' || param[0] == L'/') ? TRUE : FALSE;
        info.ParseParam(flag ? param + 1 : param, flag, i + 1 == argv.size() ? TRUE : FALSE);
    }
}

} // namespace pal::mfc

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag)
        ParseParamFlag(CStringA(pszParam).GetString());
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

// The shell's own switches (p, pt, dde) are compared with case; the registration and COM
// switches without.
void CCommandLineInfo::ParseParamFlag(const char* pszParam) {
    if (std::strcmp(pszParam, "pt") == 0) {
        m_nShellCommand = FilePrintTo;
    } else if (std::strcmp(pszParam, "p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (equalsNoCaseAscii(pszParam, "Register") || equalsNoCaseAscii(pszParam, "Regserver")) {
        m_nShellCommand = AppRegister;
    } else if (equalsNoCaseAscii(pszParam, "Unregister") || equalsNoCaseAscii(pszParam, "Unregserver")) {
        m_nShellCommand = AppUnregister;
    } else if (std::strcmp(pszParam, "dde") == 0) {
        AfxOleSetUserCtrl(FALSE);
        m_nShellCommand = FileDDE;
    } else if (equalsNoCaseAscii(pszParam, "Embedding")) {
        AfxOleSetUserCtrl(FALSE);
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (equalsNoCaseAscii(pszParam, "Automation")) {
        AfxOleSetUserCtrl(FALSE);
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

// The first plain parameter is the file; for print-to the next three are the printer, the
// driver and the port. Anything further is ignored.
void CCommandLineInfo::ParseParamNotFlag(const wchar_t* pszParam) {
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}
