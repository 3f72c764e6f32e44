// Records, their items and the record collections of the report control.
#include "xtp/ReportControl.h"

#include <algorithm>

CXTPReportRecordItem::~CXTPReportRecordItem() = default;

CXTPReportRecordItemButton* CXTPReportRecordItem::AddButton(CXTPReportRecordItemButton* button) {
    if (button == nullptr)
        return nullptr;
    button->item_ = this;
    buttons_.emplace_back(button);
    return button;
}

CXTPReportRecordItemButton* CXTPReportRecordItem::GetButton(int index) const {
    return index >= 0 && index < GetButtonCount() ? buttons_[static_cast<size_t>(index)].get() : nullptr;
}

int CXTPReportRecordItem::GetIndex() const {
    return record_ ? record_->IndexOf(this) : -1;
}

int CXTPReportRecordItem::Compare(CXTPReportColumn* column, CXTPReportRecordItem* other) {
    if (other == nullptr)
        return 0;
    if (sortPriority_ != other->sortPriority_)
        return sortPriority_ - other->sortPriority_;
    const CXTPReportRecords* records = record_ ? record_->GetRecords() : nullptr;
    const CString a = GetCaption(column);
    const CString b = other->GetCaption(column);
    return records ? records->Compare(a, b) : a.CompareNoCase(b);
}

void CXTPReportRecordItem::OnDblClick(XTP_REPORTRECORDITEM_CLICKARGS* args) {
    if (args && args->pControl && editable_)
        args->pControl->EditItem(args);
}

void CXTPReportRecordItem::OnEditChanged(XTP_REPORTRECORDITEM_ARGS* args, LPCWSTR text) {
    (void)args;
    SetCaption(text);
}

CXTPReportRecords::~CXTPReportRecords() {
    RemoveAll();
}

CXTPReportRecord* CXTPReportRecords::GetAt(int index) const {
    return index >= 0 && index < GetCount() ? records_[static_cast<size_t>(index)].get() : nullptr;
}

CXTPReportRecord* CXTPReportRecords::Add(CXTPReportRecord* record) {
    if (record == nullptr)
        return nullptr;
    record->holder_ = this;
    records_.emplace_back(record);
    return record;
}

bool CXTPReportRecords::RemoveRecord(CXTPReportRecord* record) {
    auto it =
        std::find_if(records_.begin(), records_.end(), [&](const auto& r) { return r.get() == record; });
    if (it == records_.end())
        return false;
    // Out of the list first, so that the record's own going finds a consistent collection.
    std::unique_ptr<CXTPReportRecord> going = std::move(*it);
    records_.erase(it);
    going.reset();
    return true;
}

void CXTPReportRecords::RemoveAll() {
    while (!records_.empty()) {
        std::unique_ptr<CXTPReportRecord> going = std::move(records_.back());
        records_.pop_back();
        going.reset();
    }
}

CXTPReportControl* CXTPReportRecords::GetControl() const {
    if (owner_ != nullptr)
        return owner_->GetControl();
    return control_;
}

int CXTPReportRecords::Compare(const CString& a, const CString& b) const {
    return caseSensitive_ ? a.Compare(b) : a.CompareNoCase(b);
}

CXTPReportRecord::CXTPReportRecord() : children_(this) {}

CXTPReportRecord::~CXTPReportRecord() {
    children_.RemoveAll();
    if (CXTPReportControl* control = GetControl())
        control->RecordGoing(this);
}

CXTPReportRecordItem* CXTPReportRecord::AddItem(CXTPReportRecordItem* item) {
    if (item == nullptr)
        return nullptr;
    item->record_ = this;
    items_.emplace_back(item);
    return item;
}

CXTPReportRecordItem* CXTPReportRecord::GetItem(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

CXTPReportRecordItem* CXTPReportRecord::GetItem(CXTPReportColumn* column) const {
    return column ? GetItem(column->GetItemIndex()) : nullptr;
}

int CXTPReportRecord::IndexOf(const CXTPReportRecordItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void CXTPReportRecord::Delete() {
    if (holder_ != nullptr)
        holder_->RemoveRecord(this);
}

CXTPReportColumn::CXTPReportColumn(int itemIndex, LPCWSTR caption, int width, BOOL autoSize, int iconId,
                                   BOOL sortable, BOOL visible)
    : itemIndex_(itemIndex), caption_(caption), width_(width), visible_(visible != FALSE),
      sortable_(sortable != FALSE), headerIcon_(iconId) {
    (void)autoSize;
}

void CXTPReportColumn::SetVisible(BOOL visible) {
    if (visible_ == (visible != FALSE))
        return;
    visible_ = visible != FALSE;
    if (control_ != nullptr)
        control_->OnColumnsChanged();
}
