// The main-frame interface of the UI framework: what every part of the program may ask of a main
// frame without knowing its class. GenericMainFrame implements it as a second base beside the
// tool kit's frame; the program's frame overrides the virtual operations to reach its own copies
// of the controls as well.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CFrameWnd;

namespace Dravik::UI {

class MainFrame {
public:
    virtual ~MainFrame() = default;

    // The frame as a window.
    virtual CFrameWnd* GetFrameWnd() = 0;

    // Layout lock: while it is held (it nests), layout recalculation waits; the last unlock
    // recalculates once.
    void LockLayout();
    void UnlockLayout();
    bool IsLayoutLocked() const { return m_layoutLocks > 0; }

    // Marks the frame as on its way out; true when it was marked already, so that the steps of
    // destruction run once however often they are reached.
    bool MarkAsBeingDestroyed();
    bool IsBeingDestroyed() const { return m_beingDestroyed; }

    // The UI module's theme number. SetTheme is what the UI module calls on every frame; a
    // frame that draws more than the base overrides it and calls SetThemeInternal, which shows
    // the theme in everything the base owns (command bars, panes and their content).
    virtual void SetTheme(int theme) { SetThemeInternal(theme); }
    void SetThemeInternal(int theme);
    int GetTheme() const { return m_theme; }

    // The active main frame changed (to `newFrame`, which may be this one).
    virtual void OnChangeActiveMainFrame(MainFrame* newFrame) {}

protected:
    // The base's own parts of the two operations above.
    virtual void RecalcLayoutNow() = 0;
    virtual void ApplyTheme(int theme) = 0;

private:
    int m_layoutLocks = 0;
    bool m_beingDestroyed = false;
    int m_theme = -1;
};

// Locks a frame's layout for a scope.
class LayoutLock {
public:
    explicit LayoutLock(MainFrame* frame) : m_frame(frame) {
        if (m_frame)
            m_frame->LockLayout();
    }
    ~LayoutLock() {
        if (m_frame)
            m_frame->UnlockLayout();
    }
    LayoutLock(const LayoutLock&) = delete;
    LayoutLock& operator=(const LayoutLock&) = delete;

private:
    MainFrame* m_frame;
};

} // namespace Dravik::UI

DV_EXPORTS_END
