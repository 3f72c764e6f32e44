// The system colours, with the classic scheme's values, and their stock brushes.
#include "object.h"

#include <array>

namespace pal::gdi {
namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

constexpr std::array<COLORREF, kColorCount> kClassic = {
    RGB(212, 208, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),    // COLOR_3DDKSHADOW
    RGB(212, 208, 200), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // (unused index 25)
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200), // COLOR_MENUBAR
};

std::shared_ptr<Brush> sysColorBrush(int index) {
    if (index < 0 || index >= kColorCount)
        return nullptr;
    static auto* brushes = [] {
        auto* all = new std::array<std::shared_ptr<Brush>, kColorCount>;
        for (int i = 0; i < kColorCount; ++i) {
            auto b = std::make_shared<Brush>();
            b->color = kClassic[i];
            b->stock = true;
            table::insert(b);
            (*all)[i] = b;
        }
        return all;
    }();
    return (*brushes)[index];
}

} // namespace

std::shared_ptr<Brush> brushArgument(HBRUSH brush) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= kColorCount)
        return sysColorBrush(static_cast<int>(value) - 1);
    return table::getAs<Brush>(brush);
}

} // namespace pal::gdi

DWORD GetSysColor(int index) {
    return index >= 0 && index < pal::gdi::kColorCount ? pal::gdi::kClassic[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    auto b = pal::gdi::sysColorBrush(index);
    return b ? static_cast<HBRUSH>(b->handle) : nullptr;
}
