// The upper rows of the browser tree: configurations and libraries groups, and their twins for
// those of the PDM system, whose whole subtree is made of twins.
#pragma once

#include "docbrowser/Record.h"

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class ReportRecordItem;
class LibraryRecord;

// What configuration and group rows share: children filled from the group under a filter,
// rows kept in step with the group's notifications.
class GroupRecordBase : public Record {
public:
    void UpdateChildren(const std::wstring& filter) override;
    void BeginRename() override;
    void SetHidden(bool hidden) override;
    bool IsHidden() override;
    void SetExpanded(BOOL expanded) override;
    std::wstring GetName() override;
    std::wstring GetAuthor() override;
    bool SetAuthor(const std::wstring& text) override;
    std::wstring GetCompany() override;
    bool SetCompany(const std::wstring& text) override;
    std::wstring GetComment() override;
    bool SetComment(const std::wstring& text) override;
    DROPEFFECT GetDropEffect(COleDataObject* data, DWORD keyState) override;
    bool Drop(COleDataObject* data, DROPEFFECT effect) override;

    virtual ILibrariesGroup* GetLibrariesGroup() const { return group_; }
    virtual int GetIconIndex() = 0;
    virtual LibraryRecord* CreateLibraryRecord(ILibrary* library) = 0;
    virtual Record* CreateLibrariesGroupRecord(ILibrariesGroup* group) = 0;

protected:
    explicit GroupRecordBase(ILibrariesGroup* group) : group_(group) {}
    // The row's items; `path` is the Path cell's text.
    void InitItems(const std::wstring& path);
    void ChildAdded(Record* child, bool excluded, bool expanded, bool hidden);
    void Forget() { group_ = nullptr; }
    // The group icon: the folder icon of its first library that has one, else 446.
    int GroupIcon() const;

    ReportRecordItem* name_ = nullptr;
    ReportRecordItem* path_ = nullptr;
    ILibrariesGroup* group_;
};

class ConfigurationRecord : public GroupRecordBase, public IConfiguration::IClient {
public:
    explicit ConfigurationRecord(IConfiguration* configuration);
    ~ConfigurationRecord() override;
    IConfiguration* GetConfiguration() const { return configuration_; }
    // Whether the configuration's searchable name holds the filter.
    bool MatchesFilter(const std::wstring& filter) const;

    void Init() override;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    bool SetName(const std::wstring& name) override;
    std::wstring GetPath() override;
    void ShowInPreview() override;
    void DragSelection(const std::vector<Record*>& selected) override;
    void Drag() override;
    void BeginRename() override {}

    int GetIconIndex() override;
    LibraryRecord* CreateLibraryRecord(ILibrary* library) override;
    Record* CreateLibrariesGroupRecord(ILibrariesGroup* group) override;

    void OnLibraryAdded(ILibrariesGroup*, ILibrary* library) override;
    void OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup* group) override;
    void OnGroupNameChanged(ILibrariesGroup*) override;
    void OnGroupRemoved(ILibrariesGroup*) override;
    void OnGroupDestroyed(ILibrariesGroup*) override;
    void OnGroupMemberRemoved(ILibrariesGroup*) override;
    void OnGroupContentsChanged(ILibrariesGroup*) override;
    void OnGroupReplaced(ILibrariesGroup*) override;
    void OnActiveChanged(IConfiguration*) override;
    void OnPathChanged(IConfiguration*) override;
    void OnReloaded(IConfiguration*) override;

private:
    IConfiguration* configuration_;
};

class PDMConfigurationRecord : public ConfigurationRecord {
public:
    using ConfigurationRecord::ConfigurationRecord;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    int GetIconIndex() override;
    DROPEFFECT GetDropEffect(COleDataObject*, DWORD) override { return DROPEFFECT_NONE; }
    LibraryRecord* CreateLibraryRecord(ILibrary* library) override;
    Record* CreateLibrariesGroupRecord(ILibrariesGroup* group) override;
};

class LibrariesGroupRecord : public GroupRecordBase, public ILibrariesGroup::IClient {
public:
    explicit LibrariesGroupRecord(ILibrariesGroup* group);
    ~LibrariesGroupRecord() override;

    void Init() override;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    bool SetName(const std::wstring& name) override;
    void ShowInPreview() override;
    void DragSelection(const std::vector<Record*>& selected) override;
    void Drag() override;

    int GetIconIndex() override;
    LibraryRecord* CreateLibraryRecord(ILibrary* library) override;
    Record* CreateLibrariesGroupRecord(ILibrariesGroup* group) override;

    void OnLibraryAdded(ILibrariesGroup*, ILibrary* library) override;
    void OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup* group) override;
    void OnGroupNameChanged(ILibrariesGroup*) override;
    void OnGroupRemoved(ILibrariesGroup*) override;
    void OnGroupDestroyed(ILibrariesGroup*) override;
    void OnGroupMemberRemoved(ILibrariesGroup*) override;
    void OnGroupContentsChanged(ILibrariesGroup*) override;
    void OnGroupReplaced(ILibrariesGroup*) override;
};

class PDMLibrariesGroupRecord : public LibrariesGroupRecord {
public:
    using LibrariesGroupRecord::LibrariesGroupRecord;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    DROPEFFECT GetDropEffect(COleDataObject*, DWORD) override { return DROPEFFECT_NONE; }
    LibraryRecord* CreateLibraryRecord(ILibrary* library) override;
    Record* CreateLibrariesGroupRecord(ILibrariesGroup* group) override;
};

// Whether something below the group matches the filter: a sub-group or library whose
// searchable name holds it, or a drawing of a library. Hidden objects count only while the
// panel shows them; excluded ones count.
bool MatchesFilterInDescendants(const ILibrariesGroup* group, const std::wstring& filter,
                                const DocumentsMenuDlg* panel);

} // namespace DocumentsMenu

DV_EXPORTS_END
