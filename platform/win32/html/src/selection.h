// Text selection on a laid-out page. The page's words and spaces are runs in reading order;
// a selection runs from one character of a run to another, and is drawn by the container as
// it draws each run's text.
#pragma once

#include "win/types.h"

#include <litehtml.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pal::html {

class Container;

// The selected characters [first, last) of the runs drawn at a page position (x, y).
using SelectedRuns = std::map<std::pair<int, int>, std::pair<int, int>>;

class Selection {
public:
    // A new document, or a new layout of the same one: the runs are read again when next
    // needed; a selection survives a new layout of its document.
    void reset();
    void relaid() { stale_ = true; }

    void select(const litehtml::document::ptr& doc, Container& container, POINT anchor, POINT focus);
    void selectAll(const litehtml::document::ptr& doc);
    void clear();
    std::wstring text(const litehtml::document::ptr& doc);
    // The selected runs with text; the boxes of selected blanks, which draw no text, in `blanks`.
    SelectedRuns drawn(const litehtml::document::ptr& doc, std::vector<RECT>& blanks);

private:
    struct Run {
        litehtml::element::ptr el;
        std::wstring text;
        const litehtml::element* block; // the nearest box that is not inline
        bool isBreak = false;
        bool isSpace = false;
    };
    struct Caret {
        litehtml::element::ptr el;
        int offset = 0;
    };

    void refresh(const litehtml::document::ptr& doc);
    Caret caretAt(Container& container, POINT p) const;
    // The selection as run indices and offsets, in reading order; false when there is none.
    bool span(size_t& first, int& firstOffset, size_t& last, int& lastOffset) const;

    std::vector<Run> runs_;
    std::map<const litehtml::element*, size_t> index_;
    bool stale_ = true;
    Caret anchor_, focus_;
};

} // namespace pal::html
