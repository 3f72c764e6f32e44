// The report control's window: rows made from records, painting, hit tests, selection, mouse
// and keys, the in-place edit and drag and drop.
#include "xtp/ReportControl.h"

#include "afx/oledata.h"
#include "xtp/ImageManager.h"
#include "xtp/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPReportControl, CWnd)

namespace {

constexpr int kIconSide = 16;
constexpr int kCellPad = 3;
constexpr int kDragDistance = 4;

LPCWSTR reportWindowClass() {
    static const wchar_t* const name = L"DvReportControl";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(nullptr, name, &wc))
        return name;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
    return name;
}

DWORD currentKeyState() {
    DWORD state = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        state |= MK_CONTROL;
    if (::GetKeyState(VK_SHIFT) < 0)
        state |= MK_SHIFT;
    return state;
}

// The edit window over a cell: Enter takes the text, Esc drops it, and leaving it takes it.
class InplaceEdit : public CEdit {
public:
    explicit InplaceEdit(CXTPReportControl* owner) : owner_(owner) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
            owner_->EndEdit(wParam == VK_RETURN);
            return 0;
        }
        if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE))
            return 0;
        if (message == WM_KILLFOCUS && owner_->GetInplaceEdit() == this && IsWindowVisible()) {
            const LRESULT r = CEdit::WindowProc(message, wParam, lParam);
            owner_->EndEdit(TRUE);
            return r;
        }
        return CEdit::WindowProc(message, wParam, lParam);
    }

private:
    CXTPReportControl* owner_;
};

} // namespace

class CXTPReportControl::DropTarget : public COleDropTarget {
public:
    explicit DropTarget(CXTPReportControl* owner) : owner_(owner) {}
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override {
        return owner_->OnDragOver(data, keyState, point, 0);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override {
        return owner_->OnDragOver(data, keyState, point, 2);
    }
    void OnDragLeave(CWnd*) override { owner_->OnDragOver(nullptr, 0, CPoint(-1, -1), 1); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
        return owner_->OnDrop(data, effect, point);
    }

private:
    CXTPReportControl* owner_;
};

// No row batch keeps data beyond its rows: rows are plain objects made by each Populate.
void CXTPReportControl::FreeRowBatchExtraData() {}

CXTPReportControl::CXTPReportControl() {
    records_.control_ = this;
}

CXTPReportControl::~CXTPReportControl() {
    HideInplaceEdit();
    rows_.clear();
    records_.RemoveAll();
    if (dropTarget_ != nullptr) {
        dropTarget_->Revoke();
        delete dropTarget_;
    }
    delete edit_;
}

BOOL CXTPReportControl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(reportWindowClass(), nullptr, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id);
}

CXTPReportColumn* CXTPReportControl::AddColumn(CXTPReportColumn* column) {
    if (column == nullptr)
        return nullptr;
    column->control_ = this;
    if (columns_.empty())
        column->tree_ = true;
    columns_.emplace_back(column);
    OnColumnsChanged();
    return column;
}

CXTPReportColumn* CXTPReportControl::GetColumn(int index) const {
    return index >= 0 && index < GetColumnCount() ? columns_[static_cast<size_t>(index)].get() : nullptr;
}

CXTPReportColumn* CXTPReportControl::FindColumn(LPCWSTR internalName) const {
    for (const auto& c : columns_)
        if (c->GetInternalName() == internalName)
            return c.get();
    return nullptr;
}

CXTPReportColumn* CXTPReportControl::FindColumnByItemIndex(int itemIndex) const {
    for (const auto& c : columns_)
        if (c->GetItemIndex() == itemIndex)
            return c.get();
    return nullptr;
}

int CXTPReportControl::GetVisibleColumnCount() const {
    return static_cast<int>(
        std::count_if(columns_.begin(), columns_.end(), [](const auto& c) { return c->IsVisible(); }));
}

void CXTPReportControl::SetSortColumn(CXTPReportColumn* column, BOOL increasing) {
    sortColumn_ = column;
    if (column != nullptr)
        column->SetSortIncreasing(increasing);
}

void CXTPReportControl::ResetContent() {
    HideInplaceEdit();
    rows_.clear();
    records_.RemoveAll();
    selected_.clear();
    focused_ = nullptr;
}

void CXTPReportControl::AddRows(CXTPReportRecords* records, int depth) {
    std::vector<CXTPReportRecord*> level;
    for (int i = 0; i < records->GetCount(); ++i)
        if (CXTPReportRecord* r = records->GetAt(i); r->IsVisible())
            level.push_back(r);
    if (sortColumn_ != nullptr && sortColumn_->IsSortable()) {
        CXTPReportColumn* column = sortColumn_;
        const bool increasing = column->IsSortedIncreasing();
        std::stable_sort(level.begin(), level.end(), [&](CXTPReportRecord* a, CXTPReportRecord* b) {
            CXTPReportRecordItem* ia = a->GetItem(column);
            CXTPReportRecordItem* ib = b->GetItem(column);
            if (ia == nullptr || ib == nullptr)
                return false;
            const int c = ia->Compare(column, ib);
            return increasing ? c < 0 : c > 0;
        });
    }
    for (CXTPReportRecord* r : level) {
        auto row = std::make_unique<CXTPReportRow>();
        row->control_ = this;
        row->record_ = r;
        row->depth_ = depth;
        row->index_ = static_cast<int>(rows_.size());
        rows_.push_back(std::move(row));
        if (r->IsExpanded())
            AddRows(r->GetChilds(), depth + 1);
    }
}

void CXTPReportControl::Populate() {
    ++populateCount_;
    rows_.clear();
    AddRows(&records_, 0);
    if (focused_ != nullptr && FindRow(focused_) == nullptr) {
        focused_ = nullptr;
        if (focusFallback_ >= 0 && focusFallback_ < GetRowCount())
            focused_ = rows_[static_cast<size_t>(focusFallback_)]->GetRecord();
    }
    focusFallback_ = -1;
    // Rows that went may leave the view past the last row.
    topRow_ = std::clamp(topRow_, 0, std::max(0, GetRowCount() - GetVisibleRowsCount()));
    UpdateScrollBar();
    if (updates_ == 0 && GetSafeHwnd() != nullptr)
        Invalidate();
}

CXTPReportRow* CXTPReportControl::GetRow(int index) const {
    return index >= 0 && index < GetRowCount() ? rows_[static_cast<size_t>(index)].get() : nullptr;
}

CXTPReportRow* CXTPReportControl::FindRow(const CXTPReportRecord* record) const {
    for (const auto& r : rows_)
        if (r->record_ == record)
            return r.get();
    return nullptr;
}

void CXTPReportControl::BeginUpdate() {
    ++updates_;
}

void CXTPReportControl::EndUpdate() {
    if (updates_ == 0)
        return;
    if (--updates_ == 0 && GetSafeHwnd() != nullptr)
        Invalidate();
}

bool CXTPReportControl::IsSelected(const CXTPReportRecord* record) const {
    return std::find(selected_.begin(), selected_.end(), record) != selected_.end();
}

void CXTPReportControl::Select(const CXTPReportRecord* record, bool selected) {
    if (selected && !IsSelected(record))
        selected_.push_back(record);
    else if (!selected)
        std::erase(selected_, record);
}

std::vector<CXTPReportRow*> CXTPReportControl::GetSelectedRows() const {
    std::vector<CXTPReportRow*> out;
    for (const auto& r : rows_)
        if (IsSelected(r->record_))
            out.push_back(r.get());
    return out;
}

void CXTPReportControl::SelectRow(CXTPReportRow* row, BOOL add) {
    if (!add)
        selected_.clear();
    if (row != nullptr) {
        Select(row->record_, true);
        focused_ = row->record_;
    }
    if (GetSafeHwnd() != nullptr)
        Invalidate();
    OnSelectionChanged();
}

void CXTPReportControl::ClearSelection() {
    selected_.clear();
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

CXTPReportRow* CXTPReportControl::GetFocusedRow() const {
    return focused_ ? FindRow(focused_) : nullptr;
}

void CXTPReportControl::SetFocusedRow(CXTPReportRow* row) {
    focused_ = row ? row->record_ : nullptr;
    if (row != nullptr && !IsSelected(row->record_)) {
        selected_.assign(1, row->record_);
        OnSelectionChanged();
    }
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CXTPReportControl::RecordGoing(const CXTPReportRecord* record) {
    std::erase(selected_, record);
    if (focused_ == record)
        focused_ = nullptr;
    if (pressedRecord_ == record)
        pressedRecord_ = nullptr;
    if (editing_ && editRecord_ == record)
        HideInplaceEdit();
    // The row goes with its record, so that nothing paints or hits a record that is gone.
    auto it = std::find_if(rows_.begin(), rows_.end(), [&](const auto& r) { return r->record_ == record; });
    if (it != rows_.end()) {
        rows_.erase(it);
        for (size_t i = 0; i < rows_.size(); ++i)
            rows_[i]->index_ = static_cast<int>(i);
    }
}

void CXTPReportControl::ShowHeader(BOOL show) {
    header_ = show != FALSE;
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

CRect CXTPReportControl::GetColumnRect(CXTPReportColumn* column) const {
    int x = 0;
    CRect client;
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&client);
    for (const auto& c : columns_) {
        if (!c->IsVisible())
            continue;
        if (c.get() == column)
            return CRect(x, 0, x + c->GetWidth(), std::max<int>(client.bottom, GetHeaderHeight()));
        x += c->GetWidth();
    }
    return CRect();
}

CXTPReportRow* CXTPReportControl::HitTest(CPoint point) const {
    if (point.y < GetHeaderHeight() || point.x < 0)
        return nullptr;
    const int index = topRow_ + (point.y - GetHeaderHeight()) / rowHeight_;
    return GetRow(index);
}

int CXTPReportControl::GetVisibleRowsCount() const {
    CRect client;
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&client);
    return std::max(1, (client.Height() - GetHeaderHeight()) / rowHeight_);
}

void CXTPReportControl::SetTopRowIndex(int index) {
    const int top = std::clamp(index, 0, std::max(0, GetRowCount() - GetVisibleRowsCount()));
    if (top == topRow_) {
        UpdateScrollBar();
        return;
    }
    // An edit box would be left over another row's cell.
    HideInplaceEdit();
    topRow_ = top;
    UpdateScrollBar();
    if (GetSafeHwnd() != nullptr && updates_ == 0)
        Invalidate();
}

void CXTPReportControl::EnsureVisible(const CXTPReportRow* row) {
    if (row == nullptr)
        return;
    if (row->index_ < topRow_)
        SetTopRowIndex(row->index_);
    else if (row->index_ >= topRow_ + GetVisibleRowsCount())
        SetTopRowIndex(row->index_ - GetVisibleRowsCount() + 1);
}

void CXTPReportControl::UpdateScrollBar() {
    if (GetSafeHwnd() == nullptr)
        return;
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, GetRowCount() - 1),
                    static_cast<UINT>(GetVisibleRowsCount()),
                    topRow_,
                    0};
    ::SetScrollInfo(GetSafeHwnd(), SB_VERT, &info, TRUE);
}

void CXTPReportControl::OnVScroll(UINT code) {
    const int page = GetVisibleRowsCount();
    switch (code) {
    case SB_LINEUP:
        SetTopRowIndex(topRow_ - 1);
        break;
    case SB_LINEDOWN:
        SetTopRowIndex(topRow_ + 1);
        break;
    case SB_PAGEUP:
        SetTopRowIndex(topRow_ - page);
        break;
    case SB_PAGEDOWN:
        SetTopRowIndex(topRow_ + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(GetSafeHwnd(), SB_VERT, &info);
        SetTopRowIndex(info.nTrackPos);
        break;
    }
    case SB_TOP:
        SetTopRowIndex(0);
        break;
    case SB_BOTTOM:
        SetTopRowIndex(GetRowCount());
        break;
    default:
        break;
    }
}

CXTPReportColumn* CXTPReportControl::HitTestHeader(CPoint point) const {
    if (!header_ || point.y < 0 || point.y >= GetHeaderHeight())
        return nullptr;
    for (const auto& c : columns_) {
        const CRect r = GetColumnRect(c.get());
        if (c->IsVisible() && point.x >= r.left && point.x < r.right)
            return c.get();
    }
    return nullptr;
}

CRect CXTPReportControl::GetItemRect(const CXTPReportRow* row, CXTPReportColumn* column) const {
    if (row == nullptr || column == nullptr || !column->IsVisible())
        return CRect();
    const CRect c = GetColumnRect(column);
    const int top = GetHeaderHeight() + (row->index_ - topRow_) * rowHeight_;
    CRect r(c.left, top, c.right, top + rowHeight_);
    if (column->IsTreeColumn())
        r.left += (row->depth_ + 1) * indent_;
    return r;
}

CRect CXTPReportControl::GetExpandButtonRect(const CXTPReportRow* row) const {
    for (const auto& c : columns_) {
        if (!c->IsVisible() || !c->IsTreeColumn())
            continue;
        if (row == nullptr || !row->record_->HasChildren())
            return CRect();
        const CRect item = GetItemRect(row, c.get());
        const int left = item.left - indent_ + (indent_ - 9) / 2;
        const int top = item.top + (rowHeight_ - 9) / 2;
        return CRect(left, top, left + 9, top + 9);
    }
    return CRect();
}

CRect CXTPReportControl::GetButtonRect(const CXTPReportRow* row, CXTPReportColumn* column, int button) const {
    CXTPReportRecordItem* item = row ? row->record_->GetItem(column) : nullptr;
    if (item == nullptr || button < 0 || button >= item->GetButtonCount())
        return CRect();
    CRect cell = GetItemRect(row, column);
    int right = cell.right - 1;
    for (int i = item->GetButtonCount() - 1; i >= 0; --i) {
        const CSize size = item->GetButton(i)->GetSize();
        const int top = cell.top + (cell.Height() - size.cy) / 2;
        const CRect r(right - size.cx, top, right, top + size.cy);
        if (i == button)
            return r;
        right -= size.cx;
    }
    return CRect();
}

void CXTPReportControl::SetImageManager(CXTPImageManager* manager) {
    images_.reset(manager);
}

void CXTPReportControl::SetPaintManager(CXTPReportPaintManager* manager) {
    paint_.reset(manager != nullptr ? manager : new CXTPReportPaintManager);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

BOOL CXTPReportControl::EditItem(XTP_REPORTRECORDITEM_ARGS* args) {
    if (args == nullptr || args->pItem == nullptr || args->pRow == nullptr || !allowEdit_ ||
        !args->pItem->IsEditable() || GetSafeHwnd() == nullptr)
        return FALSE;
    CXTPReportColumn* column = args->pColumn;
    if (column == nullptr)
        column = FindColumnByItemIndex(args->pItem->GetIndex());
    if (column == nullptr || !column->IsVisible())
        return FALSE;
    HideInplaceEdit();
    editArgs_ = *args;
    editArgs_.pControl = this;
    editArgs_.pColumn = column;
    editArgs_.rcItem = GetItemRect(args->pRow, column);
    editRecord_ = args->pRow->GetRecord();
    editItemIndex_ = args->pItem->GetIndex();
    if (edit_ == nullptr) {
        auto* edit = new InplaceEdit(this);
        if (!edit->Create(WS_CHILD | ES_AUTOHSCROLL, editArgs_.rcItem, this, 1)) {
            delete edit;
            return FALSE;
        }
        edit->SendMessage(
            WM_SETFONT,
            reinterpret_cast<WPARAM>(CXTPPaintManager::Current()->GetRegularFont()->GetSafeHandle()), TRUE);
        edit_ = edit;
    }
    editing_ = true;
    edit_->MoveWindow(&editArgs_.rcItem, FALSE);
    edit_->SetWindowText(args->pItem->GetCaption(column));
    edit_->ShowWindow(SW_SHOW);
    edit_->SetFocus();
    static_cast<CEdit*>(edit_)->SetSel(0, -1);
    return TRUE;
}

CWnd* CXTPReportControl::GetInplaceEdit() const {
    return editing_ ? edit_ : nullptr;
}

void CXTPReportControl::HideInplaceEdit() {
    if (!editing_)
        return;
    editing_ = false;
    if (edit_ != nullptr && edit_->GetSafeHwnd() != nullptr)
        edit_->ShowWindow(SW_HIDE);
}

void CXTPReportControl::EndEdit(BOOL accept) {
    if (!editing_ || edit_ == nullptr)
        return;
    CString text;
    edit_->GetWindowText(text);
    XTP_REPORTRECORDITEM_ARGS args = editArgs_;
    const CXTPReportRecord* record = editRecord_;
    const int itemIndex = editItemIndex_;
    if (!accept) {
        HideInplaceEdit();
        return;
    }
    // The item decides what happens to the window (it may hide it first); a record that left
    // meanwhile hears nothing.
    CXTPReportRow* row = FindRow(record);
    CXTPReportRecordItem* item = row ? row->GetRecord()->GetItem(itemIndex) : nullptr;
    if (item == nullptr) {
        HideInplaceEdit();
        return;
    }
    args.pRow = row;
    args.pItem = item;
    item->OnEditChanged(&args, text);
    HideInplaceEdit();
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
        SetFocus();
    }
}

void CXTPReportControl::EnableDragDrop(BOOL enable) {
    dragDrop_ = enable != FALSE;
    if (!dragDrop_ && dropTarget_ != nullptr) {
        dropTarget_->Revoke();
        delete dropTarget_;
        dropTarget_ = nullptr;
    }
    if (dragDrop_ && dropTarget_ == nullptr && GetSafeHwnd() != nullptr) {
        dropTarget_ = new DropTarget(this);
        if (!dropTarget_->Register(this)) {
            delete dropTarget_;
            dropTarget_ = nullptr;
        }
    }
}

void CXTPReportRow::SetExpanded(BOOL expanded) {
    record_->SetExpanded(expanded);
    control_->OnRowExpanded(this);
}

BOOL CXTPReportRow::IsSelected() const {
    return control_->IsSelected(record_);
}

void CXTPReportRow::SetSelected(BOOL selected) {
    control_->Select(record_, selected != FALSE);
    if (control_->GetSafeHwnd() != nullptr)
        control_->Invalidate();
}

BOOL CXTPReportRow::IsFocused() const {
    return control_->focused_ == record_;
}

CRect CXTPReportRow::GetRect() const {
    CRect client;
    if (control_->GetSafeHwnd() != nullptr)
        control_->GetClientRect(&client);
    const int top = control_->GetHeaderHeight() + (index_ - control_->topRow_) * control_->GetRowHeight();
    return CRect(0, top, std::max<int>(client.right, 0), top + control_->GetRowHeight());
}

CXTPReportRecordItem* CXTPReportRow::HitTest(CPoint point, CRect* itemRect, CXTPReportColumn** column) const {
    for (int i = 0; i < control_->GetColumnCount(); ++i) {
        CXTPReportColumn* c = control_->GetColumn(i);
        if (!c->IsVisible())
            continue;
        const CRect r = control_->GetItemRect(this, c);
        if (r.PtInRect(point)) {
            if (itemRect)
                *itemRect = r;
            if (column)
                *column = c;
            return record_->GetItem(c);
        }
    }
    return nullptr;
}

void CXTPReportControl::OnLButtonDown(UINT flags, CPoint point) {
    SetFocus();
    if (CXTPReportColumn* column = HitTestHeader(point)) {
        OnHeaderClick(column);
        return;
    }
    CXTPReportRow* row = HitTest(point);
    if (row == nullptr)
        return;
    if (GetExpandButtonRect(row).PtInRect(point)) {
        row->SetExpanded(!row->IsExpanded());
        return;
    }
    CRect itemRect;
    CXTPReportColumn* column = nullptr;
    CXTPReportRecordItem* item = row->HitTest(point, &itemRect, &column);
    if (item != nullptr) {
        for (int b = 0; b < item->GetButtonCount(); ++b)
            if (GetButtonRect(row, column, b).PtInRect(point)) {
                pressedRecord_ = row->record_;
                pressedColumn_ = column->GetItemIndex();
                pressedButton_ = b;
                Invalidate();
                return;
            }
    }
    const CXTPReportRecord* record = row->record_;
    if (flags & MK_CONTROL) {
        Select(record, !IsSelected(record));
        focused_ = record;
        Invalidate();
        OnSelectionChanged();
    } else if (!IsSelected(record)) {
        SelectRow(row);
    } else {
        focused_ = record;
    }
    dragStart_ = point;
    dragArmed_ = dragDrop_;
    row = FindRow(record);
    if (row != nullptr && item != nullptr) {
        XTP_REPORTRECORDITEM_CLICKARGS args;
        args.pControl = this;
        args.pRow = row;
        args.pColumn = column;
        args.pItem = item;
        args.rcItem = itemRect;
        args.ptClient = point;
        item->OnClick(&args);
    }
}

void CXTPReportControl::OnLButtonUp(UINT flags, CPoint point) {
    (void)flags;
    dragArmed_ = false;
    if (pressedRecord_ == nullptr)
        return;
    CXTPReportRow* row = FindRow(pressedRecord_);
    CXTPReportColumn* column = FindColumnByItemIndex(pressedColumn_);
    const int button = pressedButton_;
    pressedRecord_ = nullptr;
    Invalidate();
    if (row == nullptr || column == nullptr || !GetButtonRect(row, column, button).PtInRect(point))
        return;
    CXTPReportRecordItem* item = row->record_->GetItem(column);
    XTP_REPORTRECORDITEM_CLICKARGS args;
    args.pControl = this;
    args.pRow = row;
    args.pColumn = column;
    args.pItem = item;
    args.rcItem = GetItemRect(row, column);
    args.ptClient = point;
    item->GetButton(button)->OnLButtonUp(&args);
}

void CXTPReportControl::OnLButtonDblClk(UINT flags, CPoint point) {
    (void)flags;
    CXTPReportRow* row = HitTest(point);
    if (row == nullptr || GetExpandButtonRect(row).PtInRect(point))
        return;
    CRect itemRect;
    CXTPReportColumn* column = nullptr;
    CXTPReportRecordItem* item = row->HitTest(point, &itemRect, &column);
    if (item == nullptr)
        return;
    XTP_REPORTRECORDITEM_CLICKARGS args;
    args.pControl = this;
    args.pRow = row;
    args.pColumn = column;
    args.pItem = item;
    args.rcItem = itemRect;
    args.ptClient = point;
    item->OnDblClick(&args);
}

void CXTPReportControl::OnKeyDown(UINT key) {
    CXTPReportRow* focused = GetFocusedRow();
    const int index = focused ? focused->GetIndex() : -1;
    switch (key) {
    case VK_DOWN:
        if (CXTPReportRow* next = GetRow(index + 1)) {
            SelectRow(next);
            EnsureVisible(next);
        }
        break;
    case VK_UP:
        if (CXTPReportRow* prev = GetRow(index - 1)) {
            SelectRow(prev);
            EnsureVisible(prev);
        }
        break;
    case VK_RIGHT:
        if (focused && focused->GetRecord()->HasChildren() && !focused->IsExpanded())
            focused->SetExpanded(TRUE);
        break;
    case VK_LEFT:
        if (focused && focused->IsExpanded())
            focused->SetExpanded(FALSE);
        break;
    default:
        break;
    }
}

void CXTPReportControl::DrawCell(CDC* dc, const CXTPReportRow* row, CXTPReportColumn* column, CRect rect) {
    CXTPReportRecordItem* item = row->record_->GetItem(column);
    if (item == nullptr)
        return;
    rect.DeflateRect(kCellPad, 0);
    const int icon = item->GetIconIndex();
    if (icon != -1 && images_ != nullptr) {
        if (CXTPImageManagerIcon* image = images_->GetImage(static_cast<UINT>(icon), kIconSide)) {
            image->Draw(dc, CPoint(rect.left, rect.top + (rect.Height() - kIconSide) / 2),
                        CSize(kIconSide, kIconSide));
            rect.left += kIconSide + kCellPad;
        }
    }
    // Buttons sit at the right; the text keeps clear of them.
    for (int b = 0; b < item->GetButtonCount(); ++b) {
        CRect r = GetButtonRect(row, column, b);
        const bool pressed =
            pressedRecord_ == row->record_ && pressedColumn_ == column->GetItemIndex() && pressedButton_ == b;
        paint_->DrawItemButton(dc, item->GetButton(b), r, pressed);
        rect.right = std::min<int>(rect.right, r.left - 1);
    }
    const CString text = item->GetCaption(column);
    if (text.IsEmpty())
        return;
    const COLORREF colour = item->GetTextColor();
    const bool selected = IsSelected(row->record_);
    const COLORREF plain = !selected    ? paint_->m_clrWindowText
                           : HasFocus() ? paint_->m_clrHighlightText
                                        : paint_->m_clrSelectedRowText;
    dc->SetTextColor(colour != CLR_DEFAULT ? colour : plain);
    dc->DrawText(text, text.GetLength(), &rect,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CXTPReportControl::DrawRow(CDC* dc, const CXTPReportRow* row) {
    const CRect line = row->GetRect();
    // A control without the focus shows its selection quietly, as lists do.
    if (IsSelected(row->record_))
        dc->FillSolidRect(&line, HasFocus() ? paint_->m_clrHighlight : paint_->m_clrSelectedRow);
    for (const auto& c : columns_) {
        if (!c->IsVisible())
            continue;
        CRect cell = GetItemRect(row, c.get());
        DrawCell(dc, row, c.get(), cell);
        if (paint_->GetGridStyle(TRUE) == xtpReportGridSolid)
            dc->FillSolidRect(cell.right - 1, line.top, 1, line.Height(), paint_->m_clrGridLine);
    }
    if (paint_->GetGridStyle(FALSE) == xtpReportGridSolid)
        dc->FillSolidRect(line.left, line.bottom - 1, line.Width(), 1, paint_->m_clrGridLine);
    const CRect button = GetExpandButtonRect(row);
    if (!button.IsRectEmpty()) {
        const COLORREF ink = paint_->m_clrWindowText;
        dc->FillSolidRect(&button, paint_->m_clrControlBack);
        dc->Draw3dRect(&button, ink, ink);
        const int mid = button.top + button.Height() / 2;
        dc->FillSolidRect(button.left + 2, mid, button.Width() - 4, 1, ink);
        if (!row->IsExpanded())
            dc->FillSolidRect(button.left + button.Width() / 2, button.top + 2, 1, button.Height() - 4, ink);
    }
    if (row->IsFocused() && HasFocus())
        dc->DrawFocusRect(&line);
}

bool CXTPReportControl::HasFocus() const {
    const HWND focus = ::GetFocus();
    return focus != nullptr &&
           (focus == GetSafeHwnd() || (edit_ != nullptr && focus == edit_->GetSafeHwnd()));
}

void CXTPReportControl::Paint(CDC* dc) {
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, paint_->m_clrControlBack);
    CFont* old = dc->SelectObject(pm->GetRegularFont());
    dc->SetBkMode(TRANSPARENT);
    if (header_) {
        for (const auto& c : columns_) {
            if (!c->IsVisible())
                continue;
            CRect r = GetColumnRect(c.get());
            r.bottom = GetHeaderHeight();
            dc->FillSolidRect(&r, paint_->m_clrHeaderFace);
            if (paint_->m_bRaisedHeader)
                dc->Draw3dRect(&r, RGB(255, 255, 255), paint_->m_clrHeaderBorder);
            else
                dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), paint_->m_clrHeaderBorder);
            dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, paint_->m_clrHeaderBorder);
            CRect text = r;
            text.DeflateRect(kCellPad + 1, 0);
            if (c->GetHeaderIconId() >= 0 && images_ != nullptr)
                if (CXTPImageManagerIcon* image =
                        images_->GetImage(static_cast<UINT>(c->GetHeaderIconId()), kIconSide)) {
                    image->Draw(dc, CPoint(text.left, text.top + (text.Height() - kIconSide) / 2),
                                CSize(kIconSide, kIconSide));
                    text.left += kIconSide + kCellPad;
                }
            dc->SetTextColor(paint_->m_clrHeaderText);
            const CString caption = c->GetCaption();
            dc->DrawText(caption, caption.GetLength(), &text,
                         DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    // Only the rows in view: a library of thousands of drawings costs what a screenful does.
    for (int i = topRow_; i < GetRowCount(); ++i) {
        const CXTPReportRow* row = rows_[static_cast<size_t>(i)].get();
        if (row->GetRect().top >= client.bottom)
            break;
        DrawRow(dc, row);
    }
    dc->SelectObject(old);
}

LRESULT CXTPReportControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(this);
        if (updates_ == 0)
            Paint(&dc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_CREATE: {
        const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        if (dragDrop_)
            EnableDragDrop(TRUE);
        return r;
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), point);
        return 0;
    case WM_MOUSEMOVE:
        if (dragArmed_ && (wParam & MK_LBUTTON) &&
            (std::abs(point.x - dragStart_.x) > kDragDistance ||
             std::abs(point.y - dragStart_.y) > kDragDistance)) {
            dragArmed_ = false;
            OnBeginDrag(dragStart_, static_cast<DWORD>(wParam) | currentKeyState());
        }
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        SetTopRowIndex(topRow_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
        return 0;
    case WM_SIZE:
        SetTopRowIndex(topRow_);
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(point);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The selection's colour follows the focus.
        Invalidate();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
