// What a person expanded and hid in the documents browser, kept from one run to the next by
// the identifiers of the model's objects (documents by their library's identifier and name).
#pragma once

#include "DravikKernel/DocumentsMenu.h"

#include "pal/visibility.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPPropExchange;

namespace DocumentsMenu {

class BrowserViewState {
public:
    // A null object is never expanded or hidden, and setting it does nothing.
    bool IsGroupExpanded(const ILibrariesGroup* group) const;
    bool IsLibraryExpanded(const ILibrary* library) const;
    bool IsGroupHidden(const ILibrariesGroup* group) const;
    bool IsLibraryHidden(const ILibrary* library) const;
    void SetGroupExpanded(const ILibrariesGroup* group, bool state);
    void SetLibraryExpanded(const ILibrary* library, bool state);
    void SetGroupHidden(const ILibrariesGroup* group, bool state);
    void SetLibraryHidden(const ILibrary* library, bool state);

    // Documents by their exact (case-sensitive) name in the library.
    bool IsDocumentHidden(const ILibrary* library, const std::wstring& name) const;
    // Showing a document takes away every entry it has, so that it shows whatever was stored.
    void SetDocumentHidden(const ILibrary* library, const std::wstring& name, bool state);

    // Whether anything is hidden; the expanded sets do not count.
    bool HasHiddenItems() const;

    // The sections "ExpandedGroups", "ExpandedLibs", "HiddenGroups", "HiddenLibs" and
    // "HiddenDocs". Loading replaces what is held. Storing writes only what still names an
    // object of the open configurations (and a hidden document only while its file exists).
    void DoPropExchange(CXTPPropExchange* pPX);

    // The platform's GUID order: the 16 bytes as held in memory (the first three fields little
    // endian), compared as unsigned values.
    struct GuidOrder {
        bool operator()(const Guid& a, const Guid& b) const;
    };
    using GuidSet = std::set<Guid, GuidOrder>;

private:
    GuidSet expandedGroups_;
    GuidSet expandedLibraries_;
    GuidSet hiddenGroups_;
    GuidSet hiddenLibraries_;
    std::vector<std::pair<Guid, std::wstring>> hiddenDocuments_;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
