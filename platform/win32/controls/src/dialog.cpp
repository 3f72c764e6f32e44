// The dialog manager: dialogs made from templates declared in code, their default procedure,
// modal loops and the helpers that reach a dialog's controls by id.
#include "control.h"
#include "dialog_state.h"
#include "paint.h"

#include "pal/text.h"
#include "pal/unattended_dialog.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace pal::ctl {
namespace {

// A dialog lives on the thread that made it, and only that thread runs its procedure and its
// keyboard: each thread keeps its own dialogs' state.
std::map<HWND, DialogState>& states() {
    thread_local std::map<HWND, DialogState> all;
    return all;
}

struct TemplateSet {
    const pal::win::DialogTemplate* templates;
    size_t count;
};
std::mutex templatesMutex;
std::vector<TemplateSet>& templateSets() {
    static auto* sets = new std::vector<TemplateSet>;
    return *sets;
}

// The messages whose answer is what the dialog procedure returns rather than DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

HWND firstTabItem(HWND dialog) {
    return GetNextDlgTabItem(dialog, nullptr, FALSE);
}

void setDefaultButton(HWND dialog, WORD id) {
    DialogState* s = dialogState(dialog);
    if (!s)
        return;
    const HWND old = s->defId ? GetDlgItem(dialog, s->defId) : nullptr;
    if (old && (dialogCode(old) & DLGC_DEFPUSHBUTTON))
        SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    s->defId = id;
    const HWND now = id ? GetDlgItem(dialog, id) : nullptr;
    if (now && (dialogCode(now) & DLGC_UNDEFPUSHBUTTON))
        SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

// The template's font at the screen's 96 dots per inch; the system's dialog font without one.
HFONT dialogFont(const pal::win::DialogTemplate& t, bool* owned) {
    *owned = false;
    if (!(t.style & DS_SETFONT) || !t.fontFace)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int points = t.pointSize ? t.pointSize : 8;
    const HFONT font = CreateFontW(-((points * 96 + 36) / 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH | FF_SWISS, t.fontFace);
    *owned = font != nullptr;
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The average character width (from the 52 letters, rounded as the platform rounds) and the
// height of the font: 4 horizontal and 8 vertical dialog units.
SIZE unitsOf(HFONT font) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32W(dc, letters, 52, &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    const LONG width = (size.cx / 26 + 1) / 2;
    return SIZE{width > 0 ? width : 6, tm.tmHeight > 0 ? tm.tmHeight : 13};
}

int toPixelsX(short units, SIZE base) {
    return (units * static_cast<int>(base.cx) + 2) / 4;
}
int toPixelsY(short units, SIZE base) {
    return (units * static_cast<int>(base.cy) + 4) / 8;
}

HWND build(const pal::win::DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param, bool modal) {
    bool ownsFont = false;
    const HFONT font = dialogFont(t, &ownsFont);
    const SIZE base = unitsOf(font);
    DWORD style = t.style & ~WS_VISIBLE;
    DWORD exStyle = t.exStyle | WS_EX_CONTROLPARENT;
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (!(style & WS_CHILD))
        style |= WS_POPUP;
    RECT r{0, 0, toPixelsX(t.cx, base), toPixelsY(t.cy, base)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    POINT at{toPixelsX(t.x, base), toPixelsY(t.y, base)};
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (style & DS_CENTER) {
        RECT area{};
        if (owner && !(style & WS_CHILD)) {
            GetWindowRect(owner, &area);
        } else {
            MONITORINFO info{sizeof info, {}, {}, 0};
            GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &info);
            area = info.rcWork;
        }
        at = POINT{area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2};
    } else if (owner && !(style & WS_CHILD) && !(style & DS_ABSALIGN)) {
        ClientToScreen(owner, &at);
    }
    const HWND dialog = CreateWindowExW(exStyle, WC_DIALOG, t.caption ? t.caption : L"", style, at.x, at.y,
                                        width, height, owner, nullptr, nullptr, nullptr);
    if (!dialog) {
        if (ownsFont)
            DeleteObject(font);
        return nullptr;
    }
    DialogState& s = addDialogState(dialog);
    s.units = base;
    s.modal = modal;
    // Kept for WM_GETFONT and, when the template made it, deleted with the dialog.
    s.font = font;
    s.templateFont = ownsFont ? font : nullptr;
    // Only a template that names its font hands it out; the others' controls keep their own.
    const bool setFont = (t.style & DS_SETFONT) != 0;
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (setFont)
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (size_t i = 0; i < t.count; ++i) {
        const pal::win::DialogItem& item = t.items[i];
        DWORD itemStyle = (item.style | WS_CHILD) & ~WS_POPUP;
        if (!item.hidden)
            itemStyle |= WS_VISIBLE;
        const HWND control =
            CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className, item.text ? item.text : L"",
                            itemStyle, toPixelsX(item.x, base), toPixelsY(item.y, base),
                            toPixelsX(item.cx, base), toPixelsY(item.cy, base), dialog,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), nullptr, nullptr);
        if (!control) {
            if (t.style & DS_NOFAILCREATE)
                continue;
            DestroyWindow(dialog);
            return nullptr;
        }
        if (setFont)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!dialogState(dialog)->defId && (dialogCode(control) & DLGC_DEFPUSHBUTTON))
            dialogState(dialog)->defId = item.id;
    }
    const HWND first = firstTabItem(dialog);
    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && IsWindow(dialog)) {
        const HWND focus = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (focus)
            focusControl(dialog, focus);
    }
    if (!IsWindow(dialog))
        return nullptr;
    if (t.style & WS_VISIBLE)
        ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

INT_PTR runModal(HWND dialog, HWND owner) {
    pal::win::beginModal(dialog);
    DialogState* s = dialogState(dialog);
    if (s && !s->ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    MSG msg{};
    bool quit = false;
    pal::win::UnattendedDialog unattended(dialog);
    while (IsWindow(dialog) && (s = dialogState(dialog)) && !s->ended) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && owner &&
            !(GetWindowLongW(dialog, GWL_STYLE) & DS_NOIDLEMSG))
            SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
        if ((s = dialogState(dialog)) == nullptr || s->ended)
            break;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            const auto outcome = unattended.answer();
            if (outcome == pal::win::UnattendedDialog::Outcome::Ignored) {
                EndDialog(dialog, IDCANCEL);
                break;
            }
            if (outcome == pal::win::UnattendedDialog::Outcome::Answered)
                continue;
        }
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            quit = true;
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    INT_PTR result = -1;
    if ((s = dialogState(dialog)))
        result = s->result;
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
    pal::win::endModal(dialog);
    if (IsWindow(dialog))
        DestroyWindow(dialog);
    return result;
}

void saveFocus(HWND dialog) {
    DialogState* s = dialogState(dialog);
    const HWND focus = GetFocus();
    if (s && focus && IsChild(dialog, focus))
        s->savedFocus = focus;
}

void restoreFocus(HWND dialog) {
    DialogState* s = dialogState(dialog);
    HWND focus = s && s->savedFocus && IsWindow(s->savedFocus) && IsChild(dialog, s->savedFocus)
                     ? s->savedFocus
                     : firstTabItem(dialog);
    if (focus)
        focusControl(dialog, focus);
}

} // namespace

DialogState* dialogState(HWND dialog) {
    auto& all = states();
    auto it = all.find(dialog);
    return it == all.end() || !IsWindow(dialog) ? nullptr : &it->second;
}

DialogState& addDialogState(HWND dialog) {
    auto& all = states();
    std::erase_if(all, [](const auto& entry) { return !IsWindow(entry.first); });
    return all[dialog];
}

void removeDialogState(HWND dialog) {
    states().erase(dialog);
}

LRESULT dialogCode(HWND control, const MSG* msg) {
    return SendMessageW(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

void focusControl(HWND dialog, HWND control) {
    if (!control)
        return;
    const LRESULT code = dialogCode(control);
    // Selected before the focus arrives, so that a selection the dialog makes when it hears
    // EN_SETFOCUS stands.
    if (code & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
    // The default frame moves to a push button that takes the focus, and back when it leaves.
    const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    const HWND defButton = HIWORD(def) == DC_HASDEFID ? GetDlgItem(dialog, LOWORD(def)) : nullptr;
    for (HWND c : dialogControls(dialog)) {
        const LRESULT cc = dialogCode(c);
        if (!(cc & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) || (styleOf(c) & BS_TYPEMASK) == BS_OWNERDRAW)
            continue;
        const bool pushButtonFocused = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        const bool shouldBeDefault = pushButtonFocused ? c == control : c == defButton;
        if (shouldBeDefault && (cc & DLGC_UNDEFPUSHBUTTON))
            SendMessageW(c, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        else if (!shouldBeDefault && (cc & DLGC_DEFPUSHBUTTON))
            SendMessageW(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
}

std::vector<HWND> dialogControls(HWND dialog) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        if (GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
            const auto inner = dialogControls(c);
            out.insert(out.end(), inner.begin(), inner.end());
        }
    }
    return out;
}

} // namespace pal::ctl

using namespace pal::ctl;

namespace pal::win {

DialogTemplateSet::DialogTemplateSet(const DialogTemplate* templates, std::size_t count)
    : templates_(templates) {
    std::lock_guard lock(templatesMutex);
    templateSets().push_back({templates, count});
}

DialogTemplateSet::~DialogTemplateSet() {
    std::lock_guard lock(templatesMutex);
    std::erase_if(templateSets(), [this](const TemplateSet& s) { return s.templates == templates_; });
}

const DialogTemplate* findDialogTemplate(WORD id) {
    std::lock_guard lock(templatesMutex);
    for (const TemplateSet& s : templateSets()) {
        for (size_t i = 0; i < s.count; ++i) {
            if (s.templates[i].id == id)
                return &s.templates[i];
        }
    }
    return nullptr;
}

HWND createDialog(const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param) {
    return build(t, owner, proc, param, false);
}

INT_PTR dialogBox(const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param) {
    if (owner)
        owner = GetAncestor(owner, GA_ROOT);
    const HWND dialog = build(t, owner, proc, param, true);
    if (!dialog)
        return -1;
    return runModal(dialog, owner);
}

void beginModal(HWND dialog, HWND disabledOwner) {
    const HWND owner = disabledOwner ? disabledOwner : GetWindow(dialog, GW_OWNER);
    if (!dialogState(dialog) || !owner)
        return;
    if (!disabledOwner) {
        if (!IsWindowEnabled(owner))
            return;
        EnableWindow(owner, FALSE);
    }
    if (DialogState* s = dialogState(dialog))
        s->disabledOwner = owner;
}

void endModal(HWND dialog) {
    DialogState* s = dialogState(dialog);
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (s && s->disabledOwner) {
        const HWND disabled = s->disabledOwner;
        s->disabledOwner = nullptr;
        EnableWindow(disabled, TRUE);
    }
    if (owner && GetActiveWindow() == dialog)
        SetActiveWindow(owner);
}

SIZE dialogBaseUnits(HWND dialog) {
    const DialogState* s = dialogState(dialog);
    return s ? s->units : unitsOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

} // namespace pal::win

namespace {

const pal::win::DialogTemplate* templateNamed(LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto* t = pal::win::findDialogTemplate(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    if (!t)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return t;
}

} // namespace

HWND CreateDialogParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    const auto* t = templateNamed(templateName);
    return t ? pal::win::createDialog(*t, owner, proc, param) : nullptr;
}

INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    const auto* t = templateNamed(templateName);
    return t ? pal::win::dialogBox(*t, owner, proc, param) : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* s = dialogState(dialog);
    if (!s) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    s->result = result;
    s->ended = true;
    // The owner first: hiding the active dialog passes activation on, and only an enabled
    // owner can take it.
    if (const HWND owner = s->disabledOwner) {
        s->disabledOwner = nullptr;
        EnableWindow(owner, TRUE);
    }
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(dialog, WM_NULL, 0, 0); // wakes the modal loop
    return TRUE;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (handled || message == WM_INITDIALOG)
            return answersDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
        if (!IsWindow(dialog))
            return 0;
    }
    DialogState* s = dialogState(dialog);
    switch (message) {
    case WM_INITDIALOG:
        return 0;
    case WM_CLOSE: {
        const HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            saveFocus(dialog);
        else
            restoreFocus(dialog);
        return 0;
    case WM_SETFOCUS:
        restoreFocus(dialog);
        return 0;
    case WM_KILLFOCUS:
        return 0;
    case DM_GETDEFID:
        return s && s->defId ? MAKELONG(s->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        setDefaultButton(dialog, static_cast<WORD>(wParam));
        return TRUE;
    case DM_REPOSITION:
        return 0;
    case WM_NEXTDLGCTL: {
        HWND next = nullptr;
        if (LOWORD(lParam))
            next = reinterpret_cast<HWND>(wParam);
        else
            next = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
        if (next)
            focusControl(dialog, next);
        return 0;
    }
    case WM_SETFONT:
        if (s)
            s->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return s ? reinterpret_cast<LRESULT>(s->font) : 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return defaultControlColor(message);
    case WM_ERASEBKGND:
        paintDialogBackground(dialog, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_NCDESTROY:
        if (s && s->templateFont)
            DeleteObject(s->templateFont);
        removeDialogState(dialog);
        break;
    default:
        break;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    if (!rect || !dialogState(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const SIZE base = dialogState(dialog)->units;
    auto scale = [](LONG v, LONG mul, LONG div) {
        return static_cast<LONG>((static_cast<long long>(v) * mul + (v >= 0 ? div / 2 : -div / 2)) / div);
    };
    rect->left = scale(rect->left, base.cx, 4);
    rect->right = scale(rect->right, base.cx, 4);
    rect->top = scale(rect->top, base.cy, 8);
    rect->bottom = scale(rect->bottom, base.cy, 8);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    // The system font's average width and height.
    return static_cast<LONG>(MAKELONG(8, 16));
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (buffer && size > 0)
            buffer[0] = L'\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::wstring text =
        isSigned ? std::to_wstring(static_cast<int>(value)) : std::to_wstring(static_cast<unsigned>(value));
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated)
        *translated = FALSE;
    const HWND control = GetDlgItem(dialog, id);
    if (!control)
        return 0;
    const std::wstring text = textOf(control);
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (isSigned && i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    const size_t digits = i;
    long long value = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = value * 10 + (text[i++] - L'0');
        if (value > 0xFFFFFFFFLL)
            return 0;
    }
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    if (i == digits || i != text.size())
        return 0;
    if (negative)
        value = -value;
    if (isSigned ? (value < INT32_MIN || value > INT32_MAX) : value > 0xFFFFFFFFLL)
        return 0;
    if (translated)
        *translated = TRUE;
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control)
        return FALSE;
    SendMessageW(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    if (first > last)
        std::swap(first, last);
    bool found = false;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id < first || id > last)
            continue;
        SendMessageW(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
        found |= id == check;
    }
    return found ? TRUE : FALSE;
}
