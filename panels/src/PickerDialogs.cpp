#include "panels/PickerDialogs.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/IconCache.h"
#include "DravikKernel/Objects.h"
#include "PickerControl.h"
#include "panels/SysPanelControls.h"

#include <iterator>
#include <set>

namespace {

const AFX_DLGITEM kItems[] = {
    {L"Static", L"", kPickerPlaceholder, SS_LEFT, 0, 0, 120, 100},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {kPickerTemplate, L"", WS_POPUP | WS_BORDER, 0, 0, 120, 100, kItems, std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

// The placeholder's place, one pixel lower, for the list that takes it; the placeholder goes.
CRect takePlaceholder(CWnd& dialog) {
    CRect rect;
    if (CWnd* placeholder = dialog.GetDlgItem(kPickerPlaceholder)) {
        placeholder->GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
        rect.bottom += 1;
        placeholder->DestroyWindow();
    }
    return rect;
}

// The document a drop-down lists: the active one of its control's frame, else of its own.
CDvw32Doc* documentFor(const CXTPControl* owner, CWnd& dialog) {
    if (owner != nullptr)
        if (CDvw32Doc* document = panels::picker::ActiveDocument(*owner))
            return document;
    CFrameWnd* own = dialog.GetParentFrame();
    return own != nullptr ? DVGetActiveDoc(own->GetSafeHwnd()) : nullptr;
}

} // namespace

// ---- layers -----------------------------------------------------------------------------------

CLayerSelectDialog::CLayerSelectDialog() : CDravikXTPResizeDialog(IDD) {}

bool CLayerSelectDialog::Drop(CLayerPopupControl* owner, CWnd* parent) {
    m_owner = owner;
    m_closing = 0;
    if (Create(IDD, parent) == FALSE || GetSafeHwnd() == nullptr)
        return false;
    if (!m_listCreated) {
        // Nothing to list: the drop-down ends before it is seen.
        DestroyWindow();
        return false;
    }
    return true;
}

BOOL CLayerSelectDialog::OnInitDialog() {
    CDravikXTPResizeDialog::OnInitDialog();
    const CRect rect = takePlaceholder(*this);
    m_listCreated = false;
    CDvw32Doc* document = documentFor(m_owner, *this);
    if (document == nullptr || document->Cont2D() == nullptr) {
        EndDialog(-1);
        return TRUE;
    }
    if (m_list.GetSafeHwnd() != nullptr)
        m_list.DestroyWindow();
    if (!m_list.Create(this, rect, kPickerPlaceholder, this)) {
        EndDialog(-1);
        return TRUE;
    }
    m_listCreated = true;
    SetResize(m_list.GetSafeHwnd(), XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    const std::int32_t current = m_owner != nullptr ? m_owner->GetLayer() : -1;
    m_list.Load(document->Cont2D(), document->Cont2D()->GetSafeObject(current));
    return TRUE;
}

std::optional<std::int64_t> CLayerSelectDialog::singleSelection() const {
    const std::vector<std::int64_t> chosen = m_list.GetSelection();
    if (chosen.size() != 1)
        return std::nullopt;
    return chosen.front();
}

void CLayerSelectDialog::OnLayerPicked() {
    const std::optional<std::int64_t> id = singleSelection();
    if (!id || m_owner == nullptr)
        return;
    CRect window;
    GetWindowRect(&window);
    m_closing = 1;
    m_owner->LayerPicked(*id, window.Size());
}

void CLayerSelectDialog::OnOK() {
    if (const std::optional<std::int64_t> id = singleSelection(); id && m_owner != nullptr)
        m_owner->LayerConfirmed(*id);
}

void CLayerSelectDialog::OnCancel() {
    close();
}

void CLayerSelectDialog::close() {
    if (m_closing != 0)
        return;
    m_closing = 1;
    if (m_owner != nullptr)
        m_owner->CloseLayerDialog();
}

BOOL CLayerSelectDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (m_list.OnParentNotify(reinterpret_cast<const NMHDR*>(lParam), pResult))
        return TRUE;
    return CDravikXTPResizeDialog::OnNotify(wParam, lParam, pResult);
}

LRESULT CLayerSelectDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && m_closing == 0 && m_hWnd != nullptr) {
        const LRESULT result = CDravikXTPResizeDialog::WindowProc(message, wParam, lParam);
        close();
        return result;
    }
    return CDravikXTPResizeDialog::WindowProc(message, wParam, lParam);
}

// ---- coordinate systems -------------------------------------------------------------------------

bool LCSList::Create(CWnd* parent, const RECT& rect) {
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                            LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS;
    if (!CListCtrl::Create(style, rect, parent, IDC_LIST))
        return false;
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    CRect client;
    GetClientRect(&client);
    InsertColumn(0, Dravik::I18n::Translate("CoordinateSystem").c_str(), LVCFMT_LEFT, client.Width());
    ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                   reinterpret_cast<LPARAM>(CIconCache::Instance().GetObjectImageList()));
    return true;
}

void LCSList::add(CDVObject* object, const std::wstring& text) {
    const int image =
        object != nullptr ? CIconCache::Instance().ImageIndex(object->GetDefaultIconID()) : I_IMAGENONE;
    const int row = static_cast<int>(m_objects.GetSize());
    // An id beyond 32 bits is carried as -1.
    const std::int64_t id = object != nullptr ? object->GetId() : -1;
    const LPARAM data = id >= INT32_MIN && id <= INT32_MAX ? static_cast<LPARAM>(id) : -1;
    InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, row, text.c_str(), 0, 0, image, data);
    m_objects.Add(object);
}

bool LCSList::Fill(CDvw32Doc* document, const CDVObject* current) {
    Dravik::DVDocument* container = document != nullptr ? document->Cont2D() : nullptr;
    if (container == nullptr)
        return false;
    m_filling = true;
    DeleteAllItems();
    m_objects.RemoveAll();
    m_current = current;
    const int page = container->GetCurrentPage();
    if (Dravik::DVPageObject* pageObject = container->GetPageObject(page))
        add(pageObject,
            Dravik::I18n::Translate("PageCoordinateSystem") + L" (" + pageObject->GetName() + L")");
    std::set<std::int64_t> projected;
    for (const Dravik::DVContainerObject* object : container->GetObjects()) {
        if (const auto* point = dynamic_cast<const FIXING_POINT*>(object)) {
            if (point->projection >= 0)
                projected.insert(point->projection);
            if (point->page == static_cast<std::uint32_t>(page))
                add(container->GetSafeObject(point->GetId()), point->name);
        }
    }
    for (const Dravik::DVContainerObject* object : container->GetObjects()) {
        const auto* system = dynamic_cast<const Dravik::CoordinateSystem3D*>(object);
        if (system != nullptr && system->page == static_cast<std::uint32_t>(page) &&
            projected.count(system->GetId()) == 0)
            add(container->GetSafeObject(system->GetId()), system->name);
    }
    add(nullptr, Dravik::I18n::Translate("CreateOrSelectCoordinateSystem"));
    for (int row = 0; row < m_objects.GetSize(); ++row) {
        if (m_objects[row] != nullptr && m_objects[row] == current) {
            SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            EnsureVisible(row, FALSE);
        }
    }
    m_document = document;
    m_filling = false;
    return true;
}

CDVObject* LCSList::GetSelectedObject(bool* selected) const {
    const int row = GetNextItem(-1, LVNI_SELECTED);
    if (selected != nullptr)
        *selected = row >= 0 && row < m_objects.GetSize();
    return row >= 0 && row < m_objects.GetSize() ? m_objects[row] : nullptr;
}

LRESULT LCSList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    // The one column fills the list, whatever its width.
    if (message == WM_SIZE && GetHeaderCtrl() != nullptr)
        SetColumnWidth(0, LOWORD(lParam));
    return result;
}

LCSSelectDialog::LCSSelectDialog(LCSPopupControl* owner) : m_owner(owner) {}

bool LCSSelectDialog::Drop(CWnd* parent) {
    m_closing = 0;
    if (Create(IDD, parent) == FALSE || GetSafeHwnd() == nullptr)
        return false;
    if (m_list.GetDocument() == nullptr) {
        DestroyWindow();
        return false;
    }
    return true;
}

BOOL LCSSelectDialog::OnInitDialog() {
    CXTPDialogBase<CXTPResizeDialog>::OnInitDialog();
    const CRect rect = takePlaceholder(*this);
    CDvw32Doc* document = documentFor(m_owner, *this);
    if (document == nullptr || document->Cont2D() == nullptr || !m_list.Create(this, rect)) {
        EndDialog(-1);
        return TRUE;
    }
    SetResize(m_list.GetSafeHwnd(), XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    Dravik::DVDocument* container = document->Cont2D();
    const std::int32_t value = m_owner != nullptr ? m_owner->GetLCS() : -1;
    const CDVObject* current =
        value >= 0 ? container->GetSafeObject(value) : container->GetPageObject(container->GetCurrentPage());
    if (!m_list.Fill(document, current))
        EndDialog(-1);
    return TRUE;
}

void LCSSelectDialog::ChooseCoordinateSystem(int row) {
    bool selected = false;
    CDVObject* object = nullptr;
    if (row >= 0 && row < static_cast<int>(m_list.GetObjects().GetSize())) {
        object = m_list.GetObjects()[row];
        selected = true;
    } else {
        object = m_list.GetSelectedObject(&selected);
    }
    if (!selected || m_owner == nullptr)
        return;
    CDvw32Doc* document = m_list.GetDocument();
    LCSPopupControl* owner = m_owner;
    CRect window;
    GetWindowRect(&window);
    owner->SetDialogSize(window.Size());
    m_closing = 1;
    owner->CloseLCSDialog();
    // The dialog's window is gone; only what was taken above is used from here.
    if (object == nullptr) {
        // The command that makes or selects a coordinate system, as from a key.
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_COMMAND, MAKEWPARAM(2130, 1), 0);
        return;
    }
    switch (object->GetTypeCode()) {
    case Dravik::kObjectTypePage:
        owner->SetLCS(-1);
        return;
    case Dravik::kObjectTypeLCS:
        owner->SetLCS(static_cast<std::int32_t>(object->GetId()));
        return;
    case Dravik::kObjectTypeCS3D: {
        Dravik::DVDocument* container = document != nullptr ? document->Cont2D() : nullptr;
        if (container == nullptr)
            return;
        auto point = std::make_shared<FIXING_POINT>();
        point->page = static_cast<std::uint32_t>(container->GetCurrentPage());
        point->type = 2;
        point->projection = object->GetId();
        point->name = object->GetName();
        point->comment = Dravik::GetCurrentFixingComment(2);
        container->start_undo_block(0, 218, 0, 0);
        const std::int64_t id = container->CreateElement(std::move(point));
        if (id >= 0 && id <= INT32_MAX) {
            container->ShowElement(id);
            owner->SetLCS(static_cast<std::int32_t>(id));
        }
        container->end_undo_block();
        return;
    }
    default:
        return;
    }
}

void LCSSelectDialog::OnOK() {
    ChooseCoordinateSystem();
}

void LCSSelectDialog::OnCancel() {
    if (m_closing == 0 && m_owner != nullptr) {
        m_closing = 1;
        m_owner->CloseLCSDialog();
    }
}

BOOL LCSSelectDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->hwndFrom == m_list.GetSafeHwnd()) {
        const auto* item = reinterpret_cast<const NMLISTVIEW*>(header);
        if (header->code == LVN_ITEMCHANGED && !m_list.IsFilling() && m_list.GetDocument() != nullptr &&
            (item->uNewState & LVIS_SELECTED) != 0 && (item->uOldState & LVIS_SELECTED) == 0 &&
            item->iItem >= 0 && item->iItem < static_cast<int>(m_list.GetObjects().GetSize())) {
            // Choosing the entry the drop-down started from changes nothing and keeps it open.
            const CDVObject* object = m_list.GetObjects()[item->iItem];
            if (object == nullptr || object != m_list.GetCurrentObject())
                ChooseCoordinateSystem(item->iItem);
            *pResult = 0;
            return TRUE;
        }
        if (header->code == LVN_HOTTRACK && m_list.GetDocument() != nullptr && item->iItem >= 0 &&
            item->iItem < static_cast<int>(m_list.GetObjects().GetSize())) {
            // The pointed-at system is highlighted in the drawing.
            if (Dravik::DVDocument* container = m_list.GetDocument()->Cont2D())
                container->SetLastFoundObject(m_list.GetObjects()[item->iItem]);
            *pResult = 0;
            return TRUE;
        }
    }
    return CXTPDialogBase<CXTPResizeDialog>::OnNotify(wParam, lParam, pResult);
}

LRESULT LCSSelectDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && m_closing == 0 && m_hWnd != nullptr) {
        const LRESULT result = CXTPDialogBase<CXTPResizeDialog>::WindowProc(message, wParam, lParam);
        m_closing = 1;
        if (m_owner != nullptr)
            m_owner->CloseLCSDialog();
        return result;
    }
    return CXTPDialogBase<CXTPResizeDialog>::WindowProc(message, wParam, lParam);
}
