#include "ribbon/FindCommandWnd.h"

#include "ribbon/ExtendedToolTip.h"
#include "ribbon/FindCommand.h"

#include "DVTextCore/I18n.h"
#include "DVTextCore/SearchableText.h"
#include "DravikKernel/CommandCatalogue.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/Windows.h"
#include "xtp/ImageManager.h"
#include "xtp/MouseManager.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

namespace {

constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                             LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED;
constexpr DWORD kSearchBoxStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;

// The pane's form: the search box across the top, the list filling the rest.
const AFX_DLGITEM kFindCommandItems[] = {
    {L"ComboBox", L"", FindCommandDialog::kSearchBoxId, kSearchBoxStyle, 2, 2, 146, 80},
    {L"SysListView32", L"", FindCommandDialog::kListId, kListStyle | WS_BORDER, 2, 18, 146, 180},
};
const AFX_DLGTEMPLATE kFindCommandTemplates[] = {
    {static_cast<WORD>(FindCommandDialog::kTemplate), L"", WS_CHILD, 0, 0, 150, 200, kFindCommandItems,
     std::size(kFindCommandItems)},
};
AFX_DIALOG_TEMPLATES(kFindCommandTemplates);

FindCommandHost*& installedHost() {
    static FindCommandHost* host = nullptr;
    return host;
}

// Asks a frame's update handlers whether a command is enabled, showing nothing.
class EnabledProbe : public CCmdUI {
public:
    BOOL enabled = TRUE;
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

std::wstring trimmed(const std::wstring& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), [](wchar_t c) { return std::iswspace(c); });
    const auto last =
        std::find_if_not(text.rbegin(), text.rend(), [](wchar_t c) { return std::iswspace(c); }).base();
    return first < last ? std::wstring(first, last) : std::wstring();
}

std::wstring windowText(CWnd& wnd) {
    const int length = ::GetWindowTextLengthW(wnd.m_hWnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = ::GetWindowTextW(wnd.m_hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

COLORREF halfway(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

// Space above the icon and the name in a row.
constexpr int kIconMargin = 6;

int scrollBarWidth() {
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

} // namespace

// The host.

FindCommandHost& FindCommandHost::Instance() {
    static FindCommandHost fallback;
    FindCommandHost* host = installedHost();
    return host != nullptr ? *host : fallback;
}

FindCommandHost* FindCommandHost::Install(FindCommandHost* host) {
    FindCommandHost* previous = installedHost();
    installedHost() = host;
    return previous;
}

CWnd* FindCommandHost::GetFrameOfWindow(CWnd* window) {
    if (window == nullptr || !::IsWindow(window->m_hWnd))
        return nullptr;
    return UIModuleProxy::Instance().GetMainFrameOfWindow(window->m_hWnd);
}

bool FindCommandHost::IsCommandEnabled(int id, CWnd*, CWnd* frame) {
    if (frame != nullptr && ::IsWindow(frame->m_hWnd)) {
        EnabledProbe probe;
        probe.m_nID = static_cast<UINT>(id);
        if (frame->OnCmdMsg(static_cast<UINT>(id), CN_UPDATE_COMMAND_UI, static_cast<CCmdUI*>(&probe),
                            nullptr) &&
            probe.m_bEnableChanged)
            return probe.enabled != FALSE;
    }
    bool enabled = true, checked = false;
    if (UIModuleProxy::Instance().CommandStateGet(static_cast<unsigned>(id), enabled, checked))
        return enabled;
    return true;
}

CXTPImageManagerIcon* FindCommandHost::GetCommandIcon(int id) {
    return XTPImageManager()->GetImage(static_cast<UINT>(id), 32);
}

void FindCommandHost::RunCommand(CWnd* frame, int id) {
    if (frame != nullptr)
        DravikPostMessage(frame->m_hWnd, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// The search box.

IMPLEMENT_DYNAMIC(CFindCommandComboBox, CXTPComboBox)

void CFindCommandComboBox::RememberText(const std::wstring& text) {
    const std::wstring entry = trimmed(text);
    if (entry.empty())
        return;
    for (int i = 0, n = GetCount(); i < n; ++i) {
        CString item;
        GetLBText(i, item);
        if (entry == static_cast<LPCWSTR>(item))
            return;
    }
    AddString(entry.c_str());
}

BOOL CFindCommandComboBox::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        RememberText(windowText(*this));
    return CXTPComboBox::PreTranslateMessage(pMsg);
}

LRESULT CFindCommandComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        if (CXTPMouseManager* mouse = XTPMouseManager())
            mouse->SendTrackLost();
    return CXTPComboBox::WindowProc(message, wParam, lParam);
}

// The list.

IMPLEMENT_DYNAMIC(CCommandList, CListCtrl)

CCommandList::CCommandList()
    : m_back(::GetSysColor(COLOR_WINDOW)), m_selectedBack(::GetSysColor(COLOR_HIGHLIGHT)),
      m_text(::GetSysColor(COLOR_WINDOWTEXT)), m_selectedText(::GetSysColor(COLOR_HIGHLIGHTTEXT)) {}

CCommandList::~CCommandList() {
    if (m_toolTips)
        m_toolTips->CancelToolTips();
}

void CCommandList::SetColors(COLORREF back, COLORREF selectedBack, COLORREF text, COLORREF selectedText) {
    m_back = back;
    m_selectedBack = selectedBack;
    m_text = text;
    m_selectedText = selectedText;
    if (::IsWindow(m_hWnd)) {
        SetBkColor(back);
        Invalidate();
    }
}

void CCommandList::DrawItem(LPDRAWITEMSTRUCT dis) {
    CDC* dc = CDC::FromHandle(dis->hDC);
    const int index = static_cast<int>(dis->itemID);
    const int saved = dc->SaveDC();
    const UINT state = GetItemState(index, LVIS_SELECTED | LVIS_DROPHILITED | LVIS_FOCUSED);
    const bool focused = ::GetFocus() == m_hWnd;
    const bool selected =
        (state & LVIS_DROPHILITED) != 0 ||
        ((state & LVIS_SELECTED) != 0 && (focused || (GetStyle() & LVS_SHOWSELALWAYS) != 0));
    const int id = static_cast<int>(GetItemData(index));
    const bool enabled = FindCommandHost::Instance().IsCommandEnabled(id, this, nullptr);
    // Grey on the selection's ground is hard to read in dark looks: there a disabled command's
    // text is the selected text halfway to the ground.
    const COLORREF text = enabled    ? (selected ? m_selectedText : m_text)
                          : selected ? halfway(m_selectedText, m_selectedBack)
                                     : GetXtremeColor(COLOR_GRAYTEXT);
    // The row is one label: the icon sits at its left, the text after it.
    CRect bounds;
    GetItemRect(index, &bounds, LVIR_BOUNDS);
    bounds.right = std::min<LONG>(bounds.right, bounds.left + GetColumnWidth(0));
    CRect label = bounds;
    dc->FillSolidRect(&label, selected ? m_selectedBack : m_back);
    dc->IntersectClipRect(&bounds);

    const CPoint iconAt(label.left + 2, label.top + kIconMargin);
    if (CXTPImageManagerIcon* icon = FindCommandHost::Instance().GetCommandIcon(id))
        icon->Draw(dc, iconAt, CSize(32, 32), enabled ? xtpImageNormal : xtpImageDisabled);

    const int space = dc->GetTextExtent(CString(L" ")).cx;
    CRect textRect = label;
    textRect.top += kIconMargin;
    textRect.left += 2 + 32 + space;
    textRect.right -= 2 * space;
    const CString whole = GetItemText(index, 0);
    const std::wstring all(static_cast<LPCWSTR>(whole));
    const size_t lineFeed = all.find(L'\n');
    const std::wstring name = lineFeed == std::wstring::npos ? all : all.substr(lineFeed + 1);
    const std::wstring second = lineFeed == std::wstring::npos ? std::wstring() : all.substr(0, lineFeed);

    LOGFONTW logFont{};
    CFont* current = dc->GetCurrentFont();
    if (current == nullptr || !current->GetLogFont(&logFont))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    LOGFONTW boldFace = logFont;
    boldFace.lfWeight = FW_BOLD;
    CFont bold;
    bold.CreateFontIndirect(&boldFace);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(text);
    CFont* previous = dc->SelectObject(&bold);
    CRect nameRect = textRect;
    dc->DrawText(name.c_str(), static_cast<int>(name.size()), &nameRect,
                 DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP);
    dc->SelectObject(previous);
    const int h = std::abs(static_cast<int>(logFont.lfHeight));
    textRect.top += h + h / 4;
    if (!second.empty())
        dc->DrawText(second.c_str(), static_cast<int>(second.size()), &textRect,
                     DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP);
    if ((dis->itemState & ODS_FOCUS) != 0 && focused)
        dc->DrawFocusRect(&label);
    dc->RestoreDC(saved);
}

INT_PTR CCommandList::OnToolHitTest(CPoint point, TTTOOLINFOW* pTI) const {
    UINT flags = 0;
    const int index = HitTest(point, &flags);
    CRect bounds;
    if ((flags & 0x46) == 0 || index < 0 || index >= GetItemCount() ||
        !GetItemRect(index, &bounds, LVIR_BOUNDS))
        return -1;
    const auto id = static_cast<INT_PTR>(GetItemData(index));
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(id);
        pTI->rect = bounds;
        pTI->lpszText = nullptr;
    }
    return id;
}

BOOL CCommandList::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The cards take their shortcuts from the bars of the frame the list shows in, which a
    // floating pane knows only once it is placed: the context is made at the first pointer move.
    if (!m_toolTips && message == WM_MOUSEMOVE) {
        CWnd* frame = FindCommandHost::Instance().GetFrameOfWindow(this);
        m_toolTips = std::make_shared<CDVToolTipContext>(FindCommandHost::Instance().GetCommandBars(frame));
    }
    if (m_toolTips)
        m_toolTips->FilterToolTipMessage(this, message, wParam, lParam);
    if (message == WM_CONTEXTMENU) {
        CWnd* frame = FindCommandHost::Instance().GetFrameOfWindow(this);
        HMENU menu = BuildContextMenu(frame);
        CPoint at(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (at.x == -1 && at.y == -1)
            ::GetCursorPos(&at);
        if (m_toolTips)
            m_toolTips->CancelToolTips();
        const UINT chosen = static_cast<UINT>(
            ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, m_hWnd, nullptr));
        ::DestroyMenu(menu);
        if (chosen != 0)
            OnContextMenuCommand(chosen, frame);
        if (pResult != nullptr)
            *pResult = 0;
        return TRUE;
    }
    return CListCtrl::OnWndMsg(message, wParam, lParam, pResult);
}

int CCommandList::GetSelectedCommandId() const {
    if (GetSelectedCount() != 1)
        return 0;
    const int row = GetNextItem(-1, LVNI_SELECTED);
    return row < 0 ? 0 : static_cast<int>(GetItemData(row));
}

HMENU CCommandList::BuildContextMenu(CWnd* frame) const {
    FindCommandHost& host = FindCommandHost::Instance();
    HMENU menu = ::CreatePopupMenu();
    const auto add = [&](UINT id, const char* key, UINT flags = 0) {
        const std::wstring text = Dravik::I18n::Translate(key);
        ::AppendMenuW(menu, MF_STRING | flags, id, text.c_str());
    };
    if (const int id = GetSelectedCommandId(); id != 0) {
        if (frame != nullptr && host.IsCommandEnabled(id, const_cast<CCommandList*>(this), frame)) {
            add(ID_FINDCOMMAND_RUN, "FindCommand.RunCommand");
            ::SetMenuDefaultItem(menu, ID_FINDCOMMAND_RUN, FALSE);
        }
        if (frame != nullptr)
            add(ID_FINDCOMMAND_FIND_IN_TOOLBARS, "FindCommand.FindInToolBars");
        if (frame != nullptr && host.IsRibbonMode(frame))
            add(ID_FINDCOMMAND_ADD_TO_RIBBON, "FindCommand.AddToRibbonBar");
        add(ID_FINDCOMMAND_HELP, "FindCommand.Help");
    }
    add(ID_FINDCOMMAND_BY_SYNONYMS, "FindCommand.FindBySynonyms",
        GetOptions().findBySynonyms != 0 ? MF_CHECKED : MF_UNCHECKED);
    return menu;
}

void CCommandList::OnContextMenuCommand(UINT command, CWnd* frame) {
    FindCommandHost& host = FindCommandHost::Instance();
    const int id = GetSelectedCommandId();
    switch (command) {
    case ID_FINDCOMMAND_RUN:
        if (id != 0 && frame != nullptr && host.IsCommandEnabled(id, this, frame))
            host.RunCommand(frame, id);
        break;
    case ID_FINDCOMMAND_FIND_IN_TOOLBARS:
        if (id != 0 && frame != nullptr)
            host.FindInToolBars(frame, id);
        break;
    case ID_FINDCOMMAND_ADD_TO_RIBBON:
        if (id != 0 && frame != nullptr && host.IsRibbonMode(frame))
            host.AddToRibbon(frame, id);
        break;
    case ID_FINDCOMMAND_HELP:
        if (id != 0)
            host.ShowHelpTopic(static_cast<UINT>(id) * 100);
        break;
    case ID_FINDCOMMAND_BY_SYNONYMS:
        GetOptions().findBySynonyms = GetOptions().findBySynonyms != 0 ? 0 : 1;
        if (m_dialog != nullptr)
            m_dialog->RefreshList();
        break;
    default:
        break;
    }
}

// The form.

IMPLEMENT_DYNAMIC(FindCommandDialog, CXTPResizeFormView)

FindCommandDialog::FindCommandDialog()
    : CXTPResizeFormView(kTemplate), m_background(::GetSysColor(COLOR_BTNFACE)) {}

void FindCommandDialog::OnInitialUpdate() {
    CXTPResizeFormView::OnInitialUpdate();
    OnInitDialog();
}

BOOL FindCommandDialog::OnInitDialog() {
    m_list.SubclassDlgItem(kListId, this);
    m_searchBox.SubclassDlgItem(kSearchBoxId, this);
    SetResize(kSearchBoxId, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_TOPRIGHT);
    SetResize(kListId, XTP_ANCHOR_TOPLEFT, XTP_ANCHOR_BOTTOMRIGHT);
    m_list.SetDialog(this);
    m_list.SetBkColor(m_list.GetBackColor());
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, 100);
    sizeColumn();
    m_searchBox.SetWindowText(m_typedFilter.c_str());
    return FALSE;
}

void FindCommandDialog::sizeColumn() {
    if (!::IsWindow(m_list.m_hWnd))
        return;
    CRect rc;
    m_list.GetWindowRect(&rc);
    m_list.SetColumnWidth(0, std::max(0, static_cast<int>(rc.Width()) - scrollBarWidth() - 4));
}

void FindCommandDialog::SetFilter(const std::wstring& typed) {
    m_typedFilter = typed;
    m_searchableFilter = Dravik::GetSearchableEquivalent(typed);
    if (::IsWindow(m_list.m_hWnd))
        RefreshList();
}

void FindCommandDialog::RefreshList() {
    m_listCurrent = true;
    const std::vector<FoundCommand> found = FillCommandList(m_searchableFilter);
    if (!::IsWindow(m_list.m_hWnd))
        return;
    m_list.DeleteAllItems();
    m_list.SetItemCount(static_cast<int>(found.size()));
    int row = 0;
    for (const FoundCommand& command : found) {
        const int at = m_list.InsertItem(row++, command.text.c_str());
        if (at >= 0)
            m_list.SetItemData(at, static_cast<DWORD_PTR>(command.id));
    }
    m_list.Invalidate();
}

void FindCommandDialog::RunRow(int row) {
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    const int id = static_cast<int>(m_list.GetItemData(row));
    FindCommandHost& host = FindCommandHost::Instance();
    CWnd* frame = host.GetFrameOfWindow(this);
    if (frame != nullptr && host.IsCommandEnabled(id, this, frame))
        host.RunCommand(frame, id);
}

LRESULT FindCommandDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = CXTPResizeFormView::WindowProc(message, wParam, lParam);
        sizeColumn();
        return result;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure != nullptr && measure->CtlID == kListId) {
            HDC screen = ::GetDC(nullptr);
            const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
            if (screen != nullptr)
                ::ReleaseDC(nullptr, screen);
            measure->itemHeight = static_cast<UINT>(kRowHeight * (dpi > 0 ? dpi : 96) / 96);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw != nullptr && draw->CtlID == kListId && ::IsWindow(m_list.m_hWnd)) {
            m_list.DrawItem(draw);
            return TRUE;
        }
        break;
    }
    case WM_ERASEBKGND: {
        CRect rc;
        GetClientRect(&rc);
        CDC::FromHandle(reinterpret_cast<HDC>(wParam))->FillSolidRect(&rc, m_background);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kSearchBoxId && ::IsWindow(m_searchBox.m_hWnd)) {
            if (HIWORD(wParam) == CBN_EDITCHANGE) {
                SetFilter(windowText(m_searchBox));
                return 0;
            }
            if (HIWORD(wParam) == CBN_SELENDOK) {
                const int selected = m_searchBox.GetCurSel();
                if (selected >= 0) {
                    CString text;
                    m_searchBox.GetLBText(selected, text);
                    SetFilter(static_cast<LPCWSTR>(text));
                }
                return 0;
            }
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == kListId && header->code == NM_DBLCLK) {
            const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            if (item->iSubItem == 0)
                RunRow(item->iItem);
            return 0;
        }
        break;
    }
    case WM_USER:
        if (!m_listCurrent && IsWindowVisible())
            RefreshList();
        return 0;
    default:
        break;
    }
    return CXTPResizeFormView::WindowProc(message, wParam, lParam);
}

// The pane window.

IMPLEMENT_DYNAMIC(CFindCommandWnd, Dravik::UI::DockingPaneChildWindow)

CFindCommandWnd::CFindCommandWnd() = default;

CFindCommandWnd::~CFindCommandWnd() {
    if (m_dialog && ::IsWindow(m_dialog->m_hWnd))
        m_dialog->DestroyWindow();
}

LRESULT CFindCommandWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = DockingPaneChildWindow::WindowProc(message, wParam, lParam);
        if (result == -1)
            return result;
        m_dialog = std::make_unique<FindCommandDialog>();
        if (!m_dialog->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST)) {
            m_dialog.reset();
            return result;
        }
        m_dialog->OnInitialUpdate();
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = DockingPaneChildWindow::WindowProc(message, wParam, lParam);
        if (m_dialog && ::IsWindow(m_dialog->m_hWnd)) {
            CRect rc;
            GetClientRect(&rc);
            m_dialog->MoveWindow(&rc);
        }
        return result;
    }
    case WM_SHOWWINDOW:
        if (wParam != 0 && m_dialog && !m_dialog->IsListCurrent())
            m_dialog->RefreshList();
        break;
    default:
        break;
    }
    return DockingPaneChildWindow::WindowProc(message, wParam, lParam);
}

void CFindCommandWnd::OnShowPane(CXTPDockingPane*) {
    if (!m_dialog)
        return;
    if (!m_dialog->IsListCurrent())
        m_dialog->RefreshList();
    if (::IsWindow(m_dialog->GetSearchBox().m_hWnd))
        m_dialog->GetSearchBox().SetFocus();
}

bool CFindCommandWnd::ShowToolTipHelp() {
    if (!m_dialog)
        return false;
    CDVToolTipContext* context = m_dialog->GetList().GetToolTipContext();
    if (context == nullptr)
        return false;
    CXTPToolTipContextToolTip* tip = context->GetToolTip();
    if (tip == nullptr || !::IsWindow(tip->m_hWnd) || !tip->IsWindowVisible() || tip->GetToolId() == 0)
        return false;
    FindCommandHost::Instance().ShowContextHelp(tip->GetToolId() * 100);
    return true;
}

void CFindCommandWnd::OnCommandRegistered(int id) {
    if (!m_dialog || !m_dialog->IsListCurrent() || !IsCommandVisible(static_cast<unsigned>(id)))
        return;
    const std::optional<UIModuleProxy::CommandStrings> strings =
        UIModuleProxy::Instance().GetCommandStrings(static_cast<unsigned>(id));
    if (!strings || strings->Caption.empty())
        return;
    m_dialog->MarkListStale();
    if (::IsWindow(m_dialog->m_hWnd))
        ::PostMessageW(m_dialog->m_hWnd, WM_USER, 0, 0);
}

void CFindCommandWnd::SetTheme(int theme, CXTPDockingPane* pane) {
    DockingPaneChildWindow::SetTheme(theme, pane);
    if (::IsWindow(m_hWnd))
        Invalidate();
    if (!m_dialog)
        return;
    const XTPControlTheme control = theme == 4   ? xtpControlThemeOffice2013
                                    : theme == 8 ? xtpControlThemeVisualStudio2015
                                                 : xtpControlThemeDefault;
    if (::IsWindow(m_dialog->GetSearchBox().m_hWnd))
        m_dialog->GetSearchBox().SetTheme(control);
    if (control == xtpControlThemeDefault) {
        m_dialog->GetList().SetColors(GetXtremeColor(COLOR_WINDOW), GetXtremeColor(COLOR_HIGHLIGHT),
                                      GetXtremeColor(COLOR_WINDOWTEXT), GetXtremeColor(COLOR_HIGHLIGHTTEXT));
    } else {
        const XTP_CONTROL_THEME_COLORS colors = XTPGetControlThemeColors(control);
        m_dialog->GetList().SetColors(colors.clrFace, colors.clrHighlight, colors.clrText,
                                      colors.clrHighlightText);
    }
    m_dialog->SetBackgroundColor(CXTPPaintManager::Current()->GetColors().clrWindow);
    if (::IsWindow(m_dialog->m_hWnd))
        m_dialog->Invalidate();
}
