#include "DravikUI/FixableToolBar.h"

IMPLEMENT_DYNCREATE(Dravik::UI::FixableToolBar, CXTPToolBar)

namespace Dravik::UI {
namespace {

const Fixable* fixable(const CXTPCommandBar* bar) {
    return dynamic_cast<const Fixable*>(bar);
}

} // namespace

bool FixableToolBarDockContext::CanStartDrag() const {
    return bar_ != nullptr && !IsFixed(bar_);
}

bool IsFixable(const CXTPCommandBar* bar) {
    return fixable(bar) != nullptr;
}

bool IsFixed(const CXTPCommandBar* bar) {
    const Fixable* f = fixable(bar);
    return f != nullptr && f->IsFixed();
}

void Fix(CXTPCommandBar* bar, bool fixed) {
    if (auto* f = dynamic_cast<Fixable*>(bar))
        f->SetFixed(fixed);
}

} // namespace Dravik::UI
