#include "BadFiles.h"

#include "DVDiagnostics/DVLog.h"
#include "win/base.h"
#include "win/system/file.h"

#include <cstdarg>

namespace {

void logWide(int level, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(level, format, args);
    va_end(args);
}

} // namespace

namespace dvapp {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void SetAsideBadFile(const std::wstring& path, const wchar_t* what) {
    const std::wstring aside = path + L".bad";
    if (MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING))
        logWide(DVLogFailure, L"Could not read the %s from %s; kept as %s", what, path.c_str(),
                aside.c_str());
    else
        logWide(DVLogFailure, L"Could not read the %s from %s, nor set it aside", what, path.c_str());
}

} // namespace dvapp
