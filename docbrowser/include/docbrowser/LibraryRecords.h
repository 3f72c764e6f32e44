// The row of one library: its columns with a folder browse button in the Path cell, and its
// drawings as children, listed on first expansion and kept current by watching the folder.
#pragma once

#include "docbrowser/DirectoryChanges.h"
#include "docbrowser/Record.h"

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class LibraryRecordItemName;
class LibraryRecordButtonBrowse;
class ReportRecordItem;
class DocumentRecord;

class LibraryRecord : public Record, public ILibrary::IClient, public DirectoryChangesHandler {
public:
    explicit LibraryRecord(ILibrary* library, bool browse = true);
    ~LibraryRecord() override;

    void Init() override;
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    std::wstring GetName() override;
    bool SetName(const std::wstring& name) override;
    std::wstring GetPath() override;
    bool SetPath(const std::wstring& path) override;
    std::wstring GetAuthor() override;
    bool SetAuthor(const std::wstring& text) override;
    std::wstring GetCompany() override;
    bool SetCompany(const std::wstring& text) override;
    std::wstring GetComment() override;
    bool SetComment(const std::wstring& text) override;
    void ShowInPreview() override;
    void DragSelection(const std::vector<Record*>& selected) override;
    void Drag() override;
    DROPEFFECT GetDropEffect(COleDataObject* data, DWORD keyState) override;
    bool Drop(COleDataObject* data, DROPEFFECT effect) override;
    void BeginRename() override;
    void SetHidden(bool hidden) override;
    bool IsHidden() override;
    void UpdateChildren(const std::wstring& filter) override;
    void SetExpanded(BOOL expanded) override;

    virtual ILibrary* GetLibrary() const { return library_; }
    virtual DocumentRecord* CreateDocumentRecord(const std::wstring& name);

    void OnLibraryNameChanged(ILibrary*) override;
    void OnLibraryRemoved(ILibrary*) override;
    void OnLibraryDestroyed(ILibrary*) override;
    void OnLibraryContentsChanged(ILibrary*) override;
    void OnLibraryPathChanged(ILibrary*) override;

    void OnFileAdded(const SharedPathName& path) override;
    void OnFileRemoved(const SharedPathName& path) override;
    void OnFileNameChanged(const SharedPathName& oldPath, const SharedPathName& newPath) override;

    // The folder being followed; empty when none.
    const std::wstring& GetObservedFolder() const { return observed_; }

protected:
    // Lists the drawings (after a PDM refresh for the twin).
    virtual void BeforeListing() {}
    void ListDocuments(const std::wstring& filter);

private:
    void Observe(const std::wstring& folder);
    void StopObserving();
    DocumentRecord* FindChild(const std::wstring& fullPath) const;

    LibraryRecordItemName* name_ = nullptr;
    ReportRecordItem* path_ = nullptr;
    LibraryRecordButtonBrowse* button_ = nullptr;
    bool browse_;
    ILibrary* library_;
    std::wstring observed_;
};

class LibraryListRecord : public LibraryRecord {
public:
    explicit LibraryListRecord(ILibrary* library) : LibraryRecord(library, true) {}
    void Init() override;
    DocumentRecord* CreateDocumentRecord(const std::wstring& name) override;
};

class PDMLibraryRecord : public LibraryRecord {
public:
    explicit PDMLibraryRecord(ILibrary* library) : LibraryRecord(library, false) {}
    void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) override;
    void BuildContextMenu(CXTPPopupBar* popup) override;
    DROPEFFECT GetDropEffect(COleDataObject*, DWORD) override { return DROPEFFECT_NONE; }
    DocumentRecord* CreateDocumentRecord(const std::wstring& name) override;

protected:
    void BeforeListing() override;
};

// Whether a drawing of the library's folder (not its sub-folders) has a searchable name that
// holds the filter; drawings the panel hides count only while it shows hidden ones.
bool LibraryDocumentsMatch(ILibrary* library, const std::wstring& filter, const DocumentsMenuDlg* panel);

} // namespace DocumentsMenu

DV_EXPORTS_END
