// A command-bar popup that lists the columns of a report a person may show or hide, each ticked
// while shown; choosing one shows or hides it. The columns are asked for each time the popup
// opens, so that a popup over a report whose columns change always offers the current ones.
#pragma once

#include "pal/visibility.h"
#include "xtp/Controls.h"

#include <vector>

DV_EXPORTS_BEGIN

class CXTPReportColumn;

namespace Dravik::UI {

class ReportColumnsPopup : public CXTPControlPopup {
public:
    ReportColumnsPopup();
    // The columns to offer; those not shown in the column chooser are left out.
    virtual std::vector<CXTPReportColumn*> GetColumns() = 0;
    BOOL OnSetPopup(BOOL bPopup) override;
    // Makes the entries again from the columns (what opening the popup does first).
    void FillPopup();
};

} // namespace Dravik::UI

DV_EXPORTS_END
