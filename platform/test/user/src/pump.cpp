#include "pal/test/pump.h"

#include <gtest/gtest.h>

namespace pal::test {

PumpResult pump(const PumpOptions& options) {
    PumpResult result;
    long idleCount = 0;
    bool idleWanted = true;
    std::size_t steps = 0;
    for (;;) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                result.quit = true;
                result.exitCode = static_cast<int>(msg.wParam);
                return result;
            }
            if (++steps > options.limit) {
                ADD_FAILURE() << "the message loop did not drain after " << options.limit << " steps";
                return result;
            }
            if (!options.preTranslate || !options.preTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            ++result.dispatched;
            if (!options.isIdleMessage || options.isIdleMessage(msg)) {
                idleCount = 0;
                idleWanted = true;
            }
        }
        if (!options.idle || !idleWanted)
            return result;
        if (++steps > options.limit) {
            ADD_FAILURE() << "the idle work did not settle after " << options.limit << " steps";
            return result;
        }
        idleWanted = options.idle(idleCount++);
    }
}

} // namespace pal::test
