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
    // The size of the icons it shows objects with.
    int GetIconSize() const { return iconSize_; }
    void SetIconSize(int size) { iconSize_ = size; }
    // The program's theme: the ground follows it.
    void ApplyTheme(int theme);

protected:
    // Nothing shown yet: the theme's ground of lists.
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    bool history_;
    int iconSize_ = 32;
};

} // namespace DocumentsMenu

DV_EXPORTS_END
