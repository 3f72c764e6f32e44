// The bar between two nodes of a splitter container: dragging it moves room from one to the
// other (or between a node and the frame's client).
#pragma once

#include "afxwin.h"
#include "xtp/DockingPaneBase.h"

class CXTPDockingPaneManager;

namespace dvtk::docking {

class SplitterBar : public CWnd {
public:
    SplitterBar(CXTPDockingPaneManager* manager, CXTPDockingPaneSplitterContainer* split)
        : manager_(manager), split_(split) {}
    void place(const CRect& rc, HWND parent, CXTPDockingPaneBase* before, CXTPDockingPaneBase* after);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void drag(CPoint screen);
    CPoint screenPoint(LPARAM lParam) const;
    CXTPDockingPaneManager* manager_;
    CXTPDockingPaneSplitterContainer* split_;
    CXTPDockingPaneBase* before_ = nullptr;
    CXTPDockingPaneBase* after_ = nullptr;
    bool dragging_ = false;
    CPoint last_;
};

} // namespace dvtk::docking
