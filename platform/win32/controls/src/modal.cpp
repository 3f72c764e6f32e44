// The dialogs this library runs itself (message boxes, the file dialog): their window procedure
// and their modal loop, in which the responder answers when nobody else does.
#include "control.h"
#include "controls.h"

#include "modal.h"
#include "modal_paint.h"

#include "pal/controls.h"
#include "pal/text.h"

#include <vector>

namespace pal::controls {

std::wstring windowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(InternalGetWindowText(hwnd, text.data(), n + 1)));
    return text;
}

void notifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                     reinterpret_cast<LPARAM>(control));
}

std::wstring withoutMnemonic(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&')
                out += L'&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

wchar_t mnemonicOf(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return pal::text::toLower(std::wstring(1, text[i + 1]))[0];
    }
    return 0;
}

namespace {

ModalDialog* dialogOf(HWND hwnd) {
    return reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT codeOf(HWND control) {
    return SendMessageW(control, WM_GETDLGCODE, 0, 0);
}

bool isPushButton(HWND control) {
    return (codeOf(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

std::vector<HWND> childrenOf(HWND dialog) {
    std::vector<HWND> list;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        list.push_back(c);
    return list;
}

HWND defaultButton(HWND dialog) {
    const LRESULT r = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    const int id =
        HIWORD(static_cast<DWORD_PTR>(r)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(r)) : IDOK;
    return GetDlgItem(dialog, id);
}

// The push button with the focus looks like the default one; with the focus elsewhere the
// dialog's default button does.
void showDefault(HWND dialog, HWND focus) {
    const HWND marked = focus && isPushButton(focus) ? focus : defaultButton(dialog);
    for (HWND c : childrenOf(dialog)) {
        if (!isPushButton(c))
            continue;
        SendMessageW(c, BM_SETSTYLE, c == marked ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

} // namespace

LRESULT dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ModalDialog* d = dialogOf(hwnd);
    switch (message) {
    case WM_COMMAND:
        if (d)
            d->command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE:
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        return 0;
    case DM_GETDEFID:
        return d ? MAKELRESULT(static_cast<WORD>(d->defaultId()), DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (d)
            d->setDefaultId(static_cast<int>(wParam));
        showDefault(hwnd, GetFocus());
        return TRUE;
    case WM_ERASEBKGND:
        paintDialog(reinterpret_cast<HDC>(wParam), hwnd);
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        if (d)
            d->paintFace(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void registerClasses() {
    pal::ctl::registerStandardClasses();
}

// The modal loop ------------------------------------------------------------------------------

HWND ModalDialog::addControl(const wchar_t* cls, const std::wstring& text, int id, DWORD style, RECT r,
                             DWORD exStyle) {
    return CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void ModalDialog::click(int id) {
    if (const HWND button = GetDlgItem(hwnd_, id))
        SendMessageW(button, BM_CLICK, 0, 0);
}

HWND ModalDialog::initialFocus() {
    if (const HWND def = GetDlgItem(hwnd_, defaultId_))
        return def;
    return GetNextDlgTabItem(hwnd_, nullptr, FALSE);
}

void ModalDialog::end(int result) {
    result_ = result;
    ended_ = true;
}

int ModalDialog::run(HWND owner, const std::wstring& caption, SIZE client) {
    registerClasses();
    owner_ = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const LONG cx = frame.right - frame.left, cy = frame.bottom - frame.top;
    // Centred over the owner, or on the primary monitor's work area.
    RECT over{};
    if (!owner_ || !GetWindowRect(owner_, &over) || IsIconic(owner_)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
        over = mi.rcWork;
    }
    const LONG x = over.left + ((over.right - over.left) - cx) / 2;
    const LONG y = over.top + ((over.bottom - over.top) - cy) / 2;
    hwnd_ = CreateWindowExW(exStyle, kDialogClass, caption.c_str(), style, x, y, cx, cy, owner_, nullptr,
                            nullptr, this);
    if (!hwnd_)
        return 0;
    // The dialog's object goes with its window; whoever registered the dialog class first, the
    // window is this library's from here on.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dialogProc));
    build();
    const bool disableOwner = owner_ && IsWindowEnabled(owner_);
    if (disableOwner)
        EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    if (const HWND first = initialFocus()) {
        SetFocus(first);
        showDefault(hwnd_, first);
    }

    int fruitless = 0;
    while (!ended_) {
        MSG msg{};
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            fruitless = 0;
            if (msg.message == WM_QUIT) {
                // The program is ending: the dialog ends too and the loop outside sees WM_QUIT.
                PostQuitMessage(static_cast<int>(msg.wParam));
                end(IDCANCEL);
            } else if (!IsDialogMessageW(hwnd_, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            continue;
        }
        if (owner_)
            SendMessageW(owner_, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hwnd_));
        if (ended_ || PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            continue;
        answering_ = true;
        respond();
        answering_ = false;
        // A dialog that no answer moves (a control that ignores its click) must still end.
        if (!ended_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && ++fruitless > 16)
            end(IDCANCEL);
    }

    if (disableOwner)
        EnableWindow(owner_, TRUE);
    if (owner_ && GetActiveWindow() == hwnd_)
        SetActiveWindow(owner_);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return result_;
}

} // namespace pal::controls
