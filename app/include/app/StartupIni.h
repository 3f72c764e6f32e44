// The configuration start-up reads: the product INI, and over a copy of it the keys of an INI
// named on the command line. Path settings relative to no folder are looked for next to the
// command-line INI first, then in the program folder.
#pragma once

#include "Compression/IniFile.h"
#include "pal/visibility.h"

#include <optional>
#include <string>

DV_EXPORTS_BEGIN

namespace dvapp {

class StartupIni {
public:
    // Loads the product INI (an unreadable one leaves it empty) and, when `commandLineIni`
    // names a file, the command-line INI: an unreadable one is logged and left out, an empty
    // one changes nothing.
    void Load(const std::wstring& productIni, const std::wstring& commandLineIni);

    // The product INI alone: what the command-line INI may not change is read here.
    const dvio::IniFile& Product() const { return product_; }
    // The product INI with the command-line INI's keys written over it.
    const dvio::IniFile& Effective() const { return merged_ ? *merged_ : product_; }
    // The command-line INI in force, or empty.
    const std::wstring& CommandLineIniPath() const { return commandLinePath_; }

private:
    dvio::IniFile product_;
    std::optional<dvio::IniFile> merged_;
    std::wstring commandLinePath_;
};

// True when `path` names an existing file (not a folder).
bool IsExistingFile(const std::wstring& path);

// A path setting of the effective INI: empty stays empty, an absolute path is taken as it is,
// a relative one is joined to the command-line INI's folder when that names an existing file,
// else to the program folder.
std::wstring GetIniPathSetting(const StartupIni& ini, const wchar_t* section, const wchar_t* key,
                               const wchar_t* defaultValue);

} // namespace dvapp

DV_EXPORTS_END
