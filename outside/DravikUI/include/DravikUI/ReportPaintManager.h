// The looks of the library's report controls, each named by its theme code: 4 the flat look of
// the program's light and dark themes, 8 the studio look, 11 the system's flat look, and any
// other code the classic look in the system's colours. The themed looks take their colours from
// the bars' current theme, so a report follows the program into a dark theme.
#pragma once

#include "pal/visibility.h"
#include "xtp/ReportPaintManager.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

enum ReportThemeCode {
    kReportThemeOfficeXP = 0,
    kReportThemeOffice2013 = 4,
    kReportThemeVisualStudio2015 = 8,
    kReportThemeNativeWindows10 = 11,
};

template <int Code> class ReportPaintManager : public CXTPReportPaintManager {
public:
    ReportPaintManager() { RefreshMetrics(); }
    void RefreshMetrics() override;
};

template <> void ReportPaintManager<kReportThemeOfficeXP>::RefreshMetrics();
template <> void ReportPaintManager<kReportThemeOffice2013>::RefreshMetrics();
template <> void ReportPaintManager<kReportThemeVisualStudio2015>::RefreshMetrics();
template <> void ReportPaintManager<kReportThemeNativeWindows10>::RefreshMetrics();

// A new paint manager for the code (the caller owns it).
CXTPReportPaintManager* CreateReportPaintManager(int code);
// The code a paint manager of CreateReportPaintManager was made for.
int GetReportThemeCode(const CXTPReportPaintManager* manager);

} // namespace Dravik::UI

DV_EXPORTS_END
