#include "docbrowser/BrowserViewState.h"

#include "DravikKernel/KernelHelpers.h"
#include "DravikUI/PropExchangeIds.h"
#include "xtp/PropExchange.h"

#include <algorithm>
#include <array>

namespace DocumentsMenu {

namespace {

// The identifier's bytes in the order the platform keeps a GUID in memory.
std::array<std::uint8_t, 16> memoryBytes(const Guid& id) {
    const auto& b = id.bytes;
    return {b[3], b[2], b[1],  b[0],  b[5],  b[4],  b[7],  b[6],
            b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]};
}

template <class Object> void setMember(BrowserViewState::GuidSet& set, const Object* object, bool state) {
    if (object == nullptr)
        return;
    if (state)
        set.insert(object->GetGuid());
    else
        set.erase(object->GetGuid());
}

template <class Object> bool isMember(const BrowserViewState::GuidSet& set, const Object* object) {
    return object != nullptr && set.contains(object->GetGuid());
}

using Finder = bool (*)(const Guid&);

bool groupExists(const Guid& id) {
    return FindLibrariesGroup(GlobalCfgGroup(), id) != nullptr;
}

bool libraryExists(const Guid& id) {
    return FindLibrary(GlobalCfgGroup(), id) != nullptr;
}

void exchangeSet(CXTPPropExchange* pPX, const wchar_t* section, const wchar_t* entry,
                 BrowserViewState::GuidSet& set, Finder exists) {
    CXTPPropExchangeSection px(pPX, section);
    CXTPPropExchangeEnumeratorPtr items(px->GetEnumerator(entry));
    if (pPX->IsStoring()) {
        BrowserViewState::GuidSet kept;
        for (const Guid& id : set)
            if (exists(id))
                kept.insert(id);
        POSITION pos = items->GetPosition(static_cast<DWORD>(kept.size()));
        for (Guid id : kept) {
            CXTPPropExchangeSection item(items->GetNext(pos));
            PX_UniqueIdentifier(item, L"id", id);
        }
        return;
    }
    set.clear();
    POSITION pos = items->GetPosition(0);
    while (pos) {
        CXTPPropExchangeSection item(items->GetNext(pos));
        Guid id;
        PX_UniqueIdentifier(item, L"id", id);
        if (!id.IsNull())
            set.insert(id);
    }
}

} // namespace

bool BrowserViewState::GuidOrder::operator()(const Guid& a, const Guid& b) const {
    return memoryBytes(a) < memoryBytes(b);
}

bool BrowserViewState::IsGroupExpanded(const ILibrariesGroup* group) const {
    return isMember(expandedGroups_, group);
}

bool BrowserViewState::IsLibraryExpanded(const ILibrary* library) const {
    return isMember(expandedLibraries_, library);
}

bool BrowserViewState::IsGroupHidden(const ILibrariesGroup* group) const {
    return isMember(hiddenGroups_, group);
}

bool BrowserViewState::IsLibraryHidden(const ILibrary* library) const {
    return isMember(hiddenLibraries_, library);
}

void BrowserViewState::SetGroupExpanded(const ILibrariesGroup* group, bool state) {
    setMember(expandedGroups_, group, state);
}

void BrowserViewState::SetLibraryExpanded(const ILibrary* library, bool state) {
    setMember(expandedLibraries_, library, state);
}

void BrowserViewState::SetGroupHidden(const ILibrariesGroup* group, bool state) {
    setMember(hiddenGroups_, group, state);
}

void BrowserViewState::SetLibraryHidden(const ILibrary* library, bool state) {
    setMember(hiddenLibraries_, library, state);
}

bool BrowserViewState::IsDocumentHidden(const ILibrary* library, const std::wstring& name) const {
    if (library == nullptr)
        return false;
    return std::any_of(hiddenDocuments_.begin(), hiddenDocuments_.end(), [&](const auto& entry) {
        return entry.first == library->GetGuid() && entry.second == name;
    });
}

void BrowserViewState::SetDocumentHidden(const ILibrary* library, const std::wstring& name, bool state) {
    if (library == nullptr)
        return;
    if (!state) {
        std::erase_if(hiddenDocuments_, [&](const auto& entry) {
            return entry.first == library->GetGuid() && entry.second == name;
        });
    } else if (!IsDocumentHidden(library, name)) {
        hiddenDocuments_.emplace_back(library->GetGuid(), name);
    }
}

bool BrowserViewState::HasHiddenItems() const {
    return !hiddenDocuments_.empty() || !hiddenLibraries_.empty() || !hiddenGroups_.empty();
}

void BrowserViewState::DoPropExchange(CXTPPropExchange* pPX) {
    exchangeSet(pPX, L"ExpandedGroups", L"group", expandedGroups_, &groupExists);
    exchangeSet(pPX, L"ExpandedLibs", L"lib", expandedLibraries_, &libraryExists);
    exchangeSet(pPX, L"HiddenGroups", L"group", hiddenGroups_, &groupExists);
    exchangeSet(pPX, L"HiddenLibs", L"lib", hiddenLibraries_, &libraryExists);

    CXTPPropExchangeSection px(pPX, L"HiddenDocs");
    CXTPPropExchangeEnumeratorPtr items(px->GetEnumerator(L"doc"));
    if (pPX->IsStoring()) {
        std::vector<std::pair<Guid, std::wstring>> kept;
        for (const auto& entry : hiddenDocuments_) {
            const ILibrary* library = FindLibrary(GlobalCfgGroup(), entry.first);
            const std::wstring folder = GetLibraryAbsolutePath(library);
            if (library != nullptr && !folder.empty() &&
                Dravik::GetFileSystemEntryType((folder + entry.second).c_str()) ==
                    Dravik::FileSystemEntryType::File)
                kept.push_back(entry);
        }
        POSITION pos = items->GetPosition(static_cast<DWORD>(kept.size()));
        for (auto& [id, name] : kept) {
            CXTPPropExchangeSection item(items->GetNext(pos));
            PX_UniqueIdentifier(item, L"libID", id);
            CString text = name.c_str();
            PX_String(item, L"docName", text);
        }
        return;
    }
    hiddenDocuments_.clear();
    POSITION pos = items->GetPosition(0);
    while (pos) {
        CXTPPropExchangeSection item(items->GetNext(pos));
        Guid id;
        PX_UniqueIdentifier(item, L"libID", id);
        CString text;
        PX_String(item, L"docName", text, L"");
        std::wstring name = text.GetString();
        const bool known =
            std::any_of(hiddenDocuments_.begin(), hiddenDocuments_.end(),
                        [&](const auto& entry) { return entry.first == id && entry.second == name; });
        if (!id.IsNull() && !name.empty() && !known)
            hiddenDocuments_.emplace_back(id, std::move(name));
    }
}

} // namespace DocumentsMenu
