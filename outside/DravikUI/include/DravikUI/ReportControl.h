// The library's report control and its plain text cell.
#pragma once

#include "pal/visibility.h"
#include "xtp/ReportControl.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class ReportControl : public CXTPReportControl {
public:
    // The control takes the image manager (it may be null); `editable` opens cells to editing.
    explicit ReportControl(CXTPImageManager* images = nullptr, bool editable = false);
};

// A cell that shows a text and is not edited in place.
class SimpleTextReportItem : public CXTPReportRecordItem {
public:
    explicit SimpleTextReportItem(const wchar_t* text = L"");
};

} // namespace Dravik::UI

DV_EXPORTS_END
