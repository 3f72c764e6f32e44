#include "afx/splitter.h"
#include "afx/gdi.h"
#include "afx/wndmsg.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (pParentWnd == nullptr || nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16)
        return FALSE;
    rows_.assign(static_cast<size_t>(nRows), Track{});
    cols_.assign(static_cast<size_t>(nCols), Track{});
    maxRows_ = nRows;
    maxCols_ = nCols;
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    return CWnd::Create(nullptr, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin,
                          CCreateContext* pContext, DWORD dwStyle, UINT nID) {
    if (pParentWnd == nullptr || pContext == nullptr || pContext->m_pNewViewClass == nullptr ||
        nMaxRows < 1 || nMaxCols < 1 || nMaxRows > 2 || nMaxCols > 2)
        return FALSE;
    dynamic_ = true;
    maxRows_ = nMaxRows;
    maxCols_ = nMaxCols;
    dynamicView_ = pContext->m_pNewViewClass;
    dynamicDoc_ = pContext->m_pCurrentDoc;
    dynamicMin_ = sizeMin;
    rows_.assign(1, Track{0, static_cast<int>(sizeMin.cy), 0});
    cols_.assign(1, Track{0, static_cast<int>(sizeMin.cx), 0});
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    if (!CWnd::Create(nullptr, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID))
        return FALSE;
    return CreateView(0, 0, dynamicView_, CSize(0, 0), pContext);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
    if (m_hWnd == nullptr || row < 0 || col < 0 || row >= GetRowCount() || col >= GetColumnCount() ||
        pViewClass == nullptr || GetPane(row, col) != nullptr)
        return FALSE;
    rows_[static_cast<size_t>(row)].ideal = static_cast<int>(sizeInit.cy);
    cols_[static_cast<size_t>(col)].ideal = static_cast<int>(sizeInit.cx);
    CObject* object = pViewClass->CreateObject();
    auto* pane = dynamic_cast<CWnd*>(object);
    if (pane == nullptr) {
        delete object;
        return FALSE;
    }
    if (auto* view = dynamic_cast<CView*>(pane); view != nullptr && pContext != nullptr)
        view->m_pDocument = pContext->m_pCurrentDoc;
    // A pane that fails deletes itself with its window.
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      static_cast<UINT>(IdFromRowCol(row, col)), pContext))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
    const Track t = row >= 0 && row < GetRowCount() ? rows_[static_cast<size_t>(row)] : Track{};
    cyCur = t.current;
    cyMin = t.min;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
    if (row < 0 || row >= GetRowCount())
        return;
    rows_[static_cast<size_t>(row)].ideal = std::max(cyIdeal, 0);
    rows_[static_cast<size_t>(row)].min = std::max(cyMin, 0);
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    const Track t = col >= 0 && col < GetColumnCount() ? cols_[static_cast<size_t>(col)] : Track{};
    cxCur = t.current;
    cxMin = t.min;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    if (col < 0 || col >= GetColumnCount())
        return;
    cols_[static_cast<size_t>(col)].ideal = std::max(cxIdeal, 0);
    cols_[static_cast<size_t>(col)].min = std::max(cxMin, 0);
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (m_hWnd == nullptr || row < 0 || col < 0 || row >= GetRowCount() || col >= GetColumnCount())
        return nullptr;
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const {
    for (int r = 0; r < GetRowCount(); ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            if (pWnd != nullptr && GetPane(r, c) == pWnd) {
                if (pRow != nullptr)
                    *pRow = r;
                if (pCol != nullptr)
                    *pCol = c;
                return TRUE;
            }
        }
    }
    return FALSE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
    CFrameWnd* frame = GetParentFrame();
    CWnd* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    return IsChildPane(view, pRow, pCol) ? view : nullptr;
}

// Sizes along one direction: each track its ideal size (clipped to what is left), the last
// one the rest.
namespace {

template <typename Tracks> void distribute(Tracks& tracks, int total, int gap) {
    int left = total;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const bool last = i + 1 == tracks.size();
        int size = last ? left : std::min(tracks[i].ideal, std::max(left - gap, 0));
        size = std::max(size, 0);
        tracks[i].current = size;
        left -= size + (last ? 0 : gap);
    }
}

} // namespace

void CSplitterWnd::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    distribute(rows_, client.Height(), m_cySplitter);
    distribute(cols_, client.Width(), m_cxSplitter);
    int y = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        int x = 0;
        const int h = rows_[static_cast<size_t>(r)].current;
        for (int c = 0; c < GetColumnCount(); ++c) {
            const int w = cols_[static_cast<size_t>(c)].current;
            if (CWnd* pane = GetPane(r, c))
                pane->MoveWindow(x, y, w, h);
            x += w + m_cxSplitter;
        }
        y += h + m_cySplitter;
    }
    Invalidate();
}

int CSplitterWnd::trackStart(const std::vector<Track>& tracks, int index, int gap) const {
    int start = 0;
    for (int i = 0; i < index; ++i)
        start += tracks[static_cast<size_t>(i)].current + gap;
    return start;
}

int CSplitterWnd::barAt(CPoint point, bool& isRow) const {
    for (int r = 0; r + 1 < GetRowCount(); ++r) {
        const int top = trackStart(rows_, r, m_cySplitter) + rows_[static_cast<size_t>(r)].current;
        if (point.y >= top && point.y < top + m_cySplitter) {
            isRow = true;
            return r;
        }
    }
    for (int c = 0; c + 1 < GetColumnCount(); ++c) {
        const int left = trackStart(cols_, c, m_cxSplitter) + cols_[static_cast<size_t>(c)].current;
        if (point.x >= left && point.x < left + m_cxSplitter) {
            isRow = false;
            return c;
        }
    }
    return -1;
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CSplitterWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (int r = 0; r + 1 < GetRowCount(); ++r) {
        const int top = trackStart(rows_, r, m_cySplitter) + rows_[static_cast<size_t>(r)].current;
        dc.FillSolidRect(0, top, client.Width(), m_cySplitter, face);
        dc.Draw3dRect(0, top, client.Width(), m_cySplitter, light, shadow);
    }
    for (int c = 0; c + 1 < GetColumnCount(); ++c) {
        const int left = trackStart(cols_, c, m_cxSplitter) + cols_[static_cast<size_t>(c)].current;
        dc.FillSolidRect(left, 0, m_cxSplitter, client.Height(), face);
        dc.Draw3dRect(left, 0, m_cxSplitter, client.Height(), light, shadow);
    }
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point) {
    bool isRow = false;
    const int index = barAt(point, isRow);
    if (index < 0)
        return;
    dragging_ = true;
    dragRow_ = isRow;
    dragIndex_ = index;
    const int start =
        isRow ? trackStart(rows_, index, m_cySplitter) + rows_[static_cast<size_t>(index)].current
              : trackStart(cols_, index, m_cxSplitter) + cols_[static_cast<size_t>(index)].current;
    dragOffset_ = (isRow ? point.y : point.x) - start;
    ::SetCapture(m_hWnd);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint) {}

// The bar lands where the button came up: the track before it takes the new size; in a dynamic
// splitter a pane pushed below its minimum goes away.
void CSplitterWnd::OnLButtonUp(UINT, CPoint point) {
    if (!dragging_)
        return;
    dragging_ = false;
    ::ReleaseCapture();
    std::vector<Track>& tracks = dragRow_ ? rows_ : cols_;
    const int gap = dragRow_ ? m_cySplitter : m_cxSplitter;
    const int start = trackStart(tracks, dragIndex_, gap);
    const int size = (dragRow_ ? point.y : point.x) - dragOffset_ - start;
    Track& before = tracks[static_cast<size_t>(dragIndex_)];
    Track& after = tracks[static_cast<size_t>(dragIndex_ + 1)];
    const int total = before.current + gap + after.current;
    if (dynamic_ && (size < before.min || total - size - gap < after.min)) {
        const int gone = size < before.min ? dragIndex_ : dragIndex_ + 1;
        if (dragRow_)
            DeleteRow(gone);
        else
            DeleteColumn(gone);
        return;
    }
    before.ideal = std::clamp(size, 0, total);
    RecalcLayout();
}

BOOL CSplitterWnd::createPaneLike(int row, int col) {
    CCreateContext context;
    context.m_pNewViewClass = dynamicView_;
    context.m_pCurrentDoc = dynamicDoc_;
    context.m_pCurrentFrame = GetParentFrame();
    CObject* object = dynamicView_->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (view == nullptr) {
        delete object;
        return FALSE;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      static_cast<UINT>(IdFromRowCol(row, col)), &context))
        return FALSE;
    view->OnInitialUpdate();
    return TRUE;
}

BOOL CSplitterWnd::SplitRow(int cyBefore) {
    if (!dynamic_ || GetRowCount() >= maxRows_ || cyBefore < rows_.front().min)
        return FALSE;
    rows_.front().ideal = cyBefore;
    rows_.push_back(Track{0, static_cast<int>(dynamicMin_.cy), 0});
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (!createPaneLike(GetRowCount() - 1, c)) {
            DeleteRow(GetRowCount() - 1);
            return FALSE;
        }
    }
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore) {
    if (!dynamic_ || GetColumnCount() >= maxCols_ || cxBefore < cols_.front().min)
        return FALSE;
    cols_.front().ideal = cxBefore;
    cols_.push_back(Track{0, static_cast<int>(dynamicMin_.cx), 0});
    for (int r = 0; r < GetRowCount(); ++r) {
        if (!createPaneLike(r, GetColumnCount() - 1)) {
            DeleteColumn(GetColumnCount() - 1);
            return FALSE;
        }
    }
    RecalcLayout();
    return TRUE;
}

// The panes of the row go; the ones below move up and take its ids.
void CSplitterWnd::DeleteRow(int rowDelete) {
    if (GetRowCount() < 2 || rowDelete < 0 || rowDelete >= GetRowCount())
        return;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (CWnd* pane = GetPane(rowDelete, c))
            pane->DestroyWindow();
    }
    for (int r = rowDelete + 1; r < GetRowCount(); ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            if (CWnd* pane = GetPane(r, c))
                pane->SetDlgCtrlID(IdFromRowCol(r - 1, c));
        }
    }
    rows_.erase(rows_.begin() + rowDelete);
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete) {
    if (GetColumnCount() < 2 || colDelete < 0 || colDelete >= GetColumnCount())
        return;
    for (int r = 0; r < GetRowCount(); ++r) {
        if (CWnd* pane = GetPane(r, colDelete))
            pane->DestroyWindow();
    }
    for (int c = colDelete + 1; c < GetColumnCount(); ++c) {
        for (int r = 0; r < GetRowCount(); ++r) {
            if (CWnd* pane = GetPane(r, c))
                pane->SetDlgCtrlID(IdFromRowCol(r, c - 1));
        }
    }
    cols_.erase(cols_.begin() + colDelete);
    RecalcLayout();
}
