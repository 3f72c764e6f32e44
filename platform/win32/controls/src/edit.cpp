// "Edit": the text, its selection and caret, typing and editing keys, undo, the limit, and the
// notifications in the platform's order (EN_UPDATE before EN_CHANGE, both after the text changed).
#include "control.h"
#include "paint.h"
#include "pal/clipboard_text.h"

#include "pal/text.h"

#include <algorithm>
#include <cwctype>

namespace pal::ctl {
namespace {

constexpr int kDefaultLimit = 30000;
constexpr wchar_t kPasswordChar = 0x25CF;

struct Edit {
    std::wstring text;
    int anchor = 0; // where the selection started
    int caret = 0;  // where it ends, and where the caret stands
    bool modified = false;
    int limit = kDefaultLimit;
    std::wstring undoText;
    int undoAnchor = 0, undoCaret = 0;
    bool canUndo = false;
    wchar_t passwordChar = 0;
    HFONT font = nullptr;
    bool focused = false;
    bool selecting = false; // the mouse button is down
    int firstLine = 0;
    int scrollX = 0;
    int leftMargin = 1, rightMargin = 1;
};

bool multiLine(HWND hwnd) {
    return (styleOf(hwnd) & ES_MULTILINE) != 0;
}

int length(const Edit& e) {
    return static_cast<int>(e.text.size());
}
int selMin(const Edit& e) {
    return std::min(e.anchor, e.caret);
}
int selMax(const Edit& e) {
    return std::max(e.anchor, e.caret);
}

bool wraps(HWND hwnd) {
    const DWORD style = styleOf(hwnd);
    return (style & ES_MULTILINE) && !(style & (WS_HSCROLL | ES_AUTOHSCROLL));
}

int wrapWidth(HWND hwnd, const Edit& e) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return std::max(1, static_cast<int>(r.right - r.left) - e.leftMargin - e.rightMargin - 4);
}

// Splits the text from `from` to `to` (one line between line breaks) where it meets the width:
// after the last blank that fits, or within a word longer than the width.
void wrapLine(const Edit& e, int from, int to, int width, std::vector<int>& starts) {
    while (from < to) {
        int fit = from;
        while (fit < to && textWidth(e.font, e.text.substr(static_cast<size_t>(from),
                                                           static_cast<size_t>(fit + 1 - from))) <= width)
            ++fit;
        if (fit >= to)
            return;
        int cut = fit;
        while (cut > from && e.text[static_cast<size_t>(cut) - 1] != L' ')
            --cut;
        if (cut == from)
            cut = std::max(fit, from + 1);
        // Blanks at the break stay on the line they end.
        while (cut < to && e.text[static_cast<size_t>(cut)] == L' ')
            ++cut;
        if (cut >= to)
            return;
        starts.push_back(cut);
        from = cut;
    }
}

// Lines start after each "\r\n" (multi-line edits only) and, in an edit that wraps, where a line
// meets the edit's width.
std::vector<int> lineStarts(HWND hwnd, const Edit& e) {
    std::vector<int> starts{0};
    if (!multiLine(hwnd))
        return starts;
    const bool wrapping = wraps(hwnd);
    const int width = wrapping ? wrapWidth(hwnd, e) : 0;
    int lineStart = 0;
    for (size_t i = 0; i <= e.text.size(); ++i) {
        const bool hardBreak = i + 1 < e.text.size() && e.text[i] == L'\r' && e.text[i + 1] == L'\n';
        if (!hardBreak && i < e.text.size())
            continue;
        if (wrapping)
            wrapLine(e, lineStart, static_cast<int>(i), width, starts);
        if (hardBreak) {
            lineStart = static_cast<int>(i + 2);
            starts.push_back(lineStart);
            ++i;
        }
    }
    return starts;
}

int lineOf(const std::vector<int>& starts, int index) {
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), index) - starts.begin()) - 1;
}

// A line ends where the next starts, less the line break that ends it.
int lineLength(HWND hwnd, const Edit& e, const std::vector<int>& starts, int line) {
    (void)hwnd;
    const int start = starts[static_cast<size_t>(line)];
    int end = line + 1 < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(line) + 1] : length(e);
    if (end - start >= 2 && e.text[static_cast<size_t>(end) - 2] == L'\r' &&
        e.text[static_cast<size_t>(end) - 1] == L'\n' && line + 1 < static_cast<int>(starts.size()))
        end -= 2;
    return end - start;
}

void redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

void select(HWND hwnd, Edit& e, int anchor, int caret) {
    const int n = length(e);
    e.anchor = std::clamp(anchor, 0, n);
    e.caret = std::clamp(caret, 0, n);
    // Never between the two characters of a line break.
    auto fix = [&](int& p) {
        if (p > 0 && p < n && e.text[static_cast<size_t>(p) - 1] == L'\r' &&
            e.text[static_cast<size_t>(p)] == L'\n')
            --p;
    };
    fix(e.anchor);
    fix(e.caret);
    redraw(hwnd);
}

void rememberUndo(Edit& e) {
    e.undoText = e.text;
    e.undoAnchor = e.anchor;
    e.undoCaret = e.caret;
    e.canUndo = true;
}

void changed(HWND hwnd) {
    redraw(hwnd);
    notifyCommand(hwnd, EN_UPDATE);
    notifyCommand(hwnd, EN_CHANGE);
}

// What a single-line edit keeps of inserted text: the first line.
std::wstring firstLineOf(const std::wstring& s) {
    const size_t end = s.find_first_of(L"\r\n");
    return end == std::wstring::npos ? s : s.substr(0, end);
}

std::wstring caseFolded(HWND hwnd, std::wstring s) {
    const DWORD style = styleOf(hwnd);
    if (style & ES_UPPERCASE)
        return pal::text::toUpper(s);
    if (style & ES_LOWERCASE)
        return pal::text::toLower(s);
    return s;
}

// Replaces the selection by `insert`, cut to the limit (EN_MAXTEXT when cut). Answers whether
// anything changed; the parent hears EN_UPDATE and EN_CHANGE when it did.
bool replaceSelection(HWND hwnd, Edit& e, std::wstring insert, bool undoable) {
    if (!multiLine(hwnd))
        insert = firstLineOf(insert);
    insert = caseFolded(hwnd, std::move(insert));
    const int from = selMin(e), to = selMax(e);
    const int room = std::max(0, e.limit - (length(e) - (to - from)));
    bool cut = false;
    if (static_cast<int>(insert.size()) > room) {
        insert.resize(static_cast<size_t>(room));
        // A line break is never cut in half.
        if (!insert.empty() && insert.back() == L'\r')
            insert.pop_back();
        cut = true;
    }
    if (cut)
        notifyCommand(hwnd, EN_MAXTEXT);
    if (insert.empty() && from == to)
        return false;
    if (undoable)
        rememberUndo(e);
    e.text.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), insert);
    e.anchor = e.caret = from + static_cast<int>(insert.size());
    e.modified = true;
    changed(hwnd);
    return true;
}

bool readOnly(HWND hwnd) {
    return (styleOf(hwnd) & ES_READONLY) != 0;
}

bool isWordChar(wchar_t c) {
    return std::iswalnum(static_cast<wint_t>(c)) || c == L'_';
}

int wordLeft(const Edit& e, int p) {
    while (p > 0 && !isWordChar(e.text[static_cast<size_t>(p) - 1]))
        --p;
    while (p > 0 && isWordChar(e.text[static_cast<size_t>(p) - 1]))
        --p;
    return p;
}

int wordRight(const Edit& e, int p) {
    const int n = length(e);
    while (p < n && isWordChar(e.text[static_cast<size_t>(p)]))
        ++p;
    while (p < n && !isWordChar(e.text[static_cast<size_t>(p)]))
        ++p;
    return p;
}

// One step of the caret: over a line break as a whole.
int stepLeft(const Edit& e, int p) {
    if (p >= 2 && e.text[static_cast<size_t>(p) - 1] == L'\n' && e.text[static_cast<size_t>(p) - 2] == L'\r')
        return p - 2;
    return std::max(0, p - 1);
}
int stepRight(const Edit& e, int p) {
    const int n = length(e);
    if (p + 1 < n && e.text[static_cast<size_t>(p)] == L'\r' && e.text[static_cast<size_t>(p) + 1] == L'\n')
        return p + 2;
    return std::min(n, p + 1);
}

std::wstring shownText(const Edit& e, const std::wstring& s) {
    return e.passwordChar ? std::wstring(s.size(), e.passwordChar) : s;
}

// Layout: the text's origin in the client area.
int textLeft(const Edit& e) {
    return e.leftMargin + 2 - e.scrollX;
}

int xOf(HWND hwnd, const Edit& e, const std::vector<int>& starts, int index) {
    const int line = lineOf(starts, index);
    const int start = starts[static_cast<size_t>(line)];
    (void)hwnd;
    return textLeft(e) + textWidth(e.font, shownText(e, e.text.substr(static_cast<size_t>(start),
                                                                      static_cast<size_t>(index - start))));
}

int indexAt(HWND hwnd, const Edit& e, POINT p) {
    const auto starts = lineStarts(hwnd, e);
    const int height = std::max(1, lineHeight(e.font));
    const int line =
        std::clamp(e.firstLine + std::max(0, p.y - 1) / height, 0, static_cast<int>(starts.size()) - 1);
    const int start = starts[static_cast<size_t>(line)];
    const int count = lineLength(hwnd, e, starts, line);
    int best = start;
    int bestDistance = 1 << 30;
    for (int i = 0; i <= count; ++i) {
        const int x = xOf(hwnd, e, starts, start + i);
        if (std::abs(x - p.x) < bestDistance) {
            bestDistance = std::abs(x - p.x);
            best = start + i;
        }
    }
    return best;
}

// Keeps the caret in view: the first line and the horizontal scroll follow it.
void scrollToCaret(HWND hwnd, Edit& e) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const auto starts = lineStarts(hwnd, e);
    const int line = lineOf(starts, e.caret);
    const int visible = std::max(1, static_cast<int>(r.bottom - r.top) / std::max(1, lineHeight(e.font)));
    if (line < e.firstLine)
        e.firstLine = line;
    else if (line >= e.firstLine + visible)
        e.firstLine = line - visible + 1;
    const int x = xOf(hwnd, e, starts, e.caret) + e.scrollX;
    const int width = std::max(1, static_cast<int>(r.right - r.left) - e.leftMargin - e.rightMargin - 4);
    if (x - e.scrollX < e.leftMargin + 2)
        e.scrollX = std::max(0, x - e.leftMargin - 2);
    else if (x - e.scrollX > e.leftMargin + 2 + width)
        e.scrollX = x - e.leftMargin - 2 - width;
    redraw(hwnd);
}

void moveCaret(HWND hwnd, Edit& e, int to, bool extend) {
    select(hwnd, e, extend ? e.anchor : to, to);
    scrollToCaret(hwnd, e);
}

void copySelection(HWND hwnd, const Edit& e) {
    if (e.passwordChar || selMin(e) == selMax(e))
        return;
    putClipboardText(
        hwnd, e.text.substr(static_cast<size_t>(selMin(e)), static_cast<size_t>(selMax(e) - selMin(e))));
}

void paste(HWND hwnd, Edit& e) {
    if (readOnly(hwnd))
        return;
    if (auto text = clipboardText(hwnd)) {
        replaceSelection(hwnd, e, *text, true);
        scrollToCaret(hwnd, e);
    }
}

void undo(HWND hwnd, Edit& e) {
    if (!e.canUndo || readOnly(hwnd))
        return;
    std::swap(e.text, e.undoText);
    std::swap(e.anchor, e.undoAnchor);
    std::swap(e.caret, e.undoCaret);
    e.modified = true;
    changed(hwnd);
}

void keyDown(HWND hwnd, Edit& e, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const auto starts = lineStarts(hwnd, e);
    const int line = lineOf(starts, e.caret);
    switch (key) {
    case VK_LEFT:
        if (!shift && selMin(e) != selMax(e) && !control)
            moveCaret(hwnd, e, selMin(e), false);
        else
            moveCaret(hwnd, e, control ? wordLeft(e, e.caret) : stepLeft(e, e.caret), shift);
        break;
    case VK_RIGHT:
        if (!shift && selMin(e) != selMax(e) && !control)
            moveCaret(hwnd, e, selMax(e), false);
        else
            moveCaret(hwnd, e, control ? wordRight(e, e.caret) : stepRight(e, e.caret), shift);
        break;
    case VK_HOME:
        moveCaret(hwnd, e, control ? 0 : starts[static_cast<size_t>(line)], shift);
        break;
    case VK_END:
        moveCaret(hwnd, e,
                  control ? length(e) : starts[static_cast<size_t>(line)] + lineLength(hwnd, e, starts, line),
                  shift);
        break;
    case VK_UP:
    case VK_DOWN: {
        if (!multiLine(hwnd))
            break;
        const int target = line + (key == VK_UP ? -1 : 1);
        if (target < 0 || target >= static_cast<int>(starts.size()))
            break;
        const int column = e.caret - starts[static_cast<size_t>(line)];
        moveCaret(hwnd, e,
                  starts[static_cast<size_t>(target)] + std::min(column, lineLength(hwnd, e, starts, target)),
                  shift);
        break;
    }
    case VK_DELETE:
        if (shift) {
            SendMessageW(hwnd, WM_CUT, 0, 0);
            break;
        }
        if (readOnly(hwnd))
            break;
        if (selMin(e) == selMax(e))
            e.anchor = stepRight(e, e.caret);
        replaceSelection(hwnd, e, L"", true);
        scrollToCaret(hwnd, e);
        break;
    case VK_INSERT:
        if (control)
            SendMessageW(hwnd, WM_COPY, 0, 0);
        else if (shift)
            SendMessageW(hwnd, WM_PASTE, 0, 0);
        break;
    default:
        break;
    }
}

void typeChar(HWND hwnd, Edit& e, wchar_t c) {
    switch (c) {
    case 0x01: // Ctrl+A
        select(hwnd, e, 0, length(e));
        return;
    case 0x03: // Ctrl+C
        SendMessageW(hwnd, WM_COPY, 0, 0);
        return;
    case 0x16: // Ctrl+V
        SendMessageW(hwnd, WM_PASTE, 0, 0);
        return;
    case 0x18: // Ctrl+X
        SendMessageW(hwnd, WM_CUT, 0, 0);
        return;
    case 0x1A: // Ctrl+Z
        SendMessageW(hwnd, WM_UNDO, 0, 0);
        return;
    default:
        break;
    }
    if (readOnly(hwnd)) {
        MessageBeep(0);
        return;
    }
    if (c == L'\b') {
        if (selMin(e) == selMax(e))
            e.anchor = stepLeft(e, e.caret);
        replaceSelection(hwnd, e, L"", true);
    } else if (c == L'\r' || c == L'\n') {
        if (!multiLine(hwnd))
            return;
        replaceSelection(hwnd, e, L"\r\n", true);
    } else if (c == L'\t') {
        if (!multiLine(hwnd))
            return;
        replaceSelection(hwnd, e, L"\t", true);
    } else if (c < 0x20 || c == 0x7F) {
        return;
    } else {
        // A number box takes digits only.
        if ((styleOf(hwnd) & ES_NUMBER) && !(c >= L'0' && c <= L'9')) {
            MessageBeep(0);
            return;
        }
        replaceSelection(hwnd, e, std::wstring(1, c), true);
    }
    scrollToCaret(hwnd, e);
}

LRESULT dialogCode(HWND hwnd, LPARAM lParam) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (multiLine(hwnd) && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        (styleOf(hwnd) & ES_WANTRETURN))
        code |= DLGC_WANTALLKEYS;
    return code;
}

void setText(HWND hwnd, Edit& e, const wchar_t* text) {
    e.text = text ? text : L"";
    e.anchor = e.caret = 0;
    e.firstLine = 0;
    e.scrollX = 0;
    e.modified = false;
    e.canUndo = false;
    // A multi-line edit tells its parent of changes a person makes, not of text it is given.
    if (styleOf(hwnd) & ES_MULTILINE)
        redraw(hwnd);
    else
        changed(hwnd);
}

} // namespace

LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Edit* e = attachState<Edit>(hwnd, message);
    if (!e)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (styleOf(hwnd) & ES_PASSWORD)
            e->passwordChar = kPasswordChar;
        if (styleOf(hwnd) & ES_MULTILINE)
            e->limit = 0x7FFFFFFE;
        e->text = cs && cs->lpszName ? cs->lpszName : L"";
        DefWindowProcW(hwnd, message, wParam, lParam);
        return TRUE;
    }
    case WM_SETTEXT:
        DefWindowProcW(hwnd, message, wParam, lParam);
        setText(hwnd, *e, reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        const size_t n = std::min(e->text.size(), static_cast<size_t>(wParam) - 1);
        std::copy_n(e->text.data(), n, buffer);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return length(*e);
    case WM_GETDLGCODE:
        return dialogCode(hwnd, lParam);
    case WM_SETFOCUS:
        e->focused = true;
        redraw(hwnd);
        notifyCommand(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        e->focused = false;
        e->selecting = false;
        redraw(hwnd);
        notifyCommand(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        keyDown(hwnd, *e, wParam);
        return 0;
    case WM_CHAR:
        typeChar(hwnd, *e, static_cast<wchar_t>(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(hwnd);
        const int at = indexAt(hwnd, *e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        moveCaret(hwnd, *e, at, (wParam & MK_SHIFT) != 0);
        e->selecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        const int at = indexAt(hwnd, *e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        int from = at, to = at;
        while (from > 0 && isWordChar(e->text[static_cast<size_t>(from) - 1]))
            --from;
        while (to < length(*e) && isWordChar(e->text[static_cast<size_t>(to)]))
            ++to;
        select(hwnd, *e, from, to);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (e->selecting && GetCapture() == hwnd)
            moveCaret(hwnd, *e, indexAt(hwnd, *e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true);
        return 0;
    case WM_LBUTTONUP:
        if (e->selecting) {
            e->selecting = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    case WM_COPY:
        copySelection(hwnd, *e);
        return 0;
    case WM_CUT:
        if (e->passwordChar || readOnly(hwnd))
            return 0;
        copySelection(hwnd, *e);
        replaceSelection(hwnd, *e, L"", true);
        return 0;
    case WM_PASTE:
        paste(hwnd, *e);
        return 0;
    case WM_CLEAR:
        if (!readOnly(hwnd))
            replaceSelection(hwnd, *e, L"", true);
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        undo(hwnd, *e);
        return e->canUndo ? TRUE : FALSE;
    case EM_CANUNDO:
        return e->canUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        e->canUndo = false;
        e->undoText.clear();
        return 0;
    case EM_GETSEL: {
        const int from = selMin(*e), to = selMax(*e);
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(from);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(to);
        return static_cast<LRESULT>(
            MAKELONG(static_cast<WORD>(std::min(from, 0xFFFF)), static_cast<WORD>(std::min(to, 0xFFFF))));
    }
    case EM_SETSEL: {
        int from = static_cast<int>(wParam), to = static_cast<int>(lParam);
        if (from == -1) { // removes the selection, the caret stays
            select(hwnd, *e, e->caret, e->caret);
            return 0;
        }
        if (to < 0)
            to = length(*e);
        if (from < 0)
            from = length(*e);
        select(hwnd, *e, from, to);
        return 0;
    }
    case EM_REPLACESEL:
        replaceSelection(hwnd, *e, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", wParam != 0);
        scrollToCaret(hwnd, *e);
        return 0;
    case EM_SCROLLCARET:
        scrollToCaret(hwnd, *e);
        return TRUE;
    case EM_GETMODIFY:
        return e->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        e->modified = wParam != 0;
        return 0;
    case EM_LIMITTEXT: {
        const int most = multiLine(hwnd) ? 0x7FFFFFFE : 0x7FFFFFFE;
        e->limit = wParam == 0 ? most : static_cast<int>(std::min<WPARAM>(wParam, static_cast<WPARAM>(most)));
        return 0;
    }
    case EM_GETLIMITTEXT:
        return e->limit;
    case EM_SETREADONLY: {
        const DWORD style = styleOf(hwnd);
        SetWindowLongW(hwnd, GWL_STYLE,
                       static_cast<LONG>(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
        redraw(hwnd);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR:
        if (multiLine(hwnd))
            return 0;
        e->passwordChar = static_cast<wchar_t>(wParam);
        redraw(hwnd);
        return 0;
    case EM_GETPASSWORDCHAR:
        return e->passwordChar;
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(lineStarts(hwnd, *e).size());
    case EM_LINEINDEX: {
        const auto starts = lineStarts(hwnd, *e);
        const int line = static_cast<int>(wParam) == -1 ? lineOf(starts, e->caret) : static_cast<int>(wParam);
        if (line < 0 || line >= static_cast<int>(starts.size()))
            return -1;
        return starts[static_cast<size_t>(line)];
    }
    case EM_LINEFROMCHAR: {
        const auto starts = lineStarts(hwnd, *e);
        const int index =
            static_cast<int>(wParam) == -1 ? e->caret : std::clamp(static_cast<int>(wParam), 0, length(*e));
        return lineOf(starts, index);
    }
    case EM_LINELENGTH: {
        const auto starts = lineStarts(hwnd, *e);
        if (static_cast<int>(wParam) == -1) {
            const int first = lineOf(starts, selMin(*e)), last = lineOf(starts, selMax(*e));
            const int lastEnd = starts[static_cast<size_t>(last)] + lineLength(hwnd, *e, starts, last);
            return (selMin(*e) - starts[static_cast<size_t>(first)]) + (lastEnd - selMax(*e));
        }
        const int index = static_cast<int>(wParam);
        if (index < 0 || index > length(*e))
            return 0;
        return lineLength(hwnd, *e, starts, lineOf(starts, index));
    }
    case EM_GETLINE: {
        const auto starts = lineStarts(hwnd, *e);
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        const int line = static_cast<int>(wParam);
        if (!buffer || line < 0 || line >= static_cast<int>(starts.size()))
            return 0;
        const int room = *reinterpret_cast<const WORD*>(buffer);
        const int n = std::min(room, lineLength(hwnd, *e, starts, line));
        std::copy_n(e->text.data() + starts[static_cast<size_t>(line)], n, buffer);
        if (n < room)
            buffer[n] = L'\0';
        return n;
    }
    case EM_GETFIRSTVISIBLELINE:
        return multiLine(hwnd) ? e->firstLine : 0;
    case EM_LINESCROLL:
        if (!multiLine(hwnd))
            return FALSE;
        e->firstLine = std::clamp(e->firstLine + static_cast<int>(lParam), 0,
                                  static_cast<int>(lineStarts(hwnd, *e).size()) - 1);
        redraw(hwnd);
        return TRUE;
    case EM_SETMARGINS:
        if (wParam & EC_LEFTMARGIN)
            e->leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? 1 : LOWORD(lParam);
        if (wParam & EC_RIGHTMARGIN)
            e->rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? 1 : HIWORD(lParam);
        redraw(hwnd);
        return 0;
    case EM_GETMARGINS:
        return MAKELONG(static_cast<WORD>(e->leftMargin), static_cast<WORD>(e->rightMargin));
    case EM_POSFROMCHAR: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index > length(*e))
            return -1;
        const auto starts = lineStarts(hwnd, *e);
        const int x = xOf(hwnd, *e, starts, index);
        const int y = (lineOf(starts, index) - e->firstLine) * lineHeight(e->font) + 1;
        return MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y));
    }
    case EM_CHARFROMPOS: {
        const int index = indexAt(hwnd, *e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        const int line = lineOf(lineStarts(hwnd, *e), index);
        return MAKELONG(static_cast<WORD>(index), static_cast<WORD>(line));
    }
    case EM_GETRECT:
        if (lParam) {
            RECT r{};
            GetClientRect(hwnd, &r);
            r.left += e->leftMargin + 2;
            r.right -= e->rightMargin + 2;
            r.top += 1;
            *reinterpret_cast<RECT*>(lParam) = r;
        }
        return 0;
    case WM_SETFONT:
        e->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            redraw(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(e->font);
    case WM_ENABLE:
    case WM_SIZE:
        redraw(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        std::vector<std::wstring> lines;
        const auto starts = lineStarts(hwnd, *e);
        for (size_t i = 0; i < starts.size(); ++i) {
            const int n = lineLength(hwnd, *e, starts, static_cast<int>(i));
            lines.push_back(
                shownText(*e, e->text.substr(static_cast<size_t>(starts[i]), static_cast<size_t>(n))));
        }
        EditLook look{&lines,
                      starts,
                      selMin(*e),
                      selMax(*e),
                      e->caret,
                      e->focused,
                      e->focused || (styleOf(hwnd) & ES_NOHIDESEL) != 0,
                      e->firstLine,
                      e->scrollX,
                      e->leftMargin,
                      e->font,
                      readOnly(hwnd)};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintEdit(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
