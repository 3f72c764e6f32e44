// The preview side of the browser's pane. It shows nothing yet: the contents of the selected
// row come with the preview's own icons and pictures.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DocumentsMenu {

class PreviewWnd : public CWnd {
public:
    explicit PreviewWnd(bool history) : history_(history) {}
    BOOL Create(CWnd* parent, UINT id) {
        return CWnd::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                            CRect(0, 0, 0, 0), parent, id);
    }
    bool HasHistory() const { return history_; }
    void Clear() {}

protected:
    // Nothing shown yet: the window's own ground.
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    bool history_;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
