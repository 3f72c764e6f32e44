// DrawTextW: mnemonic prefixes, line breaks, word wrapping, ellipses, alignment inside the
// rectangle and measuring (DT_CALCRECT) with the same layout that drawing uses.
#include "font.h"

#include "win/error.h"

#include <algorithm>
#include <climits>
#include <cwchar>

using namespace pal::gdi;

namespace {

struct Line {
    std::wstring text;
    int mnemonic = -1; // index of the underlined character in `text`
};

constexpr std::wstring_view kEllipsis = L"...";

bool isBreak(wchar_t c) {
    return c == L'\n' || c == L'\r';
}

// Removes the & prefixes: "&&" stands for "&", "&x" underlines x (the first such x), a lone
// trailing & disappears. Tabs become spaces up to the next stop when asked.
std::wstring stripPrefixes(std::wstring_view text, bool prefixes, int tabChars, int& mnemonic) {
    std::wstring out;
    out.reserve(text.size());
    mnemonic = -1;
    size_t column = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (prefixes && c == L'&') {
            if (i + 1 >= text.size())
                break;
            if (text[i + 1] == L'&') {
                ++i;
            } else {
                if (mnemonic < 0 && !isBreak(text[i + 1]))
                    mnemonic = static_cast<int>(out.size());
                continue;
            }
        }
        if (c == L'\t' && tabChars > 0) {
            do {
                out += L' ';
                ++column;
            } while (column % size_t(tabChars));
            continue;
        }
        out += c;
        column = isBreak(c) ? 0 : column + 1;
    }
    return out;
}

// Greedy wrapping at spaces; a word wider than the line stays whole on a line of its own.
void wrap(Font& font, std::wstring_view paragraph, size_t base, LONG width,
          std::vector<std::pair<size_t, size_t>>& out) {
    if (paragraph.empty()) {
        out.emplace_back(base, base);
        return;
    }
    const std::vector<LONG> prefix = prefixWidths(font, paragraph);
    auto span = [&](size_t from, size_t to) -> LONG { // width of [from, to)
        if (to <= from)
            return 0;
        return prefix[to - 1] - (from ? prefix[from - 1] : 0);
    };
    size_t start = 0;
    const size_t n = paragraph.size();
    while (start < n) {
        size_t end = start; // end of the last word that fits
        size_t scan = start;
        while (scan < n) {
            size_t wordEnd = scan;
            while (wordEnd < n && paragraph[wordEnd] == L' ')
                ++wordEnd;
            while (wordEnd < n && paragraph[wordEnd] != L' ')
                ++wordEnd;
            if (end > start && span(start, wordEnd) > width)
                break;
            end = wordEnd;
            scan = wordEnd;
            if (span(start, end) > width)
                break; // a single word too wide for the line
        }
        // The measured width of the whole piece decides, in case shaping differs at the break.
        while (end > start && runWidth(font, paragraph.substr(start, end - start)) > width) {
            size_t back = end;
            while (back > start && paragraph[back - 1] != L' ')
                --back;
            while (back > start && paragraph[back - 1] == L' ')
                --back;
            if (back <= start)
                break;
            end = back;
        }
        out.emplace_back(base + start, base + end);
        start = end;
        while (start < n && paragraph[start] == L' ')
            ++start;
    }
}

// The longest k in [0, limit] for which fits(k) holds, fits being monotonic; -1 when none.
template <class F> int longest(int limit, F fits) {
    int lo = 0, hi = limit, best = -1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (fits(mid)) {
            best = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return best;
}

void ellipsize(Font& font, Line& line, LONG width, UINT format) {
    const std::wstring& t = line.text;
    if (runWidth(font, t) <= width)
        return;
    const int n = static_cast<int>(t.size());
    if (format & DT_PATH_ELLIPSIS) {
        const size_t sep = t.find_last_of(L"\\/");
        const std::wstring tail = sep == std::wstring::npos ? t : t.substr(sep);
        const int head = sep == std::wstring::npos ? 0 : static_cast<int>(sep);
        const int k = longest(head, [&](int k) {
            return runWidth(font, t.substr(0, size_t(k)) + std::wstring(kEllipsis) + tail) <= width;
        });
        if (k >= 0) {
            if (line.mnemonic >= k)
                line.mnemonic = line.mnemonic >= head ? line.mnemonic - head + k + 3 : -1;
            line.text = t.substr(0, size_t(k)) + std::wstring(kEllipsis) + tail;
            return;
        }
        // Not even the last part fits: keep as much of its end as fits.
        const int tn = static_cast<int>(tail.size());
        const int keep = longest(tn, [&](int k) {
            return runWidth(font, std::wstring(kEllipsis) + tail.substr(size_t(tn - k))) <= width;
        });
        line.mnemonic = -1;
        line.text = std::wstring(kEllipsis) + tail.substr(size_t(tn - std::max(keep, 0)));
        if (keep >= 0)
            return;
    }
    int k = longest(
        n, [&](int k) { return runWidth(font, t.substr(0, size_t(k)) + std::wstring(kEllipsis)) <= width; });
    if ((format & DT_WORD_ELLIPSIS) && k > 0) {
        int word = k;
        while (word > 0 && t[size_t(word)] != L' ' && t[size_t(word - 1)] != L' ')
            --word;
        if (word > 0)
            k = word;
    }
    if (k >= 0) {
        line.text = t.substr(0, size_t(k)) + std::wstring(kEllipsis);
        if (line.mnemonic >= k)
            line.mnemonic = -1;
        return;
    }
    // Not even the dots fit: as many of them as do.
    const int dots =
        longest(3, [&](int d) { return runWidth(font, kEllipsis.substr(0, size_t(d))) <= width; });
    line.text = std::wstring(kEllipsis.substr(0, size_t(std::max(dots, 0))));
    line.mnemonic = -1;
}

} // namespace

int DrawTextW(HDC handle, LPCWSTR text, int count, LPRECT rect, UINT format) {
    auto dc = dcOf(handle);
    if (!dc || !rect || (!text && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = !text ? 0 : count < 0 ? std::wcslen(text) : size_t(count);
    std::lock_guard lock(textMutex());
    auto font = fontOf(*dc);
    if (!font)
        return 0;
    const TEXTMETRICW& tm = font->metrics;
    const LONG lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const LONG width = rect->right - rect->left;
    const int tabChars = !(format & DT_EXPANDTABS) ? 0
                         : (format & DT_TABSTOP)   ? int((format >> 8) & 0xFF)
                                                   : 8;
    // DT_TABSTOP keeps its count in the bits other flags use.
    if (format & DT_TABSTOP)
        format &= ~UINT(0xFF00);

    int mnemonic = -1;
    const std::wstring plain = stripPrefixes(std::wstring_view(text ? text : L"", length),
                                             !(format & DT_NOPREFIX), tabChars, mnemonic);

    // Lines as ranges of `plain`.
    std::vector<std::pair<size_t, size_t>> ranges;
    if (format & DT_SINGLELINE) {
        ranges.emplace_back(0, plain.size());
    } else {
        size_t start = 0;
        while (true) {
            size_t end = start;
            while (end < plain.size() && !isBreak(plain[end]))
                ++end;
            const std::wstring_view paragraph(plain.data() + start, end - start);
            if (format & DT_WORDBREAK)
                wrap(*font, paragraph, start, width, ranges);
            else
                ranges.emplace_back(start, end);
            if (end >= plain.size())
                break;
            start = end + (plain[end] == L'\r' && end + 1 < plain.size() && plain[end + 1] == L'\n' ? 2 : 1);
            if (start >= plain.size())
                break; // a break at the very end starts no new line
        }
    }
    std::vector<Line> lines;
    lines.reserve(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) {
        const auto [from, to] = ranges[i];
        Line line{plain.substr(from, to - from), -1};
        if (mnemonic >= 0 && size_t(mnemonic) >= from && size_t(mnemonic) < to)
            line.mnemonic = mnemonic - static_cast<int>(from);
        // Wrapped text shortens only its end; a long word before it is cut by the clip.
        const bool end = !(format & DT_WORDBREAK) || i + 1 == ranges.size();
        if ((format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) && end)
            ellipsize(*font, line, width, format);
        lines.push_back(std::move(line));
    }

    const long long total = (long long)lineHeight * lines.size();
    const LONG textHeight = static_cast<LONG>(std::min<long long>(total, INT_MAX / 2));
    LONG top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            top = rect->bottom - lineHeight;
    }
    const int answer = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))
                           ? static_cast<int>(top - rect->top + textHeight)
                           : static_cast<int>(textHeight);

    if (format & DT_CALCRECT) {
        LONG widest = 0;
        for (const Line& line : lines)
            widest = std::max(widest, runWidth(*font, line.text));
        rect->right = static_cast<LONG>(std::min<long long>((long long)rect->left + widest, INT_MAX / 2));
        rect->bottom = static_cast<LONG>(std::min<long long>((long long)rect->top + textHeight, INT_MAX / 2));
        return textHeight;
    }

    cairo_t* cr = dc->cairo();
    if (!cr)
        return answer;
    const RECT* clip = (format & DT_NOCLIP) ? nullptr : rect;
    const DcState& s = dc->state();
    long long y = top;
    for (const Line& line : lines) {
        if (clip && y >= clip->bottom)
            break;
        if (!clip || y + lineHeight > clip->top) {
            const LONG w = runWidth(*font, line.text);
            LONG x = rect->left;
            if (format & DT_RIGHT)
                x = rect->right - w;
            else if (format & DT_CENTER)
                x = rect->left + (width - w) / 2;
            const int ly = static_cast<int>(y);
            if (!(format & DT_PREFIXONLY)) {
                if (s.bkMode == OPAQUE && w > 0) {
                    RECT cell{x, ly, x + w, ly + tm.tmHeight};
                    if (clip)
                        IntersectRect(&cell, &cell, clip);
                    if (!IsRectEmpty(&cell)) {
                        cairo_save(cr);
                        setSourceColor(cr, s.bkColor);
                        cairo_rectangle(cr, cell.left, cell.top, cell.right - cell.left,
                                        cell.bottom - cell.top);
                        cairo_fill(cr);
                        cairo_restore(cr);
                    }
                }
                drawRun(*dc, *font, x, ly, line.text, clip);
            }
            if (line.mnemonic >= 0 && !(format & DT_HIDEPREFIX)) {
                const std::wstring_view t(line.text);
                const LONG from = x + runWidth(*font, t.substr(0, size_t(line.mnemonic)));
                const LONG to = x + runWidth(*font, t.substr(0, size_t(line.mnemonic) + 1));
                const LONG underline = ly + tm.tmAscent + 1;
                cairo_save(cr);
                if (clip) {
                    cairo_rectangle(cr, clip->left, clip->top, clip->right - clip->left,
                                    clip->bottom - clip->top);
                    cairo_clip(cr);
                }
                setSourceColor(cr, s.textColor);
                cairo_rectangle(cr, from, underline, to - from, 1);
                cairo_fill(cr);
                cairo_restore(cr);
            }
        }
        y += lineHeight;
    }
    return answer;
}
