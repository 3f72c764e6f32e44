// The clipboard of libraries and groups, as far as rows call it: their drags and drops. The
// copying and moving of libraries and groups comes with the clipboard itself; until then a row
// starts no drag and takes no drop of them.
#pragma once

#include "DravikKernel/DocumentsMenu.h"

#include "pal/visibility.h"
#include "win/ole/dragdrop.h"

#include <vector>

DV_EXPORTS_BEGIN

class COleDataObject;

namespace DocumentsMenu {

class LibrariesClipboard {
public:
    static LibrariesClipboard& Instance();
    bool DragGroups(const std::vector<ILibrariesGroup*>& groups);
    bool DragLibraries(const std::vector<ILibrary*>& libraries);
    DROPEFFECT GetDropEffect(COleDataObject* data, DWORD keyState, ILibrariesGroup* target);
    bool Drop(COleDataObject* data, DROPEFFECT effect, ILibrariesGroup* target);
    // Whether a copy or cut waits to be pasted.
    bool HasPending() const { return false; }

private:
    LibrariesClipboard() = default;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
