#include "frame/ColorBook.h"

#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/Settings.h"
#include "afxwin.h"

namespace dvframe {

std::wstring ColorBooksFolder() {
    const std::wstring& folder = GetSettings().colorBooksFolder;
    if (!folder.empty())
        return TemplateFolderToFullPath(folder.c_str());
    return DVAppendProgramPath(L"ColorBooks\\", 0, false);
}

bool ChooseColorFromBooks(HWND owner, CDvw32Doc* document, POINT cursor) {
    if (document == nullptr)
        return false;
    AlterColorSelectArgs request;
    request.Owner = owner;
    request.Position = RECT{cursor.x, cursor.y, cursor.x, cursor.y};
    request.ColorBooksFolder = ColorBooksFolder();
    ApplicationEventManager::runEvent(static_cast<int>(kColorBookEvent), request);
    if (!request.Chosen)
        return false;
    document->Cont2D()->set_syspanel_int(static_cast<int>(kColorControlId),
                                         ColorBookControlValue(static_cast<COLORREF>(request.Color)));
    ::SendMessageW(owner, WM_COMMAND, kColorControlId, 0);
    return true;
}

} // namespace dvframe
