#include "Markup.h"

#include "pal/text.h"
#include "pal/xml.h"

#include <cwctype>

namespace dv::toolkit::markup {

namespace {

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

// Markup white space: every run of blanks and line ends is one space.
std::wstring collapse(const std::wstring& text) {
    std::wstring out;
    bool blank = false;
    for (wchar_t c : text) {
        if (isSpace(c)) {
            blank = true;
            continue;
        }
        if (blank)
            out += L' ';
        blank = false;
        out += c;
    }
    if (blank)
        out += L' ';
    return out;
}

int toInt(const std::wstring& s, int fallback) {
    try {
        size_t used = 0;
        const int v = std::stoi(s, &used);
        return used > 0 ? v : fallback;
    } catch (...) {
        return fallback;
    }
}

// "5, 0, 0, 0", "5,0" or "5": left, top, right, bottom as XAML gives them.
CRect thickness(const std::wstring& s) {
    std::vector<int> v;
    std::wstring part;
    for (wchar_t c : s + L",") {
        if (c == L',') {
            v.push_back(toInt(part, 0));
            part.clear();
        } else {
            part += c;
        }
    }
    if (v.size() == 1)
        return CRect(v[0], v[0], v[0], v[0]);
    if (v.size() == 2)
        return CRect(v[0], v[1], v[0], v[1]);
    if (v.size() >= 4)
        return CRect(v[0], v[1], v[2], v[3]);
    return CRect(0, 0, 0, 0);
}

VAlign valignOf(const pal::xml::Node& n) {
    const std::wstring v = n.attribute(L"VerticalAlignment", L"");
    return v == L"Center" ? VAlign::Center : v == L"Bottom" ? VAlign::Bottom : VAlign::Top;
}

// Inline content into runs: Bold makes its content bold, LineBreak breaks, any other element
// gives its text. A carriage return right before a break is dropped.
void inlines(const pal::xml::Node& n, bool bold, std::vector<Run>& out) {
    for (const auto& piece : n.content()) {
        if (!piece.element) {
            out.push_back({collapse(piece.text), bold, false});
            continue;
        }
        const std::wstring name = piece.element.name();
        if (name == L"LineBreak") {
            if (!out.empty() && !out.back().lineBreak) {
                std::wstring& t = out.back().text;
                // The source's "\r" became a blank when collapsed; either way it shows nothing.
                while (!t.empty() && (t.back() == L'\r' || t.back() == L' '))
                    t.pop_back();
            }
            out.push_back({L"", bold, true});
        } else {
            inlines(piece.element, bold || name == L"Bold", out);
        }
    }
}

Cell textCell(const pal::xml::Node& n) {
    Cell c;
    c.column = std::max(0, toInt(n.attribute(L"Grid.Column", L"0"), 0));
    c.padding = thickness(n.attribute(L"Padding", L"0"));
    c.valign = valignOf(n);
    c.wrap = n.attribute(L"TextWrapping", L"") == L"Wrap";
    inlines(n, n.name() == L"Bold", c.runs);
    return c;
}

Document plain(const std::wstring& text) {
    Document d;
    d.columns.push_back({Column::Star});
    Cell c;
    c.wrap = true;
    std::wstring line;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (end || text[i] == L'\n') {
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            if (!c.runs.empty() || !line.empty() || !end)
                c.runs.push_back({line, false, false});
            if (!end)
                c.runs.push_back({L"", false, true});
            line.clear();
        } else {
            line += text[i];
        }
    }
    d.cells.push_back(c);
    return d;
}

} // namespace

Document parse(const std::wstring& text, bool markupEnabled) {
    size_t first = 0;
    while (first < text.size() && isSpace(text[first]))
        ++first;
    if (!markupEnabled || first == text.size() || text[first] != L'<')
        return plain(text);
    pal::xml::Document xml;
    if (!xml.loadString(pal::text::toUtf8(text)))
        return plain(text);
    const pal::xml::Node root = xml.root();
    Document d;
    if (root.name() != L"Grid") {
        d.columns.push_back({Column::Star});
        Cell c = textCell(root);
        c.column = 0;
        c.wrap = true;
        d.cells.push_back(c);
        return d;
    }
    for (const auto& def : root.child(L"Grid.ColumnDefinitions").children(L"ColumnDefinition")) {
        const std::wstring w = def.attribute(L"Width", L"*");
        Column col;
        if (w == L"Auto") {
            col.kind = Column::Auto;
        } else if (!w.empty() && w.back() == L'*') {
            col.kind = Column::Star;
            col.weight = w.size() > 1 ? std::max(toInt(w.substr(0, w.size() - 1), 1), 1) : 1;
        } else {
            col.kind = Column::Fixed;
            col.width = std::max(toInt(w, 0), 0);
        }
        d.columns.push_back(col);
    }
    if (d.columns.empty())
        d.columns.push_back({Column::Star});
    for (const auto& child : root.children()) {
        const std::wstring name = child.name();
        if (name == L"Grid.ColumnDefinitions" || name == L"Grid.RowDefinitions")
            continue;
        if (name == L"Image") {
            Cell c;
            c.image = true;
            c.column = std::max(0, toInt(child.attribute(L"Grid.Column", L"0"), 0));
            c.imageId = static_cast<UINT>(std::max(0, toInt(child.attribute(L"Source", L"0"), 0)));
            c.maxWidth = std::max(0, toInt(child.attribute(L"MaxWidth", L"0"), 0));
            c.padding = thickness(child.attribute(L"Margin", L"0"));
            c.valign = valignOf(child);
            d.cells.push_back(c);
        } else {
            d.cells.push_back(textCell(child));
        }
    }
    for (Cell& c : d.cells) {
        if (c.column >= static_cast<int>(d.columns.size()))
            c.column = static_cast<int>(d.columns.size()) - 1;
    }
    return d;
}

std::vector<Line> layoutRuns(const std::vector<Run>& runs, int maxWidth, bool wrap, Measure& measure) {
    std::vector<Line> lines(1);
    const bool limit = wrap && maxWidth > 0;
    for (const Run& run : runs) {
        if (run.lineBreak) {
            lines.emplace_back();
            continue;
        }
        // Words with the blank that follows each, so that spaces between runs survive.
        size_t i = 0;
        while (i < run.text.size()) {
            size_t j = i;
            while (j < run.text.size() && run.text[j] != L' ')
                ++j;
            while (j < run.text.size() && run.text[j] == L' ')
                ++j;
            std::wstring word = run.text.substr(i, j - i);
            i = j;
            Line* line = &lines.back();
            if (line->fragments.empty() && line->width == 0) {
                // No blank at the start of a line.
                while (!word.empty() && word.front() == L' ')
                    word.erase(word.begin());
                if (word.empty())
                    continue;
            }
            std::wstring bare = word;
            while (!bare.empty() && bare.back() == L' ')
                bare.pop_back();
            const int bareWidth = measure.width(bare, run.bold);
            if (limit && line->width > 0 && line->width + bareWidth > maxWidth) {
                lines.emplace_back();
                line = &lines.back();
                while (!word.empty() && word.front() == L' ')
                    word.erase(word.begin());
                if (word.empty())
                    continue;
            }
            const int w = measure.width(word, run.bold);
            if (!line->fragments.empty() && line->fragments.back().bold == run.bold &&
                line->fragments.back().x + measure.width(line->fragments.back().text, run.bold) ==
                    line->width) {
                line->fragments.back().text += word;
                line->width = line->fragments.back().x + measure.width(line->fragments.back().text, run.bold);
            } else {
                line->fragments.push_back({line->width, word, run.bold});
                line->width += w;
            }
        }
    }
    // Trailing blanks take no room.
    for (Line& line : lines) {
        if (line.fragments.empty())
            continue;
        Fragment& last = line.fragments.back();
        while (!last.text.empty() && last.text.back() == L' ')
            last.text.pop_back();
        line.width = last.x + measure.width(last.text, last.bold);
    }
    return lines;
}

} // namespace dv::toolkit::markup
