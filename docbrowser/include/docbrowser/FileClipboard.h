// Drawing files on the clipboard and in drags: a CF_HDROP list with the "Preferred
// DropEffect", and the copy or move of dropped drawings into a library folder.
#pragma once

#include "pal/visibility.h"
#include "win/global_memory.h"
#include "win/ole/dragdrop.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class COleDataObject;

namespace DocumentsMenu {

class FileClipboard {
public:
    static FileClipboard& Instance();

    bool Copy(const std::vector<std::wstring>& files) { return SetFiles(files, DROPEFFECT_COPY); }
    bool Cut(const std::vector<std::wstring>& files) { return SetFiles(files, DROPEFFECT_MOVE); }
    // The clipboard holds the files and the effect; false (clipboard untouched) when the blocks
    // cannot be made.
    bool SetFiles(const std::vector<std::wstring>& files, DROPEFFECT effect);
    // A modal drag of the files, copy and move allowed; true whatever the drop did.
    bool DragFiles(const std::vector<std::wstring>& files, DROPEFFECT effect);

    // The list is left as it was when there is no file list; else it is the files, in order.
    void GetFiles(std::vector<std::wstring>& files) const;
    void GetFiles(COleDataObject* data, std::vector<std::wstring>& files) const;

    // The ".grb" files of the clipboard (or of the data object) copied or moved into the folder
    // in one file operation. A paste moves when the clipboard's preferred effect says so; a drop
    // does what the drop's own effect says. False when no drawing was offered or the operation
    // did not finish.
    bool Paste(const std::wstring& folder);
    bool PasteData(COleDataObject* data, const std::wstring& folder);
    bool DropData(COleDataObject* data, const std::wstring& folder, DROPEFFECT effect);

    // The blocks, made of global memory (movable, zero-filled); null when they cannot be made.
    static HGLOBAL MakeFileList(const std::vector<std::wstring>& files);
    static HGLOBAL MakeEffect(DROPEFFECT effect);
    static UINT PreferredEffectFormat();

private:
    FileClipboard() = default;
    bool Transfer(COleDataObject* data, const std::wstring& folder, DROPEFFECT effect);
};

// Whether a name ends with ".grb" (any case), the extension exactly these four characters.
bool IsDocumentFileName(const std::wstring& path);

} // namespace DocumentsMenu

DV_EXPORTS_END
