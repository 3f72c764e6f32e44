// How the controls look.
#include "paint.h"

namespace pal::controls {

SIZE measureText(HDC, const std::wstring& text, LONG width, bool wrap) {
    constexpr LONG kChar = 7, kLine = 16;
    const LONG natural = static_cast<LONG>(text.size()) * kChar;
    if (!wrap || width <= 0 || natural <= width)
        return SIZE{natural, kLine};
    const LONG lines = (natural + width - 1) / width;
    return SIZE{width, lines * kLine};
}

void paintButton(HDC, HWND, DWORD, LONG_PTR) {}
void paintEdit(HDC, HWND, const std::wstring&, size_t, size_t, bool) {}
void paintList(HDC, HWND, const ListState&, bool) {}
void paintStatic(HDC, HWND) {}
void paintDialog(HDC, HWND) {}
void paintBoxIcon(HDC, UINT, POINT) {}
void paintWrappedText(HDC, const std::wstring&, const RECT&) {}

} // namespace pal::controls
