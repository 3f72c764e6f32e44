// The objects of the documents browser's model: membership, properties and the telling of
// clients.
#include "DravikKernel/DocumentsMenu.h"

#include "DVTextCore/SearchableText.h"
#include "pal/text.h"

#include <algorithm>
#include <set>

namespace DocumentsMenu {

ILibraryItem::ILibraryItem(std::wstring name) : guid_(GenerateUniqueIdentifier()), name_(std::move(name)) {}

std::wstring ILibraryItem::GetSearchName() const {
    return Dravik::GetSearchableEquivalent(name_);
}

void ILibraryItem::SetName(std::wstring name) {
    if (name == name_)
        return;
    name_ = std::move(name);
    MarkModified();
    NotifyNameChanged();
}

namespace {

template <class T> bool assign(T& field, T value) {
    if (field == value)
        return false;
    field = std::move(value);
    return true;
}

} // namespace

void ILibraryItem::SetAuthor(std::wstring author) {
    if (assign(author_, std::move(author))) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

void ILibraryItem::SetCompany(std::wstring company) {
    if (assign(company_, std::move(company))) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

void ILibraryItem::SetComment(std::wstring comment) {
    if (assign(comment_, std::move(comment))) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

void ILibraryItem::SetExcluded(bool excluded) {
    if (assign(excluded_, excluded)) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

void ILibraryItem::SetStandardElements(bool standard) {
    if (assign(standardElements_, standard)) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

void ILibraryItem::MarkModified() {
    auto* group = dynamic_cast<ILibrariesGroup*>(this);
    if (group == nullptr)
        group = parent_;
    if (IConfiguration* configuration = group ? group->GetConfiguration() : nullptr)
        configuration->SetModified(true);
}

// ---------------------------------------------------------------------------------------------

ILibrary::ILibrary(std::wstring path) : ILibraryItem(L""), path_(std::move(path)) {}

ILibrary::~ILibrary() {
    if (ILibrariesGroup* parent = GetParent())
        parent->Detach(this);
    clients_.tell([this](IClient* c) { c->OnLibraryDestroyed(this); });
}

void ILibrary::SetPath(std::wstring path) {
    if (!assign(path_, std::move(path)))
        return;
    MarkModified();
    clients_.tell([this](IClient* c) { c->OnLibraryPathChanged(this); });
}

void ILibrary::SetSymbolElements(bool symbols) {
    if (assign(symbolElements_, symbols)) {
        MarkModified();
        NotifyPropertiesChanged();
    }
}

bool ILibrary::IsDocumentExcluded(const std::wstring& name) const {
    return std::any_of(excludedDocuments_.begin(), excludedDocuments_.end(),
                       [&](const std::wstring& n) { return pal::text::equalsNoCase(n, name); });
}

void ILibrary::SetDocumentExcluded(const std::wstring& name, bool excluded) {
    if (name.empty() || IsDocumentExcluded(name) == excluded)
        return;
    if (excluded)
        excludedDocuments_.push_back(name);
    else
        std::erase_if(excludedDocuments_,
                      [&](const std::wstring& n) { return pal::text::equalsNoCase(n, name); });
    MarkModified();
    NotifyPropertiesChanged();
}

void ILibrary::NotifyNameChanged() {
    clients_.tell([this](IClient* c) { c->OnLibraryNameChanged(this); });
}

void ILibrary::NotifyPropertiesChanged() {
    clients_.tell([this](IClient* c) { c->OnLibraryContentsChanged(this); });
}

// ---------------------------------------------------------------------------------------------

ILibrariesGroup::ILibrariesGroup(std::wstring name) : ILibraryItem(std::move(name)) {}

ILibrariesGroup::~ILibrariesGroup() {
    if (ILibrariesGroup* parent = GetParent())
        parent->Detach(this);
    DeleteMembers();
    clients_.tell([this](IClient* c) { c->OnGroupDestroyed(this); });
}

void ILibrariesGroup::DeleteMembers() {
    // Taken out first, so that no member tells this group about its going.
    std::vector<ILibrariesGroup*> groups;
    std::vector<ILibrary*> libraries;
    groups.swap(groups_);
    libraries.swap(libraries_);
    for (ILibrariesGroup* g : groups) {
        g->parent_ = nullptr;
        delete g;
    }
    for (ILibrary* l : libraries) {
        l->parent_ = nullptr;
        delete l;
    }
}

ILibrary* ILibrariesGroup::AddLibrary(std::unique_ptr<ILibrary> library) {
    if (!library)
        return nullptr;
    ILibrary* raw = library.release();
    if (!AddLibrary(raw)) {
        if (raw->GetParent() == nullptr)
            delete raw;
        return nullptr;
    }
    return raw;
}

bool ILibrariesGroup::AddLibrary(ILibrary* library) {
    if (library == nullptr)
        return false;
    if (library->GetParent() == this)
        return true;
    if (ILibrariesGroup* old = library->GetParent())
        old->Detach(library);
    Adopt(library);
    return true;
}

ILibrariesGroup* ILibrariesGroup::AddSubGroup(std::unique_ptr<ILibrariesGroup> group) {
    if (!group)
        return nullptr;
    ILibrariesGroup* raw = group.release();
    if (!AddSubGroup(raw)) {
        if (raw->GetParent() == nullptr && raw->AsConfiguration() == nullptr)
            delete raw;
        return nullptr;
    }
    return raw;
}

bool ILibrariesGroup::AddSubGroup(ILibrariesGroup* group) {
    // A configuration belongs to the configurations group; a group cannot hold itself.
    if (group == nullptr || group->AsConfiguration() != nullptr || group->Contains(this))
        return false;
    if (group->GetParent() == this)
        return true;
    if (ILibrariesGroup* old = group->GetParent())
        old->Detach(group);
    Adopt(group);
    return true;
}

bool ILibrariesGroup::Contains(const ILibrariesGroup* group) const {
    for (const ILibrariesGroup* g = group; g != nullptr; g = g->GetParent())
        if (g == this)
            return true;
    return false;
}

IConfiguration* ILibrariesGroup::GetConfiguration() {
    ILibrariesGroup* root = this;
    while (root->GetParent() != nullptr)
        root = root->GetParent();
    return root->AsConfiguration();
}

const IConfiguration* ILibrariesGroup::GetConfiguration() const {
    return const_cast<ILibrariesGroup*>(this)->GetConfiguration();
}

void ILibrariesGroup::Adopt(ILibrary* library) {
    libraries_.push_back(library);
    library->parent_ = this;
    MarkModified();
    clients_.tell([this, library](IClient* c) { c->OnLibraryAdded(this, library); });
}

void ILibrariesGroup::Adopt(ILibrariesGroup* group) {
    groups_.push_back(group);
    group->parent_ = this;
    MarkModified();
    clients_.tell([this, group](IClient* c) { c->OnSubGroupAdded(this, group); });
}

void ILibrariesGroup::Detach(ILibrary* library) {
    std::erase(libraries_, library);
    library->parent_ = nullptr;
    MarkModified();
    library->clients_.tell([library](ILibrary::IClient* c) { c->OnLibraryRemoved(library); });
    clients_.tell([this](IClient* c) { c->OnGroupMemberRemoved(this); });
}

void ILibrariesGroup::Detach(ILibrariesGroup* group) {
    std::erase(groups_, group);
    group->parent_ = nullptr;
    MarkModified();
    group->clients_.tell([group](IClient* c) { c->OnGroupRemoved(group); });
    clients_.tell([this](IClient* c) { c->OnGroupMemberRemoved(this); });
}

void ILibrariesGroup::NotifyNameChanged() {
    clients_.tell([this](IClient* c) { c->OnGroupNameChanged(this); });
}

void ILibrariesGroup::NotifyPropertiesChanged() {
    clients_.tell([this](IClient* c) { c->OnGroupContentsChanged(this); });
}

// ---------------------------------------------------------------------------------------------

IConfiguration::IConfiguration(std::wstring name) : ILibrariesGroup(std::move(name)) {}

IConfiguration::~IConfiguration() {
    if (owner_ != nullptr) {
        owner_->Detach(this);
        Tell([this](ILibrariesGroup::IClient* c) { c->OnGroupRemoved(this); });
    }
}

void IConfiguration::AddClient(IClient* client) {
    ILibrariesGroup::AddClient(static_cast<ILibrariesGroup::IClient*>(client));
    configurationClients_.add(client);
}

void IConfiguration::RemoveClient(IClient* client) {
    ILibrariesGroup::RemoveClient(static_cast<ILibrariesGroup::IClient*>(client));
    configurationClients_.remove(client);
}

void IConfiguration::SetPath(std::wstring path) {
    if (!assign(path_, std::move(path)))
        return;
    SetModified(true);
    configurationClients_.tell([this](IClient* c) { c->OnPathChanged(this); });
}

void IConfiguration::SetActive(bool active) {
    if (active && owner_ != nullptr)
        for (std::size_t i = 0; i < owner_->GetCount(); ++i)
            if (IConfiguration* other = owner_->GetAt(i); other != this)
                other->SetActive(false);
    if (assign(active_, active))
        configurationClients_.tell([this](IClient* c) { c->OnActiveChanged(this); });
}

void IConfiguration::SetModified(bool modified) {
    if (assign(modified_, modified))
        configurationClients_.tell([this](IClient* c) { c->OnModifiedChanged(this); });
}

std::vector<std::wstring> IConfiguration::GetAlternativeNames() const {
    std::vector<std::wstring> names;
    names.reserve(alternatives_.size());
    for (const auto& [alternative, name] : alternatives_)
        names.push_back(alternative);
    return names;
}

std::wstring IConfiguration::GetNameForAlternative(const std::wstring& alternative) const {
    for (const auto& [a, name] : alternatives_)
        if (a == alternative)
            return name;
    return {};
}

void IConfiguration::SetAlternativeName(const std::wstring& alternative, const std::wstring& name) {
    if (alternative.empty())
        return;
    auto it = std::find_if(alternatives_.begin(), alternatives_.end(),
                           [&](const auto& entry) { return entry.first == alternative; });
    if (name.empty()) {
        if (it == alternatives_.end())
            return;
        alternatives_.erase(it);
    } else if (it != alternatives_.end()) {
        if (it->second == name)
            return;
        it->second = name;
    } else {
        alternatives_.emplace_back(alternative, name);
    }
    SetModified(true);
}

bool IConfiguration::Close(bool save) {
    if (save && modified_ && !Save(false))
        return false;
    delete this;
    return true;
}

// ---------------------------------------------------------------------------------------------

namespace {

void collectIdentities(ILibrariesGroup* group, std::vector<ILibraryItem*>& out) {
    out.push_back(group);
    for (std::size_t i = 0; i < group->GetSubGroupsCount(); ++i)
        collectIdentities(group->GetSubGroup(i), out);
    for (std::size_t i = 0; i < group->GetLibrariesCount(); ++i)
        out.push_back(group->GetLibrary(i));
}

} // namespace

IConfigurationsGroup::~IConfigurationsGroup() {
    Clear();
}

IConfiguration* IConfigurationsGroup::Add(std::unique_ptr<IConfiguration> configuration) {
    if (!configuration || configuration->owner_ != nullptr)
        return nullptr;
    if (!configuration->GetPath().empty() && FindConfigurationByPath(*this, configuration->GetPath().c_str()))
        return nullptr; // the unique pointer deletes it
    std::set<Guid> taken;
    std::vector<ILibraryItem*> items;
    for (IConfiguration* open : configurations_)
        collectIdentities(open, items);
    for (ILibraryItem* item : items)
        taken.insert(item->GetGuid());
    items.clear();
    collectIdentities(configuration.get(), items);
    bool renamed = false;
    for (ILibraryItem* item : items) {
        while (!taken.insert(item->guid_).second) {
            item->guid_ = GenerateUniqueIdentifier();
            renamed = true;
        }
    }
    IConfiguration* raw = configuration.release();
    if (renamed)
        raw->SetModified(true);
    configurations_.push_back(raw);
    raw->owner_ = this;
    clients_.tell([this, raw](IClient* c) { c->OnConfigurationAdded(this, raw); });
    return raw;
}

void IConfigurationsGroup::Clear() {
    while (!configurations_.empty())
        delete configurations_.back();
}

void IConfigurationsGroup::Detach(IConfiguration* configuration) {
    std::erase(configurations_, configuration);
    configuration->owner_ = nullptr;
    clients_.tell([this, configuration](IClient* c) { c->OnConfigurationRemoved(this, configuration); });
}

} // namespace DocumentsMenu
