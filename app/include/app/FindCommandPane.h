// The find-command pane of the program: its window in pane 1028 and what it asks of the frames
// and the help.
#pragma once

#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

class CDvw32App;
class CMainFrame;
class CWnd;

namespace dvapp {

// Serves the pane's questions and actions (frames, help, the bars) for the life of the returned
// object.
std::shared_ptr<void> InstallFindCommandPane(CDvw32App& app);

// A control for the command at the end of the selected tab's last group of the frame's ribbon
// (a new tab or group when there is none); false when nothing changed.
bool AddCommandToRibbon(CMainFrame& frame, int id);

} // namespace dvapp

DV_EXPORTS_END
