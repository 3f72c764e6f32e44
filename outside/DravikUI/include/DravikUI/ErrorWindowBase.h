// The part of the diagnostics pane that the library keeps: the diagnostics dialog it shows for
// the active document, none when no document is active.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CWnd;

namespace Dravik::UI {

class ErrorWindowBase {
public:
    virtual ~ErrorWindowBase() = default;
    CWnd* GetActiveWnd() const { return active_; }
    // Null clears the pane.
    virtual void SetActiveWnd(CWnd* dialog) { active_ = dialog; }

private:
    CWnd* active_ = nullptr;
};

} // namespace Dravik::UI

DV_EXPORTS_END
