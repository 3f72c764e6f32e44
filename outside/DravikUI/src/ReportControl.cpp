#include "DravikUI/ReportControl.h"
#include "DravikUI/CachingImageManager.h"
#include "DravikUI/ClipboardManager.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/text.h"
#include "win/ole/clipboard.h"
#include "xtp/PropExchange.h"

#include <filesystem>

namespace Dravik::UI {

ReportControl::ReportControl(CXTPImageManager* images, bool editable) {
    if (images != nullptr)
        SetImageManager(images);
    AllowEdit(editable);
}

void ReportControl::DoPropExchange(CXTPPropExchange* pPX) {
    CXTPPropExchangeSection columns(pPX, L"Columns");
    if (pPX->IsStoring()) {
        for (int i = 0; i < GetColumnCount(); ++i) {
            CXTPReportColumn* column = GetColumn(i);
            CXTPPropExchangeSection section(&*columns, column->GetInternalName());
            BOOL visible = column->IsVisible();
            int width = column->GetWidth();
            PX_Bool(&*section, L"Visible", visible, TRUE);
            PX_Int(&*section, L"Width", width, 100);
        }
        CString sort = GetSortColumn() != nullptr ? GetSortColumn()->GetInternalName() : CString();
        BOOL increasing = GetSortColumn() == nullptr || GetSortColumn()->IsSortedIncreasing();
        PX_String(pPX, L"SortColumn", sort, L"");
        PX_Bool(pPX, L"SortIncreasing", increasing, TRUE);
        return;
    }
    for (int i = 0; i < GetColumnCount(); ++i) {
        CXTPReportColumn* column = GetColumn(i);
        CXTPPropExchangeSection section(&*columns, column->GetInternalName());
        if (!section->OnBeforeExchange())
            continue;
        BOOL visible = column->IsVisible();
        int width = column->GetWidth();
        PX_Bool(&*section, L"Visible", visible, visible);
        PX_Int(&*section, L"Width", width, width);
        if (!column->IsAllowRemove())
            visible = TRUE; // a column a person may not remove stays
        column->SetVisible(visible);
        if (width >= 0)
            column->SetWidth(width);
        else
            DVLog_Write(DVLogWarning, "Report layout: width %d of column \"%s\" ignored", width,
                        pal::text::toUtf8(column->GetInternalName().GetString()).c_str());
    }
    CString sort;
    BOOL increasing = TRUE;
    if (PX_String(pPX, L"SortColumn", sort, L"") && !sort.IsEmpty()) {
        PX_Bool(pPX, L"SortIncreasing", increasing, TRUE);
        if (CXTPReportColumn* column = FindColumn(sort); column != nullptr && column->IsSortable())
            SetSortColumn(column, increasing);
        else
            DVLog_Write(DVLogWarning, "Report layout: sort on the missing column \"%s\" ignored",
                        pal::text::toUtf8(sort.GetString()).c_str());
    }
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
