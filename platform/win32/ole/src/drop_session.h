// What lies under the pointer of a drag, among the windows of this program: a window with a
// registered drop target, or a window that accepts files, or one with both, whose target is
// asked first and whose files come as WM_DROPFILES when the target takes nothing. A session follows the
// pointer over them, entering, moving over and leaving, and drops. The drag loop runs one for the drag's own
// program; the drop link runs one for each drag that another program brings here.
#pragma once

#include "com_object.h"

#include "win/ole.h"
#include "win/user.h"

#include <memory>

namespace pal::ole {

// The registered target of a window of this program (one more reference), or null.
IDropTarget* registeredTarget(HWND hwnd);

class DropSession {
public:
    explicit DropSession(IDataObject* data);
    ~DropSession();
    DropSession(const DropSession&) = delete;
    DropSession& operator=(const DropSession&) = delete;

    // Follows the pointer to `point` (screen coordinates). False when no window of this program
    // lies there (the session has then left whatever it was over); `effect` is what a drop
    // there would do, within `ok`.
    bool step(POINT point, DWORD keys, DWORD ok, DWORD& effect);
    // Drops where the pointer last was: the effect carried out, DROPEFFECT_NONE when nothing
    // took the drop. The session is over nothing afterwards.
    DWORD drop(POINT point, DWORD keys, DWORD ok);
    void leave();

private:
    struct Site;
    std::unique_ptr<Site> siteFor(HWND hwnd) const;
    DWORD enter(POINT point, DWORD keys, DWORD ok);
    DWORD answer(DWORD targetEffect, DWORD ok);

    Ref<IDataObject> data_;
    std::unique_ptr<Site> site_;
};

// Posts WM_DROPFILES to `hwnd` with the list of a CF_HDROP block, its point in the window's
// client area; false when the block is not a sound list or the message cannot be posted.
bool postDropFiles(HWND hwnd, const std::string& list, POINT screen);

} // namespace pal::ole
