// The editor of a configuration's alternative names: a grid of name and alternative name,
// typed, pasted from a spreadsheet (lines of "name;alternative") or deleted by rows. The grid
// is a copy; only OK with a change hands it to the configuration.
#pragma once

#include "DravikKernel/DocumentsMenu.h"
#include "DravikUI/ReportControl.h"

#include "pal/visibility.h"
#include "xtp/ResizeDialog.h"

#include <string>

DV_EXPORTS_BEGIN

class CXTPPopupBar;

namespace DocumentsMenu {

class DocumentNamesEditor;

// The grid: every row two editable texts, the last one left for a new pair.
class NamesTable : public Dravik::UI::ReportControl {
public:
    static constexpr UINT kId = 3;
    explicit NamesTable(DocumentNamesEditor* editor);
    // A row of the pair.
    CXTPReportRecord* AddRow(const std::wstring& name, const std::wstring& alterName);
    std::wstring GetName(int row) const;
    std::wstring GetAlterName(int row) const;
    void SetRow(int row, const std::wstring& name, const std::wstring& alterName);
    int GetRecordCount() { return GetRecords()->GetCount(); }
    // The last row has both texts (so a new empty one is due).
    bool LastRowIsFull();
    // A cell's edit ended with its text.
    void OnValueChanged();

protected:
    // Delete removes the selected rows; Ctrl+V pastes.
    void OnKeyDown(UINT key) override;
    void OnContextMenu(CPoint screen) override;

private:
    DocumentNamesEditor* editor_;
};

class DocumentNamesEditor : public CXTPResizeDialog {
public:
    static constexpr UINT kTemplateId = 885;
    explicit DocumentNamesEditor(IConfiguration* configuration);

    NamesTable& GetTable() { return table_; }
    bool IsModified() const { return modified_; }
    BOOL OnInitDialog() override;
    // With a change, the configuration's names become the grid's rows, in order.
    void OnOK() override;

    // The clipboard's Unicode text: each line "name;alternative" ended by a line feed fills the
    // trailing empty rows first, then new ones.
    void Paste();
    // The text itself (what Paste reads from the clipboard).
    void PasteText(const wchar_t* text, std::size_t length);
    void DeleteSelectedRows();
    void OnCellEdited();
    // The grid's menu: Paste.
    void BuildContextMenu(CXTPPopupBar* popup);
    void ShowContextMenu(CPoint screen);

protected:
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnPasteMessage(WPARAM, LPARAM);
    void OnContextMenu(CWnd* window, CPoint screen);
    DECLARE_MESSAGE_MAP()

private:
    IConfiguration* configuration_;
    NamesTable table_;
    bool modified_ = false;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
