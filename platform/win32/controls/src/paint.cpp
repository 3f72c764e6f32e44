// Until the drawing layer is here the controls only validate what they are asked to paint.
#include "paint.h"

namespace pal::ctl {

void paintControl(HWND hwnd, UINT message, WPARAM wParam, const std::function<void(HDC, const RECT&)>& draw) {
    RECT client{};
    GetClientRect(hwnd, &client);
    if (message == WM_PRINTCLIENT) {
        draw(reinterpret_cast<HDC>(wParam), client);
        return;
    }
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd, &ps);
    draw(dc, client);
    EndPaint(hwnd, &ps);
}

void paintDialogBackground(HWND, HDC) {}

int textWidth(HFONT, const std::wstring& text) {
    return 6 * static_cast<int>(text.size());
}

int lineHeight(HFONT) {
    return 13;
}

void paintButton(HWND, HDC, const RECT&, const ButtonLook&) {}
void paintStatic(HWND, HDC, const RECT&, const StaticLook&) {}
void paintEdit(HWND, HDC, const RECT&, const EditLook&) {}
void paintList(HWND, HDC, const RECT&, const ListLook&, const std::function<bool(int, ListItemView&)>&, bool,
               UINT) {}
void paintCombo(HWND, HDC, const RECT&, const ComboLook&) {}
void paintScrollBar(HDC, const RECT&, const ScrollLook&) {}
void paintProgress(HWND, HDC, const RECT&, const ProgressLook&) {}
void paintLink(HWND, HDC, const RECT&, const LinkLook&) {}
void paintCalendar(HWND, HDC, const RECT&, const CalendarLook&) {}

} // namespace pal::ctl
