#include "app/Dvw32App.h"
#include "app/StartupIni.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"

#include <cwchar>

namespace {

constexpr wchar_t kIniSwitch[] = L"ini:";
constexpr size_t kIniSwitchLength = 4;

} // namespace

void CDvw32App::DVCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag && pszParam[0] == L'L') {
        // Swallowed, but the end of the line is still the end of the line: a file named
        // before it must still become the file to open.
        ParseLast(bLast);
        return;
    }
    if (bFlag && std::wcsncmp(pszParam, kIniSwitch, kIniSwitchLength) == 0) {
        const wchar_t* rest = pszParam + kIniSwitchLength;
        m_strConfigurationFile.Empty();
        if (*rest != L'\0') {
            const std::wstring path = DVAppendProgramPath(rest, 0, false);
            if (dvapp::IsExistingFile(path)) {
                m_strConfigurationFile = path.c_str();
            } else {
                DVLog_Write(
                    DVLogWarning,
                    "Configuration file name \"%ls\" specified in the command line is invalid and will be "
                    "ignored",
                    rest);
            }
        }
        ParseLast(bLast);
        return;
    }
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
}
