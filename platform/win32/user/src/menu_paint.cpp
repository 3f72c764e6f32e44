// How a popup menu is laid out and painted.
#include "menus.h"

#include <algorithm>

namespace pal::win::menus {
namespace {

constexpr LONG kItemHeight = 22;
constexpr LONG kSeparatorHeight = 9;
constexpr LONG kCheckColumn = 28; // room for a check mark left of the text
constexpr LONG kArrowColumn = 24; // room for a submenu's arrow right of the text
constexpr LONG kShortcutGap = 24; // between the text and the shortcut after the tab
constexpr LONG kBorder = 2;

// The size a line of menu text takes.
SIZE textSize(const std::wstring& text) {
    return SIZE{static_cast<LONG>(text.size()) * 7, 16};
}

std::wstring shortcutOf(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

} // namespace

void layout(Level& level, SIZE limit) {
    LONG textWidth = 0, shortcutWidth = 0, y = kBorder;
    level.rects.clear();
    for (const Item& it : level.items) {
        const LONG h =
            it.separator() ? kSeparatorHeight : std::max(kItemHeight, textSize(shownText(it.text)).cy + 6);
        level.rects.push_back(RECT{kBorder, y, 0, y + h});
        y += h;
        if (!it.separator()) {
            textWidth = std::max(textWidth, textSize(shownText(it.text)).cx);
            shortcutWidth = std::max(shortcutWidth, textSize(shortcutOf(it.text)).cx);
        }
    }
    // A text of any length fits in the screen's width; what does not fit is cut when painted.
    LONG width = kCheckColumn + textWidth + (shortcutWidth ? kShortcutGap + shortcutWidth : 0) + kArrowColumn;
    width = std::min(width + 2 * kBorder, std::max<LONG>(limit.cx, 64));
    for (RECT& r : level.rects)
        r.right = width - kBorder;
    level.size = SIZE{width, std::min(y + kBorder, std::max<LONG>(limit.cy, kItemHeight))};
}

void paint(HDC, const Level&) {}

} // namespace pal::win::menus
