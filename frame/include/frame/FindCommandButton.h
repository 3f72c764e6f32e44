// The find-command button: it opens the frame's find-command pane floating just below itself.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/Controls.h"

DV_EXPORTS_BEGIN

class FindCommandButton : public CXTPControlButton {
public:
    static constexpr int kPaneId = 1028;
    void OnExecute() override;
};

// Where the pane opens: `size` no larger than the work area, centred on the button, below it,
// and moved back inside the work area where it would stand out (all in screen coordinates).
CRect PlaceBelowButton(const CRect& button, CSize size, const CRect& workArea);

DV_EXPORTS_END
