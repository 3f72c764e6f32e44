// The pop-up tool bar of a main frame: a small floating bar near the selection whose buttons
// depend on the kind of view or of the objects selected. Its contents come in button sets.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/ToolBar.h"

#include <vector>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class PopupToolBar : public CXTPToolBar {
    DECLARE_DYNCREATE(PopupToolBar)
public:
    struct Button {
        int id = 0;
        bool showInPanel = false;
        friend bool operator==(const Button&, const Button&) = default;
    };
    // The buttons for a kind of view (view type non-zero) or of selected objects (object type,
    // 0 any; sub-type, -1 none). Flags: 1 add the base set, 2 multiple selection, 4 modified.
    struct ButtonSet {
        int viewType = 0;
        int objectType = 0;
        int objectSubType = -1;
        unsigned flags = 0;
        std::vector<Button> buttons;
        friend bool operator==(const ButtonSet&, const ButtonSet&) = default;
    };

    PopupToolBar();
    ~PopupToolBar() override;

    // Shows the set's buttons, floating with its top-left corner at a screen point.
    void ShowButtonSet(const ButtonSet& set, CPoint at);
    const ButtonSet& GetButtonSet() const { return set_; }
    // The caption the bar shows for a command: that of its control with the id, else empty.
    CString GetCommandCaption(int id) const;

    // Hides every pop-up tool bar of the program (the frame lost the activation, the selection
    // went away).
    static void HidePopupToolBar();

private:
    ButtonSet set_;
};

} // namespace Dravik::UI

DV_EXPORTS_END
