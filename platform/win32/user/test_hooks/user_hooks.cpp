#include "pal/test/user_hooks.h"

#include <iterator>

namespace pal::test {

void keyDown(int virtualKey) {
    detail::simulateKey(virtualKey, true);
}
void keyUp(int virtualKey) {
    detail::simulateKey(virtualKey, false);
}

void pressKey(int virtualKey, std::initializer_list<int> modifiers) {
    for (int m : modifiers)
        keyDown(m);
    keyDown(virtualKey);
    keyUp(virtualKey);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        keyUp(*it);
}

void mouseMove(POINT screen) {
    detail::simulateMouseMove(screen);
}
void mouseDown(POINT screen, MouseButton button) {
    detail::simulateButton(screen, button, true, false);
}
void mouseUp(POINT screen, MouseButton button) {
    detail::simulateButton(screen, button, false, false);
}

void click(POINT screen, MouseButton button) {
    mouseDown(screen, button);
    mouseUp(screen, button);
}

void doubleClick(POINT screen, MouseButton button) {
    click(screen, button);
    detail::simulateButton(screen, button, true, true);
    mouseUp(screen, button);
}

void wheel(POINT screen, int delta) {
    detail::simulateWheel(screen, delta);
}

void activateOtherApplication() {
    detail::activateOtherApplication();
}

void setMonitors(const std::vector<MonitorSpec>& monitors) {
    detail::setMonitors(monitors);
}
void resetMonitors() {
    detail::setMonitors({});
}

void resetUserState() {
    detail::clearWindows();
    resetMonitors();
}

} // namespace pal::test
