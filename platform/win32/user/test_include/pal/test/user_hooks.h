// Hooks into the window layer for tests only: simulated keyboard and mouse, the virtual
// monitors, and a reset between tests. They live in dvpal_user_test_hooks, which product
// targets never link.
#pragma once

#include "pal/detail/user_control.h"
#include "win/user.h"

#include <initializer_list>
#include <vector>

namespace pal::test {

// Keys go to the focus window of the foreground window's thread (to its active window as
// WM_SYSKEY* when nothing has the focus); the key-state tables follow.
void keyDown(int virtualKey);
void keyUp(int virtualKey);
// Presses the modifiers, presses and releases the key, releases the modifiers.
void pressKey(int virtualKey, std::initializer_list<int> modifiers = {});

using MouseButton = detail::MouseButton;
// Mouse input goes to the window under the point (or the capturing window) in client
// coordinates; the wheel's in screen coordinates, as the platform sends it.
void mouseMove(POINT screen);
void mouseDown(POINT screen, MouseButton button = MouseButton::Left);
void mouseUp(POINT screen, MouseButton button = MouseButton::Left);
void click(POINT screen, MouseButton button = MouseButton::Left);
// A double click: press, release, then WM_*BUTTONDBLCLK when the window's class has
// CS_DBLCLKS (a second press otherwise), release.
void doubleClick(POINT screen, MouseButton button = MouseButton::Left);
void wheel(POINT screen, int delta);

// Another program takes the foreground: every thread's active window is deactivated.
void activateOtherApplication();

using MonitorSpec = detail::MonitorSpec;
// The first monitor is the primary one.
void setMonitors(const std::vector<MonitorSpec>& monitors);
// One 1920x1080 monitor at 96 dpi with a 40-pixel taskbar at the bottom.
void resetMonitors();

// Between tests: destroys the calling thread's windows (with their messages), drops every
// other window silently, empties the calling thread's queue and timers, unregisters the
// classes, and resets the key state, cursor, capture, foreground and monitors.
void resetUserState();

} // namespace pal::test
