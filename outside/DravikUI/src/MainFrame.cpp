#include "DravikUI/MainFrame.h"

namespace Dravik::UI {

void MainFrame::LockLayout() {
    ++m_layoutLocks;
}

void MainFrame::UnlockLayout() {
    // An unlock without a lock is a caller's slip; it must not leave the count below zero,
    // which would lock the layout for good at the next pair.
    if (m_layoutLocks == 0)
        return;
    if (--m_layoutLocks == 0 && !m_beingDestroyed)
        RecalcLayoutNow();
}

bool MainFrame::MarkAsBeingDestroyed() {
    const bool already = m_beingDestroyed;
    m_beingDestroyed = true;
    return already;
}

void MainFrame::SetThemeInternal(int theme) {
    m_theme = theme;
    if (!m_beingDestroyed)
        ApplyTheme(theme);
}

} // namespace Dravik::UI
