// The kernel's face of the user-interface module: its main window and the main frames it
// keeps. The frames themselves are the shell's; the UI module only lists them, so the kernel
// holds plain pointers and never looks inside.
#pragma once

#include "pal/visibility.h"

#include <functional>
#include <vector>

DV_EXPORTS_BEGIN

class CWnd;
class CFrameWnd;

class UIModuleProxy {
public:
    static UIModuleProxy& Instance();

    // The UI module's main window, or null while there is none.
    CWnd* GetMainWindow() const;
    // Calls `action` once for every main frame, in the order the frames were added. Frames
    // added or removed by the action take effect from the next enumeration.
    void ForEachMainFrame(const std::function<void(CFrameWnd*)>& action) const;

    // The main frames report themselves as they are created and destroyed. A frame is listed
    // once however often it is added; removing one that is not listed does nothing.
    void SetMainWindow(CWnd* window);
    void AddMainFrame(CFrameWnd* frame);
    void RemoveMainFrame(CFrameWnd* frame);

private:
    UIModuleProxy() = default;
};

DV_EXPORTS_END
