// The managed controls the ribbon's backstage hosts: the list of document prototypes of the
// new-document page and the list of export formats of the export pages. No managed runtime runs
// here: each control is a plain child window that lists its items and answers a click through
// its callback, in the colours its host gives it.
#pragma once

#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "pal/visibility.h"
#include "win/types.h"

#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace DravikManagedUIProxy {

// What the export control calls when the person picks a format: its index in the list.
class IExportCallback {
public:
    virtual void OnExportFormatChosen(int formatIndex) = 0;

protected:
    ~IExportCallback() = default;
};

struct ExportFilter {
    std::wstring name;
    std::wstring extension;
};

class ExportController {
public:
    // A hidden child of `parent` listing the formats; null when it cannot be made.
    static HWND CreateControl(HWND parent, const std::vector<ExportFilter>& filters,
                              IExportCallback* callback);
    static void SetFilters(HWND control, const std::vector<ExportFilter>& filters);
    static std::vector<ExportFilter> GetFilters(HWND control);
    static void SetTheme(HWND control, COLORREF background, COLORREF text);
    static void DestroyControl(HWND control);
};

class PrototypesController {
public:
    // A hidden child of `parent` listing the prototypes of a folder (none: no folder yet).
    static HWND CreateControl(HWND parent, const wchar_t* folder, IPrototypesCallback* callback);
    // The folder's documents become the prototypes; `refresh` reads the folder again even when
    // it is the one shown.
    static void SetPrototypeFolder(HWND control, const wchar_t* folder, bool refresh);
    static std::vector<std::wstring> GetPrototypes(HWND control);
    // 0, 2 and 4 are light themes, 1, 3 and 5 their dark counterparts.
    static void SetTheme(HWND control, int themeType);
    static int GetTheme(HWND control);
    static void DestroyControl(HWND control);
};

} // namespace DravikManagedUIProxy

DV_EXPORTS_END
