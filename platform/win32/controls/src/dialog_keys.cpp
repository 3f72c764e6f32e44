// The dialog keyboard: Tab and Shift+Tab through WS_TABSTOP controls, arrow keys within a
// WS_GROUP group, Enter and Escape for the default and Cancel buttons, and mnemonics.
#include "control.h"
#include "dialog_state.h"

#include <cwctype>

namespace pal::ctl {
namespace {

// By the style bits, so that a dialog not yet shown already has its order.
bool usable(HWND c) {
    const DWORD style = styleOf(c);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

bool isTabStop(HWND c) {
    return usable(c) && (styleOf(c) & WS_TABSTOP) && !(GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

// The control where the search starts: the focus itself or the dialog's control that holds it.
HWND controlOf(HWND dialog, HWND hwnd) {
    while (hwnd && GetParent(hwnd) && GetParent(hwnd) != dialog &&
           !(GetWindowLongW(GetParent(hwnd), GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
        hwnd = GetParent(hwnd);
    return hwnd;
}

void sendCommand(HWND dialog, int id, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

void pressEnter(HWND dialog) {
    const HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus) &&
        (dialogCode(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && IsWindowEnabled(focus)) {
        sendCommand(dialog, GetDlgCtrlID(focus), focus);
        return;
    }
    const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    const int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    const HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(0);
        return;
    }
    sendCommand(dialog, id, button);
}

void pressEscape(HWND dialog) {
    const HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel && !IsWindowEnabled(cancel))
        return;
    sendCommand(dialog, IDCANCEL, cancel);
}

void arrow(HWND dialog, HWND focus, bool back) {
    const HWND next = GetNextDlgGroupItem(dialog, focus, back);
    if (!next || next == focus)
        return;
    focusControl(dialog, next);
    // An automatic radio button checks itself when the arrows reach it.
    if ((dialogCode(next) & DLGC_RADIOBUTTON) && (styleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
        SendMessageW(next, BM_CLICK, 0, 0);
}

// A control whose text holds the mnemonic: a button is pressed (or focused and pressed), a label
// passes the focus to the control that follows it.
bool mnemonic(HWND dialog, wchar_t key) {
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(key)));
    const auto controls = dialogControls(dialog);
    const HWND focus = controlOf(dialog, GetFocus());
    size_t start = 0;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == focus)
            start = i + 1;
    }
    for (size_t k = 0; k < controls.size(); ++k) {
        const size_t i = (start + k) % controls.size();
        const HWND c = controls[i];
        if (!usable(c))
            continue;
        const LRESULT code = dialogCode(c);
        if ((code & DLGC_STATIC) && (styleOf(c) & SS_NOPREFIX) && !(code & DLGC_BUTTON))
            continue;
        const wchar_t m = mnemonicOf(textOf(c));
        if (!m || static_cast<wchar_t>(std::towupper(static_cast<wint_t>(m))) != wanted)
            continue;
        if (code & DLGC_STATIC) {
            for (size_t n = i + 1; n < controls.size(); ++n) {
                if (usable(controls[n]) && !(dialogCode(controls[n]) & DLGC_STATIC)) {
                    focusControl(dialog, controls[n]);
                    break;
                }
            }
            return true;
        }
        if (code & DLGC_BUTTON) {
            if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
                SendMessageW(c, BM_CLICK, 0, 0);
            } else {
                focusControl(dialog, c);
                SendMessageW(c, BM_CLICK, 0, 0);
            }
            return true;
        }
        focusControl(dialog, c);
        return true;
    }
    return false;
}

} // namespace
} // namespace pal::ctl

using namespace pal::ctl;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    const auto controls = dialogControls(dialog);
    if (controls.empty())
        return nullptr;
    const int n = static_cast<int>(controls.size());
    int at = previous ? 0 : n - 1;
    if (control) {
        for (int i = 0; i < n; ++i) {
            if (controls[static_cast<size_t>(i)] == control)
                at = i;
        }
    }
    for (int k = 1; k <= n; ++k) {
        const int i = ((at + (previous ? -k : k)) % n + n) % n;
        if (isTabStop(controls[static_cast<size_t>(i)]))
            return controls[static_cast<size_t>(i)];
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    (void)dialog;
    if (!control)
        return nullptr;
    const HWND parent = GetParent(control);
    std::vector<HWND> siblings;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        siblings.push_back(c);
    int at = -1;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i] == control)
            at = static_cast<int>(i);
    }
    if (at < 0)
        return nullptr;
    // The group runs from the last WS_GROUP control at or before this one to the next WS_GROUP.
    int first = at;
    while (first > 0 && !(styleOf(siblings[static_cast<size_t>(first)]) & WS_GROUP))
        --first;
    int last = at + 1;
    while (last < static_cast<int>(siblings.size()) &&
           !(styleOf(siblings[static_cast<size_t>(last)]) & WS_GROUP))
        ++last;
    const int size = last - first;
    for (int k = 1; k <= size; ++k) {
        const int i = first + ((at - first + (previous ? -k : k)) % size + size) % size;
        if (usable(siblings[static_cast<size_t>(i)]))
            return siblings[static_cast<size_t>(i)];
    }
    return control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!dialog || !msg || !IsWindow(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
        return FALSE;
    const LRESULT code = msg->hwnd ? dialogCode(msg->hwnd, msg) : 0;
    if (!(code & DLGC_WANTMESSAGE)) {
        switch (msg->message) {
        case WM_KEYDOWN:
            switch (msg->wParam) {
            case VK_TAB:
                if (code & DLGC_WANTTAB)
                    break;
                if (const HWND next =
                        GetNextDlgTabItem(dialog, controlOf(dialog, GetFocus()), GetKeyState(VK_SHIFT) < 0))
                    focusControl(dialog, next);
                return TRUE;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if (code & DLGC_WANTARROWS)
                    break;
                arrow(dialog, controlOf(dialog, GetFocus()), msg->wParam == VK_LEFT || msg->wParam == VK_UP);
                return TRUE;
            case VK_RETURN:
                pressEnter(dialog);
                return TRUE;
            case VK_ESCAPE:
                pressEscape(dialog);
                return TRUE;
            default:
                break;
            }
            break;
        case WM_CHAR:
            if (code & DLGC_WANTCHARS)
                break;
            if (mnemonic(dialog, static_cast<wchar_t>(msg->wParam)))
                return TRUE;
            // Space belongs to the focused button's press and release; a key that names nothing beeps.
            if (msg->wParam != L' ') {
                MessageBeep(0);
                return TRUE;
            }
            break;
        case WM_SYSCHAR:
            if (mnemonic(dialog, static_cast<wchar_t>(msg->wParam)))
                return TRUE;
            break;
        default:
            break;
        }
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}
