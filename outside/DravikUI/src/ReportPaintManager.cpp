#include "DravikUI/ReportPaintManager.h"

#include "xtp/PaintManager.h"

namespace Dravik::UI {

namespace {

// The bars' colours as a report shows them: the ground and text of lists, the theme's highlight,
// a quiet selection between the two, and hairlines of the text over the ground.
void takeThemeColours(CXTPReportPaintManager& pm, bool headerFromBars) {
    const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
    pm.m_clrControlBack = c.clrWindow;
    pm.m_clrWindowText = c.clrWindowText;
    pm.m_clrHighlight = c.clrHighlight;
    pm.m_clrHighlightText = c.clrHighlightText;
    pm.m_clrSelectedRow = CXTPDrawHelpers::BlendColors(c.clrHighlight, c.clrWindow, 0.5);
    pm.m_clrSelectedRowText = c.clrWindowText;
    pm.m_clrHeaderFace = headerFromBars ? c.clrBarFace : c.clrWindow;
    pm.m_clrHeaderText = headerFromBars ? c.clrText : c.clrWindowText;
    pm.m_clrHeaderBorder = c.clrBarBorder;
    pm.m_clrGridLine = CXTPDrawHelpers::BlendColors(c.clrWindowText, c.clrWindow, 0.15);
    pm.m_clrButtonFace = c.clrBarFace;
    pm.m_clrButtonText = c.clrText;
}

} // namespace

template <> void ReportPaintManager<kReportThemeOfficeXP>::RefreshMetrics() {
    CXTPReportPaintManager::RefreshMetrics();
}

template <> void ReportPaintManager<kReportThemeOffice2013>::RefreshMetrics() {
    takeThemeColours(*this, false);
    m_bRaisedHeader = FALSE;
}

template <> void ReportPaintManager<kReportThemeVisualStudio2015>::RefreshMetrics() {
    takeThemeColours(*this, true);
    m_bRaisedHeader = FALSE;
}

template <> void ReportPaintManager<kReportThemeNativeWindows10>::RefreshMetrics() {
    CXTPReportPaintManager::RefreshMetrics();
    m_clrHeaderFace = m_clrControlBack;
    m_bRaisedHeader = FALSE;
}

CXTPReportPaintManager* CreateReportPaintManager(int code) {
    switch (code) {
    case kReportThemeOffice2013:
        return new ReportPaintManager<kReportThemeOffice2013>;
    case kReportThemeVisualStudio2015:
        return new ReportPaintManager<kReportThemeVisualStudio2015>;
    case kReportThemeNativeWindows10:
        return new ReportPaintManager<kReportThemeNativeWindows10>;
    default:
        return new ReportPaintManager<kReportThemeOfficeXP>;
    }
}

int GetReportThemeCode(const CXTPReportPaintManager* manager) {
    if (dynamic_cast<const ReportPaintManager<kReportThemeOffice2013>*>(manager))
        return kReportThemeOffice2013;
    if (dynamic_cast<const ReportPaintManager<kReportThemeVisualStudio2015>*>(manager))
        return kReportThemeVisualStudio2015;
    if (dynamic_cast<const ReportPaintManager<kReportThemeNativeWindows10>*>(manager))
        return kReportThemeNativeWindows10;
    return kReportThemeOfficeXP;
}

} // namespace Dravik::UI
