// The fixture of tests that make windows: the sandbox fixture, with the window layer reset
// before and after each test (windows, classes, queue, timers, input state, monitors).
#pragma once

#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"
#include "pal/test/window_dump.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace pal::test {

class UserTest : public SandboxTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace pal::test

DV_EXPORTS_END
