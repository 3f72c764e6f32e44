// The library's report control and its plain text cell.
#pragma once

#include "pal/visibility.h"
#include "xtp/ReportControl.h"

DV_EXPORTS_BEGIN

class CXTPPropExchange;

namespace Dravik::UI {

class ReportControl : public CXTPReportControl {
public:
    // The control takes the image manager (it may be null); `editable` opens cells to editing.
    explicit ReportControl(CXTPImageManager* images = nullptr, bool editable = false);

    // The layout a person gave the columns: each one's visibility and width under its internal
    // name, and the sort column with its direction. Loading takes what fits the columns there
    // are: stored columns the control lacks are passed over; a width below zero and a sort on a
    // missing column are logged and leave the column or the sort as it was.
    void DoPropExchange(CXTPPropExchange* pPX);
};

// A cell that shows a text and is not edited in place.
class SimpleTextReportItem : public CXTPReportRecordItem {
public:
    explicit SimpleTextReportItem(const wchar_t* text = L"");
};

} // namespace Dravik::UI

DV_EXPORTS_END
