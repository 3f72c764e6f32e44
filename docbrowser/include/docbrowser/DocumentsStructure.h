// The browser's structure: a tree of the open configurations or a flat list of all their
// libraries, both report controls over the records, kept in step with the configurations group.
#pragma once

#include "docbrowser/Record.h"

#include "DravikKernel/DocumentsMenu.h"

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBars;
class CXTPPopupBar;
class CXTPPropExchange;

namespace DocumentsMenu {

class DocumentsMenuDlg;

// What both views share beyond the rows' protocol: the fill by filter, the hidden rows, the
// columns, the routing of selection to the preview and the model's notifications.
class StructureView : public StructureBase, public IConfigurationsGroup::IClient {
public:
    explicit StructureView(DocumentsMenuDlg* owner);
    ~StructureView() override;

    // Rebuilds the top rows from the model; the filter is already in searchable form.
    virtual void Fill(const std::wstring& filter) = 0;
    virtual void CreateColumns() = 0;
    // Shows or hides every record that answers hidden, through all children.
    void SetHiddenRecordsVisible(bool visible);
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The name column takes the width the other shown columns leave, at least its own 100.
    void FitNameColumn(int width);

    void OnConfigurationAdded(IConfigurationsGroup*, IConfiguration*) override;
    void OnConfigurationRemoved(IConfigurationsGroup*, IConfiguration*) override;

    // The look of a report theme code (4, 8, 11, else the classic one); the same look again is
    // only refreshed. Rows show no grid lines in any look.
    void SetTheme(int code, int second);
    // The menu of the selected rows, then the configurations, the view, the preview and the two
    // switches; `screen` picks the row whose menu serves a selection.
    void BuildContextMenu(CXTPPopupBar* popup, CPoint screen, CXTPCommandBars* commandBars);
    // The popup "Library configurations" with the commands on all of them.
    void AddConfigurationsMenu(CXTPPopupBar* popup, CXTPCommandBars* commandBars);

protected:
    // A column of the browser: internal name, cell index, caption key, shown or not.
    struct ColumnRow {
        const wchar_t* name;
        int item;
        const char* captionKey;
        bool visible;
    };
    void AddColumns(const ColumnRow* rows, std::size_t count);
    // The record's common finishing: grey when excluded, expanded as kept, hidden as kept.
    void Place(Record* record, bool excluded, bool expanded, bool hidden, const std::wstring& childFilter);
    void OnSelectionChanged() override;
    void OnColumnsChanged() override;
    void OnHeaderClick(CXTPReportColumn* column) override;
    void OnBeginDrag(CPoint point, DWORD keyState) override;
    // Nothing without a main frame with command bars.
    void OnContextMenu(CPoint screen) override;

public:
    // The row under the mouse that would take the drop becomes the only selected one; rows that
    // refuse the data answer no effect, files included.
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point, int state) override;
    int GetThemeCode() const { return themeCode_; }
    // The first selected record's answer, files included.
    BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    // Rows go; the drag's last row, if it is one of them, is forgotten.
    void ForgetRows();

private:
    int themeCode_ = -1;
    int themeSecond_ = -1;
};

// The row a drag last highlighted, one for the program: its record and view, so that it
// outlives the rows that every fill and expansion makes again.
struct DragRow {
    const StructureView* view = nullptr;
    const CXTPReportRecord* record = nullptr;
};
DragRow& LastDragRow();

class TreeView : public StructureView {
public:
    using StructureView::StructureView;
    void Fill(const std::wstring& filter) override;
    void CreateColumns() override;
};

class LibrariesList : public StructureView {
public:
    using StructureView::StructureView;
    void Fill(const std::wstring& filter) override;
    void CreateColumns() override;
};

class DocumentsStructure : public CWnd {
public:
    explicit DocumentsStructure(DocumentsMenuDlg* owner);
    ~DocumentsStructure() override;

    BOOL Create(CWnd* parent, UINT id);
    // The text as typed; the views are filled with its searchable form, the list first.
    void SetFilter(const std::wstring& text);
    bool SetShowHidden(bool show);
    bool IsShowHidden() const { return showHidden_; }
    bool IsLibrariesListShown() const { return listShown_; }
    // Tree (false) or list (true); the columns of the same name keep their visibility.
    bool ShowLibrariesList(bool list);
    void CollapseAll();
    StructureView& GetShownView() { return listShown_ ? static_cast<StructureView&>(list_) : tree_; }
    TreeView& GetTree() { return tree_; }
    LibrariesList& GetList() { return list_; }
    void SelectLibrariesGroup(ILibrariesGroup* group);
    void SelectLibrary(ILibrary* library);
    // "ShowHidden", then the layouts of the tree and of the list; loading fills both views.
    void DoPropExchange(CXTPPropExchange* pPX);
    // The columns of the shown view (the column chooser's).
    std::vector<CXTPReportColumn*> GetShownColumns();
    // Both views take the look of the report theme code; pictures follow the bars' darkness.
    void SetTheme(int reportTheme);

protected:
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    TreeView tree_;
    LibrariesList list_;
    DocumentsMenuDlg* owner_;
    bool showHidden_ = false;
    bool listShown_ = false;
};

// The document names of the records that are document rows, empty names left out.
void CollectDocumentNames(const std::vector<Record*>& records, std::vector<std::wstring>& names);

} // namespace DocumentsMenu

DV_EXPORTS_END
