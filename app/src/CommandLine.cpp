#include "app/Dvw32App.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"
#include "win/base.h"

#include <cwchar>

namespace {

constexpr wchar_t kIniSwitch[] = L"ini:";
constexpr size_t kIniSwitchLength = 4;

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

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
            if (isFile(path)) {
                m_strConfigurationFile = path.c_str();
            } else {
                DVLog_Write(
                    6,
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
