// Logical fonts over Pango: the font object, the one Pango context every font shares, and the
// measuring and drawing of single runs of text that the text functions build on.
//
// Pango objects are not thread-safe; everything here runs under textMutex().
#pragma once

#include "dc.h"
#include "win/gdi/text.h"

#include <pango/pangocairo.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pal::gdi {

struct Font : Object {
    DWORD type() const override { return OBJ_FONT; }
    ~Font() override;

    LOGFONTW log{};      // as it was asked for
    std::wstring family; // the family drawn with (the fallback for a face not installed)
    double emPixels = 0; // the character height
    TEXTMETRICW metrics{};
    PangoFontDescription* description = nullptr;
    PangoLayout* layout = nullptr; // reused for every run drawn or measured with this font
    std::wstring layoutText;       // the run the layout holds now; measuring then drawing it lays it out once
    // Widths of the short runs measured with this font: bars and menus measure the same
    // captions over and over, and each measure is a whole layout by Pango. Bounded.
    std::unordered_map<std::wstring, int> widths;
};

std::recursive_mutex& textMutex();

// A font for a LOGFONTW. Its face, metrics and layout are made on first use (prepare), so
// fonts that are never drawn with, the stock ones among them, cost nothing.
std::shared_ptr<Font> makeFont(const LOGFONTW& log);
Font& prepare(Font& font);
// The stock font of an index from OEM_FIXED_FONT to DEFAULT_GUI_FONT, or null.
std::shared_ptr<Object> makeStockFont(int index);
// The LOGFONTW of the system's user-interface font at `height` (negative: character height).
LOGFONTW systemLogFont(LONG height, LONG weight = FW_NORMAL);
// The font selected into the DC (the system font when none is), prepared.
std::shared_ptr<Font> fontOf(DeviceContext& dc);

// Width in pixels of a run of text (control characters count as spaces). Long texts are
// measured in pieces so no coordinate overflows; the answer saturates at LONG_MAX.
LONG runWidth(Font& font, std::wstring_view text);
// Draws one run with its cell's top left corner at (x, y) in logical coordinates, in the
// DC's text colour; `clip`, when given, limits the drawing (logical coordinates).
void drawRun(DeviceContext& dc, Font& font, int x, int y, std::wstring_view text, const RECT* clip);

} // namespace pal::gdi

namespace pal::gdi {
// The UTF-8 form of a run for Pango (control characters as spaces) and, for each character,
// the offset of its first byte.
std::string runText(std::wstring_view text, std::vector<int>* offsets = nullptr);
// The advance from the run's start to the end of each character.
std::vector<LONG> prefixWidths(Font& font, std::wstring_view text);
} // namespace pal::gdi
