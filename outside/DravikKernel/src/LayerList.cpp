#include "DravikKernel/LayerList.h"

#include "DravikKernel/DVDocument.h"
#include "DravikKernel/IconCache.h"
#include "DravikKernel/Objects.h"

namespace {

const wchar_t* const kNewLayerText = L"New layer...";

} // namespace

bool DVLayerList::Create(CWnd* parent, const RECT& rect, UINT id, CLayersDialogController* controller) {
    controller_ = controller;
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS |
                            LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS;
    if (!CListCtrl::Create(style, rect, parent, id))
        return false;
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                   reinterpret_cast<LPARAM>(CIconCache::Instance().GetObjectImageList()));
    CRect client;
    GetClientRect(&client);
    InsertColumn(0, L"Layer", LVCFMT_LEFT, client.Width());
    return true;
}

bool DVLayerList::Load(Dravik::DVDocument* container, const CDVObject* current) {
    if (container == nullptr || m_hWnd == nullptr)
        return false;
    SendMessage(WM_SETREDRAW, FALSE);
    DeleteAllItems();
    ids_.clear();
    const int icon = CIconCache::Instance().ImageIndex(Dravik::kIconLayer);
    int selected = -1;
    for (const Dravik::DVContainerObject* object : container->GetObjects()) {
        if (object->GetTypeCode() != Dravik::kObjectTypeLayer)
            continue;
        const int row = static_cast<int>(ids_.size());
        InsertItem(LVIF_TEXT | LVIF_IMAGE, row, object->name.c_str(), 0, 0, icon, 0);
        ids_.push_back(object->GetId());
        if (object == current)
            selected = row;
    }
    if ((flags_ & 1) != 0) {
        InsertItem(LVIF_TEXT | LVIF_IMAGE, static_cast<int>(ids_.size()), kNewLayerText, 0, 0, I_IMAGENONE,
                   0);
        ids_.push_back(kNewLayerEntry);
    }
    if (selected >= 0) {
        SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(selected, FALSE);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    return true;
}

std::vector<std::int64_t> DVLayerList::GetSelection() const {
    std::vector<std::int64_t> chosen;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        if (row < static_cast<int>(ids_.size()))
            chosen.push_back(ids_[static_cast<size_t>(row)]);
    return chosen;
}

bool DVLayerList::OnParentNotify(const NMHDR* header, LRESULT* result) {
    if (header == nullptr || header->hwndFrom != m_hWnd)
        return false;
    if (header->code == NM_CLICK) {
        const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(header);
        // A click on an entry picks it; one beside the entries picks nothing.
        if (item->iItem >= 0 && controller_ != nullptr)
            controller_->OnLayerPicked();
        *result = 0;
        return true;
    }
    return false;
}

LRESULT DVLayerList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    // The one column fills the list, whatever its width.
    if (message == WM_SIZE && GetHeaderCtrl() != nullptr)
        SetColumnWidth(0, LOWORD(lParam));
    return result;
}
