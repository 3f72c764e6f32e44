// The class library's windows: command targets and message maps, windows, frames, views and
// documents, dialogs, the thread and the application object.
#pragma once

#include "afx.h"
#include "afxres.h"
#include "pal/visibility.h"

#include "afx/app.h"
#include "afx/cmdline.h"
#include "afx/cmdtarget.h"
#include "afx/controlbar.h"
#include "afx/controls.h"
#include "afx/dialog.h"
#include "afx/propsheet.h"
#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/imagelist.h"
#include "afx/menu.h"
#include "afx/geometry.h"
#include "afx/mdi.h"
#include "afx/msgmap.h"
#include "afx/recent.h"
#include "afx/splitter.h"
#include "afx/thread.h"
#include "afx/wnd.h"
#include "afx/wndmsg.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
