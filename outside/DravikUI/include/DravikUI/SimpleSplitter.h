// A window of two panes side by side or one above the other, the second of which may be hidden;
// the first pane takes a share of the room that a person's layout keeps.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ControlTheme.h"

DV_EXPORTS_BEGIN

class CXTPPropExchange;

namespace Dravik::UI {

class SimpleSplitter : public CWnd {
public:
    // The pane ids: the children of these ids are the panes.
    static constexpr UINT kFirstPaneId = 0xE900;
    static constexpr UINT kSecondPaneId = 0xE901;

    // `proportion` is the first pane's size over the second's.
    SimpleSplitter(double proportion, bool horizontal);

    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // Side by side (true) or one above the other (false).
    void SetHorizontal(bool horizontal);
    bool IsHorizontal() const { return horizontal_; }
    void ShowSecondPane(bool show);
    bool IsSecondPaneVisible() const { return secondShown_; }
    CWnd* GetPane(int index) const;
    // The first pane's share of the room, between 0 and 1.
    double GetRatio() const { return ratio_; }
    void SetMinPaneSize(int pixels) { minPane_ = pixels; }
    // "Horizontal", "ShowSecondPane" and "Ratio"; a ratio outside 0..1 is logged and the pane
    // keeps its own.
    void DoPropExchange(CXTPPropExchange* pPX);
    void Layout();
    // The look of the bar between the panes.
    void SetTheme(XTPControlTheme theme);
    XTPControlTheme GetTheme() const { return theme_; }

protected:
    void OnSize(UINT type, int cx, int cy);
    // The bar between the panes is the splitter's own ground.
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    double ratio_;
    bool horizontal_;
    bool secondShown_ = true;
    int minPane_ = 50;
    XTPControlTheme theme_ = xtpControlThemeDefault;
};

} // namespace Dravik::UI

DV_EXPORTS_END
