#include "DravikUI/Forms.h"

#include "DVTextCore/I18n.h"
#include "afxwin.h"
#include "win/controls/commctrl.h"
#include "win/controls/dialog.h"
#include "win/controls/edit.h"
#include "win/controls/listview.h"
#include "win/user.h"
#include "xtp/ImageManager.h"

#include <algorithm>
#include <iterator>

namespace dvpf {

namespace {

constexpr const wchar_t* kViewClass = L"DvpfFormView";
constexpr int kFirstControlId = 100;
constexpr int kSpacing = 6;

void registerViewClass(WNDPROC proc) {
    WNDCLASSW wc{};
    if (::GetClassInfoW(nullptr, kViewClass, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kViewClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&wc);
}

HFONT dialogFont() {
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// The height of a line of the dialog font, in pixels.
int lineHeight() {
    return HIWORD(::GetDialogBaseUnits()) * 12 / 8;
}

} // namespace

// --- pictures ---

struct Image::Icons {
    std::vector<std::pair<int, HICON>> bySize; // ascending, each a copy of the program's
    ~Icons() {
        for (const auto& [size, icon] : bySize)
            ::DestroyIcon(icon);
    }
};

Image Image::FromResourceIcon(int id, std::initializer_list<int> sizes) {
    auto icons = std::make_shared<Icons>();
    for (const int size : sizes) {
        CXTPImageManagerIcon* found =
            id > 0 ? XTPImageManager()->GetImage(static_cast<UINT>(id), size) : nullptr;
        // The program's images may be replaced (a theme brings their light-on-dark set): the
        // picture keeps copies of its own.
        if (HICON icon = found != nullptr ? found->GetIcon() : nullptr; icon != nullptr)
            if (HICON copy = ::CopyIcon(icon))
                icons->bySize.emplace_back(size, copy);
    }
    std::sort(icons->bySize.begin(), icons->bySize.end());
    Image image;
    if (!icons->bySize.empty())
        image.icons_ = std::move(icons);
    return image;
}

HICON Image::GetIcon(int size) const {
    if (IsEmpty() || icons_->bySize.empty())
        return nullptr;
    for (const auto& [made, icon] : icons_->bySize)
        if (made >= size)
            return icon;
    return icons_->bySize.back().second;
}

// --- controls ---

Control::~Control() = default;

std::wstring Control::GetFullId() const {
    return view_ != nullptr ? view_->GetLocalisationId() + L"." + id_ : id_;
}

std::shared_ptr<CompoundStringControl> CompoundStringControl::Create(std::wstring id) {
    return std::make_shared<CompoundStringControl>(std::move(id));
}

std::wstring CompoundStringControl::GetText() const {
    if (GetHwnd() == nullptr)
        return text_;
    const int length = ::GetWindowTextLengthW(GetHwnd());
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = ::GetWindowTextW(GetHwnd(), text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void CompoundStringControl::SetText(const std::wstring& text) {
    text_ = text;
    if (GetHwnd() != nullptr) {
        SuppressUserEvents quiet(*this);
        ::SetWindowTextW(GetHwnd(), text.c_str());
    }
}

int CompoundStringControl::GetPreferredHeight() const {
    return lineHeight() + 8;
}

HWND CompoundStringControl::CreateWindowIn(HWND parent, int controlId) {
    const HWND edit = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"Edit", text_.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
        10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), nullptr, nullptr);
    if (edit != nullptr) {
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), FALSE);
    }
    return edit;
}

void CompoundStringControl::OnCommand(WORD code) {
    if (code == EN_CHANGE && !AreUserEventsSuppressed() && OnTextChanged)
        OnTextChanged();
}

std::shared_ptr<SimpleListControl> SimpleListControl::Create(std::wstring id) {
    return std::make_shared<SimpleListControl>(std::move(id));
}

void SimpleListControl::SetColumnCount(int count) {
    columns_ = std::max(count, 1);
    for (Row& row : rows_)
        row.cells.resize(static_cast<size_t>(columns_));
}

void SimpleListControl::RemoveAll() {
    rows_.clear();
    selected_ = -1;
    if (GetHwnd() != nullptr) {
        SuppressUserEvents quiet(*this);
        ::SendMessageW(GetHwnd(), LVM_DELETEALLITEMS, 0, 0);
    }
}

SimpleListControl::~SimpleListControl() {
    if (images_ != nullptr)
        ::ImageList_Destroy(images_);
}

void SimpleListControl::SetIcon(int row, int column, const Image& image) {
    if (!validRow(row) || column != 0)
        return;
    rows_[row].icon = image;
    if (GetHwnd() != nullptr) {
        SuppressUserEvents quiet(*this);
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iImage = imageIndexOf(rows_[row]);
        ::SendMessageW(GetHwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

int SimpleListControl::imageIndexOf(const Row& row) {
    constexpr int kSize = 16;
    HICON icon = row.icon.GetIcon(kSize);
    if (icon == nullptr || GetHwnd() == nullptr)
        return I_IMAGENONE;
    if (images_ == nullptr) {
        images_ = ::ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 16, 16);
        ::SendMessageW(GetHwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
    }
    return ::ImageList_AddIcon(images_, icon);
}

void SimpleListControl::SetRowCount(int count) {
    rows_.resize(static_cast<size_t>(std::max(count, 0)),
                 Row{0, 0, std::vector<std::wstring>(columns_), 0, Image()});
    if (!validRow(selected_))
        selected_ = -1;
    showRows();
}

void SimpleListControl::SetRowColor(int row, COLORREF color) {
    if (validRow(row))
        rows_[row].color = color;
}

COLORREF SimpleListControl::GetRowColor(int row) const {
    return validRow(row) ? rows_[row].color : 0;
}

void SimpleListControl::SetRowId(int row, std::int64_t id) {
    if (validRow(row))
        rows_[row].id = id;
}

// Without id mapping a row's id is its index.
std::int64_t SimpleListControl::GetRowId(int row) const {
    if (!validRow(row))
        return -1;
    return idMapping_ ? rows_[row].id : row;
}

void SimpleListControl::SetData(int row, int column, const std::wstring& text) {
    if (!validRow(row) || column < 0 || column >= columns_)
        return;
    rows_[row].cells[column] = text;
    if (GetHwnd() != nullptr) {
        SuppressUserEvents quiet(*this);
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = const_cast<wchar_t*>(rows_[row].cells[column].c_str());
        ::SendMessageW(GetHwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
}

std::wstring SimpleListControl::GetData(int row, int column) const {
    return validRow(row) && column >= 0 && column < columns_ ? rows_[row].cells[column] : std::wstring();
}

void SimpleListControl::SetToolTip(int row, int, std::int64_t value) {
    if (validRow(row))
        rows_[row].toolTip = value;
}

// The selection outlives the window, so that a form can be asked after its dialog ended.
std::optional<int> SimpleListControl::GetSelectedRow() const {
    if (!validRow(selected_))
        return std::nullopt;
    return selected_;
}

void SimpleListControl::SelectRow(int row) {
    if (!validRow(row))
        return;
    selected_ = row;
    if (GetHwnd() == nullptr)
        return;
    SuppressUserEvents quiet(*this);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(GetHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(GetHwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The window holds as many items as the model has rows, each with its texts.
void SimpleListControl::showRows() {
    if (GetHwnd() == nullptr)
        return;
    SuppressUserEvents quiet(*this);
    ::SendMessageW(GetHwnd(), WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(GetHwnd(), LVM_DELETEALLITEMS, 0, 0);
    // The pictures are listed anew with the rows.
    if (images_ != nullptr) {
        ::SendMessageW(GetHwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        ::ImageList_Destroy(images_);
        images_ = nullptr;
    }
    for (int i = 0; i < GetRowCount(); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(rows_[i].cells[0].c_str());
        item.iImage = imageIndexOf(rows_[i]);
        ::SendMessageW(GetHwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < columns_; ++column)
            SetData(i, column, rows_[i].cells[column]);
    }
    ::SendMessageW(GetHwnd(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

HWND SimpleListControl::CreateWindowIn(HWND parent, int controlId) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    // The pictures' image list is the control's, which outlives the window.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LVS_REPORT | LVS_SHOWSELALWAYS |
                  LVS_SHAREIMAGELISTS;
    if (selectionMode_ == 0)
        style |= LVS_SINGLESEL;
    if (!headers_)
        style |= LVS_NOCOLUMNHEADER;
    const HWND list =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 10, 10, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), nullptr, nullptr);
    if (list == nullptr)
        return nullptr;
    ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), FALSE);
    DWORD extended = LVS_EX_FULLROWSELECT;
    if (gridLines_ != 0)
        extended |= LVS_EX_GRIDLINES;
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    for (int column = 0; column < columns_; ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_WIDTH | LVCF_TEXT;
        header.cx = 100;
        header.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&header));
    }
    SetHwnd(list);
    showRows();
    return list;
}

LRESULT SimpleListControl::OnNotify(const NMHDR& header) {
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool was = (change.uOldState & LVIS_SELECTED) != 0;
        const bool is = (change.uNewState & LVIS_SELECTED) != 0;
        if (is)
            selected_ = change.iItem;
        else if (was && selected_ == change.iItem)
            selected_ = -1;
        return 0;
    }
    if (header.code == NM_DBLCLK) {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (!AreUserEventsSuppressed() && OnCellDoubleClicked && validRow(activate.iItem))
            OnCellDoubleClicked(activate.iItem, std::max(activate.iSubItem, 0));
        return 0;
    }
    if (header.code == NM_CUSTOMDRAW && rowColors_) {
        auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const int row = static_cast<int>(draw.nmcd.dwItemSpec);
            if (validRow(row))
                draw.clrText = rows_[row].color;
            return CDRF_DODEFAULT;
        }
    }
    return 0;
}

// --- the form view ---

WpfDockFormView::WpfDockFormView(std::wstring localisationId) : id_(std::move(localisationId)) {}

WpfDockFormView::~WpfDockFormView() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
}

void WpfDockFormView::AddControl(std::shared_ptr<Control> control) {
    if (control == nullptr)
        return;
    control->view_ = this;
    controls_.push_back(std::move(control));
    if (hwnd_ != nullptr) {
        Control& added = *controls_.back();
        added.SetHwnd(added.CreateWindowIn(hwnd_, kFirstControlId + static_cast<int>(controls_.size()) - 1));
        Layout();
    }
}

HWND WpfDockFormView::Create(HWND parent, const RECT& rect) {
    registerViewClass(&WpfDockFormView::WindowProc);
    hwnd_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kViewClass, id_.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, this);
    if (hwnd_ == nullptr)
        return nullptr;
    for (size_t i = 0; i < controls_.size(); ++i) {
        Control& control = *controls_[i];
        const HWND made = control.CreateWindowIn(hwnd_, kFirstControlId + static_cast<int>(i));
        if (control.GetHwnd() == nullptr)
            control.SetHwnd(made);
    }
    Layout();
    return hwnd_;
}

void WpfDockFormView::Layout() {
    if (hwnd_ == nullptr)
        return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int width = client.right - client.left;
    int fixed = 0;
    int fillers = 0;
    for (const auto& control : controls_) {
        const int height = control->GetPreferredHeight();
        fixed += height > 0 ? height : 0;
        fillers += height > 0 ? 0 : 1;
    }
    const int gaps = kSpacing * static_cast<int>(controls_.size() > 0 ? controls_.size() - 1 : 0);
    const int left = std::max(client.bottom - client.top - fixed - gaps, 0);
    int y = 0;
    for (const auto& control : controls_) {
        int height = control->GetPreferredHeight();
        if (height <= 0)
            height = fillers > 0 ? left / fillers : 0;
        if (control->GetHwnd() != nullptr)
            ::MoveWindow(control->GetHwnd(), 0, y, width, height, TRUE);
        if (auto* list = dynamic_cast<SimpleListControl*>(control.get()); list != nullptr && list->GetHwnd())
            ::SendMessageW(list->GetHwnd(), LVM_SETCOLUMNWIDTH, 0,
                           std::max(width - ::GetSystemMetrics(SM_CXVSCROLL) - 4, 20));
        y += height + kSpacing;
    }
}

void WpfDockFormView::FocusActiveControl() {
    Control* control = active_ != nullptr ? active_ : (controls_.empty() ? nullptr : controls_.front().get());
    if (control != nullptr && control->GetHwnd() != nullptr)
        ::SetFocus(control->GetHwnd());
}

SIZE WpfDockFormView::GetMinSize() const {
    int height = 0;
    for (const auto& control : controls_)
        height +=
            (control->GetPreferredHeight() > 0 ? control->GetPreferredHeight() : 4 * lineHeight()) + kSpacing;
    return {240, height};
}

LRESULT WpfDockFormView::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* view = reinterpret_cast<WpfDockFormView*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (view != nullptr) {
        switch (message) {
        case WM_SIZE:
            view->Layout();
            return 0;
        case WM_COMMAND: {
            const int index = LOWORD(wParam) - kFirstControlId;
            if (index >= 0 && index < static_cast<int>(view->controls_.size()))
                view->controls_[index]->OnCommand(HIWORD(wParam));
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            const int index = static_cast<int>(header->idFrom) - kFirstControlId;
            if (index >= 0 && index < static_cast<int>(view->controls_.size()))
                return view->controls_[index]->OnNotify(*header);
            return 0;
        }
        case WM_NCDESTROY:
            for (const auto& control : view->controls_)
                control->SetHwnd(nullptr);
            view->hwnd_ = nullptr;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- the modal dialog ---

namespace {

constexpr WORD kDialogTemplate = 32528;
constexpr int kFirstButtonId = 1000;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kMargin = 10;

const AFX_DLGTEMPLATE kModalTemplates[] = {
    {kDialogTemplate, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME, 0, 0, 220, 240,
     nullptr, 0},
};
AFX_DIALOG_TEMPLATES(kModalTemplates);

// Button texts by kind; the kinds this toolkit knows are 0 (accept) and 3 (cancel).
std::wstring buttonText(int kind) {
    return kind == 0 ? Dravik::I18n::Translate("dvpf.Button.Ok")
                     : Dravik::I18n::Translate("dvpf.Button.Cancel");
}

} // namespace

class ModalDialog::Window : public CDialog {
public:
    Window(CWnd* owner, WpfDockFormView& view, std::wstring id)
        : CDialog(kDialogTemplate, owner), view_(view), id_(std::move(id)) {}

    std::vector<int> kinds;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetWindowTextW(m_hWnd, Dravik::I18n::Translate(id_).c_str());
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        view_.Create(m_hWnd, client);
        for (size_t i = 0; i < kinds.size(); ++i) {
            DWORD style =
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | (kinds[i] == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            const HWND button = ::CreateWindowExW(
                0, L"Button", buttonText(kinds[i]).c_str(), style, 0, 0, kButtonWidth, kButtonHeight, m_hWnd,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)), nullptr, nullptr);
            ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                           FALSE);
        }
        layout();
        view_.FocusActiveControl();
        return FALSE;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const int index = LOWORD(wParam) - kFirstButtonId;
        if (index >= 0 && index < static_cast<int>(kinds.size())) {
            EndDialog(kFirstButtonId + index);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    // Enter presses the accept button, Escape and the close box the cancel button.
    void OnOK() override { pressKind(0); }
    void OnCancel() override {
        if (!pressKind(3))
            EndDialog(IDCANCEL);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        if (message == WM_SIZE)
            layout();
        return result;
    }

    bool pressKind(int kind) {
        const auto found = std::ranges::find(kinds, kind);
        if (found == kinds.end())
            return false;
        EndDialog(kFirstButtonId + static_cast<int>(found - kinds.begin()));
        return true;
    }

private:
    void layout() {
        if (m_hWnd == nullptr)
            return;
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const int buttonsTop = client.bottom - kMargin - kButtonHeight;
        if (view_.GetHwnd() != nullptr)
            ::MoveWindow(view_.GetHwnd(), kMargin, kMargin, std::max<int>(client.right - 2 * kMargin, 0),
                         std::max<int>(buttonsTop - 2 * kMargin, 0), TRUE);
        int x = client.right - kMargin;
        for (size_t i = kinds.size(); i-- > 0;) {
            x -= kButtonWidth;
            if (const HWND button = ::GetDlgItem(m_hWnd, kFirstButtonId + static_cast<int>(i)))
                ::MoveWindow(button, x, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
            x -= kSpacing;
        }
    }

    WpfDockFormView& view_;
    std::wstring id_;
};

ModalDialog::ModalDialog(CWnd* owner, WpfDockFormView& view, std::wstring localisationId)
    : window_(std::make_unique<Window>(owner, view, std::move(localisationId))) {}

ModalDialog::~ModalDialog() = default;

void ModalDialog::AddButton(int kind) {
    window_->kinds.push_back(kind);
}

void ModalDialog::PressButton(int index) {
    if (window_->m_hWnd != nullptr && index >= 0 && index < static_cast<int>(window_->kinds.size()))
        window_->EndDialog(kFirstButtonId + index);
}

std::optional<int> ModalDialog::DoModal() {
    const INT_PTR result = window_->DoModal();
    const INT_PTR index = result - kFirstButtonId;
    if (index < 0 || index >= static_cast<INT_PTR>(window_->kinds.size()))
        return std::nullopt;
    return window_->kinds[static_cast<size_t>(index)];
}

HWND ModalDialog::GetHwnd() const {
    return window_->m_hWnd;
}

} // namespace dvpf
