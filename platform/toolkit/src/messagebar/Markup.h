// The small markup a message bar shows: a grid of columns holding images and text blocks with
// bold runs and line breaks. Text that is not markup, and elements outside this set, show as
// plain text.
#pragma once

#include "afxwin.h"

#include <string>
#include <vector>

namespace dv::toolkit::markup {

struct Run {
    std::wstring text;
    bool bold = false;
    bool lineBreak = false; // a break before `text` (which is then empty)
};

struct Column {
    enum Kind { Auto, Star, Fixed } kind = Star;
    int width = 0;     // for Fixed
    double weight = 1; // for Star ("2*")
};

enum class VAlign { Top, Center, Bottom };

struct Cell {
    bool image = false;
    int column = 0;
    UINT imageId = 0;
    int maxWidth = 0; // 0: no limit
    CRect padding;    // left, top, right, bottom
    VAlign valign = VAlign::Top;
    bool wrap = false;
    std::vector<Run> runs;
};

struct Document {
    std::vector<Column> columns; // at least one
    std::vector<Cell> cells;
};

// The document the text describes: markup when it parses as an element of this set, else one
// text block of the text as it is (a line feed, with or without a carriage return before it,
// breaks the line).
Document parse(const std::wstring& text, bool markupEnabled);

// A line of laid-out text: fragments at x offsets from the block's left.
struct Fragment {
    int x = 0;
    std::wstring text;
    bool bold = false;
};
struct Line {
    std::vector<Fragment> fragments;
    int width = 0;
};

// Measures text in the regular or the bold font.
class Measure {
public:
    virtual ~Measure() = default;
    virtual int width(const std::wstring& text, bool bold) = 0;
    virtual int lineHeight() = 0;
};

// The runs broken into lines no wider than `maxWidth` (at word ends when `wrap`, a word wider
// than the line stays whole); 0 or less: no limit.
std::vector<Line> layoutRuns(const std::vector<Run>& runs, int maxWidth, bool wrap, Measure& measure);

} // namespace dv::toolkit::markup
