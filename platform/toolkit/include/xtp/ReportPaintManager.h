// How a report control is drawn: the colours of its ground, rows, selection and header, the
// lines between cells, and the buttons inside cells. The control owns one; a program gives it
// another to follow its look. This one draws in the system's colours with lines in both
// directions.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPReportRecordItemButton;

enum XTPReportGridStyle {
    xtpReportGridNoLines = 0,
    xtpReportGridSolid = 1,
};

class CXTPReportPaintManager {
public:
    CXTPReportPaintManager();
    virtual ~CXTPReportPaintManager() = default;
    CXTPReportPaintManager(const CXTPReportPaintManager&) = delete;
    CXTPReportPaintManager& operator=(const CXTPReportPaintManager&) = delete;

    // Takes the colours again (after a change of look).
    virtual void RefreshMetrics();
    // Draws a cell's button; its caption in the button's own colour when it has one.
    virtual void DrawItemButton(CDC* dc, CXTPReportRecordItemButton* button, CRect rect, BOOL pressed);

    // Lines between rows (horizontal) or between columns (vertical).
    void SetGridStyle(BOOL vertical, XTPReportGridStyle style);
    XTPReportGridStyle GetGridStyle(BOOL vertical) const {
        return vertical ? m_gridVertical : m_gridHorizontal;
    }

    COLORREF m_clrControlBack;   // the ground
    COLORREF m_clrWindowText;    // the cells' text
    COLORREF m_clrHighlight;     // selected rows while the control has the focus
    COLORREF m_clrHighlightText; // their text
    COLORREF m_clrSelectedRow;   // selected rows without the focus
    COLORREF m_clrSelectedRowText;
    COLORREF m_clrHeaderFace;
    COLORREF m_clrHeaderText;
    COLORREF m_clrHeaderBorder;
    COLORREF m_clrGridLine;
    COLORREF m_clrButtonFace; // buttons in cells and the rows' expand buttons
    COLORREF m_clrButtonText;

protected:
    // Whether the header's cells are drawn raised (the classic look) or flat.
    BOOL m_bRaisedHeader = TRUE;

private:
    friend class CXTPReportControl;
    XTPReportGridStyle m_gridHorizontal = xtpReportGridSolid;
    XTPReportGridStyle m_gridVertical = xtpReportGridSolid;
};

DV_EXPORTS_END
