// A window divided into panes by bars a person can drag. A static splitter has a fixed grid of
// panes made by CreateView; a dynamic one starts with one pane and splits off (or merges
// back) rows and columns of views like its first. Pane (row, col) has the id
// AFX_IDW_PANE_FIRST + row * 16 + col.
#pragma once

#include "afx/frame.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // A dynamic splitter: at most nMaxRows by nMaxCols (2 each at most), panes no smaller than
    // sizeMin, new panes made like the context's view.
    BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);

    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    int GetColumnCount() const { return static_cast<int>(cols_.size()); }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return static_cast<int>(AFX_IDW_PANE_FIRST) + row * 16 + col; }
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;
    CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    // Places the panes: rows and columns at their ideal sizes, the last taking what is left.
    virtual void RecalcLayout();

    // Dynamic splitters only.
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);

    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);

    // The width of a bar between panes.
    int m_cxSplitter = 6;
    int m_cySplitter = 6;

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct Track {
        int ideal = 0;
        int min = 0;
        int current = 0;
    };
    std::vector<Track> rows_;
    std::vector<Track> cols_;
    int maxRows_ = 1;
    int maxCols_ = 1;
    bool dynamic_ = false;
    CRuntimeClass* dynamicView_ = nullptr;
    CDocument* dynamicDoc_ = nullptr;
    CSize dynamicMin_;
    // A drag in progress: the bar after row (or column) `index`.
    bool dragging_ = false;
    bool dragRow_ = false;
    int dragIndex_ = -1;
    int dragOffset_ = 0;

    // Which bar is under the point: the index of the row or column before it, or -1.
    int barAt(CPoint point, bool& isRow) const;
    int trackStart(const std::vector<Track>& tracks, int index, int gap) const;
    BOOL createPaneLike(int row, int col);
};

DV_EXPORTS_END
