// Runs are taken from the element tree after layout: text and space elements under boxes that
// are displayed, and line breaks. A space the layout dropped at the end of a line still counts
// for the copied text, so wrapped words stay apart.
#include "selection.h"

#include "container.h"

#include "pal/text.h"

#include <el_text.h>

#include <algorithm>
#include <climits>
#include <cwctype>

namespace pal::html {

namespace {

bool isInline(litehtml::style_display d) {
    return d == litehtml::display_inline || d == litehtml::display_inline_text;
}

RECT boxOf(const litehtml::element::ptr& el) {
    const litehtml::position p = el->get_placement();
    return {p.x, p.y, p.x + p.width, p.y + p.height};
}

void trimTrailingBlanks(std::wstring& s) {
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t'))
        s.pop_back();
}

} // namespace

void Selection::reset() {
    runs_.clear();
    index_.clear();
    stale_ = true;
    anchor_ = focus_ = {};
}

void Selection::clear() {
    anchor_ = focus_ = {};
}

void Selection::refresh(const litehtml::document::ptr& doc) {
    if (!stale_)
        return;
    stale_ = false;
    runs_.clear();
    index_.clear();
    if (!doc || !doc->root())
        return;
    struct Pending {
        litehtml::element::ptr el;
        const litehtml::element* block;
    };
    std::vector<Pending> pending{{doc->root(), doc->root().get()}};
    while (!pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        const litehtml::style_display display = p.el->get_display();
        if (display == litehtml::display_none)
            continue;
        if (dynamic_cast<litehtml::el_text*>(p.el.get())) {
            Run run{p.el, {}, p.block};
            litehtml::tstring text;
            p.el->get_text(text);
            run.text = pal::text::fromUtf8(text);
            run.isSpace = p.el->is_white_space();
            index_[p.el.get()] = runs_.size();
            runs_.push_back(std::move(run));
            continue;
        }
        if (p.el->is_break()) {
            index_[p.el.get()] = runs_.size();
            runs_.push_back(Run{p.el, {}, p.block, true});
            continue;
        }
        const litehtml::element* block = isInline(display) ? p.block : p.el.get();
        for (size_t i = p.el->get_children_count(); i-- > 0;)
            pending.push_back({p.el->get_child(static_cast<int>(i)), block});
    }
    // A selection whose ends are gone with a new layout is dropped.
    if ((anchor_.el && !index_.count(anchor_.el.get())) || (focus_.el && !index_.count(focus_.el.get())))
        clear();
}

Selection::Caret Selection::caretAt(Container& container, POINT p) const {
    const Run* best = nullptr;
    long bestDistance = LONG_MAX;
    const Run* below = nullptr;
    const Run* lastShown = nullptr;
    for (const Run& run : runs_) {
        if (run.isBreak || !run.el->is_visible())
            continue;
        const RECT box = boxOf(run.el);
        if (box.right <= box.left)
            continue;
        lastShown = &run;
        if (p.y >= box.top && p.y < box.bottom) {
            const long distance = p.x < box.left     ? box.left - p.x
                                  : p.x >= box.right ? p.x - box.right + 1
                                                     : 0;
            if (distance < bestDistance) {
                best = &run;
                bestDistance = distance;
            }
        } else if (!below && box.top > p.y) {
            below = &run;
        }
    }
    if (!best) {
        if (below)
            return {below->el, 0};
        if (lastShown)
            return {lastShown->el, static_cast<int>(lastShown->text.size())};
        return {};
    }
    // The character boundary nearest the point.
    const int x = p.x - boxOf(best->el).left;
    const litehtml::uint_ptr font = best->el->get_font();
    int previous = 0;
    for (size_t i = 1; i <= best->text.size(); ++i) {
        const int width = container.wideTextWidth(font, std::wstring_view(best->text).substr(0, i));
        if (x < (previous + width) / 2)
            return {best->el, static_cast<int>(i - 1)};
        previous = width;
    }
    return {best->el, static_cast<int>(best->text.size())};
}

void Selection::select(const litehtml::document::ptr& doc, Container& container, POINT anchor, POINT focus) {
    refresh(doc);
    anchor_ = caretAt(container, anchor);
    focus_ = caretAt(container, focus);
}

void Selection::selectAll(const litehtml::document::ptr& doc) {
    refresh(doc);
    clear();
    if (runs_.empty())
        return;
    anchor_ = {runs_.front().el, 0};
    focus_ = {runs_.back().el, static_cast<int>(runs_.back().text.size())};
}

bool Selection::span(size_t& first, int& firstOffset, size_t& last, int& lastOffset) const {
    if (!anchor_.el || !focus_.el)
        return false;
    const auto a = index_.find(anchor_.el.get());
    const auto f = index_.find(focus_.el.get());
    if (a == index_.end() || f == index_.end())
        return false;
    std::pair<size_t, int> from{a->second, anchor_.offset}, to{f->second, focus_.offset};
    if (to < from)
        std::swap(from, to);
    if (from == to)
        return false;
    first = from.first;
    firstOffset = from.second;
    last = to.first;
    lastOffset = to.second;
    return true;
}

std::wstring Selection::text(const litehtml::document::ptr& doc) {
    refresh(doc);
    size_t first = 0, last = 0;
    int firstOffset = 0, lastOffset = 0;
    if (!span(first, firstOffset, last, lastOffset))
        return {};
    std::wstring out;
    const litehtml::element* block = runs_[first].block;
    int breaks = 0;
    for (size_t i = first; i <= last; ++i) {
        const Run& run = runs_[i];
        if (run.isBreak) {
            ++breaks;
            continue;
        }
        if (run.el->get_visibility() != litehtml::visibility_visible)
            continue;
        if (run.block != block || breaks > 0) {
            trimTrailingBlanks(out);
            for (int n = std::max(breaks, 1); n > 0 && !out.empty(); --n)
                out += L"\r\n";
            block = run.block;
            breaks = 0;
        }
        const int from = i == first ? std::clamp(firstOffset, 0, static_cast<int>(run.text.size())) : 0;
        const int to = i == last ? std::clamp(lastOffset, 0, static_cast<int>(run.text.size()))
                                 : static_cast<int>(run.text.size());
        if (to <= from)
            continue;
        if (run.isSpace) {
            // Blanks collapse as the page shows them.
            if (!out.empty() && !std::iswspace(out.back()))
                out += L' ';
            continue;
        }
        out.append(run.text, static_cast<size_t>(from), static_cast<size_t>(to - from));
    }
    trimTrailingBlanks(out);
    return out;
}

SelectedRuns Selection::drawn(const litehtml::document::ptr& doc, std::vector<RECT>& blanks) {
    refresh(doc);
    SelectedRuns runs;
    size_t first = 0, last = 0;
    int firstOffset = 0, lastOffset = 0;
    if (!span(first, firstOffset, last, lastOffset))
        return runs;
    for (size_t i = first; i <= last; ++i) {
        const Run& run = runs_[i];
        if (run.isBreak || !run.el->is_visible())
            continue;
        const int size = static_cast<int>(run.text.size());
        const int from = i == first ? std::clamp(firstOffset, 0, size) : 0;
        const int to = i == last ? std::clamp(lastOffset, 0, size) : size;
        if (to <= from)
            continue;
        if (run.isSpace) {
            blanks.push_back(boxOf(run.el));
        } else {
            const litehtml::position p = run.el->get_placement();
            runs[{p.x, p.y}] = {from, to};
        }
    }
    return runs;
}

} // namespace pal::html
