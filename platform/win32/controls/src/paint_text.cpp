// How the text controls look: edits with their selection and caret, list items, the field and
// button of a combo box, and links.
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

int extent(HDC dc, const std::wstring& s, size_t from, size_t count) {
    SIZE size{};
    GetTextExtentPoint32W(dc, s.c_str() + from, static_cast<int>(count), &size);
    return size.cx;
}

void out(HDC dc, int x, int y, const std::wstring& s, size_t from, size_t count) {
    if (count)
        TextOutW(dc, x, y, s.c_str() + from, static_cast<int>(count));
}

} // namespace

void paintEdit(HWND hwnd, HDC dc, const RECT& client, const EditLook& look) {
    const bool plain = look.readOnly || !IsWindowEnabled(hwnd);
    const HBRUSH background = prepareColors(hwnd, dc, plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &client, background);
    if (!IsWindowEnabled(hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const COLORREF text = GetTextColor(dc);
    const int height = lineHeight(look.font);
    const int left = look.leftMargin + 2 - look.scrollX;
    SetBkMode(dc, TRANSPARENT);
    const auto& lines = *look.lines;
    for (size_t i = static_cast<size_t>(std::max(0, look.firstLine)); i < lines.size(); ++i) {
        const int y = static_cast<int>(i - static_cast<size_t>(look.firstLine)) * height + 1;
        if (y > client.bottom)
            break;
        const std::wstring& line = lines[i];
        const int start = look.lineStarts[i];
        const int end = start + static_cast<int>(line.size());
        // The part of the selection on this line.
        const int from = std::clamp(look.selStart, start, end) - start;
        const int to = std::clamp(look.selEnd, start, end) - start;
        if (!look.showSelection || from >= to) {
            out(dc, left, y, line, 0, line.size());
        } else {
            out(dc, left, y, line, 0, static_cast<size_t>(from));
            const int x = left + extent(dc, line, 0, static_cast<size_t>(from));
            const int w = extent(dc, line, static_cast<size_t>(from), static_cast<size_t>(to - from));
            const RECT band{x, y, x + w, y + height};
            fill(dc, band, COLOR_HIGHLIGHT);
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            out(dc, x, y, line, static_cast<size_t>(from), static_cast<size_t>(to - from));
            SetTextColor(dc, text);
            out(dc, x + w, y, line, static_cast<size_t>(to), line.size() - static_cast<size_t>(to));
        }
        if (look.focused && look.caret >= start && look.caret <= end) {
            const int x = left + extent(dc, line, 0, static_cast<size_t>(look.caret - start));
            const RECT caret{x, y, x + 1, y + height};
            fill(dc, caret, COLOR_WINDOWTEXT);
        }
    }
}

void paintList(HWND hwnd, HDC dc, const RECT& client, const ListLook& look,
               const std::function<bool(int, ListItemView&)>& item, bool ownerDraw, UINT ctlType) {
    const HBRUSH background = prepareColors(hwnd, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &client, background);
    const COLORREF text = GetTextColor(dc);
    SetBkMode(dc, TRANSPARENT);
    int y = 0;
    ListItemView v{};
    for (int i = look.top; y < client.bottom && item(i, v); ++i) {
        const RECT r{client.left - look.scrollX, y, client.right, y + v.height};
        y += v.height;
        const bool focus = look.focused && i == look.caret;
        if (ownerDraw) {
            // The list of a combo box draws under the box's id, through the box, for its parent.
            const HWND owner = look.owner;
            const HWND control = ctlType == ODT_COMBOBOX ? owner : hwnd;
            DRAWITEMSTRUCT d{ctlType,
                             static_cast<UINT>(idOf(control)),
                             static_cast<UINT>(i),
                             ODA_DRAWENTIRE,
                             (v.selected ? ODS_SELECTED : 0u) | (focus ? ODS_FOCUS : 0u),
                             control,
                             dc,
                             r,
                             v.data};
            if (owner)
                SendMessageW(owner, WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
            continue;
        }
        if (v.selected)
            fill(dc, r, COLOR_HIGHLIGHT);
        SetTextColor(dc, v.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        RECT t = r;
        t.left += 2;
        DrawTextW(dc, v.text->c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
        if (focus)
            DrawFocusRect(dc, &r);
    }
}

void paintCombo(HWND hwnd, HDC dc, const RECT& client, const ComboLook& look) {
    const bool list = (look.style & 3) == CBS_DROPDOWNLIST;
    const HBRUSH background = prepareColors(hwnd, dc, list ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT);
    RECT r = client;
    FillRect(dc, &r, background);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if ((look.style & 3) == CBS_SIMPLE)
        return;
    RECT button{r.right - look.buttonWidth, r.top, r.right, r.bottom};
    fill(dc, button, COLOR_3DFACE);
    RECT edge = button;
    if (look.pressed && look.dropped)
        FrameRect(dc, &edge, GetSysColorBrush(COLOR_3DSHADOW));
    else
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    triangle(dc, button, 1, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (!look.text)
        return;
    RECT field{r.left + 1, r.top + 1, button.left - 1, r.bottom - 1};
    SetBkMode(dc, TRANSPARENT);
    if (look.focused && !look.dropped) {
        fill(dc, field, COLOR_HIGHLIGHT);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!IsWindowEnabled(hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    RECT t = field;
    t.left += 2;
    DrawTextW(dc, look.text->c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (look.focused && !look.dropped)
        DrawFocusRect(dc, &field);
}

void paintLink(HWND hwnd, HDC dc, const RECT& client, const LinkLook& look) {
    const HBRUSH background = prepareColors(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    const COLORREF text = GetTextColor(dc);
    LOGFONTW lf{};
    GetObjectW(fontOrDefault(look.font), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    const HFONT underlined = CreateFontIndirectW(&lf);
    const HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
    const int height = lineHeight(look.font);
    int x = client.left;
    for (const LinkRun& run : *look.runs) {
        const int width = textWidth(look.font, run.text);
        if (run.link >= 0) {
            SelectObject(dc, underlined);
            SetTextColor(dc, GetSysColor(COLOR_HOTLIGHT));
        } else {
            SelectObject(dc, old);
            SetTextColor(dc, text);
        }
        TextOutW(dc, x, client.top, run.text.c_str(), static_cast<int>(run.text.size()));
        if (run.link >= 0 && look.focused && run.link == look.focusedLink) {
            const RECT focus{x - 1, client.top, x + width + 1, client.top + height + 1};
            DrawFocusRect(dc, &focus);
        }
        x += width;
    }
    SelectObject(dc, old);
    DeleteObject(underlined);
}

} // namespace pal::ctl
