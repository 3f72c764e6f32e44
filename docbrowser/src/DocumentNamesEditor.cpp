#include "docbrowser/DocumentNamesEditor.h"

#include "DVTextCore/I18n.h"
#include "DravikUI/GlobalMemoryPtr.h"
#include "afx/dialog.h"
#include "afx/oledata.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"
#include "xtp/PopupBar.h"

#include <cwchar>
#include <vector>

namespace DocumentsMenu {

namespace {

// The dialog's own template: its OK and Cancel buttons at the bottom right; the grid is made
// with the window.
const AFX_DLGITEM kNamesEditorItems[] = {
    {L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 106, 176, 50, 14},
    {L"Button", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 161, 176, 50, 14},
};
const AFX_DLGTEMPLATE kNamesEditorTemplates[] = {
    {static_cast<WORD>(DocumentNamesEditor::kTemplateId), L"",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME, 0, 0, 216, 196, kNamesEditorItems,
     std::size(kNamesEditorItems)},
};
AFX_DIALOG_TEMPLATES(kNamesEditorTemplates);

constexpr int kButtonsRoom = 40;

// A cell of the grid: its edit tells the grid.
class NameItem : public CXTPReportRecordItem {
public:
    explicit NameItem(const std::wstring& text) : CXTPReportRecordItem(text.c_str()) {}
    void OnEditChanged(XTP_REPORTRECORDITEM_ARGS* args, LPCWSTR text) override {
        CXTPReportRecordItem::OnEditChanged(args, text);
        if (auto* table = dynamic_cast<NamesTable*>(GetRecord() ? GetRecord()->GetControl() : nullptr))
            table->OnValueChanged();
    }
};

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\v\f\r\n");
    if (first == std::wstring::npos)
        return {};
    const auto last = text.find_last_not_of(L" \t\v\f\r\n");
    return text.substr(first, last - first + 1);
}

// The menu's one entry: the dialog hears the paste message.
class PasteEntry : public CXTPControlButton {
public:
    explicit PasteEntry(CWnd* dialog) : dialog_(dialog) {
        SetCaption(Dravik::I18n::Translate("docs_menu.paste").c_str());
        SetFlags(xtpFlagManualUpdate);
    }
    void OnExecute() override {
        CWnd* dialog = dialog_;
        CXTPControlButton::OnExecute();
        if (dialog->GetSafeHwnd() != nullptr)
            dialog->SendMessage(WM_PASTE);
    }

private:
    CWnd* dialog_;
};

} // namespace

NamesTable::NamesTable(DocumentNamesEditor* editor) : ReportControl(nullptr, false), editor_(editor) {}

CXTPReportRecord* NamesTable::AddRow(const std::wstring& name, const std::wstring& alterName) {
    auto* record = new CXTPReportRecord;
    record->AddItem(new NameItem(name));
    record->AddItem(new NameItem(alterName));
    return AddRecord(record);
}

std::wstring NamesTable::GetName(int row) const {
    CXTPReportRecord* r = const_cast<NamesTable*>(this)->GetRecords()->GetAt(row);
    return r != nullptr ? std::wstring(r->GetItem(0)->GetCaption(nullptr).GetString()) : std::wstring();
}

std::wstring NamesTable::GetAlterName(int row) const {
    CXTPReportRecord* r = const_cast<NamesTable*>(this)->GetRecords()->GetAt(row);
    return r != nullptr ? std::wstring(r->GetItem(1)->GetCaption(nullptr).GetString()) : std::wstring();
}

void NamesTable::SetRow(int row, const std::wstring& name, const std::wstring& alterName) {
    if (CXTPReportRecord* r = GetRecords()->GetAt(row)) {
        r->GetItem(0)->SetCaption(name.c_str());
        r->GetItem(1)->SetCaption(alterName.c_str());
    }
}

bool NamesTable::LastRowIsFull() {
    const int last = GetRecordCount() - 1;
    return last >= 0 && !GetName(last).empty() && !GetAlterName(last).empty();
}

void NamesTable::OnValueChanged() {
    if (editor_ != nullptr)
        editor_->OnCellEdited();
}

void NamesTable::OnKeyDown(UINT key) {
    ReportControl::OnKeyDown(key);
    if (editor_ == nullptr)
        return;
    if (key == VK_DELETE)
        editor_->DeleteSelectedRows();
    else if (key == 'V' && ::GetKeyState(VK_CONTROL) < 0 && editor_->GetSafeHwnd() != nullptr)
        editor_->SendMessage(WM_PASTE);
}

void NamesTable::OnContextMenu(CPoint screen) {
    // The dialog's menu serves the grid.
    if (editor_ != nullptr)
        editor_->ShowContextMenu(screen);
}

BEGIN_MESSAGE_MAP(DocumentNamesEditor, CXTPResizeDialog)
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_PASTE, &DocumentNamesEditor::OnPasteMessage)
END_MESSAGE_MAP()

DocumentNamesEditor::DocumentNamesEditor(IConfiguration* configuration)
    : CXTPResizeDialog(kTemplateId, nullptr), configuration_(configuration), table_(this) {}

BOOL DocumentNamesEditor::OnInitDialog() {
    CXTPResizeDialog::OnInitDialog();
    table_.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, CRect(0, 0, 0, 0), this, NamesTable::kId);
    table_.AllowEdit(TRUE);
    SetResize(IDOK, XTP_ANCHOR_BOTTOMRIGHT, XTP_ANCHOR_BOTTOMRIGHT);
    SetResize(IDCANCEL, XTP_ANCHOR_BOTTOMRIGHT, XTP_ANCHOR_BOTTOMRIGHT);
    struct Column {
        const wchar_t* name;
        int item;
        const char* captionKey;
    };
    for (const Column& c :
         {Column{L"Name", 0, "docs_menu.name"}, Column{L"AlterName", 1, "docs_menu.alter_name"}}) {
        auto* column = table_.AddColumn(new CXTPReportColumn(
            c.item, Dravik::I18n::Translate(c.captionKey).c_str(), 100, TRUE, -1, FALSE));
        column->SetInternalName(c.name);
        column->SetAllowRemove(FALSE);
        column->SetShowInFieldChooser(FALSE);
        column->SetTreeColumn(FALSE); // a flat grid
    }
    if (configuration_ != nullptr)
        for (const std::wstring& alternative : configuration_->GetAlternativeNames())
            table_.AddRow(configuration_->GetNameForAlternative(alternative), alternative);
    table_.AddRow(L"", L"");
    table_.Populate();
    SetWindowText(Dravik::I18n::Translate("docs_menu.alter_names").c_str());
    MoveWindow(0, 0, 400, 400);
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
    return TRUE;
}

void DocumentNamesEditor::OnSize(UINT, int cx, int cy) {
    if (table_.GetSafeHwnd() == nullptr)
        return;
    table_.MoveWindow(0, 0, cx, std::max(0, cy - kButtonsRoom));
    // The two columns share the grid's width (they size themselves to it).
    const int columns = table_.GetColumnCount();
    for (int i = 0; i < columns; ++i)
        table_.GetColumn(i)->SetWidth(std::max(100, (cx - ::GetSystemMetrics(SM_CXVSCROLL)) / columns));
}

void DocumentNamesEditor::OnCellEdited() {
    modified_ = true;
    if (table_.GetRecordCount() > 0 && table_.LastRowIsFull())
        table_.AddRow(L"", L"");
    table_.Populate();
}

void DocumentNamesEditor::DeleteSelectedRows() {
    std::vector<CXTPReportRecord*> going;
    for (CXTPReportRow* row : table_.GetSelectedRows())
        going.push_back(row->GetRecord());
    for (CXTPReportRecord* record : going)
        record->Delete();
    if (table_.GetRecordCount() == 0 || table_.LastRowIsFull())
        table_.AddRow(L"", L"");
    modified_ = true;
    table_.Populate();
}

void DocumentNamesEditor::PasteText(const wchar_t* text, std::size_t length) {
    const int count = table_.GetRecordCount();
    // Only the trailing rows with both cells empty take pasted pairs: a row half typed keeps
    // what was typed.
    int reuse = -1;
    for (int row = count - 1; row >= 0 && table_.GetName(row).empty() && table_.GetAlterName(row).empty();
         --row)
        reuse = row;
    std::wstring line;
    for (std::size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (c == L'\r')
            continue;
        if (c != L'\n') {
            line += c;
            continue;
        }
        // A line without ";" is dropped with its line feed instead of running into the next.
        const auto semicolon = line.find(L';');
        if (semicolon != std::wstring::npos) {
            const std::wstring name = trimmed(line.substr(0, semicolon));
            const std::wstring alterName = trimmed(line.substr(semicolon + 1));
            if (!name.empty() && !alterName.empty()) {
                if (reuse >= 0 && reuse < count)
                    table_.SetRow(reuse++, name, alterName);
                else
                    table_.AddRow(name, alterName);
                modified_ = true;
            }
        }
        line.clear();
    }
    if (modified_ && table_.LastRowIsFull())
        table_.AddRow(L"", L"");
    table_.Populate();
}

void DocumentNamesEditor::Paste() {
    COleDataObject clipboard;
    if (!clipboard.AttachClipboard() || !clipboard.IsDataAvailable(CF_UNICODETEXT))
        return;
    HGLOBAL block = clipboard.GetGlobalData(CF_UNICODETEXT);
    if (block == nullptr)
        return;
    {
        Dravik::GlobalMemoryPtr<wchar_t> text(block);
        if (text)
            PasteText(text.get(), ::wcsnlen(text.get(), text.size()));
    }
    ::GlobalFree(block);
}

LRESULT DocumentNamesEditor::OnPasteMessage(WPARAM, LPARAM) {
    Paste();
    return 0;
}

void DocumentNamesEditor::BuildContextMenu(CXTPPopupBar* popup) {
    popup->GetControls()->Add(new PasteEntry(this));
}

void DocumentNamesEditor::ShowContextMenu(CPoint screen) {
    auto* frame = dynamic_cast<CXTPMDIFrameWnd*>(AfxGetMainWnd());
    CXTPCommandBars* bars = frame != nullptr ? frame->GetCommandBars() : nullptr;
    if (bars == nullptr)
        return;
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(bars);
    BuildContextMenu(popup);
    bars->TrackPopupMenu(popup, 0, screen.x, screen.y);
    popup->InternalRelease();
}

void DocumentNamesEditor::OnContextMenu(CWnd*, CPoint screen) {
    ShowContextMenu(screen);
}

void DocumentNamesEditor::OnOK() {
    if (modified_ && configuration_ != nullptr) {
        for (const std::wstring& alternative : configuration_->GetAlternativeNames())
            configuration_->SetAlternativeName(alternative, L"");
        // Every row goes over, the empty one included: the model sets nothing for it.
        for (int row = 0; row < table_.GetRecordCount(); ++row)
            configuration_->SetAlternativeName(table_.GetAlterName(row), table_.GetName(row));
    }
    CXTPResizeDialog::OnOK();
}

} // namespace DocumentsMenu
