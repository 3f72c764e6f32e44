// The standard controls dialogs need, for as long as the Windows layer has none: a button
// that keeps its check state and reports clicks, and an edit box that is its text.
#include "afx/controls.h"

#include <mutex>

namespace {

// The check state lives in the window's user data; a click toggles check boxes and tells the parent.
LRESULT buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD type = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
    switch (message) {
    case BM_GETCHECK:
        return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case BM_SETCHECK:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        return 0;
    case BM_CLICK:
    case WM_LBUTTONUP: {
        if (!IsWindowEnabled(hwnd))
            return 0;
        const LONG_PTR state = GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        if (type == BS_AUTOCHECKBOX)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        else if (type == BS_AUTO3STATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, (state + 1) % 3);
        else if (type == BS_AUTORADIOBUTTON)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, BST_CHECKED);
        const int id = GetDlgCtrlID(hwnd);
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_SETTEXT) {
        const int id = GetDlgCtrlID(hwnd);
        SendMessageW(GetParent(hwnd), WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(EN_CHANGE)),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    return result;
}

} // namespace

namespace pal::mfc {

void registerStandardControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct Control {
            const wchar_t* name;
            WNDPROC proc;
        };
        for (const Control& c : {Control{L"Button", &buttonProc}, Control{L"Edit", &editProc},
                                 Control{L"Static", &DefWindowProcW}}) {
            WNDCLASSEXW wc{};
            if (GetClassInfoExW(nullptr, c.name, &wc))
                continue;
            wc = WNDCLASSEXW{};
            wc.cbSize = sizeof wc;
            wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
            wc.lpfnWndProc = c.proc;
            wc.lpszClassName = c.name;
            RegisterClassExW(&wc);
        }
    });
}

} // namespace pal::mfc
