// The popups the main frame makes for command ids its bars only name: the fixed popups of
// commands and the split-button popups of the command groups, and what every popup and control
// gets before it is shown.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPControlPopup;

struct CommandPopupServices {
    // Whether the kernel has the command (a group's popup offers only those).
    std::function<bool(int id)> isRegistered;
    // A string resource (a group's title), or the caption of a command.
    std::function<std::wstring(int id)> loadString;
    std::function<std::wstring(int id)> commandCaption;
};

// The popup of a fixed popup id (1340, 1122, 1339, 1341, 1416) or of a command group; null for
// any other id. The command bars own what it holds; the caller adds it to a bar.
CXTPControlPopup* CreateCommandPopup(CXTPCommandBars* bars, int id, const CommandPopupServices& services);

// Before a popup shows: a popup that holds the expand button loses it (it is for tool bars); the
// popup whose first control is 1352 is refilled in its fixed order.
void InitCommandPopupBar(CXTPCommandBar* bar);

// The control's description and tooltip without accelerator letters, as every control ends.
void FinishControlTexts(CXTPControl* control);

DV_EXPORTS_END

DV_EXPORTS_BEGIN

// What the initialisation of a control reads of the frame and the application.
struct ControlInitServices {
    bool hintsBlocked = false;
    bool forToolBar = false;
    std::function<std::wstring(int id)> loadString;
    std::function<std::wstring(const char* key)> translate;
    // The titles of the frame's tool-bar definitions, in list order.
    std::vector<std::wstring> toolBarTitles;
    // The text of an application command (17000..32000); nothing when it does not exist.
    std::function<std::optional<std::wstring>(int id)> applicationCommandText;
    std::function<int(int size)> bestIconSize;
    // The tip of a command as the kernel describes it (its title, then what it does); nothing
    // for a command the kernel does not describe.
    std::function<std::optional<std::wstring>(int id)> commandTip;
};

// Finishes a control before it is shown (the frame's control-initialisation request).
void InitFrameControl(CXTPControl* control, const ControlInitServices& services);

DV_EXPORTS_END

DV_EXPORTS_BEGIN

struct ControlFactoryFrame;
struct XTP_COMMANDBARS_CREATECONTROL;

// The frame's answer to the command bars' request for a control: 1 with the control in the
// record, 0 when the frame makes none. Auto-menu bars ask the auto-menu controller first; then
// the frame's factory (as a popup for bars other than normal tool bars); then, for tool bars,
// the fixed popups and the command groups.
int AnswerCreateControl(XTP_COMMANDBARS_CREATECONTROL* request, const ControlFactoryFrame& frame,
                        const CommandPopupServices& services);

DV_EXPORTS_END
