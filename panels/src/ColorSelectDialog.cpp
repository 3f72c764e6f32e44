#include "panels/ColorSelectDialog.h"

#include "DVGC/ColorTable.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikUI/Windows.h"
#include "afx/app.h"
#include "panels/SysPanelControls.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr DWORD kListStyle = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                             WS_VSCROLL | WS_BORDER | WS_TABSTOP;

const AFX_DLGITEM kItems[] = {
    {L"ListBox", L"", CColorSelectDialog::IDC_STANDARD, kListStyle, 2, 2, 116, 90},
    {L"ListBox", L"", CColorSelectDialog::IDC_USER, kListStyle, 2, 94, 116, 40},
    {L"Button", L"Other...", CColorSelectDialog::IDC_OTHER, BS_PUSHBUTTON | WS_TABSTOP, 2, 137, 50, 13},
    {L"Button", L"All colours", CColorSelectDialog::IDC_SHOW_ALL, BS_AUTOCHECKBOX | WS_TABSTOP, 58, 138, 60,
     11},
};
const AFX_DLGTEMPLATE kTemplates[] = {
    {CColorSelectDialog::IDD, L"", WS_POPUP | WS_BORDER | WS_THICKFRAME, 0, 0, 120, 152, kItems,
     std::size(kItems)},
};
AFX_DIALOG_TEMPLATES(kTemplates);

int scaled(int pixels) {
    return CXTPDpi::ScaleY(pixels);
}

std::wstring dialogSection() {
    return DVGetColorsCurrentSectionName() + L"\\SelectColorDialog";
}
std::wstring customSection() {
    return DVGetColorsCurrentSectionName() + L"\\CustomColors";
}

// The profile key of custom colour slot `slot`.
std::wstring customKey(int slot) {
    wchar_t key[16];
    std::swprintf(key, 16, L"Color%d", slot);
    return key;
}

} // namespace

// ---- the list ---------------------------------------------------------------------------------

void CColorListControl::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item->itemID == static_cast<UINT>(-1) || (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0)
        return;
    HDC dc = item->hDC;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const RECT whole = item->rcItem;
    HBRUSH backBrush = CreateSolidBrush(back);
    FillRect(dc, &whole, backBrush);
    DeleteObject(backBrush);

    const auto color = static_cast<std::uint32_t>(item->itemData);
    RECT swatch = whole;
    InflateRect(&swatch, -1, -1);
    swatch.right = whole.right - m_dialog.GetNameWidth() - whole.left;
    HBRUSH swatchBrush = CreateSolidBrush(GetColorTable()->GetColor(color));
    FillRect(dc, &swatch, swatchBrush);
    DeleteObject(swatchBrush);
    HBRUSH frame = CreateSolidBrush(text);
    FrameRect(dc, &swatch, frame);
    DeleteObject(frame);

    std::wstring name;
    if (GetColorTable()->GetColorName(color, name) == 0) {
        const std::uint32_t rgb = color >> 8;
        wchar_t buffer[48];
        std::swprintf(buffer, 48, L"R%d G%d B%d", static_cast<int>(rgb & 0xFF),
                      static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF));
        name = buffer;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    TextOutW(dc, swatch.right + 2, swatch.top + 2, name.c_str(), static_cast<int>(name.size()));
    if (selected)
        DrawFocusRect(dc, &whole);
}

void CColorListControl::MeasureItem(LPMEASUREITEMSTRUCT item) {
    item->itemHeight = static_cast<UINT>(scaled(18));
    item->itemWidth = static_cast<UINT>(CXTPDpi::ScaleX(60));
}

LRESULT CColorListControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: {
        // Moving with the keys picks nothing: only a click chooses.
        const int count = GetCount();
        int index = GetCurSel();
        if (wParam == VK_UP)
            index = std::max(0, index - 1);
        else if (wParam == VK_DOWN)
            index = std::min(count - 1, index + 1);
        if (index >= 0)
            SetCurSel(index);
        return 0;
    }
    case WM_KILLFOCUS:
        m_remembered = GetCurSel();
        SetCurSel(-1);
        break;
    case WM_SETFOCUS:
        if (m_remembered >= 0 && GetCurSel() < 0)
            SetCurSel(m_remembered);
        break;
    case WM_SIZE: {
        const LRESULT result = CXTPListBox::WindowProc(message, wParam, lParam);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return result;
    }
    default:
        break;
    }
    return CXTPListBox::WindowProc(message, wParam, lParam);
}

// ---- the dialog -------------------------------------------------------------------------------

CColorSelectDialog::CColorSelectDialog() = default;

int CColorSelectDialog::profileInt(const wchar_t* key, int fallback) const {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? static_cast<int>(app->GetProfileInt(dialogSection().c_str(), key, fallback))
                          : fallback;
}

void CColorSelectDialog::writeProfileInt(const wchar_t* key, int value) const {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(dialogSection().c_str(), key, value);
}

bool CColorSelectDialog::Drop(CColorPopupControl* owner, std::uint32_t current, CWnd* parent) {
    m_owner = owner;
    m_current = current;
    return Create(IDD, parent) != FALSE && GetSafeHwnd() != nullptr;
}

void CColorSelectDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_STANDARD, m_standard);
    DDX_Control(pDX, IDC_USER, m_user);
    DDX_Check(pDX, IDC_SHOW_ALL, m_showAll);
}

BOOL CColorSelectDialog::OnInitDialog() {
    CDravikXTPDialog::OnInitDialog();
    no_set_focus_color_dlg = true;
    m_suspended = 0;
    m_hasUserList = 1;
    CRect client;
    GetClientRect(&client);
    m_width = client.Width();
    m_height = client.Height();

    // Absurd stored sizes fall back to the template's.
    int height = profileInt(L"Height", m_height);
    int width = profileInt(L"Width", m_width);
    if (height < 150 || height > 4000)
        height = m_height;
    if (width < 150 || width > 4000)
        width = m_width;
    RECT placed{0, 0, width, height};
    Dravik::UI::EnsureIsVisible(placed, false);
    MoveWindow(&placed, TRUE);

    auto [standard, user] = listRects();
    const int standardH = profileInt(L"StandartH", standard.Height());
    const int userH = profileInt(L"UserH", user.Height());
    if (standardH > 10 && standardH < height)
        standard.bottom = standard.top + standardH;
    if (userH > 10 && userH < height)
        user.top = user.bottom - userH;
    moveLists(standard, user);

    m_showAll = profileInt(L"Show256", 1) == 0 ? 0 : 1;
    const int all = GetColorTable()->GetColorsNumber();
    if (m_showAll == 1) {
        m_count = all;
    } else if (m_current >= 16 && m_current < static_cast<std::uint32_t>(all)) {
        // A colour only the whole table holds must be seen; the box then says nothing to keep.
        m_count = all;
        m_showAll = 1;
        GetDlgItem(IDC_SHOW_ALL)->EnableWindow(FALSE);
    } else {
        m_count = 16;
    }
    ::CheckDlgButton(m_hWnd, IDC_SHOW_ALL, m_showAll != 0 ? BST_CHECKED : BST_UNCHECKED);

    CWinApp* app = AfxGetApp();
    for (int i = 0; i < 16; ++i) {
        // A stored value that is no colour (above 0xFFFFFF, or negative) is an empty slot.
        const UINT stored =
            app != nullptr ? app->GetProfileInt(customSection().c_str(), customKey(i).c_str(), 0) : 0;
        m_custom[i] = stored <= 0xFFFFFFu ? stored : 0;
    }
    return TRUE;
}

void CColorSelectDialog::FillStandardColors() {
    m_standard.SetItemHeight(0, static_cast<UINT>(scaled(18)));
    m_standard.ResetContent();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    m_nameWidth = 0;
    for (int i = 0; i < m_count; ++i) {
        wchar_t text[16];
        std::swprintf(text, 16, L"%u", static_cast<unsigned>(i));
        const int index = m_standard.AddString(text);
        m_standard.SetItemData(index, static_cast<DWORD_PTR>(i));
        if (static_cast<std::uint32_t>(i) == m_current) {
            m_standard.SetFocus();
            m_standard.SetCurSel(index);
        }
        std::wstring name;
        if (GetColorTable()->GetColorName(static_cast<std::uint32_t>(i), name) != 0) {
            SIZE size{};
            GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
            m_nameWidth = std::max(m_nameWidth, static_cast<int>(size.cx));
        }
    }
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}

void CColorSelectDialog::FillUserColors() {
    m_user.ResetContent();
    for (COLORREF& custom : m_custom) {
        const COLORREF rgb = custom & 0xFFFFFFu;
        bool duplicate = false;
        for (int i = 0; i < m_user.GetCount() && !duplicate; ++i)
            duplicate = (static_cast<std::uint32_t>(m_user.GetItemData(i)) >> 8) == rgb;
        if (duplicate) {
            custom = 0;
            continue;
        }
        if (rgb == 0)
            continue;
        const std::uint32_t word = CColorTable::FromRgb(rgb);
        wchar_t text[16];
        std::swprintf(text, 16, L"%u", static_cast<unsigned>(word));
        const int index = m_user.AddString(text);
        m_user.SetItemData(index, word);
        if (word == m_current) {
            m_user.SetFocus();
            m_user.SetCurSel(index);
        }
    }
    if (m_standard.GetCurSel() < 0 && m_user.GetCurSel() < 0) {
        const int index = m_user.AddString(L"");
        m_user.SetItemData(index, m_current);
        m_user.SetFocus();
        m_user.SetCurSel(index);
    }
    if (m_user.GetCount() == 0) {
        m_hasUserList = 0;
        auto [standard, user] = listRects();
        m_user.ShowWindow(SW_HIDE);
        standard.bottom = user.bottom;
        m_standard.MoveWindow(&standard, TRUE);
    }
}

void CColorSelectDialog::OnOK() {
    if (m_owner == nullptr)
        return;
    int index = m_standard.GetCurSel();
    if (index >= 0) {
        m_current = static_cast<std::uint32_t>(m_standard.GetItemData(index));
    } else if ((index = m_user.GetCurSel()) >= 0) {
        m_current = static_cast<std::uint32_t>(m_user.GetItemData(index));
    } else {
        m_suspended = 1;
        m_owner->CloseColorDialog();
        return;
    }
    m_suspended = 1;
    m_owner->SelectColor(m_current, true);
}

void CColorSelectDialog::OnCancel() {
    m_suspended = 1;
    if (m_owner != nullptr)
        m_owner->CloseColorDialog();
}

void CColorSelectDialog::onResized(int width, int height) {
    if (m_width == 0 || m_standard.GetSafeHwnd() == nullptr || m_user.GetSafeHwnd() == nullptr)
        return;
    const int dx = width - m_width;
    const int dy = height - m_height;
    auto [standard, user] = listRects();
    if (standard.Height() + dy < 11) {
        user.right += dx;
        user.bottom += dy;
    } else {
        standard.right += dx;
        standard.bottom += dy;
        user.OffsetRect(0, dy);
        user.right += dx;
    }
    moveLists(standard, user);
    for (int id : {IDC_OTHER, IDC_SHOW_ALL}) {
        if (CWnd* item = GetDlgItem(id)) {
            CRect rect;
            item->GetWindowRect(&rect);
            ScreenToClient(&rect);
            rect.OffsetRect(0, dy);
            item->MoveWindow(&rect, TRUE);
        }
    }
    m_width = width;
    m_height = height;
    Invalidate();
}

std::pair<CRect, CRect> CColorSelectDialog::listRects() {
    CRect standard;
    CRect user;
    m_standard.GetWindowRect(&standard);
    m_user.GetWindowRect(&user);
    ScreenToClient(&standard);
    ScreenToClient(&user);
    return {standard, user};
}

void CColorSelectDialog::moveLists(const CRect& standard, const CRect& user) {
    m_standard.MoveWindow(&standard, TRUE);
    m_user.MoveWindow(&user, TRUE);
}

CRect CColorSelectDialog::splitterZone() {
    if (m_hasUserList == 0 || m_standard.GetSafeHwnd() == nullptr || m_user.GetSafeHwnd() == nullptr)
        return CRect();
    const auto [standard, user] = listRects();
    return CRect(standard.left, standard.bottom, standard.right, user.top);
}

// The strip between the lists moves the boundary between them; each list keeps more than 10
// pixels, and the pointer is put back when a step would take them below.
bool CColorSelectDialog::onSplitterMessage(UINT message, WPARAM, LPARAM lParam) {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    switch (message) {
    case WM_SETCURSOR: {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        if (!splitterZone().PtInRect(cursor) && m_dragging == 0)
            return false;
        HCURSOR shape = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_SPLITTER_CURSOR));
        ::SetCursor(shape != nullptr ? shape : ::LoadCursorW(nullptr, IDC_SIZENS));
        return true;
    }
    case WM_LBUTTONDOWN:
        if (m_hasUserList == 0 || !splitterZone().PtInRect(point))
            return false;
        ::SetCapture(m_hWnd);
        m_dragging = 1;
        m_lastPoint = point;
        return true;
    case WM_MOUSEMOVE: {
        if (m_dragging == 0)
            return false;
        auto [standard, user] = listRects();
        const int dy = point.y - m_lastPoint.y;
        if (standard.Height() + dy > 10 && user.Height() - dy > 10) {
            standard.bottom += dy;
            user.top += dy;
            moveLists(standard, user);
            m_lastPoint = point;
        } else {
            CPoint back = m_lastPoint;
            ClientToScreen(&back);
            ::SetCursorPos(back.x, back.y);
        }
        return true;
    }
    case WM_LBUTTONUP:
        if (m_dragging == 0)
            return false;
        ::ReleaseCapture();
        m_dragging = 0;
        return true;
    default:
        return false;
    }
}

void CColorSelectDialog::onShowAllColors() {
    UpdateData(TRUE);
    m_count = m_showAll == 1 ? GetColorTable()->GetColorsNumber() : 16;
    FillStandardColors();
}

void CColorSelectDialog::onOtherColor() {
    UpdateData(TRUE);
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = GetParent() != nullptr ? GetParent()->GetSafeHwnd() : nullptr;
    chooser.rgbResult = GetColorTable()->GetColor(m_current);
    chooser.lpCustColors = m_custom;
    chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR;
    // The chooser takes the activation; the drop-down must not take that for a click elsewhere.
    m_suspended = 1;
    const BOOL chosen = ChooseColorW(&chooser);
    m_suspended = 0;
    if (m_owner == nullptr)
        return;
    m_suspended = 1;
    if (chosen == FALSE) {
        m_owner->CloseColorDialog();
        return;
    }
    m_current = CColorTable::FromRgb(chooser.rgbResult & 0xFFFFFFu);
    if (CWinApp* app = AfxGetApp()) {
        for (int i = 0; i < 16; ++i)
            app->WriteProfileInt(customSection().c_str(), customKey(i).c_str(),
                                 static_cast<int>(m_custom[i]));
    }
    m_owner->SelectColor(m_current, true);
}

void CColorSelectDialog::onDeactivated() {
    m_suspended = 1;
    CRect window;
    GetWindowRect(&window);
    writeProfileInt(L"Width", window.Width());
    writeProfileInt(L"Height", window.Height());
    if (CWnd* box = GetDlgItem(IDC_SHOW_ALL); box != nullptr && box->IsWindowEnabled())
        writeProfileInt(L"Show256", ::IsDlgButtonChecked(m_hWnd, IDC_SHOW_ALL) == BST_CHECKED ? 1 : 0);
    if (m_hasUserList != 0) {
        const auto [standard, user] = listRects();
        writeProfileInt(L"StandartH", standard.Height());
        writeProfileInt(L"UserH", user.Height());
    }
    if (m_owner != nullptr)
        m_owner->CloseColorDialog();
}

BOOL CColorSelectDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if ((id == IDC_STANDARD || id == IDC_USER) && code == LBN_SELCHANGE) {
        CColorListControl& list = id == IDC_STANDARD ? m_standard : m_user;
        const int index = list.GetCurSel();
        if (index >= 0) {
            m_current = static_cast<std::uint32_t>(list.GetItemData(index));
            // The other list's selection would win in OK; only the clicked one counts.
            (id == IDC_STANDARD ? m_user : m_standard).SetCurSel(-1);
            OnOK();
        }
        return TRUE;
    }
    if (id == IDC_OTHER && code == BN_CLICKED) {
        onOtherColor();
        return TRUE;
    }
    if (id == IDC_SHOW_ALL && code == BN_CLICKED) {
        onShowAllColors();
        return TRUE;
    }
    return CDravikXTPDialog::OnCommand(wParam, lParam);
}

LRESULT CColorSelectDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_SETCURSOR || message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE ||
         message == WM_LBUTTONUP) &&
        onSplitterMessage(message, wParam, lParam))
        return message == WM_SETCURSOR ? TRUE : 0;
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        CColorListControl* list = item->CtlID == IDC_STANDARD ? &m_standard
                                  : item->CtlID == IDC_USER   ? &m_user
                                                              : nullptr;
        if (list != nullptr) {
            list->DrawItem(item);
            return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (item->CtlID == IDC_STANDARD || item->CtlID == IDC_USER) {
            m_standard.MeasureItem(item);
            return TRUE;
        }
        break;
    }
    case WM_SIZE: {
        const LRESULT result = CDravikXTPDialog::WindowProc(message, wParam, lParam);
        onResized(LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{150, 150};
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && m_suspended == 0 && m_hWnd != nullptr) {
            const LRESULT result = CDravikXTPDialog::WindowProc(message, wParam, lParam);
            onDeactivated();
            return result;
        }
        break;
    default:
        break;
    }
    return CDravikXTPDialog::WindowProc(message, wParam, lParam);
}
