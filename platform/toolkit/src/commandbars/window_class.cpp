#include "window_class.h"

namespace pal::xtp {

namespace {

LPCWSTR ensure(LPCWSTR name, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(nullptr, name, &wc))
        return name;
    wc.style = style;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
    return name;
}

} // namespace

LPCWSTR barWindowClass() {
    return ensure(L"DvCommandBar", CS_DBLCLKS);
}
LPCWSTR popupWindowClass() {
    return ensure(L"DvCommandBarPopup", CS_DBLCLKS | CS_DROPSHADOW);
}

} // namespace pal::xtp
