// Measuring and drawing runs of text: TextOutW, ExtTextOutW, the extent functions and the text
// alignment. Long runs go to Pango in pieces so that no coordinate overflows its units and
// pieces outside the drawable area cost nothing.
#include "font.h"
#include "paint.h"

#include "pal/text.h"
#include "win/error.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace pal::gdi {

namespace {

constexpr size_t kPiece = 2048;

// Puts a run into the font's layout unless it is there already.
std::string setRun(Font& font, std::wstring_view piece, std::vector<int>* offsets = nullptr) {
    if (!offsets && font.layoutText == piece)
        return {};
    std::string utf8 = runText(piece, offsets);
    pango_layout_set_text(font.layout, utf8.data(), static_cast<int>(utf8.size()));
    font.layoutText.assign(piece);
    return utf8;
}

constexpr size_t kRememberedWidths = 4096;
constexpr size_t kRememberedLength = 256;

LONG pieceWidth(Font& font, std::wstring_view piece) {
    if (piece.empty())
        return 0;
    const bool remembered = piece.size() <= kRememberedLength;
    if (remembered)
        if (const auto it = font.widths.find(std::wstring(piece)); it != font.widths.end())
            return it->second;
    setRun(font, piece);
    int width = 0;
    pango_layout_get_size(font.layout, &width, nullptr);
    if (remembered) {
        if (font.widths.size() >= kRememberedWidths)
            font.widths.clear();
        font.widths.emplace(piece, PANGO_PIXELS(width));
    }
    return PANGO_PIXELS(width);
}

void fillSolid(cairo_t* cr, const RECT& r, COLORREF color) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    cairo_save(cr);
    setSourceColor(cr, color);
    cairo_rectangle(cr, r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace

std::string runText(std::wstring_view text, std::vector<int>* offsets) {
    std::string out;
    out.reserve(text.size());
    if (offsets)
        offsets->clear();
    for (wchar_t c : text) {
        if (offsets)
            offsets->push_back(static_cast<int>(out.size()));
        // Control characters would break Pango's layout; the platform draws them as blanks.
        const auto ch = static_cast<char32_t>(c);
        pal::text::appendUtf8(out, ch < 0x20 || ch == 0x7F ? U' ' : ch);
    }
    return out;
}

LONG runWidth(Font& font, std::wstring_view text) {
    std::lock_guard lock(textMutex());
    long long total = 0;
    for (size_t at = 0; at < text.size() && total < LONG_MAX; at += kPiece)
        total += pieceWidth(font, text.substr(at, kPiece));
    return static_cast<LONG>(std::min<long long>(total, LONG_MAX));
}

std::vector<LONG> prefixWidths(Font& font, std::wstring_view text) {
    std::lock_guard lock(textMutex());
    std::vector<LONG> out(text.size(), 0);
    long long base = 0;
    std::vector<int> offsets;
    for (size_t at = 0; at < text.size(); at += kPiece) {
        const std::wstring_view piece = text.substr(at, kPiece);
        const std::string utf8 = setRun(font, piece, &offsets);
        // Each character ends where its cluster ends.
        PangoLayoutIter* iter = pango_layout_get_iter(font.layout);
        std::vector<int> clusterEnd(utf8.size() + 1, -1);
        std::vector<int> clusterStarts;
        do {
            PangoRectangle logical;
            pango_layout_iter_get_cluster_extents(iter, nullptr, &logical);
            const int index = pango_layout_iter_get_index(iter);
            if (index >= 0 && size_t(index) < utf8.size())
                clusterEnd[size_t(index)] = PANGO_PIXELS(logical.x + logical.width);
        } while (pango_layout_iter_next_cluster(iter));
        pango_layout_iter_free(iter);
        int last = 0;
        for (size_t i = 0; i < piece.size(); ++i) {
            // A character inside a cluster ends with the cluster.
            size_t j = i;
            int end = clusterEnd[size_t(offsets[i])];
            while (end < 0 && ++j < piece.size())
                end = clusterEnd[size_t(offsets[j])];
            if (end < 0) {
                int w = 0;
                pango_layout_get_size(font.layout, &w, nullptr);
                end = PANGO_PIXELS(w);
            }
            last = std::max(last, end);
            out[at + i] = static_cast<LONG>(std::min<long long>(base + last, LONG_MAX));
        }
        int w = 0;
        pango_layout_get_size(font.layout, &w, nullptr);
        base += PANGO_PIXELS(w);
    }
    return out;
}

namespace {

// Saves the context's state and narrows drawing to the clip rectangle, when there is one.
void saveClipped(cairo_t* cr, const RECT* clip) {
    cairo_save(cr);
    if (clip) {
        cairo_rectangle(cr, clip->left, clip->top, double(clip->right) - clip->left,
                        double(clip->bottom) - clip->top);
        cairo_clip(cr);
    }
}

} // namespace

void drawRun(DeviceContext& dc, Font& font, int x, int y, std::wstring_view text, const RECT* clip) {
    std::lock_guard lock(textMutex());
    cairo_t* cr = dc.cairo();
    if (!cr || text.empty())
        return;
    saveClipped(cr, clip);
    double left, top, right, bottom;
    cairo_clip_extents(cr, &left, &top, &right, &bottom);
    setSourceColor(cr, dc.state().textColor);
    const double baseline = double(y) + font.metrics.tmAscent;
    if (baseline - font.metrics.tmAscent <= bottom && baseline + font.metrics.tmDescent >= top) {
        double at = x;
        for (size_t i = 0; i < text.size() && at < right; i += kPiece) {
            const std::wstring_view piece = text.substr(i, kPiece);
            const LONG width = pieceWidth(font, piece);
            if (at + width >= left) {
                setRun(font, piece); // a remembered width left the layout as it was
                cairo_move_to(cr, at, baseline);
                pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(font.layout, 0));
            }
            at += width;
        }
    }
    cairo_restore(cr);
}

// A font turned by its escapement (tenths of a degree, counter-clockwise) draws the run turned
// about the top left corner of its cell, which is where (x, y) puts it.
void drawTurned(DeviceContext& dc, Font& font, int x, int y, std::wstring_view text, const RECT* clip) {
    std::lock_guard lock(textMutex());
    cairo_t* cr = dc.cairo();
    if (!cr || text.empty())
        return;
    saveClipped(cr, clip);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -font.log.lfEscapement * G_PI / 1800.0);
    setSourceColor(cr, dc.state().textColor);
    // A turned run is a caption down a side, never a page: one piece is all it shows.
    setRun(font, text.substr(0, kPiece));
    cairo_move_to(cr, 0, font.metrics.tmAscent);
    pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(font.layout, 0));
    cairo_restore(cr);
}

} // namespace pal::gdi

using namespace pal::gdi;

UINT SetTextAlign(HDC handle, UINT align) {
    auto dc = dcOf(handle);
    if (!dc)
        return GDI_ERROR;
    const UINT previous = dc->state().textAlign;
    dc->state().textAlign = align;
    return previous;
}

UINT GetTextAlign(HDC handle) {
    auto dc = dcOf(handle);
    return dc ? dc->state().textAlign : GDI_ERROR;
}

int SetTextCharacterExtra(HDC handle, int extra) {
    auto dc = dcOf(handle);
    if (!dc)
        return static_cast<int>(0x80000000);
    const int previous = dc->state().textCharacterExtra;
    dc->state().textCharacterExtra = extra;
    return previous;
}

int GetTextCharacterExtra(HDC handle) {
    auto dc = dcOf(handle);
    return dc ? dc->state().textCharacterExtra : static_cast<int>(0x80000000);
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx) {
    auto dc = dcOf(handle);
    if (!dc)
        return FALSE;
    if ((count && !text) || count > INT_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(textMutex());
    auto font = fontOf(*dc);
    cairo_t* cr = dc->cairo();
    if (!font || !cr)
        return FALSE;
    const std::wstring_view run(text ? text : L"", count);
    const DcState& s = dc->state();
    const int extra = s.textCharacterExtra;
    long long width = 0;
    if (dx) {
        for (UINT i = 0; i < count; ++i)
            width += dx[i];
    } else {
        width = runWidth(*font, run) + (long long)extra * count;
    }
    width = std::clamp<long long>(width, INT_MIN / 2, INT_MAX / 2);
    const UINT align = s.textAlign;
    if (align & TA_UPDATECP) {
        x = s.position.x;
        y = s.position.y;
    }
    const UINT horizontal = align & TA_CENTER;
    long long left = x;
    if (horizontal == TA_RIGHT)
        left = x - width;
    else if (horizontal == TA_CENTER)
        left = x - width / 2;
    long long top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - font->metrics.tmAscent;
    else if (align & TA_BOTTOM)
        top = y - font->metrics.tmHeight;
    const int l = static_cast<int>(std::clamp<long long>(left, INT_MIN / 2, INT_MAX / 2));
    const int t = static_cast<int>(std::clamp<long long>(top, INT_MIN / 2, INT_MAX / 2));

    if ((options & ETO_OPAQUE) && rect)
        fillSolid(cr, *rect, s.bkColor);
    const RECT* clip = (options & ETO_CLIPPED) && rect ? rect : nullptr;
    if (font->log.lfEscapement % 3600 != 0) {
        drawTurned(*dc, *font, x, y, run, clip);
        return TRUE;
    }
    if (s.bkMode == OPAQUE && count) {
        RECT cell{l, t, static_cast<LONG>(std::min<long long>(l + width, INT_MAX / 2)),
                  t + font->metrics.tmHeight};
        if (clip)
            IntersectRect(&cell, &cell, clip);
        fillSolid(cr, cell, s.bkColor);
    }
    if (dx || extra) {
        long long at = l;
        for (UINT i = 0; i < count; ++i) {
            drawRun(*dc, *font, static_cast<int>(at), t, run.substr(i, 1), clip);
            at += dx ? dx[i] : runWidth(*font, run.substr(i, 1)) + extra;
        }
    } else {
        drawRun(*dc, *font, l, t, run, clip);
    }
    if (align & TA_UPDATECP) {
        if (horizontal == TA_RIGHT)
            dc->state().position.x = l;
        else if (horizontal == TA_LEFT)
            dc->state().position.x =
                static_cast<LONG>(std::clamp<long long>(l + width, INT_MIN / 2, INT_MAX / 2));
    }
    return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32W(HDC handle, LPCWSTR text, int count, LPSIZE size) {
    auto dc = dcOf(handle);
    if (!dc || !size || count < 0 || (count && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(textMutex());
    auto font = fontOf(*dc);
    if (!font)
        return FALSE;
    const long long width = runWidth(*font, std::wstring_view(text ? text : L"", count)) +
                            (long long)dc->state().textCharacterExtra * count;
    size->cx = static_cast<LONG>(std::clamp<long long>(width, 0, LONG_MAX));
    size->cy = font->metrics.tmHeight;
    return TRUE;
}

BOOL GetTextExtentPointW(HDC dc, LPCWSTR text, int count, LPSIZE size) {
    return GetTextExtentPoint32W(dc, text, count, size);
}

BOOL GetTextExtentExPointW(HDC handle, LPCWSTR text, int count, int maxExtent, INT* fit, INT* dx,
                           LPSIZE size) {
    auto dc = dcOf(handle);
    if (!dc || !size || count < 0 || (count && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(textMutex());
    auto font = fontOf(*dc);
    if (!font)
        return FALSE;
    std::vector<LONG> widths = prefixWidths(*font, std::wstring_view(text ? text : L"", count));
    const int extra = dc->state().textCharacterExtra;
    int fits = 0;
    for (int i = 0; i < count; ++i) {
        const long long w = widths[size_t(i)] + (long long)extra * (i + 1);
        widths[size_t(i)] = static_cast<LONG>(std::clamp<long long>(w, 0, LONG_MAX));
        if (dx)
            dx[i] = widths[size_t(i)];
        if (fit && w <= maxExtent && fits == i)
            fits = i + 1;
    }
    if (fit)
        *fit = fits;
    size->cx = count ? widths.back() : 0;
    size->cy = font->metrics.tmHeight;
    return TRUE;
}
