// A drag out of this program over the desktop's other programs, as far as the display has a
// protocol for it: a file list is offered as text/uri-list, the way file managers take files.
#pragma once

#include "com_object.h"

#include "pal/detail/user_control.h"
#include "win/ole.h"

namespace pal::ole {

class DesktopDrag {
public:
    explicit DesktopDrag(IDataObject* data);
    ~DesktopDrag();
    DesktopDrag(const DesktopDrag&) = delete;
    DesktopDrag& operator=(const DesktopDrag&) = delete;

    // What lies under the pointer for the desktop (see pal::detail::DragPlace).
    static pal::detail::DragPlace placeOf(POINT point);
    // Over another program's window: the effect it would take, within `ok`.
    DWORD step(POINT point, DWORD keys, DWORD ok);
    DWORD drop(DWORD ok);
    void leave();

private:
    Ref<IDataObject> data_;
    bool prepared_ = false;
    pal::detail::DesktopData offers_;
    bool active_ = false;
};

} // namespace pal::ole
