// Windows, message queues, input, monitors, threads and synchronisation of the substitute.
// A real in-memory model: windows paint into pixel surfaces through the drawing layer, and no
// display server is needed; tests observe it through messages, the window tree, pixels and the
// journal.
#pragma once

#include "pal/visibility.h"
#include "win/base.h"
#include "win/error.h"
#include "win/types.h"

#include "win/user/aliases.h"
#include "win/user/dde.h"
#include "win/user/display.h"
#include "win/user/input.h"
#include "win/user/mdi.h"
#include "win/user/menu.h"
#include "win/user/messages.h"
#include "win/user/paint.h"
#include "win/user/sync.h"
#include "win/user/window.h"

DV_EXPORTS_BEGIN

DV_EXPORTS_END
