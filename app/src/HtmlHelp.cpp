#include "app/HtmlHelp.h"

#include "windows.h"

namespace dvapp {

bool OpenHtmlHelp(const wchar_t* helpFile, UINT command, DWORD_PTR data) {
    if (helpFile == nullptr || *helpFile == L'\0')
        return false;
    HtmlHelpW(nullptr, helpFile, command, data);
    return GetLastError() == 0;
}

} // namespace dvapp
