#include "app/HtmlHelp.h"

#include "windows.h"

namespace dvapp {
namespace {

using HtmlHelpFunction = HWND (*)(HWND, const wchar_t*, UINT, DWORD_PTR);

HtmlHelpFunction viewer() {
    static const HtmlHelpFunction function = [] {
        HMODULE module = LoadLibraryW(L"hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpFunction>(GetProcAddress(module, "HtmlHelpW")) : nullptr;
    }();
    return function;
}

} // namespace

bool OpenHtmlHelp(const wchar_t* helpFile, UINT command, DWORD_PTR data) {
    if (helpFile == nullptr || *helpFile == L'\0' || GetFileAttributesW(helpFile) == INVALID_FILE_ATTRIBUTES)
        return false;
    const HtmlHelpFunction function = viewer();
    return function != nullptr && function(nullptr, helpFile, command, data) != nullptr;
}

} // namespace dvapp
