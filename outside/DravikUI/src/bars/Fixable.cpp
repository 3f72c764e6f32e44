#include "DravikUI/FixableToolBar.h"

#include "DravikUI/ToolBars.h"

namespace Dravik::UI {

bool FixableToolBarDockContext::CanStartDrag() const {
    return bar_ != nullptr && !IsFixed(bar_);
}

} // namespace Dravik::UI
