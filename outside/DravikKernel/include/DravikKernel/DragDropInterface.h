// Drag and drop of model objects and library data onto a window of the shell: the window derives
// from this interface, registers its drop target once it exists, and answers the drag and the
// drop through the two operations below.
#pragma once

#include "afx/oledata.h"
#include "afxwin.h"
#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

class CWSGDragDropInterface {
public:
    CWSGDragDropInterface();
    virtual ~CWSGDragDropInterface();
    CWSGDragDropInterface(const CWSGDragDropInterface&) = delete;
    CWSGDragDropInterface& operator=(const CWSGDragDropInterface&) = delete;

    // Makes `window` an OLE drop target answered by this interface; false when the window has no
    // handle, holds a target already, or the thread has no OLE.
    bool RegisterDropTarget(CWnd* window);
    void RevokeDropTarget();
    bool IsDropTargetRegistered() const;

    // The effect the drop would have over `point` (client coordinates of the registered window);
    // the base accepts nothing.
    virtual DROPEFFECT DragDropOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
    // Carries the drop out; true when something was taken. The base takes nothing.
    virtual BOOL DragDropDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point);

private:
    class Target;
    std::unique_ptr<Target> target_;
};

DV_EXPORTS_END
