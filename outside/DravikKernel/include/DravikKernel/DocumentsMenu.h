// The documents browser's model: library configurations open in the program, each a tree of
// libraries groups whose leaves are libraries, each library a folder of drawings.
//
// The library's rules for it:
// - Every group (a configuration is one too) and every library carries an identifier that its
//   file keeps, so that what a person expanded, hid or copied is found again after a save.
// - A parent owns its members. Deleting an object takes it out of its parent first (the parent's
//   clients hear that its contents changed, the object's own that it was removed), then tells
//   its clients that it is destroyed; a parent going away takes its members with it.
// - Clients may add or remove clients, themselves or others, and delete other objects while
//   they are told something: the telling goes on with those that are still there, and a client
//   removed meanwhile hears nothing more.
// - A group never becomes a member of itself or of one of its own members: such an add is
//   refused and nothing changes.
// - A library's drawings are the ".grb" files lying directly in its folder, named by their file
//   names; an excluded mark is kept by that name.
// - A library's folder is kept as given. A relative folder lies beside the configuration's file
//   (in the program folder for a library without a configuration file). Absolute folders end
//   with a separator.
// - Names and paths compare without regard to case, paths also without regard to separator.
#pragma once

#include "DravikKernel/UniqueIdentifier.h"

#include "pal/visibility.h"
#include "win/types.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

using Guid = Dravik::UniqueIdentifier;

class ILibrary;
class ILibrariesGroup;
class IConfiguration;
class IConfigurationsGroup;

namespace detail {

// The clients of one object. Telling them survives any change made while telling: a client
// removed meanwhile is skipped, one added meanwhile is not told this time, and telling stops
// when the object itself goes.
template <class Client> class ClientList {
public:
    ClientList() = default;
    ClientList(const ClientList&) = delete;
    ClientList& operator=(const ClientList&) = delete;
    ~ClientList() { *alive_ = false; }

    void add(Client* client) {
        if (client == nullptr)
            return;
        for (Client* c : clients_)
            if (c == client)
                return;
        clients_.push_back(client);
    }
    void remove(Client* client) {
        for (Client*& c : clients_)
            if (c == client)
                c = nullptr;
        if (telling_ == 0)
            compact();
    }
    template <class F> void tell(F&& f) {
        const std::shared_ptr<bool> alive = alive_;
        const std::size_t count = clients_.size();
        ++telling_;
        for (std::size_t i = 0; i < count && *alive; ++i)
            if (Client* c = clients_[i])
                f(c);
        if (!*alive)
            return; // the object, and this list with it, are gone
        if (--telling_ == 0)
            compact();
    }
    bool empty() const {
        for (Client* c : clients_)
            if (c)
                return false;
        return true;
    }

private:
    void compact() { std::erase(clients_, nullptr); }

    std::vector<Client*> clients_;
    int telling_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace detail

// What groups and libraries have in common: identity, texts and flags.
class ILibraryItem {
public:
    virtual ~ILibraryItem() = default;

    const Guid& GetGuid() const { return guid_; }
    const std::wstring& GetName() const { return name_; }
    // The name as the browser's find matches it (Dravik::GetSearchableEquivalent).
    std::wstring GetSearchName() const;
    const std::wstring& GetAuthor() const { return author_; }
    const std::wstring& GetCompany() const { return company_; }
    const std::wstring& GetComment() const { return comment_; }
    bool IsExcluded() const { return excluded_; }
    bool IsStandardElements() const { return standardElements_; }
    ILibrariesGroup* GetParent() const { return parent_; }

    void SetName(std::wstring name);
    void SetAuthor(std::wstring author);
    void SetCompany(std::wstring company);
    void SetComment(std::wstring comment);
    void SetExcluded(bool excluded);
    void SetStandardElements(bool standard);

protected:
    explicit ILibraryItem(std::wstring name);
    // Tells the object's own clients; the object's kind decides how.
    virtual void NotifyNameChanged() = 0;
    virtual void NotifyPropertiesChanged() = 0;
    // The object's configuration learns that something it keeps changed.
    void MarkModified();

private:
    friend class ILibrariesGroup;
    friend class IConfiguration;
    friend class IConfigurationsGroup;
    friend class ConfigurationFile;
    Guid guid_;
    std::wstring name_;
    std::wstring author_;
    std::wstring company_;
    std::wstring comment_;
    bool excluded_ = false;
    bool standardElements_ = false;
    ILibrariesGroup* parent_ = nullptr;
};

class ILibrary : public ILibraryItem {
public:
    class IClient {
    public:
        virtual ~IClient() = default;
        virtual void OnLibraryNameChanged(ILibrary*) {}
        virtual void OnLibraryRemoved(ILibrary*) {}
        // The library is going: forget it.
        virtual void OnLibraryDestroyed(ILibrary*) {}
        // Flags, texts or excluded marks changed.
        virtual void OnLibraryContentsChanged(ILibrary*) {}
        virtual void OnLibraryPathChanged(ILibrary*) {}
    };

    explicit ILibrary(std::wstring path);
    // Takes the library out of its group (see the rules above).
    ~ILibrary() override;

    void AddClient(IClient* client) { clients_.add(client); }
    void RemoveClient(IClient* client) { clients_.remove(client); }

    // The folder as stored: relative or absolute.
    const std::wstring& GetPath() const { return path_; }
    // Any text, the empty one included (a library whose folder was deleted points nowhere).
    void SetPath(std::wstring path);

    bool IsSymbolElements() const { return symbolElements_; }
    void SetSymbolElements(bool symbols);

    // Excluded marks, by a drawing's name within the library.
    bool IsDocumentExcluded(const std::wstring& name) const;
    void SetDocumentExcluded(const std::wstring& name, bool excluded);
    const std::vector<std::wstring>& GetExcludedDocuments() const { return excludedDocuments_; }

private:
    friend class ILibrariesGroup;
    friend class ConfigurationFile;
    friend std::unique_ptr<ILibrary> CreateLibrary(const ILibrary& library);
    void NotifyNameChanged() override;
    void NotifyPropertiesChanged() override;

    std::wstring path_;
    bool symbolElements_ = false;
    std::vector<std::wstring> excludedDocuments_;
    detail::ClientList<IClient> clients_;
};

class ILibrariesGroup : public ILibraryItem {
public:
    class IClient {
    public:
        virtual ~IClient() = default;
        virtual void OnLibraryAdded(ILibrariesGroup*, ILibrary*) {}
        virtual void OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup*) {}
        virtual void OnGroupNameChanged(ILibrariesGroup*) {}
        virtual void OnGroupRemoved(ILibrariesGroup*) {}
        // The group is going: forget it.
        virtual void OnGroupDestroyed(ILibrariesGroup*) {}
        // A member left the group (deleted or moved elsewhere).
        virtual void OnGroupMemberRemoved(ILibrariesGroup*) {}
        // The group's texts or flags changed.
        virtual void OnGroupContentsChanged(ILibrariesGroup*) {}
        // The group was read again: its members are new objects.
        virtual void OnGroupReplaced(ILibrariesGroup*) {}
    };

    explicit ILibrariesGroup(std::wstring name);
    // Takes the group out of its parent and deletes its members (see the rules above).
    ~ILibrariesGroup() override;

    void AddClient(IClient* client) { clients_.add(client); }
    void RemoveClient(IClient* client) { clients_.remove(client); }

    std::size_t GetLibrariesCount() const { return libraries_.size(); }
    ILibrary* GetLibrary(std::size_t index) const {
        return index < libraries_.size() ? libraries_[index] : nullptr;
    }
    std::size_t GetSubGroupsCount() const { return groups_.size(); }
    ILibrariesGroup* GetSubGroup(std::size_t index) const {
        return index < groups_.size() ? groups_[index] : nullptr;
    }

    // A new library becomes a member; null when refused (the library is then deleted).
    ILibrary* AddLibrary(std::unique_ptr<ILibrary> library);
    // A library of another group moves here; false when refused.
    bool AddLibrary(ILibrary* library);
    // The same for groups; a group that is this one or holds this one is refused.
    ILibrariesGroup* AddSubGroup(std::unique_ptr<ILibrariesGroup> group);
    bool AddSubGroup(ILibrariesGroup* group);

    // The configuration at the root of this group's tree, or null.
    IConfiguration* GetConfiguration();
    const IConfiguration* GetConfiguration() const;
    virtual IConfiguration* AsConfiguration() { return nullptr; }
    // Whether the group comes from the PDM system.
    virtual bool IsFromPdm() const { return false; }
    // Whether `group` is this group or lies somewhere below it.
    bool Contains(const ILibrariesGroup* group) const;

protected:
    template <class F> void Tell(F&& f) { clients_.tell(std::forward<F>(f)); }
    // Deletes every member without telling anyone but the members' clients.
    void DeleteMembers();

    void NotifyNameChanged() override;
    void NotifyPropertiesChanged() override;

private:
    friend class ILibrary;
    friend class ConfigurationFile;
    void Detach(ILibrary* library);
    void Detach(ILibrariesGroup* group);
    void Adopt(ILibrary* library);
    void Adopt(ILibrariesGroup* group);

    std::vector<ILibrariesGroup*> groups_; // owned
    std::vector<ILibrary*> libraries_;     // owned
    detail::ClientList<IClient> clients_;
};

class IConfiguration : public ILibrariesGroup {
public:
    class IClient : public ILibrariesGroup::IClient {
    public:
        virtual void OnActiveChanged(IConfiguration*) {}
        virtual void OnPathChanged(IConfiguration*) {}
        virtual void OnReloaded(IConfiguration*) {}
        virtual void OnModifiedChanged(IConfiguration*) {}
    };

    explicit IConfiguration(std::wstring name);
    // Takes the configuration out of the configurations group; its clients hear it destroyed.
    ~IConfiguration() override;

    IConfiguration* AsConfiguration() override { return this; }
    // A configuration client hears the group's notifications and the configuration's own.
    using ILibrariesGroup::AddClient;
    using ILibrariesGroup::RemoveClient;
    void AddClient(IClient* client);
    void RemoveClient(IClient* client);

    const std::wstring& GetPath() const { return path_; }
    void SetPath(std::wstring path);
    bool IsActive() const { return active_; }
    // Only one configuration of a group is active: making one active makes the others not.
    void SetActive(bool active);
    bool IsModified() const { return modified_; }

    // Alternative names: each stands for a name. In the order they were set.
    std::vector<std::wstring> GetAlternativeNames() const;
    // The name an alternative name stands for; empty when it stands for none.
    std::wstring GetNameForAlternative(const std::wstring& alternative) const;
    // An empty name removes the alternative; an empty alternative sets nothing.
    void SetAlternativeName(const std::wstring& alternative, const std::wstring& name);

    // Reads the configuration's file over what it holds. False, with the reason naming the file
    // (LastError), when it cannot be read; nothing is changed then.
    bool Load();
    // Reads the file again; clients hear that it was reloaded.
    bool Reload();
    // Writes the file through the atomic writer. `always` writes even an unmodified
    // configuration and asks for a file when it has none; otherwise only a modified one with a
    // file is written, and one without a file has nothing to keep.
    bool Save(bool always);
    // Asks the user for a file and writes it there.
    bool SaveAs();
    // With `save`, a modified configuration is written first and stays open when that fails.
    // Closing deletes the configuration. Whether it was closed.
    bool Close(bool save);
    const std::wstring& LastError() const { return lastError_; }

private:
    friend class ILibraryItem;
    friend class IConfigurationsGroup;
    friend class ConfigurationFile;
    void SetModified(bool modified);
    bool WriteTo(const std::wstring& path);

    std::wstring path_;
    bool active_ = false;
    bool modified_ = true; // nothing of a new configuration is kept yet
    std::vector<std::pair<std::wstring, std::wstring>> alternatives_; // alternative, name
    std::wstring lastError_;
    IConfigurationsGroup* owner_ = nullptr;
    detail::ClientList<IClient> configurationClients_;
};

// The configurations open in the program.
class IConfigurationsGroup {
public:
    class IClient {
    public:
        virtual ~IClient() = default;
        virtual void OnConfigurationAdded(IConfigurationsGroup*, IConfiguration*) {}
        virtual void OnConfigurationRemoved(IConfigurationsGroup*, IConfiguration*) {}
    };

    IConfigurationsGroup() = default;
    IConfigurationsGroup(const IConfigurationsGroup&) = delete;
    IConfigurationsGroup& operator=(const IConfigurationsGroup&) = delete;
    ~IConfigurationsGroup();

    void AddClient(IClient* client) { clients_.add(client); }
    void RemoveClient(IClient* client) { clients_.remove(client); }

    std::size_t GetCount() const { return configurations_.size(); }
    // The configuration at an index, or null.
    IConfiguration* GetAt(std::size_t index) const {
        return index < configurations_.size() ? configurations_[index] : nullptr;
    }
    // Takes the configuration in; null when refused (one with the same file is open; the
    // configuration is then deleted). Identifiers that an open configuration already uses are
    // given afresh, so that every object stays found by its own.
    IConfiguration* Add(std::unique_ptr<IConfiguration> configuration);
    // Deletes every configuration without saving.
    void Clear();

private:
    friend class IConfiguration;
    void Detach(IConfiguration* configuration);

    std::vector<IConfiguration*> configurations_; // owned
    detail::ClientList<IClient> clients_;
};

// The browser's configurations; empty until configurations are opened.
IConfigurationsGroup& GlobalCfgGroup();

// Ask the user for a file, open or make the configuration, add it to the group and make it
// active. Null when cancelled or when it cannot be done (the user is told why).
IConfiguration* OpenConfiguration(IConfigurationsGroup& group);
IConfiguration* CreateNewConfiguration(IConfigurationsGroup& group);
IConfiguration* OpenConfigurationFromORSA(IConfigurationsGroup& group, HWND parent);
// Without asking: the open configuration of the file, or the file read and added. Either is
// made active. Null when the file cannot be read (`error` tells why, naming the file).
IConfiguration* OpenConfigurationFile(IConfigurationsGroup& group, const std::wstring& path,
                                      std::wstring* error);

// A new configuration bearing the name, not yet in a group; `flag` is reserved (callers pass
// false and then set the path).
std::unique_ptr<IConfiguration> CreateConfiguration(const wchar_t* name, bool flag);
IConfiguration* FindConfigurationByPath(const IConfigurationsGroup& group, const wchar_t* path);
IConfiguration* FindActiveCfg(const IConfigurationsGroup& group);
// True when every configuration of the group was saved (see IConfiguration::Save(false)).
bool SaveAllConfigurations(const IConfigurationsGroup& group);
// Closes every configuration, saving the modified ones first; one that cannot be saved stays
// open. True when all were closed.
bool CloseAllConfigurations(IConfigurationsGroup& group);

// The library configurations installed with the program: the ".tws" files of the folder
// "Configurations" beside the program, by file name; two parallel lists, names, then paths.
void GetInstalledConfigurations(std::vector<std::wstring>& names, std::vector<std::wstring>& paths);
std::wstring GetInstalledConfigurationsFolder();

std::unique_ptr<ILibrariesGroup> CreateLibrariesGroup(const wchar_t* name);
// A new library of the folder, named after the folder's last component.
std::unique_ptr<ILibrary> CreateLibrary(const wchar_t* path);
// A new library with the properties and marks of another (and an identifier of its own).
std::unique_ptr<ILibrary> CreateLibrary(const ILibrary& library);

ILibrariesGroup* FindLibrariesGroup(const IConfigurationsGroup& group, const Guid& id);
ILibrary* FindLibrary(const IConfigurationsGroup& group, const Guid& id);
ILibrary* FindLibraryByName(const IConfigurationsGroup& group, const wchar_t* name);
ILibrary* FindLibraryByName(const ILibrariesGroup* group, const wchar_t* name);
std::vector<ILibrary*> CollectAllLibraries(const ILibrariesGroup* group);
std::vector<ILibrary*> CollectAllLibraries(const IConfigurationsGroup& group);
// The libraries whose absolute folder is the folder.
std::vector<ILibrary*> CollectAllLibrariesByPath(const IConfigurationsGroup& group, const wchar_t* folder);
IConfiguration* GetConfiguration(const ILibrary* library);

// The library's folder as an absolute path ending with a separator; empty for none.
std::wstring GetLibraryAbsolutePath(const ILibrary* library);
// The form to store: relative to the configuration's folder when the folder lies on the same
// root, else absolute.
std::wstring GetLibraryRelativePath(const ILibrary* library);

// Calls back (name, library, excluded) for each drawing of the library, in name order, until
// the callback answers false. Hidden (dot) files and sub-folders are not drawings.
using LibraryDocumentCallback =
    std::function<bool(const std::wstring& name, ILibrary* library, bool excluded)>;
void ForEachLibraryDocument(ILibrary* library, const LibraryDocumentCallback& callback);
// The library (of any open configuration) whose folder holds the file, and the file's name in
// it; null when none does.
ILibrary* GetLibraryForFullPath(const wchar_t* path, std::wstring* relativeName);
std::wstring BuildLibraryItemPath(const ILibrary* library, const std::wstring& name);

} // namespace DocumentsMenu

DV_EXPORTS_END
