// "ComboBox": an edit box (simple and drop-down) or a selection field (drop-down list) over a
// list. The list of a drop-down box is a popup window of its own ("ComboLBox") that opens under
// the box; the box speaks for the list to its parent, in the platform's order of CBN_*.
#include "combo_private.h"
#include "control.h"
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

constexpr UINT kEditId = 1001;
constexpr UINT kListId = 1000;
constexpr int kDefaultVisibleItems = 8;

struct Combo {
    HWND list = nullptr;
    HWND edit = nullptr;
    bool dropped = false;
    bool focused = false;
    bool pressed = false;
    bool extendedUI = false;
    bool quiet = false; // the box changes its own edit: no CBN_EDITCHANGE
    int committed = -1; // the selection the parent last heard of
    int droppedWidth = 0;
    int fieldHeight = 0;
    int droppedHeight = 0; // the height the box was made with: field and dropped list together
    HFONT font = nullptr;
    WNDPROC editProc = nullptr;
};

DWORD kindOf(DWORD style) {
    return style & 3;
}

int buttonWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

int selection(const Combo& c) {
    return static_cast<int>(SendMessageW(c.list, LB_GETCURSEL, 0, 0));
}

std::wstring itemText(const Combo& c, int index) {
    const LRESULT n = SendMessageW(c.list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(c.list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    return text;
}

// The edit shows the chosen item, selected, as the platform does.
void showSelectionInEdit(HWND hwnd, Combo& c) {
    if (c.edit) {
        const int sel = selection(c);
        c.quiet = true;
        SetWindowTextW(c.edit, sel >= 0 ? itemText(c, sel).c_str() : L"");
        c.quiet = false;
        if (GetFocus() == c.edit)
            SendMessageW(c.edit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

RECT fieldRect(HWND hwnd, const Combo& c) {
    RECT r{};
    GetClientRect(hwnd, &r);
    if (kindOf(styleOf(hwnd)) == CBS_SIMPLE)
        r.bottom = r.top + c.fieldHeight;
    return r;
}

void layout(HWND hwnd, Combo& c) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const DWORD kind = kindOf(styleOf(hwnd));
    if (kind == CBS_SIMPLE) {
        if (c.edit)
            MoveWindow(c.edit, 0, 0, r.right, c.fieldHeight, TRUE);
        MoveWindow(c.list, 0, c.fieldHeight, r.right, std::max(0, static_cast<int>(r.bottom) - c.fieldHeight),
                   TRUE);
    } else if (c.edit) {
        MoveWindow(c.edit, 2, 2, std::max(0, static_cast<int>(r.right) - buttonWidth() - 4),
                   std::max(0, static_cast<int>(r.bottom) - 4), TRUE);
    }
}

// The dropped list takes the height the box was made with below its field, or room for a few
// items when that is too little.
int listHeight(const Combo& c) {
    const int item = static_cast<int>(SendMessageW(c.list, LB_GETITEMHEIGHT, 0, 0));
    const int given = c.droppedHeight - c.fieldHeight;
    if (given >= item + 2)
        return given;
    const int items =
        std::clamp(static_cast<int>(SendMessageW(c.list, LB_GETCOUNT, 0, 0)), 1, kDefaultVisibleItems);
    return items * item + 2;
}

void drop(HWND hwnd, Combo& c) {
    if (c.dropped || kindOf(styleOf(hwnd)) == CBS_SIMPLE)
        return;
    notifyCommand(hwnd, CBN_DROPDOWN);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int height = listHeight(c);
    const int width = std::max(static_cast<int>(r.right - r.left), c.droppedWidth);
    SetWindowPos(c.list, HWND_TOP, r.left, r.bottom, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    c.dropped = true;
    c.committed = selection(c);
    const int sel = c.committed;
    if (sel >= 0)
        SendMessageW(c.list, LB_SETTOPINDEX, static_cast<WPARAM>(sel), 0);
    SetCapture(c.list);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Closes the dropped list; `ok` says whether the person's choice stands.
void closeUp(HWND hwnd, Combo& c, bool ok) {
    if (!c.dropped)
        return;
    notifyCommand(hwnd, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    c.dropped = false;
    // What the mouse only hovered over is not a choice.
    if (!ok && selection(c) != c.committed) {
        SendMessageW(c.list, LB_SETCURSEL, static_cast<WPARAM>(c.committed), 0);
        showSelectionInEdit(hwnd, c);
    }
    if (GetCapture() == c.list)
        ReleaseCapture();
    ShowWindow(c.list, SW_HIDE);
    c.pressed = false;
    InvalidateRect(hwnd, nullptr, FALSE);
    notifyCommand(hwnd, CBN_CLOSEUP);
}

// A key or a click chose `index` while the list was closed, or the person picked it in the list.
void chooseClosed(HWND hwnd, Combo& c, int index) {
    const int count = static_cast<int>(SendMessageW(c.list, LB_GETCOUNT, 0, 0));
    if (count == 0)
        return;
    index = std::clamp(index, 0, count - 1);
    if (index == selection(c))
        return;
    SendMessageW(c.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    showSelectionInEdit(hwnd, c);
    notifyCommand(hwnd, CBN_SELENDOK);
    notifyCommand(hwnd, CBN_SELCHANGE);
}

void picked(HWND hwnd, Combo& c, int index) {
    const int before = c.committed;
    if (index >= 0)
        SendMessageW(c.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    showSelectionInEdit(hwnd, c);
    if (c.dropped)
        closeUp(hwnd, c, true);
    else if (selection(c) != before)
        notifyCommand(hwnd, CBN_SELENDOK); // the list of a simple box is always open
    c.committed = selection(c);
    if (selection(c) != before)
        notifyCommand(hwnd, CBN_SELCHANGE);
    if (c.edit)
        SetFocus(c.edit);
}

// Keys that the box handles itself, whether the focus is on it or on its edit. True when taken.
bool key(HWND hwnd, Combo& c, WPARAM vk) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    const DWORD kind = kindOf(styleOf(hwnd));
    const int sel = selection(c);
    if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP)) ||
        (c.extendedUI && vk == VK_DOWN && !c.dropped)) {
        if (kind == CBS_SIMPLE)
            return false;
        if (c.dropped)
            closeUp(hwnd, c, true);
        else
            drop(hwnd, c);
        return true;
    }
    if (c.dropped) {
        switch (vk) {
        case VK_RETURN:
            picked(hwnd, c, sel);
            return true;
        case VK_ESCAPE:
            closeUp(hwnd, c, false);
            return true;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END: {
            SendMessageW(c.list, WM_KEYDOWN, vk, 0);
            return true;
        }
        default:
            return false;
        }
    }
    switch (vk) {
    case VK_UP:
        chooseClosed(hwnd, c, sel < 0 ? 0 : sel - 1);
        return true;
    case VK_DOWN:
        chooseClosed(hwnd, c, sel + 1);
        return true;
    case VK_HOME:
        if (kind != CBS_DROPDOWNLIST)
            return false;
        chooseClosed(hwnd, c, 0);
        return true;
    case VK_END:
        if (kind != CBS_DROPDOWNLIST)
            return false;
        chooseClosed(hwnd, c, static_cast<int>(SendMessageW(c.list, LB_GETCOUNT, 0, 0)) - 1);
        return true;
    default:
        return false;
    }
}

// The edit of a combo box hands the box its navigation keys.
LRESULT comboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = GetParent(edit);
    Combo* c = stateOf<Combo>(hwnd);
    if (!c)
        return DefWindowProcW(edit, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (key(hwnd, *c, wParam))
            return 0;
        break;
    case WM_CHAR:
        if ((wParam == L'\r' || wParam == 0x1B) && c->dropped)
            return 0;
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CallWindowProcW(c->editProc, edit, message, wParam, lParam);
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (c->dropped && msg && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    default:
        break;
    }
    return CallWindowProcW(c->editProc, edit, message, wParam, lParam);
}

void create(HWND hwnd, Combo& c) {
    const DWORD style = styleOf(hwnd);
    const DWORD kind = kindOf(style);
    // Scroll bars asked of a combo box are its list's: the box itself has none.
    const DWORD bars = style & (WS_VSCROLL | WS_HSCROLL);
    if (bars != 0) {
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style & ~bars));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    c.fieldHeight = lineHeight(c.font) + 8;
    RECT made{};
    GetClientRect(hwnd, &made);
    c.droppedHeight = made.bottom;
    const HINSTANCE instance = nullptr;
    DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | (bars & WS_HSCROLL);
    if (style & CBS_SORT)
        listStyle |= LBS_SORT;
    if (style & CBS_OWNERDRAWFIXED)
        listStyle |= LBS_OWNERDRAWFIXED;
    if (style & CBS_OWNERDRAWVARIABLE)
        listStyle |= LBS_OWNERDRAWVARIABLE;
    if (style & CBS_HASSTRINGS)
        listStyle |= LBS_HASSTRINGS;
    if (kind == CBS_SIMPLE)
        c.list = CreateWindowExW(0, L"ComboLBox", L"", listStyle | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), instance, nullptr);
    else
        c.list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"ComboLBox", L"",
                                 listStyle | WS_POPUP, 0, 0, 0, 0, hwnd, nullptr, instance, nullptr);
    SendMessageW(c.list, kListSetCombo, reinterpret_cast<WPARAM>(hwnd), 0);
    // A drop-down box is as tall as its field; the rest of its height is for the dropped list.
    if (kind != CBS_SIMPLE)
        SetWindowPos(hwnd, nullptr, 0, 0, made.right, c.fieldHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (kind != CBS_DROPDOWNLIST) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (style & CBS_UPPERCASE)
            editStyle |= ES_UPPERCASE;
        if (style & CBS_LOWERCASE)
            editStyle |= ES_LOWERCASE;
        c.edit =
            CreateWindowExW(0, L"Edit", L"", editStyle | (kind == CBS_SIMPLE ? WS_BORDER : 0), 0, 0, 0, 0,
                            hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), instance, nullptr);
        c.editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(c.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&comboEditProc)));
    }
    layout(hwnd, c);
}

// Forwards a CB_* message to the list as its LB_* twin, with the box's error value.
LRESULT toList(const Combo& c, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(c.list, message, wParam, lParam);
}

bool focusInside(HWND hwnd, HWND focus) {
    return focus == hwnd || (focus && IsChild(hwnd, focus));
}

void paint(HWND hwnd, UINT message, WPARAM wParam, Combo& c) {
    const DWORD style = styleOf(hwnd);
    std::wstring text;
    const bool list = kindOf(style) == CBS_DROPDOWNLIST;
    if (list && selection(c) >= 0)
        text = itemText(c, selection(c));
    ComboLook look{style, list ? &text : nullptr, c.focused && list, c.dropped, c.pressed, buttonWidth(),
                   c.font};
    paintControl(hwnd, message, wParam, [&](HDC dc, const RECT&) {
        const RECT field = fieldRect(hwnd, c);
        paintCombo(hwnd, dc, field, look);
    });
}

} // namespace

LRESULT comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Combo* c = attachState<Combo>(hwnd, message);
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    const DWORD kind = kindOf(style);
    switch (message) {
    case WM_CREATE:
        create(hwnd, *c);
        return c->list ? 0 : -1;
    case WM_DESTROY:
        if (c->list && !IsChild(hwnd, c->list))
            DestroyWindow(c->list);
        c->list = nullptr;
        break;
    case WM_SIZE:
        layout(hwnd, *c);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (c->dropped && msg && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS:
        if (c->edit) {
            SetFocus(c->edit);
            SendMessageW(c->edit, EM_SETSEL, 0, -1);
            return 0;
        }
        if (!c->focused) {
            c->focused = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            notifyCommand(hwnd, CBN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS:
        if (focusInside(hwnd, reinterpret_cast<HWND>(wParam)))
            return 0;
        closeUp(hwnd, *c, false);
        if (c->focused) {
            c->focused = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            notifyCommand(hwnd, CBN_KILLFOCUS);
        }
        return 0;
    case WM_COMMAND: {
        // From the edit: its changes and focus become the box's.
        if (reinterpret_cast<HWND>(lParam) != c->edit || !c->edit)
            return 0;
        switch (HIWORD(wParam)) {
        case EN_UPDATE:
            if (!c->quiet)
                notifyCommand(hwnd, CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (!c->quiet)
                notifyCommand(hwnd, CBN_EDITCHANGE);
            break;
        case EN_SETFOCUS:
            if (!c->focused) {
                c->focused = true;
                notifyCommand(hwnd, CBN_SETFOCUS);
            }
            break;
        case EN_KILLFOCUS:
            if (!focusInside(hwnd, GetFocus())) {
                closeUp(hwnd, *c, false);
                if (c->focused) {
                    c->focused = false;
                    notifyCommand(hwnd, CBN_KILLFOCUS);
                }
            }
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (kind == CBS_SIMPLE)
            return 0;
        if (c->edit && GetFocus() != c->edit)
            SetFocus(c->edit);
        else if (!c->edit)
            SetFocus(hwnd);
        if (c->dropped) {
            closeUp(hwnd, *c, false);
            return 0;
        }
        c->pressed = true;
        drop(hwnd, *c);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (key(hwnd, *c, wParam))
            return 0;
        break;
    case WM_CHAR:
        // A drop-down list moves to the next item starting with the typed letter.
        if (kind == CBS_DROPDOWNLIST && wParam >= 0x20) {
            const wchar_t text[2] = {static_cast<wchar_t>(wParam), 0};
            const LRESULT found = SendMessageW(c->list, LB_FINDSTRING, static_cast<WPARAM>(selection(*c)),
                                               reinterpret_cast<LPARAM>(text));
            if (found != LB_ERR) {
                if (c->dropped) {
                    SendMessageW(c->list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
                    c->committed = static_cast<int>(found);
                    notifyCommand(hwnd, CBN_SELCHANGE);
                } else
                    chooseClosed(hwnd, *c, static_cast<int>(found));
            }
        }
        return 0;
    case kComboPicked:
        picked(hwnd, *c, static_cast<int>(wParam));
        return 0;
    case kComboDismissed:
        closeUp(hwnd, *c, false);
        return 0;
    case kComboTracked:
        if (kind == CBS_SIMPLE) {
            showSelectionInEdit(hwnd, *c);
            notifyCommand(hwnd, CBN_SELENDOK);
        } else if (c->dropped) {
            showSelectionInEdit(hwnd, *c);
        }
        c->committed = selection(*c);
        notifyCommand(hwnd, CBN_SELCHANGE);
        return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        // Owner-drawn items of the list are the box's: its parent draws them under the box's id.
        if (message == WM_MEASUREITEM)
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType = ODT_COMBOBOX;
        return SendMessageW(GetParent(hwnd), message, static_cast<WPARAM>(idOf(hwnd)), lParam);
    case CB_ADDSTRING:
        return toList(*c, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
        return toList(*c, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return toList(*c, LB_DELETESTRING, wParam, lParam);
    case CB_RESETCONTENT:
        toList(*c, LB_RESETCONTENT, 0, 0);
        if (c->edit) {
            c->quiet = true;
            SetWindowTextW(c->edit, L"");
            c->quiet = false;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return CB_OKAY;
    case CB_GETCOUNT:
        return toList(*c, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
        return toList(*c, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL: {
        // An index that is not there clears the selection.
        const LRESULT result = toList(*c, LB_SETCURSEL, wParam, 0);
        if (result == LB_ERR)
            toList(*c, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        showSelectionInEdit(hwnd, *c);
        return result;
    }
    case CB_GETLBTEXT:
        return toList(*c, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return toList(*c, LB_GETTEXTLEN, wParam, 0);
    case CB_GETITEMDATA:
        return toList(*c, LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA:
        return toList(*c, LB_SETITEMDATA, wParam, lParam) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_FINDSTRING:
        return toList(*c, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return toList(*c, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        const LRESULT found = toList(*c, LB_FINDSTRING, wParam, lParam);
        if (found != LB_ERR) {
            toList(*c, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
            showSelectionInEdit(hwnd, *c);
        }
        return found;
    }
    case CB_GETTOPINDEX:
        return toList(*c, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
        return toList(*c, LB_SETTOPINDEX, wParam, 0) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_GETITEMHEIGHT:
        if (static_cast<int>(wParam) == -1)
            return c->fieldHeight - 6;
        return toList(*c, LB_GETITEMHEIGHT, wParam == static_cast<WPARAM>(-1) ? 0 : wParam, 0);
    case CB_SETITEMHEIGHT:
        if (static_cast<int>(wParam) == -1) {
            if (lParam <= 0 || lParam > 255)
                return CB_ERR;
            c->fieldHeight = static_cast<int>(lParam) + 6;
            layout(hwnd, *c);
            return CB_OKAY;
        }
        return toList(*c, LB_SETITEMHEIGHT, wParam, lParam);
    case CB_SHOWDROPDOWN:
        if (wParam) {
            drop(hwnd, *c);
        } else {
            closeUp(hwnd, *c, false);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return c->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        if (!lParam)
            return CB_ERR;
        RECT r{};
        GetWindowRect(hwnd, &r);
        RECT list{};
        GetWindowRect(c->list, &list);
        const int height = c->dropped ? static_cast<int>(list.bottom - list.top) : listHeight(*c);
        *reinterpret_cast<RECT*>(lParam) =
            RECT{r.left, r.top, r.left + std::max(static_cast<int>(r.right - r.left), c->droppedWidth),
                 r.bottom + height};
        return TRUE;
    }
    case CB_GETDROPPEDWIDTH: {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return std::max(static_cast<int>(r.right - r.left), c->droppedWidth);
    }
    case CB_SETDROPPEDWIDTH:
        c->droppedWidth = static_cast<int>(wParam);
        return comboBoxProc(hwnd, CB_GETDROPPEDWIDTH, 0, 0);
    case CB_SETEXTENDEDUI:
        c->extendedUI = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return c->extendedUI ? TRUE : FALSE;
    case CB_LIMITTEXT:
        if (!c->edit)
            return CB_ERR;
        SendMessageW(c->edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_GETEDITSEL:
        return c->edit ? SendMessageW(c->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        if (!c->edit)
            return CB_ERR;
        SendMessageW(c->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                     static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
        return TRUE;
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
        if (!info || info->cbSize != sizeof(COMBOBOXINFO))
            return FALSE;
        RECT r{};
        GetClientRect(hwnd, &r);
        info->rcItem = fieldRect(hwnd, *c);
        info->rcButton =
            kind == CBS_SIMPLE ? RECT{} : RECT{r.right - buttonWidth(), r.top, r.right, r.bottom};
        info->stateButton = 0;
        info->hwndCombo = hwnd;
        info->hwndItem = c->edit ? c->edit : hwnd;
        info->hwndList = c->list;
        return TRUE;
    }
    case WM_SETTEXT:
        if (c->edit) {
            DefWindowProcW(hwnd, message, wParam, lParam);
            c->quiet = true;
            SetWindowTextW(c->edit, reinterpret_cast<LPCWSTR>(lParam));
            c->quiet = false;
            return TRUE;
        } else {
            const LRESULT found = toList(*c, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
            if (found == LB_ERR)
                return CB_ERR;
            toList(*c, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        std::wstring text;
        if (c->edit)
            text = textOf(c->edit);
        else if (selection(*c) >= 0)
            text = itemText(*c, selection(*c));
        if (message == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        if (!out || wParam == 0)
            return 0;
        const size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
        std::copy_n(text.data(), n, out);
        out[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        c->font = reinterpret_cast<HFONT>(wParam);
        if (c->edit)
            SendMessageW(c->edit, WM_SETFONT, wParam, lParam);
        SendMessageW(c->list, WM_SETFONT, wParam, lParam);
        c->fieldHeight = lineHeight(c->font) + 8;
        if (kindOf(styleOf(hwnd)) != CBS_SIMPLE) {
            RECT r{};
            GetClientRect(hwnd, &r);
            SetWindowPos(hwnd, nullptr, 0, 0, r.right, c->fieldHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        layout(hwnd, *c);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(c->font);
    case WM_ENABLE:
        if (c->edit)
            EnableWindow(c->edit, static_cast<BOOL>(wParam));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        paint(hwnd, message, wParam, *c);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

BOOL getComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
    return static_cast<BOOL>(SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)));
}

} // namespace pal::ctl

BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
    return pal::ctl::getComboBoxInfo(combo, info);
}
