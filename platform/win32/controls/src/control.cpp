#include "control.h"

#include "pal/detail/system_classes.h"

namespace pal::ctl {

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

int idOf(HWND hwnd) {
    return GetDlgCtrlID(hwnd);
}

void notifyCommand(HWND hwnd, UINT code) {
    const HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(idOf(hwnd)), static_cast<WORD>(code)),
                     reinterpret_cast<LPARAM>(hwnd));
}

LRESULT notify(HWND hwnd, UINT code, NMHDR* header) {
    header->hwndFrom = hwnd;
    header->idFrom = static_cast<UINT_PTR>(idOf(hwnd));
    header->code = code;
    const HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header)) : 0;
}

void askContextMenu(HWND hwnd, POINT client) {
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

std::wstring textOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

LRESULT defaultControlColor(UINT message) {
    int index = COLOR_3DFACE;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
        index = COLOR_WINDOW;
    else if (message == WM_CTLCOLORSCROLLBAR)
        index = COLOR_SCROLLBAR;
    return reinterpret_cast<LRESULT>(GetSysColorBrush(index));
}

HBRUSH controlColor(HWND hwnd, HDC dc, UINT message) {
    const HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent)
        brush = SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
    if (!brush)
        brush = defaultControlColor(message);
    return reinterpret_cast<HBRUSH>(brush);
}

void registerControlClass(LPCWSTR name, WNDPROC proc, UINT style, int extra, HBRUSH background) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(nullptr, name, &wc))
        return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extra;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

wchar_t mnemonicOf(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return text[i + 1];
    }
    return 0;
}

} // namespace pal::ctl
