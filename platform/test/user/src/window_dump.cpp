#include "pal/test/window_dump.h"

#include "pal/format.h"
#include "pal/text.h"

namespace pal::test {
namespace {

void dumpOne(HWND hwnd, int depth, std::string& out) {
    wchar_t cls[256] = {};
    wchar_t text[512] = {};
    GetClassNameW(hwnd, cls, 256);
    InternalGetWindowText(hwnd, text, 512);
    RECT r{};
    GetWindowRect(hwnd, &r);
    out += std::string(static_cast<size_t>(depth) * 2, ' ');
    out += pal::format("%s id=%d \"%s\" style=0x%08X rect=(%d,%d)-(%d,%d) %s %s\n",
                       pal::text::toUtf8(cls).c_str(), GetDlgCtrlID(hwnd), pal::text::toUtf8(text).c_str(),
                       static_cast<unsigned>(GetWindowLongW(hwnd, GWL_STYLE)), r.left, r.top, r.right,
                       r.bottom, IsWindowVisible(hwnd) ? "visible" : "hidden",
                       IsWindowEnabled(hwnd) ? "enabled" : "disabled");
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        dumpOne(c, depth + 1, out);
}

} // namespace

std::string dumpWindowTree(HWND root) {
    std::string out;
    if (root) {
        dumpOne(root, 0, out);
        return out;
    }
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        dumpOne(h, 0, out);
    return out;
}

} // namespace pal::test
