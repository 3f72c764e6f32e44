// The documents browser's model as far as the application's main road uses it: the global
// group of library configurations, each configuration's libraries, and the look-ups by path
// and by name. The browser itself completes it.
//
// The library's rules for it:
// - A configuration is a file (".tws"): an INI with a section "Configuration" (Name) and one
//   section per library, "Library1", "Library2", ... in order (Name, Path). Saving goes through
//   the atomic writer; a configuration without a file has nothing to save and counts as saved.
// - A library's folder is kept as given. A relative folder lies beside the configuration's file
//   (or in the program folder for a configuration without one). Absolute paths end with a
//   backslash.
// - Names compare without regard to case; paths compare without regard to case and separator.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class IConfiguration;

class ILibrary {
public:
    explicit ILibrary(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& GetName() const { return name_; }
    void SetName(std::wstring name) { name_ = std::move(name); }
    const std::wstring& GetPath() const { return path_; }
    bool SetPath(std::wstring path);
    IConfiguration* GetConfiguration() const { return configuration_; }

private:
    friend class IConfiguration;
    std::wstring name_;
    std::wstring path_;
    IConfiguration* configuration_ = nullptr;
};

class IConfiguration {
public:
    explicit IConfiguration(std::wstring name) : name_(std::move(name)) {}
    const std::wstring& GetName() const { return name_; }
    const std::wstring& GetPath() const { return path_; }
    void SetPath(std::wstring path) { path_ = std::move(path); }
    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }

    std::size_t GetLibraryCount() const { return libraries_.size(); }
    ILibrary* GetLibrary(std::size_t index) const {
        return index < libraries_.size() ? libraries_[index].get() : nullptr;
    }
    ILibrary* AddLibrary(std::unique_ptr<ILibrary> library);

    // Reads the configuration's file; false when it cannot be read.
    bool Load();
    bool Save() const;

private:
    std::wstring name_;
    std::wstring path_;
    bool active_ = false;
    std::vector<std::unique_ptr<ILibrary>> libraries_;
};

class ConfigurationGroup {
public:
    std::size_t GetCount() const { return configurations_.size(); }
    // The configuration at an index, or null.
    IConfiguration* GetAt(std::size_t index) const {
        return index < configurations_.size() ? configurations_[index].get() : nullptr;
    }
    IConfiguration* Add(std::unique_ptr<IConfiguration> configuration);
    void Clear() { configurations_.clear(); }

private:
    std::vector<std::unique_ptr<IConfiguration>> configurations_;
};

// The browser's global configuration group; empty until configurations are opened.
ConfigurationGroup& GlobalCfgGroup();

// A new configuration bearing the name, not yet in a group; `flag` is reserved (callers pass
// false and then set the path).
std::unique_ptr<IConfiguration> CreateConfiguration(const wchar_t* name, bool flag);
IConfiguration* FindConfigurationByPath(const ConfigurationGroup& group, const wchar_t* path);
IConfiguration* FindActiveCfg(const ConfigurationGroup& group);
// True when every configuration of the group was saved.
bool SaveAllConfigurations(const ConfigurationGroup& group);

// The library configurations installed with the program: two parallel lists, names, then
// paths. The browser tells what it found installed; empty until it does.
void GetInstalledConfigurations(std::vector<std::wstring>& names, std::vector<std::wstring>& paths);
void SetInstalledConfigurations(std::vector<std::wstring> names, std::vector<std::wstring> paths);

// A new library of the folder, not yet in a configuration.
std::unique_ptr<ILibrary> CreateLibrary(const wchar_t* path);
ILibrary* FindLibraryByName(const IConfiguration* configuration, const wchar_t* name);
// The library's folder as an absolute path ending with a backslash; empty for none.
std::wstring GetLibraryAbsolutePath(const ILibrary* library);

} // namespace DocumentsMenu

DV_EXPORTS_END
