// The report control: a painted list of records in named columns, with records that hold
// children (a tree), items that carry a text, an icon, a colour, buttons and a sort priority,
// selection, hit tests of rows and cells, in-place editing of a cell, and hooks for drag and
// drop, clicks, expansion and the context menu.
//
// Records own their items and their children. The rows are what the control shows: Populate()
// makes them from the visible records, children following an expanded record, siblings sorted
// by the sort column. Rows are made again by every Populate(), so a row pointer lasts until
// then; records, items and columns last until they are removed.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "win/ole/dragdrop.h"
#include "xtp/ReportPaintManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPReportControl;
class CXTPReportRecord;
class CXTPReportRecords;
class CXTPReportRecordItem;
class CXTPReportRow;
class CXTPReportColumn;
class CXTPImageManager;
class COleDataObject;

// What a click, a double click or an edit hands to an item.
struct XTP_REPORTRECORDITEM_ARGS {
    CXTPReportControl* pControl = nullptr;
    CXTPReportRow* pRow = nullptr;
    CXTPReportColumn* pColumn = nullptr;
    CXTPReportRecordItem* pItem = nullptr;
    CRect rcItem;
};
struct XTP_REPORTRECORDITEM_CLICKARGS : XTP_REPORTRECORDITEM_ARGS {
    CPoint ptClient;
};

// A push button inside a cell, drawn after the cell's text at the cell's right edge.
class CXTPReportRecordItemButton {
public:
    CXTPReportRecordItemButton() = default;
    virtual ~CXTPReportRecordItemButton() = default;
    CXTPReportRecordItemButton(const CXTPReportRecordItemButton&) = delete;
    CXTPReportRecordItemButton& operator=(const CXTPReportRecordItemButton&) = delete;

    void SetCaption(LPCWSTR caption) { caption_ = caption; }
    const CString& GetCaption() const { return caption_; }
    void SetSize(CSize size) { size_ = size; }
    CSize GetSize() const { return size_; }
    // The caption's own colour; CLR_DEFAULT takes the paint manager's.
    void SetTextColor(COLORREF colour) { colour_ = colour; }
    COLORREF GetTextColor() const { return colour_; }
    CXTPReportRecordItem* GetItem() const { return item_; }

    // The button was pressed and let go over itself.
    virtual void OnLButtonUp(const XTP_REPORTRECORDITEM_CLICKARGS* args) { (void)args; }

private:
    friend class CXTPReportRecordItem;
    CString caption_;
    CSize size_{18, 18};
    COLORREF colour_ = CLR_DEFAULT;
    CXTPReportRecordItem* item_ = nullptr;
};

// One cell of a record.
class CXTPReportRecordItem {
public:
    CXTPReportRecordItem() = default;
    explicit CXTPReportRecordItem(LPCWSTR caption) : caption_(caption) {}
    virtual ~CXTPReportRecordItem();
    CXTPReportRecordItem(const CXTPReportRecordItem&) = delete;
    CXTPReportRecordItem& operator=(const CXTPReportRecordItem&) = delete;

    // The text shown for a column; the item's caption unless an item kind says otherwise.
    virtual CString GetCaption(CXTPReportColumn* column) {
        (void)column;
        return caption_;
    }
    virtual void SetCaption(LPCWSTR caption) { caption_ = caption; }
    virtual CString GetTooltip() { return tooltip_; }
    virtual void SetTooltip(LPCWSTR tooltip) { tooltip_ = tooltip; }

    // An image id of the control's image manager (ids of custom icons lie above INT_MAX and
    // read negative); -1 for none.
    virtual int GetIconIndex() const { return icon_; }
    void SetIconIndex(int icon) { icon_ = icon; }

    // CLR_DEFAULT: the control's text colour.
    void SetTextColor(COLORREF colour) { colour_ = colour; }
    COLORREF GetTextColor() const { return colour_; }

    void SetEditable(BOOL editable) { editable_ = editable != FALSE; }
    BOOL IsEditable() const { return editable_; }

    // Items of a lower priority sort first; equal priorities compare captions.
    void SetSortPriority(int priority) { sortPriority_ = priority; }
    int GetSortPriority() const { return sortPriority_; }
    // Negative, zero or positive as this item sorts before, with or after the other.
    virtual int Compare(CXTPReportColumn* column, CXTPReportRecordItem* other);

    // Buttons of the cell, owned by it.
    CXTPReportRecordItemButton* AddButton(CXTPReportRecordItemButton* button);
    int GetButtonCount() const { return static_cast<int>(buttons_.size()); }
    CXTPReportRecordItemButton* GetButton(int index) const;

    CXTPReportRecord* GetRecord() const { return record_; }
    int GetIndex() const;

    virtual void OnClick(XTP_REPORTRECORDITEM_CLICKARGS* args) { (void)args; }
    // The base starts editing an editable item.
    virtual void OnDblClick(XTP_REPORTRECORDITEM_CLICKARGS* args);
    // The edit of the item ended with this text; the base takes it as the caption.
    virtual void OnEditChanged(XTP_REPORTRECORDITEM_ARGS* args, LPCWSTR text);

protected:
    CString caption_;

private:
    friend class CXTPReportRecord;
    CString tooltip_;
    int icon_ = -1;
    COLORREF colour_ = CLR_DEFAULT;
    bool editable_ = true;
    int sortPriority_ = 0;
    std::vector<std::unique_ptr<CXTPReportRecordItemButton>> buttons_;
    CXTPReportRecord* record_ = nullptr;
};

// Records of one level: the control's top level, or a record's children. Owns them.
class CXTPReportRecords {
public:
    explicit CXTPReportRecords(CXTPReportRecord* owner = nullptr) : owner_(owner) {}
    ~CXTPReportRecords();
    CXTPReportRecords(const CXTPReportRecords&) = delete;
    CXTPReportRecords& operator=(const CXTPReportRecords&) = delete;

    int GetCount() const { return static_cast<int>(records_.size()); }
    CXTPReportRecord* GetAt(int index) const;
    // Takes the record; it is the one given back.
    CXTPReportRecord* Add(CXTPReportRecord* record);
    // Deletes the record (and its children); false when it is not one of these.
    bool RemoveRecord(CXTPReportRecord* record);
    void RemoveAll();
    // The record that holds these, null at the top level.
    CXTPReportRecord* GetOwnerRecord() const { return owner_; }
    CXTPReportControl* GetControl() const;

    // Captions compare without regard to case unless told otherwise.
    void SetCaseSensitive(BOOL caseSensitive) { caseSensitive_ = caseSensitive != FALSE; }
    BOOL IsCaseSensitive() const { return caseSensitive_; }
    int Compare(const CString& a, const CString& b) const;

private:
    friend class CXTPReportControl;
    std::vector<std::unique_ptr<CXTPReportRecord>> records_;
    CXTPReportRecord* owner_;
    CXTPReportControl* control_ = nullptr; // top level only
    bool caseSensitive_ = false;
};

// One line of data: items in column order, and children.
class CXTPReportRecord {
public:
    CXTPReportRecord();
    virtual ~CXTPReportRecord();
    CXTPReportRecord(const CXTPReportRecord&) = delete;
    CXTPReportRecord& operator=(const CXTPReportRecord&) = delete;

    // Takes the item; it is the one given back.
    CXTPReportRecordItem* AddItem(CXTPReportRecordItem* item);
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    CXTPReportRecordItem* GetItem(int index) const;
    // The cell a column shows; a record whose cells do not follow the columns' item indexes
    // answers for itself.
    virtual CXTPReportRecordItem* GetItem(CXTPReportColumn* column) const;
    int IndexOf(const CXTPReportRecordItem* item) const;

    CXTPReportRecords* GetChilds() { return &children_; }
    BOOL HasChildren() const { return children_.GetCount() > 0; }
    // The collection that holds the record (null before it is added) and its record.
    CXTPReportRecords* GetRecords() const { return holder_; }
    CXTPReportRecord* GetParentRecord() const { return holder_ ? holder_->GetOwnerRecord() : nullptr; }
    CXTPReportControl* GetControl() const { return holder_ ? holder_->GetControl() : nullptr; }
    // Deletes the record from its collection: the record is gone afterwards.
    void Delete();

    BOOL IsExpanded() const { return expanded_; }
    virtual void SetExpanded(BOOL expanded) { expanded_ = expanded != FALSE; }
    BOOL IsVisible() const { return visible_; }
    void SetVisible(BOOL visible) { visible_ = visible != FALSE; }

private:
    friend class CXTPReportRecords;
    std::vector<std::unique_ptr<CXTPReportRecordItem>> items_;
    CXTPReportRecords children_;
    CXTPReportRecords* holder_ = nullptr;
    bool expanded_ = false;
    bool visible_ = true;
};

class CXTPReportColumn {
public:
    CXTPReportColumn(int itemIndex, LPCWSTR caption, int width, BOOL autoSize = TRUE, int iconId = -1,
                     BOOL sortable = TRUE, BOOL visible = TRUE);

    int GetItemIndex() const { return itemIndex_; }
    const CString& GetCaption() const { return caption_; }
    void SetCaption(LPCWSTR caption) { caption_ = caption; }
    const CString& GetInternalName() const { return name_; }
    void SetInternalName(LPCWSTR name) { name_ = name; }
    int GetWidth() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    BOOL IsVisible() const { return visible_; }
    void SetVisible(BOOL visible);
    BOOL IsSortable() const { return sortable_; }
    BOOL IsTreeColumn() const { return tree_; }
    void SetTreeColumn(BOOL tree) { tree_ = tree != FALSE; }
    void SetHeaderIconId(int icon) { headerIcon_ = icon; }
    int GetHeaderIconId() const { return headerIcon_; }
    BOOL IsSortedIncreasing() const { return increasing_; }
    void SetSortIncreasing(BOOL increasing) { increasing_ = increasing != FALSE; }
    // Whether a person may remove it and whether the column chooser lists it.
    void SetAllowRemove(BOOL allow) { removable_ = allow != FALSE; }
    BOOL IsAllowRemove() const { return removable_; }
    void SetShowInFieldChooser(BOOL show) { chooser_ = show != FALSE; }
    BOOL IsShowInFieldChooser() const { return chooser_; }
    CXTPReportControl* GetControl() const { return control_; }

private:
    friend class CXTPReportControl;
    int itemIndex_;
    CString caption_;
    CString name_;
    int width_;
    bool visible_;
    bool sortable_;
    bool tree_ = false;
    int headerIcon_;
    bool increasing_ = true;
    bool removable_ = true;
    bool chooser_ = true;
    CXTPReportControl* control_ = nullptr;
};

// A shown line: a record at a depth.
class CXTPReportRow {
public:
    CXTPReportRecord* GetRecord() const { return record_; }
    int GetIndex() const { return index_; }
    int GetTreeDepth() const { return depth_; }
    BOOL IsExpanded() const { return record_->IsExpanded(); }
    // Expands or collapses the record and tells the control (OnRowExpanded).
    void SetExpanded(BOOL expanded);
    BOOL IsSelected() const;
    void SetSelected(BOOL selected);
    BOOL IsFocused() const;
    CXTPReportControl* GetControl() const { return control_; }
    // The cell under a point of the control's client area, or null.
    CXTPReportRecordItem* HitTest(CPoint point, CRect* itemRect = nullptr,
                                  CXTPReportColumn** column = nullptr) const;
    CRect GetRect() const;

private:
    friend class CXTPReportControl;
    CXTPReportControl* control_ = nullptr;
    CXTPReportRecord* record_ = nullptr;
    int index_ = 0;
    int depth_ = 0;
};

class CXTPReportControl : public CWnd {
    DECLARE_DYNAMIC(CXTPReportControl)
public:
    CXTPReportControl();
    ~CXTPReportControl() override;

    // Gives back what row batches of every report control hold beyond their rows; the next
    // batch makes its own again. Safe to call at any idle time.
    static void FreeRowBatchExtraData();

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Columns, owned by the control, in the order they were added (the order shown).
    CXTPReportColumn* AddColumn(CXTPReportColumn* column);
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }
    CXTPReportColumn* GetColumn(int index) const;
    CXTPReportColumn* FindColumn(LPCWSTR internalName) const;
    CXTPReportColumn* FindColumnByItemIndex(int itemIndex) const;
    int GetVisibleColumnCount() const;
    void SetSortColumn(CXTPReportColumn* column, BOOL increasing = TRUE);
    CXTPReportColumn* GetSortColumn() const { return sortColumn_; }

    CXTPReportRecords* GetRecords() { return &records_; }
    CXTPReportRecord* AddRecord(CXTPReportRecord* record) { return records_.Add(record); }
    void ResetContent();

    // Makes the rows again from the records and repaints; selection and focus stay on the
    // records that still show.
    virtual void Populate();
    const std::vector<std::unique_ptr<CXTPReportRow>>& GetRows() const { return rows_; }
    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    CXTPReportRow* GetRow(int index) const;
    CXTPReportRow* FindRow(const CXTPReportRecord* record) const;
    // Drawing waits between these; the outermost end repaints.
    void BeginUpdate();
    void EndUpdate();
    int GetPopulateCount() const { return populateCount_; }

    // Selection and focus, by record.
    std::vector<CXTPReportRow*> GetSelectedRows() const;
    void SelectRow(CXTPReportRow* row, BOOL add = FALSE);
    void ClearSelection();
    CXTPReportRow* GetFocusedRow() const;
    void SetFocusedRow(CXTPReportRow* row);
    // The row whose index is kept in view (and focused) when the focused record leaves the rows.
    void SetFocusFallback(int rowIndex) { focusFallback_ = rowIndex; }

    // Geometry: one line per row under the header.
    int GetRowHeight() const { return rowHeight_; }
    // The rows scroll by whole rows: the first row shown, and how many fit in full below the
    // header (at least one).
    int GetTopRowIndex() const { return topRow_; }
    void SetTopRowIndex(int index);
    int GetVisibleRowsCount() const;
    // Scrolls the least that shows the row whole.
    void EnsureVisible(const CXTPReportRow* row);
    int GetIndent() const { return indent_; }
    void ShowHeader(BOOL show);
    BOOL IsHeaderVisible() const { return header_; }
    int GetHeaderHeight() const { return header_ ? rowHeight_ + 4 : 0; }
    // Column geometry in client coordinates; empty for a hidden column.
    CRect GetColumnRect(CXTPReportColumn* column) const;
    CXTPReportRow* HitTest(CPoint point) const;
    CXTPReportColumn* HitTestHeader(CPoint point) const;
    // The expand button of a row with children in the tree column.
    CRect GetExpandButtonRect(const CXTPReportRow* row) const;
    CRect GetItemRect(const CXTPReportRow* row, CXTPReportColumn* column) const;
    CRect GetButtonRect(const CXTPReportRow* row, CXTPReportColumn* column, int button) const;

    void SetImageManager(CXTPImageManager* manager); // owned
    // How the control draws; it takes the manager over (null: the system's colours again).
    void SetPaintManager(CXTPReportPaintManager* manager);
    CXTPReportPaintManager* GetPaintManager() const { return paint_.get(); }
    CXTPImageManager* GetImageManager() const { return images_.get(); }

    // Editing of cells in place.
    void AllowEdit(BOOL allow) { allowEdit_ = allow != FALSE; }
    BOOL IsAllowEdit() const { return allowEdit_; }
    // Opens the edit window over the cell; false when editing is not allowed there.
    BOOL EditItem(XTP_REPORTRECORDITEM_ARGS* args);
    // The edit window while a cell is edited, else null.
    CWnd* GetInplaceEdit() const;
    const XTP_REPORTRECORDITEM_ARGS* GetActiveItem() const { return editing_ ? &editArgs_ : nullptr; }
    // Ends the edit: with `accept` the item hears the text (OnEditChanged).
    void EndEdit(BOOL accept);
    void HideInplaceEdit();

    // Drag and drop: drops are taken once enabled; a drag starts when the mouse moves a few
    // pixels with the left button down on a selected row.
    void EnableDragDrop(BOOL enable);
    BOOL IsDragDropEnabled() const { return dragDrop_; }

protected:
    // Hooks for the kinds of control built on this one.
    virtual void OnRowExpanded(CXTPReportRow* row) { (void)row; }
    virtual void OnSelectionChanged() {}
    virtual void OnColumnsChanged() {}
    virtual void OnHeaderClick(CXTPReportColumn* column) { (void)column; }
    virtual void OnContextMenu(CPoint screen) { (void)screen; }
    virtual void OnBeginDrag(CPoint point, DWORD keyState) {
        (void)point;
        (void)keyState;
    }
    // 0 enter, 1 leave, 2 over.
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point, int state) {
        (void)data;
        (void)keyState;
        (void)point;
        (void)state;
        return DROPEFFECT_NONE;
    }
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) {
        (void)data;
        (void)effect;
        (void)point;
        return FALSE;
    }
    // Mouse and key handling, for kinds that add to it.
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnKeyDown(UINT key);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(CDC* dc);

private:
    friend class CXTPReportRow;
    friend class CXTPReportColumn;
    class DropTarget;
    void AddRows(CXTPReportRecords* records, int depth);
    bool HasFocus() const;
    void DrawRow(CDC* dc, const CXTPReportRow* row);
    void UpdateScrollBar();
    void OnVScroll(UINT code);
    void DrawCell(CDC* dc, const CXTPReportRow* row, CXTPReportColumn* column, CRect rect);
    bool IsSelected(const CXTPReportRecord* record) const;
    void Select(const CXTPReportRecord* record, bool selected);
    void ForgetRecord(const CXTPReportRecord* record);
    friend class CXTPReportRecords;
    friend class CXTPReportRecord;
    void RecordGoing(const CXTPReportRecord* record);

    CXTPReportRecords records_;
    std::vector<std::unique_ptr<CXTPReportColumn>> columns_;
    std::vector<std::unique_ptr<CXTPReportRow>> rows_;
    std::vector<const CXTPReportRecord*> selected_;
    const CXTPReportRecord* focused_ = nullptr;
    int focusFallback_ = -1;
    CXTPReportColumn* sortColumn_ = nullptr;
    std::unique_ptr<CXTPImageManager> images_;
    std::unique_ptr<CXTPReportPaintManager> paint_ = std::make_unique<CXTPReportPaintManager>();
    int rowHeight_ = 20;
    int topRow_ = 0;
    int indent_ = 16;
    bool header_ = true;
    int updates_ = 0;
    int populateCount_ = 0;
    bool allowEdit_ = true;
    bool dragDrop_ = false;
    bool editing_ = false;
    XTP_REPORTRECORDITEM_ARGS editArgs_;
    const CXTPReportRecord* editRecord_ = nullptr;
    int editItemIndex_ = -1;
    CWnd* edit_ = nullptr;
    // A button pressed and not yet let go.
    const CXTPReportRecord* pressedRecord_ = nullptr;
    int pressedColumn_ = -1;
    int pressedButton_ = -1;
    CPoint dragStart_;
    bool dragArmed_ = false;
    DropTarget* dropTarget_ = nullptr;
};

DV_EXPORTS_END
