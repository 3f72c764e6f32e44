// The title-block grid: a fixed table of cells, each a caption or the value of a text
// variable, placed by a title-block element at its right-bottom corner.
#pragma once

#include "DravikKernel/DVDocument.h"
#include "pal/visibility.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik {

struct TitleBlockCell {
    double x, y, w, h; // millimetres from the block's left-bottom corner
    double textHeight;
    const wchar_t* caption;  // fixed text, or null
    const wchar_t* variable; // variable whose text fills the cell, or null
};

inline constexpr double kTitleBlockWidth = 185.0;
inline constexpr double kTitleBlockHeight = 55.0;

const std::vector<TitleBlockCell>& TitleBlockLayout();

// A cell where it lands on the page, with the text it shows.
struct PlacedCell {
    double left, bottom, right, top;
    double textHeight;
    std::wstring text;
    bool isCaption;
};

// The cells of a title-block element, filled from the document's variables (a variable that
// does not exist leaves its cell empty). Empty for an element of another kind.
std::vector<PlacedCell> TitleBlockCells(const DVDocument& document, const Element& block);

// The text variables the grid reads, in the order of the layout.
std::vector<std::wstring> TitleBlockVariables();

} // namespace Dravik

DV_EXPORTS_END
