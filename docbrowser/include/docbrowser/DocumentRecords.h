// The row of one drawing of a library: its name, path, seven properties read from the file
// itself and the eye; it opens the drawing, renames its file and drags it.
#pragma once

#include "docbrowser/Record.h"

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class DocumentRecordItemName;

class DocumentRecord : public Record {
public:
    DocumentRecord(std::wstring name, ILibrary* library);

    void Init() override;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    std::wstring GetName() override { return name_; }
    // Renames the file; a name that is empty, "." or "..", or holds a separator or a character
    // a file name may not hold, is refused, as is the same name.
    bool SetName(const std::wstring& name) override;
    std::wstring GetPath() override;
    void ShowInPreview() override;
    void DragSelection(const std::vector<Record*>& selected) override;
    void Drag() override;
    DROPEFFECT GetDropEffect(COleDataObject*, DWORD) override { return DROPEFFECT_NONE; }
    bool Drop(COleDataObject*, DROPEFFECT) override { return false; }
    void BeginRename() override;
    void OnKeyPressed(UINT key) override;
    void SetHidden(bool hidden) override;
    bool IsHidden() override;
    void UpdateChildren(const std::wstring&) override { SetChildrenPopulated(true); }

    // The file got a new name in its folder.
    virtual void ApplyName(const std::wstring& name);

    ILibrary* GetLibrary() const { return library_; }
    // The library's absolute folder followed by the name; empty without a library.
    std::wstring GetFullPath() const;
    // Opens the drawing in the program.
    void Open();
    // How many times the row's properties were read from the file.
    int GetPropertiesReads() const { return propertiesReads_; }
    void ReadProperties();

protected:
    void ApplySortPriority();
    std::wstring PathText() const;

    DocumentRecordItemName* nameItem_ = nullptr;
    CXTPReportRecordItem* pathItem_ = nullptr;
    std::wstring name_;
    ILibrary* library_;
    int propertiesReads_ = 0;
};

class PDMDocumentRecord : public DocumentRecord {
public:
    using DocumentRecord::DocumentRecord;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
};

class DocumentListRecord : public DocumentRecord {
public:
    using DocumentRecord::DocumentRecord;
    using DocumentRecord::GetItem;
    void Init() override;
    // The list's "Configuration" column shares its item index with the tree's Title; a drawing
    // of the list shows its configuration's name there, kept after the seven properties.
    CXTPReportRecordItem* GetItem(CXTPReportColumn* column) const override;
};

// Whether a typed name can name a file of the folder: not empty, not "." or "..", without a
// separator or a character the platform refuses in names.
bool IsValidDocumentName(const std::wstring& name);

} // namespace DocumentsMenu

DV_EXPORTS_END
