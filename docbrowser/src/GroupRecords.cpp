#include "docbrowser/GroupRecords.h"

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/LibrariesClipboard.h"
#include "docbrowser/LibraryRecords.h"
#include "docbrowser/RecordItems.h"

#include "DVPDMProxy/WorkMix.h"
#include "DravikUI/CachingImageManager.h"
#include "xtp/PopupBar.h"

namespace DocumentsMenu {

namespace {

bool workMixEnabled() {
    return DVPDMWorkMix::Instance().IsEnabled();
}

CXTPControls* controlsOf(CXTPPopupBar* popup) {
    return popup ? popup->GetControls() : nullptr;
}

template <class T> void add(CXTPPopupBar* popup, T* control) {
    if (CXTPControls* controls = controlsOf(popup))
        controls->Add(control);
    else
        control->InternalRelease();
}

// The records of a selection, all of one kind, or nothing.
template <class T> std::vector<T*> allOf(const std::vector<Record*>& selected) {
    std::vector<T*> out;
    for (Record* r : selected) {
        auto* t = dynamic_cast<T*>(r);
        if (t == nullptr)
            return {};
        out.push_back(t);
    }
    return out;
}

} // namespace

bool MatchesFilterInDescendants(const ILibrariesGroup* group, const std::wstring& filter,
                                const DocumentsMenuDlg* panel) {
    if (group == nullptr)
        return false;
    const bool showHidden = panel != nullptr && panel->IsShowHidden();
    for (std::size_t i = 0; i < group->GetSubGroupsCount(); ++i) {
        const ILibrariesGroup* sub = group->GetSubGroup(i);
        if (sub == nullptr || (!showHidden && panel && panel->IsLibrariesGroupHidden(sub)))
            continue;
        if (sub->GetSearchName().find(filter) != std::wstring::npos ||
            MatchesFilterInDescendants(sub, filter, panel))
            return true;
    }
    for (std::size_t i = 0; i < group->GetLibrariesCount(); ++i) {
        ILibrary* library = group->GetLibrary(i);
        if (library == nullptr || (!showHidden && panel && panel->IsLibraryHidden(library)))
            continue;
        if (library->GetSearchName().find(filter) != std::wstring::npos ||
            LibraryDocumentsMatch(library, filter, panel))
            return true;
    }
    return false;
}

void GroupRecordBase::InitItems(const std::wstring& path) {
    auto toggle = [this] {
        Expand(!IsExpanded());
        Repopulate();
    };
    name_ = static_cast<ReportRecordItem*>(AddItem(new ReportRecordItem(new RecordNameEditor(this), toggle)));
    name_->SetIconIndex(GetIconIndex());
    path_ = static_cast<ReportRecordItem*>(AddItem(new ReportRecordItem(new RecordPathEditor(this))));
    path_->SetCaption(path.c_str());
    path_->SetEditable(FALSE);
    AddItem(new ReportRecordItem(new RecordAuthorEditor(this)));
    AddItem(new ReportRecordItem(new RecordCompanyEditor(this)));
    AddItem(new ReportRecordItem(new RecordCommentEditor(this)));
    AddItem(new ReportRecordIconItem(40753, 40754));
    if (group_ != nullptr && (group_->GetSubGroupsCount() > 0 || group_->GetLibrariesCount() > 0))
        AddPlaceholderChild();
}

int GroupRecordBase::GroupIcon() const {
    CXTPReportControl* control = GetControl();
    auto* images = control ? dynamic_cast<CachingImageManager*>(control->GetImageManager()) : nullptr;
    if (group_ != nullptr && images != nullptr)
        for (std::size_t i = 0; i < group_->GetLibrariesCount(); ++i)
            if (const int icon = images->GetIcon(GetLibraryAbsolutePath(group_->GetLibrary(i))); icon != -1)
                return icon;
    return 446;
}

std::wstring GroupRecordBase::GetName() {
    return group_ ? group_->GetName() : std::wstring();
}
std::wstring GroupRecordBase::GetAuthor() {
    return group_ ? group_->GetAuthor() : std::wstring();
}
bool GroupRecordBase::SetAuthor(const std::wstring& text) {
    if (group_ == nullptr)
        return false;
    group_->SetAuthor(text);
    return true;
}
std::wstring GroupRecordBase::GetCompany() {
    return group_ ? group_->GetCompany() : std::wstring();
}
bool GroupRecordBase::SetCompany(const std::wstring& text) {
    if (group_ == nullptr)
        return false;
    group_->SetCompany(text);
    return true;
}
std::wstring GroupRecordBase::GetComment() {
    return group_ ? group_->GetComment() : std::wstring();
}
bool GroupRecordBase::SetComment(const std::wstring& text) {
    if (group_ == nullptr)
        return false;
    group_->SetComment(text);
    return true;
}

void GroupRecordBase::BeginRename() {
    BeginEdit(0);
}

void GroupRecordBase::SetHidden(bool hidden) {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this); panel && group_)
        panel->SetLibrariesGroupHidden(group_, hidden);
}

bool GroupRecordBase::IsHidden() {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    return panel != nullptr && panel->IsLibrariesGroupHidden(group_);
}

void GroupRecordBase::SetExpanded(BOOL expanded) {
    Record::SetExpanded(expanded);
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->SetLibrariesGroupExpanded(group_, expanded != FALSE);
}

DROPEFFECT GroupRecordBase::GetDropEffect(COleDataObject* data, DWORD keyState) {
    return LibrariesClipboard::Instance().GetDropEffect(data, keyState, group_);
}

bool GroupRecordBase::Drop(COleDataObject* data, DROPEFFECT effect) {
    return LibrariesClipboard::Instance().Drop(data, effect, group_);
}

void GroupRecordBase::ChildAdded(Record* child, bool excluded, bool expanded, bool hidden) {
    AppendChild(child, excluded);
    Expand(true);
    if (expanded)
        child->Expand(true);
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    if (hidden && !(panel && panel->IsShowHidden()))
        child->SetVisible(FALSE);
    Repopulate();
}

void GroupRecordBase::UpdateChildren(const std::wstring& filter) {
    GetChilds()->RemoveAll();
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    const bool showExcluded = panel != nullptr && panel->IsShowExcluded();
    const bool showHidden = panel != nullptr && panel->IsShowHidden();
    if (group_ != nullptr) {
        auto place = [&](Record* child, const ILibraryItem* object, bool expand, bool hidden, bool self,
                         bool below) {
            std::wstring childFilter;
            if (!filter.empty()) {
                childFilter = self ? std::wstring() : filter;
                expand = below;
            }
            AppendChild(child, object->IsExcluded());
            child->SetExpanded(expand);
            if (expand)
                child->UpdateChildren(childFilter);
            if (hidden)
                child->SetVisible(showHidden);
        };
        for (std::size_t i = 0; i < group_->GetSubGroupsCount(); ++i) {
            ILibrariesGroup* sub = group_->GetSubGroup(i);
            if (sub == nullptr || (sub->IsExcluded() && !showExcluded))
                continue;
            bool self = false, below = false;
            if (!filter.empty()) {
                self = sub->GetSearchName().find(filter) != std::wstring::npos;
                below = MatchesFilterInDescendants(sub, filter, panel);
                if (!self && !below)
                    continue;
            }
            place(CreateLibrariesGroupRecord(sub), sub, panel && panel->IsLibrariesGroupExpanded(sub),
                  panel && panel->IsLibrariesGroupHidden(sub), self, below);
        }
        for (std::size_t i = 0; i < group_->GetLibrariesCount(); ++i) {
            ILibrary* library = group_->GetLibrary(i);
            if (library == nullptr || (library->IsExcluded() && !showExcluded))
                continue;
            bool self = false, below = false;
            if (!filter.empty()) {
                self = library->GetSearchName().find(filter) != std::wstring::npos;
                below = LibraryDocumentsMatch(library, filter, panel);
                if (!self && !below)
                    continue;
            }
            place(CreateLibraryRecord(library), library, panel && panel->IsLibraryExpanded(library),
                  panel && panel->IsLibraryHidden(library), self, below);
        }
    }
    SetChildrenPopulated(true);
}

// Configurations.

ConfigurationRecord::ConfigurationRecord(IConfiguration* configuration)
    : GroupRecordBase(configuration), configuration_(configuration) {}

ConfigurationRecord::~ConfigurationRecord() {
    if (configuration_ != nullptr)
        configuration_->RemoveClient(static_cast<IConfiguration::IClient*>(this));
}

bool ConfigurationRecord::MatchesFilter(const std::wstring& filter) const {
    return configuration_ != nullptr && configuration_->GetSearchName().find(filter) != std::wstring::npos;
}

void ConfigurationRecord::Init() {
    InitItems(configuration_ ? configuration_->GetPath() : std::wstring());
    if (configuration_ != nullptr)
        configuration_->AddClient(static_cast<IConfiguration::IClient*>(this));
}

int ConfigurationRecord::GetIconIndex() {
    return configuration_ && configuration_->IsActive() ? 4309 : 4300;
}

bool ConfigurationRecord::SetName(const std::wstring&) {
    return false;
}

std::wstring ConfigurationRecord::GetPath() {
    return configuration_ ? configuration_->GetPath() : std::wstring();
}

void ConfigurationRecord::ShowInPreview() {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->ShowConfiguration(configuration_);
}

void ConfigurationRecord::DragSelection(const std::vector<Record*>&) {}

void ConfigurationRecord::Drag() {
    if (configuration_ != nullptr)
        LibrariesClipboard::Instance().DragGroups({configuration_});
}

LibraryRecord* ConfigurationRecord::CreateLibraryRecord(ILibrary* library) {
    return new LibraryRecord(library);
}

Record* ConfigurationRecord::CreateLibrariesGroupRecord(ILibrariesGroup* group) {
    return new LibrariesGroupRecord(group);
}

void ConfigurationRecord::BuildContextMenu(CXTPPopupBar* popup) {
    IConfiguration* c = configuration_;
    if (c == nullptr)
        return;
    ILibrariesGroup* g = c;
    using namespace ConfigurationMenuItems;
    add(popup, new Active(c));
    add(popup, new OpenInExplorer(c, true));
    add(popup, new LibrariesGroupMenuItems::OpenClipart(g));
    add(popup, new LibrariesGroupMenuItems::AddFolder(g, true));
    add(popup, new LibrariesGroupMenuItems::AddGroup(g));
    add(popup, new LibrariesGroupMenuItems::Paste(g, true));
    add(popup, new Save(c, true));
    add(popup, new SaveAs(c));
    add(popup, new Close(c, true));
    if (c->IsExcluded())
        add(popup, new Include(c, true));
    else
        add(popup, new Exclude(c, true));
    add(popup, new StandardElements(c, true));
    add(popup, new AlterNames(c, true));
}

void ConfigurationRecord::BuildSelectionContextMenu(CXTPPopupBar* popup,
                                                    const std::vector<Record*>& selected) {
    const std::vector<ConfigurationRecord*> records = allOf<ConfigurationRecord>(selected);
    if (records.empty())
        return;
    std::vector<IConfiguration*> all;
    bool someIncluded = false, someExcluded = false;
    for (ConfigurationRecord* r : records)
        if (IConfiguration* c = r->GetConfiguration()) {
            all.push_back(c);
            (c->IsExcluded() ? someExcluded : someIncluded) = true;
        }
    using namespace ConfigurationMenuItems;
    add(popup, new Save(all));
    add(popup, new Close(all));
    if (someIncluded)
        add(popup, new Exclude(all, true));
    if (someExcluded)
        add(popup, new Include(all, true));
    add(popup, new StandardElements(all, true));
}

void ConfigurationRecord::OnLibraryAdded(ILibrariesGroup*, ILibrary* library) {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    ChildAdded(CreateLibraryRecord(library), library->IsExcluded(),
               panel && panel->IsLibraryExpanded(library), panel && panel->IsLibraryHidden(library));
}
void ConfigurationRecord::OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup* group) {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    ChildAdded(CreateLibrariesGroupRecord(group), group->IsExcluded(),
               panel && panel->IsLibrariesGroupExpanded(group),
               panel && panel->IsLibrariesGroupHidden(group));
}
void ConfigurationRecord::OnGroupNameChanged(ILibrariesGroup*) {
    if (name_ && configuration_)
        name_->SetCaption(configuration_->GetName().c_str());
    Repopulate();
}
void ConfigurationRecord::OnGroupRemoved(ILibrariesGroup*) {
    CXTPReportControl* control = GetControl();
    Delete();
    if (control)
        control->Populate();
}
void ConfigurationRecord::OnGroupDestroyed(ILibrariesGroup*) {
    configuration_ = nullptr;
    Forget();
}
void ConfigurationRecord::OnGroupMemberRemoved(ILibrariesGroup*) {
    UpdateChildren(std::wstring());
    Repopulate();
}
void ConfigurationRecord::OnGroupContentsChanged(ILibrariesGroup*) {
    UpdateChildren(std::wstring());
    Repopulate();
}
void ConfigurationRecord::OnGroupReplaced(ILibrariesGroup*) {
    OnReloaded(configuration_);
}
void ConfigurationRecord::OnActiveChanged(IConfiguration*) {
    if (name_)
        name_->SetIconIndex(GetIconIndex());
    Repopulate();
}
void ConfigurationRecord::OnPathChanged(IConfiguration*) {
    if (path_ && configuration_)
        path_->SetCaption(configuration_->GetPath().c_str());
}
void ConfigurationRecord::OnReloaded(IConfiguration*) {
    SetExpanded(FALSE);
    UpdateChildren(std::wstring());
    Repopulate();
}

int PDMConfigurationRecord::GetIconIndex() {
    return GetConfiguration() && GetConfiguration()->IsActive() ? 4381 : 4380;
}
LibraryRecord* PDMConfigurationRecord::CreateLibraryRecord(ILibrary* library) {
    return new PDMLibraryRecord(library);
}
Record* PDMConfigurationRecord::CreateLibrariesGroupRecord(ILibrariesGroup* group) {
    return new PDMLibrariesGroupRecord(group);
}
void PDMConfigurationRecord::BuildContextMenu(CXTPPopupBar* popup) {
    IConfiguration* c = GetConfiguration();
    if (c == nullptr)
        return;
    using namespace ConfigurationMenuItems;
    add(popup, new Active(c));
    add(popup, new OpenInExplorer(c, true));
    if (workMixEnabled())
        add(popup, new Update(c, true));
    add(popup, new Close(c, true));
}
void PDMConfigurationRecord::BuildSelectionContextMenu(CXTPPopupBar* popup,
                                                       const std::vector<Record*>& selected) {
    const std::vector<PDMConfigurationRecord*> records = allOf<PDMConfigurationRecord>(selected);
    if (records.empty())
        return;
    std::vector<IConfiguration*> all;
    for (PDMConfigurationRecord* r : records)
        if (r->GetConfiguration())
            all.push_back(r->GetConfiguration());
    add(popup, new ConfigurationMenuItems::Close(all));
    if (workMixEnabled())
        add(popup, new ConfigurationMenuItems::Update(all));
}

// Libraries groups.

LibrariesGroupRecord::LibrariesGroupRecord(ILibrariesGroup* group) : GroupRecordBase(group) {}

LibrariesGroupRecord::~LibrariesGroupRecord() {
    if (group_ != nullptr)
        group_->RemoveClient(this);
}

void LibrariesGroupRecord::Init() {
    InitItems(std::wstring());
    if (group_ != nullptr)
        group_->AddClient(this);
}

int LibrariesGroupRecord::GetIconIndex() {
    return GroupIcon();
}

bool LibrariesGroupRecord::SetName(const std::wstring& name) {
    if (group_ == nullptr)
        return false;
    group_->SetName(name);
    return true;
}

void LibrariesGroupRecord::ShowInPreview() {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->ShowLibrariesGroup(group_);
}

void LibrariesGroupRecord::DragSelection(const std::vector<Record*>& selected) {
    std::vector<ILibrariesGroup*> groups;
    for (LibrariesGroupRecord* r : allOf<LibrariesGroupRecord>(selected))
        if (r->GetLibrariesGroup())
            groups.push_back(r->GetLibrariesGroup());
    if (!groups.empty() && groups.size() == selected.size())
        LibrariesClipboard::Instance().DragGroups(groups);
}

void LibrariesGroupRecord::Drag() {
    if (group_ != nullptr)
        LibrariesClipboard::Instance().DragGroups({group_});
}

LibraryRecord* LibrariesGroupRecord::CreateLibraryRecord(ILibrary* library) {
    return new LibraryRecord(library);
}

Record* LibrariesGroupRecord::CreateLibrariesGroupRecord(ILibrariesGroup* group) {
    return new LibrariesGroupRecord(group);
}

void LibrariesGroupRecord::BuildContextMenu(CXTPPopupBar* popup) {
    ILibrariesGroup* g = group_;
    if (g == nullptr)
        return;
    using namespace LibrariesGroupMenuItems;
    add(popup, new OpenClipart(g));
    add(popup, new AddFolder(g, true));
    add(popup, new AddGroup(g));
    add(popup, new Remove(g, true));
    add(popup, new RecordContextMenuItems::Rename(this, false));
    add(popup, new Cut(g, true));
    add(popup, new Copy(g));
    add(popup, new Paste(g));
    if (ILibrariesGroup* parent = g->GetParent()) {
        if (!parent->IsExcluded()) {
            if (g->IsExcluded())
                add(popup, new Include(g, true));
            else
                add(popup, new Exclude(g, true));
        }
        if (!parent->IsStandardElements())
            add(popup, new StandardElements(g, true));
    }
}

void LibrariesGroupRecord::BuildSelectionContextMenu(CXTPPopupBar* popup,
                                                     const std::vector<Record*>& selected) {
    const std::vector<LibrariesGroupRecord*> records = allOf<LibrariesGroupRecord>(selected);
    if (records.empty() || group_ == nullptr)
        return;
    std::vector<ILibrariesGroup*> all;
    bool someIncluded = false, someExcluded = false;
    for (LibrariesGroupRecord* r : records)
        if (ILibrariesGroup* g = r->GetLibrariesGroup()) {
            all.push_back(g);
            (g->IsExcluded() ? someExcluded : someIncluded) = true;
        }
    using namespace LibrariesGroupMenuItems;
    add(popup, new Remove(all));
    add(popup, new Cut(all));
    add(popup, new Copy(all));
    if (ILibrariesGroup* parent = group_->GetParent()) {
        if (!parent->IsExcluded()) {
            if (someIncluded)
                add(popup, new Exclude(all, true));
            if (someExcluded)
                add(popup, new Include(all, true));
        }
        if (!parent->IsStandardElements())
            add(popup, new StandardElements(all, true));
    }
}

void LibrariesGroupRecord::OnLibraryAdded(ILibrariesGroup*, ILibrary* library) {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    ChildAdded(CreateLibraryRecord(library), library->IsExcluded(),
               panel && panel->IsLibraryExpanded(library), panel && panel->IsLibraryHidden(library));
}
void LibrariesGroupRecord::OnSubGroupAdded(ILibrariesGroup*, ILibrariesGroup* group) {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    ChildAdded(CreateLibrariesGroupRecord(group), group->IsExcluded(),
               panel && panel->IsLibrariesGroupExpanded(group),
               panel && panel->IsLibrariesGroupHidden(group));
}
void LibrariesGroupRecord::OnGroupNameChanged(ILibrariesGroup*) {
    if (name_ && group_)
        name_->SetCaption(group_->GetName().c_str());
    Repopulate();
}
void LibrariesGroupRecord::OnGroupRemoved(ILibrariesGroup*) {
    CXTPReportControl* control = GetControl();
    Delete();
    if (control)
        control->Populate();
}
void LibrariesGroupRecord::OnGroupDestroyed(ILibrariesGroup*) {
    Forget();
}
void LibrariesGroupRecord::OnGroupMemberRemoved(ILibrariesGroup*) {
    UpdateChildren(std::wstring());
    Repopulate();
}
void LibrariesGroupRecord::OnGroupContentsChanged(ILibrariesGroup*) {
    UpdateChildren(std::wstring());
    Repopulate();
}
void LibrariesGroupRecord::OnGroupReplaced(ILibrariesGroup*) {
    SetExpanded(FALSE);
    UpdateChildren(std::wstring());
    Repopulate();
}

LibraryRecord* PDMLibrariesGroupRecord::CreateLibraryRecord(ILibrary* library) {
    return new PDMLibraryRecord(library);
}
Record* PDMLibrariesGroupRecord::CreateLibrariesGroupRecord(ILibrariesGroup* group) {
    return new PDMLibrariesGroupRecord(group);
}
void PDMLibrariesGroupRecord::BuildContextMenu(CXTPPopupBar* popup) {
    if (group_ == nullptr)
        return;
    add(popup, new LibrariesGroupMenuItems::OpenClipart(group_));
    add(popup, new LibrariesGroupMenuItems::Copy(group_, true));
}
void PDMLibrariesGroupRecord::BuildSelectionContextMenu(CXTPPopupBar* popup,
                                                        const std::vector<Record*>& selected) {
    std::vector<ILibrariesGroup*> all;
    for (PDMLibrariesGroupRecord* r : allOf<PDMLibrariesGroupRecord>(selected))
        if (r->GetLibrariesGroup())
            all.push_back(r->GetLibrariesGroup());
    if (!all.empty() && all.size() == selected.size())
        add(popup, new LibrariesGroupMenuItems::Copy(all));
}

} // namespace DocumentsMenu
