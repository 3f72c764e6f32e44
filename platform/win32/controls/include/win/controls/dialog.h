// Dialogs: templates declared in code in dialog units, modal and modeless dialogs, the default
// dialog procedure and the dialog keyboard (IsDialogMessageW).
#pragma once

#include "pal/visibility.h"
#include "win/controls/message_box.h" // IDOK, IDCANCEL
#include "win/gdi/icon.h"             // MAKEINTRESOURCEW
#include "win/user.h"

#include <cstddef>

DV_EXPORTS_BEGIN

inline constexpr const wchar_t* WC_DIALOG = L"#32770";

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_LOCALEDIT = 0x0020;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG = 0x0100;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;
constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// The dialog's extra bytes: the answer of the last message, the dialog procedure, the user's value.
constexpr int DLGWINDOWEXTRA = 30;
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT));
constexpr int DWLP_USER = DWLP_DLGPROC + static_cast<int>(sizeof(DLGPROC));

constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr UINT DM_REPOSITION = WM_USER + 2;
constexpr WORD DC_HASDEFID = 0x534B;

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
inline HWND CreateDialogW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc) {
    return CreateDialogParamW(instance, templateName, owner, proc, 0);
}
// Runs the dialog's own loop until EndDialog; -1 when the dialog cannot be made.
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
inline INT_PTR DialogBoxW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc) {
    return DialogBoxParamW(instance, templateName, owner, proc, 0);
}
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);
inline BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
    return IsDialogMessageW(dialog, msg);
}
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
BOOL MapDialogRect(HWND dialog, LPRECT rect);
LONG GetDialogBaseUnits();

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The number in the control: leading and trailing blanks allowed, a sign when `isSigned`;
// *translated is FALSE (and the answer 0) for anything else or a number out of range.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and clears the other radio buttons from `first` to `last`.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

namespace pal::win {

// A control of a dialog template, in dialog units. WS_CHILD is always added, WS_VISIBLE
// unless the item is hidden.
struct DialogItem {
    LPCWSTR className; // "Button", "Edit", "Static", "ListBox", "ComboBox", "SysLink", ...
    LPCWSTR text;
    WORD id;
    DWORD style;
    short x, y, cx, cy;
    DWORD exStyle = 0;
    bool hidden = false;
};

// A dialog template declared in code. The dialog's font gives its dialog units; without DS_SETFONT
// the dialog uses the system's dialog font ("MS Shell Dlg", 8 points).
struct DialogTemplate {
    WORD id;
    LPCWSTR caption;
    DWORD style;
    short x, y, cx, cy;
    const DialogItem* items;
    std::size_t count;
    LPCWSTR fontFace = nullptr;
    WORD pointSize = 8;
    DWORD exStyle = 0;
};

// Makes templates findable by id (CreateDialogParamW, DialogBoxParamW) while the object lives.
class DialogTemplateSet {
public:
    DialogTemplateSet(const DialogTemplate* templates, std::size_t count);
    ~DialogTemplateSet();
    DialogTemplateSet(const DialogTemplateSet&) = delete;
    DialogTemplateSet& operator=(const DialogTemplateSet&) = delete;

private:
    const DialogTemplate* templates_;
};

const DialogTemplate* findDialogTemplate(WORD id);
HWND createDialog(const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param);
INT_PTR dialogBox(const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param);

// The modal part of a dialog made here, for loops other than DialogBoxParamW's: beginModal
// disables the dialog's owner (when it is enabled) and remembers that it did, or remembers
// `disabledOwner`, which the caller disabled itself; EndDialog then enables the owner before the
// dialog hides. endModal, once the loop is over, enables the owner if EndDialog did not and
// hands activation back to it while the dialog still holds it.
void beginModal(HWND dialog, HWND disabledOwner = nullptr);
void endModal(HWND dialog);

// The average character width and the height of a dialog's font: 4 horizontal and 8 vertical
// dialog units.
SIZE dialogBaseUnits(HWND dialog);

} // namespace pal::win

DV_EXPORTS_END
