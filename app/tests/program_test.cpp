// The DravikCad program itself, as a person starts it.
#include "pal/test/sandbox_test.h"
#include "pal/test/unusable_roots.h"

namespace {

using Program = pal::test::SandboxTest;

TEST_F(Program, SaysWhyAndEndsWhenItsSandboxCannotBeMade) {
    pal::test::expectCleanStopOnUnusableRoots(binDir() / "DravikCad", {}, root() / "scratch");
}

} // namespace
