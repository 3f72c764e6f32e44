#include "DravikManagedUIProxy/Controllers.h"

#include "DVDiagnostics/Trace.h"
#include "pal/path.h"
#include "windows.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace DravikManagedUIProxy {

namespace {

constexpr wchar_t kClassName[] = L"Dravik.ManagedListControl";

// One control's state: a title, its items as tiles, and what a click on a tile runs.
struct ListControl {
    std::wstring title;
    std::vector<std::wstring> items;
    COLORREF background = RGB(255, 255, 255);
    COLORREF text = RGB(0, 0, 0);
    int theme = 0;
    // The export control's formats and callback, or the prototypes' folder and callback.
    std::vector<ExportFilter> filters;
    IExportCallback* exportCallback = nullptr;
    std::vector<std::wstring> paths;
    std::wstring folder;
    IPrototypesCallback* prototypesCallback = nullptr;
};

constexpr int kTop = 56;
constexpr int kTileWidth = 220;
constexpr int kTileHeight = 44;
constexpr int kGap = 8;

ListControl* stateOf(HWND control) {
    return control ? reinterpret_cast<ListControl*>(::GetWindowLongPtrW(control, GWLP_USERDATA)) : nullptr;
}

RECT tileRect(HWND control, int index) {
    RECT client{};
    ::GetClientRect(control, &client);
    const int columns = std::max(1, static_cast<int>(client.right - 2 * kGap) / (kTileWidth + kGap));
    const int x = kGap + (index % columns) * (kTileWidth + kGap);
    const int y = kTop + (index / columns) * (kTileHeight + kGap);
    return RECT{x, y, x + kTileWidth, y + kTileHeight};
}

int hitTest(HWND control, POINT point) {
    const ListControl* state = stateOf(control);
    for (int i = 0; state && i < static_cast<int>(state->items.size()); ++i) {
        const RECT r = tileRect(control, i);
        if (::PtInRect(&r, point))
            return i;
    }
    return -1;
}

COLORREF blend(COLORREF a, COLORREF b, int percentOfB) {
    auto mix = [&](int x, int y) {
        return static_cast<BYTE>((x * (100 - percentOfB) + y * percentOfB) / 100);
    };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

void paint(HWND control) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(control, &ps);
    const ListControl* state = stateOf(control);
    RECT client{};
    ::GetClientRect(control, &client);
    if (state) {
        HBRUSH back = ::CreateSolidBrush(state->background);
        ::FillRect(dc, &client, back);
        ::DeleteObject(back);
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetTextColor(dc, state->text);
        RECT title{kGap, kGap, client.right - kGap, kTop - kGap};
        ::DrawTextW(dc, state->title.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        HBRUSH tile = ::CreateSolidBrush(blend(state->background, state->text, 8));
        HBRUSH edge = ::CreateSolidBrush(blend(state->background, state->text, 35));
        for (int i = 0; i < static_cast<int>(state->items.size()); ++i) {
            RECT r = tileRect(control, i);
            ::FillRect(dc, &r, tile);
            ::FrameRect(dc, &r, edge);
            r.left += 12;
            ::DrawTextW(dc, state->items[static_cast<size_t>(i)].c_str(), -1, &r,
                        DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        ::DeleteObject(tile);
        ::DeleteObject(edge);
        ::SelectObject(dc, oldFont);
    }
    ::EndPaint(control, &ps);
}

void onClick(HWND control, POINT point) {
    ListControl* state = stateOf(control);
    const int index = hitTest(control, point);
    if (!state || index < 0)
        return;
    if (state->exportCallback)
        state->exportCallback->OnExportFormatChosen(index);
    else if (state->prototypesCallback && index < static_cast<int>(state->paths.size()))
        state->prototypesCallback->CreateDocumentFromPrototype(
            state->paths[static_cast<size_t>(index)].c_str());
}

LRESULT controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint(control);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONUP:
        onClick(control, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_NCDESTROY:
        delete stateOf(control);
        ::SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(control, message, wParam, lParam);
}

HWND createControl(HWND parent, std::unique_ptr<ListControl> state) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = controlProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return ::RegisterClassW(&wc) != 0;
    }();
    if (!registered || !parent)
        return nullptr;
    HWND control = ::CreateWindowExW(0, kClassName, state->title.c_str(), WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0,
                                     0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (control)
        ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    return control;
}

void refresh(HWND control) {
    ::InvalidateRect(control, nullptr, TRUE);
}

void destroy(HWND control, const char* what) {
    if (stateOf(control) == nullptr)
        return;
    dvtrace::record("DravikManagedUIProxy", what);
    ::DestroyWindow(control);
}

} // namespace

HWND ExportController::CreateControl(HWND parent, const std::vector<ExportFilter>& filters,
                                     IExportCallback* callback) {
    auto state = std::make_unique<ListControl>();
    state->title = L"Export";
    state->exportCallback = callback;
    HWND control = createControl(parent, std::move(state));
    SetFilters(control, filters);
    return control;
}

void ExportController::SetFilters(HWND control, const std::vector<ExportFilter>& filters) {
    ListControl* state = stateOf(control);
    if (!state || !state->exportCallback)
        return;
    state->filters = filters;
    state->items.clear();
    for (const ExportFilter& filter : filters)
        state->items.push_back(filter.name + L" (*." + filter.extension + L")");
    refresh(control);
}

std::vector<ExportFilter> ExportController::GetFilters(HWND control) {
    const ListControl* state = stateOf(control);
    return state ? state->filters : std::vector<ExportFilter>{};
}

void ExportController::SetTheme(HWND control, COLORREF background, COLORREF text) {
    if (ListControl* state = stateOf(control)) {
        state->background = background;
        state->text = text;
        refresh(control);
    }
}

void ExportController::DestroyControl(HWND control) {
    destroy(control, "ExportController::DestroyControl()");
}

HWND PrototypesController::CreateControl(HWND parent, const wchar_t* folder, IPrototypesCallback* callback) {
    auto state = std::make_unique<ListControl>();
    state->title = L"New document";
    state->prototypesCallback = callback;
    HWND control = createControl(parent, std::move(state));
    if (folder)
        SetPrototypeFolder(control, folder, true);
    return control;
}

void PrototypesController::SetPrototypeFolder(HWND control, const wchar_t* folder, bool refreshAlways) {
    ListControl* state = stateOf(control);
    if (!state || !folder || (!refreshAlways && state->folder == folder))
        return;
    state->folder = folder;
    state->paths.clear();
    std::error_code error;
    // The settings name the folder as the person wrote it, a drive path as often as not.
    for (const auto& entry : std::filesystem::directory_iterator(pal::path::toNative(folder), error))
        if (entry.is_regular_file(error))
            state->paths.push_back(entry.path().wstring());
    std::sort(state->paths.begin(), state->paths.end());
    state->items.clear();
    for (const std::wstring& path : state->paths)
        state->items.push_back(std::filesystem::path(path).stem().wstring());
    refresh(control);
}

std::vector<std::wstring> PrototypesController::GetPrototypes(HWND control) {
    const ListControl* state = stateOf(control);
    return state ? state->paths : std::vector<std::wstring>{};
}

void PrototypesController::SetTheme(HWND control, int themeType) {
    if (ListControl* state = stateOf(control)) {
        const bool dark = themeType % 2 == 1;
        state->theme = themeType;
        state->background = dark ? RGB(45, 45, 48) : RGB(255, 255, 255);
        state->text = dark ? RGB(241, 241, 241) : RGB(30, 30, 30);
        refresh(control);
    }
}

int PrototypesController::GetTheme(HWND control) {
    const ListControl* state = stateOf(control);
    return state ? state->theme : -1;
}

void PrototypesController::DestroyControl(HWND control) {
    destroy(control, "PrototypesController::DestroyControl()");
}

} // namespace DravikManagedUIProxy
