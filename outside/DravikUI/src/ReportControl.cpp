#include "DravikUI/ReportControl.h"
#include "DravikUI/CachingImageManager.h"
#include "DravikUI/ClipboardManager.h"

#include "pal/path.h"
#include "win/ole/clipboard.h"

#include <filesystem>

namespace Dravik::UI {

ReportControl::ReportControl(CXTPImageManager* images, bool editable) {
    if (images != nullptr)
        SetImageManager(images);
    AllowEdit(editable);
}

SimpleTextReportItem::SimpleTextReportItem(const wchar_t* text) : CXTPReportRecordItem(text ? text : L"") {
    SetEditable(FALSE);
}

} // namespace Dravik::UI

int CachingImageManager::GetIcon(const std::wstring& path) {
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(pal::path::toNative(path), ec);
    const UINT id = GetPathIconId(path, true, [folder](const std::wstring& p) {
        std::vector<std::wstring> files;
        if (folder) {
            const std::wstring base = p + (p.ends_with(L'\\') || p.ends_with(L'/') ? L"" : L"\\");
            files.push_back(base + L"icon.ico");
            files.push_back(base + L"library.svg");
        }
        return files;
    });
    return id == 0 ? -1 : static_cast<int>(id);
}

namespace Dravik {

UINT ClipboardManager::registerFormat(const wchar_t* name) {
    if (name == nullptr || *name == 0)
        return 0;
    return ::RegisterClipboardFormatW(name);
}

bool ClipboardManager::isFormatAvailable(UINT format) {
    return format != 0 && ::IsClipboardFormatAvailable(format) != FALSE;
}

} // namespace Dravik
