// The report control, as far as the program's idle work reaches it: the extra data its rows
// keep while a batch of them is filled, given back between batches.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPReportControl : public CWnd {
    DECLARE_DYNAMIC(CXTPReportControl)
public:
    // Gives back what row batches of every report control hold beyond their rows; the next
    // batch makes its own again. Safe to call at any idle time.
    static void FreeRowBatchExtraData();
};

DV_EXPORTS_END
