#include "app/StartupIni.h"

#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/KernelServices.h"
#include "win/base.h"
#include "win/system/shell.h"

namespace dvapp {

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void StartupIni::Load(const std::wstring& productIni, const std::wstring& commandLineIni) {
    product_.Load(productIni.c_str());
    merged_.reset();
    commandLinePath_.clear();
    if (!IsExistingFile(commandLineIni))
        return;
    dvio::IniFile overlay;
    if (!overlay.Load(commandLineIni.c_str())) {
        DVLog_Write(DVLogWarning, "Failed to load INI file \"%ls\"", commandLineIni.c_str());
        return;
    }
    if (overlay.IsEmpty())
        return;
    merged_ = product_;
    merged_->Overlay(overlay);
    commandLinePath_ = commandLineIni;
}

std::wstring GetIniPathSetting(const StartupIni& ini, const wchar_t* section, const wchar_t* key,
                               const wchar_t* defaultValue) {
    const std::wstring value = ini.Effective().GetString(section, key, defaultValue);
    if (value.empty() || !PathIsRelativeW(value.c_str()))
        return value;
    if (const std::wstring& beside = ini.CommandLineIniPath(); !beside.empty()) {
        const size_t slash = beside.find_last_of(L"\\/");
        const std::wstring candidate =
            (slash == std::wstring::npos ? std::wstring() : beside.substr(0, slash + 1)) + value;
        if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES)
            return candidate;
    }
    return DVAppendProgramPath(value.c_str(), 0, false);
}

} // namespace dvapp
