#include "docbrowser/DocumentsMenu.h"

#include "Compression/IniFile.h"
#include "DVDiagnostics/DVLog.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/KernelServices.h"
#include "win/base.h"
#include "win/system.h"

#include <cstdarg>

namespace DocumentsMenu {

namespace {

// The path with one kind of separator and without a trailing one, for comparing without case.
std::wstring normalised(std::wstring_view path) {
    std::wstring out(path);
    for (wchar_t& c : out)
        if (c == L'/')
            c = L'\\';
    while (!out.empty() && out.back() == L'\\')
        out.pop_back();
    return out;
}

bool samePath(std::wstring_view a, std::wstring_view b) {
    return lstrcmpiW(normalised(a).c_str(), normalised(b).c_str()) == 0;
}

void logWarning(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DVLog_WriteWV(DVLogWarning, format, args);
    va_end(args);
}

std::wstring folderOf(const std::wstring& file) {
    const std::size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

} // namespace

bool ILibrary::SetPath(std::wstring path) {
    if (path.empty())
        return false;
    path_ = std::move(path);
    return true;
}

ILibrary* IConfiguration::AddLibrary(std::unique_ptr<ILibrary> library) {
    if (!library)
        return nullptr;
    library->configuration_ = this;
    libraries_.push_back(std::move(library));
    return libraries_.back().get();
}

bool IConfiguration::Load() {
    dvio::IniFile ini;
    if (path_.empty() || !ini.Load(path_.c_str()))
        return false;
    libraries_.clear();
    if (const auto* section = ini.FindSection(L"Configuration"))
        if (const std::wstring* name = section->find(L"Name"))
            name_ = *name;
    for (int n = 1;; ++n) {
        const std::wstring sectionName = L"Library" + std::to_wstring(n);
        const auto* section = ini.FindSection(sectionName.c_str());
        if (!section)
            break;
        const std::wstring* path = section->find(L"Path");
        if (!path || path->empty()) {
            logWarning(L"Library configuration \"%s\": %s has no path, skipped", path_.c_str(),
                       sectionName.c_str());
            continue;
        }
        auto library = CreateLibrary(path->c_str());
        if (const std::wstring* name = section->find(L"Name"))
            library->SetName(*name);
        AddLibrary(std::move(library));
    }
    return true;
}

bool IConfiguration::Save() const {
    if (path_.empty())
        return true;
    dvio::IniFile ini;
    ini.SetString(L"Configuration", L"Name", name_.c_str());
    for (std::size_t i = 0; i < libraries_.size(); ++i) {
        const std::wstring section = L"Library" + std::to_wstring(i + 1);
        ini.SetString(section.c_str(), L"Name", libraries_[i]->GetName().c_str());
        ini.SetString(section.c_str(), L"Path", libraries_[i]->GetPath().c_str());
    }
    return ini.Save(path_.c_str());
}

IConfiguration* ConfigurationGroup::Add(std::unique_ptr<IConfiguration> configuration) {
    if (!configuration)
        return nullptr;
    configurations_.push_back(std::move(configuration));
    return configurations_.back().get();
}

namespace {

// The kernel's library-form paths name libraries of the active configuration.
std::wstring activeLibraryFolder(const std::wstring& name) {
    const IConfiguration* active = FindActiveCfg(GlobalCfgGroup());
    return active ? GetLibraryAbsolutePath(FindLibraryByName(active, name.c_str())) : std::wstring();
}

} // namespace

ConfigurationGroup& GlobalCfgGroup() {
    static ConfigurationGroup* group = [] {
        Dravik::SetLibraryPathFinder(&activeLibraryFolder);
        return new ConfigurationGroup;
    }();
    return *group;
}

std::unique_ptr<IConfiguration> CreateConfiguration(const wchar_t* name, bool) {
    return std::make_unique<IConfiguration>(name ? name : L"");
}

IConfiguration* FindConfigurationByPath(const ConfigurationGroup& group, const wchar_t* path) {
    if (!path || !*path)
        return nullptr;
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        if (IConfiguration* c = group.GetAt(i); !c->GetPath().empty() && samePath(c->GetPath(), path))
            return c;
    return nullptr;
}

IConfiguration* FindActiveCfg(const ConfigurationGroup& group) {
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        if (group.GetAt(i)->IsActive())
            return group.GetAt(i);
    return nullptr;
}

bool SaveAllConfigurations(const ConfigurationGroup& group) {
    bool all = true;
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        all = group.GetAt(i)->Save() && all; // a failure does not stop the others
    return all;
}

std::unique_ptr<ILibrary> CreateLibrary(const wchar_t* path) {
    return std::make_unique<ILibrary>(path ? path : L"");
}

ILibrary* FindLibraryByName(const IConfiguration* configuration, const wchar_t* name) {
    if (!configuration || !name)
        return nullptr;
    for (std::size_t i = 0; i < configuration->GetLibraryCount(); ++i)
        if (lstrcmpiW(configuration->GetLibrary(i)->GetName().c_str(), name) == 0)
            return configuration->GetLibrary(i);
    return nullptr;
}

std::wstring GetLibraryAbsolutePath(const ILibrary* library) {
    if (!library || library->GetPath().empty())
        return {};
    std::wstring path = library->GetPath();
    if (PathIsRelativeW(path.c_str())) {
        const IConfiguration* configuration = library->GetConfiguration();
        const std::wstring base = configuration ? folderOf(configuration->GetPath()) : std::wstring();
        path = base.empty() ? DVAppendProgramPath(path.c_str(), 0, false) : base + L"\\" + path;
    }
    // A drive path ends with the platform's separator, a native folder with its own.
    if (path.back() != L'\\' && path.back() != L'/')
        path += path.front() == L'/' ? L'/' : L'\\';
    return path;
}

} // namespace DocumentsMenu
