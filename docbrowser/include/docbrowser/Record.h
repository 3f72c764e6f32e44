// The rows of the browser's structure: every row is a record of this protocol, so that the
// structure, the cells and the menus act on a row without knowing what it shows.
#pragma once

#include "DravikKernel/DocumentsMenu.h"
#include "DravikUI/ReportControl.h"

#include "pal/visibility.h"
#include "win/ole/dragdrop.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class COleDataObject;
class CXTPPopupBar;

namespace DocumentsMenu {

class DocumentsMenuDlg;

class Record : public CXTPReportRecord {
public:
    Record() = default;

    // Makes the row's items in column order, becomes a client of its object and, when the
    // object may have children, adds the placeholder child that gives the row its button.
    virtual void Init() = 0;
    // Several rows are selected and this one is under the mouse; adds nothing unless every
    // selected record is of this kind.
    virtual void BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) = 0;
    virtual void BuildContextMenu(CXTPPopupBar* popup) = 0;
    // The column texts; a setter's false refuses the text and the cell keeps its own.
    virtual std::wstring GetName() = 0;
    virtual bool SetName(const std::wstring& name) = 0;
    virtual std::wstring GetPath() { return {}; }
    virtual bool SetPath(const std::wstring&) { return false; }
    virtual std::wstring GetAuthor() { return {}; }
    virtual bool SetAuthor(const std::wstring&) { return false; }
    virtual std::wstring GetCompany() { return {}; }
    virtual bool SetCompany(const std::wstring&) { return false; }
    virtual std::wstring GetComment() { return {}; }
    virtual bool SetComment(const std::wstring&) { return false; }
    virtual void ShowInPreview() = 0;
    virtual void DragSelection(const std::vector<Record*>& selected) = 0;
    virtual void Drag() = 0;
    // What dropping the data here would do: none, copy or move.
    virtual DROPEFFECT GetDropEffect(COleDataObject* data, DWORD keyState) = 0;
    // Carries out a drop of the given effect.
    virtual bool Drop(COleDataObject* data, DROPEFFECT effect) = 0;
    virtual void BeginRename() = 0;
    // Expanding fills the children first when they were never filled.
    virtual void Expand(bool expand);
    virtual void OnKeyPressed(UINT key) { (void)key; }
    virtual void SetHidden(bool hidden) = 0;
    virtual bool IsHidden() = 0;
    // Replaces the children by those that pass the filter (empty: all).
    virtual void UpdateChildren(const std::wstring& filter) = 0;

    bool AreChildrenPopulated() const { return childrenPopulated_; }

protected:
    void SetChildrenPopulated(bool populated) { childrenPopulated_ = populated; }
    void AddPlaceholderChild();
    // Every item's text in the system's grey-text colour (an excluded object).
    void GreyItems();
    // The control shows the records as they are now.
    void Repopulate();
    // In-place editing of one of the row's items.
    void BeginEdit(int itemIndex);
    // Takes a new child: appended, initialised, greyed when excluded.
    Record* AppendChild(Record* child, bool excluded);

private:
    bool childrenPopulated_ = false;
};

// The structure's two views share this control: it knows the panel and routes expansion and
// keys to the records.
class StructureBase : public Dravik::UI::ReportControl {
public:
    explicit StructureBase(DocumentsMenuDlg* owner);
    DocumentsMenuDlg* GetOwnerPanel() const { return owner_; }
    bool IsShowHidden() const;
    // The "Visible" column's header: 40753 while hidden objects show, else 40823 when something
    // is hidden, else 40754.
    void UpdateVisibleColumnIcon();

protected:
    void OnRowExpanded(CXTPReportRow* row) override;
    void OnKeyDown(UINT key) override;

private:
    DocumentsMenuDlg* owner_;
};

// The panel of the structure that holds the record; none outside a browser structure.
DocumentsMenuDlg* GetOwnerDialog(const CXTPReportRecord* record);
// Whether the text's searchable form holds the filter (already in searchable form).
bool MatchesSearch(const std::wstring& text, const std::wstring& filter);
// The selected rows of a record's control that are browser records, in row order.
std::vector<Record*> SelectedRecords(const CXTPReportControl* control);

} // namespace DocumentsMenu

DV_EXPORTS_END
