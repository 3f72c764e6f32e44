// The file dialog: a dialog listing the folders and the files of a folder that match a filter,
// with a name edit, for choosing files to open or a name to save under.
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

DV_EXPORTS_BEGIN

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter; // pairs of "description\0pattern;pattern\0", ended by an empty string
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1-based
    LPWSTR lpstrFile;   // in: the initial name; out: the chosen path, or folder\0name\0name\0\0
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
using LPOPENFILENAMEW = OPENFILENAMEW*;
using OPENFILENAME = OPENFILENAMEW;
using LPOPENFILENAME = OPENFILENAMEW*;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_ENABLETEMPLATEHANDLE = 0x00000080;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_SHAREAWARE = 0x00004000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
constexpr DWORD OFN_NONETWORKBUTTON = 0x00020000;
constexpr DWORD OFN_NOLONGNAMES = 0x00040000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLEINCLUDENOTIFY = 0x00400000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;
constexpr DWORD OFN_DONTADDTORECENT = 0x02000000;
constexpr DWORD OFN_FORCESHOWHIDDEN = 0x10000000;

// CommDlgExtendedError
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_SUBCLASSFAILURE = 0x3001;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// The controls of the file dialog, with the platform's ids.
constexpr int stc1 = 0x0440; // the folder shown
constexpr int stc2 = 0x0441; // the label of the file types
constexpr int stc3 = 0x0442; // the name's label
constexpr int lst1 = 0x0460; // folders and files
constexpr int cmb1 = 0x0470; // the file types of the filter
constexpr int edt1 = 0x0480; // the name

// TRUE when files were chosen; FALSE when the dialog was cancelled or failed
// (CommDlgExtendedError tells which). Under the test fixture, or with nobody at a display, the
// responder answers with a path (several paths of one folder separated by '|') that must lie in
// the sandbox, or IDCANCEL; a person at the live dialog may choose any of their files.
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);
DWORD CommDlgExtendedError();

// The colour chooser, always opened whole: 48 basic colours, the caller's 16 custom colours, the chosen
// colour's red, green and blue, and a button that puts the chosen colour among the custom colours.
using LPCCHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSECOLORW {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;     // in with CC_RGBINIT: the colour the dialog starts from; out: the choice
    COLORREF* lpCustColors; // 16 colours, read at the start and written back on OK
    DWORD Flags;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
};
using LPCHOOSECOLORW = CHOOSECOLORW*;
using CHOOSECOLOR = CHOOSECOLORW;
using LPCHOOSECOLOR = CHOOSECOLORW*;

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;
constexpr DWORD CC_PREVENTFULLOPEN = 0x00000004;
constexpr DWORD CC_SHOWHELP = 0x00000008;
constexpr DWORD CC_ENABLEHOOK = 0x00000010;
constexpr DWORD CC_ENABLETEMPLATE = 0x00000020;
constexpr DWORD CC_ENABLETEMPLATEHANDLE = 0x00000040;
constexpr DWORD CC_SOLIDCOLOR = 0x00000080;
constexpr DWORD CC_ANYCOLOR = 0x00000100;

// The chooser's controls, with the platform's ids.
constexpr int COLOR_RED = 706;
constexpr int COLOR_GREEN = 707;
constexpr int COLOR_BLUE = 708;
constexpr int COLOR_CURRENT = 709;
constexpr int COLOR_ADD = 712;

// TRUE when a colour was chosen (rgbResult holds it, lpCustColors the custom colours as the
// dialog left them); FALSE when it was cancelled or the structure is unusable (CDERR_STRUCTSIZE,
// or CDERR_INITIALIZATION without custom colours). Under the test fixture, or with nobody at a
// display, the responder answers: a text "#RRGGBB" or "R G B" sets the colour, "Add to Custom
// Colours" (or another button's text) presses that button, IDOK or IDCANCEL ends it. Answers are
// carried out one at a time, as a person would.
BOOL ChooseColorW(LPCHOOSECOLORW cc);

inline BOOL ChooseColor(LPCHOOSECOLORW cc) {
    return ChooseColorW(cc);
}

inline BOOL GetOpenFileName(LPOPENFILENAMEW ofn) {
    return GetOpenFileNameW(ofn);
}
inline BOOL GetSaveFileName(LPOPENFILENAMEW ofn) {
    return GetSaveFileNameW(ofn);
}

DV_EXPORTS_END
