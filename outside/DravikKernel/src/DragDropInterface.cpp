#include "DravikKernel/DragDropInterface.h"

// Entering and moving over the window ask the same question; leaving needs no answer.
class CWSGDragDropInterface::Target : public COleDropTarget {
public:
    explicit Target(CWSGDragDropInterface& owner) : owner_(owner) {}
    bool IsRegistered() const { return m_hWnd != nullptr; }

    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keys, CPoint point) override {
        return owner_.DragDropOver(window, data, keys, point);
    }
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keys, CPoint point) override {
        return owner_.DragDropOver(window, data, keys, point);
    }
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
        return owner_.DragDropDrop(window, data, effect, point);
    }

private:
    CWSGDragDropInterface& owner_;
};

CWSGDragDropInterface::CWSGDragDropInterface() : target_(std::make_unique<Target>(*this)) {}

CWSGDragDropInterface::~CWSGDragDropInterface() {
    RevokeDropTarget();
}

bool CWSGDragDropInterface::RegisterDropTarget(CWnd* window) {
    return target_->Register(window) != FALSE;
}

void CWSGDragDropInterface::RevokeDropTarget() {
    target_->Revoke();
}

bool CWSGDragDropInterface::IsDropTargetRegistered() const {
    return target_->IsRegistered();
}

DROPEFFECT CWSGDragDropInterface::DragDropOver(CWnd*, COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

BOOL CWSGDragDropInterface::DragDropDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) {
    return FALSE;
}
