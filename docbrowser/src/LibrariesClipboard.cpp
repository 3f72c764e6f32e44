#include "docbrowser/LibrariesClipboard.h"

namespace DocumentsMenu {

LibrariesClipboard& LibrariesClipboard::Instance() {
    static LibrariesClipboard clipboard;
    return clipboard;
}

bool LibrariesClipboard::DragGroups(const std::vector<ILibrariesGroup*>&) {
    return false;
}

bool LibrariesClipboard::DragLibraries(const std::vector<ILibrary*>&) {
    return false;
}

DROPEFFECT LibrariesClipboard::GetDropEffect(COleDataObject*, DWORD, ILibrariesGroup*) {
    return DROPEFFECT_NONE;
}

bool LibrariesClipboard::Drop(COleDataObject*, DROPEFFECT, ILibrariesGroup*) {
    return false;
}

} // namespace DocumentsMenu
