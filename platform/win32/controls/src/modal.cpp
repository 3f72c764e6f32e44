#include "modal.h"

#include <algorithm>

namespace pal::ctl {
namespace {

INT_PTR dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* d = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        d->hwnd_ = hwnd;
        d->build();
        return FALSE; // the dialog puts the focus itself
    }
    auto* d = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!d)
        return FALSE;
    if (message == WM_COMMAND) {
        d->command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    if (message == WM_NOTIFY && lParam) {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, d->notify(reinterpret_cast<const NMHDR*>(lParam)));
        return TRUE;
    }
    INT_PTR result = FALSE;
    return d->message(message, wParam, lParam, result) ? result : FALSE;
}

} // namespace

std::wstring heldText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(InternalGetWindowText(hwnd, text.data(), n + 1)));
    return text;
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

HWND ModalDialog::addControl(const wchar_t* cls, const std::wstring& text, int id, DWORD style, RECT r,
                             DWORD exStyle) {
    const HWND control =
        CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                        r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)), FALSE);
    return control;
}

SIZE ModalDialog::measure(const std::wstring& text, LONG width) const {
    const HDC dc = GetDC(hwnd_);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width > 0 ? width : 0x7FFF, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE) |
                  DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void ModalDialog::click(int id) {
    if (const HWND button = GetDlgItem(hwnd_, id))
        SendMessageW(button, BM_CLICK, 0, 0);
}

HWND ModalDialog::initialFocus() {
    const LRESULT def = SendMessageW(hwnd_, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID)
        if (const HWND button = GetDlgItem(hwnd_, LOWORD(static_cast<DWORD_PTR>(def))))
            return button;
    return GetNextDlgTabItem(hwnd_, nullptr, FALSE);
}

void ModalDialog::end(int result) {
    result_ = result;
    ended_ = true;
}

int ModalDialog::run(HWND owner, const std::wstring& caption) {
    owner_ = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    const pal::win::DialogTemplate empty{0, caption.c_str(), style, 0, 0, 10, 10, nullptr, 0};
    if (!pal::win::createDialog(empty, owner_, &dialogProc, reinterpret_cast<LPARAM>(this)) || !hwnd_)
        return 0;
    // Sized in pixels and centred over the owner, or on the primary monitor's work area.
    const SIZE client = clientSize();
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    const LONG cx = frame.right - frame.left, cy = frame.bottom - frame.top;
    RECT over{};
    if (!owner_ || !GetWindowRect(owner_, &over) || IsIconic(owner_)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &mi);
        over = mi.rcWork;
    }
    SetWindowPos(hwnd_, nullptr, over.left + ((over.right - over.left) - cx) / 2,
                 over.top + ((over.bottom - over.top) - cy) / 2, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);

    pal::win::beginModal(hwnd_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    if (const HWND first = initialFocus())
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);

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
        if (pal::responder::personAnswers()) {
            WaitMessage();
            continue;
        }
        answering_ = true;
        respond();
        answering_ = false;
        // A dialog that no answer moves (a control that ignores its click) must still end.
        if (!ended_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && ++fruitless > 16)
            end(IDCANCEL);
    }

    pal::win::endModal(hwnd_);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return result_;
}

} // namespace pal::ctl
