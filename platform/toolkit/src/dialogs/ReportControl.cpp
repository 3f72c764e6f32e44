#include "xtp/ReportControl.h"

IMPLEMENT_DYNAMIC(CXTPReportControl, CWnd)

// No report control keeps batch data yet: the rows come with the documents browser.
void CXTPReportControl::FreeRowBatchExtraData() {}
