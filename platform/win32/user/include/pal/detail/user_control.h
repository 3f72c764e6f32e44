// Input, monitors and clearing of the window layer driven from outside the layer. Nothing in a
// program calls these: they are the seam that the test-only hooks library (pal/test/user_hooks.h)
// is built on.
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

namespace pal::detail {

// A key goes down or up for the focus window of the foreground window's thread.
void simulateKey(int virtualKey, bool down);

enum class MouseButton { Left, Right, Middle };
// A button goes down or up at a screen point; `secondClick` makes a press a double click where
// the window's class asks for them.
void simulateButton(POINT screen, MouseButton button, bool down, bool secondClick);
void simulateMouseMove(POINT screen);
void simulateWheel(POINT screen, int delta);

// Another program takes the foreground.
void activateOtherApplication();

struct MonitorSpec {
    RECT rect;
    RECT work;
    UINT dpi = 96;
};
// The first monitor is the primary one; an empty list restores the default monitor.
void setMonitors(const std::vector<MonitorSpec>& monitors);

// Switches the display driver: "null", or "x11" with an optional display name after a colon
// ("x11::99"); false, keeping the driver in use, when that display cannot be opened. Native
// windows of the old driver are dropped; the monitors are read again.
bool useDisplay(const std::string& backend);
// "null" or "x11".
std::string displayName();

// The desktop's clipboard as the display driver sees it; the clipboard's bridge is built on
// these. Data are by the desktop's names for them ("UTF8_STRING", "text/uri-list", ...).
// Offers data for other programs to paste (false without a desktop clipboard).
using DesktopData = std::map<std::string, std::string>;
bool offerDesktopData(const DesktopData& offers);
// Of the names `wanted`, the data another program put on the desktop's clipboard; nothing when
// no other program holds it.
std::optional<DesktopData> desktopData(const std::vector<std::string>& wanted);

// Drags from the desktop's programs: the layer that knows drop targets answers for them, on the
// thread of the window under the pointer, with the drag's text/uri-list. An effect is a
// DROPEFFECT_ value; none refuses.
class DesktopDrops {
public:
    virtual ~DesktopDrops() = default;
    virtual DWORD over(POINT screen, const std::string& uris, DWORD allowed) = 0;
    virtual DWORD drop(POINT screen, const std::string& uris, DWORD allowed) = 0;
    virtual void leave() = 0;
};
// Installs (null removes) the answerer; the caller keeps it alive while installed.
void setDesktopDrops(DesktopDrops* drops);
DesktopDrops* desktopDrops();

// Drags from this program over the desktop's other programs. What lies under a screen point:
// no desktop to tell (the null display), a window of this program, or another program's window
// (or the bare desktop).
enum class DragPlace { NoDesktop, OwnWindow, OtherProgram };
DragPlace desktopDragPlace(POINT screen);
// Over another program's window: the window there that takes drops is offered the data (by the
// desktop's names), and the effect it last answered comes back; none where nothing takes them.
DWORD desktopDragOver(POINT screen, const DesktopData& offers, DWORD allowed, DWORD keys);
// Drops where the drag last was: the effect the other program carried out.
DWORD desktopDragDrop();
void desktopDragLeave();

// Destroys the calling thread's windows, drops every other window silently, and clears the
// queue, timers, classes, key state, cursor, capture and foreground.
void clearWindows();

} // namespace pal::detail

DV_EXPORTS_END
