#include "docbrowser/Record.h"

#include "docbrowser/DocumentsMenuDlg.h"

#include "DVTextCore/SearchableText.h"

namespace DocumentsMenu {

void Record::Expand(bool expand) {
    if (expand && !childrenPopulated_)
        UpdateChildren(std::wstring());
    SetExpanded(expand);
}

void Record::AddPlaceholderChild() {
    GetChilds()->Add(new CXTPReportRecord);
}

void Record::GreyItems() {
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    for (int i = 0; i < GetItemCount(); ++i)
        GetItem(i)->SetTextColor(grey);
}

void Record::Repopulate() {
    if (CXTPReportControl* control = GetControl())
        control->Populate();
}

void Record::BeginEdit(int itemIndex) {
    CXTPReportControl* control = GetControl();
    CXTPReportRow* row = control ? control->FindRow(this) : nullptr;
    if (row == nullptr)
        return;
    XTP_REPORTRECORDITEM_ARGS args;
    args.pControl = control;
    args.pRow = row;
    args.pItem = GetItem(itemIndex);
    control->EditItem(&args);
}

Record* Record::AppendChild(Record* child, bool excluded) {
    GetChilds()->Add(child);
    child->Init();
    if (excluded)
        child->GreyItems();
    return child;
}

StructureBase::StructureBase(DocumentsMenuDlg* owner)
    : Dravik::UI::ReportControl(nullptr, true), owner_(owner) {}

bool StructureBase::IsShowHidden() const {
    return owner_ != nullptr && owner_->IsShowHidden();
}

void StructureBase::UpdateVisibleColumnIcon() {
    CXTPReportColumn* visible = FindColumn(L"Visible");
    if (visible == nullptr)
        return;
    if (IsShowHidden())
        visible->SetHeaderIconId(40753);
    else
        visible->SetHeaderIconId(owner_ != nullptr && owner_->HasHiddenItems() ? 40823 : 40754);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void StructureBase::OnRowExpanded(CXTPReportRow* row) {
    const CXTPReportRecord* record = row->GetRecord();
    if (auto* r = dynamic_cast<Record*>(row->GetRecord()))
        r->Expand(r->IsExpanded() != FALSE);
    if (CXTPReportRow* again = FindRow(record); again != nullptr && !again->IsFocused())
        SetFocusedRow(again);
    Populate();
}

void StructureBase::OnKeyDown(UINT key) {
    if (CXTPReportRow* focused = GetFocusedRow())
        if (auto* r = dynamic_cast<Record*>(focused->GetRecord()))
            r->OnKeyPressed(key);
    ReportControl::OnKeyDown(key);
}

DocumentsMenuDlg* GetOwnerDialog(const CXTPReportRecord* record) {
    auto* structure = dynamic_cast<StructureBase*>(record ? record->GetControl() : nullptr);
    return structure ? structure->GetOwnerPanel() : nullptr;
}

bool MatchesSearch(const std::wstring& text, const std::wstring& filter) {
    return Dravik::GetSearchableEquivalent(text).find(filter) != std::wstring::npos;
}

std::vector<Record*> SelectedRecords(const CXTPReportControl* control) {
    std::vector<Record*> out;
    if (control == nullptr)
        return out;
    for (CXTPReportRow* row : control->GetSelectedRows())
        if (auto* r = dynamic_cast<Record*>(row->GetRecord()))
            out.push_back(r);
    return out;
}

} // namespace DocumentsMenu
