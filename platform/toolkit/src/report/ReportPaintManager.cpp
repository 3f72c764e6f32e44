#include "xtp/ReportPaintManager.h"

#include "xtp/ReportControl.h"

CXTPReportPaintManager::CXTPReportPaintManager() {
    RefreshMetrics();
}

void CXTPReportPaintManager::RefreshMetrics() {
    m_clrControlBack = ::GetSysColor(COLOR_WINDOW);
    m_clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrSelectedRow = ::GetSysColor(COLOR_BTNFACE);
    m_clrSelectedRowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrHeaderFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrHeaderText = ::GetSysColor(COLOR_BTNTEXT);
    m_clrHeaderBorder = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrGridLine = ::GetSysColor(COLOR_3DLIGHT);
    m_clrButtonFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrButtonText = ::GetSysColor(COLOR_BTNTEXT);
}

void CXTPReportPaintManager::SetGridStyle(BOOL vertical, XTPReportGridStyle style) {
    (vertical ? m_gridVertical : m_gridHorizontal) = style;
}

void CXTPReportPaintManager::DrawItemButton(CDC* dc, CXTPReportRecordItemButton* button, CRect rect,
                                            BOOL pressed) {
    // The button first, then its caption over it.
    dc->FillSolidRect(&rect, m_clrButtonFace);
    if (m_bRaisedHeader)
        dc->Draw3dRect(&rect, pressed ? m_clrHeaderBorder : RGB(255, 255, 255), m_clrHeaderBorder);
    else
        dc->Draw3dRect(&rect, m_clrHeaderBorder, m_clrHeaderBorder);
    const CString caption = button->GetCaption();
    if (caption.IsEmpty())
        return;
    const COLORREF own = button->GetTextColor();
    const COLORREF old = dc->SetTextColor(own != CLR_DEFAULT ? own : m_clrButtonText);
    dc->DrawText(caption, caption.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->SetTextColor(old);
}
