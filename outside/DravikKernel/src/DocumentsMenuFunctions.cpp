// The documents browser's model as the program reaches it: the global group, opening and
// making configurations, look-ups, library folders and their drawings.
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/detail/control.h"

#include "ConfigurationDialog.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/KernelServices.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/controls/commdlg.h"
#include "win/user.h"

#include "afxdlgs.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace DocumentsMenu {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The components of a path ("C:", "a", "b" for "C:\a\b\"; "", "x" for "/x").
std::vector<std::wstring> components(std::wstring_view path) {
    std::vector<std::wstring> parts;
    std::wstring current;
    for (wchar_t c : path) {
        if (isSeparator(c)) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    // Empty pieces between separators say nothing, except the root of "/x" and "\\server".
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty() || i == 0)
            out.push_back(parts[i]);
    return out;
}

// "." and "x\.." taken out of an absolute path, whose separators stay as they were.
std::wstring collapse(const std::wstring& path) {
    const wchar_t separator = path.starts_with(L"/") ? L'/' : L'\\';
    std::vector<std::wstring> kept;
    const std::vector<std::wstring> parts = components(path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 && parts[i] == L".")
            continue;
        if (i > 0 && parts[i] == L".." && kept.size() > 1) {
            kept.pop_back();
            continue;
        }
        kept.push_back(parts[i]);
    }
    std::wstring out = path.starts_with(L"\\\\") ? std::wstring(L"\\") : std::wstring();
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            out += separator;
        out += kept[i];
    }
    return out;
}

std::wstring withoutTrailingSeparators(std::wstring path) {
    while (path.size() > 1 && isSeparator(path.back()))
        path.pop_back();
    return path;
}

bool samePath(std::wstring_view a, std::wstring_view b) {
    const auto x = components(withoutTrailingSeparators(std::wstring(a)));
    const auto y = components(withoutTrailingSeparators(std::wstring(b)));
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (!pal::text::equalsNoCase(x[i], y[i]))
            return false;
    return true;
}

std::wstring folderOf(const std::wstring& file) {
    const std::size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

std::wstring lastComponent(const std::wstring& path) {
    const std::wstring trimmed = withoutTrailingSeparators(path);
    const std::size_t slash = trimmed.find_last_of(L"\\/");
    return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

// The kernel's library-form paths name libraries of the active configuration.
std::wstring activeLibraryFolder(const std::wstring& name) {
    const IConfiguration* active = FindActiveCfg(GlobalCfgGroup());
    return active ? GetLibraryAbsolutePath(FindLibraryByName(active, name.c_str())) : std::wstring();
}

void tell(const std::wstring& text) {
    DVMessageBox::Show(text.c_str(), MB_OK | MB_ICONERROR);
}

std::mutex installedMutex;
std::wstring installedFolderOverride;

template <class F> void forEachGroup(ILibrariesGroup* group, F&& f) {
    f(group);
    for (std::size_t i = 0; i < group->GetSubGroupsCount(); ++i)
        forEachGroup(group->GetSubGroup(i), f);
}

template <class F> void forEachLibrary(const IConfigurationsGroup& group, F&& f) {
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        for (ILibrary* library : CollectAllLibraries(group.GetAt(i)))
            f(library);
}

} // namespace

IConfigurationsGroup& GlobalCfgGroup() {
    static IConfigurationsGroup* group = [] {
        Dravik::SetLibraryPathFinder(&activeLibraryFolder);
        return new IConfigurationsGroup;
    }();
    return *group;
}

IConfiguration* OpenConfigurationFile(IConfigurationsGroup& group, const std::wstring& path,
                                      std::wstring* error) {
    if (IConfiguration* open = FindConfigurationByPath(group, path.c_str())) {
        open->SetActive(true);
        return open;
    }
    auto made = CreateConfiguration(L"", false);
    made->SetPath(path);
    if (!made->Load()) {
        if (error)
            *error = made->LastError();
        return nullptr;
    }
    IConfiguration* added = group.Add(std::move(made));
    if (added)
        added->SetActive(true);
    return added;
}

std::wstring AskForConfigurationFile(bool open, const std::wstring& suggested) {
    const std::wstring filter = DVLoadString(2238);
    const DWORD flags = OFN_HIDEREADONLY | OFN_EXPLORER | (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    CFileDialog dialog(open ? TRUE : FALSE, L"tws", suggested.empty() ? nullptr : suggested.c_str(), flags,
                       filter.empty() ? nullptr : filter.c_str(), nullptr, 0, TRUE);
    return dialog.DoModal() == IDOK ? std::wstring(dialog.GetPathName().GetString()) : std::wstring();
}

IConfiguration* OpenConfiguration(IConfigurationsGroup& group) {
    const std::wstring path = AskForConfigurationFile(true, {});
    if (path.empty())
        return nullptr;
    std::wstring error;
    IConfiguration* opened = OpenConfigurationFile(group, path, &error);
    if (opened == nullptr && !error.empty())
        tell(error);
    return opened;
}

IConfiguration* CreateNewConfiguration(IConfigurationsGroup& group) {
    const std::wstring path = AskForConfigurationFile(false, {});
    if (path.empty())
        return nullptr;
    if (FindConfigurationByPath(group, path.c_str()) != nullptr) {
        tell(L"The library configuration \"" + path + L"\" is open already");
        return nullptr;
    }
    const std::wstring file = lastComponent(path);
    auto made = CreateConfiguration(file.substr(0, file.rfind(L'.')).c_str(), false);
    made->SetPath(path);
    if (!made->Save(true)) {
        tell(made->LastError());
        return nullptr;
    }
    IConfiguration* added = group.Add(std::move(made));
    if (added)
        added->SetActive(true);
    return added;
}

IConfiguration* OpenConfigurationFromORSA(IConfigurationsGroup&, HWND) {
    DV_NOT_BUILT_YET("OpenConfigurationFromORSA: configurations kept in the PDM system");
    return nullptr;
}

std::unique_ptr<IConfiguration> CreateConfiguration(const wchar_t* name, bool) {
    return std::make_unique<IConfiguration>(name ? name : L"");
}

IConfiguration* FindConfigurationByPath(const IConfigurationsGroup& group, const wchar_t* path) {
    if (!path || !*path)
        return nullptr;
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        if (IConfiguration* c = group.GetAt(i); !c->GetPath().empty() && samePath(c->GetPath(), path))
            return c;
    return nullptr;
}

IConfiguration* FindActiveCfg(const IConfigurationsGroup& group) {
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        if (group.GetAt(i)->IsActive())
            return group.GetAt(i);
    return nullptr;
}

bool SaveAllConfigurations(const IConfigurationsGroup& group) {
    bool all = true;
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        all = group.GetAt(i)->Save(false) && all; // a failure does not stop the others
    return all;
}

bool CloseAllConfigurations(IConfigurationsGroup& group) {
    // Closing takes a configuration out of the group, so the list is taken first.
    std::vector<IConfiguration*> open;
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        open.push_back(group.GetAt(i));
    bool all = true;
    for (IConfiguration* configuration : open)
        all = configuration->Close(true) && all;
    return all;
}

std::wstring GetInstalledConfigurationsFolder() {
    {
        std::lock_guard lock(installedMutex);
        if (!installedFolderOverride.empty())
            return installedFolderOverride;
    }
    return DVAppendProgramPath(L"Configurations", 0, false);
}

void GetInstalledConfigurations(std::vector<std::wstring>& names, std::vector<std::wstring>& paths) {
    names.clear();
    paths.clear();
    const std::wstring folder = GetInstalledConfigurationsFolder();
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(pal::path::toNative(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::wstring name = pal::path::textOf(it->path().filename());
        if (it->is_regular_file(ec) && !name.starts_with(L".") &&
            pal::text::equalsNoCase(pal::path::textOf(it->path().extension()), L".tws"))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return pal::text::compareNoCase(pal::path::textOf(a.filename()), pal::path::textOf(b.filename())) < 0;
    });
    for (const fs::path& file : files) {
        names.push_back(pal::path::textOf(file.stem()));
        paths.push_back(pal::path::fromNative(file));
    }
}

std::unique_ptr<ILibrariesGroup> CreateLibrariesGroup(const wchar_t* name) {
    return std::make_unique<ILibrariesGroup>(name ? name : L"");
}

std::unique_ptr<ILibrary> CreateLibrary(const wchar_t* path) {
    auto library = std::make_unique<ILibrary>(path ? path : L"");
    library->SetName(lastComponent(library->GetPath()));
    return library;
}

std::unique_ptr<ILibrary> CreateLibrary(const ILibrary& source) {
    auto library = std::make_unique<ILibrary>(source.GetPath());
    library->SetName(source.GetName());
    library->SetAuthor(source.GetAuthor());
    library->SetCompany(source.GetCompany());
    library->SetComment(source.GetComment());
    library->SetExcluded(source.IsExcluded());
    library->SetStandardElements(source.IsStandardElements());
    library->SetSymbolElements(source.IsSymbolElements());
    library->excludedDocuments_ = source.excludedDocuments_;
    return library;
}

ILibrariesGroup* FindLibrariesGroup(const IConfigurationsGroup& group, const Guid& id) {
    ILibrariesGroup* found = nullptr;
    for (std::size_t i = 0; i < group.GetCount() && !found; ++i)
        forEachGroup(group.GetAt(i), [&](ILibrariesGroup* g) {
            if (!found && g->GetGuid() == id)
                found = g;
        });
    return found;
}

ILibrary* FindLibrary(const IConfigurationsGroup& group, const Guid& id) {
    ILibrary* found = nullptr;
    forEachLibrary(group, [&](ILibrary* library) {
        if (!found && library->GetGuid() == id)
            found = library;
    });
    return found;
}

ILibrary* FindLibraryByName(const ILibrariesGroup* group, const wchar_t* name) {
    if (!group || !name)
        return nullptr;
    for (ILibrary* library : CollectAllLibraries(group))
        if (pal::text::equalsNoCase(library->GetName(), name))
            return library;
    return nullptr;
}

ILibrary* FindLibraryByName(const IConfigurationsGroup& group, const wchar_t* name) {
    for (std::size_t i = 0; i < group.GetCount(); ++i)
        if (ILibrary* library = FindLibraryByName(group.GetAt(i), name))
            return library;
    return nullptr;
}

std::vector<ILibrary*> CollectAllLibraries(const ILibrariesGroup* group) {
    std::vector<ILibrary*> libraries;
    if (group == nullptr)
        return libraries;
    forEachGroup(const_cast<ILibrariesGroup*>(group), [&](ILibrariesGroup* g) {
        for (std::size_t i = 0; i < g->GetLibrariesCount(); ++i)
            libraries.push_back(g->GetLibrary(i));
    });
    return libraries;
}

std::vector<ILibrary*> CollectAllLibraries(const IConfigurationsGroup& group) {
    std::vector<ILibrary*> libraries;
    forEachLibrary(group, [&](ILibrary* library) { libraries.push_back(library); });
    return libraries;
}

std::vector<ILibrary*> CollectAllLibrariesByPath(const IConfigurationsGroup& group, const wchar_t* folder) {
    std::vector<ILibrary*> libraries;
    if (folder == nullptr || *folder == 0)
        return libraries;
    forEachLibrary(group, [&](ILibrary* library) {
        const std::wstring own = GetLibraryAbsolutePath(library);
        if (!own.empty() && samePath(own, folder))
            libraries.push_back(library);
    });
    return libraries;
}

IConfiguration* GetConfiguration(const ILibrary* library) {
    return library && library->GetParent() ? library->GetParent()->GetConfiguration() : nullptr;
}

namespace {

// The folder that relative library folders lie in: the configuration file's, else the program's.
std::wstring baseFolderOf(const ILibrary* library) {
    const IConfiguration* configuration = GetConfiguration(library);
    return configuration ? folderOf(configuration->GetPath()) : std::wstring();
}

} // namespace

std::wstring GetLibraryAbsolutePath(const ILibrary* library) {
    if (!library || library->GetPath().empty())
        return {};
    std::wstring path = library->GetPath();
    if (!pal::path::isAbsolute(path)) {
        const std::wstring base = baseFolderOf(library);
        path = base.empty() ? DVAppendProgramPath(path.c_str(), 0, false)
                            : base + (base.starts_with(L"/") ? L"/" : L"\\") + path;
    }
    path = collapse(path);
    // A drive path ends with the platform's separator, a native folder with its own.
    if (!isSeparator(path.back()))
        path += path.front() == L'/' ? L'/' : L'\\';
    return path;
}

std::wstring GetLibraryRelativePath(const ILibrary* library) {
    const std::wstring absolute = GetLibraryAbsolutePath(library);
    const std::wstring base = baseFolderOf(library);
    if (absolute.empty() || base.empty() || !pal::path::isAbsolute(base))
        return absolute;
    const auto target = components(withoutTrailingSeparators(absolute));
    const auto from = components(collapse(base));
    if (target.empty() || from.empty() || !pal::text::equalsNoCase(target[0], from[0]))
        return absolute; // another drive: no relative form
    std::size_t common = 0;
    while (common < target.size() && common < from.size() &&
           pal::text::equalsNoCase(target[common], from[common]))
        ++common;
    const wchar_t separator = absolute.front() == L'/' ? L'/' : L'\\';
    std::wstring relative;
    for (std::size_t i = common; i < from.size(); ++i)
        relative += std::wstring(L"..") + separator;
    for (std::size_t i = common; i < target.size(); ++i)
        relative += target[i] + separator;
    if (relative.empty())
        return L".";
    relative.pop_back();
    return relative;
}

void ForEachLibraryDocument(ILibrary* library, const LibraryDocumentCallback& callback) {
    const std::wstring folder = GetLibraryAbsolutePath(library);
    if (folder.empty() || !callback)
        return;
    std::vector<std::wstring> names;
    std::error_code ec;
    for (fs::directory_iterator it(pal::path::toNative(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        const std::wstring name = pal::path::textOf(it->path().filename());
        if (!name.starts_with(L".") && it->is_regular_file(typeError) &&
            pal::text::equalsNoCase(pal::path::textOf(it->path().extension()), L".grb"))
            names.push_back(name);
    }
    // Names beginning with "_" come first, as the browser lists them.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const bool ua = a.starts_with(L"_"), ub = b.starts_with(L"_");
        if (ua != ub)
            return ua;
        return pal::text::compareNoCase(a, b) < 0;
    });
    for (const std::wstring& name : names)
        if (!callback(name, library, library->IsDocumentExcluded(name)))
            return;
}

ILibrary* GetLibraryForFullPath(const wchar_t* path, std::wstring* relativeName) {
    if (path == nullptr || *path == 0)
        return nullptr;
    const std::wstring full = path;
    const std::wstring folder = folderOf(full);
    ILibrary* found = nullptr;
    forEachLibrary(GlobalCfgGroup(), [&](ILibrary* library) {
        const std::wstring own = GetLibraryAbsolutePath(library);
        if (!found && !own.empty() && samePath(own, folder))
            found = library;
    });
    if (found && relativeName)
        *relativeName = full.substr(folder.size() + 1);
    return found;
}

std::wstring BuildLibraryItemPath(const ILibrary* library, const std::wstring& name) {
    const std::wstring folder = GetLibraryAbsolutePath(library);
    return folder.empty() ? std::wstring() : folder + name;
}

} // namespace DocumentsMenu

namespace dvkernel::detail {

void setInstalledConfigurationsFolder(const std::wstring& folder) {
    std::lock_guard lock(DocumentsMenu::installedMutex);
    DocumentsMenu::installedFolderOverride = folder;
}

} // namespace dvkernel::detail
