// The UI module's notion of the active main frame and of the window that cancels long
// operations. A main frame that loads or saves its profile state makes itself the active main
// frame for the duration (FakeActiveMainFrameManager), so that what runs meanwhile — add-ons
// making their tools, the theme — works on that frame and not on the one the person uses.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

class CFrameWnd;

namespace UIModule {

// The active main frame: the faked one while a FakeActiveMainFrameManager lives, else the one
// last activated; null without one.
CFrameWnd* GetActiveMainFrame();
void SetActiveMainFrame(CFrameWnd* frame);

class FakeActiveMainFrameManager {
public:
    explicit FakeActiveMainFrameManager(CFrameWnd* frame);
    // Restores the frame that was active before, even when fakes nest.
    ~FakeActiveMainFrameManager();
    FakeActiveMainFrameManager(const FakeActiveMainFrameManager&) = delete;
    FakeActiveMainFrameManager& operator=(const FakeActiveMainFrameManager&) = delete;

private:
    CFrameWnd* m_previous;
    bool m_wasFaking;
};

// The window that Escape cancels long operations through; null when none. The crash report
// resets it so that no cancellation reaches a window that may be gone.
HWND GetCancellationWindow();
void SetCancellationWindow(HWND window);
void ResetCancellationWindow();

// Told of a path before the shell opens it, whatever opens it in the end.
void PreOpenDocument(const wchar_t* path);

} // namespace UIModule

DV_EXPORTS_END
