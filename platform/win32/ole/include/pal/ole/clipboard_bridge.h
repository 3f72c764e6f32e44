// The seam through which a display driver joins the sandbox's clipboard to the desktop's.
// The clipboard functions call the installed bridge; with none installed (the null display,
// tests) the sandbox's clipboard stands alone.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::ole {

class ClipboardBridge {
public:
    virtual ~ClipboardBridge() = default;
    // Before a program opens the clipboard: the bridge may bring the desktop's newer content in,
    // through the ordinary clipboard functions (which do not call it again meanwhile).
    virtual void beforeOpen() = 0;
    // After a program closed the clipboard having changed it: the bridge may offer the content
    // to the desktop.
    virtual void afterChange() = 0;
};

// Installs (or, with null, removes) the bridge; the caller keeps it alive while installed.
void setClipboardBridge(ClipboardBridge* bridge);

} // namespace pal::ole

DV_EXPORTS_END
